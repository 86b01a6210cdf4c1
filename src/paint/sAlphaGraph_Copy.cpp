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

// The parent pixels under one destination row of n pixels from column dx of row y, in
// the form the row kernels take, and where the row ends: at its first key pixel above
// the parent or right of it (as ParentPixel says).
struct ParentSpan {
    const acPixel32* Row = nullptr;
    std::ptrdiff_t Offset = 0;
    int Lo = 0, Hi = 0;
    int End = 0;
};

ParentSpan ParentSpanOf(const PixelRows& parent, int dx, int y, const TCacheInfo& CI, const acPixel32* s,
                        std::uint32_t key, int n) noexcept {
    ParentSpan p;
    p.End = n;
    if (parent.Empty()) return p;
    const int py = y + CI.Y;
    const long long offset = static_cast<long long>(dx) + CI.X;
    const long long pastRight = parent.Width - offset;  // first i right of the parent
    const int from = py < 0 ? 0 : static_cast<int>(std::clamp<long long>(pastRight, 0, n));
    for (int i = from; i < n; ++i)
        if (s[i] == key) {
            p.End = i;
            break;
        }
    if (py < 0 || py >= parent.Height) return p;
    p.Row = reinterpret_cast<const acPixel32*>(parent.Row(py));
    p.Offset = static_cast<std::ptrdiff_t>(offset);
    p.Lo = static_cast<int>(std::clamp<long long>(-offset, 0, n));
    p.Hi = static_cast<int>(std::clamp<long long>(pastRight, p.Lo, p.End));
    return p;
}

// Points a row's arguments at its parent span; the row ends where the span ends.
template <class RowArgs>
void TakeParentSpan(RowArgs& a, const ParentSpan& p) noexcept {
    a.N = p.End;
    a.Parent = p.Row;
    a.ParentOffset = p.Offset;
    a.ParentLo = p.Lo;
    a.ParentHi = p.Hi;
}

// Whether two views share any byte: the kernels read the parent a vector ahead of what
// they write, so a parent that is the destination itself takes the one-pixel loop.
bool Overlap(const PixelRows& a, const PixelRows& b) noexcept {
    if (a.Empty() || b.Empty()) return false;
    auto span = [](const PixelRows& r, const std::uint8_t*& lo, const std::uint8_t*& hi) {
        const std::uint8_t* first = r.Row(0);
        const std::uint8_t* last = r.Row(r.Height - 1);
        lo = std::min(first, last);
        hi = std::max(first, last) + static_cast<std::ptrdiff_t>(r.Width) * 4;
    };
    const std::uint8_t *alo, *ahi, *blo, *bhi;
    span(a, alo, ahi);
    span(b, blo, bhi);
    return alo < bhi && blo < ahi;
}

}  // namespace

void CopyTransRect(PixelRows dst, PixelRows src, int X, int Y, TRect SrcRect, TColor TransColor, const TCacheInfo& CI,
                   bool UpdateTrans, bool dstIsParent) noexcept {
    if (dst.Empty() || src.Empty()) return;
    const Span sp = ClipSpan(dst, X, Y, src, SrcRect.Left, SrcRect.Top, SrcRect.Right - SrcRect.Left + 1,
                             SrcRect.Bottom - SrcRect.Top + 1);
    if (sp.Empty()) return;
    const std::uint32_t key = ColorToPixel(TransColor, 0);
    const PixelRows parent = CI.Ready ? Rows32(CI.Bmp) : PixelRows{};
    const bool toParent = UpdateTrans && CI.Ready && !parent.Empty();
    const bool readsParent = toParent && !dstIsParent;
    const bool aliased = readsParent && Overlap(parent, dst);
    const auto& kernels = aliased ? pixelops::KernelsFor(pixelops::KernelLevel::Plain) : pixelops::Kernels();
    // Opaque copies where the parent is involved; key pixels skipped over a ready
    // background, replaced by the parent's pixel or by the fill colour otherwise.
    const auto mode = readsParent ? pixelops::KeyCopyMode::Parent
                                  : (toParent || CI.Ready ? pixelops::KeyCopyMode::Skip : pixelops::KeyCopyMode::Fill);
    const auto row = kernels.KeyCopyRow[static_cast<int>(mode)];
    auto copyRow = [&](int j) {
        pixelops::KeyCopyArgs a{nullptr, nullptr, sp.w, key};
        a.SetOr = toParent ? 0xFF000000u : 0;
        a.Fill = ColorToPixel(CI.FillColor);
        const int y = sp.dy + j;
        a.D = reinterpret_cast<acPixel32*>(dst.Row(y)) + sp.dx;
        a.S = reinterpret_cast<const acPixel32*>(src.Row(sp.sy + j)) + sp.sx;
        if (readsParent) {
            TakeParentSpan(a, ParentSpanOf(parent, sp.dx, y, CI, a.S, key, sp.w));
        }
        if (a.N > 0) row(a);
    };
    pixelops::RowsInAddressOrder(aliased ? 1 : src.Delta, sp.h, copyRow);
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
    // Key pixels show the parent (and everything becomes opaque) when asked to update
    // them over a ready background, blend over a ready background otherwise, take the
    // fill colour when asked to update them, and are skipped otherwise.
    const auto rule = toParent ? pixelops::KeyRule::Parent
                               : (CI.Ready ? pixelops::KeyRule::Blend
                                           : (UpdateTrans ? pixelops::KeyRule::Fill : pixelops::KeyRule::Skip));
    const bool aliased = toParent && Overlap(parent, dst);
    const auto& kernels = aliased ? pixelops::KernelsFor(pixelops::KernelLevel::Plain) : pixelops::Kernels();
    const auto row = kernels.MaskRow[static_cast<int>(rule)];
    // Rows in address order, except for a parent that is the destination itself: the
    // one-pixel loop then keeps the top-down order whose results callers have seen.
    auto copyRow = [&](int j) {
        pixelops::MaskRowArgs a{nullptr, nullptr, nullptr, sp.w};
        a.Fill = ColorToPixel(CI.FillColor, (static_cast<std::uint32_t>(CI.FillColor) >> 24) & 0xFF);
        a.KeyOutsideOr = 0xFF000000u;
        const int y = sp.dy + j, sy = sp.sy + j;
        const int my = std::clamp(sy + maskRowOffset, 0, src.Height - 1);
        a.D = reinterpret_cast<acPixel32*>(dst.Row(y)) + sp.dx;
        a.S = reinterpret_cast<const acPixel32*>(src.Row(sy)) + sp.sx;
        a.K = reinterpret_cast<const acPixel32*>(src.Row(my)) + sp.sx;
        if (toParent) {
            TakeParentSpan(a, ParentSpanOf(parent, sp.dx, y, CI, a.S, KeyPixel, sp.w));
        }
        if (a.N > 0) row(a);
    };
    pixelops::RowsInAddressOrder(aliased ? 1 : src.Delta, sp.h, copyRow);
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
