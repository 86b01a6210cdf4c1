#include "framework/IniFiles.h"

#include "framework/SysUtils.h"

#include <cstdint>
#include <string_view>

namespace qv {

TMemIniFile::TMemIniFile(const String& fileName) : FFileName(fileName) {
    if (fileName.empty() || !FileExists(fileName)) return;
    TStringList lines;
    lines.LoadFromFile(fileName);
    FEncoding = lines.Encoding();
    SetStrings(lines);
}

TMemIniFile::~TMemIniFile() = default;

void TMemIniFile::Clear() noexcept {
    FSections.clear();
    InvalidateSections();
}

namespace {

// Trim, TrimLeft and TrimRight (blanks are characters up to the space) on views, so a
// line is copied only into the names and values it holds.
bool IsIniBlank(wchar_t c) noexcept { return static_cast<std::uint32_t>(c) <= 0x20; }

std::wstring_view TrimViewLeft(std::wstring_view s) noexcept {
    std::size_t first = 0;
    while (first < s.size() && IsIniBlank(s[first])) ++first;
    return s.substr(first);
}

std::wstring_view TrimViewRight(std::wstring_view s) noexcept {
    std::size_t last = s.size();
    while (last > 0 && IsIniBlank(s[last - 1])) --last;
    return s.substr(0, last);
}

std::wstring_view TrimView(std::wstring_view s) noexcept { return TrimViewRight(TrimViewLeft(s)); }

}  // namespace

void TMemIniFile::SetStrings(const TStringList& lines) {
    std::vector<std::unique_ptr<TIniSection>> sections;
    TIniSection* current = nullptr;
    for (const String& raw : lines) {
        const std::wstring_view line = TrimView(raw);
        if (line.empty() || line[0] == L';') continue;
        if (line.front() == L'[' && line.back() == L']' && line.size() >= 2) {
            auto section = std::make_unique<TIniSection>();
            section->Name = String(TrimView(line.substr(1, line.size() - 2)));
            current = section.get();
            sections.push_back(std::move(section));
            continue;
        }
        const std::size_t eq = line.find(L'=');
        // Keys outside any section and lines without '=' carry nothing a lookup can reach.
        if (!current || eq == std::wstring_view::npos) continue;
        const std::wstring_view key = TrimViewRight(line.substr(0, eq));
        if (key.empty()) continue;
        current->Keys.push_back({String(key), String(TrimViewLeft(line.substr(eq + 1)))});
    }
    FSections.swap(sections);
    InvalidateSections();
}

void TMemIniFile::GetStrings(TStringList& lines) const {
    lines.Clear();
    bool first = true;
    for (const auto& section : FSections) {
        if (!first) lines.Add(String());
        first = false;
        lines.Add(L"[" + section->Name + L"]");
        for (const auto& key : section->Keys) lines.Add(key.Name + L"=" + key.Value);
    }
}

// Both indexes are built on the first lookup after a change and map a name to its first
// occurrence, so repeated lookups in a large skin cost one hash probe each.
const TMemIniFile::TIniSection* TMemIniFile::FindSection(const String& section) const {
    if (!FSectionIndex) {
        auto index = std::make_unique<std::unordered_map<String, int>>();
        index->reserve(FSections.size());
        for (std::size_t i = 0; i < FSections.size(); ++i) index->emplace(FSections[i]->Name, static_cast<int>(i));
        FSectionIndex = std::move(index);
    }
    const auto it = FSectionIndex->find(section);
    return it == FSectionIndex->end() ? nullptr : FSections[static_cast<std::size_t>(it->second)].get();
}

TMemIniFile::TIniSection* TMemIniFile::FindSection(const String& section) {
    return const_cast<TIniSection*>(static_cast<const TMemIniFile*>(this)->FindSection(section));
}

const TMemIniFile::TIniKey* TMemIniFile::FindKey(const String& section, const String& key) const {
    const TIniSection* s = FindSection(section);
    if (!s) return nullptr;
    if (!s->KeyIndex) {
        auto index = std::make_unique<std::unordered_map<String, int>>();
        index->reserve(s->Keys.size());
        for (std::size_t i = 0; i < s->Keys.size(); ++i) index->emplace(s->Keys[i].Name, static_cast<int>(i));
        s->KeyIndex = std::move(index);
    }
    const auto it = s->KeyIndex->find(key);
    return it == s->KeyIndex->end() ? nullptr : &s->Keys[static_cast<std::size_t>(it->second)];
}

String TMemIniFile::ReadString(const String& section, const String& key, const String& defaultValue) const {
    const TIniKey* k = FindKey(section, key);
    return k ? k->Value : defaultValue;
}

int TMemIniFile::ReadInteger(const String& section, const String& key, int defaultValue) const {
    const TIniKey* k = FindKey(section, key);
    return k ? StrToIntDef(k->Value, defaultValue) : defaultValue;
}

bool TMemIniFile::ReadBool(const String& section, const String& key, bool defaultValue) const {
    const TIniKey* k = FindKey(section, key);
    if (!k) return defaultValue;
    int value = 0;
    if (TryStrToInt(k->Value, value)) return value != 0;
    if (SameText(k->Value, L"TRUE")) return true;
    if (SameText(k->Value, L"FALSE")) return false;
    return defaultValue;
}

double TMemIniFile::ReadFloat(const String& section, const String& key, double defaultValue) const {
    const TIniKey* k = FindKey(section, key);
    return k ? StrToFloatDef(k->Value, defaultValue) : defaultValue;
}

void TMemIniFile::WriteString(const String& section, const String& key, const String& value) {
    TIniSection* s = FindSection(section);
    if (!s) {
        auto created = std::make_unique<TIniSection>();
        created->Name = section;
        s = created.get();
        FSections.push_back(std::move(created));
        InvalidateSections();
    }
    for (auto& k : s->Keys) {
        if (k.Name == key) {
            k.Value = value;
            return;
        }
    }
    s->Keys.push_back({key, value});
    s->KeyIndex.reset();
}

void TMemIniFile::WriteInteger(const String& section, const String& key, int value) {
    WriteString(section, key, IntToStr(value));
}

void TMemIniFile::WriteBool(const String& section, const String& key, bool value) {
    WriteString(section, key, value ? L"1" : L"0");
}

void TMemIniFile::WriteFloat(const String& section, const String& key, double value) {
    WriteString(section, key, FloatToStr(value));
}

const std::vector<TMemIniFile::TIniKey>* TMemIniFile::SectionKeys(const String& section) const {
    const TIniSection* s = FindSection(section);
    return s ? &s->Keys : nullptr;
}

void TMemIniFile::ReadSections(TStringList& sections) const {
    sections.Clear();
    for (const auto& s : FSections) sections.Add(s->Name);
}

void TMemIniFile::ReadSection(const String& section, TStringList& keys) const {
    keys.Clear();
    if (const TIniSection* s = FindSection(section))
        for (const auto& k : s->Keys) keys.Add(k.Name);
}

void TMemIniFile::ReadSectionValues(const String& section, TStringList& values) const {
    values.Clear();
    if (const TIniSection* s = FindSection(section))
        for (const auto& k : s->Keys) values.Add(k.Name + L"=" + k.Value);
}

bool TMemIniFile::SectionExists(const String& section) const { return FindSection(section) != nullptr; }

bool TMemIniFile::ValueExists(const String& section, const String& key) const {
    return FindKey(section, key) != nullptr;
}

void TMemIniFile::EraseSection(const String& section) {
    std::erase_if(FSections, [&section](const auto& s) { return s->Name == section; });
    InvalidateSections();
}

void TMemIniFile::DeleteKey(const String& section, const String& key) {
    TIniSection* s = FindSection(section);
    if (!s) return;
    for (auto it = s->Keys.begin(); it != s->Keys.end(); ++it) {
        if (it->Name == key) {
            s->Keys.erase(it);
            s->KeyIndex.reset();
            return;
        }
    }
}

void TMemIniFile::UpdateFile() const {
    if (FFileName.empty()) return;
    TStringList lines;
    GetStrings(lines);
    lines.SetEncoding(FEncoding);
    lines.SaveToFile(FFileName);
}

}  // namespace qv
