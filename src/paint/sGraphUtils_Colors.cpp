// Hue, saturation and grey-scale changes of single colours and whole 32-bit bitmaps.
//
// The hue and saturation formulas are worked in exact integer arithmetic: every value the
// colour model defines as a real number is a fraction with a small denominator (Δ, 60 or
// 300), so "taken to the nearest integer" is a rounded integer division (ties to even).
// That gives the same bytes on every target and lets the bitmap loops run without floats.
#include "paint/sGraphUtils.h"

#include <algorithm>
#include <cstring>

namespace qv {

namespace {

// Nearest integer of num / den for den > 0, ties to even.
inline int RoundDiv(int num, int den) noexcept {
    int q = num / den, r = num % den;
    if (r < 0) {
        q -= 1;
        r += den;
    }
    if (2 * r > den || (2 * r == den && (q & 1))) ++q;
    return q;
}

// Hue of (r, g, b) shifted by delta degrees. Grey (Δ 0, so saturation 0) comes back as is.
inline void ShiftHue(int& r, int& g, int& b, int delta) noexcept {
    const int v = std::max({r, g, b});
    const int mn = std::min({r, g, b});
    const int d = v - mn;
    if (d == 0) return;
    delta %= 360;  // same parity, so the same rounding; keeps the products in range
    // H × Δ: 60 (G − B) with R the maximum, 120 Δ + 60 (B − R) with G, else 240 Δ + 60 (R − G).
    int hd;
    if (r == v) hd = 60 * (g - b);
    else if (g == v) hd = 120 * d + 60 * (b - r);
    else hd = 240 * d + 60 * (r - g);
    if (hd < 0) hd += 360 * d;
    int h = RoundDiv(hd + delta * d, d) % 360;
    if (h < 0) h += 360;
    const int sector = h / 60, j = h % 60;
    // p = V (1 − S) = min; q = V (1 − f S) = V − j Δ / 60; t = V (1 − (1 − f) S) = V − (60 − j) Δ / 60.
    const int p = mn;
    const int q = RoundDiv(60 * v - j * d, 60);
    const int t = RoundDiv(60 * v - (60 - j) * d, 60);
    switch (sector) {
    case 0:
        r = v;
        g = t;
        b = p;
        break;
    case 1:
        r = q;
        g = v;
        b = p;
        break;
    case 2:
        r = p;
        g = v;
        b = t;
        break;
    case 3:
        r = p;
        g = q;
        b = v;
        break;
    case 4:
        r = t;
        g = p;
        b = v;
        break;
    default:
        r = v;
        g = p;
        b = q;
        break;
    }
}

// Each channel x + (x − grey) × delta / 100 with grey = (r + g + b) / 3, i.e.
// (300 x + (3 x − sum) × delta) / 300, rounded and clamped.
inline int Saturate(int x, int sum, int delta) noexcept {
    return std::clamp(RoundDiv(300 * x + (3 * x - sum) * delta, 300), 0, 255);
}

// Beyond ±1000000 % every channel that differs from grey moves by at least 3333 levels
// and is pinned at 0 or 255 anyway; the clamp keeps the integer products in range.
inline int ClampSaturationDelta(int delta) noexcept { return std::clamp(delta, -1000000, 1000000); }

inline std::uint32_t Load(const std::uint8_t* p) noexcept {
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

}  // namespace

TsColor ChangeHue(int Delta, TsColor C) noexcept {
    if (Delta == 0) return C;
    int r = C.sBGRA.R, g = C.sBGRA.G, b = C.sBGRA.B;
    ShiftHue(r, g, b, Delta);
    C.sBGRA.R = static_cast<std::uint8_t>(r);
    C.sBGRA.G = static_cast<std::uint8_t>(g);
    C.sBGRA.B = static_cast<std::uint8_t>(b);
    return C;
}

TColor ChangeHue(int Delta, TColor Color) noexcept {
    if (Delta == 0) return Color;
    return SwapRedBlue(ChangeHue(Delta, MakeTsColor(SwapRedBlue(Color))).I);
}

TsColor ChangeSaturation(int Delta, TsColor C) noexcept {
    if (Delta == 0) return C;
    Delta = ClampSaturationDelta(Delta);
    const int sum = C.sBGRA.R + C.sBGRA.G + C.sBGRA.B;
    C.sBGRA.R = static_cast<std::uint8_t>(Saturate(C.sBGRA.R, sum, Delta));
    C.sBGRA.G = static_cast<std::uint8_t>(Saturate(C.sBGRA.G, sum, Delta));
    C.sBGRA.B = static_cast<std::uint8_t>(Saturate(C.sBGRA.B, sum, Delta));
    return C;
}

TColor ChangeSaturation(TColor Color, int Delta) noexcept {
    if (Delta == 0) return Color;
    return SwapRedBlue(ChangeSaturation(Delta, MakeTsColor(SwapRedBlue(Color))).I);
}

// A pixel word that may alias the bytes of a bitmap row.
using PixelWord = std::uint32_t __attribute__((may_alias));

namespace {

// x to the nearest integer, ties to even, for |x| < 2^22: adding 1.5 × 2^23 leaves no
// fraction bits, so the default rounding mode does the rounding.
inline float RoundEven(float x) noexcept {
    constexpr float magic = 12582912.0f;
    return (x + magic) - magic;
}

// The hue shift of a whole row, written without branches or integer division so the
// compiler vectorises it. It gives exactly the bytes of ShiftHue: every quotient here has
// a numerator below 2^18 and a denominator of at most 255 (or 60), so the single-precision
// quotient is the correctly rounded real quotient, an exact tie stays exact, and no other
// value comes within rounding distance of a tie or of the next integer.
void HueRow(PixelWord* row, int width, int delta) noexcept {
    for (int i = 0; i < width; ++i) {
        const std::uint32_t w = row[i];
        const int b = static_cast<int>(w & 0xFF), g = static_cast<int>((w >> 8) & 0xFF),
                  r = static_cast<int>((w >> 16) & 0xFF);
        const int v = std::max(r, std::max(g, b));
        const int mn = std::min(r, std::min(g, b));
        const int d = v - mn;
        const float fd = static_cast<float>(d + (d == 0));
        // Selections are masks (all ones or zero) so the loop body has no branches.
        const int mr = -static_cast<int>(r == v);
        const int mg = -static_cast<int>(r != v && g == v);
        const int mb = ~(mr | mg);
        int hd = (60 * (g - b) & mr) | ((120 * d + 60 * (b - r)) & mg) | ((240 * d + 60 * (r - g)) & mb);
        hd += 360 * d & -static_cast<int>(hd < 0);
        int h = static_cast<int>(RoundEven(static_cast<float>(hd + delta * d) / fd));
        h += 360 & -static_cast<int>(h < 0);
        h -= 360 & -static_cast<int>(h >= 360);
        const int sector = (h >= 60) + (h >= 120) + (h >= 180) + (h >= 240) + (h >= 300);
        const int j = h - 60 * sector;
        // q = V − j Δ / 60 and t = min + j Δ / 60 share one quotient; adding an integer to
        // it is exact, so the rounding still sees exact ties.
        const float jd = static_cast<float>(j * d) / 60.0f;
        const int q = static_cast<int>(RoundEven(static_cast<float>(v) - jd));
        const int t = static_cast<int>(RoundEven(static_cast<float>(mn) + jd));
        const int p = mn;
        const int s0 = -static_cast<int>(sector == 0), s1 = -static_cast<int>(sector == 1),
                  s2 = -static_cast<int>(sector == 2), s3 = -static_cast<int>(sector == 3),
                  s4 = -static_cast<int>(sector == 4), s5 = -static_cast<int>(sector == 5);
        // (R, G, B) per sector: (V, t, p), (q, V, p), (p, V, t), (p, q, V), (t, p, V), (V, p, q).
        const int nr = (v & (s0 | s5)) | (q & s1) | (t & s4) | (p & (s2 | s3));
        const int ng = (v & (s1 | s2)) | (t & s0) | (q & s3) | (p & (s4 | s5));
        const int nb = (v & (s3 | s4)) | (t & s2) | (q & s5) | (p & (s0 | s1));
        const std::uint32_t shifted = (w & 0xFF000000u) | static_cast<std::uint32_t>(nr << 16) |
                                      static_cast<std::uint32_t>(ng << 8) | static_cast<std::uint32_t>(nb);
        const std::uint32_t keep = 0u - static_cast<std::uint32_t>((d == 0) | (w == KeyPixel));
        row[i] = (w & keep) | (shifted & ~keep);
    }
}

}  // namespace

void ChangeBmpHUE(PixelRows bmp, int Value) noexcept {
    if (bmp.Empty() || Value == 0) return;
    Value %= 360;  // same parity, so the same rounding of H + Value
    for (int y = 0; y < bmp.Height; ++y) HueRow(reinterpret_cast<PixelWord*>(bmp.Row(y)), bmp.Width, Value);
}

void ChangeBmpHUE(TBitmap* Bmp, int Value) noexcept { ChangeBmpHUE(Rows32(Bmp), Value); }

void ChangeBmpSaturation(PixelRows bmp, int Value) noexcept {
    if (bmp.Empty() || Value == 0) return;
    Value = ClampSaturationDelta(Value);
    for (int y = 0; y < bmp.Height; ++y) {
        std::uint8_t* p = bmp.Row(y);
        for (int x = 0; x < bmp.Width; ++x, p += 4) {
            const int b = p[0], g = p[1], r = p[2];
            if ((r == g && g == b) || Load(p) == KeyPixel) continue;
            const int sum = r + g + b;
            p[0] = static_cast<std::uint8_t>(Saturate(b, sum, Value));
            p[1] = static_cast<std::uint8_t>(Saturate(g, sum, Value));
            p[2] = static_cast<std::uint8_t>(Saturate(r, sum, Value));
        }
    }
}

void ChangeBmpSaturation(TBitmap* Bmp, int Value) noexcept { ChangeBmpSaturation(Rows32(Bmp), Value); }

void GrayScale(PixelRows bmp) noexcept {
    if (bmp.Empty()) return;
    for (int y = 0; y < bmp.Height; ++y) {
        std::uint8_t* p = bmp.Row(y);
        for (int x = 0; x < bmp.Width; ++x) {
            const auto grey = static_cast<std::uint8_t>((p[4 * x] + p[4 * x + 1] + p[4 * x + 2]) / 3);
            p[4 * x] = p[4 * x + 1] = p[4 * x + 2] = grey;
        }
    }
}

void GrayScale(TBitmap* Bmp) noexcept { GrayScale(Rows32(Bmp)); }

void GrayScaleTrans(PixelRows bmp, TColor TransColor) noexcept {
    if (bmp.Empty()) return;
    const std::uint32_t key = ColorToPixel(TransColor, 0);
    for (int y = 0; y < bmp.Height; ++y) {
        std::uint8_t* p = bmp.Row(y);
        for (int x = 0; x < bmp.Width; ++x, p += 4) {
            if (Load(p) == key) continue;
            const auto grey = static_cast<std::uint8_t>((p[0] + p[1] + p[2]) / 3);
            p[0] = p[1] = p[2] = grey;
        }
    }
}

void GrayScaleTrans(TBitmap* Bmp, TColor TransColor) noexcept { GrayScaleTrans(Rows32(Bmp), TransColor); }

}  // namespace qv
