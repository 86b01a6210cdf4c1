#include "paint/acScrollBarPaint.h"

#include "paint/sAlphaGraph.h"
#include "paint/sGraphUtils.h"
#include "paint/sGraphUtils_Item.h"

#include <algorithm>

namespace qv {

namespace {

// A rectangle from..to along the bar, across its whole thickness.
TRect Along(bool vertical, int from, int to, int thickness) noexcept {
    return vertical ? TRect{0, from, thickness, to} : TRect{from, 0, to, thickness};
}

void PaintPart(TBitmap* bar, const TacScrollPart& part, TacSkinSource* src, TCacheInfo& ci, int state,
               TRect r) noexcept {
    if (r.IsEmpty() || !src->IsValidSkinIndex(part.Index)) return;
    PaintItemFast(part.Index, part.Mask, part.BG, part.BGHot, part.Section, ci, true, state, r, {r.Left, r.Top}, bar,
                  src);
}

// The glyph sits in the acScrollBtnLength pixels of the button nearest the bar's end,
// clipped to the button when it is shorter.
void ButtonGlyph(TBitmap* bar, const TacScrollPart& part, TacSkinSource* src, const TCacheInfo& ci, int state,
                 TRect button, bool vertical, bool atStart) noexcept {
    if (!src->IsValidImgIndex(part.Glyph)) return;
    TRect g = button;
    if (vertical) {
        if (g.Height() > acScrollBtnLength) {
            if (atStart) g.Bottom = g.Top + acScrollBtnLength;
            else g.Top = g.Bottom - acScrollBtnLength;
        }
    } else if (g.Width() > acScrollBtnLength) {
        if (atStart) g.Right = g.Left + acScrollBtnLength;
        else g.Left = g.Right - acScrollBtnLength;
    }
    DrawCenterGlyph(bar, src->SkinImages()[static_cast<std::size_t>(part.Glyph)], g, state, ci);
}

int ButtonState(int portion, const TacBarLook& look) noexcept {
    if (!(portion == spArrowBefore ? look.BeforeEnabled : look.AfterEnabled)) return 0;
    if (look.PressedPortion == portion) return 2;
    if (look.HotPortion == portion && look.Enabled) return 1;
    return 0;
}

// Fades r of the bar (the whole bar, or one disabled arrow).
void FadeDisabled(TBitmap* bar, const TCacheInfo& ci, const TRect& r) noexcept {
    if (r.IsEmpty()) return;
    // 40 % of the bar stays, 60 % comes from what lies behind it.
    if (ci.Ready && ci.Bmp)
        BlendTransRectangle(bar, r.Left, r.Top, ci.Bmp,
                            {ci.X + r.Left, ci.Y + r.Top, ci.X + r.Right - 1, ci.Y + r.Bottom - 1}, 0.4, clNone);
    else if (ci.FillColor != clFuchsia) FadeBmp(bar, r, 40, ci.FillColor, 0, 0);
}

}  // namespace

int ScrollSkinArrowFrame(const TacScrollSkin& skin, bool vertical, TacSkinSource* src) noexcept {
    if (!src || !src->IsValidSkinIndex(skin.BtnBefore.Index) || !src->IsValidImgIndex(skin.BtnBefore.Mask)) return 0;
    const TsMaskData& md = src->SkinImages()[static_cast<std::size_t>(skin.BtnBefore.Mask)];
    return vertical ? HeightOfImage(md) : WidthOfImage(md);
}

void DrawCenterGlyph(TBitmap* bmp, const TsMaskData& glyph, TRect R, int state, const TCacheInfo& ci) noexcept {
    const int w = WidthOfImage(glyph), h = HeightOfImage(glyph);
    if (w <= 0 || h <= 0 || R.IsEmpty()) return;
    const TPoint p{R.Left + (R.Width() - w) / 2, R.Top + (R.Height() - h) / 2};
    DrawSkinGlyph(bmp, p, state, 0, glyph, ci);
}

void PaintScrollBar(TBitmap* bar, bool vertical, const TacScrollInfo& si, const TacScrollSkin& skin, TacSkinSource* src,
                    TCacheInfo ci, int btn, int minThumb, const TacBarLook& look) noexcept {
    if (!bar || bar->Empty() || bar->PixelFormat() != pf32bit || !src || !src->IsValidSkinIndex(skin.Track1.Index))
        return;
    const int length = vertical ? bar->Height() : bar->Width();
    const int thickness = vertical ? bar->Width() : bar->Height();
    if (length <= 1) return;
    const TacBarLayout l = ScrollBarLayout(si, length, btn, minThumb, look.TrackedThumbStart);
    PaintPart(bar, skin.Track1, src, ci, look.PressedPortion == spPageBefore ? 2 : 0,
              Along(vertical, 0, l.Split, thickness));
    PaintPart(bar, skin.Track2.Index >= 0 ? skin.Track2 : skin.Track1, src, ci,
              look.PressedPortion == spPageAfter ? 2 : 0, Along(vertical, l.Split, length, thickness));
    const TRect before = Along(vertical, 0, l.BtnBefore, thickness);
    const TRect after = Along(vertical, length - l.BtnAfter, length, thickness);
    const int beforeState = ButtonState(spArrowBefore, look), afterState = ButtonState(spArrowAfter, look);
    PaintPart(bar, skin.BtnBefore, src, ci, beforeState, before);
    ButtonGlyph(bar, skin.BtnBefore, src, ci, beforeState, before, vertical, true);
    PaintPart(bar, skin.BtnAfter, src, ci, afterState, after);
    ButtonGlyph(bar, skin.BtnAfter, src, ci, afterState, after, vertical, false);
    if (l.ThumbShown && look.Enabled) {
        const int thumbState = look.PressedPortion == spThumb ? 2 : look.HotPortion == spThumb ? 1 : 0;
        const TRect thumb = Along(vertical, l.Thumb.Start, l.Thumb.Start + l.Thumb.Size, thickness);
        PaintPart(bar, skin.Thumb, src, ci, thumbState, thumb);
        if (src->IsValidImgIndex(skin.Thumb.Glyph))
            DrawCenterGlyph(bar, src->SkinImages()[static_cast<std::size_t>(skin.Thumb.Glyph)], thumb, thumbState, ci);
    }
    if (!look.Enabled) {
        FadeDisabled(bar, ci, {0, 0, bar->Width(), bar->Height()});
        return;
    }
    if (!look.BeforeEnabled) FadeDisabled(bar, ci, before);
    if (!look.AfterEnabled) FadeDisabled(bar, ci, after);
}

}  // namespace qv
