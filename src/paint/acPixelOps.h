// Row kernels of the per-pixel passes: the mask blend (each of B, G, R weighed by its own
// mask byte), the weighted byte sum, the blend towards a colour and the keyed copy. Each
// exists one pixel at a time, four at a time with SSE2 (every x86 build) and eight at a
// time with AVX2 (chosen at run time); all give the same bytes: every intermediate fits
// 16 bits (at most 255 × 256 + 255 × 0 and 255 × 255 + 127), so the lanes never wrap.
#pragma once
#include "paint/acBlit.h"

#include <cstddef>
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
// The blend is s + floor((d − s) × k / 256). Each pixel's even (B, R) and odd (G, A)
// bytes go one per 16-bit lane without unpacking; the difference wraps to 16 bits, and
// the unsigned high half of its product with k × 256 is floor((d − s) × k / 256) plus a
// multiple of 256 (256 × k when the difference is negative), so its low byte is exact.
inline __m128i MaskBlend4(__m128i s, __m128i d, __m128i k) noexcept {
    const __m128i even = _mm_set1_epi16(0x00FF);
    const __m128i se = _mm_and_si128(s, even), so = _mm_srli_epi16(s, 8);
    const __m128i de = _mm_and_si128(d, even), dodd = _mm_srli_epi16(d, 8);
    const __m128i re = _mm_add_epi16(se, _mm_mulhi_epu16(_mm_sub_epi16(de, se), _mm_slli_epi16(k, 8)));
    const __m128i ro = _mm_add_epi16(so, _mm_mulhi_epu16(_mm_sub_epi16(dodd, so), _mm_andnot_si128(even, k)));
    return _mm_or_si128(_mm_and_si128(re, even), _mm_slli_epi16(ro, 8));
}
inline __m128i Load4(const acPixel32* p) noexcept { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
inline void Store4(acPixel32* p, __m128i v) noexcept { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }
inline __m128i Select(__m128i mask, __m128i whenSet, __m128i otherwise) noexcept {
    return _mm_or_si128(_mm_and_si128(mask, whenSet), _mm_andnot_si128(mask, otherwise));
}
#endif

// How key pixels (s equal to the key word) of a masked copy are treated.
enum class KeyRule {
    Blend,   // blended like every other pixel
    Skip,    // the destination stays
    Fill,    // the destination becomes a given word
    Parent,  // the parent's pixel under it, opaque; every other pixel is made opaque too
};

// One row of a masked copy: D = blend of S by K with D's own A, key pixels of S by the
// rule. For KeyRule::Parent, Parent[ParentOffset + i] is the parent pixel under D[i],
// readable for ParentLo <= i < ParentHi; a key pixel outside that range keeps D[i] with
// KeyOutsideOr added.
struct MaskRowArgs {
    acPixel32* D;
    const acPixel32* S;
    const acPixel32* K;
    int N;
    std::uint32_t Fill = 0;
    const acPixel32* Parent = nullptr;
    std::ptrdiff_t ParentOffset = 0;
    int ParentLo = 0, ParentHi = 0;
    std::uint32_t KeyOutsideOr = 0;
};

// BlendColorRect's row: each of B, G, R becomes (v × Weight + Add[ch]) / 100 rounded
// to nearest, ties to even; A stays.
struct ColorRowArgs {
    int Weight;            // 0..100
    std::uint32_t Add[3];  // (100 − Weight) × colour channel, B, G, R
};

// A keyed copy's row: pixels of S other than Key become S | SetOr; key pixels keep D
// (Skip), take Fill (Fill) or the parent's pixel made opaque where it is readable
// (Parent, as in MaskRowArgs) and keep D elsewhere. The mode picks the kernel.
enum class KeyCopyMode { Skip, Fill, Parent };
struct KeyCopyArgs {
    acPixel32* D;
    const acPixel32* S;
    int N;
    std::uint32_t Key;
    std::uint32_t SetOr = 0;
    std::uint32_t Fill = 0;
    const acPixel32* Parent = nullptr;
    std::ptrdiff_t ParentOffset = 0;
    int ParentLo = 0, ParentHi = 0;
};

// The row loops of one vector width; every width gives the same bytes.
struct RowKernels {
    void (*MaskRow[4])(const MaskRowArgs&) noexcept;  // indexed by KeyRule
    void (*SumRow)(std::uint8_t* d, const std::uint8_t* s, int bytes, int a) noexcept;
    void (*ColorRow)(acPixel32* d, int n, const ColorRowArgs& c) noexcept;
    void (*KeyCopyRow[3])(const KeyCopyArgs& a) noexcept;  // indexed by KeyCopyMode
};

// The widths there are: Plain (one pixel at a time), SSE2 (in every build for x86) and
// AVX2 (chosen when the processor and the system support it).
enum class KernelLevel { Plain, Sse2, Avx2 };

// The kernels in use, chosen once from what the processor offers.
const RowKernels& Kernels() noexcept;
// The kernels of one level (a level the build or processor lacks gives a lower one).
const RowKernels& KernelsFor(KernelLevel level) noexcept;
// The best level this processor and build offer.
KernelLevel BestKernelLevel() noexcept;
// Uses the given level (clamped to the best one) from now on and returns the one in use
// before; lets the tests and benchmarks compare every width.
KernelLevel UseKernelLevel(KernelLevel level) noexcept;

// Calls rowFn(j) for j in 0..h−1 in the order of the rows' addresses (from the last row
// for a bottom-up picture, delta < 0): the hardware prefetchers follow ascending
// addresses far better, which more than doubles the speed of a screen-sized pass.
template <class RowFn>
inline void RowsInAddressOrder(std::ptrdiff_t delta, int h, RowFn&& rowFn) {
    if (delta < 0)
        for (int j = h - 1; j >= 0; --j) rowFn(j);
    else
        for (int j = 0; j < h; ++j) rowFn(j);
}

// n pixels: d = blend of s by k with d's own A; key pixels of s by rule. s and k advance
// by step pixels (1, or 0 for one pixel repeated).
inline void MaskBlendRow(acPixel32* d, const acPixel32* s, const acPixel32* k, int n, int step, KeyRule rule,
                         std::uint32_t fill = 0) noexcept {
    if (n <= 0) return;
    if (step) {
        MaskRowArgs a{d, s, k, n, fill};
        Kernels().MaskRow[static_cast<int>(rule)](a);
        return;
    }
    int i = 0;
#ifdef QV_PIXEL_SSE2
    const __m128i rgb = _mm_set1_epi32(static_cast<int>(kRgb)), alpha = _mm_set1_epi32(static_cast<int>(kAlpha));
    const __m128i key = _mm_set1_epi32(static_cast<int>(KeyPixel)), fillV = _mm_set1_epi32(static_cast<int>(fill));
    const __m128i sv = _mm_set1_epi32(static_cast<int>(*s)), kv = _mm_set1_epi32(static_cast<int>(*k));
    for (; i + 4 <= n; i += 4) {
        const __m128i dv = Load4(d + i);
        __m128i out = _mm_or_si128(_mm_and_si128(MaskBlend4(sv, dv, kv), rgb), _mm_and_si128(dv, alpha));
        if (rule != KeyRule::Blend) {
            const __m128i isKey = _mm_cmpeq_epi32(sv, key);
            out = Select(isKey, rule == KeyRule::Skip ? dv : fillV, out);
        }
        Store4(d + i, out);
    }
#endif
    for (; i < n; ++i) {
        if (rule != KeyRule::Blend && *s == KeyPixel) {
            if (rule == KeyRule::Fill) d[i] = fill;
            continue;
        }
        d[i] = MaskBlend1(*s, d[i], *k) | (d[i] & kAlpha);
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
    if (bytes > 0) Kernels().SumRow(d, s, bytes, a);
}

}  // namespace qv::pixelops
