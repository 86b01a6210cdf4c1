// Drawing skin masks: the nine-piece border (corners, sides, centre) with key-colour or
// alpha-mask transparency, the stretch of one masked piece, glyph images, and borders
// that cut their key-coloured corners out of a window region.
#include "paint/acBlit.h"
#include "paint/acPixelOps.h"
#include "model/acSkinSource.h"
#include "paint/sAlphaGraph.h"
#include "paint/sGraphUtils.h"

#include <algorithm>
#include <vector>

namespace qv {

namespace {

// The nine pieces of a border mask laid over a destination rectangle, in drawing order:
// top-left, left, top, bottom-left, bottom, bottom-right, top-right, right, centre.
struct MaskPiece {
    TRect Src;  // in the mask's image
    TRect Dst;
    bool Corner = false;
    bool Centre = false;
};

struct MaskLayout {
    MaskPiece Pieces[9];
    int Count = 0;
    int ImageHeight = 0;  // rows of one state image; the mask rows start this far below
};

// Border widths reduced so that they fit a rectangle of the given extent: both lose
// half the excess (truncated), the far one one more for an odd extent, neither below 0.
void FitBorders(int extent, int& nearW, int& farW) noexcept {
    if (extent < nearW + farW) {
        const int cut = (nearW + farW - extent) / 2;
        nearW -= cut;
        farW -= cut;
        if (extent % 2 != 0) --farW;
        nearW = std::max(nearW, 0);
        farW = std::max(farW, 0);
    }
}

// False when nothing is to be drawn. imageCount and the image rectangle are passed in so
// that a mask without state images can be laid out as one state over its whole image.
bool LayoutMask(const TsMaskData& md, TRect maskR, int imageCount, TRect R, int State, MaskLayout& out) noexcept {
    int wl = md.WL, wt = md.WT, wr = md.WR, wb = md.WB;
    FitBorders(R.Width(), wl, wr);
    FitBorders(R.Height(), wt, wb);
    if (imageCount <= 0) return false;
    const int s = std::clamp(State, 0, imageCount - 1);
    const int w = imageCount == 1 ? maskR.Width() : maskR.Width() / imageCount;
    int h = 0;
    if (md.MaskType == 0) h = maskR.Height();
    else if (md.MaskType > 0) h = maskR.Height() / (md.MaskType + 1);
    const int mw = w - wl - wr, mh = h - wt - wb;
    if (mw < 0 || mh < 0) return false;
    const int sx = maskR.Left + s * w, sy = maskR.Top;
    auto piece = [](int x, int y, int pw, int ph, TRect dst, bool corner, bool centre) {
        return MaskPiece{TRect{x, y, x + pw, y + ph}, dst, corner, centre};
    };
    const TRect& r = R;
    out.ImageHeight = h;
    out.Count = 0;
    MaskPiece* p = out.Pieces;
    p[out.Count++] = piece(sx, sy, wl, wt, {r.Left, r.Top, r.Left + wl, r.Top + wt}, true, false);
    p[out.Count++] = piece(sx, sy + wt, wl, mh, {r.Left, r.Top + wt, r.Left + wl, r.Bottom - wb}, false, false);
    p[out.Count++] = piece(sx + wl, sy, mw, wt, {r.Left + wl, r.Top, r.Right - wr, r.Top + wt}, false, false);
    p[out.Count++] = piece(sx, sy + h - wb, wl, wb, {r.Left, r.Bottom - wb, r.Left + wl, r.Bottom}, true, false);
    p[out.Count++] = piece(sx + wl, sy + h - wb, mw, wb, {r.Left + wl, r.Bottom - wb, r.Right - wr, r.Bottom}, false,
                           false);
    p[out.Count++] = piece(sx + wl + mw, sy + h - wb, wr, wb, {r.Right - wr, r.Bottom - wb, r.Right, r.Bottom}, true,
                           false);
    p[out.Count++] = piece(sx + wl + mw, sy, wr, wt, {r.Right - wr, r.Top, r.Right, r.Top + wt}, true, false);
    p[out.Count++] = piece(sx + wl + mw, sy + wt, wr, mh, {r.Right - wr, r.Top + wt, r.Right, r.Bottom - wb}, false,
                           false);
    if (md.DrawMode & dmDrawCentre)
        p[out.Count++] = piece(sx + wl, sy + wt, mw, mh, {r.Left + wl, r.Top + wt, r.Right - wr, r.Bottom - wb}, false,
                               true);
    return true;
}

// The piece src repeated over dst from its top-left corner, the last row and column cut.
// Opaque when maskOffset < 0, else blended through the mask rows that far below (key
// pixels keep what lies beneath).
void TilePiece(PixelRows dst, TRect dstRect, PixelRows src, TRect srcRect, int maskOffset) noexcept {
    const int pw = srcRect.Width(), ph = srcRect.Height();
    if (pw <= 0 || ph <= 0 || dstRect.IsEmpty()) return;
    for (int y = dstRect.Top; y < dstRect.Bottom; y += ph) {
        const int th = std::min(ph, dstRect.Bottom - y);
        for (int x = dstRect.Left; x < dstRect.Right; x += pw) {
            const int tw = std::min(pw, dstRect.Right - x);
            if (maskOffset < 0) BlockCopy(dst, x, y, tw, th, src, srcRect.Left, srcRect.Top);
            else
                CopyByMask(dst, {x, y, x + tw, y + th}, src,
                           {srcRect.Left, srcRect.Top, srcRect.Left + tw, srcRect.Top + th}, EmptyCI, false,
                           maskOffset);
        }
    }
}

TBitmap* SourceOfMask(const TsMaskData& md, TacSkinSource* manager) noexcept {
    if (md.Bmp) return MaskSourceBitmap(md);
    if (manager) {
        TBitmap* master = manager->SkinMasterBitmap();
        if (master && !master->Empty() && master->PixelFormat() == pf32bit) return master;
        return nullptr;
    }
    return MaskSourceBitmap(md);
}

// A piece copied into a buffer of at least 2 × 2, a one-pixel-wide or -high piece
// doubled, as the filtered resampler needs.
std::unique_ptr<TBitmap> ScratchOf(PixelRows src, int x, int y, int w, int h) noexcept {
    const int sw = std::max(w, 2), sh = std::max(h, 2);
    auto scratch = TryCreateBmp32(sw, sh);
    const PixelRows s = Rows32(scratch.get());
    if (s.Empty()) return nullptr;
    for (int j = 0; j < sh; ++j)
        for (int i = 0; i < sw; ++i)
            reinterpret_cast<acPixel32*>(s.Row(j))[i] = reinterpret_cast<const acPixel32*>(
                src.Row(y + std::min(j, h - 1)))[x + std::min(i, w - 1)];
    return scratch;
}

}  // namespace

void DrawSkinRect(TBitmap* Bmp, TRect R, bool /*Filling*/, const TCacheInfo& ci, const TsMaskData& MaskData, int State,
                  bool UpdateCorners, TacSkinSource* SkinManager) noexcept {
    const TsMaskData& md = MaskData;
    if (State == 0 && (md.DrawMode & dmHiddenWhenNormal)) return;
    if (R.Width() < 2 || R.Height() < 2 || !md.Owner) return;
    const PixelRows dst = Rows32(Bmp);
    TBitmap* srcBmp = SourceOfMask(md, SkinManager);
    const PixelRows src = Rows32(srcBmp);
    if (dst.Empty() || src.Empty()) return;
    MaskLayout layout;
    if (!LayoutMask(md, md.R, md.ImageCount, R, State, layout)) return;
    const bool masked = md.MaskType != 0;
    const int mo = masked ? layout.ImageHeight : 0;
    const int maskRows = md.R.Height() / 2;  // where CopyByMask finds the mask rows
    const bool updateTrans = UpdateCorners && md.CornerType >= 1;
    const bool stretch = (md.DrawMode & dmStretch) != 0;
    const bool dstIsParent = Bmp == ci.Bmp;
    for (int i = 0; i < layout.Count; ++i) {
        const MaskPiece& p = layout.Pieces[i];
        if (p.Src.IsEmpty() || p.Dst.IsEmpty()) continue;
        if (p.Corner) {
            if (!masked)
                CopyTransRect(dst, src, p.Dst.Left, p.Dst.Top,
                              {p.Src.Left, p.Src.Top, p.Src.Right - 1, p.Src.Bottom - 1}, clFuchsia, ci, updateTrans,
                              dstIsParent);
            else CopyByMask(dst, p.Dst, src, p.Src, ci, updateTrans, maskRows);
        } else if (stretch) {
            if (!masked) StretchCopy(dst, p.Dst, src, p.Src);
            else
                StretchBltMask(p.Dst.Left, p.Dst.Top, p.Dst.Width(), p.Dst.Height(), p.Src.Left, p.Src.Top,
                               p.Src.Width(), p.Src.Height(), Bmp, srcBmp, mo, p.Centre);
        } else {
            TilePiece(dst, p.Dst, src, p.Src, masked ? maskRows : -1);
        }
    }
}

namespace {

// The pixel-dropping stretch of an image piece and of its mask rows blended straight onto
// the destination: the same pixels as stretching both into scratch pictures first, without
// making them. Sides one pixel thick (the usual skin border) read one column or a row as
// it is.
void PlainStretchBlend(PixelRows dst, TRect clip, TRect dstRect, PixelRows src, TRect srcRect,
                       int maskOffset) noexcept {
    const int dw = dstRect.Width(), dh = dstRect.Height(), sw = srcRect.Width(), sh = srcRect.Height();
    const int n = clip.Width();
    std::vector<std::uint32_t> gathered;
    std::vector<int> columns;
    const bool sameWidth = sw == dw, oneColumn = sw == 1;
    if (!sameWidth && !oneColumn) {
        try {
            columns.resize(static_cast<std::size_t>(n));
            gathered.resize(2 * static_cast<std::size_t>(n));
        } catch (...) {
            return;
        }
        for (int x = clip.Left; x < clip.Right; ++x) {
            const long long i = x - dstRect.Left;
            columns[static_cast<std::size_t>(x - clip.Left)] = srcRect.Left +
                                                               static_cast<int>((2 * i + 1) * sw / (2LL * dw));
        }
    }
    for (int y = clip.Top; y < clip.Bottom; ++y) {
        const long long j = y - dstRect.Top;
        const int sy = srcRect.Top + static_cast<int>((2 * j + 1) * sh / (2LL * dh));
        const auto* s = reinterpret_cast<const acPixel32*>(src.Row(sy));
        const auto* k = reinterpret_cast<const acPixel32*>(src.Row(sy + maskOffset));
        auto* d = reinterpret_cast<acPixel32*>(dst.Row(y)) + clip.Left;
        if (oneColumn) {
            pixelops::MaskBlendRow(d, s + srcRect.Left, k + srcRect.Left, n, 0, pixelops::KeyRule::Blend);
        } else if (sameWidth) {
            const int sx = srcRect.Left + (clip.Left - dstRect.Left);
            pixelops::MaskBlendRow(d, s + sx, k + sx, n, 1, pixelops::KeyRule::Blend);
        } else {
            auto* gs = reinterpret_cast<acPixel32*>(gathered.data());
            auto* gk = gs + n;
            for (int i = 0; i < n; ++i) {
                gs[i] = s[columns[static_cast<std::size_t>(i)]];
                gk[i] = k[columns[static_cast<std::size_t>(i)]];
            }
            pixelops::MaskBlendRow(d, gs, gk, n, 1, pixelops::KeyRule::Blend);
        }
    }
}

// The image piece resampled (Mitchell) and its mask rows (Hermite) to the destination
// size in scratch pictures, then blended onto the clip.
void ResampledStretchBlend(PixelRows dst, TRect clip, TRect dstRect, PixelRows src, TRect srcRect,
                           int maskOffset) noexcept {
    const int sw = srcRect.Width(), sh = srcRect.Height();
    std::unique_ptr<TBitmap> img, msk;
    {
        auto imgScratch = ScratchOf(src, srcRect.Left, srcRect.Top, sw, sh);
        auto mskScratch = ScratchOf(src, srcRect.Left, srcRect.Top + maskOffset, sw, sh);
        img = TryCreateBmp32(0, 0);
        msk = TryCreateBmp32(0, 0);
        if (!imgScratch || !mskScratch || !img || !msk) return;
        try {
            Stretch(imgScratch.get(), img.get(), dstRect.Width(), dstRect.Height(), ftMitchell);
            Stretch(mskScratch.get(), msk.get(), dstRect.Width(), dstRect.Height(), ftHermite);
        } catch (...) {
            return;
        }
        if (img->PixelFormat() != pf32bit || msk->PixelFormat() != pf32bit) return;
    }
    const PixelRows ir = Rows32(img.get()), mr = Rows32(msk.get());
    if (ir.Empty() || mr.Empty()) return;
    const int i0 = clip.Left - dstRect.Left;
    for (int y = clip.Top; y < clip.Bottom; ++y) {
        pixelops::MaskBlendRow(reinterpret_cast<acPixel32*>(dst.Row(y)) + clip.Left,
                               reinterpret_cast<const acPixel32*>(ir.Row(y - dstRect.Top)) + i0,
                               reinterpret_cast<const acPixel32*>(mr.Row(y - dstRect.Top)) + i0, clip.Width(), 1,
                               pixelops::KeyRule::Blend);
    }
}

}  // namespace

void StretchBltMask(int DstX1, int DstY1, int Dst_Width, int Dst_Height, int SrcX1, int SrcY1, int Src_Width,
                    int Src_Height, TBitmap* BmpDst, TBitmap* BmpSrc, int MaskOffset, bool NoStdStretch) noexcept {
    if (DstX1 < 0 || DstY1 < 0 || Dst_Width <= 0 || Dst_Height <= 0) return;
    const PixelRows dst = Rows32(BmpDst), src = Rows32(BmpSrc);
    // A destination bitmap of one row or column is never drawn on (the fast accessors
    // need two of each).
    if (dst.Empty() || src.Empty() || dst.Width < 2 || dst.Height < 2) return;
    if (Src_Width <= 0 || Src_Height <= 0 || SrcX1 < 0 || SrcY1 < 0) return;
    const TRect dstRect{DstX1, DstY1, DstX1 + Dst_Width, DstY1 + Dst_Height};
    const TRect srcRect{SrcX1, SrcY1, SrcX1 + Src_Width, SrcY1 + Src_Height};
    if (MaskOffset == 0) {
        StretchCopy(dst, dstRect, src, srcRect);
        return;
    }
    // Both the image piece and the mask piece beneath it must lie in the source.
    if (srcRect.Right > src.Width || srcRect.Bottom + MaskOffset > src.Height || SrcY1 + MaskOffset < 0) return;
    const TRect clip = IntersectRect(dstRect, dst.Bounds());
    if (clip.IsEmpty()) return;

    if (NoStdStretch && Src_Width == 1 && Src_Height == 1) {
        const std::uint32_t s = reinterpret_cast<const acPixel32*>(src.Row(SrcY1))[SrcX1];
        const std::uint32_t k = (reinterpret_cast<const acPixel32*>(src.Row(SrcY1 + MaskOffset))[SrcX1] >> 16) & 0xFF;
        if (k == 255) return;
        if (k == 0) {
            FillPixels(dst, clip, s | 0xFF000000u);
            return;
        }
        // Every destination pixel blends with the one colour by the one mask byte.
        const std::uint32_t kk = k * 0x010101u;
        for (int y = clip.Top; y < clip.Bottom; ++y)
            pixelops::MaskBlendRow(reinterpret_cast<acPixel32*>(dst.Row(y)) + clip.Left, &s, &kk, clip.Width(), 0,
                                   pixelops::KeyRule::Blend);
        return;
    }
    const bool shrinkOneAxis = (Dst_Width < Src_Width && Dst_Height == Src_Height) ||
                               (Dst_Height < Src_Height && Dst_Width == Src_Width);
    if (!((shrinkOneAxis || NoStdStretch) && Dst_Width > 1 && Dst_Height > 1))
        PlainStretchBlend(dst, clip, dstRect, src, srcRect, MaskOffset);
    else ResampledStretchBlend(dst, clip, dstRect, src, srcRect, MaskOffset);
}

void BlendGlyphByMask(TRect R1, TRect R2, TBitmap* Bmp1, TBitmap* Bmp2, TColor TransColor, int AddedTransparency,
                      const TsMaskData& MaskData) noexcept {
    if (MaskData.MaskType == 0) {
        CopyTransRectA(Bmp1, Bmp2, R2.Left, R2.Top, {R1.Left, R1.Top, R1.Right - 1, R1.Bottom - 1}, TransColor,
                       EmptyCI);
        return;
    }
    const PixelRows dst = Rows32(Bmp1), src = Rows32(Bmp2);
    if (dst.Empty() || src.Empty() || MaskData.MaskType < 0) return;
    const int maskOffset = MaskData.R.Height() / (MaskData.MaskType + 1);
    const std::uint32_t key = ColorToPixel(TransColor, 0);
    const int w = std::min(R1.Width(), R2.Width()), h = std::min(R1.Height(), R2.Height());
    for (int j = 0; j < h; ++j) {
        const int sy = R1.Top + j, dy = R2.Top + j, my = sy + maskOffset;
        if (sy < 0 || my >= src.Height || dy < 0 || dy >= dst.Height) continue;
        const auto* s = reinterpret_cast<const acPixel32*>(src.Row(sy));
        const auto* m = reinterpret_cast<const acPixel32*>(src.Row(my));
        auto* d = reinterpret_cast<acPixel32*>(dst.Row(dy));
        for (int i = 0; i < w; ++i) {
            const int sx = R1.Left + i, dx = R2.Left + i;
            if (sx < 0 || sx >= src.Width || dx < 0 || dx >= dst.Width) continue;
            const std::uint32_t sv = s[sx], kv = m[sx];
            if (sv == key || ((kv >> 16) & 0xFF) == 255) continue;
            const std::uint32_t dv = d[dx];
            std::uint32_t out = dv & 0xFF000000u;
            for (int shift = 0; shift < 24; shift += 8) {
                int k = static_cast<int>((kv >> shift) & 0xFF);
                if (AddedTransparency != 1) k = std::min(k + 100, 255);  // the faded, disabled look
                const int sc = static_cast<int>((sv >> shift) & 0xFF), dc = static_cast<int>((dv >> shift) & 0xFF);
                const int c = std::clamp((sc * (256 - k) + dc * k) >> 8, 0, 255);
                out |= static_cast<std::uint32_t>(c) << shift;
            }
            d[dx] = out;
        }
    }
}

void DrawSkinGlyph(TBitmap* Bmp, TPoint P, int State, int AddedTransparency, const TsMaskData& MaskData,
                   const TCacheInfo& CI) noexcept {
    const TsMaskData& md = MaskData;
    if (md.ImageCount <= 0 || Rows32(Bmp).Empty()) return;
    const int state = std::clamp(State, 0, md.ImageCount - 1);
    int w = WidthOfImage(md), h = HeightOfImage(md);
    int sx = md.R.Left + state * w, sy = md.R.Top;
    if (P.X < 0) {
        sx -= P.X;
        w += P.X;
        P.X = 0;
    }
    if (P.Y < 0) {
        sy -= P.Y;
        h += P.Y;
        P.Y = 0;
    }
    if (w <= 0 || h <= 0) return;
    const TRect srcR{sx, sy, sx + w, sy + h}, dstR{P.X, P.Y, P.X + w, P.Y + h};
    TBitmap* own = md.Bmp.get();
    if (own && own->PixelFormat() == pf32bit && md.R.Right <= own->Width() && md.R.Bottom <= own->Height()) {
        BlendGlyphByMask(srcR, dstR, Bmp, own, clFuchsia, AddedTransparency, md);
        return;
    }
    if (!md.Owner) return;
    TBitmap* master = MaskSourceBitmap(md);
    if (!master) return;
    if (md.MaskType < 1) {
        if (AddedTransparency == 1)
            CopyTransRect(Bmp, master, P.X, P.Y, {sx, sy, sx + w - 1, sy + h - 1}, clFuchsia, CI, true);
        else BlendTransRectangle(Bmp, P.X, P.Y, master, {sx, sy, sx + w - 1, sy + h - 1}, 0.5);
    } else {
        BlendGlyphByMask(srcR, dstR, Bmp, master, clFuchsia, AddedTransparency, md);
    }
}

void CopyMasterRect(TRect R1, TRect R2, TBitmap* Bmp, const TCacheInfo& CI, const TsMaskData& MaskData) noexcept {
    TBitmap* src = MaskSourceBitmap(MaskData);
    if (!src) return;
    CopyByMask(Rows32(Bmp), R1, Rows32(src), R2, CI, true, HeightOfImage(MaskData));
}

namespace {

// n pixels of one destination row from column x of row y, read one to one from source
// column sx of the image row s (and its mask row m), clipped to both pictures: key pixels
// leave the destination, others are copied (no mask) or blended by the mask with the
// destination's own A.
void MaskSegment(const PixelRows& dst, int x, int y, const acPixel32* s, const acPixel32* m, int sx, int n,
                 int srcWidth, bool masked) noexcept {
    if (y < 0 || y >= dst.Height) return;
    const int lo = std::max({0, -x, -sx}), hi = std::min({n, dst.Width - x, srcWidth - sx});
    if (hi <= lo) return;
    auto* d = reinterpret_cast<acPixel32*>(dst.Row(y)) + x + lo;
    if (masked) {
        pixelops::MaskBlendRow(d, s + sx + lo, m + sx + lo, hi - lo, 1, pixelops::KeyRule::Skip);
    } else {
        pixelops::Kernels().KeyCopyRow[static_cast<int>(pixelops::KeyCopyMode::Skip)](
            pixelops::KeyCopyArgs{d, s + sx + lo, hi - lo, KeyPixel});
    }
}

// The rows below the image rows that hold a mask's weights (0 for a mask without them).
int MaskRowOffset(const TsMaskData& md) noexcept {
    if (md.MaskType <= 0) return 0;
    // A mask without state rows of its own geometry covers its whole image.
    const int rows = md.ImageCount < 1 && md.Bmp ? md.Bmp->Height() : md.R.Height();
    return rows / (md.MaskType + 1);
}

// Removes the runs of key pixels of one destination row from the region (the source
// columns outside the image neither start nor end a run).
void CutKeyRuns(TacRegion& region, int y, int DstX1, int DstX2, const acPixel32* s, const std::vector<int>& cols,
                int srcWidth) {
    int runStart = -1;
    for (int i = 0; i < static_cast<int>(cols.size()); ++i) {
        const int sx = cols[static_cast<std::size_t>(i)];
        if (sx < 0 || sx >= srcWidth) continue;
        const bool key = s[sx] == KeyPixel;
        if (key && runStart < 0) runStart = DstX1 + i;
        if (!key && runStart >= 0) {
            region.Remove({runStart, y, DstX1 + i, y + 1});
            runStart = -1;
        }
    }
    if (runStart >= 0) region.Remove({runStart, y, DstX2, y + 1});
}

}  // namespace

void CopyMask(int DstX1, int DstY1, int DstX2, int DstY2, int SrcX1, int SrcY1, int SrcX2, int SrcY2, TBitmap* Bmp,
              TacRegion* Region, const TsMaskData& MaskData, bool FillRgn) noexcept {
    const PixelRows dst = Rows32(Bmp);
    TBitmap* srcBmp = MaskSourceBitmap(MaskData);
    const PixelRows src = Rows32(srcBmp);
    const int dw = DstX2 - DstX1, dh = DstY2 - DstY1, sw = SrcX2 - SrcX1, sh = SrcY2 - SrcY1;
    if (dst.Empty() || src.Empty() || dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
    const bool masked = MaskData.MaskType > 0;
    const int maskOffset = MaskRowOffset(MaskData);
    const bool cut = FillRgn && Region;
    try {
        // The source column of each destination column, once; with equal widths the
        // columns map one to one and the rows are copied directly.
        std::vector<int> cols(static_cast<std::size_t>(dw));
        for (int i = 0; i < dw; ++i)
            cols[static_cast<std::size_t>(i)] = SrcX1 + static_cast<int>((2LL * i + 1) * sw / (2LL * dw));
        const bool direct = sw == dw;
        std::vector<std::uint32_t> gathered, gatheredMask;
        if (!direct) {
            gathered.resize(static_cast<std::size_t>(dw));
            gatheredMask.resize(static_cast<std::size_t>(dw));
        }
        // The destination columns whose source column lies in the image (the columns
        // grow with i, so they are one span).
        int i0 = 0, i1 = dw;
        while (i0 < dw && cols[static_cast<std::size_t>(i0)] < 0) ++i0;
        while (i1 > i0 && cols[static_cast<std::size_t>(i1 - 1)] >= src.Width) --i1;
        for (int j = 0; j < dh; ++j) {
            const int y = DstY1 + j;
            const int sy = SrcY1 + static_cast<int>((2LL * j + 1) * sh / (2LL * dh));
            if (sy < 0 || sy >= src.Height || (masked && sy + maskOffset >= src.Height)) continue;
            const auto* s = reinterpret_cast<const acPixel32*>(src.Row(sy));
            const auto* m = reinterpret_cast<const acPixel32*>(src.Row(masked ? sy + maskOffset : sy));
            if (cut) CutKeyRuns(*Region, y, DstX1, DstX2, s, cols, src.Width);
            if (i1 <= i0) continue;
            if (direct) {
                MaskSegment(dst, DstX1 + i0, y, s, m, cols[static_cast<std::size_t>(i0)], i1 - i0, src.Width, masked);
                continue;
            }
            for (int i = i0; i < i1; ++i) {
                gathered[static_cast<std::size_t>(i)] = s[cols[static_cast<std::size_t>(i)]];
                gatheredMask[static_cast<std::size_t>(i)] = m[cols[static_cast<std::size_t>(i)]];
            }
            MaskSegment(dst, DstX1 + i0, y, gathered.data(), gatheredMask.data(), i0, i1 - i0, dw, masked);
        }
    } catch (...) {
        // Only the column table or the region's rectangle list can fail (out of memory);
        // the region then keeps what it had.
    }
}

namespace {

// A side or centre piece repeated over p.Dst from its source's top-left corner, as one
// CopyMask per tile would draw it. A piece inside its image has each row repeated into
// a scratch row first, so the row is drawn in one pass however narrow the tile.
void TileMaskPiece(const PixelRows& dst, const PixelRows& src, const MaskPiece& p, const TsMaskData& md) {
    if (dst.Empty() || src.Empty()) return;
    const bool masked = md.MaskType > 0;
    const int maskOffset = MaskRowOffset(md);
    const int pw = p.Src.Width(), ph = p.Src.Height(), w = p.Dst.Width();
    const bool inside = p.Src.Left >= 0 && p.Src.Right <= src.Width;
    std::vector<std::uint32_t> rowS, rowM;
    if (inside) {
        rowS.resize(static_cast<std::size_t>(w));
        rowM.resize(static_cast<std::size_t>(w));
    }
    for (int y = p.Dst.Top; y < p.Dst.Bottom; ++y) {
        const int sy = p.Src.Top + (y - p.Dst.Top) % ph;
        if (sy < 0 || sy >= src.Height || (masked && sy + maskOffset >= src.Height)) continue;
        const auto* s = reinterpret_cast<const acPixel32*>(src.Row(sy));
        const auto* m = reinterpret_cast<const acPixel32*>(src.Row(masked ? sy + maskOffset : sy));
        if (!inside) {
            for (int x = p.Dst.Left; x < p.Dst.Right; x += pw)
                MaskSegment(dst, x, y, s, m, p.Src.Left, std::min(pw, p.Dst.Right - x), src.Width, masked);
            continue;
        }
        for (int i = 0; i < w; i += pw) {
            const int n = std::min(pw, w - i);
            std::copy(s + p.Src.Left, s + p.Src.Left + n, rowS.begin() + i);
            std::copy(m + p.Src.Left, m + p.Src.Left + n, rowM.begin() + i);
        }
        MaskSegment(dst, p.Dst.Left, y, rowS.data(), rowM.data(), 0, w, w, masked);
    }
}

}  // namespace

void PaintRgnBorder(TBitmap* Bmp, TacRegion* Region, bool /*Filling*/, const TsMaskData& MaskData, int State) noexcept {
    const TsMaskData& md = MaskData;
    if (Rows32(Bmp).Empty()) return;
    TRect maskR = md.R;
    int imageCount = md.ImageCount;
    if (imageCount < 1) {
        // One state over the mask's whole image.
        const TBitmap* img = MaskSourceBitmap(md);
        if (!img) return;
        if (md.Bmp) maskR = {0, 0, img->Width(), img->Height()};
        imageCount = 1;
    }
    MaskLayout layout;
    if (!LayoutMask(md, maskR, imageCount, {0, 0, Bmp->Width(), Bmp->Height()}, State, layout)) return;
    const bool stretch = (md.DrawMode & dmStretch) != 0;
    try {
        for (int i = 0; i < layout.Count; ++i) {
            const MaskPiece& p = layout.Pieces[i];
            if (p.Src.IsEmpty() || p.Dst.IsEmpty()) continue;
            if (p.Corner || stretch) {
                CopyMask(p.Dst.Left, p.Dst.Top, p.Dst.Right, p.Dst.Bottom, p.Src.Left, p.Src.Top, p.Src.Right,
                         p.Src.Bottom, Bmp, Region, md, p.Corner);
                continue;
            }
            TileMaskPiece(Rows32(Bmp), Rows32(MaskSourceBitmap(md)), p, md);
        }
    } catch (...) {
        // Only the region's rectangle list can fail (out of memory); the picture is drawn.
    }
}

}  // namespace qv
