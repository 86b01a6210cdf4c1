#include "skin/model/sSkinModel.h"

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

// The lookups InitMaskIndexes makes, answered from hash tables built once instead of a
// scan of every image for every section, name and parent step: the first section of
// each name and the first image (and first texture) of each section and property name,
// as the scans find them.
class MaskIndexTables {
public:
    explicit MaskIndexTables(const TsSkinModel& model) {
        FSections.reserve(model.gd.size());
        FMasks.reserve(model.ma.size());
        for (std::size_t i = 0; i < model.gd.size(); ++i) FSections.emplace(model.gd[i].ClassName, static_cast<int>(i));
        for (std::size_t i = 0; i < model.ma.size(); ++i) {
            const TsMaskData& m = model.ma[i];
            if (m.ClassName.empty()) continue;
            FMasks.emplace(Key{m.ClassName, m.PropertyName}, static_cast<int>(i));
            if (m.ImgType == itisaTexture) FTextures.emplace(Key{m.ClassName, m.PropertyName}, static_cast<int>(i));
        }
    }
    // FindUpChain over the tables.
    int Find(const TsSkinModel& model, int skinIndex, std::wstring_view section, std::wstring_view name,
             bool texture) const {
        const auto& table = texture ? FTextures : FMasks;
        for (int depth = 0; depth <= MaxParentDepth; ++depth) {
            if (skinIndex < 0 || section.empty() || !model.IsValidSkinIndex(skinIndex)) return -1;
            const auto found = table.find(Key{section, name});
            if (found != table.end()) return found->second;
            const String& parent = model.gd[static_cast<std::size_t>(skinIndex)].ParentClass;
            if (parent.empty() || parent == section) return -1;
            section = parent;
            const auto next = FSections.find(section);
            skinIndex = next == FSections.end() ? -1 : next->second;
        }
        return -1;
    }

private:
    // Views of the model's own strings, which outlive the tables.
    struct Key {
        std::wstring_view Section, Name;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& k) const noexcept {
            const std::hash<std::wstring_view> h;
            return h(k.Section) * 31 + h(k.Name);
        }
    };
    std::unordered_map<std::wstring_view, int> FSections;
    std::unordered_map<Key, int, KeyHash> FMasks, FTextures;
};

}  // namespace

void TsSkinModel::InitMaskIndexes() noexcept {
    try {
        const MaskIndexTables tables(*this);
        for (std::size_t i = 0; i < gd.size(); ++i) {
            TsGeneralData& g = gd[i];
            if (g.ClassName == L"GLOBALINFO") continue;
            const int index = static_cast<int>(i);
            g.BorderIndex = tables.Find(*this, index, g.ClassName, L"BORDERSMASK", false);
            g.ImgTL = tables.Find(*this, index, g.ClassName, L"IMGTOPLEFT", false);
            g.ImgTR = tables.Find(*this, index, g.ClassName, L"IMGTOPRIGHT", false);
            g.ImgBL = tables.Find(*this, index, g.ClassName, L"IMGBTMLEFT", false);
            g.ImgBR = tables.Find(*this, index, g.ClassName, L"IMGBTMRIGHT", false);
            g.TextureNormal = tables.Find(*this, index, g.ClassName, L"PATTERN", true);
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
