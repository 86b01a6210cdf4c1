// Unwrapping bitmaps into pixel views.
#include "paint/PixelRows.h"

#include <algorithm>

namespace qv {

PixelRows Rows32(TBitmap* bmp) noexcept {
    if (!bmp || bmp->Empty() || bmp->PixelFormat() != pf32bit) return {};
    return {bmp->ScanLine(0), bmp->Delta(), bmp->Width(), bmp->Height()};
}

PixelRows RowsOf(TBitmap* bmp) noexcept {
    if (!bmp || bmp->Empty()) return {};
    if (bmp->PixelFormat() != pf32bit && bmp->PixelFormat() != pf24bit) return {};
    return {bmp->ScanLine(0), bmp->Delta(), bmp->Width(), bmp->Height()};
}

TRect ClipRect(TRect r, int width, int height) noexcept {
    r.Left = std::max(r.Left, 0);
    r.Top = std::max(r.Top, 0);
    r.Right = std::min(r.Right, width);
    r.Bottom = std::min(r.Bottom, height);
    if (r.IsEmpty()) return {};
    return r;
}

Span ClipSpan(const PixelRows& dst, int dx, int dy, const PixelRows& src, int sx, int sy, int w, int h) noexcept {
    if (sx < 0) {
        dx -= sx;
        w += sx;
        sx = 0;
    }
    if (sy < 0) {
        dy -= sy;
        h += sy;
        sy = 0;
    }
    if (dx < 0) {
        sx -= dx;
        w += dx;
        dx = 0;
    }
    if (dy < 0) {
        sy -= dy;
        h += dy;
        dy = 0;
    }
    w = std::min({w, src.Width - sx, dst.Width - dx});
    h = std::min({h, src.Height - sy, dst.Height - dy});
    return {dx, dy, sx, sy, w, h};
}

}  // namespace qv
