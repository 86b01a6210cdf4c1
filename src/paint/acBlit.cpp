// Block copy, pixel-dropping stretch and fill on 32-bit rows.
#include "paint/acBlit.h"

#include "paint/acPixelOps.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace qv {

void BlockCopy(PixelRows dst, int dx, int dy, int w, int h, PixelRows src, int sx, int sy) noexcept {
    if (dst.Empty() || src.Empty() || w <= 0 || h <= 0) return;
    const Span sp = ClipSpan(dst, dx, dy, src, sx, sy, w, h);
    if (sp.Empty()) return;
    const std::size_t bytes = static_cast<std::size_t>(sp.w) * 4;
    for (int y = 0; y < sp.h; ++y) std::memmove(dst.Row(sp.dy + y) + sp.dx * 4, src.Row(sp.sy + y) + sp.sx * 4, bytes);
}

void StretchCopy(PixelRows dst, TRect dstRect, PixelRows src, TRect srcRect) noexcept {
    if (dst.Empty() || src.Empty() || dstRect.IsEmpty() || srcRect.IsEmpty()) return;
    const int dw = dstRect.Width(), dh = dstRect.Height();
    const int sw = srcRect.Width(), sh = srcRect.Height();
    const TRect clip = IntersectRect(dstRect, dst.Bounds());
    if (clip.IsEmpty()) return;
    // Source column of each destination column, computed once.
    std::vector<int> columns;
    try {
        columns.resize(static_cast<std::size_t>(clip.Width()));
    } catch (...) {
        return;
    }
    for (int x = clip.Left; x < clip.Right; ++x) {
        const long long i = x - dstRect.Left;
        columns[x - clip.Left] = srcRect.Left + static_cast<int>((2 * i + 1) * sw / (2LL * dw));
    }
    for (int y = clip.Top; y < clip.Bottom; ++y) {
        const long long j = y - dstRect.Top;
        const int sy = srcRect.Top + static_cast<int>((2 * j + 1) * sh / (2LL * dh));
        if (sy < 0 || sy >= src.Height) continue;
        const auto* s = reinterpret_cast<const acPixel32*>(src.Row(sy));
        auto* d = reinterpret_cast<acPixel32*>(dst.Row(y));
        for (int x = clip.Left; x < clip.Right; ++x) {
            const int sx = columns[x - clip.Left];
            if (sx >= 0 && sx < src.Width) d[x] = s[sx];
        }
    }
}

void FillPixels(PixelRows dst, TRect r, std::uint32_t pixel) noexcept {
    if (dst.Empty()) return;
    r = ClipRect(r, dst.Width, dst.Height);
    if (r.IsEmpty()) return;
    for (int y = r.Top; y < r.Bottom; ++y) {
        pixelops::FillRow(reinterpret_cast<acPixel32*>(dst.Row(y)) + r.Left, r.Width(), pixel);
    }
}

}  // namespace qv
