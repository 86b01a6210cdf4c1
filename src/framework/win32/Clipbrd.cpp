#include "framework/win32/Clipbrd.h"

#include <cstring>

namespace qv {

namespace {

// Releases global memory that was not handed over to the clipboard.
struct GlobalBlock {
    HGLOBAL Memory = nullptr;
    ~GlobalBlock() { if (Memory) ::GlobalFree(Memory); }
};

// Unlocks a locked global block when the reader is done with it.
struct GlobalLockScope {
    HGLOBAL Memory;
    void* Data;
    explicit GlobalLockScope(HGLOBAL memory) noexcept : Memory(memory), Data(::GlobalLock(memory)) {}
    ~GlobalLockScope() { if (Data) ::GlobalUnlock(Memory); }
};

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
        FWindow = ::CreateWindowExW(0, L"STATIC", L"TClipboard", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                    nullptr, ::GetModuleHandleW(nullptr), nullptr);
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

bool TClipboard::HasFormat(UINT format) {
    return ::IsClipboardFormatAvailable(format) != FALSE;
}

String TClipboard::AsText() {
    OpenScope open(*this);
    const HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
    if (!data) return String();
    GlobalLockScope lock(data);
    if (!lock.Data) return String();
    // Read no further than the block: text from another program need not be terminated.
    const std::size_t units = ::GlobalSize(data) / sizeof(wchar_t);
    const auto* text = static_cast<const wchar_t*>(lock.Data);
    std::size_t length = 0;
    while (length < units && text[length] != L'\0') ++length;
    return String(text, length);
}

void TClipboard::SetAsText(const String& text) {
    OpenScope open(*this);
    GlobalBlock block;
    block.Memory = ::GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    if (!block.Memory) throw EOutOfResources(L"Out of memory while copying text to the clipboard");
    {
        GlobalLockScope lock(block.Memory);
        if (!lock.Data) throw EOutOfResources(L"Out of memory while copying text to the clipboard");
        std::memcpy(lock.Data, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    }
    if (!::EmptyClipboard() || !::SetClipboardData(CF_UNICODETEXT, block.Memory))
        throw EClipboardException(L"Cannot write text to the clipboard: " +
                                  SysErrorMessage(static_cast<int>(::GetLastError())));
    block.Memory = nullptr;  // the clipboard owns it now
}

TClipboard& Clipboard() {
    static TClipboard clipboard;
    return clipboard;
}

}  // namespace qv
