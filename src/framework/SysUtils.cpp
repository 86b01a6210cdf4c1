#include "framework/SysUtils.h"

#include "framework/Strings.h"
#include "framework/platform/Platform.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <limits>

namespace qv {

Exception::Exception(const String& message) : std::runtime_error(StringToUtf8(message)), FMessage(message) {}

// ---- strings ----

String UpperCase(const String& s) {
    String out = s;
    for (auto& c : out)
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - 32);
    return out;
}

String LowerCase(const String& s) {
    String out = s;
    for (auto& c : out)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c + 32);
    return out;
}

bool SameText(const String& a, const String& b) noexcept {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        wchar_t x = a[i], y = b[i];
        if (x >= L'a' && x <= L'z') x = static_cast<wchar_t>(x - 32);
        if (y >= L'a' && y <= L'z') y = static_cast<wchar_t>(y - 32);
        if (x != y) return false;
    }
    return true;
}

namespace {
bool IsBlank(wchar_t c) noexcept { return static_cast<std::uint32_t>(c) <= 0x20; }
}  // namespace

String Trim(const String& s) {
    std::size_t first = 0, last = s.size();
    while (first < last && IsBlank(s[first])) ++first;
    while (last > first && IsBlank(s[last - 1])) --last;
    return s.substr(first, last - first);
}

String TrimLeft(const String& s) {
    std::size_t first = 0;
    while (first < s.size() && IsBlank(s[first])) ++first;
    return s.substr(first);
}

String TrimRight(const String& s) {
    std::size_t last = s.size();
    while (last > 0 && IsBlank(s[last - 1])) --last;
    return s.substr(0, last);
}

// ---- numbers ----

String IntToStr(std::int64_t value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return String(buffer, result.ptr);
}

