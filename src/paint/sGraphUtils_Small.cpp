// The small helpers around item painting: weighted sums of bitmaps, colour mixes, channel
// copies, corner regions, button layout and nine-piece scaling of arbitrary pictures.
#include "paint/acBlit.h"
#include "paint/acPixelOps.h"
#include "paint/sAlphaGraph.h"
#include "paint/sGraphUtils.h"
#include "paint/sGraphUtils_Item.h"

#include <algorithm>
#include <cmath>

namespace qv {

namespace {

// Rounds like the engine's colour arithmetic: to the nearest integer, ties to even.
inline int RoundHalfEven(double v) noexcept { return static_cast<int>(std::nearbyint(v)); }

// Button layout: where the glyph sits against the text, and how the pair aligns.
enum { glLeft = 0, glRight = 1, glTop = 2, glBottom = 3 };
enum { alLeft = 0, alRight = 1, alCenter = 2 };

// The sizes a button layout works with; Free is the client width the text leaves.
struct TButtonSizes {
    int W, H, Free;
    int TextW, TextH, GlyphW, GlyphH;
};

// A Margin of -1 and a negative Spacing ask for even distribution: both become pixels.
void ResolveMarginAndSpacing(const TButtonSizes& s, bool vertical, int alignment, int& margin, int& spacing) noexcept {
    if (margin == -1) {
        if (spacing < 0) {
            spacing = vertical ? (s.H - s.TextH - s.GlyphH) / 3 : (s.Free - s.GlyphW) / 3;
            margin = spacing;
        } else if (alignment == alLeft || alignment == alRight) {
            margin = 2;
        } else {
            margin = vertical ? (s.H - spacing - s.GlyphH - s.TextH + 1) / 2 : (s.Free - s.GlyphW - spacing + 1) / 2;
        }
    } else if (spacing < 0) {
        spacing = vertical ? (s.H - margin - s.GlyphH - s.TextH) / 2 : (s.Free - margin - s.GlyphW) / 2;
    }
}

// The columns of a glyph left of its text; left-aligned text is cut where it would pass
// clientRight (the client rectangle's Right) less the margin.
void PlaceGlyphLeft(const TButtonSizes& s, int alignment, int margin, int spacing, int clientRight, TPoint& glyphPos,
                    TPoint& textPos, TRect& textBounds) noexcept {
    if (alignment == alLeft) {
        glyphPos.X = margin;
        textPos.X = margin + s.GlyphW + spacing;
        textBounds.Right = std::min(s.TextW, clientRight - margin - textPos.X);
    } else if (alignment == alRight) {
        textPos.X = s.Free - margin;
        glyphPos.X = textPos.X - spacing - s.GlyphW;
    } else {
        glyphPos.X = std::max(margin, (s.Free - spacing - s.GlyphW) / 2);
        textPos.X = glyphPos.X + s.GlyphW + spacing;
    }
}

// The columns of a glyph right of its text.
void PlaceGlyphRight(const TButtonSizes& s, int alignment, int margin, int spacing, TPoint& glyphPos,
                     TPoint& textPos) noexcept {
    if (alignment == alLeft) {
        glyphPos.X = s.TextW + margin + spacing;
        textPos.X = margin;
    } else if (alignment == alRight) {
        glyphPos.X = s.W - margin - s.GlyphW;
        textPos.X = glyphPos.X - spacing - s.TextW;
    } else {
        textPos.X = (s.Free - spacing - s.GlyphW) / 2;
        glyphPos.X = textPos.X + s.TextW + spacing;
    }
}

}  // namespace

void SumBmpRect(PixelRows dst, PixelRows src, int AlphaValue, TRect SrcRect, TPoint DstPoint) noexcept {
    if (dst.Empty() || src.Empty()) return;
    const Span sp = ClipSpan(dst, DstPoint.X, DstPoint.Y, src, SrcRect.Left, SrcRect.Top, SrcRect.Width(),
                             SrcRect.Height());
    if (sp.Empty()) return;
    const int a = std::clamp(AlphaValue, 0, 255);
    const auto row = pixelops::Kernels().SumRow;
    pixelops::RowsInAddressOrder(dst.Delta, sp.h, [&](int j) {
        row(dst.Row(sp.dy + j) + sp.dx * 4, src.Row(sp.sy + j) + sp.sx * 4, sp.w * 4, a);
    });
}

void SumBmpRect(TBitmap* DstBmp, TBitmap* SrcBmp, int AlphaValue, TRect SrcRect, TPoint DstPoint) noexcept {
    SumBmpRect(Rows32(DstBmp), Rows32(SrcBmp), AlphaValue, SrcRect, DstPoint);
}

TColor MixColors(TColor Color1, TColor Color2, double PercentOfColor1) noexcept {
    const auto c1 = static_cast<std::uint32_t>(Color1), c2 = static_cast<std::uint32_t>(Color2);
    const double p = std::clamp(PercentOfColor1, 0.0, 1.0);
    std::uint32_t out = c1 & 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        const int v = RoundHalfEven(p * ((c1 >> shift) & 0xFF) + (1 - p) * ((c2 >> shift) & 0xFF));
        out |= static_cast<std::uint32_t>(std::clamp(v, 0, 255)) << shift;
    }
    return static_cast<TColor>(out);
}

