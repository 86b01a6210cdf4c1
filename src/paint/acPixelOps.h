// Row kernels of the per-pixel passes: the mask blend (each of B, G, R weighed by its own
// mask byte) and the weighted byte sum, four pixels at a time with SSE2 where the
// compiler targets it, and one pixel at a time otherwise. Both give the same bytes: every
// intermediate fits 16 bits (at most 255 × 256 + 255 × 0 and 255 × 255 + 127), so the
// 16-bit lanes never wrap.
#pragma once
#include "paint/acBlit.h"

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#define QV_PIXEL_SSE2 1
#endif

namespace qv::pixelops {

constexpr std::uint32_t kRgb = 0x00FFFFFFu;
constexpr std::uint32_t kAlpha = 0xFF000000u;

// B, G, R of (s × (256 − k) + d × k) shr 8 channel by channel; A is 0.
inline std::uint32_t MaskBlend1(std::uint32_t s, std::uint32_t d, std::uint32_t k) noexcept {
    const std::uint32_t kb = k & 0xFF, kg = (k >> 8) & 0xFF, kr = (k >> 16) & 0xFF;
    const std::uint32_t b = ((s & 0xFF) * (256 - kb) + (d & 0xFF) * kb) >> 8;
    const std::uint32_t g = (((s >> 8) & 0xFF) * (256 - kg) + ((d >> 8) & 0xFF) * kg) >> 8;
    const std::uint32_t r = (((s >> 16) & 0xFF) * (256 - kr) + ((d >> 16) & 0xFF) * kr) >> 8;
    return b | (g << 8) | (r << 16);
}

#ifdef QV_PIXEL_SSE2
// The same on four pixels; A of the result is garbage and is replaced by the caller.
inline __m128i MaskBlend4(__m128i s, __m128i d, __m128i k) noexcept {
    const __m128i zero = _mm_setzero_si128(), c256 = _mm_set1_epi16(256);
    const __m128i kl = _mm_unpacklo_epi8(k, zero), kh = _mm_unpackhi_epi8(k, zero);
    const __m128i lo = _mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(s, zero), _mm_sub_epi16(c256, kl)),
                                     _mm_mullo_epi16(_mm_unpacklo_epi8(d, zero), kl));
    const __m128i hi = _mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(s, zero), _mm_sub_epi16(c256, kh)),
                                     _mm_mullo_epi16(_mm_unpackhi_epi8(d, zero), kh));
    return _mm_packus_epi16(_mm_srli_epi16(lo, 8), _mm_srli_epi16(hi, 8));
}
inline __m128i Load4(const acPixel32* p) noexcept { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
inline void Store4(acPixel32* p, __m128i v) noexcept { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }
inline __m128i Select(__m128i mask, __m128i whenSet, __m128i otherwise) noexcept {
    return _mm_or_si128(_mm_and_si128(mask, whenSet), _mm_andnot_si128(mask, otherwise));
}
#endif

// How key pixels (s equal to the key word) of a masked copy are treated.
enum class KeyRule {
    Blend,  // blended like every other pixel
    Skip,   // the destination stays
    Fill,   // the destination becomes a given word
};

// n pixels: d = blend of s by k with d's own A; key pixels of s by rule. s and k advance
// by step pixels (1, or 0 for one pixel repeated).
inline void MaskBlendRow(acPixel32* d, const acPixel32* s, const acPixel32* k, int n, int step, KeyRule rule,
                         std::uint32_t fill = 0) noexcept {
    if (n <= 0) return;
    int i = 0;
#ifdef QV_PIXEL_SSE2
    const __m128i rgb = _mm_set1_epi32(static_cast<int>(kRgb)), alpha = _mm_set1_epi32(static_cast<int>(kAlpha));
    const __m128i key = _mm_set1_epi32(static_cast<int>(KeyPixel)), fillV = _mm_set1_epi32(static_cast<int>(fill));
    const __m128i s1 = _mm_set1_epi32(static_cast<int>(*s)), k1 = _mm_set1_epi32(static_cast<int>(*k));
    for (; i + 4 <= n; i += 4) {
        const __m128i sv = step ? Load4(s + i) : s1, kv = step ? Load4(k + i) : k1, dv = Load4(d + i);
        __m128i out = _mm_or_si128(_mm_and_si128(MaskBlend4(sv, dv, kv), rgb), _mm_and_si128(dv, alpha));
        if (rule != KeyRule::Blend) {
            const __m128i isKey = _mm_cmpeq_epi32(sv, key);
            out = Select(isKey, rule == KeyRule::Skip ? dv : fillV, out);
        }
        Store4(d + i, out);
    }
#endif
    for (; i < n; ++i) {
        const std::uint32_t sv = s[i * step], kv = k[i * step];
        if (rule != KeyRule::Blend && sv == KeyPixel) {
            if (rule == KeyRule::Fill) d[i] = fill;
            continue;
        }
        d[i] = MaskBlend1(sv, d[i], kv) | (d[i] & kAlpha);
    }
}

// n pixels set to v.
inline void FillRow(acPixel32* d, int n, std::uint32_t v) noexcept {
    int i = 0;
#ifdef QV_PIXEL_SSE2
    const __m128i vv = _mm_set1_epi32(static_cast<int>(v));
    for (; i + 8 <= n; i += 8) {
        Store4(d + i, vv);
        Store4(d + i + 4, vv);
    }
#endif
    for (; i < n; ++i) d[i] = v;
}

// bytes bytes: d = (d × a + s × (255 − a) + 127) shr 8, a in 0..255.
inline void SumRow(std::uint8_t* d, const std::uint8_t* s, int bytes, int a) noexcept {
    const int b = 255 - a;
    int i = 0;
#ifdef QV_PIXEL_SSE2
    const __m128i zero = _mm_setzero_si128(), av = _mm_set1_epi16(static_cast<short>(a)),
                  bv = _mm_set1_epi16(static_cast<short>(b)), round = _mm_set1_epi16(127);
    for (; i + 16 <= bytes; i += 16) {
        const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
        const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        const __m128i lo = _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(dv, zero), av),
                                                       _mm_mullo_epi16(_mm_unpacklo_epi8(sv, zero), bv)),
                                         round);
        const __m128i hi = _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(dv, zero), av),
                                                       _mm_mullo_epi16(_mm_unpackhi_epi8(sv, zero), bv)),
                                         round);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i),
                         _mm_packus_epi16(_mm_srli_epi16(lo, 8), _mm_srli_epi16(hi, 8)));
    }
#endif
    for (; i < bytes; ++i) d[i] = static_cast<std::uint8_t>((d[i] * a + s[i] * b + 127) >> 8);
}

}  // namespace qv::pixelops
