// winrect CLASS [SECONDS]: waits until a visible top-level window of that class exists and
// prints its screen rectangle as "left top width height". Exit 1 when none appears in
// time. The screenshot script uses it to cut the program's window out of the screen.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fputs("usage: winrect CLASS [SECONDS]\n", stderr);
        return 2;
    }
    const int seconds = argc > 2 ? _wtoi(argv[2]) : 20;
    for (int i = 0; i < seconds * 10; ++i) {
        HWND wnd = ::FindWindowW(argv[1], nullptr);
        if (wnd && ::IsWindowVisible(wnd)) {
            RECT r;
            ::GetWindowRect(wnd, &r);
            std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
            return 0;
        }
        ::Sleep(100);
    }
    return 1;
}
