// The per-pixel passes on a 1920 × 1080 picture, each next to memcpy of one picture and,
// where a compositing library has the same operation, next to that library in the same
// run: its component-alpha OVER (a per-channel mask, as the masked copy has) and its
// OVER through a solid mask (a uniform weight, as the cross-fade has). The pictures are
// three times the size of the level-2 caches, so these rows measure memory traffic and
// arithmetic together; the ratios to memcpy are what carries from one machine to another.
#include "paint/acPixelOps.h"
#include "paint/sAlphaGraph.h"
#include "paint/sGraphUtils.h"
#include "paint/sGraphUtils_Item.h"

#include <benchmark/benchmark.h>

#ifdef QUORVEL_BENCH_PIXMAN
#include <pixman.h>
#endif

#include <cstdint>
#include <cstring>
#include <memory>

namespace qv {
namespace {

constexpr int kW = 1920, kH = 1080;

// Random-looking pixels with a key pixel about one in seven, and mask rows below the
// image rows of the same height (as skin images keep them).
std::unique_ptr<TBitmap> Picture(int w, int h, std::uint32_t seed, bool withKeys) {
    auto bmp = std::make_unique<TBitmap>(w, h, pf32bit);
    std::uint32_t x = seed;
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(bmp->ScanLine(y));
        for (int i = 0; i < w; ++i) {
            x = x * 1664525u + 1013904223u;
            row[i] = withKeys && (x >> 29) == 0 ? KeyPixel : x;
        }
    }
    return bmp;
}

// The row kernels' width for a benchmark: 0 plain, 1 SSE2, 2 AVX2 (the best there is
// when higher than the processor offers).
class KernelLevelScope {
public:
    explicit KernelLevelScope(const benchmark::State& state, int arg)
        : FBefore(pixelops::UseKernelLevel(static_cast<pixelops::KernelLevel>(state.range(arg)))) {}
    ~KernelLevelScope() { pixelops::UseKernelLevel(FBefore); }

private:
    pixelops::KernelLevel FBefore;
};

void PixelArgs(benchmark::internal::Benchmark* b) {
    b->ArgName("width");
    for (int level = 0; level <= static_cast<int>(pixelops::BestKernelLevel()); ++level) b->Arg(level);
}

void BM_Memcpy1080p(benchmark::State& state) {
    auto dst = Picture(kW, kH, 1, false), src = Picture(kW, kH, 2, false);
    const std::size_t bytes = static_cast<std::size_t>(dst->RowBytes()) * kH;
    for (auto _ : state) {
        std::memcpy(dst->ScanLine(kH - 1), src->ScanLine(kH - 1), bytes);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Memcpy1080p);

// The masked copy's four cases: 0 key pixels show the parent (update over a ready
// background), 1 everything blends over a ready background, 2 key pixels take the fill
// colour, 3 key pixels are skipped.
void CopyByMaskCase(benchmark::State& state, int w, int h) {
    KernelLevelScope level(state, 1);
    auto dst = Picture(w, h, 3, false), src = Picture(w, 2 * h, 4, true), parent = Picture(w, h, 5, false);
    const int mode = static_cast<int>(state.range(0));
    const TCacheInfo ci = mode <= 1 ? MakeCacheInfo(parent.get()) : TCacheInfo{nullptr, 0, 0, 0x00336699, false};
    const bool update = mode == 0 || mode == 2;
    for (auto _ : state) {
        CopyByMask(Rows32(dst.get()), {0, 0, w, h}, Rows32(src.get()), {0, 0, w, h}, ci, update, h);
        benchmark::ClobberMemory();
    }
}
void BM_CopyByMask1080p(benchmark::State& state) { CopyByMaskCase(state, kW, kH); }
BENCHMARK(BM_CopyByMask1080p)->ArgNames({"case", "width"})->ArgsProduct({{0, 1, 2, 3}, {0, 1, 2}});

// The same on pictures that stay in the level-2 cache: the arithmetic alone.
constexpr int kCachedW = 320, kCachedH = 200;
void BM_CopyByMaskCached(benchmark::State& state) { CopyByMaskCase(state, kCachedW, kCachedH); }
BENCHMARK(BM_CopyByMaskCached)->ArgNames({"case", "width"})->ArgsProduct({{0, 1, 2, 3}, {0, 1, 2}});

// The least any pass can take that reads the masked copy's four pictures of case 0 (the
// destination, the image and mask rows, the parent) and writes the destination: one
// exclusive or of the four words, no arithmetic. What case 0 takes beyond this row is
// arithmetic; what it takes up to it is the memory traffic itself.
void BM_FourPictureStream1080p(benchmark::State& state) {
    auto dst = Picture(kW, kH, 3, false), src = Picture(kW, 2 * kH, 4, true), parent = Picture(kW, kH, 5, false);
    const std::size_t n = static_cast<std::size_t>(kW) * kH;
    auto* d = reinterpret_cast<std::uint32_t*>(dst->ScanLine(kH - 1));
    const auto* s = reinterpret_cast<const std::uint32_t*>(src->ScanLine(kH - 1));
    const auto* k = reinterpret_cast<const std::uint32_t*>(src->ScanLine(2 * kH - 1));
    const auto* p = reinterpret_cast<const std::uint32_t*>(parent->ScanLine(kH - 1));
    for (auto _ : state) {
        for (std::size_t i = 0; i < n; ++i) d[i] ^= s[i] ^ k[i] ^ p[i];
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FourPictureStream1080p);

// The cross-fade of two pictures by one weight, and the fade engine's rectangle form.
void BM_SumBmpRect1080p(benchmark::State& state) {
    KernelLevelScope level(state, 0);
    auto dst = Picture(kW, kH, 6, false), src = Picture(kW, kH, 7, false);
    for (auto _ : state) {
        SumBmpRect(dst.get(), src.get(), 100, {0, 0, kW, kH}, {0, 0});
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_SumBmpRect1080p)->Apply(PixelArgs);

void BM_BlendBitmapsRect1080p(benchmark::State& state) {
    KernelLevelScope level(state, 0);
    auto dst = Picture(kW, kH, 8, false), src = Picture(kW, kH, 9, false);
    TacFastSum32 fs;
    fs.Attach(src.get(), dst.get());
    fs.Alpha = 77;
    fs.DstX2 = kW;
    fs.DstY2 = kH;
    for (auto _ : state) {
        fs.BlendBitmapsRect();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BlendBitmapsRect1080p)->Apply(PixelArgs);

void BM_BlendColorRect1080p(benchmark::State& state) {
    KernelLevelScope level(state, 0);
    auto bmp = Picture(kW, kH, 10, false);
    for (auto _ : state) {
        BlendColorRect(bmp.get(), {0, 0, kW - 1, kH - 1}, 37, 0x00204080);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BlendColorRect1080p)->Apply(PixelArgs);

// The keyed copy: 0 key pixels show the parent, 1 skipped over a ready background,
// 2 filled.
void BM_CopyTransRect1080p(benchmark::State& state) {
    KernelLevelScope level(state, 1);
    auto dst = Picture(kW, kH, 11, false), src = Picture(kW, kH, 12, true), parent = Picture(kW, kH, 13, false);
    const int mode = static_cast<int>(state.range(0));
    const TCacheInfo ci = mode <= 1 ? MakeCacheInfo(parent.get()) : TCacheInfo{nullptr, 0, 0, 0x00336699, false};
    for (auto _ : state) {
        CopyTransRect(dst.get(), src.get(), 0, 0, {0, 0, kW - 1, kH - 1}, clFuchsia, ci, mode == 0);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CopyTransRect1080p)->ArgNames({"case", "width"})->ArgsProduct({{0, 1, 2}, {0, 1, 2}});

#ifdef QUORVEL_BENCH_PIXMAN
// The peer's images over our pictures' memory (its a8r8g8b8 is our pixel word).
struct PixmanImage {
    explicit PixmanImage(TBitmap& bmp)
        : Image(pixman_image_create_bits(PIXMAN_a8r8g8b8, bmp.Width(), bmp.Height(),
                                         reinterpret_cast<std::uint32_t*>(bmp.ScanLine(bmp.Height() - 1)),
                                         static_cast<int>(bmp.RowBytes()))) {}
    ~PixmanImage() { pixman_image_unref(Image); }
    PixmanImage(const PixmanImage&) = delete;
    PixmanImage& operator=(const PixmanImage&) = delete;
    pixman_image_t* Image;
};

// The peer's component-alpha OVER of a w x h picture, the row beside CopyByMaskCase.
void PixmanOverComponentAlpha(benchmark::State& state, int w, int h) {
    auto dst = Picture(w, h, 3, false), src = Picture(w, h, 4, false), mask = Picture(w, h, 14, false);
    PixmanImage d(*dst), s(*src), m(*mask);
    pixman_image_set_component_alpha(m.Image, 1);
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_OVER, s.Image, m.Image, d.Image, 0, 0, 0, 0, 0, 0, w, h);
        benchmark::ClobberMemory();
    }
}

void BM_PixmanOverComponentAlpha1080p(benchmark::State& state) { PixmanOverComponentAlpha(state, kW, kH); }
BENCHMARK(BM_PixmanOverComponentAlpha1080p);

void BM_PixmanOverComponentAlphaCached(benchmark::State& state) { PixmanOverComponentAlpha(state, kCachedW, kCachedH); }
BENCHMARK(BM_PixmanOverComponentAlphaCached);

void BM_PixmanOverSolidMask1080p(benchmark::State& state) {
    auto dst = Picture(kW, kH, 6, false), src = Picture(kW, kH, 7, false);
    PixmanImage d(*dst), s(*src);
    const pixman_color_t half{0, 0, 0, 0x6400};
    pixman_image_t* mask = pixman_image_create_solid_fill(&half);
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_OVER, s.Image, mask, d.Image, 0, 0, 0, 0, 0, 0, kW, kH);
        benchmark::ClobberMemory();
    }
    pixman_image_unref(mask);
}
BENCHMARK(BM_PixmanOverSolidMask1080p);
#endif

}  // namespace
}  // namespace qv
