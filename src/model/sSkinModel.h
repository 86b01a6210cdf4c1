// TsSkinModel: everything one loaded skin consists of (skin-wide values, sections,
// images, patterns, master bitmap), owned by the skin manager for as long as the skin
// is active, with the lookups of sections and images by name. It is the source the
// painting routines read (TacSkinSource); every image it loads names it as its owner.
// Portable.
#pragma once
#include "framework/Bitmap.h"
#include "framework/Types.h"
#include "model/acSkinSource.h"
#include "model/sMaskData.h"
#include "model/sSkinData.h"

#include <vector>

namespace qv {

class TsSkinModel : public TacSkinSource {
public:
    TsSkinModel() = default;
    TsSkinModel(const TsSkinModel&) = delete;
    TsSkinModel& operator=(const TsSkinModel&) = delete;
    ~TsSkinModel() override = default;

    TsSkinData SkinData;
    std::vector<TsGeneralData> gd;  // one per section, in file order
    std::vector<TsMaskData> ma;     // every image
    std::vector<TsPatternData> pa;  // large JPEG pictures
    TBitmap MasterBitmap;           // 32-bit; empty when the skin names none

    // First section named exactly skinSection; -1 when none.
    int GetSkinIndex(const String& skinSection) const noexcept override;
    // First image of section/maskName; when none, the same lookup in the parent section
    // (PARENTCLASS of gd[skinIndex]) and so on up the chain. -1 when absent.
    int GetMaskIndex(int skinIndex, const String& skinSection, const String& maskName) const noexcept override;
    // The same without looking at parents.
    int GetMaskIndex(const String& skinSection, const String& maskName) const noexcept;
    // As GetMaskIndex with parents, counting only texture images.
    int GetTextureIndex(int skinIndex, const String& skinSection, const String& propName) const noexcept override;
    // As GetMaskIndex with parents, over the patterns.
    int GetPatternIndex(int skinIndex, const String& skinSection, const String& pattern) const noexcept override;
    bool IsValidSkinIndex(int i) const noexcept { return i >= 0 && i < static_cast<int>(gd.size()); }
    bool IsValidImgIndex(int i) const noexcept { return i >= 0 && i < static_cast<int>(ma.size()); }

    // ---- the painting routines' view ----
    const std::vector<TsGeneralData>& SkinSections() const noexcept override { return gd; }
    const std::vector<TsMaskData>& SkinImages() const noexcept override { return ma; }
    const std::vector<TsPatternData>& SkinPatterns() const noexcept override { return pa; }
    // The routines only read the master bitmap, but they take it as a plain TBitmap*.
    TBitmap* SkinMasterBitmap() const noexcept override {
        return MasterBitmap.Empty() ? nullptr : const_cast<TBitmap*>(&MasterBitmap);
    }

    // Fills every section's (but GLOBALINFO's) BorderIndex, ImgTL..ImgBR and
    // TextureNormal from its images.
    void InitMaskIndexes() noexcept;

    // Releases images and patterns (the master bitmap included).
    void ReleaseImages() noexcept;
};

}  // namespace qv
