// Fuzz target: the list file's text decoding (byte-order marks, UTF-8, UTF-16 LE/BE,
// the ANSI code page, CR LF / CR / LF line ends, invalid sequences). Every input must
// decode into lines without line-end characters, and the list written back in the
// encoding that was found must read back as the same lines in the same encoding: a
// save after a load loses nothing.
#include "framework/StringList.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    qv::TStringList list;
    list.LoadFromBytes(bytes);
    for (const qv::String& line : list)
        if (line.find_first_of(L"\r\n") != qv::String::npos) __builtin_trap();

    const qv::Bytes saved = list.EncodeText();
    qv::TStringList again;
    again.LoadFromBytes(saved);
    if (again.Encoding() != list.Encoding() || again.Count() != list.Count()) __builtin_trap();
    for (int i = 0; i < list.Count(); ++i)
        if (again[i] != list[i]) __builtin_trap();
    // Decoded text is stable: a second save writes the same bytes.
    if (again.EncodeText() != saved) __builtin_trap();
    return 0;
}
