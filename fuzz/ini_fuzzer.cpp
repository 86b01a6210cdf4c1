// Fuzz target: the INI reader on any text file (the skins' options files are read with
// it). Every input must parse; every section and key it lists must be found again with
// the value it shows; and writing the contents out and parsing them again must give the
// same contents.
#include "framework/IniFiles.h"
#include "framework/StringList.h"
#include "framework/SysUtils.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qv::TStringList lines;
    lines.LoadFromBytes(std::string_view(reinterpret_cast<const char*>(data), size));
    qv::TMemIniFile ini;
    ini.SetStrings(lines);

    qv::TStringList sections, keys, values;
    ini.ReadSections(sections);
    for (const qv::String& section : sections) {
        if (!ini.SectionExists(section)) __builtin_trap();
        ini.ReadSection(section, keys);
        ini.ReadSectionValues(section, values);
        for (const qv::String& key : keys) {
            if (!ini.ValueExists(section, key)) __builtin_trap();
            // Values are trimmed, so a lone control character can only be the default.
            if (ini.ReadString(section, key, L"\x01") == L"\x01") __builtin_trap();
            (void)ini.ReadInteger(section, key, 0);
            (void)ini.ReadBool(section, key, false);
            (void)ini.ReadFloat(section, key, 0);
        }
    }

    qv::TStringList written, rewritten;
    ini.GetStrings(written);
    written.SetEncoding(qv::teUtf8);
    qv::TStringList reread;
    reread.LoadFromBytes(written.EncodeText());
    qv::TMemIniFile again;
    again.SetStrings(reread);
    again.GetStrings(rewritten);
    if (rewritten.Count() != written.Count()) __builtin_trap();
    for (int i = 0; i < written.Count(); ++i)
        if (rewritten[i] != written[i]) __builtin_trap();
    return 0;
}
