// TOpenDialog: GetOpenFileNameW with a name buffer that grows until the selection fits.
#include "framework/win32/Dialogs.h"

#include <cderr.h>

#include <algorithm>

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
    const struct { TOpenOption Option; DWORD Flag; } map[] = {
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

}  // namespace

TOpenDialog::TOpenDialog(TComponent* owner) : TComponent(owner) {}

TOpenDialog::~TOpenDialog() = default;

bool TOpenDialog::Execute() { return Execute(ParentWnd ? ParentWnd : ::GetActiveWindow()); }

bool TOpenDialog::RunDialog(OPENFILENAMEW& ofn) { return ::GetOpenFileNameW(&ofn) != FALSE; }

bool TOpenDialog::Execute(HWND parentWnd) {
    const bool classic = !UseLatestCommonDialogs;
    std::vector<wchar_t> filter = MakeFilterBuffer(Filter);
    std::size_t bufferLength =
        std::max<std::size_t>({static_cast<std::size_t>(std::max(InitialBufferLength, MAX_PATH)),
                               FileName.size() + 2});
    for (;;) {
        std::vector<wchar_t> buffer(bufferLength, L'\0');
        std::copy(FileName.begin(), FileName.end(), buffer.begin());

        OPENFILENAMEW ofn{};
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

        if (RunDialog(ofn)) {
            FFiles = ParseFileList(buffer.data(), buffer.size(), ofn.nFileOffset);
            if (!(Options & ofAllowMultiSelect) && FFiles.size() > 1) FFiles.resize(1);
            FileName = FFiles.empty() ? String() : FFiles.front();
            FilterIndex = static_cast<int>(ofn.nFilterIndex);
            if (ofn.Flags & OFN_READONLY) Options |= ofReadOnly; else Options &= ~static_cast<TOpenOptions>(ofReadOnly);
            return true;
        }
        if (::CommDlgExtendedError() != FNERR_BUFFERTOOSMALL || bufferLength >= kMaxBufferLength) {
            FFiles.clear();
            return false;
        }
        // The selection did not fit: the first word of the buffer carries the size the
        // system needed (a 16-bit count, so it can be too small for huge selections).
        // Grow at least twofold and show the dialog again.
        const std::size_t needed = static_cast<std::size_t>(*reinterpret_cast<const WORD*>(buffer.data())) + 2;
        bufferLength = std::min(kMaxBufferLength, std::max(needed, bufferLength * 2));
    }
}

std::vector<String> TOpenDialog::ParseFileList(const wchar_t* buffer, std::size_t length,
                                               std::size_t fileOffset) {
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
