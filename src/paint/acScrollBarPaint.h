// Painting a skinned scroll bar into a bar-sized 32-bit bitmap: the two track parts,
// the arrow buttons with their centred glyphs and the thumb, each from its skin
// section, and the faded look of a disabled bar. Portable: the window side copies the
// bitmap to the screen.
#pragma once
#include "framework/Bitmap.h"
#include "paint/acScrollMath.h"
#include "model/acSkinSource.h"
#include "paint/sCacheInfo.h"

namespace qv {

// One skin part of a bar: its section, border mask, background images and glyph.
struct TacScrollPart {
    const wchar_t* Section = L"";
    int Index = -1, Mask = -1, BG = -1, BGHot = -1, Glyph = -1;
};

// The skin parts of one bar direction (indexes -1 when the skin lacks them).
struct TacScrollSkin {
    TacScrollPart Track1, Track2, BtnBefore, BtnAfter, Thumb;
};

// How a bar shows at the moment.
struct TacBarLook {
    int PressedPortion = spNone;  // shown pressed
    int HotPortion = spNone;      // under the resting pointer
    bool Enabled = true;          // false: the faded, disabled look
    bool BeforeEnabled = true;    // false: the first arrow alone is disabled (faded, never hot)
    bool AfterEnabled = true;     // the same for the last arrow
    int TrackedThumbStart = -1;   // ≥ 0 while the thumb is dragged (bar coordinates)
};

// The arrow length the skin asks for: the frame of the first arrow button's border mask
// along the bar (0 when the skin has none).
int ScrollSkinArrowFrame(const TacScrollSkin& skin, bool vertical, TacSkinSource* src) noexcept;

// One frame of a glyph mask centred in R (halves truncated toward zero), in a state.
void DrawCenterGlyph(TBitmap* bmp, const TsMaskData& glyph, TRect R, int state, const TCacheInfo& ci) noexcept;

// Paints the whole bar over bar (length along x for horizontal bars, along y for
// vertical ones). ci: what lies behind the bar (for transparent parts and the disabled
// fade). Nothing without a first track section.
void PaintScrollBar(TBitmap* bar, bool vertical, const TacScrollInfo& si, const TacScrollSkin& skin, TacSkinSource* src,
                    TCacheInfo ci, int btn, int minThumb, const TacBarLook& look) noexcept;

}  // namespace qv
