// Mask drawing, section painting, masked copies, weighted sums and the blur, each against
// memcpy of the same destination buffer.
#include "model/sSkinModel.h"
#include "paint/sAlphaGraph.h"
#include "paint/sGlyphDraw.h"
#include "paint/sGlyphEffects.h"
#include "paint/sGraphUtils_Item.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace qv {
namespace {

// A skin of one BUTTON-like section: a 48 × 32 mask of three 16 × 16 states over their
// mask rows (borders 7, 7, 8, 8, stretched sides and a one-pixel centre) and a gradient.
class BenchSkin : public TsSkinModel {
public:
    BenchSkin() {
        MasterBitmap.SetPixelFormat(pf32bit);
        MasterBitmap.SetSize(48, 32);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 48; ++x)
                MasterBitmap.SetPixel32(x, y,
                                        y < 16 ? 0xFF000000u | (x * 5 << 16) | (y * 9 << 8) | 90u
                                               : ((x + y) % 3 == 0 ? 0x00404040u : 0u));
        TsMaskData md;
        md.R = {0, 0, 48, 32};
        md.ImageCount = 3;
        md.MaskType = 1;
        md.WL = 7;
        md.WT = 7;
        md.WR = 8;
        md.WB = 8;
        md.DrawMode = 5;
        md.Owner = this;
        ma.push_back(std::move(md));
        TsGeneralData section;
        section.ClassName = L"BUTTON";
        section.States = 3;
        section.GradientPercent = 100;
        section.GradientData = L"4670016;3683378;100;0;0";
        PrepareGradArray(section.GradientData, section.GradientArray);
        section.HotGradientPercent = 100;
        section.HotGradientData = L"3723519;1157871;35;0;0;1157871;106985;65;0;0";
        PrepareGradArray(section.HotGradientData, section.HotGradientArray);
        section.BorderIndex = 0;
        gd.push_back(std::move(section));
    }
};

BenchSkin& Skin() {
    static BenchSkin skin;
    return skin;
}

