// Text in the system's ANSI code page, converted by the system.
#include "framework/Strings.h"

#include "framework/SysUtils.h"

#include <climits>

#include <windows.h>

namespace qv {

Bytes StringToAnsi(const String& s, bool* lost) {
    if (lost) *lost = false;
    if (s.empty()) return Bytes();
    if (s.size() > static_cast<std::size_t>(INT_MAX / 4)) throw EOutOfResources(L"Text too long to convert");
    if (GetACP() == CP_UTF8) {
        // lpUsedDefaultChar is not allowed with UTF-8; UTF-8 holds every character.
        return StringToUtf8(s);
    }
    const int length = static_cast<int>(s.size());
    const int needed = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, s.data(), length, nullptr, 0, nullptr,
                                           nullptr);
    if (needed <= 0) throw EConvertError(L"No mapping for the Unicode character exists in the target code page");
    Bytes out(static_cast<std::size_t>(needed), '\0');
    BOOL usedDefault = FALSE;
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, s.data(), length, out.data(), needed, nullptr, &usedDefault);
    if (lost) *lost = usedDefault != FALSE;
    return out;
}

String AnsiToString(std::string_view bytes) {
    if (bytes.empty()) return String();
    if (bytes.size() > static_cast<std::size_t>(INT_MAX / 2)) throw EOutOfResources(L"Text too long to convert");
    const int length = static_cast<int>(bytes.size());
    const int needed = MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
    if (needed <= 0) return String();
    String out(static_cast<std::size_t>(needed), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, out.data(), needed);
    return out;
}

}  // namespace qv
