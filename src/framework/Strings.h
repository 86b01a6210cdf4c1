// Text encodings: the framework string (UTF-16 on Windows, UTF-32 elsewhere) to and from
// the byte encodings used by files, packs and the clipboard. Byte strings are
// std::string holding raw bytes. Decoding never fails: malformed input becomes U+FFFD.
// Portable: no <windows.h>.
#pragma once
#include "framework/Types.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

using Bytes = std::string;

Bytes StringToUtf8(const String& s);
String Utf8ToString(std::string_view bytes);
String Utf8ToString(const std::uint8_t* data, std::size_t size);

Bytes StringToUtf16LE(const String& s);
Bytes StringToUtf16BE(const String& s);
// An odd final byte decodes as U+FFFD.
String Utf16LEToString(std::string_view bytes);
String Utf16BEToString(std::string_view bytes);

// The system ANSI code page: CP_ACP on Windows, code page 1252 elsewhere. Characters
// the code page cannot hold become '?', and *lost (when given) tells whether any did.
Bytes StringToAnsi(const String& s, bool* lost = nullptr);
String AnsiToString(std::string_view bytes);
bool CanEncodeAnsi(const String& s);

// Unicode code points of s (surrogate pairs joined on Windows), and back.
std::u32string StringToCodePoints(const String& s);
String CodePointsToString(std::u32string_view codePoints);

}  // namespace qv