void BM_Memcpy(benchmark::State& state) {
    TBitmap dst(static_cast<int>(state.range(0)), static_cast<int>(state.range(1))), src(dst.Width(), dst.Height());
    const std::size_t bytes = static_cast<std::size_t>(dst.RowBytes()) * dst.Height();
    for (auto _ : state) {
        std::memcpy(dst.ScanLine(dst.Height() - 1), src.ScanLine(src.Height() - 1), bytes);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Memcpy)->Args({323, 71})->Args({1920, 1080});

void BM_DrawSkinRect(benchmark::State& state) {
    TBitmap dst(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        DrawSkinRect(&dst, {0, 0, dst.Width(), dst.Height()}, true, EmptyCI, Skin().ma[0], 1, false, &Skin());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawSkinRect)->Args({323, 71})->Args({1920, 1080});

void BM_PaintItem(benchmark::State& state) {
    TBitmap dst(323, 71);
    for (auto _ : state) {
        PaintItem(0, L"BUTTON", EmptyCI, true, static_cast<int>(state.range(0)), {0, 0, 323, 71}, {0, 0}, &dst,
                  &Skin());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PaintItem)->Arg(0)->Arg(1);

// A face-sized picture stays in the cache; the screen-sized one measures memory traffic
// (the masked copy reads two pictures and the mask rows and writes one, memcpy one each).
void BM_CopyByMask(benchmark::State& state) {
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    TBitmap dst(w, h), src(w, 2 * h);
    for (int y = 0; y < 2 * h; ++y)
        for (int x = 0; x < w; ++x)
            src.SetPixel32(x, y, (x * 7 + y * 13) % 5 == 0 ? 0x00FF00FFu : 0xFF000000u | (x * y));
    for (auto _ : state) {
        CopyByMask(Rows32(&dst), {0, 0, w, h}, Rows32(&src), {0, 0, w, h}, EmptyCI, false, h);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CopyByMask)->Args({323, 71})->Args({1920, 1080});

void BM_SumBmpRect(benchmark::State& state) {
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    TBitmap dst(w, h), src(w, h);
    for (auto _ : state) {
        SumBmpRect(&dst, &src, 100, {0, 0, w, h}, {0, 0});
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_SumBmpRect)->Args({323, 71})->Args({1920, 1080});

// The region border of a face: its sides and centre tiled (0) or stretched (1) from the
// skin's mask, drawn row by row.
void BM_PaintRgnBorder(benchmark::State& state) {
    TBitmap dst(323, 71);
    TsMaskData md;
    md.R = {0, 0, 48, 32};
    md.ImageCount = 3;
    md.MaskType = 1;
    md.WL = 7;
    md.WT = 7;
    md.WR = 8;
    md.WB = 8;
    md.DrawMode = static_cast<std::int16_t>(state.range(0) ? 5 : 4);
    md.Owner = &Skin();
    for (auto _ : state) {
        PaintRgnBorder(&dst, nullptr, true, md, 1);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PaintRgnBorder)->ArgName("stretched")->Arg(0)->Arg(1);

// A face-sized 24-bit glyph with key pixels laid over the face at opacity 200.
void BM_DrawKeyedGlyph24(benchmark::State& state) {
    TBitmap dst(323, 71), glyph(323, 71, pf24bit);
    for (int y = 0; y < 71; ++y)
        for (int x = 0; x < 323; ++x) {
            std::uint8_t* p = glyph.ScanLine(y) + 3 * x;
            const bool key = (x * 7 + y * 3) % 5 == 0;
            p[0] = key ? 255 : static_cast<std::uint8_t>(x);
            p[1] = key ? 0 : static_cast<std::uint8_t>(y);
            p[2] = key ? 255 : 90;
        }
    for (auto _ : state) {
        DrawKeyedGlyph(&dst, {0, 0, 323, 71}, &glyph, {0, 0, 323, 71}, clFuchsia, 200, acNoTint, false);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawKeyedGlyph24);

void BM_Blur8(benchmark::State& state) {
    TBitmap mask(400, 100, pf8bit);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 400; ++x) mask.ScanLine(y)[x] = static_cast<std::uint8_t>((x * 7 + y * 3) & 0xFF);
    for (auto _ : state) {
        Blur8(&mask, 4);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Blur8);

// A face-sized glyph with key pixels and graded alpha copied onto a face: plain (0),
// tinted at blend 30 (1), and plain with its reflection under it (2).
void BM_CopyBmp32(benchmark::State& state) {
    TBitmap dst(323, 142), glyph(323, 71);
    for (int y = 0; y < 71; ++y)
        for (int x = 0; x < 323; ++x)
            glyph.SetPixel32(x, y,
                             (x * 7 + y * 3) % 5 == 0 ? 0x00FF00FFu
                                                      : static_cast<std::uint32_t>((x + y) & 0xFF) << 24 | (x * y));
    const int mode = static_cast<int>(state.range(0));
    for (auto _ : state) {
        CopyBmp32({0, 0, 323, 71}, {0, 0, 323, 71}, &dst, &glyph, EmptyCI, false, mode == 1 ? clWhite : acNoTint,
                  mode == 1 ? 30 : 0, mode == 2);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CopyBmp32)->ArgName("mode")->Arg(0)->Arg(1)->Arg(2);

// The skin's 16 x 16 first state with its mask stretched over a face: dropping pixels (0),
// resampled (1), and a one-pixel piece filled over the face (2).
void BM_StretchBltMask(benchmark::State& state) {
    TBitmap dst(323, 71);
    const int mode = static_cast<int>(state.range(0));
    const int at = mode == 2 ? 7 : 0, side = mode == 2 ? 1 : 16;
    for (auto _ : state) {
        StretchBltMask(0, 0, 323, 71, at, at, side, side, &dst, &Skin().MasterBitmap, 16, mode != 0);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_StretchBltMask)->ArgName("mode")->Arg(0)->Arg(1)->Arg(2);

}  // namespace
}  // namespace qv
