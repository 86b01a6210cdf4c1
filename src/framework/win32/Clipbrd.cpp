#include "framework/win32/Clipbrd.h"

#include "framework/win32/Handles.h"

#include <cstring>

namespace qv {

namespace {

// Keeps the clipboard open for one operation.
class OpenScope {
public:
    explicit OpenScope(TClipboard& clipboard) : FClipboard(clipboard) { FClipboard.Open(); }
    ~OpenScope() { FClipboard.Close(); }
    OpenScope(const OpenScope&) = delete;
    OpenScope& operator=(const OpenScope&) = delete;
private:
    TClipboard& FClipboard;
};

}  // namespace

TClipboard::~TClipboard() {
    while (FOpenRefCount > 0) Close();
    if (FWindow) ::DestroyWindow(FWindow);
}

HWND TClipboard::Handle() {
    if (!FWindow) {
        // A message-only window: never shown, never enumerated as a top-level window,
        // but a valid clipboard owner (with no owner EmptyClipboard leaves the clipboard
        // ownerless and SetClipboardData may fail).
        FWindow = ::CreateWindowExW(0, L"STATIC", L"TClipboard", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    ::GetModuleHandleW(nullptr), nullptr);
        if (!FWindow)
            throw EClipboardException(L"Cannot open clipboard: " + SysErrorMessage(static_cast<int>(::GetLastError())));
    }
    return FWindow;
}

void TClipboard::Open() {
    if (FOpenRefCount == 0) {
        const HWND owner = Handle();
        DWORD error = 0;
        const int attempts = OpenAttempts > 0 ? OpenAttempts : 1;
        bool opened = false;
        for (int attempt = 0; attempt < attempts && !opened; ++attempt) {
            if (attempt > 0) ::Sleep(static_cast<DWORD>(RetryDelayMs > 0 ? RetryDelayMs : 0));
            ::SetLastError(0);
            opened = ::OpenClipboard(owner) != FALSE;
            if (!opened) error = ::GetLastError();
        }
        if (!opened) {
            // Some systems fail without setting an error code; another window holding
            // the clipboard is what Windows reports as access denied.
            if (error == 0) error = ERROR_ACCESS_DENIED;
            throw EClipboardException(L"Cannot open clipboard: " + SysErrorMessage(static_cast<int>(error)));
        }
    }
    ++FOpenRefCount;
}

void TClipboard::Close() noexcept {
    if (FOpenRefCount == 0) return;
    if (--FOpenRefCount == 0) ::CloseClipboard();
}

void TClipboard::Clear() {
    OpenScope open(*this);
    ::EmptyClipboard();
}

bool TClipboard::HasFormat(UINT format) { return ::IsClipboardFormatAvailable(format) != FALSE; }

String TClipboard::AsText() {
    OpenScope open(*this);
    const HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
    if (!data) return String();
    const GlobalLockScope<const wchar_t> lock(data);
    const wchar_t* text = lock.get();
    if (!text) return String();
    // Read no further than the block: text from another program need not be terminated.
    const std::size_t units = ::GlobalSize(data) / sizeof(wchar_t);
    std::size_t length = 0;
    while (length < units && text[length] != L'\0') ++length;
    return String(text, length);
}

void TClipboard::SetAsText(const String& text) {
    OpenScope open(*this);
    // Freed by its owner unless the clipboard took it.
    UniqueGlobal block(::GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t)));
    if (!block) throw EOutOfResources(L"Out of memory while copying text to the clipboard");
    {
        const GlobalLockScope<wchar_t> lock(block.get());
        if (!lock.get()) throw EOutOfResources(L"Out of memory while copying text to the clipboard");
        std::memcpy(lock.get(), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    }
    if (!::EmptyClipboard() || !::SetClipboardData(CF_UNICODETEXT, block.get()))
        throw EClipboardException(L"Cannot write text to the clipboard: " +
                                  SysErrorMessage(static_cast<int>(::GetLastError())));
    block.release();  // the clipboard owns it now
}

TClipboard& Clipboard() {
    static TClipboard clipboard;
    return clipboard;
}

}  // namespace qv
