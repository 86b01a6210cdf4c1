// One face rebuild of a main-window push button (323 x 71) under the internal skin: the
// portable pixel work of the button's cache rebuild, that is the BUTTON section's
// background (colour, gradient, textures) and its border mask drawn over it, next to
// memcpy of the face in the same run. Caption and glyph need GDI and are left to the
// timing program that runs under Windows (bench/win32).
//
// The pack is the one the build makes from skins/AndroidOS, loaded through the skin
// manager's internal skins as the program loads it.
#include "BenchInternalSkin.h"
#include "framework/Bitmap.h"
#include "framework/Streams.h"
#include "framework/Strings.h"
#include "paint/sAlphaGraph.h"
#include "paint/sGraphUtils_Item.h"
#include "skin/sSkinManagerBase.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace qv {
namespace {

constexpr int kWidth = 323, kHeight = 71;
// The first button of the main window sits at (3, 3) of a form whose client area is
// 329 x 494.
constexpr TPoint kButtonPos{3, 3};
constexpr int kFormWidth = 329, kFormHeight = 494;

// The manager with the internal skin loaded, or nullptr with the reason in FailReason.
struct LoadedSkin {
    std::unique_ptr<TsSkinManagerBase> Manager;
    const char* FailReason = nullptr;
    int Section = -1;
    int Border = -1;
    int Texture = -1, HotTexture = -1;
};

const LoadedSkin& InternalSkin() {
    static const LoadedSkin loaded = [] {
        LoadedSkin l;
        auto m = bench::LoadInternalSkin(l.FailReason);
        if (m) {
            l.Section = m->GetSkinIndex(L"BUTTON");
            if (l.Section < 0) {
                l.FailReason = "the internal skin did not load or has no BUTTON section";
                return l;
            }
            // The indexes a button's skin binding resolves for its section.
            l.Border = m->gd[static_cast<std::size_t>(l.Section)].BorderIndex;
            l.Texture = m->GetTextureIndex(l.Section, L"BUTTON", L"PATTERN");
            l.HotTexture = m->GetTextureIndex(l.Section, L"BUTTON", L"HOTPATTERN");
            l.Manager = std::move(m);
        }
        return l;
    }();
    return loaded;
}

// Background, section and border of the face in a state, as the button's cache rebuild
// paints them: the state is capped at the section's last, a pressed face shifts its
// texture, and a border whose draw mode has bit 2 stays out of the normal state.
void PaintFace(const LoadedSkin& skin, TBitmap& face, const TCacheInfo& behind, int requestedState) {
    TsSkinManagerBase& m = *skin.Manager;
    const TsGeneralData& gd = m.gd[static_cast<std::size_t>(skin.Section)];
    const int s = std::min(requestedState, std::max(0, gd.States - 1));
    const TRect whole{0, 0, kWidth, kHeight};
    PaintItemBG(skin.Section, L"BUTTON", behind, s, whole, kButtonPos, &face, &m, skin.Texture, skin.HotTexture);
    if (!m.IsValidImgIndex(skin.Border)) return;
    const TsMaskData& border = m.ma[static_cast<std::size_t>(skin.Border)];
    if (s == 0 && (border.DrawMode & 2) != 0) return;
    TCacheInfo shifted = behind;
    shifted.X += kButtonPos.X;
    shifted.Y += kButtonPos.Y;
    DrawSkinRect(&face, whole, true, shifted, border, s, true, &m);
}

// Range 0: the state (0 normal, 1 hot). Range 1: what lies behind the button: 0 the
// form's plain colour (the main window's buttons sit on the form), 1 a parent cache
// bitmap (a button on a skinned panel).
void BM_ButtonFace323x71(benchmark::State& state) {
    const LoadedSkin& skin = InternalSkin();
    if (!skin.Manager) {
        state.SkipWithError(skin.FailReason);
        return;
    }
    TBitmap face(kWidth, kHeight), parent(kFormWidth, kFormHeight);
    for (int y = 0; y < kFormHeight; ++y)
        for (int x = 0; x < kFormWidth; ++x)
            parent.SetPixel32(x, y, 0xFF000000u | static_cast<std::uint32_t>(x * 131 + y * 7));
    const TCacheInfo behind = state.range(1) == 0 ? TCacheInfo{nullptr, 0, 0, skin.Manager->GetGlobalColor(), false}
                                                  : MakeCacheInfo(&parent);
    const int faceState = static_cast<int>(state.range(0));
    // A rebuild that paints nothing would time an empty call: the middle of the face
    // must change from the fill below.
    face.SetPixel32(kWidth / 2, kHeight / 2, 0x12345678u);
    PaintFace(skin, face, behind, faceState);
    if (face.Pixel32(kWidth / 2, kHeight / 2) == 0x12345678u) {
        state.SkipWithError("the BUTTON section painted nothing");
        return;
    }
    for (auto _ : state) {
        PaintFace(skin, face, behind, faceState);
        benchmark::DoNotOptimize(face.ScanLine(0));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kWidth * kHeight);
}
BENCHMARK(BM_ButtonFace323x71)->ArgNames({"state", "cache"})->Args({0, 0})->Args({1, 0})->Args({0, 1})->Args({1, 1});

// The same face as a window wrapper paints it for a button it wraps: one call that
// paints the section for the state, background, corner images and border mask with
// filling, from the section's own indexes. Same arguments as BM_ButtonFace323x71.
void BM_WrappedButtonFace323x71(benchmark::State& state) {
    const LoadedSkin& skin = InternalSkin();
    if (!skin.Manager) {
        state.SkipWithError(skin.FailReason);
        return;
    }
    TBitmap face(kWidth, kHeight), parent(kFormWidth, kFormHeight);
    for (int y = 0; y < kFormHeight; ++y)
        for (int x = 0; x < kFormWidth; ++x)
            parent.SetPixel32(x, y, 0xFF000000u | static_cast<std::uint32_t>(x * 131 + y * 7));
    const TCacheInfo behind = state.range(1) == 0 ? TCacheInfo{nullptr, 0, 0, skin.Manager->GetGlobalColor(), false}
                                                  : MakeCacheInfo(&parent);
    const int faceState = static_cast<int>(state.range(0));
    const TRect whole{0, 0, kWidth, kHeight};
    face.SetPixel32(kWidth / 2, kHeight / 2, 0x12345678u);
    PaintItem(skin.Section, L"BUTTON", behind, true, faceState, whole, kButtonPos, &face, skin.Manager.get());
    if (face.Pixel32(kWidth / 2, kHeight / 2) == 0x12345678u) {
        state.SkipWithError("the BUTTON section painted nothing");
        return;
    }
    for (auto _ : state) {
        PaintItem(skin.Section, L"BUTTON", behind, true, faceState, whole, kButtonPos, &face, skin.Manager.get());
        benchmark::DoNotOptimize(face.ScanLine(0));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kWidth * kHeight);
}
BENCHMARK(BM_WrappedButtonFace323x71)
    ->ArgNames({"state", "cache"})
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({0, 1})
    ->Args({1, 1});

// The same face copied with memcpy, the floor any rebuild is compared against.
void BM_ButtonFaceMemcpy323x71(benchmark::State& state) { bench::MemcpyBitmap(state, kWidth, kHeight); }
BENCHMARK(BM_ButtonFaceMemcpy323x71);

}  // namespace
}  // namespace qv
