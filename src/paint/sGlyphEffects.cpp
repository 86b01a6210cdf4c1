// Blur, glow, alpha glyphs and text shortening.
#include "paint/sGlyphEffects.h"

#include "paint/PixelRows.h"
#include "paint/acBlit.h"
#include "paint/sAlphaGraph.h"
#include "paint/sGraphUtils.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qv {

void MakeGaussianKernel(TKernel& K, double Radius, double MaxData, double DataGranularity) noexcept {
    if (Radius <= 0) {
        K.Weights.fill(0);
        K.Weight(0) = 1;
        K.Size = 0;
        return;
    }
    double w[201];
    double sum = 0;
    for (int i = -100; i <= 100; ++i) {
        const double t = i / Radius;
        w[i + 100] = std::exp(-t * t / 2);
        sum += w[i + 100];
    }
    for (double& v : w) v /= sum;
    // Drop the outer weights while together they stay below one data step.
    int i = 100;
    double total = 0;
    const double limit = MaxData / (2 * DataGranularity);
    while (total < limit && i > 1) {
        total += 2 * w[i + 100];
        --i;
    }
    K.Size = i;
    sum = 0;
    for (int j = -i; j <= i; ++j) sum += w[j + 100];
    K.Weights.fill(0);
    for (int j = -i; j <= i; ++j) K.Weight(j) = static_cast<float>(w[j + 100] / sum);
}

namespace {

// The nearest byte, ties to even, clamped. Between 0 and 255 adding and taking away 2^23
// leaves v rounded by the floating-point unit's own rounding (to nearest, ties to even),
// which is what nearbyint does, without a call per pixel.
inline std::uint8_t ToByte(float v) noexcept {
    if (v >= 255.0f) return 255;
    if (v <= 0.0f) return 0;
    const float shifted = v + 8388608.0f;
    return static_cast<std::uint8_t>(static_cast<int>(shifted - 8388608.0f));
}

// out[x] = the sum over k = −Size..Size, in that order and from 0, of
// Weight(k) × lineOf(k)[x]. Four columns are summed at a time in registers; each column's
// sum is formed in the same order as one column at a time, so the floats are the same.
template <class LineOf>
void WeightedSum(float* out, int count, const TKernel& K, LineOf lineOf) noexcept {
    const int size = K.Size;
    int x = 0;
#ifdef __SSE2__
    for (; x + 8 <= count; x += 8) {
        __m128 a0 = _mm_setzero_ps(), a1 = _mm_setzero_ps();
        for (int k = -size; k <= size; ++k) {
            const __m128 w = _mm_set1_ps(K.Weight(k));
            const float* line = lineOf(k) + x;
            a0 = _mm_add_ps(a0, _mm_mul_ps(w, _mm_loadu_ps(line)));
            a1 = _mm_add_ps(a1, _mm_mul_ps(w, _mm_loadu_ps(line + 4)));
        }
        _mm_storeu_ps(out + x, a0);
        _mm_storeu_ps(out + x + 4, a1);
    }
#endif
    for (; x < count; ++x) {
        float sum = 0.0f;
        for (int k = -size; k <= size; ++k) sum += K.Weight(k) * lineOf(k)[x];
        out[x] = sum;
    }
}

// Blurs a line held in pad[size .. size + count) whose ends are repeated size times on
// each side, into out.
void BlurPadded(const float* pad, int count, const TKernel& K, float* out) noexcept {
    const int size = K.Size;
    WeightedSum(out, count, K, [pad, size](int k) { return pad + size - k; });
}

}  // namespace

void BlurRow8(std::uint8_t* Line, int Count, std::ptrdiff_t Step, const TKernel& K) noexcept {
    if (!Line || Count <= 0) return;
    std::vector<float> pad, out;
    try {
        pad.resize(static_cast<std::size_t>(Count) + 2 * static_cast<std::size_t>(K.Size));
        out.resize(static_cast<std::size_t>(Count));
    } catch (...) {
        return;
    }
    for (int i = 0; i < Count + 2 * K.Size; ++i) pad[i] = Line[std::clamp(i - K.Size, 0, Count - 1) * Step];
    BlurPadded(pad.data(), Count, K, out.data());
    for (int x = 0; x < Count; ++x) Line[x * Step] = ToByte(out[x]);
}

