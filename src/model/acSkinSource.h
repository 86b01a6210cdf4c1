// TacSkinSource: what the painting routines need from a loaded skin (its sections,
// images, patterns and master bitmap, and the lookups by name). The skin model
// (TsSkinModel) implements it, and the skin manager is a skin model, so the manager, the
// skin tool, the tests and the benchmarks all hand painting the same kind of source.
// Every image names the source it belongs to (TsMaskData::Owner), so a mask alone can
// reach the master bitmap it is cut from.
#pragma once
#include "framework/Bitmap.h"
#include "framework/Types.h"
#include "model/sMaskData.h"
#include "model/sSkinData.h"

#include <algorithm>
#include <vector>

namespace qv {

class TacSkinSource {
public:
    TacSkinSource() = default;
    TacSkinSource(const TacSkinSource&) = delete;
    TacSkinSource& operator=(const TacSkinSource&) = delete;
    virtual ~TacSkinSource() = default;

    // The skin's arrays (sections, images, patterns) and its master bitmap (none or empty
    // when the skin has none).
    virtual const std::vector<TsGeneralData>& SkinSections() const noexcept = 0;
    virtual const std::vector<TsMaskData>& SkinImages() const noexcept = 0;
    virtual const std::vector<TsPatternData>& SkinPatterns() const noexcept = 0;
    virtual TBitmap* SkinMasterBitmap() const noexcept = 0;

    virtual int GetSkinIndex(const String& skinSection) const noexcept = 0;
    virtual int GetMaskIndex(int skinIndex, const String& skinSection, const String& maskName) const noexcept = 0;
    virtual int GetTextureIndex(int skinIndex, const String& skinSection, const String& propName) const noexcept = 0;
    virtual int GetPatternIndex(int skinIndex, const String& skinSection, const String& pattern) const noexcept = 0;

    // The skin's global colour (the form background), an RGB value.
    virtual TColor GetGlobalColor() const noexcept { return ColorToRGB(clBtnFace); }
    // The section of web-style buttons (underlined captions when hot); -1 when none.
    virtual int WebBtnIndex() const noexcept { return -1; }
    // Images of the small check box for unchecked (0), checked (1) and grayed (2); -1 when
    // the skin has none.
    virtual int SmallCheckBoxIndex(int /*state*/) const noexcept { return -1; }

    bool IsValidSkinIndex(int i) const noexcept { return i >= 0 && i < static_cast<int>(SkinSections().size()); }
    bool IsValidImgIndex(int i) const noexcept { return i >= 0 && i < static_cast<int>(SkinImages().size()); }
};

// The source used when a routine is given none (the default manager's).
void SetDefaultSkinSource(TacSkinSource* source) noexcept;
TacSkinSource* DefaultSkinSource() noexcept;

// The bitmap an image is cut from: its own Bmp, else its manager's master bitmap; nullptr
// when neither exists or the bitmap is not 32-bit.
TBitmap* MaskSourceBitmap(const TsMaskData& md) noexcept;

// The state a section paints for state: one past its last state paints as its last,
// a negative one as state 0.
inline int SectionState(const TsGeneralData& gd, int state) noexcept {
    return std::clamp(state, 0, std::max(gd.States - 1, 0));
}

}  // namespace qv