TColor AverageColor(TColor ColorBegin, TColor ColorEnd) noexcept {
    const auto c1 = static_cast<std::uint32_t>(ColorBegin), c2 = static_cast<std::uint32_t>(ColorEnd);
    std::uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8)
        out |= ((((c1 >> shift) & 0xFF) * 127 + ((c2 >> shift) & 0xFF) * 129) >> 8) << shift;
    return static_cast<TColor>(out);
}

void CopyChannel(TBitmap* Bmp32, TBitmap* Bmp8, int Channel, bool From32To8) noexcept {
    if (!Bmp32 || !Bmp8 || Bmp32->PixelFormat() != pf32bit || Bmp8->PixelFormat() != pf8bit) return;
    if (Channel < 0 || Channel > 3 || Bmp32->Width() != Bmp8->Width() || Bmp32->Height() != Bmp8->Height()) return;
    for (int y = 0; y < Bmp32->Height(); ++y) {
        std::uint8_t* p32 = Bmp32->ScanLine(y) + Channel;
        std::uint8_t* p8 = Bmp8->ScanLine(y);
        for (int x = 0; x < Bmp32->Width(); ++x) {
            if (From32To8) p8[x] = p32[x * 4];
            else p32[x * 4] = p8[x];
        }
    }
}

void AddRgn(TAOR& AOR, int Width, const TsMaskData& MaskData, int VertOffset, bool Bottom) {
    const TBitmap* img = MaskSourceBitmap(MaskData);
    if (!img) return;
    const int w = WidthOfImage(MaskData);
    const int h = MaskData.R.Height() / std::max(MaskData.MaskType + 1, 1);
    const int rows = Bottom ? MaskData.WB : MaskData.WT;
    const int firstRow = MaskData.R.Top + (Bottom ? h - MaskData.WB : 0);
    auto scan = [&](int row, int firstCol, int cols, int xBase) {
        const int y = firstRow + row;
        if (y < 0 || y >= img->Height()) return;
        int runStart = -1;
        for (int c = 0; c <= cols; ++c) {
            const int x = MaskData.R.Left + firstCol + c;
            const bool key = c < cols && x >= 0 && x < img->Width() && img->Pixel32(x, y) == KeyPixel;
            if (key && runStart < 0) runStart = c;
            if (!key && runStart >= 0) {
                AOR.push_back(
                    {xBase + firstCol + runStart, VertOffset + row, xBase + firstCol + c, VertOffset + row + 1});
                runStart = -1;
            }
        }
    };
    for (int row = 0; row < rows; ++row) {
        scan(row, 0, MaskData.WL, 0);
        scan(row, w - MaskData.WR, MaskData.WR, Width - w);
    }
}

void CalcButtonLayout(TRect Client, TPoint GlyphSize, TPoint TextRectSize, int Layout, int Alignment, int Margin,
                      int Spacing, TPoint& GlyphPos, TRect& TextBounds, int BiDiFlags) noexcept {
    if (BiDiFlags & 2) {
        if (Layout == glLeft) Layout = glRight;
        else if (Layout == glRight) Layout = glLeft;
    }
    const int tw = TextRectSize.X, th = TextRectSize.Y, gw = GlyphSize.X, gh = GlyphSize.Y;
    const int W = Client.Width(), H = Client.Height();
    const TButtonSizes sizes{W, H, W - tw, tw, th, gw, gh};
    TextBounds = {0, 0, tw, th};
    const bool vertical = Layout == glTop || Layout == glBottom;
    TPoint textPos{0, 0};
    GlyphPos = {0, 0};
    if (vertical) {
        GlyphPos.X = (W - gw + 1) / 2;
        textPos.X = (sizes.Free + 1) / 2;
    } else {
        GlyphPos.Y = (H - gh + 1) / 2;
        textPos.Y = (H - th + 1) / 2;
    }
    if (tw == 0 || th == 0 || gw == 0 || gh == 0) Spacing = 0;
    ResolveMarginAndSpacing(sizes, vertical, Alignment, Margin, Spacing);
    switch (Layout) {
    case glLeft: PlaceGlyphLeft(sizes, Alignment, Margin, Spacing, Client.Right, GlyphPos, textPos, TextBounds); break;
    case glRight: PlaceGlyphRight(sizes, Alignment, Margin, Spacing, GlyphPos, textPos); break;
    case glTop:
        GlyphPos.Y = (H - gh - Spacing - th) / 2;
        textPos.Y = GlyphPos.Y + gh + Spacing;
        break;
    case glBottom:
        GlyphPos.Y = H - gh - (H - gh - Spacing - th) / 2;
        textPos.Y = GlyphPos.Y - Spacing - th;
        break;
    default: break;
    }
    GlyphPos.X += Client.Left;
    GlyphPos.Y += Client.Top;
    TextBounds = OffsetRect(TextBounds, textPos.X + Client.Left, textPos.Y + Client.Top);
}

