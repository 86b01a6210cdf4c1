// Gradients, hue shift and the resampler against memcpy of the same amount of pixels in
// the same run: bytes per second of each are directly comparable.
#include "paint/sGradient.h"
#include "paint/sGraphUtils.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

namespace {

using namespace qv;

constexpr int kW = 1920, kH = 1080;

void FillNoise(TBitmap& bmp, unsigned seed) {
    std::mt19937 rng(seed);
    for (int y = 0; y < bmp.Height(); ++y)
        for (int x = 0; x < bmp.Width(); ++x) bmp.SetPixel32(x, y, rng() | 0xFF000000u);
}

void Memcpy(benchmark::State& state, int w, int h) {
    const std::size_t bytes = static_cast<std::size_t>(w) * h * 4;
    std::vector<std::uint8_t> a(bytes, 1), b(bytes, 2);
    for (auto _ : state) {
        std::memcpy(b.data(), a.data(), bytes);
        benchmark::DoNotOptimize(b.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

void BM_Memcpy_1920x1080(benchmark::State& state) { Memcpy(state, kW, kH); }
void BM_Memcpy_800x600(benchmark::State& state) { Memcpy(state, 800, 600); }

void PaintGradBench(benchmark::State& state, const wchar_t* text) {
    TBitmap bmp(kW, kH);
    TsGradArray grad;
    PrepareGradArray(text, grad);
    for (auto _ : state) {
        PaintGrad(&bmp, {0, 0, kW, kH}, grad);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kW * kH * 4);
}

void BM_PaintGrad_Vertical(benchmark::State& state) {
    PaintGradBench(state, L"3723519;1157871;35;0;0;1157871;106985;38;0;0;106985;1425908;24;0;0;1425908;1425908;0;0;0");
}
void BM_PaintGrad_Horizontal(benchmark::State& state) {
    PaintGradBench(state, L"16777215;13619151;97;1;0;13619151;13619151;0;1;0");
}

// Every pixel a different, saturated colour: the worst case (no grey or key pixels to skip).
void BM_ChangeBmpHUE(benchmark::State& state) {
    TBitmap bmp(kW, kH);
    FillNoise(bmp, 7);
    int delta = 40;
    for (auto _ : state) {
        ChangeBmpHUE(&bmp, delta);
        delta = -delta;
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kW * kH * 4);
}

// Bytes of the 800 x 600 result per second.
void BM_Stretch_Mitchell_400x300_to_800x600(benchmark::State& state) {
    TBitmap src(400, 300), dst;
    FillNoise(src, 11);
    for (auto _ : state) {
        Stretch(&src, &dst, 800, 600, ftMitchell);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 800 * 600 * 4);
}

}  // namespace

BENCHMARK(BM_Memcpy_1920x1080)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintGrad_Vertical)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintGrad_Horizontal)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ChangeBmpHUE)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Memcpy_800x600)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Stretch_Mitchell_400x300_to_800x600)->Unit(benchmark::kMicrosecond);
