#include "framework/win32/WindowText.h"

#include <algorithm>

namespace qv {

String WindowText(HWND wnd) {
    const int length = ::GetWindowTextLengthW(wnd);
    String text(static_cast<std::size_t>(std::max(length, 0)) + 1, L'\0');
    // The length may be more than the text (a text of mixed code pages): keep what came.
    const int got = ::GetWindowTextW(wnd, text.data(), std::max(length, 0) + 1);
    text.resize(static_cast<std::size_t>(std::max(got, 0)));
    return text;
}

}  // namespace qv
