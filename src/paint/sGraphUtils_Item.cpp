// Painting a skin section: the background layers (parent, colour, gradient, texture),
// corner images, border mask, hue and saturation; texture placement by fill mode.
#include "paint/acBlit.h"
#include "paint/acTexturePlacement.h"
#include "paint/sAlphaGraph.h"
#include "paint/sGradient.h"
#include "paint/sGraphUtils.h"
#include "paint/sGraphUtils_Item.h"

#include "framework/Imaging.h"

#include <algorithm>
#include <optional>

namespace qv {

namespace {

// The layer values of one state of a section.
struct Layers {
    TColor Color = 0;
    int Transparency = 0;
    int ImagePercent = 0;
    int GradientPercent = 0;
    const String* GradientData = nullptr;
    const TsGradArray* GradientArray = nullptr;
    int TextureIndex = -1;  // an image of the skin (mask texture)
    int PatternIndex = -1;  // a pattern picture
};

TRect StateImageRect(const TsMaskData& md) noexcept {
    return {md.R.Left, md.R.Top, md.R.Left + WidthOfImage(md), md.R.Top + HeightOfImage(md)};
}

bool HasGradient(const Layers& l) noexcept {
    return l.GradientData && !l.GradientData->empty() && l.GradientArray && !l.GradientArray->empty() &&
           *l.GradientData != L" ";
}

void PaintGradientOrColor(PixelRows dst, TRect r, const Layers& l) noexcept {
    if (HasGradient(l)) PaintGrad(dst, r, *l.GradientArray);
    else FillPixels(dst, r, ColorToPixel(l.Color));
}

// The pattern picture as a 32-bit bitmap with A 255, decoded on its first use and kept
// with the skin's pattern; nullptr when it cannot be decoded.
TBitmap* PatternPicture(const TsPatternData& pattern) noexcept {
    if (pattern.DecodeTried) return pattern.Decoded.get();
    pattern.DecodeTried = true;
    if (!pattern.Img || pattern.Img->Data.empty()) return nullptr;
    try {
        auto bmp = std::make_unique<TBitmap>();
        LoadImageFromMemory(pattern.Img->Data.data(), pattern.Img->Data.size(), *bmp);
        bmp->SetPixelFormat(pf32bit);
        FillAlphaRect(bmp.get(), {0, 0, bmp->Width(), bmp->Height()}, 255);
        pattern.Decoded = std::move(bmp);
    } catch (...) {
        pattern.Decoded.reset();
    }
    return pattern.Decoded.get();
}

// The colour, gradient and texture of one state painted into r of dst. r's top-left lies
// at pP in the parent's coordinates (ci's offset comes on top), as for the parent copy.
void PaintLayers(PixelRows dst, TBitmap* dstBmp, TRect r, const Layers& l, TacSkinSource& src, const TCacheInfo& ci,
                 TPoint pP) noexcept {
    const auto& ma = src.SkinImages();
    const TsMaskData* tex = src.IsValidImgIndex(l.TextureIndex) ? &ma[l.TextureIndex] : nullptr;
    const int ip = l.ImagePercent, gp = l.GradientPercent;

    if (ip + gp == 100 && gp >= 1 && gp <= 99 && tex && tex->DrawMode == 0 && l.GradientArray &&
        !l.GradientArray->empty() && (*l.GradientArray)[0].Mode1 < 2) {
        TBitmap* texBmp = MaskSourceBitmap(*tex);
        if (texBmp) {
            PaintGradTxt(dst, r, *l.GradientArray, Rows32(texBmp), StateImageRect(*tex), ip * 255 / 100);
            return;
        }
    }

    bool texturePainted = false;
    if (ip > 0) {
        TRect rest = r;
        if (l.PatternIndex >= 0 && l.PatternIndex < static_cast<int>(src.SkinPatterns().size())) {
            if (TBitmap* pic = PatternPicture(src.SkinPatterns()[l.PatternIndex])) {
                TileBitmap(dst, rest, Rows32(pic), {0, 0, pic->Width(), pic->Height()}, fmTiled);
                texturePainted = true;
            }
        } else if (tex) {
            if (tex->MaskType != 0) {
                // A masked texture shows the parent where it leaves gaps: the same parent
                // pixels the background copy puts under r.
                TCacheInfo local = ci;
                local.X += pP.X - r.Left;
                local.Y += pP.Y - r.Top;
                if (!TileMasked(dstBmp, rest, local, *tex, tex->DrawMode)) rest = r;
            } else if (TBitmap* texBmp = MaskSourceBitmap(*tex)) {
                TileBitmap(dst, rest, Rows32(texBmp), StateImageRect(*tex), tex->DrawMode);
            }
            texturePainted = true;
        }
        if (texturePainted && rest.Right != -1) FillPixels(dst, rest, ColorToPixel(l.Color));
    }

    if (gp > 0) {
        if (texturePainted) {
            auto tmp = TryCreateBmp32(r.Width(), r.Height());
            if (tmp) {
                const PixelRows t = Rows32(tmp.get());
                PaintGradientOrColor(t, t.Bounds(), l);
                int a = ip * 255 / 100;
                if (a > 254) a = 255;
                if (a < 1) a = 0;
                SumBmpRect(dst, t, a, t.Bounds(), {r.Left, r.Top});
            }
        } else {
            PaintGradientOrColor(dst, r, l);
        }
    }

    if (ip + gp == 0) FillPixels(dst, r, ColorToPixel(l.Color));
    else if (ip + gp < 100) BlendColorRect(dst, {r.Left, r.Top, r.Right - 1, r.Bottom - 1}, ip + gp, l.Color);
}

// Whether the index names a mask texture usable for the layers.
bool PlainTexture(TacSkinSource& src, int index) noexcept {
    return src.IsValidImgIndex(index) && src.SkinImages()[index].MaskType == 0;
}

void ComposeBG(PixelRows dst, TBitmap* itemBmp, TRect R, TPoint pP, const TCacheInfo& ci, const Layers& l,
               TacSkinSource& src) noexcept {
    const int T = l.Transparency;
    const bool noBackground = !ci.Ready && ci.FillColor == clFuchsia;
    const PixelRows parent = ci.Ready ? Rows32(ci.Bmp) : PixelRows{};
    auto putBackground = [&] {
        if (!ci.Ready) FillPixels(dst, R, ColorToPixel(ci.FillColor));
        else if (itemBmp != ci.Bmp)
            BlockCopy(dst, R.Left, R.Top, R.Width(), R.Height(), parent, ci.X + pP.X, ci.Y + pP.Y);
    };
    if (noBackground || T <= 0) {
        PaintLayers(dst, itemBmp, R, l, src, ci, pP);
    } else if (T >= 100) {
        putBackground();
    } else if (ci.Ready || HasGradient(l) || l.TextureIndex >= 0 || l.PatternIndex >= 0) {
        auto tmp = TryCreateBmp32(R.Width(), R.Height());
        if (!tmp) return;
        const PixelRows t = Rows32(tmp.get());
        PaintLayers(t, tmp.get(), t.Bounds(), l, src, ci, pP);
        putBackground();
        SumBmpRect(dst, t, std::clamp(T * 255 / 100, 0, 255), t.Bounds(), {R.Left, R.Top});
    } else {
        FillPixels(dst, R, ColorToPixel(MixColors(ColorToRGB(ci.FillColor), ColorToRGB(l.Color), T / 100.0)));
    }
}

// The texture of the layers: in the fast form the index the caller gives; otherwise the
// caller's plain texture, else the section's own (normal state) or its HOTPATTERN image,
// else its pattern picture.
void ChooseTexture(TacSkinSource& src, const TsGeneralData& gd, int skinIndex, const String& skinSection, bool hot,
                   int textureIndex, int hotTextureIndex, bool fast, Layers& l) noexcept {
    if (fast) {
        l.TextureIndex = hot ? hotTextureIndex : textureIndex;
    } else if (!hot) {
        int idx = textureIndex >= 0 ? (PlainTexture(src, textureIndex) ? textureIndex : -1) : gd.TextureNormal;
        if (textureIndex < 0 && idx < 0) idx = src.GetTextureIndex(skinIndex, skinSection, L"PATTERN");
        if (src.IsValidImgIndex(idx)) l.TextureIndex = idx;
        else l.PatternIndex = src.GetPatternIndex(skinIndex, skinSection, L"PATTERN");
    } else {
        int idx = hotTextureIndex >= 0 ? (PlainTexture(src, hotTextureIndex) ? hotTextureIndex : -1)
                                       : src.GetTextureIndex(skinIndex, skinSection, L"HOTPATTERN");
        if (src.IsValidImgIndex(idx)) l.TextureIndex = idx;
        else l.PatternIndex = src.GetPatternIndex(skinIndex, skinSection, L"HOTPATTERN");
    }
    if (!src.IsValidImgIndex(l.TextureIndex)) l.TextureIndex = -1;
}

// The layers of one state of the section; a custom colour (outside the fast form)
// replaces them all.
Layers SectionLayers(TacSkinSource& src, int skinIndex, const String& skinSection, int state, int textureIndex,
                     int hotTextureIndex, TColor customColor, bool fast) noexcept {
    Layers l;
    if (!fast && customColor != clFuchsia) {
        l.Color = customColor;
        return l;
    }
    const TsGeneralData& gd = src.SkinSections()[skinIndex];
    const bool hot = state > 0;
    l.Color = ColorToRGB(hot ? gd.HotColor : gd.Color);
    l.Transparency = hot ? gd.HotTransparency : gd.Transparency;
    if (l.Transparency != 100) {
        l.ImagePercent = hot ? gd.HotImagePercent : gd.ImagePercent;
        l.GradientPercent = hot ? gd.HotGradientPercent : gd.GradientPercent;
    }
    if (l.ImagePercent > 0) ChooseTexture(src, gd, skinIndex, skinSection, hot, textureIndex, hotTextureIndex, fast, l);
    if (l.GradientPercent != 0) {
        l.GradientData = hot ? &gd.HotGradientData : &gd.GradientData;
        l.GradientArray = hot ? &gd.HotGradientArray : &gd.GradientArray;
    }
    return l;
}

// A masked texture drawn dis-tiled goes over the normal state's background once more,
// its gaps showing the parent.
void PaintDisTiledTexture(TacSkinSource& src, int texIndex, const TCacheInfo& ci, TRect R, TPoint pP,
                          TBitmap* itemBmp) noexcept {
    if (!src.IsValidImgIndex(texIndex)) return;
    const TsMaskData& md = src.SkinImages()[texIndex];
    if (md.MaskType <= 0 || md.DrawMode != fmDisTiled) return;
    TCacheInfo shifted = ci;
    shifted.X += pP.X;
    shifted.Y += pP.Y;
    TRect area = R;
    TileMasked(itemBmp, area, shifted, md, fmDisTiled);
}

void PaintBG(int SkinIndex, const String& SkinSection, const TCacheInfo& ci, int State, TRect R, TPoint pP,
             TBitmap* ItemBmp, TacSkinSource* SkinManager, int TextureIndex, int HotTextureIndex, TColor CustomColor,
             bool fast) noexcept {
    TacSkinSource* src = SkinManager ? SkinManager : DefaultSkinSource();
    if (!src || !src->IsValidSkinIndex(SkinIndex)) return;
    const PixelRows dst = Rows32(ItemBmp);
    if (dst.Empty()) return;
    R = IntersectRect(R, dst.Bounds());
    if (R.IsEmpty()) return;
    const int state = SectionState(src->SkinSections()[SkinIndex], State);
    Layers l = SectionLayers(*src, SkinIndex, SkinSection, state, TextureIndex, HotTextureIndex, CustomColor, fast);
    if (fast && !ci.Ready) {
        // Without a ready background the fast form paints its layers opaque.
        l.Transparency = 0;
    }
    ComposeBG(dst, ItemBmp, R, pP, ci, l, *src);
    if (!fast && state == 0)
        PaintDisTiledTexture(*src, TextureIndex == -1 ? HotTextureIndex : TextureIndex, ci, R, pP, ItemBmp);
}

void PaintCornerImages(TacSkinSource& src, const TsGeneralData& gd, TBitmap* ItemBmp, TRect R, int state) noexcept {
    const TCacheInfo own = MakeCacheInfo(ItemBmp, 0, 0);
    const int images[4] = {gd.ImgTL, gd.ImgTR, gd.ImgBL, gd.ImgBR};
    for (int i = 0; i < 4; ++i) {
        if (!src.IsValidImgIndex(images[i])) continue;
        const TsMaskData& md = src.SkinImages()[images[i]];
        const int w = WidthOfImage(md), h = HeightOfImage(md);
        const TPoint p{(i == 0 || i == 2) ? R.Left : R.Right - w, i < 2 ? R.Top : R.Bottom - h};
        DrawSkinGlyph(ItemBmp, p, state, 1, md, own);
    }
}

bool InsideBitmap(TRect R, const TBitmap* bmp) noexcept {
    return !R.IsEmpty() && R.Left >= 0 && R.Top >= 0 && R.Right <= bmp->Width() && R.Bottom <= bmp->Height();
}

// The section an item paints and its state.
struct ItemSection {
    TacSkinSource* Src;
    const TsGeneralData* Gd;
    int State;
};

// Found when the source knows the skin index and R lies wholly inside the bitmap.
std::optional<ItemSection> SectionToPaint(TacSkinSource* src, int skinIndex, int state, TRect R,
                                          const TBitmap* itemBmp) noexcept {
    if (!itemBmp || !src || !src->IsValidSkinIndex(skinIndex) || !InsideBitmap(R, itemBmp)) return std::nullopt;
    const TsGeneralData& gd = src->SkinSections()[skinIndex];
    return ItemSection{src, &gd, SectionState(gd, state)};
}

// The same for a control's binding, which names the source and the skin index.
std::optional<ItemSection> SectionToPaint(const TacCtrlPaintData* skinData, int state, TRect R,
                                          const TBitmap* itemBmp) noexcept {
    if (!skinData || !itemBmp) return std::nullopt;
    return SectionToPaint(skinData->SkinManager(), skinData->SkinIndex(), state, R, itemBmp);
}

}  // namespace

void FillFromCI(PixelRows dst, TRect r, const TCacheInfo& CI) noexcept {
    if (CI.Ready) {
        const PixelRows parent = Rows32(CI.Bmp);
        if (!parent.Empty()) BlockCopy(dst, r.Left, r.Top, r.Width(), r.Height(), parent, r.Left + CI.X, r.Top + CI.Y);
    } else {
        FillPixels(dst, r, ColorToPixel(CI.FillColor));
    }
}

void PaintItemBG(int SkinIndex, const String& SkinSection, const TCacheInfo& ci, int State, TRect R, TPoint pP,
                 TBitmap* ItemBmp, TacSkinSource* SkinManager, int TextureIndex, int HotTextureIndex,
                 TColor CustomColor) noexcept {
    PaintBG(SkinIndex, SkinSection, ci, State, R, pP, ItemBmp, SkinManager, TextureIndex, HotTextureIndex, CustomColor,
            false);
}

void PaintItemBG(TacCtrlPaintData* SkinData, const TCacheInfo& ci, int State, TRect R, TPoint pP, TBitmap* ItemBmp,
                 int /*OffsetX*/, int /*OffsetY*/) noexcept {
    if (!SkinData) return;
    PaintBG(SkinData->SkinIndex(), SkinData->SkinSection(), ci, State, R, pP, ItemBmp, SkinData->SkinManager(),
            SkinData->Texture(), SkinData->HotTexture(), SkinData->CustomColor(), false);
}

void PaintItemBGFast(int SkinIndex, int BGIndex, int BGHotIndex, const String& SkinSection, const TCacheInfo& ci,
                     int State, TRect R, TPoint pP, TBitmap* ItemBmp, TacSkinSource* SkinManager) noexcept {
    PaintBG(SkinIndex, SkinSection, ci, State, R, pP, ItemBmp, SkinManager, BGIndex, BGHotIndex, clFuchsia, true);
}

void PaintItemFast(int SkinIndex, int MaskIndex, int BGIndex, int BGHotIndex, const String& SkinSection, TCacheInfo& ci,
                   bool Filling, int State, TRect R, TPoint pP, TBitmap* ItemBmp, TacSkinSource* SkinManager) noexcept {
    const auto section = SectionToPaint(SkinManager ? SkinManager : DefaultSkinSource(), SkinIndex, State, R, ItemBmp);
    if (!section) return;
    TacSkinSource* src = section->Src;
    const int state = section->State;
    PaintItemBGFast(SkinIndex, BGIndex, BGHotIndex, SkinSection, ci, state, R, pP, ItemBmp, src);
    if (src->IsValidImgIndex(MaskIndex)) {
        // The cache offset is moved for the border and given back afterwards.
        ci.X += pP.X;
        ci.Y += pP.Y;
        DrawSkinRect(ItemBmp, R, Filling, ci, src->SkinImages()[MaskIndex], state, true, src);
        ci.X -= pP.X;
        ci.Y -= pP.Y;
    }
}

void PaintItem(int SkinIndex, const String& SkinSection, TCacheInfo ci, bool Filling, int State, TRect R, TPoint pP,
               TBitmap* ItemBmp, TacSkinSource* SkinManager, int BGIndex, int BGHotIndex) noexcept {
    const auto section = SectionToPaint(SkinManager ? SkinManager : DefaultSkinSource(), SkinIndex, State, R, ItemBmp);
    if (!section) return;
    TacSkinSource* src = section->Src;
    const TsGeneralData& gd = *section->Gd;
    const int state = section->State;
    PaintItemBG(SkinIndex, SkinSection, ci, state, R, pP, ItemBmp, src, BGIndex, BGHotIndex, clFuchsia);
    PaintCornerImages(*src, gd, ItemBmp, R, state);
    ci.X += pP.X;
    ci.Y += pP.Y;
    if (src->IsValidImgIndex(gd.BorderIndex))
        DrawSkinRect(ItemBmp, R, Filling, ci, src->SkinImages()[gd.BorderIndex], state, true, src);
}

void PaintItem(TacCtrlPaintData* SkinData, TCacheInfo ci, bool Filling, int State, TRect R, TPoint pP, TBitmap* ItemBmp,
               bool UpdateCorners, int /*OffsetX*/, int /*OffsetY*/) noexcept {
    const auto section = SectionToPaint(SkinData, State, R, ItemBmp);
    if (!section) return;
    TacSkinSource* src = section->Src;
    const TsGeneralData& gd = *section->Gd;
    const int state = section->State;
    PaintItemBG(SkinData, ci, state, R, pP, ItemBmp);
    ci.X += pP.X;
    ci.Y += pP.Y;
    PaintCornerImages(*src, gd, ItemBmp, R, state);
    const int border = SkinData->BorderIndex();
    bool shift = true;
    if (src->IsValidImgIndex(border) && !(state == 0 && (src->SkinImages()[border].DrawMode & dmHiddenWhenNormal))) {
        DrawSkinRect(ItemBmp, R, Filling, ci, src->SkinImages()[border], state, UpdateCorners, src);
    } else {
        // A control without a border that shows its parent through itself keeps the
        // parent's colours unshifted.
        shift = gd.Props[state > 0 ? 1 : 0].Transparency == 0;
    }
    if (shift) {
        if (SkinData->HUEOffset() != 0) ChangeBmpHUE(ItemBmp, SkinData->HUEOffset());
        if (SkinData->Saturation() != 0) ChangeBmpSaturation(ItemBmp, SkinData->Saturation());
    }
}

void PaintSkinControl(TacCtrlPaintData* SkinData, bool Filling, int State, TRect R, TPoint pP, TBitmap* ItemBmp,
                      bool UpdateCorners, int /*OffsetX*/, int /*OffsetY*/) noexcept {
    const auto section = SectionToPaint(SkinData, State, R, ItemBmp);
    if (!section) return;
    TacSkinSource* src = section->Src;
    const TsGeneralData& gd = *section->Gd;
    const int state = section->State;
    TacBGInfo info;
    SkinData->GetParentBGInfo(info, false);
    TCacheInfo ci = BGInfoToCI(info);
    PaintItemBG(SkinData, ci, state, R, pP, ItemBmp);
    ci.X += pP.X;
    ci.Y += pP.Y;
    const int border = SkinData->BorderIndex();
    if (src->IsValidImgIndex(border) && (state > 0 || !(src->SkinImages()[border].DrawMode & dmHiddenWhenNormal)))
        DrawSkinRect(ItemBmp, R, Filling, ci, src->SkinImages()[border], state, UpdateCorners, src);
    PaintCornerImages(*src, gd, ItemBmp, R, state);
}

// ---- textures ----

void TileBitmap(PixelRows dst, TRect& aRect, PixelRows src, TRect srcRect, int FillMode) noexcept {
    const TRect r = aRect;
    srcRect = IntersectRect(srcRect, src.Bounds());
    const int tw = srcRect.Width(), th = srcRect.Height();
    if (dst.Empty() || r.IsEmpty() || tw <= 0 || th <= 0) return;
    auto tile = [&](TRect area) {
        for (int x = area.Left; x < area.Right; x += tw)
            for (int y = area.Top; y < area.Bottom; y += th)
                BlockCopy(dst, x, y, std::min(tw, area.Right - x), std::min(th, area.Bottom - y), src, srcRect.Left,
                          srcRect.Top);
    };
    auto stretch = [&](TRect area) { StretchCopy(dst, area, src, srcRect); };
    aRect = PlaceTexture(r, tw, th, FillMode, tile, stretch);
}

void TileBitmap(TBitmap* Dst, TRect& aRect, TBitmap* Src, TRect SrcRect, int FillMode) noexcept {
    TileBitmap(Rows32(Dst), aRect, Rows32(Src), SrcRect, FillMode);
}

bool TileMasked(TBitmap* Bmp, TRect& aRect, const TCacheInfo& CI, const TsMaskData& MaskData, int FillMode) noexcept {
    const PixelRows dst = Rows32(Bmp);
    const int tw = WidthOfImage(MaskData), th = MaskData.R.Height() / 2;
    const TRect r = IntersectRect(aRect, dst.Bounds());
    if (FillMode != fmTiled && FillMode != fmDisTiled) return false;
    if (dst.Empty() || r.IsEmpty() || tw <= 0 || th <= 0) return true;
    const int sx = MaskData.R.Left, sy = MaskData.R.Top;
    if (FillMode == fmTiled) {
        for (int x = r.Left; x < r.Right; x += tw)
            for (int y = r.Top; y < r.Bottom; y += th) {
                const int w = std::min(tw, r.Right - x), h = std::min(th, r.Bottom - y);
                CopyMasterRect({x, y, x + w, y + h}, {sx, sy, sx + w, sy + h}, Bmp, CI, MaskData);
            }
    } else {
        const int right = r.Left + r.Width() / tw * tw, bottom = r.Top + r.Height() / th * th;
        for (int x = r.Left; x < right; x += tw)
            for (int y = r.Top; y < bottom; y += th)
                CopyMasterRect({x, y, x + tw, y + th}, {sx, sy, sx + tw, sy + th}, Bmp, CI, MaskData);
        FillFromCI(dst, {r.Left, bottom, r.Right, r.Bottom}, CI);
        FillFromCI(dst, {right, r.Top, r.Right, bottom}, CI);
    }
    aRect = {0, 0, -1, -1};
    return true;
}

}  // namespace qv
