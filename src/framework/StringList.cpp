#include "framework/StringList.h"

#include "framework/Streams.h"
#include "framework/SysUtils.h"

#include <utility>

namespace qv {

namespace {
constexpr char kUtf8Mark[] = "\xEF\xBB\xBF";
constexpr char kUtf16LEMark[] = "\xFF\xFE";
constexpr char kUtf16BEMark[] = "\xFE\xFF";
}  // namespace

void SplitLines(const String& text, std::vector<String>& lines) {
    std::size_t start = 0;
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n; ++i) {
        const wchar_t c = text[i];
        if (c != L'\r' && c != L'\n') continue;
        lines.emplace_back(text, start, i - start);
        if (c == L'\r' && i + 1 < n && text[i + 1] == L'\n') ++i;
        start = i + 1;
    }
    if (start < n) lines.emplace_back(text, start, n - start);
}

String DecodeText(std::string_view bytes, TTextEncoding& encoding) {
    // UTF-8 is tested first: its mark cannot be confused with the UTF-16 ones.
    if (bytes.starts_with(std::string_view(kUtf8Mark, 3))) {
        encoding = teUtf8;
        return Utf8ToString(bytes.substr(3));
    }
    if (bytes.starts_with(std::string_view(kUtf16LEMark, 2))) {
        encoding = teUtf16LE;
        return Utf16LEToString(bytes.substr(2));
    }
    if (bytes.starts_with(std::string_view(kUtf16BEMark, 2))) {
        encoding = teUtf16BE;
        return Utf16BEToString(bytes.substr(2));
    }
    encoding = teAnsi;
    return AnsiToString(bytes);
}

void TStringList::CheckIndex(int index, int limit) const {
    if (index < 0 || index >= limit) throw EListError(L"List index out of bounds (" + IntToStr(index) + L")");
}

const String& TStringList::Strings(int index) const {
    CheckIndex(index, Count());
    return FStrings[static_cast<std::size_t>(index)];
}

void TStringList::Put(int index, const String& s) {
    CheckIndex(index, Count());
    FStrings[static_cast<std::size_t>(index)] = s;
}

void* TStringList::Objects(int index) const {
    CheckIndex(index, Count());
    return FObjects[static_cast<std::size_t>(index)];
}

void TStringList::PutObject(int index, void* object) {
    CheckIndex(index, Count());
    FObjects[static_cast<std::size_t>(index)] = object;
}

int TStringList::Add(const String& s) { return AddObject(s, nullptr); }

int TStringList::AddObject(const String& s, void* object) {
    InsertObject(Count(), s, object);
    return Count() - 1;
}

void TStringList::AddStrings(const TStringList& other) {
    const std::vector<String> strings = other.FStrings;  // other may be this list
    const std::vector<void*> objects = other.FObjects;
    FStrings.reserve(FStrings.size() + strings.size());
    FObjects.reserve(FObjects.size() + objects.size());
    FStrings.insert(FStrings.end(), strings.begin(), strings.end());
    FObjects.insert(FObjects.end(), objects.begin(), objects.end());
}

void TStringList::Insert(int index, const String& s) { InsertObject(index, s, nullptr); }

void TStringList::InsertObject(int index, const String& s, void* object) {
    CheckIndex(index, Count() + 1);
    FObjects.reserve(FObjects.size() + 1);  // so the second insert cannot fail after the first
    FStrings.insert(FStrings.begin() + index, s);
    FObjects.insert(FObjects.begin() + index, object);
}

void TStringList::Delete(int index) {
    CheckIndex(index, Count());
    FStrings.erase(FStrings.begin() + index);
    FObjects.erase(FObjects.begin() + index);
}

void TStringList::Exchange(int index1, int index2) {
    CheckIndex(index1, Count());
    CheckIndex(index2, Count());
    std::swap(FStrings[static_cast<std::size_t>(index1)], FStrings[static_cast<std::size_t>(index2)]);
    std::swap(FObjects[static_cast<std::size_t>(index1)], FObjects[static_cast<std::size_t>(index2)]);
}

void TStringList::Assign(const TStringList& other) {
    if (&other == this) return;
    FStrings = other.FStrings;
    FObjects = other.FObjects;
    FEncoding = other.FEncoding;
}

int TStringList::IndexOf(const String& s) const noexcept {
    for (std::size_t i = 0; i < FStrings.size(); ++i)
        if (FCaseSensitive ? FStrings[i] == s : SameText(FStrings[i], s)) return static_cast<int>(i);
    return -1;
}

String TStringList::Names(int index) const {
    const String& s = Strings(index);
    const std::size_t eq = s.find(L'=');
    return eq == String::npos ? String() : s.substr(0, eq);
}

String TStringList::ValueFromIndex(int index) const {
    const String& s = Strings(index);
    const std::size_t eq = s.find(L'=');
    return eq == String::npos ? String() : s.substr(eq + 1);
}

int TStringList::IndexOfName(const String& name) const noexcept {
    for (std::size_t i = 0; i < FStrings.size(); ++i) {
        const String& s = FStrings[i];
        const std::size_t eq = s.find(L'=');
        if (eq == String::npos || eq != name.size()) continue;
        const bool same = FCaseSensitive ? s.compare(0, eq, name) == 0 : SameText(s.substr(0, eq), name);
        if (same) return static_cast<int>(i);
    }
    return -1;
}

String TStringList::Values(const String& name) const {
    const int i = IndexOfName(name);
    return i < 0 ? String() : ValueFromIndex(i);
}

String TStringList::Text() const {
    String out;
    std::size_t total = 0;
    for (const auto& item : FStrings) total += item.size() + 2;
    out.reserve(total);
    for (const auto& item : FStrings) {
        out += item;
        out += L"\r\n";
    }
    return out;
}

void TStringList::SetText(const String& text) {
    std::vector<String> lines;
    SplitLines(text, lines);
    std::vector<void*> objects(lines.size(), nullptr);
    FStrings.swap(lines);
    FObjects.swap(objects);
}

void TStringList::LoadFromBytes(std::string_view bytes) {
    TTextEncoding encoding = teAnsi;
    const String text = DecodeText(bytes, encoding);
    SetText(text);
    FEncoding = encoding;
}

void TStringList::LoadFromStream(TStream& stream) {
    const std::int64_t left = stream.Size() - stream.Position();
    if (left < 0 || static_cast<std::uint64_t>(left) > Bytes().max_size()) throw EReadError(L"Stream read error");
    Bytes bytes(static_cast<std::size_t>(left), '\0');
    stream.ReadBuffer(bytes.data(), left);
    LoadFromBytes(bytes);
}

void TStringList::LoadFromFile(const String& fileName) {
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(file);
}

Bytes TStringList::EncodeText() const {
    const String text = Text();
    switch (FEncoding) {
    case teUtf8: return Bytes(kUtf8Mark, 3) + StringToUtf8(text);
    case teUtf16LE: return Bytes(kUtf16LEMark, 2) + StringToUtf16LE(text);
    case teUtf16BE: return Bytes(kUtf16BEMark, 2) + StringToUtf16BE(text);
    case teAnsi: break;
    }
    return StringToAnsi(text);
}

void TStringList::SaveToStream(TStream& stream) const {
    const Bytes bytes = EncodeText();
    stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

void TStringList::SaveToFile(const String& fileName) const {
    // Encode first, so an encoding failure never leaves a truncated file behind.
    const Bytes bytes = EncodeText();
    TFileStream file(fileName, fmCreate);
    file.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

}  // namespace qv