void Blur8(TBitmap* Bmp, double Radius) noexcept {
    if (!Bmp || Bmp->Empty() || Bmp->PixelFormat() != pf8bit) return;
    TKernel k;
    MakeGaussianKernel(k, Radius, 1, 255);
    const int w = Bmp->Width(), h = Bmp->Height(), size = k.Size;
    std::vector<float> pad, out, acc;
    try {
        pad.resize(static_cast<std::size_t>(std::max(w, h)) + 2 * static_cast<std::size_t>(size));
        out.resize(static_cast<std::size_t>(std::max(w, h)));
        acc.resize(static_cast<std::size_t>(w) * (h + 2 * size));
    } catch (...) {
        return;
    }
    // Rows: each row padded with its end pixels and blurred.
    for (int y = 0; y < h; ++y) {
        std::uint8_t* row = Bmp->ScanLine(y);
        for (int i = 0; i < w + 2 * size; ++i) pad[i] = row[std::clamp(i - size, 0, w - 1)];
        BlurPadded(pad.data(), w, k, out.data());
        for (int x = 0; x < w; ++x) row[x] = ToByte(out[x]);
    }
    // Columns, a whole row at a time: acc holds the rows as floats with size copies of
    // the first and last row around them, so each output row is a weighted sum of rows.
    for (int y = 0; y < h + 2 * size; ++y) {
        const std::uint8_t* row = Bmp->ScanLine(std::clamp(y - size, 0, h - 1));
        float* a = acc.data() + static_cast<std::size_t>(y) * w;
        for (int x = 0; x < w; ++x) a[x] = row[x];
    }
    std::vector<float>& line = out;
    line.resize(static_cast<std::size_t>(w));
    for (int y = 0; y < h; ++y) {
        const float* rows = acc.data();
        WeightedSum(line.data(), w, k,
                    [rows, y, size, w](int kk) { return rows + static_cast<std::size_t>(y + size - kk) * w; });
        std::uint8_t* row = Bmp->ScanLine(y);
        for (int x = 0; x < w; ++x) row[x] = ToByte(line[x]);
    }
}