String IntToHex(std::uint64_t value, int digits) {
    static const wchar_t kDigits[] = L"0123456789ABCDEF";
    String out;
    do {
        out.insert(out.begin(), kDigits[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    if (static_cast<int>(out.size()) < digits) out.insert(0, static_cast<std::size_t>(digits) - out.size(), L'0');
    return out;
}

namespace {

int HexDigit(wchar_t c) noexcept {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

// Parses the integer grammar into a 64-bit value; hex allows up to 16 digits' worth.
bool ParseInteger(const String& s, std::int64_t& value, bool& isHex) noexcept {
    isHex = false;
    std::size_t i = 0;
    if (s.size() >= 2 && s[0] == L'$') {
        i = 1;
        isHex = true;
    } else if (s.size() >= 3 && s[0] == L'0' && (s[1] == L'x' || s[1] == L'X')) {
        i = 2;
        isHex = true;
    }
    if (isHex) {
        std::uint64_t v = 0;
        for (; i < s.size(); ++i) {
            const int d = HexDigit(s[i]);
            if (d < 0 || v > (std::numeric_limits<std::uint64_t>::max() >> 4)) return false;
            v = (v << 4) | static_cast<std::uint64_t>(d);
        }
        value = static_cast<std::int64_t>(v);
        return true;
    }
    bool negative = false;
    if (i < s.size() && (s[i] == L'-' || s[i] == L'+')) negative = s[i++] == L'-';
    if (i >= s.size()) return false;
    std::uint64_t v = 0;
    const std::uint64_t limit = negative ? 9223372036854775808ull : 9223372036854775807ull;
    for (; i < s.size(); ++i) {
        if (s[i] < L'0' || s[i] > L'9') return false;
        const auto d = static_cast<std::uint64_t>(s[i] - L'0');
        if (v > (limit - d) / 10) return false;
        v = v * 10 + d;
    }
    value = negative ? static_cast<std::int64_t>(0 - v) : static_cast<std::int64_t>(v);
    return true;
}

}  // namespace

bool TryStrToInt64(const String& s, std::int64_t& value) noexcept {
    bool isHex = false;
    return ParseInteger(s, value, isHex);
}

bool TryStrToInt(const String& s, int& value) noexcept {
    std::int64_t v = 0;
    bool isHex = false;
    if (!ParseInteger(s, v, isHex)) return false;
    if (isHex) {
        // Hex texts name bit patterns: $FFFFFFFF is -1, as colour values are written.
        if (static_cast<std::uint64_t>(v) > 0xFFFFFFFFull) return false;
        value = static_cast<int>(static_cast<std::uint32_t>(v));
        return true;
    }
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max()) return false;
    value = static_cast<int>(v);
    return true;
}

int StrToInt(const String& s) {
    int value = 0;
    if (!TryStrToInt(s, value)) throw EConvertError(L"'" + s + L"' is not a valid integer value");
    return value;
}

int StrToIntDef(const String& s, int defaultValue) noexcept {
    int value = 0;
    return TryStrToInt(s, value) ? value : defaultValue;
}

bool TryStrToFloat(const String& s, double& value) noexcept {
    // Only the characters of a decimal number are accepted, so the narrow copy is exact.
    std::string narrow;
    std::size_t start = 0;
    if (!s.empty() && s[0] == L'+') start = 1;
    for (std::size_t i = start; i < s.size(); ++i) {
        const wchar_t c = s[i];
        if (!((c >= L'0' && c <= L'9') || c == L'.' || c == L'-' || c == L'+' || c == L'e' || c == L'E')) return false;
        narrow += static_cast<char>(c);
    }
    if (narrow.empty() || narrow[0] == '+' || (start == 1 && narrow[0] == '-')) return false;
    double v = 0;
    const auto result = std::from_chars(narrow.data(), narrow.data() + narrow.size(), v, std::chars_format::general);
    if (result.ec != std::errc() || result.ptr != narrow.data() + narrow.size()) return false;
    value = v;
    return true;
}

double StrToFloat(const String& s) {
    double value = 0;
    if (!TryStrToFloat(s, value)) throw EConvertError(L"'" + s + L"' is not a valid floating point value");
    return value;
}

double StrToFloatDef(const String& s, double defaultValue) noexcept {
    double value = 0;
    return TryStrToFloat(s, value) ? value : defaultValue;
}

String FloatToStr(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return String(buffer, result.ptr);
}

// ---- file names ----

namespace {
bool IsDelimiter(wchar_t c) noexcept { return platform::IsPathSeparator(c); }

// Index just after the last delimiter (or drive colon on Windows): where the name starts.
std::size_t NameStart(const String& fileName) noexcept {
    std::size_t i = fileName.size();
    while (i > 0) {
        const wchar_t c = fileName[i - 1];
        if (platform::IsDriveSeparator(c) || IsDelimiter(c)) break;
        --i;
    }
    return i;
}
}  // namespace

bool IsPathDelimiter(const String& s, int index) noexcept {
    return index >= 0 && static_cast<std::size_t>(index) < s.size() && IsDelimiter(s[static_cast<std::size_t>(index)]);
}

String IncludeTrailingPathDelimiter(const String& s) {
    if (!s.empty() && IsDelimiter(s.back())) return s;
    return s + PathDelim;
}

String ExcludeTrailingPathDelimiter(const String& s) {
    if (!s.empty() && IsDelimiter(s.back())) return s.substr(0, s.size() - 1);
    return s;
}

String ExtractFilePath(const String& fileName) { return fileName.substr(0, NameStart(fileName)); }

String ExtractFileDir(const String& fileName) {
    std::size_t i = NameStart(fileName);
    // Keep the delimiter of a root ("/", "C:\") so the result still names that folder.
    if (i > 1 && IsDelimiter(fileName[i - 1]) && !IsDelimiter(fileName[i - 2]) &&
        !platform::IsDriveSeparator(fileName[i - 2]))
        --i;
    return fileName.substr(0, i);
}

String ExtractFileName(const String& fileName) { return fileName.substr(NameStart(fileName)); }

String ExtractFileExt(const String& fileName) {
    const std::size_t start = NameStart(fileName);
    const std::size_t dot = fileName.rfind(L'.');
    if (dot == String::npos || dot < start) return String();
    return fileName.substr(dot);
}

String ChangeFileExt(const String& fileName, const String& extension) {
    const std::size_t start = NameStart(fileName);
    const std::size_t dot = fileName.rfind(L'.');
    if (dot == String::npos || dot < start) return fileName + extension;
    return fileName.substr(0, dot) + extension;
}

// ---- file system ----

String ApplicationFolder() { return ExtractFilePath(platform::ProgramFileName()); }

String SysErrorMessage(int errorCode) {
    String text = platform::SystemErrorText(errorCode);
    // The system's texts end in a period and a line break; the framework's messages
    // put their own punctuation around them.
    while (!text.empty() && (IsBlank(text.back()) || text.back() == L'.')) text.pop_back();
    return text;
}

bool ForceDirectories(const String& directory) {
    if (directory.empty()) return false;
    if (DirectoryExists(directory)) return true;
    const String dir = ExcludeTrailingPathDelimiter(directory);
    if (dir.empty()) return false;
    const String parent = ExtractFileDir(dir);
    // A root or a bare drive has no parent to create.
    if (!parent.empty() && parent != dir && !ForceDirectories(parent)) return false;
    return platform::CreateOneDirectory(dir);
}

}  // namespace qv
