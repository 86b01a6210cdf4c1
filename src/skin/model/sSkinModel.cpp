#include "skin/model/sSkinModel.h"

namespace qv {

int TsSkinModel::GetSkinIndex(const String& skinSection) const noexcept {
    for (std::size_t i = 0; i < gd.size(); ++i)
        if (gd[i].ClassName == skinSection) return static_cast<int>(i);
    return -1;
}

namespace {

// Walks section, its parent, its parent's parent... (at most MaxParentDepth steps, so a
// PARENTCLASS loop ends) and returns the first index match(section) finds.
template <class Match>
int FindUpChain(const TsSkinModel& model, int skinIndex, String section, Match match) noexcept {
    for (int depth = 0; depth <= MaxParentDepth; ++depth) {
        if (skinIndex < 0 || section.empty() || !model.IsValidSkinIndex(skinIndex)) return -1;
        const int found = match(section);
        if (found >= 0) return found;
        const String& parent = model.gd[static_cast<std::size_t>(skinIndex)].ParentClass;
        if (parent.empty() || parent == section) return -1;
        section = parent;
        skinIndex = model.GetSkinIndex(parent);
    }
    return -1;
}

}  // namespace

int TsSkinModel::GetMaskIndex(const String& skinSection, const String& maskName) const noexcept {
    if (skinSection.empty()) return -1;
    for (std::size_t i = 0; i < ma.size(); ++i)
        if (ma[i].ClassName == skinSection && ma[i].PropertyName == maskName) return static_cast<int>(i);
    return -1;
}

int TsSkinModel::GetMaskIndex(int skinIndex, const String& skinSection, const String& maskName) const noexcept {
    return FindUpChain(*this, skinIndex, skinSection,
                       [&](const String& section) { return GetMaskIndex(section, maskName); });
}

int TsSkinModel::GetTextureIndex(int skinIndex, const String& skinSection, const String& propName) const noexcept {
    if (ma.empty()) return -1;
    return FindUpChain(*this, skinIndex, skinSection, [&](const String& section) {
        for (std::size_t i = 0; i < ma.size(); ++i)
            if (ma[i].ImgType == itisaTexture && ma[i].ClassName == section && ma[i].PropertyName == propName)
                return static_cast<int>(i);
        return -1;
    });
}

int TsSkinModel::GetPatternIndex(int skinIndex, const String& skinSection, const String& pattern) const noexcept {
    return FindUpChain(*this, skinIndex, skinSection, [&](const String& section) {
        for (std::size_t i = 0; i < pa.size(); ++i)
            if (pa[i].ClassName == section && pa[i].PropertyName == pattern) return static_cast<int>(i);
        return -1;
    });
}

void TsSkinModel::InitMaskIndexes() noexcept {
    for (std::size_t i = 0; i < gd.size(); ++i) {
        TsGeneralData& g = gd[i];
        if (g.ClassName == L"GLOBALINFO") continue;
        const int index = static_cast<int>(i);
        g.BorderIndex = GetMaskIndex(index, g.ClassName, L"BORDERSMASK");
        g.ImgTL = GetMaskIndex(index, g.ClassName, L"IMGTOPLEFT");
        g.ImgTR = GetMaskIndex(index, g.ClassName, L"IMGTOPRIGHT");
        g.ImgBL = GetMaskIndex(index, g.ClassName, L"IMGBTMLEFT");
        g.ImgBR = GetMaskIndex(index, g.ClassName, L"IMGBTMRIGHT");
        g.TextureNormal = GetTextureIndex(index, g.ClassName, L"PATTERN");
    }
}

void TsSkinModel::ReleaseImages() noexcept {
    ma.clear();
    pa.clear();
    MasterBitmap.SetSize(0, 0);
}

}  // namespace qv
