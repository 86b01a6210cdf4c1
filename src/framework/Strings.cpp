#include "framework/Strings.h"

#include "framework/SysUtils.h"

#include <climits>

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

// Framework strings are UTF-16 where wchar_t has 16 bits (Windows) and UTF-32 elsewhere.
constexpr bool kUtf16Strings = sizeof(wchar_t) == 2;

void AppendCodePoint(String& out, char32_t c) {
    if (kUtf16Strings && c >= 0x10000) {
        c -= 0x10000;
        out += static_cast<wchar_t>(0xD800 + (c >> 10));
        out += static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
        return;
    }
    out += static_cast<wchar_t>(c);
}

// Walks the code points of a framework string, turning unpaired surrogates (and, where
// wchar_t is 32 bits, values outside Unicode) into U+FFFD.
template <class F>
void ForEachCodePoint(const String& s, F&& f) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        char32_t c = static_cast<char32_t>(s[i]);
        if constexpr (kUtf16Strings) {
            c &= 0xFFFF;
            if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size()) {
                const char32_t low = static_cast<char32_t>(s[i + 1]) & 0xFFFF;
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    f(0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00));
                    ++i;
                    continue;
                }
            }
        }
        f(IsValidScalar(c) ? c : kReplacement);
    }
}

template <bool BigEndian>
Bytes EncodeUtf16(const String& s) {
    Bytes out;
    out.reserve(s.size() * 2);
    auto put = [&out](char32_t unit) {
        const char lo = static_cast<char>(unit & 0xFF), hi = static_cast<char>((unit >> 8) & 0xFF);
        if (BigEndian) {
            out += hi;
            out += lo;
        } else {
            out += lo;
            out += hi;
        }
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
        if (b >= 0xC2 && b <= 0xDF) {
            length = 2;
            c = b & 0x1F;
        } else if (b >= 0xE0 && b <= 0xEF) {
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
            if (i + k >= size || next < lo || next > hi) {
                good = false;
                break;
            }
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

bool CanEncodeAnsi(const String& s) {
    bool lost = false;
    StringToAnsi(s, &lost);
    return !lost;
}

}  // namespace qv
