// The default source of painting and the bitmap an image is cut from.
#include "model/acSkinSource.h"

namespace qv {

namespace {

TacSkinSource* gDefaultSource = nullptr;

}  // namespace

void SetDefaultSkinSource(TacSkinSource* source) noexcept { gDefaultSource = source; }
TacSkinSource* DefaultSkinSource() noexcept { return gDefaultSource; }

TBitmap* MaskSourceBitmap(const TsMaskData& md) noexcept {
    TBitmap* bmp = md.Bmp.get();
    if (!bmp && md.Owner) bmp = md.Owner->SkinMasterBitmap();
    if (!bmp || bmp->Empty() || bmp->PixelFormat() != pf32bit) return nullptr;
    return bmp;
}

}  // namespace qv
