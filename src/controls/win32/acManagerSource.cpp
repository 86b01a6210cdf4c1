#include "controls/win32/acManagerSource.h"

#include <map>
#include <memory>

namespace qv {

namespace {

class TacManagerModelSource final : public TacSkinSource {
public:
    explicit TacManagerModelSource(TsSkinManager* manager) noexcept : FManager(manager) {}
    const std::vector<TsGeneralData>& SkinSections() const noexcept override { return FManager->gd; }
    const std::vector<TsMaskData>& SkinImages() const noexcept override { return FManager->ma; }
    const std::vector<TsPatternData>& SkinPatterns() const noexcept override { return FManager->pa; }
    TBitmap* SkinMasterBitmap() const noexcept override { return &FManager->MasterBitmap; }
    int GetSkinIndex(const String& s) const noexcept override { return FManager->GetSkinIndex(s); }
    int GetMaskIndex(int i, const String& s, const String& m) const noexcept override {
        return FManager->GetMaskIndex(i, s, m);
    }
    int GetTextureIndex(int i, const String& s, const String& p) const noexcept override {
        return FManager->GetTextureIndex(i, s, p);
    }
    int GetPatternIndex(int i, const String& s, const String& p) const noexcept override {
        return FManager->GetPatternIndex(i, s, p);
    }
    TColor GetGlobalColor() const noexcept override {
        try {
            return FManager->GetGlobalColor();
        } catch (...) {
            return ColorToRGB(clBtnFace);
        }
    }

private:
    TsSkinManager* FManager;
};

}  // namespace

TacSkinSource* ManagerSource(TsSkinManager* manager) noexcept {
    if (!manager) return nullptr;
    if (TacSkinSource* bound = SkinSourceOf(manager)) return bound;
    // Adapters live as long as the process: a manager is created once or twice per run,
    // and a later manager at the same address reads through the same adapter correctly.
    static std::map<const TsSkinManager*, std::unique_ptr<TacManagerModelSource>> adapters;
    try {
        auto& slot = adapters[manager];
        if (!slot) slot = std::make_unique<TacManagerModelSource>(manager);
        BindSkinSource(manager, slot.get());
        return slot.get();
    } catch (...) {
        return nullptr;
    }
}

}  // namespace qv
