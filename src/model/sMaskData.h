// TsMaskData: one image of a skin (a rectangle of the master bitmap or an image of its
// own) with the geometry of its state images and mask rows. Portable.
#pragma once
#include "framework/Bitmap.h"
#include "framework/Types.h"

#include <cstdint>
#include <memory>

namespace qv {

class TacSkinSource;

enum TacImgType : std::int16_t {
    itisaBorder = 0,
    itisaTexture = 1,
    itisaGlyph = 2,
    itisaGlow = 3,
    itisaPngGlyph = 4,
};

// Bits of a border image's DrawMode (a texture's DrawMode is its fill mode instead).
constexpr std::int16_t dmStretch = 1;           // sides and centre stretched instead of tiled
constexpr std::int16_t dmHiddenWhenNormal = 2;  // not drawn in the normal state (state 0)
constexpr std::int16_t dmDrawCentre = 4;        // the centre piece is drawn

struct TsMaskData {
    std::unique_ptr<TBitmap> Bmp;  // own 32-bit image; none for a rectangle of the master bitmap
    String ClassName;
    String PropertyName;
    TRect R;  // all state images and mask rows, in Bmp or the master bitmap
    std::int16_t ImageCount = 0;
    std::int16_t MaskType = 0;
    std::int16_t BorderWidth = 0;
    std::int16_t DrawMode = 0;
    TacImgType ImgType = itisaBorder;
    const TacSkinSource* Owner = nullptr;  // the skin this image belongs to
    std::int16_t WL = 0, WT = 0, WR = 0, WB = 0;
    std::int16_t CornerType = 0;
};

// Size of one state image: R's width divided among ImageCount images (0 when
// ImageCount is 0); R's height divided among the state row and MaskType mask rows.
int WidthOfImage(const TsMaskData& md) noexcept;
int HeightOfImage(const TsMaskData& md) noexcept;

// 2 for the frame of BUTTON_HUGE (never examined); otherwise 1 when a pixel of one of
// the four corner areas of the first state image is the key colour, else 0. The pixels
// come from md.Bmp or, when it has none, from master.
int GetCornerType(const TsMaskData& md, const TBitmap* master) noexcept;

}  // namespace qv
