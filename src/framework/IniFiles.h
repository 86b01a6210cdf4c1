// TMemIniFile: INI text held in memory with section and key names compared with regard
// to case. Sections keep file order, and when a section or key occurs twice lookups find
// the first. Portable: no <windows.h>.
#pragma once
#include "framework/StringList.h"
#include "framework/Types.h"

#include <memory>
#include <unordered_map>
#include <vector>

namespace qv {

class TMemIniFile {
public:
    // Reads fileName when it exists (an empty name, or a missing file, gives an empty
    // object); a file that exists but cannot be read raises EFOpenError.
    explicit TMemIniFile(const String& fileName = String());
    ~TMemIniFile();
    TMemIniFile(const TMemIniFile&) = delete;
    TMemIniFile& operator=(const TMemIniFile&) = delete;

    const String& FileName() const noexcept { return FFileName; }
    // Encoding used by UpdateFile (the one the file was read in).
    TTextEncoding Encoding() const noexcept { return FEncoding; }
    void SetEncoding(TTextEncoding encoding) noexcept { FEncoding = encoding; }

    // Parses lines: trimmed; empty and ";" lines ignored; "[name]" starts a section;
    // "key=value" (blanks around '=' removed) adds a key. Replaces the contents.
    void SetStrings(const TStringList& lines);
    void GetStrings(TStringList& lines) const;
    void Clear() noexcept;

    String ReadString(const String& section, const String& key, const String& defaultValue) const;
    // Decimal, "$hex" or "0x" hex; anything else gives defaultValue.
    int ReadInteger(const String& section, const String& key, int defaultValue) const;
    // An integer (non-zero is true) or "TRUE"/"FALSE" in any case; else defaultValue.
    bool ReadBool(const String& section, const String& key, bool defaultValue) const;
    // Decimal with "." separator; else defaultValue.
    double ReadFloat(const String& section, const String& key, double defaultValue) const;

    // Replace the first occurrence of the key, or append it (and the section) when absent.
    void WriteString(const String& section, const String& key, const String& value);
    void WriteInteger(const String& section, const String& key, int value);
    void WriteBool(const String& section, const String& key, bool value);
    void WriteFloat(const String& section, const String& key, double value);

    // The keys of the first section of that name in file order, a repeated key as often as
    // it occurs (null when there is no such section): a reader that visits every key walks
    // them without a lookup and a copy per key.
    struct TIniKey {
        String Name, Value;
    };
    const std::vector<TIniKey>* SectionKeys(const String& section) const;

    void ReadSections(TStringList& sections) const;
    void ReadSection(const String& section, TStringList& keys) const;
    void ReadSectionValues(const String& section, TStringList& values) const;  // "key=value"
    bool SectionExists(const String& section) const;
    bool ValueExists(const String& section, const String& key) const;
    void EraseSection(const String& section);  // every section of that name
    void DeleteKey(const String& section, const String& key);

    // Writes the contents to FileName() (nothing when it is empty).
    void UpdateFile() const;

private:
    struct TIniSection {
        String Name;
        std::vector<TIniKey> Keys;
        mutable std::unique_ptr<std::unordered_map<String, int>> KeyIndex;  // first occurrence
    };
    const TIniSection* FindSection(const String& section) const;
    TIniSection* FindSection(const String& section);
    const TIniKey* FindKey(const String& section, const String& key) const;
    void InvalidateSections() noexcept { FSectionIndex.reset(); }

    String FFileName;
    TTextEncoding FEncoding = teAnsi;
    std::vector<std::unique_ptr<TIniSection>> FSections;
    mutable std::unique_ptr<std::unordered_map<String, int>> FSectionIndex;  // first occurrence
};

}  // namespace qv
