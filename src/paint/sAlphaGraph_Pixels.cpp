// Fast accessors, fills, colour blends and the disabled look of a picture.
#include "paint/acBlit.h"
#include "paint/acPixelOps.h"
#include "model/acSkinSource.h"
#include "paint/sAlphaGraph.h"
#include "paint/sGraphUtils.h"

#include "framework/SysUtils.h"

#include <algorithm>
#include <cstring>

namespace qv {

// ---- TacFast32 ----

bool TacFast32::Attach(TBitmap* Bmp) {
    FBitmap = Bmp;
    FWidth = 0;
    FHeight = 0;
    if (!Bmp || Bmp->Height() < 2 || Bmp->Width() < 1) return false;
    if (Bmp->PixelFormat() != pf32bit) throw EAssertionFailed(L"Bitmap format is not supported");
    FWidth = Bmp->Width();
    FHeight = Bmp->Height();
    FStart = Bmp->ScanLine(0);
    FDelta = Bmp->Delta();
    return true;
}

void TacFast32::FillBitmap(TColor Color) noexcept { FillRect(TRect{0, 0, FWidth, FHeight}, Color); }

void TacFast32::FillRect(TRect R, TColor Color) noexcept {
    if (FWidth == 0) return;
    FillPixels(PixelRows{FStart, FDelta, FWidth, FHeight}, R, ColorToPixel(Color));
}

TsColor TacFast32::GetPixel(int X, int Y) const noexcept {
    const std::uint8_t* p = FStart + Y * FDelta + X * 4;
    TsColor c;
    c.R = p[2];
    c.G = p[1];
    c.B = p[0];
    c.A = p[3];
    return c;
}

void TacFast32::SetPixel(int X, int Y, TsColor Value) noexcept {
    std::uint8_t* p = FStart + Y * FDelta + X * 4;
    p[0] = Value.B;
    p[1] = Value.G;
    p[2] = Value.R;
    p[3] = Value.A;
}

// ---- TacFastSum32 ----

bool TacFastSum32::Attach(TBitmap* BmpSrc, TBitmap* BmpDst) noexcept {
    FBmpSrc = BmpSrc;
    FBmpDst = BmpDst;
    if (!BmpSrc || !BmpDst || BmpSrc->PixelFormat() != pf32bit || BmpDst->PixelFormat() != pf32bit) return false;
    if (BmpSrc->Width() < 2 || BmpSrc->Height() < 2 || BmpDst->Width() < 2 || BmpDst->Height() < 2) return false;
    FWidthDst = std::min(BmpSrc->Width(), BmpDst->Width());
    FHeightDst = std::min(BmpSrc->Height(), BmpDst->Height());
    FStartSrc = BmpSrc->ScanLine(0);
    FStartDst = BmpDst->ScanLine(0);
    FDeltaSrc = BmpSrc->Delta();
    FDeltaDst = BmpDst->Delta();
    return true;
}

void TacFastSum32::BlendBitmapsRect() noexcept {
    if (!FStartSrc || !FStartDst) return;
    // Keep both rectangles inside their bitmaps whatever the caller set.
    int x1 = DstX1, y1 = DstY1, sx = SrcX1, sy = SrcY1;
    if (x1 < 0) {
        sx -= x1;
        x1 = 0;
    }
    if (y1 < 0) {
        sy -= y1;
        y1 = 0;
    }
    if (sx < 0) {
        x1 -= sx;
        sx = 0;
    }
    if (sy < 0) {
        y1 -= sy;
        sy = 0;
    }
    const int x2 = std::min({DstX2, FBmpDst->Width(), x1 + FBmpSrc->Width() - sx});
    const int y2 = std::min({DstY2, FBmpDst->Height(), y1 + FBmpSrc->Height() - sy});
    if (x2 <= x1 || y2 <= y1) return;
    const auto row = pixelops::Kernels().SumRow;
    pixelops::RowsInAddressOrder(FDeltaDst, y2 - y1, [&](int j) {
        row(FStartDst + (y1 + j) * FDeltaDst + x1 * 4, FStartSrc + (sy + j) * FDeltaSrc + sx * 4, (x2 - x1) * 4, Alpha);
    });
}

// ---- fills ----

std::unique_ptr<TBitmap> CreateBmp32(int Width, int Height) {
    return std::make_unique<TBitmap>(std::max(Width, 0), std::max(Height, 0), pf32bit);
}

std::unique_ptr<TBitmap> TryCreateBmp32(int Width, int Height) noexcept {
    try {
        return CreateBmp32(Width, Height);
    } catch (...) {
        return nullptr;
    }
}

std::unique_ptr<TBitmap> CreateBmpLike(TBitmap* Bmp) {
    if (!Bmp) return std::make_unique<TBitmap>();
    return std::make_unique<TBitmap>(Bmp->Width(), Bmp->Height(), Bmp->PixelFormat());
}

void FillLongword(void* Address, std::size_t Count, std::uint32_t Value) noexcept {
    auto* p = static_cast<acPixel32*>(Address);
    std::fill(p, p + Count, Value);
}

void FillRect32(TBitmap* Bmp, TRect R, TColor Color) noexcept {
    // Rows32 serves one-row bitmaps too, so no separate path is needed for them.
    FillPixels(Rows32(Bmp), R, ColorToPixel(Color));
}

void BlendColorRect(PixelRows bmp, TRect R, int Transparency, TColor Color) noexcept {
    if (bmp.Empty()) return;
    // Right and Bottom are inclusive here.
    R.Left = std::max(R.Left, 0);
    R.Top = std::max(R.Top, 0);
    R.Right = std::min(R.Right, bmp.Width - 1) + 1;
    R.Bottom = std::min(R.Bottom, bmp.Height - 1) + 1;
    if (R.IsEmpty()) return;
    const int t = std::clamp(Transparency, 0, 100);
    const auto c = static_cast<std::uint32_t>(ColorToRGB(Color));
    const int colour[3] = {static_cast<int>((c >> 16) & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                           static_cast<int>(c & 0xFF)};  // B, G, R
    // (t × old + (100 − t) × colour) / 100 to the nearest integer, ties to even, in exact
    // integers so that no weight suffers from binary fractions.
    pixelops::ColorRowArgs args{t,
                                {static_cast<std::uint32_t>((100 - t) * colour[0]),
                                 static_cast<std::uint32_t>((100 - t) * colour[1]),
                                 static_cast<std::uint32_t>((100 - t) * colour[2])}};
    const auto row = pixelops::Kernels().ColorRow;
    pixelops::RowsInAddressOrder(bmp.Delta, R.Height(), [&](int j) {
        row(reinterpret_cast<acPixel32*>(bmp.Row(R.Top + j)) + R.Left, R.Width(), args);
    });
}

void BlendColorRect(TBitmap* Bmp, TRect R, int Transparency, TColor Color) noexcept {
    BlendColorRect(Rows32(Bmp), R, Transparency, Color);
}

void FillDCBorder32(TBitmap* Bmp, TRect aRect, int wl, int wt, int wr, int wb, TColor Color) noexcept {
    FillRect32(Bmp, {aRect.Left, aRect.Top, aRect.Right, aRect.Top + wt}, Color);
    FillRect32(Bmp, {aRect.Left, aRect.Top + wt, aRect.Left + wl, aRect.Bottom}, Color);
    FillRect32(Bmp, {aRect.Left + wl, aRect.Bottom - wb, aRect.Right, aRect.Bottom}, Color);
    FillRect32(Bmp, {aRect.Right - wr, aRect.Top + wt, aRect.Right, aRect.Bottom - wb}, Color);
}

void FillTransPixels32(TBitmap* DstBmp, TBitmap* SrcBmp, TRect DstRect, TPoint SrcPoint, int MaskIndex,
                       TacSkinSource* SkinManager, int MaskPos) noexcept {
    const PixelRows dst = Rows32(DstBmp), src = Rows32(SrcBmp);
    if (dst.Empty() || src.Empty() || DstRect.IsEmpty()) return;
    PixelRows maskRows;
    int mx0 = 0, my0 = 0;
    if (MaskIndex >= 0) {
        if (!SkinManager || !SkinManager->IsValidImgIndex(MaskIndex)) return;
        const TsMaskData& md = SkinManager->SkinImages()[MaskIndex];
        TBitmap* img = md.Bmp ? md.Bmp.get() : SkinManager->SkinMasterBitmap();
        maskRows = Rows32(img);
        if (maskRows.Empty()) return;
        // The compared corner of the first state image.
        const int w = WidthOfImage(md), h = HeightOfImage(md);
        mx0 = md.R.Left;
        my0 = md.R.Top;
        if (MaskPos == 14 || MaskPos == 17) mx0 += w - DstRect.Width();
        if (MaskPos == 16 || MaskPos == 17) my0 += h - DstRect.Height();
    }
    const TRect clip = IntersectRect(DstRect, dst.Bounds());
    for (int y = clip.Top; y < clip.Bottom; ++y) {
        const int sy = SrcPoint.Y + y - DstRect.Top;
        if (sy < 0 || sy >= src.Height) continue;
        auto* d = reinterpret_cast<acPixel32*>(dst.Row(y));
        const auto* s = reinterpret_cast<const acPixel32*>(src.Row(sy));
        for (int x = clip.Left; x < clip.Right; ++x) {
            const int sx = SrcPoint.X + x - DstRect.Left;
            if (sx < 0 || sx >= src.Width) continue;
            std::uint32_t probe;
            if (MaskIndex >= 0) {
                const int px = mx0 + x - DstRect.Left, py = my0 + y - DstRect.Top;
                if (px < 0 || py < 0 || px >= maskRows.Width || py >= maskRows.Height) continue;
                probe = reinterpret_cast<const acPixel32*>(maskRows.Row(py))[px];
            } else {
                probe = d[x];
            }
            if ((probe & 0xFFFFFF) == 0xFF00FF) d[x] = s[sx];
        }
    }
}

void BmpDisabledKind(TBitmap* Bmp, TsDisabledKind DisabledKind, TColor ParentColor, const TCacheInfo& CI,
                     TPoint Offset) noexcept {
    const PixelRows bmp = Rows32(Bmp);
    if (bmp.Empty()) return;
    if (DisabledKind & dkGrayed) GrayScale(bmp);
    if (DisabledKind & dkBlended) {
        if (CI.Ready && CI.Bmp) {
            const int x = CI.X + Offset.X, y = CI.Y + Offset.Y;
            // 0.4 of the picture and 0.6 of the parent's pixels beneath it.
            const PixelRows parent = Rows32(CI.Bmp);
            if (parent.Empty()) return;
            // The parent rectangle is read into a copy so the blend never reads what it writes
            // when the picture is the parent's own bitmap.
            const auto under = TryCreateBmp32(bmp.Width, bmp.Height);
            const PixelRows u = Rows32(under.get());
            if (u.Empty()) return;
            BlockCopy(u, 0, 0, bmp.Width, bmp.Height, bmp, 0, 0);
            BlockCopy(u, 0, 0, bmp.Width, bmp.Height, parent, x, y);
            BlendTransRectangle(bmp, 0, 0, u, TRect{0, 0, bmp.Width - 1, bmp.Height - 1}, 0.4);
        } else {
            const TColor c = CI.FillColor == clFuchsia ? ParentColor : CI.FillColor;
            BlendColorRect(bmp, TRect{0, 0, bmp.Width - 1, bmp.Height - 1}, 50, c);
        }
    }
}

}  // namespace qv
