// Text in the ANSI code page where only the portable core runs: code page 1252, the
// Western code page the program's files are written in.
#include "framework/Strings.h"

#include <cstddef>
#include <cstdint>

namespace qv {

namespace {

// Code page 1252, bytes 0x80..0x9F. The five unassigned bytes map to the C1 controls of
// the same value, as the system's own conversion does, so every byte round-trips.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

int Cp1252Byte(char32_t c) noexcept {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
    for (int i = 0; i < 32; ++i)
        if (kCp1252High[i] == c) return 0x80 + i;
    return -1;
}

}  // namespace

Bytes StringToAnsi(const String& s, bool* lost) {
    // Paths are mostly ASCII: that run is copied as it is, the rest goes by code point.
    std::size_t ascii = 0;
    while (ascii < s.size() && static_cast<std::uint32_t>(s[ascii]) < 0x80) ++ascii;
    Bytes out(s.begin(), s.begin() + static_cast<std::ptrdiff_t>(ascii));
    if (lost) *lost = false;
    if (ascii == s.size()) return out;
    out.reserve(s.size());
    bool anyLost = false;
    for (char32_t c : StringToCodePoints(s.substr(ascii))) {
        const int b = Cp1252Byte(c);
        if (b < 0) anyLost = true;
        out += static_cast<char>(b < 0 ? '?' : b);
    }
    if (lost) *lost = anyLost;
    return out;
}

String AnsiToString(std::string_view bytes) {
    String out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        out += static_cast<wchar_t>(b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : b);
    }
    return out;
}

}  // namespace qv
