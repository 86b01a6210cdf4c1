// The pixel work of the skinned path list under the internal skin: one paint of its
// vertical scroll bar (17 x 200: tracks, arrows with glyphs, thumb) and one full repaint
// of 30 visible rows (each row taken from the list's cache, one of them with the
// SELECTION face, the client area then copied out in one piece), each next to memcpy of
// the same pixels in the same run. Text needs GDI and is timed under Windows only.
#include "BenchInternalSkin.h"
#include "framework/Bitmap.h"
#include "framework/Streams.h"
#include "framework/Strings.h"
#include "paint/PixelRows.h"
#include "paint/acBlit.h"
#include "paint/acScrollBarPaint.h"
#include "paint/sGraphUtils_Item.h"
#include "skin/sSkinManagerBase.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

namespace qv {
namespace {

constexpr int kBarWidth = 17, kBarHeight = 200;
constexpr int kRowWidth = 300, kRowHeight = 13, kRows = 30;

TsSkinManagerBase* Skin() {
    static std::unique_ptr<TsSkinManagerBase> manager = []() -> std::unique_ptr<TsSkinManagerBase> {
        const char* failReason = nullptr;
        auto m = bench::LoadInternalSkin(failReason);
        return m && m->ConstData.IndexScrollBar1V >= 0 ? std::move(m) : nullptr;
    }();
    return manager.get();
}

TacScrollSkin VerticalSkin(const TConstantSkinData& d) {
    TacScrollSkin s;
    s.Track1 = {L"SCROLLBAR1V", d.IndexScrollBar1V, d.MaskScrollBar1V, d.BGScrollBar1V, d.BGHotScrollBar1V, -1};
    s.Track2 = {L"SCROLLBAR2V", d.IndexScrollBar2V, d.MaskScrollBar2V, d.BGScrollBar2V, d.BGHotScrollBar2V, -1};
    s.BtnBefore = {L"SCROLLBTNTOP",    d.IndexScrollTop,      d.MaskScrollTop,
                   d.IndexBGScrollTop, d.IndexBGHotScrollTop, d.MaskArrowTop};
    s.BtnAfter = {L"SCROLLBTNBOTTOM",    d.IndexScrollBottom,      d.MaskScrollBottom,
                  d.IndexBGScrollBottom, d.IndexBGHotScrollBottom, d.MaskArrowBottom};
    s.Thumb = {L"SCROLLSLIDERV",     d.IndexSliderVert,       d.MaskSliderVert,
               d.ScrollSliderBGVert, d.ScrollSliderBGHotVert, d.MaskSliderGlyphVert};
    return s;
}

void BM_ScrollBarPaint17x200(benchmark::State& state) {
    TsSkinManagerBase* m = Skin();
    if (!m) {
        state.SkipWithError("the internal skin did not load");
        return;
    }
    TBitmap bar(kBarWidth, kBarHeight), cache(kBarWidth + 4, kBarHeight + 4);
    const TacScrollSkin skin = VerticalSkin(m->ConstData);
    const TacScrollInfo si{0, 199, 15, 90, 90};
    TacBarLook look;
    look.HotPortion = spThumb;
    for (auto _ : state) {
        PaintScrollBar(&bar, true, si, skin, m, MakeCacheInfo(&cache, 2, 2), 16, 10, look);
        benchmark::DoNotOptimize(bar.ScanLine(0));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kBarWidth * kBarHeight);
}
BENCHMARK(BM_ScrollBarPaint17x200);

void BM_ScrollBarMemcpy17x200(benchmark::State& state) { bench::MemcpyBitmap(state, kBarWidth, kBarHeight); }
BENCHMARK(BM_ScrollBarMemcpy17x200);

// 30 rows: each composed in the row bitmap from the list's cache (the selected one
// painted with SELECTION), then put into the client picture; the client picture is then
// copied out once, as the window copy.
void BM_ListRepaint30Rows(benchmark::State& state) {
    TsSkinManagerBase* m = Skin();
    const int selection = m ? m->GetSkinIndex(L"SELECTION") : -1;
    if (selection < 0) {
        state.SkipWithError("the internal skin did not load or has no SELECTION");
        return;
    }
    const int height = kRowHeight * kRows;
    TBitmap cache(kRowWidth + 4, height + 4), row(kRowWidth, kRowHeight), frame(kRowWidth, height),
        screen(kRowWidth, height);
    const PixelRows cacheRows = Rows32(&cache), rowRows = Rows32(&row), frameRows = Rows32(&frame),
                    screenRows = Rows32(&screen);
    for (auto _ : state) {
        for (int i = 0; i < kRows; ++i) {
            BlockCopy(rowRows, 0, 0, kRowWidth, kRowHeight, cacheRows, 2, 2 + i * kRowHeight);
            if (i == 7)
                PaintItem(selection, L"SELECTION", MakeCacheInfo(&cache, 2, 2 + i * kRowHeight), true, 1,
                          {0, 0, kRowWidth, kRowHeight}, {0, 0}, &row, m);
            BlockCopy(frameRows, 0, i * kRowHeight, kRowWidth, kRowHeight, rowRows, 0, 0);
        }
        BlockCopy(screenRows, 0, 0, kRowWidth, height, frameRows, 0, 0);
        benchmark::DoNotOptimize(screen.ScanLine(0));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kRowWidth * height);
}
BENCHMARK(BM_ListRepaint30Rows);

void BM_ListRepaintMemcpy300x390(benchmark::State& state) {
    const int height = kRowHeight * kRows;
    TBitmap from(kRowWidth, height), to(kRowWidth, height);
    const std::size_t bytes = static_cast<std::size_t>(from.RowBytes()) * static_cast<std::size_t>(height);
    for (auto _ : state) {
        std::memcpy(to.ScanLine(height - 1), from.ScanLine(height - 1), bytes);
        benchmark::DoNotOptimize(to.ScanLine(0));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kRowWidth * height);
}
BENCHMARK(BM_ListRepaintMemcpy300x390);

}  // namespace
}  // namespace qv
