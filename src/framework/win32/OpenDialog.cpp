// TOpenDialog: GetOpenFileNameW with a name buffer that grows until the selection fits.
#include "framework/win32/Dialogs.h"

#include <cderr.h>

#include <algorithm>
#include <cwchar>
#include <list>
#include <utility>

namespace qv {

bool UseLatestCommonDialogs = true;

namespace {

// A buffer beyond this many characters is not tried: a selection that large is refused
// as the system refuses any other oversized request.
constexpr std::size_t kMaxBufferLength = 1u << 22;

// The hook that keeps the classic explorer dialog on systems that would otherwise show
// the newer one. It leaves every message to the dialog's default handling.
UINT_PTR CALLBACK ClassicDialogHook(HWND, UINT, WPARAM, LPARAM) noexcept { return 0; }

// "Text|*.txt|All|*.*" becomes "Text\0*.txt\0All\0*.*\0\0".
std::vector<wchar_t> MakeFilterBuffer(const String& filter) {
    std::vector<wchar_t> out(filter.begin(), filter.end());
    std::replace(out.begin(), out.end(), L'|', L'\0');
    out.push_back(L'\0');
    out.push_back(L'\0');
    return out;
}

DWORD OptionFlags(TOpenOptions options, bool classic) {
    DWORD flags = OFN_EXPLORER;
    const struct {
        TOpenOption Option;
        DWORD Flag;
    } map[] = {
        {ofReadOnly, OFN_READONLY},
        {ofOverwritePrompt, OFN_OVERWRITEPROMPT},
        {ofHideReadOnly, OFN_HIDEREADONLY},
        {ofNoChangeDir, OFN_NOCHANGEDIR},
        {ofShowHelp, OFN_SHOWHELP},
        {ofNoValidate, OFN_NOVALIDATE},
        {ofAllowMultiSelect, OFN_ALLOWMULTISELECT},
        {ofExtensionDifferent, OFN_EXTENSIONDIFFERENT},
        {ofPathMustExist, OFN_PATHMUSTEXIST},
        {ofFileMustExist, OFN_FILEMUSTEXIST},
        {ofCreatePrompt, OFN_CREATEPROMPT},
        {ofShareAware, OFN_SHAREAWARE},
        {ofNoReadOnlyReturn, OFN_NOREADONLYRETURN},
        {ofNoTestFileCreate, OFN_NOTESTFILECREATE},
        {ofNoNetworkButton, OFN_NONETWORKBUTTON},
        {ofNoDereferenceLinks, OFN_NODEREFERENCELINKS},
        {ofEnableIncludeNotify, OFN_ENABLEINCLUDENOTIFY},
        {ofEnableSizing, OFN_ENABLESIZING},
        {ofDontAddToRecent, OFN_DONTADDTORECENT},
        {ofForceShowHidden, OFN_FORCESHOWHIDDEN},
    };
    for (const auto& entry : map)
        if (options & entry.Option) flags |= entry.Flag;
    if (classic) flags |= OFN_ENABLEHOOK;
    return flags;
}

// While a dialog runs: the request and the buffers given to it. Grown buffers replace
// the request's one; the older ones stay alive until the dialog has returned.
struct RunningRequest {
    OPENFILENAMEW* Request = nullptr;
    std::list<std::vector<wchar_t>> Buffers;
    HHOOK Hook = nullptr;        // sent messages (a click on OK, Enter)
    HHOOK PostedHook = nullptr;  // posted messages
};
thread_local RunningRequest* tRunning = nullptr;

// Characters the answer to the dialog's confirmation can take at most: the folder, the
// typed or selected names (each quoted name yields no more than its quoted text), and
// the terminating nulls.
std::size_t AnswerLengthBound(HWND dialog) {
    const LRESULT folder = ::SendMessageW(dialog, CDM_GETFOLDERPATH, 0, 0);
    std::size_t names = 0;
    for (int id : {0x47C /* name combo box */, 0x480 /* name edit */})
        if (HWND field = ::GetDlgItem(dialog, id))
            names = std::max<std::size_t>(names, static_cast<std::size_t>(::GetWindowTextLengthW(field)));
    return static_cast<std::size_t>(std::max<LRESULT>(folder, MAX_PATH)) + names + 4;
}

// Grows the name buffer just before the dialog acts on its OK button, so that a large
// selection fits the first time (some systems fail badly, instead of reporting
// FNERR_BUFFERTOOSMALL, when it does not). A failed growth leaves the retry below.
void GrowBufferBeforeOk(RunningRequest& running, HWND wnd, UINT msg, WPARAM wParam) noexcept {
    if (msg != WM_COMMAND || LOWORD(wParam) != IDOK) return;
    wchar_t className[16] = {};
    ::GetClassNameW(wnd, className, 16);
    if (std::wcscmp(className, L"#32770") != 0) return;
    try {
        const std::size_t needed = AnswerLengthBound(wnd);
        OPENFILENAMEW& ofn = *running.Request;
        if (needed > ofn.nMaxFile && needed <= kMaxBufferLength) {
            std::vector<wchar_t> grown(std::max<std::size_t>(needed, 2u * ofn.nMaxFile), L'\0');
            std::copy(ofn.lpstrFile, ofn.lpstrFile + ofn.nMaxFile, grown.begin());
            running.Buffers.push_back(std::move(grown));
            ofn.lpstrFile = running.Buffers.back().data();
            ofn.nMaxFile = static_cast<DWORD>(running.Buffers.back().size());
        }
    } catch (...) {
        // Out of memory: the dialog goes on with the buffer it has.
    }
}

LRESULT CALLBACK GrowBufferSentHook(int code, WPARAM wParam, LPARAM lParam) noexcept {
    RunningRequest* running = tRunning;
    if (code == HC_ACTION && running) {
        const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        GrowBufferBeforeOk(*running, call->hwnd, call->message, call->wParam);
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK GrowBufferPostedHook(int code, WPARAM wParam, LPARAM lParam) noexcept {
    RunningRequest* running = tRunning;
    if (code == HC_ACTION && running && wParam == PM_REMOVE) {
        const auto* msg = reinterpret_cast<const MSG*>(lParam);
        GrowBufferBeforeOk(*running, msg->hwnd, msg->message, msg->wParam);
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// For as long as it lives: running is the thread's running request, watched by the
// hooks that grow its buffer. It puts the outer request back and removes the hooks
// however the dialog ends.
class GrowBufferHooks {
public:
    explicit GrowBufferHooks(RunningRequest& running) noexcept : FRunning(running) {
        running.Hook = ::SetWindowsHookExW(WH_CALLWNDPROC, GrowBufferSentHook, nullptr, ::GetCurrentThreadId());
        running.PostedHook = ::SetWindowsHookExW(WH_GETMESSAGE, GrowBufferPostedHook, nullptr, ::GetCurrentThreadId());
        FOuter = std::exchange(tRunning, &running);
    }
    ~GrowBufferHooks() {
        tRunning = FOuter;
        if (FRunning.Hook) ::UnhookWindowsHookEx(FRunning.Hook);
        if (FRunning.PostedHook) ::UnhookWindowsHookEx(FRunning.PostedHook);
    }
    GrowBufferHooks(const GrowBufferHooks&) = delete;
    GrowBufferHooks& operator=(const GrowBufferHooks&) = delete;

private:
    RunningRequest& FRunning;
    RunningRequest* FOuter = nullptr;
};

}  // namespace

TOpenDialog::TOpenDialog(TComponent* owner) : TComponent(owner) {}

TOpenDialog::~TOpenDialog() = default;

bool TOpenDialog::Execute() { return Execute(ParentWnd ? ParentWnd : ::GetActiveWindow()); }

bool TOpenDialog::RunDialog(OPENFILENAMEW& ofn) { return ::GetOpenFileNameW(&ofn) != FALSE; }

void TOpenDialog::FillRequest(OPENFILENAMEW& ofn, HWND parentWnd, std::vector<wchar_t>& filter,
                              std::vector<wchar_t>& buffer, bool classic) const {
    ofn = OPENFILENAMEW{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = parentWnd;
    ofn.hInstance = ::GetModuleHandleW(nullptr);
    ofn.lpstrFilter = Filter.empty() ? nullptr : filter.data();
    ofn.nFilterIndex = static_cast<DWORD>(std::max(FilterIndex, 0));
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    ofn.lpstrInitialDir = InitialDir.empty() ? nullptr : InitialDir.c_str();
    ofn.lpstrTitle = Title.empty() ? nullptr : Title.c_str();
    ofn.lpstrDefExt = DefaultExt.empty() ? nullptr : DefaultExt.c_str();
    ofn.Flags = OptionFlags(Options, classic);
    if (classic) ofn.lpfnHook = ClassicDialogHook;
}

// The confirmed answer: the files (one unless several may be chosen), the filter and the
// read-only box.
void TOpenDialog::TakeAnswer(const OPENFILENAMEW& ofn) {
    FFiles = ParseFileList(ofn.lpstrFile, ofn.nMaxFile, ofn.nFileOffset);
    if (!(Options & ofAllowMultiSelect) && FFiles.size() > 1) FFiles.resize(1);
    FileName = FFiles.empty() ? String() : FFiles.front();
    FilterIndex = static_cast<int>(ofn.nFilterIndex);
    if (ofn.Flags & OFN_READONLY) Options |= ofReadOnly;
    else Options &= ~static_cast<TOpenOptions>(ofReadOnly);
}

bool TOpenDialog::Execute(HWND parentWnd) {
    const bool classic = !UseLatestCommonDialogs;
    std::vector<wchar_t> filter = MakeFilterBuffer(Filter);
    std::size_t bufferLength = std::max<std::size_t>(
        {static_cast<std::size_t>(std::max(InitialBufferLength, MAX_PATH)), FileName.size() + 2});
    for (;;) {
        RunningRequest running;
        running.Buffers.emplace_back(bufferLength, L'\0');
        std::vector<wchar_t>& buffer = running.Buffers.back();
        std::copy(FileName.begin(), FileName.end(), buffer.begin());
        OPENFILENAMEW ofn;
        FillRequest(ofn, parentWnd, filter, buffer, classic);
        running.Request = &ofn;
        bool confirmed = false;
        {
            const GrowBufferHooks hooks(running);
            confirmed = RunDialog(ofn);
        }
        if (confirmed) {
            TakeAnswer(ofn);
            return true;
        }
        if (::CommDlgExtendedError() != FNERR_BUFFERTOOSMALL || bufferLength >= kMaxBufferLength) {
            FFiles.clear();
            return false;
        }
        // The selection did not fit: the first word of the buffer carries the size the
        // system needed (a 16-bit count, so it can be too small for huge selections).
        // Grow at least twofold and show the dialog again.
        const std::size_t needed = static_cast<std::size_t>(*reinterpret_cast<const WORD*>(ofn.lpstrFile)) + 2;
        bufferLength = std::min(kMaxBufferLength, std::max<std::size_t>(needed, 2u * ofn.nMaxFile));
    }
}

std::vector<String> TOpenDialog::ParseFileList(const wchar_t* buffer, std::size_t length, std::size_t fileOffset) {
    auto stringAt = [&](std::size_t pos) {
        std::size_t end = pos;
        while (end < length && buffer[end] != L'\0') ++end;
        return String(buffer + pos, end - pos);
    };
    std::vector<String> files;
    if (length == 0 || buffer[0] == L'\0') return files;
    // One file: a full path ended by a null. Whatever follows it in the buffer (the
    // rest of a longer preset name) is not part of the answer.
    if (fileOffset == 0 || fileOffset >= length || buffer[fileOffset - 1] != L'\0') {
        files.push_back(stringAt(0));
        return files;
    }
    // Several files: the folder, then each name, each ended by a null, and an empty
    // name after the last. A root folder ("C:\") keeps its single delimiter.
    String folder = stringAt(0);
    if (folder.back() != L'\\' && folder.back() != L'/') folder += L'\\';
    for (std::size_t pos = fileOffset; pos < length && buffer[pos] != L'\0';) {
        String name = stringAt(pos);
        pos += name.size() + 1;
        files.push_back(folder + name);
    }
    return files;
}

}  // namespace qv
