// The AVX2 instances of the row loops, eight pixels at a time. The mask blend works on
// the even and odd bytes in place, as the SSE2 one does; the byte sum uses the
// unsigned-by-signed byte multiply-add: the pixel bytes are moved into the signed range
// (b − 128) and the weights, which stay unsigned, are paired with them, so one
// instruction gives w1 × p1 + w2 × p2 for sixteen pairs; the bias is added back exactly.
// Only this file is compiled for AVX2, and its loops run only where acPixelOps.cpp found
// the processor and the system able to.
#include "paint/acPixelOps.h"

#include <cstddef>
#include <cstdint>

#if defined(__i386__) || defined(__x86_64__)
#include <immintrin.h>

// GCC takes a target for the rest of the file; clang takes it as an attribute given to
// every function that follows (the fuzz build compiles this file with clang).
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2")
#endif

#include "paint/acPixelKernels.h"

namespace qv::pixelops {
namespace kernels {
namespace {

struct Avx2 {
    using V = __m256i;
    static constexpr int N = 8;
    static V Load(const void* p) noexcept { return _mm256_loadu_si256(static_cast<const __m256i*>(p)); }
    static void Store(void* p, V v) noexcept { _mm256_storeu_si256(static_cast<__m256i*>(p), v); }
    static V Set1(std::uint32_t v) noexcept { return _mm256_set1_epi32(static_cast<int>(v)); }
    static V Or(V a, V b) noexcept { return _mm256_or_si256(a, b); }
    static V CmpEq32(V a, V b) noexcept { return _mm256_cmpeq_epi32(a, b); }
    static V Select(V mask, V whenSet, V otherwise) noexcept { return _mm256_blendv_epi8(otherwise, whenSet, mask); }
    static bool Any(V mask) noexcept { return !_mm256_testz_si256(mask, mask); }

    // (s × (256 − k) + d × k) shr 8 per byte, as s + floor((d − s) × k / 256) on the even
    // and odd bytes in place (see MaskBlend4 in acPixelOps.h).
    static V MaskBlend(V s, V d, V k) noexcept {
        const V even = _mm256_set1_epi16(0x00FF);
        const V se = _mm256_and_si256(s, even), so = _mm256_srli_epi16(s, 8);
        const V de = _mm256_and_si256(d, even), dodd = _mm256_srli_epi16(d, 8);
        const V re = _mm256_add_epi16(se, _mm256_mulhi_epu16(_mm256_sub_epi16(de, se), _mm256_slli_epi16(k, 8)));
        const V ro = _mm256_add_epi16(so, _mm256_mulhi_epu16(_mm256_sub_epi16(dodd, so), _mm256_andnot_si256(even, k)));
        return _mm256_or_si256(_mm256_and_si256(re, even), _mm256_slli_epi16(ro, 8));
    }

    // (d × a + s × (255 − a) + 127) shr 8 per byte: the biased sum is the result less
    // 128 × 255, so adding 32767 restores it with the rounding term.
    static V SumWeights(int a) noexcept { return _mm256_set1_epi16(static_cast<short>(a | ((255 - a) << 8))); }
    static V Sum(V d, V s, V w) noexcept {
        const V bias8 = _mm256_set1_epi8(static_cast<char>(0x80)), restore = _mm256_set1_epi16(32767);
        const V db = _mm256_xor_si256(d, bias8), sb = _mm256_xor_si256(s, bias8);
        const V lo = _mm256_maddubs_epi16(w, _mm256_unpacklo_epi8(db, sb));
        const V hi = _mm256_maddubs_epi16(w, _mm256_unpackhi_epi8(db, sb));
        return _mm256_packus_epi16(_mm256_srli_epi16(_mm256_add_epi16(lo, restore), 8),
                                   _mm256_srli_epi16(_mm256_add_epi16(hi, restore), 8));
    }

    // As the SSE2 form: per 16-bit lane the weight and the colour's share plus 50.
    struct ColorW {
        V W, Add;
    };
    static ColorW ColorWeights(const ColorRowArgs& c) noexcept {
        const auto w = static_cast<short>(c.Weight);
        const auto b = static_cast<short>(c.Add[0] + 50), g = static_cast<short>(c.Add[1] + 50),
                   r = static_cast<short>(c.Add[2] + 50);
        return {_mm256_setr_epi16(w, w, w, 100, w, w, w, 100, w, w, w, 100, w, w, w, 100),
                _mm256_setr_epi16(b, g, r, 50, b, g, r, 50, b, g, r, 50, b, g, r, 50)};
    }
    static V Div100Even(V n2) noexcept {
        const V q = _mm256_srli_epi16(_mm256_mulhi_epu16(n2, _mm256_set1_epi16(static_cast<short>(41944))), 6);
        const V tie = _mm256_cmpeq_epi16(_mm256_mullo_epi16(q, _mm256_set1_epi16(100)), n2);
        return _mm256_sub_epi16(q, _mm256_and_si256(tie, _mm256_and_si256(q, _mm256_set1_epi16(1))));
    }
    static V ColorBlend(V v, const ColorW& w) noexcept {
        const V zero = _mm256_setzero_si256();
        const V lo = _mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpacklo_epi8(v, zero), w.W), w.Add);
        const V hi = _mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpackhi_epi8(v, zero), w.W), w.Add);
        return _mm256_packus_epi16(Div100Even(lo), Div100Even(hi));
    }
};

}  // namespace
}  // namespace kernels

extern const RowKernels kAvx2Kernels;
const RowKernels kAvx2Kernels = kernels::KernelsOf<kernels::Avx2>();

}  // namespace qv::pixelops

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif
#endif