void ApplyGlowMask(TBitmap* DstBmp, const TBitmap* MaskBmp, int X, int Y, TColor Color) noexcept {
    const PixelRows dst = Rows32(DstBmp);
    if (dst.Empty() || !MaskBmp || MaskBmp->Empty() || MaskBmp->PixelFormat() != pf8bit) return;
    const auto c = static_cast<std::uint32_t>(ColorToRGB(Color));
    const int g[3] = {static_cast<int>((c >> 16) & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                      static_cast<int>(c & 0xFF)};
    for (int j = 0; j < MaskBmp->Height(); ++j) {
        const int y = Y + j;
        if (y < 0 || y >= dst.Height) continue;
        const std::uint8_t* m = MaskBmp->ScanLine(j);
        std::uint8_t* row = dst.Row(y);
        for (int i = 0; i < MaskBmp->Width(); ++i) {
            const int x = X + i;
            const int mv = m[i];
            if (mv == 255 || x < 0 || x >= dst.Width) continue;
            std::uint8_t* p = row + x * 4;
            for (int ch = 0; ch < 3; ++ch) p[ch] = static_cast<std::uint8_t>((p[ch] - g[ch]) * mv / 255 + g[ch]);
            p[3] = static_cast<std::uint8_t>(p[3] + (255 - mv) * (255 - p[3]) / 255);
        }
    }
}

namespace {

// The colour a glyph copy lays down: its pixels as they are, or their grey tinted.
struct GlyphInk {
    bool Tint = false;
    int TintC[3] = {};

    explicit GlyphInk(TColor grayedColor) noexcept : Tint(grayedColor != acNoTint) {
        const auto tc = static_cast<std::uint32_t>(ColorToRGB(grayedColor));
        TintC[0] = static_cast<int>((tc >> 16) & 0xFF);
        TintC[1] = static_cast<int>((tc >> 8) & 0xFF);
        TintC[2] = static_cast<int>(tc & 0xFF);
    }

    // d's colour moves towards p's (tinted) colour by weight / 256.
    void BlendPixel(std::uint8_t* d, const std::uint8_t* p, int weight, bool keepMaxAlpha) const noexcept {
        int c[3] = {p[0], p[1], p[2]};
        if (Tint) {
            const int grey = (c[0] + c[1] + c[2]) / 3;
            for (int ch = 0; ch < 3; ++ch) c[ch] = grey * TintC[ch] / 255;
        }
        for (int ch = 0; ch < 3; ++ch)
            d[ch] = static_cast<std::uint8_t>((c[ch] * weight + d[ch] * (256 - weight)) >> 8);
        if (keepMaxAlpha) d[3] = std::max(d[3], p[3]);
    }
};

// src as a 32-bit picture: itself, or a copy converted with A 255 that converted keeps;
// nullptr when the copy cannot be made.
TBitmap* Glyph32(TBitmap* src, std::unique_ptr<TBitmap>& converted) noexcept {
    if (src->PixelFormat() == pf32bit) return src;
    try {
        converted = std::make_unique<TBitmap>();
        converted->Assign(*src);
        converted->SetPixelFormat(pf32bit);
        FillAlphaRect(converted.get(), {0, 0, converted->Width(), converted->Height()}, 255);
    } catch (...) {
        return nullptr;
    }
    return converted.get();
}

// The span and the ink come by value in both row loops: copies of their own, which the
// byte stores into the picture cannot change, stay in registers.
// The clipped glyph blended by its alpha. With a ready cache a key pixel leaves the
// destination alone, or puts the parent's pixel back when updateTrans asks for it.
void CopyGlyphRows(PixelRows dst, PixelRows s, Span sp, const TCacheInfo& ci, bool updateTrans, int blend,
                   GlyphInk ink) noexcept {
    const PixelRows parent = ci.Ready ? Rows32(ci.Bmp) : PixelRows{};
    const bool keyed = ci.Ready, keepMaxAlpha = ci.Ready && blend == 0;
    const int parentX = ci.X, parentY = ci.Y;
    for (int j = 0; j < sp.h; ++j) {
        std::uint8_t* drow = dst.Row(sp.dy + j) + sp.dx * 4;
        const std::uint8_t* srow = s.Row(sp.sy + j) + sp.sx * 4;
        for (int i = 0; i < sp.w; ++i) {
            std::uint8_t* d = drow + i * 4;
            const std::uint8_t* p = srow + i * 4;
            const std::uint32_t v = p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
            if (keyed && v == KeyPixel) {
                if (updateTrans && !parent.Empty()) {
                    const int px = sp.dx + i + parentX, py = sp.dy + j + parentY;
                    if (px >= 0 && py >= 0 && px < parent.Width && py < parent.Height)
                        std::copy_n(parent.Row(py) + px * 4, 4, d);
                }
                continue;
            }
            const int weight = (100 - blend) * p[3] / 100;
            ink.BlendPixel(d, p, weight, keepMaxAlpha);
        }
    }
}

// The reflection under the glyph: row j under glyphBottom (the destination row under the
// whole glyph) mirrors the glyph's row glyphH - 1 - j, srcBottom being the source row under
// it, faded by its distance; its columns are the clipped glyph's.
void CopyReflection(PixelRows dst, PixelRows s, Span sp, int glyphH, int glyphBottom, int srcBottom, int blend,
                    GlyphInk ink) noexcept {
    for (int j = 0; ReflectionOpacity(j, glyphH) > 0 && j < glyphH; ++j) {
        const int y = glyphBottom + j, srcY = srcBottom - 1 - j;
        if (y < 0) continue;
        if (y >= dst.Height) break;
        if (srcY < 0 || srcY >= s.Height) continue;
        const int fade = ReflectionOpacity(j, glyphH);
        std::uint8_t* drow = dst.Row(y) + sp.dx * 4;
        const std::uint8_t* srow = s.Row(srcY) + sp.sx * 4;
        for (int i = 0; i < sp.w; ++i) {
            const std::uint8_t* p = srow + i * 4;
            const int weight = (100 - blend) * p[3] / 100 * fade / 255;
            ink.BlendPixel(drow + i * 4, p, weight, false);
        }
    }
}

}  // namespace

void CopyBmp32(TRect DstRect, TRect SrcRect, TBitmap* Dst, TBitmap* Src, const TCacheInfo& CI, bool UpdateTrans,
               TColor GrayedColor, int Blend, bool Reflected) noexcept {
    const PixelRows dst = Rows32(Dst);
    if (dst.Empty() || !Src || Src->Empty()) return;
    std::unique_ptr<TBitmap> converted;
    TBitmap* src = Glyph32(Src, converted);
    if (!src) return;
    const PixelRows s = Rows32(src);
    Blend = std::clamp(Blend, 0, 100);
    // The whole glyph's place before clipping: the reflection hangs under its bottom row.
    const int glyphH = std::min(DstRect.Height(), SrcRect.Height());
    const int glyphBottom = DstRect.Top + glyphH;  // first destination row under the glyph
    const int srcBottom = SrcRect.Top + glyphH;    // first source row under the glyph
    const Span sp = ClipSpan(dst, DstRect.Left, DstRect.Top, s, SrcRect.Left, SrcRect.Top,
                             std::min(DstRect.Width(), SrcRect.Width()), glyphH);
    const GlyphInk ink(GrayedColor);
    CopyGlyphRows(dst, s, sp, CI, UpdateTrans, Blend, ink);
    if (Reflected && sp.w > 0) CopyReflection(dst, s, sp, glyphH, glyphBottom, srcBottom, Blend, ink);
}

String CutText(const String& Text, int MaxLength, const std::function<int(const String&)>& TextWidth) {
    if (MaxLength <= 0) return String();
    String result = Text;
    if (TextWidth(result) <= MaxLength) return result;
    while (!result.empty()) {
        if (TextWidth(result + L"...") <= MaxLength) break;
        result.pop_back();
    }
    // Never "..." alone: a text whose first character and the ellipsis do not fit is empty.
    if (!result.empty()) result += L"...";
    return result;
}

}  // namespace qv
