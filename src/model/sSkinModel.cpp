#include "model/sSkinModel.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <unordered_map>

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

namespace {

// The six images every section caches, in the order of TsSectionImages::Index.
enum TSectionImage { siBorder, siTopLeft, siTopRight, siBottomLeft, siBottomRight, siPattern, siCount };

// The cached image a mask stands for (its property name, and for the pattern, a texture
// only), or siCount for any other mask.
int SectionImageOf(const TsMaskData& m) noexcept {
    const String& n = m.PropertyName;
    if (n == L"BORDERSMASK") return siBorder;
    if (n == L"IMGTOPLEFT") return siTopLeft;
    if (n == L"IMGTOPRIGHT") return siTopRight;
    if (n == L"IMGBTMLEFT") return siBottomLeft;
    if (n == L"IMGBTMRIGHT") return siBottomRight;
    if (n == L"PATTERN" && m.ImgType == itisaTexture) return siPattern;
    return siCount;
}

struct TsSectionImages {
    std::array<int, siCount> Index{-1, -1, -1, -1, -1, -1};
    bool Complete() const noexcept { return std::find(Index.begin(), Index.end(), -1) == Index.end(); }
    // Takes the indexes this one still lacks from other.
    void FillFrom(const TsSectionImages& other) noexcept {
        for (int k = 0; k < siCount; ++k)
            if (Index[k] < 0) Index[k] = other.Index[k];
    }
};

// What InitMaskIndexes looks up, answered from two hash tables built once instead of a
// scan of every image for every section, name and parent step: the first section of each
// name, and per section name the first image of each cached kind, as the scans find them.
class MaskIndexTables {
public:
    explicit MaskIndexTables(const TsSkinModel& model) {
        FSections.reserve(model.gd.size());
        for (std::size_t i = 0; i < model.gd.size(); ++i) FSections.emplace(model.gd[i].ClassName, static_cast<int>(i));
        for (std::size_t i = 0; i < model.ma.size(); ++i) {
            const TsMaskData& m = model.ma[i];
            const int kind = SectionImageOf(m);
            if (m.ClassName.empty() || kind == siCount) continue;
            int& index = FImages[m.ClassName].Index[static_cast<std::size_t>(kind)];
            if (index < 0) index = static_cast<int>(i);
        }
    }
    // The section's own images, then its parent's for those still missing, and so on up
    // the PARENTCLASS chain (at most MaxParentDepth steps, so a loop ends).
    TsSectionImages Find(const TsSkinModel& model, int skinIndex) const {
        TsSectionImages result;
        std::wstring_view section = model.gd[static_cast<std::size_t>(skinIndex)].ClassName;
        for (int depth = 0; depth <= MaxParentDepth && !result.Complete(); ++depth) {
            if (skinIndex < 0 || section.empty() || !model.IsValidSkinIndex(skinIndex)) break;
            const auto found = FImages.find(section);
            if (found != FImages.end()) result.FillFrom(found->second);
            const String& parent = model.gd[static_cast<std::size_t>(skinIndex)].ParentClass;
            if (parent.empty() || parent == section) break;
            section = parent;
            const auto next = FSections.find(section);
            skinIndex = next == FSections.end() ? -1 : next->second;
        }
        return result;
    }

private:
    // Views of the model's own strings, which outlive the tables.
    std::unordered_map<std::wstring_view, int> FSections;
    std::unordered_map<std::wstring_view, TsSectionImages> FImages;
};

}  // namespace

void TsSkinModel::InitMaskIndexes() noexcept {
    try {
        const MaskIndexTables tables(*this);
        for (std::size_t i = 0; i < gd.size(); ++i) {
            TsGeneralData& g = gd[i];
            if (g.ClassName == L"GLOBALINFO") continue;
            const TsSectionImages images = tables.Find(*this, static_cast<int>(i));
            g.BorderIndex = images.Index[siBorder];
            g.ImgTL = images.Index[siTopLeft];
            g.ImgTR = images.Index[siTopRight];
            g.ImgBL = images.Index[siBottomLeft];
            g.ImgBR = images.Index[siBottomRight];
            g.TextureNormal = images.Index[siPattern];
        }
        return;
    } catch (...) {
        // No memory for the tables: the plain scans below give the same indexes.
    }
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
