// The SSE2 and plain instances of the row loops, and the choice between them and the
// AVX2 ones at run time.
#include "paint/acPixelOps.h"

#include "paint/acPixelKernels.h"

#include <atomic>

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#define QV_PIXEL_X86 1
#endif

namespace qv::pixelops {

#if defined(QV_PIXEL_X86)
// Defined in acPixelOps_Avx2.cpp.
extern const RowKernels kAvx2Kernels;
#endif

namespace kernels {
namespace {

#ifdef QV_PIXEL_SSE2
struct Sse2 {
    using V = __m128i;
    static constexpr int N = 4;
    static V Load(const void* p) noexcept { return _mm_loadu_si128(static_cast<const __m128i*>(p)); }
    static void Store(void* p, V v) noexcept { _mm_storeu_si128(static_cast<__m128i*>(p), v); }
    static V Set1(std::uint32_t v) noexcept { return _mm_set1_epi32(static_cast<int>(v)); }
    static V Or(V a, V b) noexcept { return _mm_or_si128(a, b); }
    static V CmpEq32(V a, V b) noexcept { return _mm_cmpeq_epi32(a, b); }
    static V Select(V mask, V whenSet, V otherwise) noexcept { return pixelops::Select(mask, whenSet, otherwise); }
    static bool Any(V mask) noexcept { return _mm_movemask_epi8(mask) != 0; }
    static V MaskBlend(V s, V d, V k) noexcept { return MaskBlend4(s, d, k); }

    struct SumW {
        V A, B;
    };
    static SumW SumWeights(int a) noexcept {
        return {_mm_set1_epi16(static_cast<short>(a)), _mm_set1_epi16(static_cast<short>(255 - a))};
    }
    static V Sum(V d, V s, const SumW& w) noexcept {
        const V zero = _mm_setzero_si128(), round = _mm_set1_epi16(127);
        const V lo = _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(d, zero), w.A),
                                                 _mm_mullo_epi16(_mm_unpacklo_epi8(s, zero), w.B)),
                                   round);
        const V hi = _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(d, zero), w.A),
                                                 _mm_mullo_epi16(_mm_unpackhi_epi8(s, zero), w.B)),
                                   round);
        return _mm_packus_epi16(_mm_srli_epi16(lo, 8), _mm_srli_epi16(hi, 8));
    }

    // Per 16-bit lane (B, G, R, A of two pixels): the weight, and the colour's share
    // plus 50 so that a floor division rounds to nearest; A gets 100 and 50, so it stays.
    struct ColorW {
        V W, Add;
    };
    static ColorW ColorWeights(const ColorRowArgs& c) noexcept {
        const auto w = static_cast<short>(c.Weight);
        const auto b = static_cast<short>(c.Add[0] + 50), g = static_cast<short>(c.Add[1] + 50),
                   r = static_cast<short>(c.Add[2] + 50);
        return {_mm_setr_epi16(w, w, w, 100, w, w, w, 100), _mm_setr_epi16(b, g, r, 50, b, g, r, 50)};
    }
    // q = (n + 50) div 100 by a multiply (exact for n + 50 <= 25550), less one on a tie
    // (n mod 100 = 50) whose q would be odd: ties go to even.
    static V Div100Even(V n2) noexcept {
        const V q = _mm_srli_epi16(_mm_mulhi_epu16(n2, _mm_set1_epi16(static_cast<short>(41944))), 6);
        const V tie = _mm_cmpeq_epi16(_mm_mullo_epi16(q, _mm_set1_epi16(100)), n2);
        return _mm_sub_epi16(q, _mm_and_si128(tie, _mm_and_si128(q, _mm_set1_epi16(1))));
    }
    static V ColorBlend(V v, const ColorW& w) noexcept {
        const V zero = _mm_setzero_si128();
        const V lo = _mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(v, zero), w.W), w.Add);
        const V hi = _mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(v, zero), w.W), w.Add);
        return _mm_packus_epi16(Div100Even(lo), Div100Even(hi));
    }
};
#endif

constexpr RowKernels kPlainKernels = KernelsOf<Plain>();
#ifdef QV_PIXEL_SSE2
constexpr RowKernels kSse2Kernels = KernelsOf<Sse2>();
#endif

bool CpuHasAvx2() noexcept {
#if defined(QV_PIXEL_X86)
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (!__get_cpuid(1, &a, &b, &c, &d)) return false;
    // The system must save the YMM registers (OSXSAVE, then XCR0 bits 1 and 2).
    if (!(c & bit_OSXSAVE) || !(c & bit_AVX)) return false;
    unsigned xcr0 = 0, xcr0High = 0;
    __asm__ volatile("xgetbv" : "=a"(xcr0), "=d"(xcr0High) : "c"(0));
    if ((xcr0 & 6) != 6) return false;
    if (!__get_cpuid_count(7, 0, &a, &b, &c, &d)) return false;
    return (b & bit_AVX2) != 0;
#else
    return false;
#endif
}

std::atomic<const RowKernels*> gKernels{nullptr};
std::atomic<KernelLevel> gLevel{KernelLevel::Plain};

}  // namespace
}  // namespace kernels

KernelLevel BestKernelLevel() noexcept {
    static const KernelLevel best = kernels::CpuHasAvx2() ? KernelLevel::Avx2
#ifdef QV_PIXEL_SSE2
                                                          : KernelLevel::Sse2;
#else
                                                          : KernelLevel::Plain;
#endif
    return best;
}

const RowKernels& KernelsFor(KernelLevel level) noexcept {
#if defined(QV_PIXEL_X86)
    if (level == KernelLevel::Avx2 && level == BestKernelLevel()) return kAvx2Kernels;
#endif
#ifdef QV_PIXEL_SSE2
    if (level != KernelLevel::Plain) return kernels::kSse2Kernels;
#endif
    return kernels::kPlainKernels;
}

const RowKernels& Kernels() noexcept {
    const RowKernels* k = kernels::gKernels.load(std::memory_order_acquire);
    if (!k) {
        kernels::gLevel.store(BestKernelLevel());
        k = &KernelsFor(BestKernelLevel());
        kernels::gKernels.store(k, std::memory_order_release);
    }
    return *k;
}

KernelLevel UseKernelLevel(KernelLevel level) noexcept {
    Kernels();
    const KernelLevel before = kernels::gLevel.load();
    if (static_cast<int>(level) > static_cast<int>(BestKernelLevel())) level = BestKernelLevel();
    kernels::gLevel.store(level);
    kernels::gKernels.store(&KernelsFor(level), std::memory_order_release);
    return before;
}

}  // namespace qv::pixelops
