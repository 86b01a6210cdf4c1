#include "skin/acntUtils.h"

#include "framework/IniFiles.h"
#include "framework/SysUtils.h"

namespace qv {

String NormalDir(const String& path) {
    if (path.empty()) return path;
    switch (path.back()) {
    case L'\\': return path;
    case L'/': return path.substr(0, path.size() - 1) + L'\\';
    default: return path.size() == 1 ? path + L":\\" : path + L'\\';
    }
}

namespace {

bool IsDelimiter(wchar_t c, const String& delimiters) noexcept { return delimiters.find(c) != String::npos; }

}  // namespace

int WordCount(const String& s, const String& delimiters) {
    int count = 0;
    std::size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && IsDelimiter(s[i], delimiters)) ++i;
        if (i < s.size()) ++count;
        while (i < s.size() && !IsDelimiter(s[i], delimiters)) ++i;
    }
    return count;
}

String ExtractWord(int n, const String& s, const String& delimiters) {
    int count = 0;
    std::size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && IsDelimiter(s[i], delimiters)) ++i;
        if (i >= s.size()) break;
        const std::size_t start = i;
        while (i < s.size() && !IsDelimiter(s[i], delimiters)) ++i;
        if (++count == n) return s.substr(start, i - start);
    }
    return String();
}

namespace {

const wchar_t kParentClass[] = L"PARENTCLASS";

// The section a missing key is inherited from; empty when there is none to follow.
String ParentOf(const TMemIniFile& ini, const String& section) {
    String parent = ini.ReadString(section, kParentClass, String());
    if (parent == L"?" || parent == section) return String();
    return parent;
}

// Absent is "?" (strings) or -1 (integers) at every level, so that a default given by
// the caller is never mistaken for an inherited value.
String FindStringIn(const TMemIniFile& ini, const String& section, const String& key, int depth) {
    String value = ini.ReadString(section, key, L"?");
    if (value != L"?") return value;
    const String parent = ParentOf(ini, section);
    if (parent.empty() || depth >= MaxParentDepth) return L"?";
    return FindStringIn(ini, parent, key, depth + 1);
}

int FindIntegerIn(const TMemIniFile& ini, const String& section, const String& key, int depth) {
    const int value = ini.ReadInteger(section, key, -1);
    if (value != -1) return value;
    const String parent = ParentOf(ini, section);
    if (parent.empty() || depth >= MaxParentDepth) return -1;
    // A colour inherited from a parent arrives as RGB; system colours written in the
    // section itself stay as they are.
    return ColorToRGB(FindIntegerIn(ini, parent, key, depth + 1));
}

}  // namespace

String FindString(const TMemIniFile& ini, const String& section, const String& key, const String& def) {
    String value = FindStringIn(ini, section, key, 0);
    return value == L"?" ? def : value;
}

int FindInteger(const TMemIniFile& ini, const String& section, const String& key, int def) {
    const int value = FindIntegerIn(ini, section, key, 0);
    return value == -1 ? def : value;
}

std::vector<TacIniSection> GetIniSections(const std::vector<String>& lines) {
    std::vector<TacIniSection> sections;
    for (const String& raw : lines) {
        const String line = Trim(raw);
        if (!line.empty() && line[0] == L';') continue;
        if (line.size() >= 2 && line.front() == L'[' && line.back() == L']') {
            sections.push_back({line.substr(1, line.size() - 2), {}});
        } else if (!sections.empty() && !line.empty()) {
            sections.back().Lines.push_back(line);
        }
    }
    return sections;
}

}  // namespace qv
