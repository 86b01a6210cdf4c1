// Corners and borders of a control's cache bitmap.
#include "paint/sBorders.h"

#include "paint/acBlit.h"
#include "paint/sAlphaGraph.h"

#include <algorithm>

namespace qv {

namespace {

// The control's border mask, or nullptr.
const TsMaskData* BorderMask(TacCtrlPaintData* SkinData) noexcept {
    if (!SkinData) return nullptr;
    TacSkinSource* src = SkinData->SkinManager();
    const int border = SkinData->BorderIndex();
    if (!src || !src->IsValidImgIndex(border)) return nullptr;
    return &src->SkinImages()[static_cast<std::size_t>(border)];
}

// Every pixel of the w × h block at (dx, dy) of dst whose image pixel at (sx, sy) onwards
// is the key takes the background: the parent's pixel at the offset (btCache) or the
// colour. Pixels outside dst, the image or the parent's bitmap are skipped.
void KeyPixelsToBackground(PixelRows dst, int dx, int dy, int w, int h, PixelRows img, int sx, int sy,
                           const TacBGInfo& BGInfo) noexcept {
    if (dst.Empty() || img.Empty() || w <= 0 || h <= 0) return;
    const bool fromParent = BGInfo.BgType == btCache;
    const PixelRows parent = fromParent ? Rows32(BGInfo.Bmp) : PixelRows{};
    if (fromParent && parent.Empty()) return;
    const std::uint32_t fill = ColorToPixel(BGInfo.Color);
    for (int j = 0; j < h; ++j) {
        const int y = dy + j, iy = sy + j, py = y + BGInfo.Offset.Y;
        if (y < 0 || y >= dst.Height || iy < 0 || iy >= img.Height) continue;
        if (fromParent && (py < 0 || py >= parent.Height)) continue;
        auto* d = reinterpret_cast<acPixel32*>(dst.Row(y));
        const auto* s = reinterpret_cast<const acPixel32*>(img.Row(iy));
        const auto* p = fromParent ? reinterpret_cast<const acPixel32*>(parent.Row(py)) : nullptr;
        for (int i = 0; i < w; ++i) {
            const int x = dx + i, ix = sx + i;
            if (x < 0 || x >= dst.Width || ix < 0 || ix >= img.Width || s[ix] != KeyPixel) continue;
            if (!fromParent) {
                d[x] = fill;
                continue;
            }
            const int px = x + BGInfo.Offset.X;
            if (px >= 0 && px < parent.Width) d[x] = p[px] | 0xFF000000u;
        }
    }
}

}  // namespace

void CopyMasterCorner(TRect R1, TRect R2, TBitmap* Bmp, const TacBGInfo& BGInfo, TacCtrlPaintData* SkinData) noexcept {
    const TsMaskData* md = BorderMask(SkinData);
    if (!md) return;
    TBitmap* image = MaskSourceBitmap(*md);
    if (!image) return;
    KeyPixelsToBackground(Rows32(Bmp), R1.Left, R1.Top, std::min(R1.Width(), R2.Width()),
                          std::min(R1.Height(), R2.Height()), Rows32(image), R2.Left, R2.Top, BGInfo);
}

void CopyTransCorner(TBitmap* SrcBmp, int X, int Y, TRect SrcRect, const TacBGInfo& BGInfo,
                     TacCtrlPaintData* SkinData) noexcept {
    if (!SkinData) return;
    KeyPixelsToBackground(Rows32(SkinData->CacheBmp()), X, Y, SrcRect.Width(), SrcRect.Height(), Rows32(SrcBmp),
                          SrcRect.Left, SrcRect.Top, BGInfo);
}

void UpdateCorners(TacCtrlPaintData* SkinData, int State) noexcept {
    const TsMaskData* md = BorderMask(SkinData);
    if (!md || md->CornerType == 0 || !SkinData->HasOwnerControl()) return;
    TBitmap* cache = SkinData->CacheBmp();
    TBitmap* image = MaskSourceBitmap(*md);
    if (!cache || cache->Empty() || !image) return;

    // A mask with an image of its own that names no states is three states with the
    // alpha mask beneath, over the whole image.
    int imageCount = md->ImageCount, maskType = md->MaskType;
    TRect r = md->R;
    if (md->Bmp && imageCount == 0) {
        imageCount = 3;
        maskType = 1;
        r = {0, 0, image->Width(), image->Height()};
    }
    if (imageCount <= 0) return;
    const int w = imageCount == 1 ? r.Width() : r.Width() / imageCount;
    const int h = maskType < 0 ? 0 : r.Height() / (maskType + 1);
    const int state = std::clamp(State, 0, imageCount - 1);

    TacBGInfo info;
    SkinData->GetParentBGInfo(info, false);
    if (info.BgType == btCache) {
        const TPoint pos = SkinData->OwnerPosition();
        info.Offset.X += pos.X;
        info.Offset.Y += pos.Y;
    } else {
        info.BgType = btFill;
        info.Color = ColorToRGB(info.Color);
    }

    const int wl = md->WL, wt = md->WT, wr = md->WR, wb = md->WB;
    const int sx = r.Left + state * w, sy = r.Top;
    const int cw = cache->Width(), ch = cache->Height();
    struct Corner {
        TRect Dst, Src;
    };
    const Corner corners[4] = {
        {{0, 0, wl, wt}, {sx, sy, sx + wl, sy + wt}},
        {{0, ch - wb, wl, ch}, {sx, sy + h - wb, sx + wl, sy + h}},
        {{cw - wr, ch - wb, cw, ch}, {sx + w - wr, sy + h - wb, sx + w, sy + h}},
        {{cw - wr, 0, cw, wt}, {sx + w - wr, sy, sx + w, sy + wt}},
    };
    for (const Corner& c : corners) {
        if (maskType != 0) CopyMasterCorner(c.Dst, c.Src, cache, info, SkinData);
        else CopyTransCorner(image, c.Dst.Left, c.Dst.Top, c.Src, info, SkinData);
    }
}

TRect PaintBorderFast(TBitmap* Target, TRect aRect, int MinBorderWidth, TacCtrlPaintData* SkinData,
                      int State) noexcept {
    if (!SkinData) return aRect;
    const TColor bgColor = SkinData->GetBGColor(State);
    TacBGInfo info;
    SkinData->GetParentBGInfo(info, false);
    TacSkinSource* src = SkinData->SkinManager();
    const TsMaskData* md = BorderMask(SkinData);
    const int skinIndex = SkinData->SkinIndex();

    if (!md || !src->IsValidSkinIndex(skinIndex)) {
        if (MinBorderWidth > 0) {
            const int b = MinBorderWidth;
            if (Target) FillDCBorder32(Target, aRect, b, b, b, b, bgColor);
            aRect = {aRect.Left + b, aRect.Top + b, aRect.Right - b, aRect.Bottom - b};
        }
        return aRect;
    }

    const int state = SectionState(src->SkinSections()[skinIndex], State);
    SkinData->InitCacheBmp();
    TBitmap* cache = SkinData->CacheBmp();
    if (!cache || cache->Empty()) return aRect;
    TCacheInfo ci = BGInfoToCI(info);
    const TPoint pos = SkinData->OwnerPosition();
    ci.X += pos.X;
    ci.Y += pos.Y;
    if (md->MaskType == 1) {
        // The semi-transparent mask blends over what is behind it.
        if (info.BgType == btCache) FillFromCI(Rows32(cache), aRect, ci);
        else FillDCBorder32(cache, aRect, md->WL, md->WT, md->WR, md->WB, bgColor);
    }
    DrawSkinRect(cache, aRect, true, ci, *md, state, true, src);

    TRect client{aRect.Left + md->WL, aRect.Top + md->WT, aRect.Right - md->WR, aRect.Bottom - md->WB};
    if (MinBorderWidth > 0) {
        const int b = MinBorderWidth;
        FillDCBorder32(cache, client, std::max(b - md->WL, 0), std::max(b - md->WT, 0), std::max(b - md->WR, 0),
                       std::max(b - md->WB, 0), bgColor);
        client = {aRect.Left + b, aRect.Top + b, std::max(aRect.Right - b, aRect.Left + b),
                  std::max(aRect.Bottom - b, aRect.Top + b)};
        if (Target && Target != cache) {
            const PixelRows to = Rows32(Target), from = Rows32(cache);
            const int w = aRect.Width(), h = aRect.Height();
            const int l = aRect.Left, t = aRect.Top;
            BlockCopy(to, l, t, w, std::min(b, h), from, l, t);
            BlockCopy(to, l, aRect.Bottom - std::min(b, h), w, std::min(b, h), from, l, aRect.Bottom - std::min(b, h));
            BlockCopy(to, l, t + b, std::min(b, w), h - 2 * b, from, l, t + b);
            BlockCopy(to, aRect.Right - std::min(b, w), t + b, std::min(b, w), h - 2 * b, from,
                      aRect.Right - std::min(b, w), t + b);
        }
    }
    return client;
}

}  // namespace qv
