// The glyph of a skinned push button, drawn into its cache at the layout's glyph
// rectangle: a 32-bit glyph with its own alpha, another bitmap by its transparent
// colour, or an image of the button's image list.
#include "controls/win32/sBitBtn.h"

#include "controls/win32/acImgListDraw.h"
#include "paint/sGlyphDraw.h"
#include "paint/sGlyphEffects.h"

#include <algorithm>

namespace qv {

namespace {

// A 32-bit glyph is drawn with its alpha only when some pixel is fully opaque: a picture
// that GDI drew (alpha 0 everywhere) or one that never reaches 255 is taken for a plain
// bitmap with a transparent colour. Our bitmaps do not record a device format (the
// screen's format is 32 bits wherever we run), so every 32-bit glyph gets this check,
// not only a disabled button's.
bool HasOpaquePixel(const TBitmap& glyph) noexcept {
    for (int y = 0; y < glyph.Height(); ++y) {
        const std::uint8_t* row = glyph.ScanLine(y);
        for (int x = 0; x < glyph.Width(); ++x)
            if (row[x * 4 + 3] == 255) return true;
    }
    return false;
}

}  // namespace

void TsBitBtn::DrawGlyph() {
    TBitmap* cache = FCommonData->FCacheBmp.get();
    if (!cache || cache->Empty()) return;
    const TRect r = ImgRect();
    if (r.IsEmpty()) return;
    const int s = CurrentState();
    const bool enabled = Enabled();
    // Grey: in the section's colour for a Grayed button at rest and for a disabled
    // button whose disabled glyph look includes grey.
    TColor grey = acNoTint;
    TsSkinManager* m = FCommonData->GetSkinManager();
    if (((s == 0 && FGrayed) || (!enabled && (FDisabledGlyphKind & dgGrayed))) && m &&
        m->IsValidSkinIndex(FCommonData->FSkinIndex))
        grey = m->gd[static_cast<std::size_t>(FCommonData->FSkinIndex)].Color;
    const int restBlend = s == 0 ? FBlend : 0;

    if (!Glyph().Empty()) {
        TBitmap& g = Glyph();
        if (g.PixelFormat() == pf32bit && HasOpaquePixel(g)) {
            const int n = std::max(1, NumGlyphs());
            const int index = std::min(s, n - 1);
            const int w = r.Width();
            CopyBmp32(r, {index * w, 0, index * w + w, g.Height()}, cache, &g, EmptyCI, false, grey, restBlend,
                      FReflected);
        } else {
            DrawGlyphEx(&g, cache, r, FReflected, FDown, FBlend, s, (FDisabledGlyphKind & dgBlended) != 0, enabled,
                        NumGlyphs(), grey);
        }
        return;
    }
    if (!UsableImages()) return;
    const int subImage = (FDown ? 1 : 0) + s;
    if (FImages->AlphaImages()) {
        const int blend = std::max(restBlend, !enabled && (FDisabledGlyphKind & dgBlended) ? 50 : 0);
        DrawAlphaImgList(FImages, cache, r, FImageIndex, blend, grey, subImage, NumGlyphs(), FReflected);
        return;
    }
    // A list without alpha: grey and blend are the plain picture filters. "Active" is a
    // state other than normal, as for the other glyph kinds.
    bool gray = false;
    double blend = 0;
    if (enabled) {
        const bool active = s != 0;
        gray = !active && FGrayed;
        if (!active && FBlend >= 1) blend = FBlend / 100.0;
    } else {
        gray = (FDisabledGlyphKind & dgGrayed) != 0;
        if (FDisabledGlyphKind & dgBlended) blend = 0.5;
    }
    DrawPlainImgList(FImages, cache, r, FImageIndex, subImage, NumGlyphs(), gray, blend, FReflected);
}

}  // namespace qv
