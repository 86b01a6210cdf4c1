// One fade step of a main-window button (323 x 71): the old face is copied and blended
// with the new one by the step's weight, as the fade timer does, next to memcpy of the
// face in the same run.
#include "framework/Bitmap.h"
#include "paint/sGraphUtils.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>

namespace {

constexpr int kWidth = 323, kHeight = 71;

void Fill(qv::TBitmap& bmp, std::uint32_t seed) {
    for (int y = 0; y < bmp.Height(); ++y)
        for (int x = 0; x < bmp.Width(); ++x)
            bmp.SetPixel32(x, y, seed ^ static_cast<std::uint32_t>(x * 2654435761u + y));
}

void BM_FadeStep323x71(benchmark::State& state) {
    qv::TBitmap from(kWidth, kHeight), face(kWidth, kHeight), step;
    Fill(from, 0x11223344);
    Fill(face, 0x55667788);
    int weight = 243;
    for (auto _ : state) {
        step.Assign(from);
        qv::SumBitmaps(&step, &face, weight);
        benchmark::DoNotOptimize(step.ScanLine(0));
        weight = weight > 13 ? weight - 13 : 243;
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kWidth * kHeight);
}
BENCHMARK(BM_FadeStep323x71);

// The blend alone, without the copy of the old face.
void BM_FadeBlend323x71(benchmark::State& state) {
    qv::TBitmap step(kWidth, kHeight), face(kWidth, kHeight);
    Fill(step, 0x11223344);
    Fill(face, 0x55667788);
    for (auto _ : state) {
        qv::SumBitmaps(&step, &face, 128);
        benchmark::DoNotOptimize(step.ScanLine(0));
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kWidth * kHeight);
}
BENCHMARK(BM_FadeBlend323x71);

void BM_FadeMemcpy323x71(benchmark::State& state) {
    qv::TBitmap from(kWidth, kHeight), to(kWidth, kHeight);
    const std::size_t bytes = static_cast<std::size_t>(from.RowBytes()) * kHeight;
    for (auto _ : state) {
        std::memcpy(to.ScanLine(kHeight - 1), from.ScanLine(kHeight - 1), bytes);
        benchmark::DoNotOptimize(to.ScanLine(0));
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kWidth * kHeight);
}
BENCHMARK(BM_FadeMemcpy323x71);

}  // namespace
