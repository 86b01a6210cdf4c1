// TsSkinModel: everything one loaded skin consists of (skin-wide values, sections,
// images, patterns, master bitmap), owned by the skin manager for as long as the skin
// is active, with the lookups of sections and images by name. Portable.
#pragma once
#include "framework/Bitmap.h"
#include "framework/Types.h"
#include "skin/sMaskData.h"
#include "skin/sSkinData.h"

#include <vector>

namespace qv {

class TsSkinModel {
public:
    TsSkinModel() = default;
    TsSkinModel(const TsSkinModel&) = delete;
    TsSkinModel& operator=(const TsSkinModel&) = delete;

    TsSkinData SkinData;
    std::vector<TsGeneralData> gd;  // one per section, in file order
    std::vector<TsMaskData> ma;     // every image
    std::vector<TsPatternData> pa;  // large JPEG pictures
    TBitmap MasterBitmap;           // 32-bit; empty when the skin names none
    TsSkinManager* Manager = nullptr;  // stored into every image's Manager

    // First section named exactly skinSection; -1 when none.
    int GetSkinIndex(const String& skinSection) const noexcept;
    // First image of section/maskName; when none, the same lookup in the parent section
    // (PARENTCLASS of gd[skinIndex]) and so on up the chain. -1 when absent.
    int GetMaskIndex(int skinIndex, const String& skinSection, const String& maskName) const noexcept;
    // The same without looking at parents.
    int GetMaskIndex(const String& skinSection, const String& maskName) const noexcept;
    // As GetMaskIndex with parents, counting only texture images.
    int GetTextureIndex(int skinIndex, const String& skinSection, const String& propName) const noexcept;
    // As GetMaskIndex with parents, over the patterns.
    int GetPatternIndex(int skinIndex, const String& skinSection, const String& pattern) const noexcept;
    bool IsValidSkinIndex(int i) const noexcept { return i >= 0 && i < static_cast<int>(gd.size()); }
    bool IsValidImgIndex(int i) const noexcept { return i >= 0 && i < static_cast<int>(ma.size()); }

    // Fills every section's (but GLOBALINFO's) BorderIndex, ImgTL..ImgBR and
    // TextureNormal from its images.
    void InitMaskIndexes() noexcept;

    // Releases images and patterns (the master bitmap included).
    void ReleaseImages() noexcept;
};

}  // namespace qv
