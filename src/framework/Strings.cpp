#include "framework/Strings.h"

#include "framework/SysUtils.h"

#include <climits>

#ifdef _WIN32
#include <windows.h>
#endif

namespace qv {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsSurrogate(char32_t c) noexcept { return c >= 0xD800 && c <= 0xDFFF; }
bool IsValidScalar(char32_t c) noexcept { return c <= 0x10FFFF && !IsSurrogate(c); }

void AppendUtf8(Bytes& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void AppendCodePoint(String& out, char32_t c) {
#ifdef _WIN32
    if (c >= 0x10000) {
        c -= 0x10000;
        out += static_cast<wchar_t>(0xD800 + (c >> 10));
        out += static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
        return;
    }
#endif
    out += static_cast<wchar_t>(c);
}

// Walks the code points of a framework string, turning unpaired surrogates (and, where
// wchar_t is 32 bits, values outside Unicode) into U+FFFD.
template <class F>
void ForEachCodePoint(const String& s, F&& f) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        char32_t c = static_cast<char32_t>(s[i]);
#ifdef _WIN32
        c &= 0xFFFF;
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size()) {
            const char32_t low = static_cast<char32_t>(s[i + 1]) & 0xFFFF;
            if (low >= 0xDC00 && low <= 0xDFFF) {
                f(0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
#endif
        f(IsValidScalar(c) ? c : kReplacement);
    }
}

template <bool BigEndian>
Bytes EncodeUtf16(const String& s) {
    Bytes out;
    out.reserve(s.size() * 2);
    auto put = [&out](char32_t unit) {
        const char lo = static_cast<char>(unit & 0xFF), hi = static_cast<char>((unit >> 8) & 0xFF);
        if (BigEndian) { out += hi; out += lo; } else { out += lo; out += hi; }
    };
    ForEachCodePoint(s, [&put](char32_t c) {
        if (c >= 0x10000) {
            c -= 0x10000;
            put(0xD800 + (c >> 10));
            put(0xDC00 + (c & 0x3FF));
        } else {
            put(c);
        }
    });
    return out;
}

template <bool BigEndian>
String DecodeUtf16(std::string_view bytes) {
    String out;
    out.reserve(bytes.size() / 2 + 1);
    const std::size_t units = bytes.size() / 2;
    auto unitAt = [bytes](std::size_t i) -> char32_t {
        const auto a = static_cast<unsigned char>(bytes[2 * i]), b = static_cast<unsigned char>(bytes[2 * i + 1]);
        return BigEndian ? (a << 8 | b) : (b << 8 | a);
    };
    for (std::size_t i = 0; i < units; ++i) {
        const char32_t c = unitAt(i);
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units) {
            const char32_t low = unitAt(i + 1);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendCodePoint(out, 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        AppendCodePoint(out, IsSurrogate(c) ? kReplacement : c);
    }
    if (bytes.size() % 2 != 0) AppendCodePoint(out, kReplacement);
    return out;
}

#ifndef _WIN32
// Code page 1252, bytes 0x80..0x9F. The five unassigned bytes map to the C1 controls of
// the same value, as the system's own conversion does, so every byte round-trips.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

int Cp1252Byte(char32_t c) noexcept {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
    for (int i = 0; i < 32; ++i)
        if (kCp1252High[i] == c) return 0x80 + i;
    return -1;
}
#endif

}  // namespace

std::u32string StringToCodePoints(const String& s) {
    std::u32string out;
    out.reserve(s.size());
    ForEachCodePoint(s, [&out](char32_t c) { out += c; });
    return out;
}

String CodePointsToString(std::u32string_view codePoints) {
    String out;
    out.reserve(codePoints.size());
    for (char32_t c : codePoints) AppendCodePoint(out, IsValidScalar(c) ? c : kReplacement);
    return out;
}

Bytes StringToUtf8(const String& s) {
    Bytes out;
    out.reserve(s.size());
    ForEachCodePoint(s, [&out](char32_t c) { AppendUtf8(out, c); });
    return out;
}

String Utf8ToString(const std::uint8_t* data, std::size_t size) {
    String out;
    out.reserve(size);
    std::size_t i = 0;
    while (i < size) {
        const std::uint8_t b = data[i];
        if (b < 0x80) {
            out += static_cast<wchar_t>(b);
            ++i;
            continue;
        }
        // The allowed range of the second byte excludes overlong forms, surrogates and
        // values past U+10FFFF, so every later byte only needs to be a continuation.
        int length = 0;
        char32_t c = 0;
        std::uint8_t low = 0x80, high = 0xBF;
        if (b >= 0xC2 && b <= 0xDF) { length = 2; c = b & 0x1F; }
        else if (b >= 0xE0 && b <= 0xEF) {
            length = 3;
            c = b & 0x0F;
            if (b == 0xE0) low = 0xA0;
            if (b == 0xED) high = 0x9F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            length = 4;
            c = b & 0x07;
            if (b == 0xF0) low = 0x90;
            if (b == 0xF4) high = 0x8F;
        }
        // A malformed sequence yields one U+FFFD for its lead byte and the continuation
        // bytes that were valid so far; decoding resumes at the first byte that broke it.
        std::size_t used = 1;
        bool good = length != 0;
        for (int k = 1; good && k < length; ++k) {
            const std::uint8_t next = i + k < size ? data[i + k] : 0;
            const std::uint8_t lo = k == 1 ? low : 0x80, hi = k == 1 ? high : 0xBF;
            if (i + k >= size || next < lo || next > hi) { good = false; break; }
            c = (c << 6) | (next & 0x3F);
            ++used;
        }
        if (good) {
            AppendCodePoint(out, c);
            i += static_cast<std::size_t>(length);
        } else {
            AppendCodePoint(out, kReplacement);
            i += used;
        }
    }
    return out;
}

String Utf8ToString(std::string_view bytes) {
    return Utf8ToString(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

Bytes StringToUtf16LE(const String& s) { return EncodeUtf16<false>(s); }
Bytes StringToUtf16BE(const String& s) { return EncodeUtf16<true>(s); }
String Utf16LEToString(std::string_view bytes) { return DecodeUtf16<false>(bytes); }
String Utf16BEToString(std::string_view bytes) { return DecodeUtf16<true>(bytes); }

#ifdef _WIN32

Bytes StringToAnsi(const String& s, bool* lost) {
    if (lost) *lost = false;
    if (s.empty()) return Bytes();
    if (s.size() > static_cast<std::size_t>(INT_MAX / 4)) throw EOutOfResources(L"Text too long to convert");
    if (GetACP() == CP_UTF8) {
        // lpUsedDefaultChar is not allowed with UTF-8; UTF-8 holds every character.
        return StringToUtf8(s);
    }
    const int length = static_cast<int>(s.size());
    const int needed = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, s.data(), length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) throw EConvertError(L"No mapping for the Unicode character exists in the target code page");
    Bytes out(static_cast<std::size_t>(needed), '\0');
    BOOL usedDefault = FALSE;
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, s.data(), length, out.data(), needed, nullptr, &usedDefault);
    if (lost) *lost = usedDefault != FALSE;
    return out;
}

String AnsiToString(std::string_view bytes) {
    if (bytes.empty()) return String();
    if (bytes.size() > static_cast<std::size_t>(INT_MAX / 2)) throw EOutOfResources(L"Text too long to convert");
    const int length = static_cast<int>(bytes.size());
    const int needed = MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
    if (needed <= 0) return String();
    String out(static_cast<std::size_t>(needed), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, out.data(), needed);
    return out;
}

#else

Bytes StringToAnsi(const String& s, bool* lost) {
    Bytes out;
    out.reserve(s.size());
    bool anyLost = false;
    ForEachCodePoint(s, [&](char32_t c) {
        const int b = Cp1252Byte(c);
        if (b < 0) anyLost = true;
        out += static_cast<char>(b < 0 ? '?' : b);
    });
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

#endif

bool CanEncodeAnsi(const String& s) {
    bool lost = false;
    StringToAnsi(s, &lost);
    return !lost;
}

}  // namespace qv
