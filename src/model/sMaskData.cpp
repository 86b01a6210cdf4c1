#include "model/sMaskData.h"

#include <algorithm>

namespace qv {

int WidthOfImage(const TsMaskData& md) noexcept {
    if (md.ImageCount <= 0) return 0;
    return md.ImageCount == 1 ? md.R.Width() : md.R.Width() / md.ImageCount;
}

int HeightOfImage(const TsMaskData& md) noexcept {
    if (md.MaskType < 0) return 0;
    return md.MaskType == 0 ? md.R.Height() : md.R.Height() / (md.MaskType + 1);
}

namespace {

// Key pixels are stored with alpha 0, so the key test compares the colour bytes only
// and also accepts a key pixel whose alpha was set by a converter.
bool HasKeyPixel(const TBitmap& bmp, int x1, int x2, int y1, int y2) noexcept {
    // Each end is clipped to the last column or row, as the corner areas are described;
    // negative starts are clipped to 0 so a rectangle partly off the image never reads
    // outside it.
    const int lastX = bmp.Width() - 1, lastY = bmp.Height() - 1;
    x1 = std::clamp(x1, 0, lastX);
    x2 = std::clamp(x2, 0, lastX);
    y1 = std::clamp(y1, 0, lastY);
    y2 = std::clamp(y2, 0, lastY);
    for (int y = y1; y < y2; ++y)
        for (int x = x1; x < x2; ++x)
            if ((bmp.Pixel32(x, y) & 0xFFFFFF) == 0xFF00FF) return true;
    return false;
}

}  // namespace

int GetCornerType(const TsMaskData& md, const TBitmap* master) noexcept {
    if (md.ClassName == L"BUTTON_HUGE" && md.PropertyName == L"BORDERSMASK") return 2;
    const TBitmap* bmp = md.Bmp ? md.Bmp.get() : master;
    if (!bmp || bmp->Empty() || bmp->PixelFormat() != pf32bit || md.ImageCount <= 0) return 0;
    const int x0 = md.R.Left, y0 = md.R.Top;
    const int w = md.R.Width() / md.ImageCount;
    const int h = md.R.Height() / (md.MaskType + 1 > 0 ? md.MaskType + 1 : 1);
    if (HasKeyPixel(*bmp, x0, x0 + md.WL, y0, y0 + md.WT)) return 1;
    if (HasKeyPixel(*bmp, x0 + w - md.WR, x0 + w, y0, y0 + md.WT)) return 1;
    if (HasKeyPixel(*bmp, x0, x0 + md.WL, y0 + h - md.WB, y0 + h)) return 1;
    if (HasKeyPixel(*bmp, x0 + w - md.WR, x0 + w, y0 + h - md.WB, y0 + h)) return 1;
    return 0;
}

}  // namespace qv