void PaintControlByTemplate(TBitmap* DstBmp, TBitmap* SrcBmp, TRect DstRect, TRect SrcRect, TRect BorderWidths,
                            TRect BorderMaxWidths, TRect DrawModes, bool StretchCenter, bool FillCenter) noexcept {
    const PixelRows dst = Rows32(DstBmp), src = Rows32(SrcBmp);
    if (dst.Empty() || src.Empty() || DstRect.IsEmpty() || SrcRect.IsEmpty()) return;
    const TRect& bw = BorderWidths;
    const int tl = std::min(bw.Left, BorderMaxWidths.Left), tt = std::min(bw.Top, BorderMaxWidths.Top);
    const int tr = std::min(bw.Right, BorderMaxWidths.Right), tb = std::min(bw.Bottom, BorderMaxWidths.Bottom);
    const int mw = std::max(SrcRect.Width() - bw.Left - bw.Right, 0);
    const int mh = std::max(SrcRect.Height() - bw.Top - bw.Bottom, 0);
    const TRect& s = SrcRect;
    const TRect& d = DstRect;
    auto copy = [&](int dx, int dy, int w, int h, int sx, int sy) { BlockCopy(dst, dx, dy, w, h, src, sx, sy); };
    // Corners: the full corner width over the side's thickness, then the rest of the
    // corner's height only as wide as the other side's thickness.
    copy(d.Left, d.Top, bw.Left, tt, s.Left, s.Top);
    copy(d.Left, d.Top + tt, tl, bw.Top - tt, s.Left, s.Top + tt);
    copy(d.Right - bw.Right, d.Top, bw.Right, tt, s.Right - bw.Right, s.Top);
    copy(d.Right - tr, d.Top + tt, tr, bw.Top - tt, s.Right - tr, s.Top + tt);
    copy(d.Left, d.Bottom - tb, bw.Left, tb, s.Left, s.Bottom - tb);
    copy(d.Left, d.Bottom - bw.Bottom, tl, bw.Bottom - tb, s.Left, s.Bottom - bw.Bottom);
    copy(d.Right - bw.Right, d.Bottom - tb, bw.Right, tb, s.Right - bw.Right, s.Bottom - tb);
    copy(d.Right - tr, d.Bottom - bw.Bottom, tr, bw.Bottom - tb, s.Right - tr, s.Bottom - bw.Bottom);
    const bool stretchSides = DrawModes.Left == 1;
    auto piece = [&](TRect to, TRect from, bool stretch) {
        if (to.IsEmpty() || from.IsEmpty()) return;
        if (stretch) {
            StretchCopy(dst, to, src, from);
            return;
        }
        for (int y = to.Top; y < to.Bottom; y += from.Height())
            for (int x = to.Left; x < to.Right; x += from.Width())
                copy(x, y, std::min(from.Width(), to.Right - x), std::min(from.Height(), to.Bottom - y), from.Left,
                     from.Top);
    };
    piece({d.Left + bw.Left, d.Top, d.Right - bw.Right, d.Top + tt},
          {s.Left + bw.Left, s.Top, s.Left + bw.Left + mw, s.Top + tt}, stretchSides);
    piece({d.Left + bw.Left, d.Bottom - tb, d.Right - bw.Right, d.Bottom},
          {s.Left + bw.Left, s.Bottom - tb, s.Left + bw.Left + mw, s.Bottom}, stretchSides);
    piece({d.Left, d.Top + bw.Top, d.Left + tl, d.Bottom - bw.Bottom},
          {s.Left, s.Top + bw.Top, s.Left + tl, s.Top + bw.Top + mh}, stretchSides);
    piece({d.Right - tr, d.Top + bw.Top, d.Right, d.Bottom - bw.Bottom},
          {s.Right - tr, s.Top + bw.Top, s.Right, s.Top + bw.Top + mh}, stretchSides);
    if (FillCenter && (StretchCenter || (mw > 0 && mh > 0)))
        piece({d.Left + tl, d.Top + tt, d.Right - tr, d.Bottom - tb},
              {s.Left + bw.Left, s.Top + bw.Top, s.Left + bw.Left + mw, s.Top + bw.Top + mh}, StretchCenter);
}

}  // namespace qv
