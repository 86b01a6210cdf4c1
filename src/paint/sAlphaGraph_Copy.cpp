// Copies that leave out the key colour or blend through an alpha mask, with the parent's
// background put into key pixels where asked.
#include "paint/acBlit.h"
#include "paint/acPixelOps.h"
#include "paint/sAlphaGraph.h"

#include <algorithm>

namespace qv {

namespace {

constexpr std::uint32_t kRgb = 0x00FFFFFFu;

// How a key pixel of the source is treated when it has a parent pixel to show.
enum class ParentHit { Write, Skip, EndRow };

inline ParentHit ParentPixel(const PixelRows& parent, int px, int py, std::uint32_t& out) noexcept {
    // Below the parent: the pixel stays; right of it or above it: the row is done.
    if (py < 0 || px >= parent.Width) return ParentHit::EndRow;
    if (py >= parent.Height || px < 0) return ParentHit::Skip;
    out = reinterpret_cast<const acPixel32*>(parent.Row(py))[px];
    return ParentHit::Write;
}

}  // namespace

void CopyTransRect(PixelRows dst, PixelRows src, int X, int Y, TRect SrcRect, TColor TransColor,
                   const TCacheInfo& CI, bool UpdateTrans, bool dstIsParent) noexcept {
    if (dst.Empty() || src.Empty()) return;
    const Span sp = ClipSpan(dst, X, Y, src, SrcRect.Left, SrcRect.Top, SrcRect.Right - SrcRect.Left + 1,
                             SrcRect.Bottom - SrcRect.Top + 1);
    if (sp.Empty()) return;
    const std::uint32_t key = ColorToPixel(TransColor, 0);
    const PixelRows parent = CI.Ready ? Rows32(CI.Bmp) : PixelRows{};
    const bool toParent = UpdateTrans && CI.Ready && !parent.Empty();
    const std::uint32_t fill = ColorToPixel(CI.FillColor);
    for (int j = 0; j < sp.h; ++j) {
        const int y = sp.dy + j;
        auto* d = reinterpret_cast<acPixel32*>(dst.Row(y)) + sp.dx;
        const auto* s = reinterpret_cast<const acPixel32*>(src.Row(sp.sy + j)) + sp.sx;
        if (toParent && dstIsParent) {
            for (int i = 0; i < sp.w; ++i)
                if (s[i] != key) d[i] = s[i] | 0xFF000000u;
        } else if (toParent) {
            for (int i = 0; i < sp.w; ++i) {
                if (s[i] != key) {
                    d[i] = s[i] | 0xFF000000u;
                    continue;
                }
                std::uint32_t p;
                const ParentHit hit = ParentPixel(parent, sp.dx + i + CI.X, y + CI.Y, p);
                if (hit == ParentHit::EndRow) break;
                if (hit == ParentHit::Write) d[i] = p | 0xFF000000u;
            }
        } else if (CI.Ready) {
            for (int i = 0; i < sp.w; ++i)
                if (s[i] != key) d[i] = s[i];
        } else {
            for (int i = 0; i < sp.w; ++i) d[i] = s[i] == key ? fill : s[i];
        }
    }
}

void CopyTransRect(TBitmap* DstBmp, TBitmap* SrcBmp, int X, int Y, TRect SrcRect, TColor TransColor,
                   const TCacheInfo& CI, bool UpdateTrans) noexcept {
    CopyTransRect(Rows32(DstBmp), Rows32(SrcBmp), X, Y, SrcRect, TransColor, CI, UpdateTrans,
                  DstBmp != nullptr && DstBmp == CI.Bmp);
}

void CopyTransRectA(TBitmap* DstBmp, TBitmap* SrcBmp, int X, int Y, TRect SrcRect, TColor TransColor,
                    const TCacheInfo& /*CI*/) noexcept {
    const PixelRows dst = Rows32(DstBmp), src = Rows32(SrcBmp);
    if (dst.Empty() || src.Empty()) return;
    const Span sp = ClipSpan(dst, X, Y, src, SrcRect.Left, SrcRect.Top, SrcRect.Right - SrcRect.Left + 1,
                             SrcRect.Bottom - SrcRect.Top + 1);
    if (sp.Empty()) return;
    const std::uint32_t key = ColorToPixel(TransColor, 0);
    for (int j = 0; j < sp.h; ++j) {
        auto* d = reinterpret_cast<acPixel32*>(dst.Row(sp.dy + j)) + sp.dx;
        const auto* s = reinterpret_cast<const acPixel32*>(src.Row(sp.sy + j)) + sp.sx;
        for (int i = 0; i < sp.w; ++i)
            if (s[i] != key) d[i] = (s[i] & kRgb) | (d[i] & ~kRgb);
    }
}

void CopyTransBitmaps(TBitmap* DstBmp, TBitmap* SrcBmp, int X, int Y, TColor TransColor) noexcept {
    const PixelRows dst = Rows32(DstBmp), src = RowsOf(SrcBmp);
    if (dst.Empty() || src.Empty()) return;
    const Span sp = ClipSpan(dst, X, Y, src, 0, 0, src.Width, src.Height);
    if (sp.Empty()) return;
    const bool src32 = SrcBmp->PixelFormat() == pf32bit;
    const std::uint32_t key = ColorToPixel(TransColor, 0);
    for (int j = 0; j < sp.h; ++j) {
        auto* d = reinterpret_cast<acPixel32*>(dst.Row(sp.dy + j)) + sp.dx;
        const std::uint8_t* s = src.Row(sp.sy + j) + sp.sx * (src32 ? 4 : 3);
        for (int i = 0; i < sp.w; ++i) {
            if (src32) {
                const std::uint32_t v = reinterpret_cast<const acPixel32*>(s)[i];
                if (v != key) d[i] = v | 0xFF000000u;
            } else {
                const std::uint8_t* p = s + i * 3;
                const std::uint32_t v = p[0] | (p[1] << 8) | (static_cast<std::uint32_t>(p[2]) << 16);
                if (v != key) d[i] = v | 0xFF000000u;
            }
        }
    }
}

void CopyByMask(PixelRows dst, TRect R1, PixelRows src, TRect R2, const TCacheInfo& CI, bool UpdateTrans,
                int maskRowOffset) noexcept {
    if (dst.Empty() || src.Empty()) return;
    const Span sp = ClipSpan(dst, R1.Left, R1.Top, src, R2.Left, R2.Top, std::min(R1.Width(), R2.Width()),
                             std::min(R1.Height(), R2.Height()));
    if (sp.Empty()) return;
    const PixelRows parent = CI.Ready ? Rows32(CI.Bmp) : PixelRows{};
    const bool toParent = CI.Ready && UpdateTrans;
    const std::uint32_t fill = ColorToPixel(CI.FillColor, (static_cast<std::uint32_t>(CI.FillColor) >> 24) & 0xFF);
    for (int j = 0; j < sp.h; ++j) {
        const int y = sp.dy + j, sy = sp.sy + j;
        const int my = std::clamp(sy + maskRowOffset, 0, src.Height - 1);
        auto* d = reinterpret_cast<acPixel32*>(dst.Row(y)) + sp.dx;
        const auto* s = reinterpret_cast<const acPixel32*>(src.Row(sy)) + sp.sx;
        const auto* k = reinterpret_cast<const acPixel32*>(src.Row(my)) + sp.sx;
        if (toParent) {
            for (int i = 0; i < sp.w; ++i) {
                if (s[i] == KeyPixel) {
                    if (parent.Empty()) {
                        d[i] |= 0xFF000000u;
                        continue;
                    }
                    std::uint32_t p;
                    const ParentHit hit = ParentPixel(parent, sp.dx + i + CI.X, y + CI.Y, p);
                    if (hit == ParentHit::EndRow) break;
                    d[i] = (hit == ParentHit::Write ? p : d[i]) | 0xFF000000u;
                } else {
                    d[i] = pixelops::MaskBlend1(s[i], d[i], k[i]) | 0xFF000000u;
                }
            }
        } else {
            // Key pixels blend over a ready background, take the fill colour when asked
            // to, and are skipped otherwise.
            const auto rule = CI.Ready ? pixelops::KeyRule::Blend
                                       : (UpdateTrans ? pixelops::KeyRule::Fill : pixelops::KeyRule::Skip);
            pixelops::MaskBlendRow(d, s, k, sp.w, 1, rule, fill);
        }
    }
}

void CopyByMask(TRect R1, TRect R2, TBitmap* Bmp1, TBitmap* Bmp2, const TCacheInfo& CI, bool UpdateTrans,
                const TsMaskData& MaskData) noexcept {
    CopyByMask(Rows32(Bmp1), R1, Rows32(Bmp2), R2, CI, UpdateTrans, MaskData.R.Height() / 2);
}

void CopyByMask(TRect R1, TRect R2, TBitmap* Bmp1, TBitmap* Bmp2, const TCacheInfo& CI, bool UpdateTrans) noexcept {
    const PixelRows dst = Rows32(Bmp1), src = Rows32(Bmp2);
    if (dst.Empty() || src.Empty()) return;
    const Span sp = ClipSpan(dst, R1.Left, R1.Top, src, R2.Left, R2.Top, std::min(R1.Width(), R2.Width()),
                             std::min(R1.Height(), R2.Height()));
    if (sp.Empty()) return;
    const PixelRows parent = CI.Ready ? Rows32(CI.Bmp) : PixelRows{};
    const bool toParent = CI.Ready && UpdateTrans && !parent.Empty();
    for (int j = 0; j < sp.h; ++j) {
        const int y = sp.dy + j;
        auto* d = reinterpret_cast<acPixel32*>(dst.Row(y)) + sp.dx;
        const auto* s = reinterpret_cast<const acPixel32*>(src.Row(sp.sy + j)) + sp.sx;
        for (int i = 0; i < sp.w; ++i) {
            if (toParent && s[i] == KeyPixel) {
                std::uint32_t p;
                const ParentHit hit = ParentPixel(parent, sp.dx + i + CI.X, y + CI.Y, p);
                if (hit == ParentHit::EndRow) break;
                if (hit == ParentHit::Write) d[i] = p;
                continue;
            }
            const std::uint32_t a = s[i] >> 24;
            std::uint32_t out = d[i] & ~kRgb;
            for (int shift = 0; shift < 24; shift += 8) {
                const std::uint32_t sc = (s[i] >> shift) & 0xFF, dc = (d[i] >> shift) & 0xFF;
                out |= (((dc * (256 - a) + sc * a) >> 8) & 0xFF) << shift;
            }
            d[i] = out;
        }
    }
}

}  // namespace qv
