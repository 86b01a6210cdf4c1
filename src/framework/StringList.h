// TStringList: an ordered list of strings (with an optional object pointer per item)
// that loads and saves text files, remembering the byte-order mark it found.
// Portable: no <windows.h>.
#pragma once
#include "framework/Strings.h"
#include "framework/Types.h"

#include <string>
#include <vector>

namespace qv {

class TStream;

enum TTextEncoding { teAnsi, teUtf8, teUtf16LE, teUtf16BE };

class TStringList {
public:
    TStringList() = default;

    int Count() const noexcept { return static_cast<int>(FStrings.size()); }
    // Index errors raise EListError "List index out of bounds (<index>)".
    const String& operator[](int index) const { return Strings(index); }
    const String& Strings(int index) const;
    void Put(int index, const String& s);
    void* Objects(int index) const;
    void PutObject(int index, void* object);

    int Add(const String& s);  // returns the new item's index
    int AddObject(const String& s, void* object);
    void AddStrings(const TStringList& other);
    void Insert(int index, const String& s);  // index Count() appends
    void InsertObject(int index, const String& s, void* object);
    void Delete(int index);
    void Clear() noexcept {
        FStrings.clear();
        FObjects.clear();
    }
    void Exchange(int index1, int index2);
    void Assign(const TStringList& other);  // items, objects and encoding

    // Exact comparison unless CaseSensitive is off (then ASCII letters fold).
    int IndexOf(const String& s) const noexcept;
    bool CaseSensitive() const noexcept { return FCaseSensitive; }
    void SetCaseSensitive(bool on) noexcept { FCaseSensitive = on; }

    // "name=value" items: the part before the first '=' and the rest.
    String Names(int index) const;
    String ValueFromIndex(int index) const;
    int IndexOfName(const String& name) const noexcept;
    String Values(const String& name) const;  // empty when absent

    // Items joined with CR LF, each (the last too) followed by CR LF. SetText splits at
    // CR LF, lone CR and lone LF; a final line end makes no empty last item.
    String Text() const;
    void SetText(const String& text);

    // Files: a UTF-8 or UTF-16 LE/BE byte-order mark selects that encoding and is
    // remembered; other files are ANSI (remembered as teAnsi). Loading replaces the items
    // and leaves them unchanged on failure (EFOpenError / EReadError).
    void LoadFromFile(const String& fileName);
    void LoadFromStream(TStream& stream);
    void LoadFromBytes(std::string_view bytes);
    // Writes EncodeText(): EFCreateError / EWriteError on failure.
    void SaveToFile(const String& fileName) const;
    void SaveToStream(TStream& stream) const;
    // The exact bytes a save writes: the remembered encoding's mark (none for ANSI), then
    // every item followed by CR LF. An empty list gives the mark alone.
    Bytes EncodeText() const;

    TTextEncoding Encoding() const noexcept { return FEncoding; }
    void SetEncoding(TTextEncoding encoding) noexcept { FEncoding = encoding; }

    // Range-for over the strings.
    std::vector<String>::const_iterator begin() const noexcept { return FStrings.begin(); }
    std::vector<String>::const_iterator end() const noexcept { return FStrings.end(); }

private:
    void CheckIndex(int index, int limit) const;

    std::vector<String> FStrings;
    std::vector<void*> FObjects;  // one per string, parallel to FStrings
    TTextEncoding FEncoding = teAnsi;
    bool FCaseSensitive = true;
};

// Splits text into lines at CR LF, CR or LF (a final line end adds no empty line).
void SplitLines(const String& text, std::vector<String>& lines);
// Decodes file bytes as a string list does, returning the encoding that was found.
String DecodeText(std::string_view bytes, TTextEncoding& encoding);

}  // namespace qv
