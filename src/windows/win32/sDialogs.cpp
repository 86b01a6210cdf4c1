#include "windows/win32/sDialogs.h"

#include "framework/win32/Application.h"
#include "skin/win32/sVclUtils.h"
#include "windows/win32/acDialogWnd.h"

#include <utility>

namespace qv {

const std::array<const wchar_t*, 5> Captions = {L"Warning", L"Error", L"Information", L"Confirm", L""};

TacMessageBoxIndirect acMessageBoxIndirect = &::MessageBoxIndirectW;

namespace {

// The help file of the box being shown on this thread (boxes may nest).
thread_local const String* tHelpFile = nullptr;

UINT IconStyle(TMsgDlgType type) noexcept {
    switch (type) {
    case mtWarning: return MB_ICONWARNING;
    case mtError: return MB_ICONERROR;
    case mtInformation: return MB_ICONINFORMATION;
    case mtConfirmation: return MB_ICONQUESTION;
    default: return 0;
    }
}

// The system has fixed button sets; the first one that covers the request is taken.
UINT ButtonStyle(TMsgDlgButtons b) noexcept {
    if (b & mbOK) return (b & mbCancel) ? MB_OKCANCEL : MB_OK;
    if (b & (mbAbort | mbIgnore)) return MB_ABORTRETRYIGNORE;
    if (b & (mbYes | mbNo)) return (b & mbCancel) ? MB_YESNOCANCEL : MB_YESNO;
    if (b & mbRetry) return MB_RETRYCANCEL;
    return MB_OK;
}

// The application hears that a modal window runs for exactly as long as it does.
class ModalScope {
public:
    ModalScope() { Application().ModalStarted(); }
    ~ModalScope() { Application().ModalFinished(); }
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;
};

// The requested position stays set only while the box is being created: the dialog
// wrapper that takes the box takes it over, and a box that is not taken leaves it to
// nobody else.
class PositionScope {
public:
    PositionScope(int x, int y) noexcept : FLeft(std::exchange(DlgLeft, x)), FTop(std::exchange(DlgTop, y)) {}
    ~PositionScope() {
        DlgLeft = FLeft;
        DlgTop = FTop;
    }
    PositionScope(const PositionScope&) = delete;
    PositionScope& operator=(const PositionScope&) = delete;

private:
    int FLeft, FTop;
};

void ShowEngineError(const String& text) { sMessageDlg(text, mtError, mbOK, 0); }

}  // namespace

UINT MessageBoxStyle(TMsgDlgType type, TMsgDlgButtons buttons) noexcept {
    UINT style = IconStyle(type) | ButtonStyle(buttons);
    if (buttons & mbHelp) style |= MB_HELP;
    return style;
}

int sMessageDlg(const String& msg, TMsgDlgType type, TMsgDlgButtons buttons, int helpCtx) {
    return sMessageDlgPosHelp(std::nullopt, msg, type, buttons, helpCtx, -1, -1, String());
}

int sMessageDlgPosHelp(const std::optional<String>& caption, const String& msg, TMsgDlgType type,
                       TMsgDlgButtons buttons, int helpCtx, int x, int y, const String& helpFile) {
    const int typeIndex = (type >= mtWarning && type <= mtCustom) ? static_cast<int>(type) : static_cast<int>(mtCustom);
    const String title = caption ? *caption : String(Captions[static_cast<std::size_t>(typeIndex)]);
    // The box is modal to the window that asked (the thread's active window); only
    // without one it goes to the application's window. An owner the box does not
    // disable could be used again underneath it.
    HWND owner = ::GetActiveWindow();
    if (!owner) owner = Application().Handle();

    MSGBOXPARAMSW params{};
    params.cbSize = sizeof params;
    params.hwndOwner = owner;
    params.hInstance = ::GetModuleHandleW(nullptr);
    params.lpszText = msg.c_str();
    params.lpszCaption = title.c_str();  // "" for the custom type: the system would say "Error"
    params.dwStyle = MessageBoxStyle(type, buttons);
    params.dwContextHelpId = static_cast<DWORD_PTR>(helpCtx);
    params.lpfnMsgBoxCallback = &MsgBoxCallback;
    params.dwLanguageId = MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT);

    const String* const outerHelp = std::exchange(tHelpFile, &helpFile);
    int result = 0;
    try {
        PositionScope position(x, y);
        ModalScope modal;
        result = acMessageBoxIndirect(&params);
    } catch (...) {
        tHelpFile = outerHelp;
        throw;
    }
    tHelpFile = outerHelp;
    return result;
}

void CALLBACK MsgBoxCallback(LPHELPINFO info) {
    if (!info || !tHelpFile || tHelpFile->empty()) return;
    ::WinHelpW(static_cast<HWND>(info->hItemHandle), tHelpFile->c_str(), HELP_CONTEXT,
               static_cast<ULONG_PTR>(info->dwContextId));
}

void InstallDialogSeams() noexcept { acErrorBox = &ShowEngineError; }

}  // namespace qv
