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

}  // namespace qv
