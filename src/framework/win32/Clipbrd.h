// The clipboard object: Unicode text in and out of the system clipboard, with a short
// retry while another program holds the clipboard open.
#pragma once
#include "framework/SysUtils.h"
#include "framework/Types.h"

#include <windows.h>

namespace qv {

class TClipboard {
public:
    TClipboard() noexcept = default;
    ~TClipboard();
    TClipboard(const TClipboard&) = delete;
    TClipboard& operator=(const TClipboard&) = delete;

    // Opens the clipboard for this object (nested calls count; Close undoes one). Throws
    // EClipboardException "Cannot open clipboard: <system error text>" when it stays held
    // by another window for OpenAttempts tries RetryDelayMs apart.
    void Open();
    void Close() noexcept;
    // Empties the clipboard and makes this object its owner.
    void Clear();
    bool HasFormat(UINT format);

    // CF_UNICODETEXT; reading gives the text up to its first null, empty when the
    // clipboard holds no text.
    String AsText();
    void SetAsText(const String& text);

    int OpenAttempts = 10;
    int RetryDelayMs = 10;

    // The hidden window that owns what this object puts on the clipboard.
    HWND Handle();

private:
    HWND FWindow = nullptr;
    int FOpenRefCount = 0;
};

// The process's clipboard object, made on first use.
TClipboard& Clipboard();

}  // namespace qv
