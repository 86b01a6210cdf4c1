// One rebuild of the main window's frame image (337 x 521, the window's outer size) under
// the internal skin: the portable pixel work of the frame skinner's PaintAll, that is the
// FORM section over the whole window, the FORMTITLE section over border and caption
// (4 + 19 pixels, Wine's frame and caption) and the three large title buttons, next to
// memcpy of the same image in the same run. Icon and caption text need GDI and are left
// out.
#include "BenchInternalSkin.h"
#include "framework/Bitmap.h"
#include "framework/Streams.h"
#include "framework/Strings.h"
#include "paint/sAlphaGraph.h"
#include "paint/sGraphUtils_Item.h"
#include "skin/sSkinManagerBase.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

namespace qv {
namespace {

constexpr int kWidth = 337, kHeight = 521, kTitleHeight = 23;

struct FrameSkin {
    std::unique_ptr<TsSkinManagerBase> Manager;
    const char* FailReason = nullptr;
    int Form = -1, Title = -1;
    int Buttons[3] = {-1, -1, -1};  // close, maximize, minimize
};

const FrameSkin& InternalSkin() {
    static const FrameSkin loaded = [] {
        FrameSkin s;
        auto m = bench::LoadInternalSkin(s.FailReason);
        if (m) {
            s.Form = m->GetSkinIndex(L"FORM");
            s.Title = m->GetSkinIndex(L"FORMTITLE");
            const wchar_t* names[3] = {L"BICONCLOSE", L"BICONMAX", L"BICONMIN"};
            for (int i = 0; i < 3; ++i) s.Buttons[i] = m->GetMaskIndex(L"GLOBALINFO", names[i]);
            if (s.Form < 0 || s.Title < 0 || s.Buttons[0] < 0) {
                s.FailReason = "the internal skin did not load or lacks its frame sections";
                return s;
            }
            s.Manager = std::move(m);
        }
        return s;
    }();
    return loaded;
}

// The frame skinner's order: form section, title section, buttons right to left with
// BIRIGHT 5 and BISPACE 2 (26-pixel buttons, one pixel above the window's top).
void PaintFrame(const FrameSkin& skin, TBitmap& image, int state) {
    TsSkinManagerBase& m = *skin.Manager;
    PaintItem(skin.Form, L"FORM", EmptyCI, true, state, {0, 0, kWidth, kHeight}, {0, 0}, &image, &m);
    PaintItem(skin.Title, L"FORMTITLE", EmptyCI, true, state, {0, 0, kWidth, kTitleHeight}, {0, 0}, &image, &m);
    int right = kWidth - 5 - 4;
    for (const int button : skin.Buttons) {
        const TsMaskData& md = m.ma[static_cast<std::size_t>(button)];
        right -= WidthOfImage(md);
        DrawSkinGlyph(&image, {right, 0}, 0, 1, md, MakeCacheInfo(&image));
        right -= 2;
    }
}

// Range 0: 1 active, 0 inactive.
void BM_FramePaintAll337x521(benchmark::State& state) {
    const FrameSkin& skin = InternalSkin();
    if (!skin.Manager) {
        state.SkipWithError(skin.FailReason);
        return;
    }
    TBitmap image(kWidth, kHeight);
    image.SetPixel32(kWidth / 2, kTitleHeight / 2, 0x12345678u);
    PaintFrame(skin, image, static_cast<int>(state.range(0)));
    if (image.Pixel32(kWidth / 2, kTitleHeight / 2) == 0x12345678u) {
        state.SkipWithError("the FORMTITLE section painted nothing");
        return;
    }
    for (auto _ : state) {
        PaintFrame(skin, image, static_cast<int>(state.range(0)));
        benchmark::DoNotOptimize(image.ScanLine(0));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kWidth * kHeight);
}
BENCHMARK(BM_FramePaintAll337x521)->ArgName("active")->Arg(1)->Arg(0);

// The same image copied with memcpy.
void BM_FrameMemcpy337x521(benchmark::State& state) { bench::MemcpyBitmap(state, kWidth, kHeight); }
BENCHMARK(BM_FrameMemcpy337x521);

}  // namespace
}  // namespace qv
