// The binding of skin managers to their sources. A process has one or two managers, so
// a short list searched linearly is all this needs.
#include "paint/acSkinSource.h"

#include <algorithm>
#include <utility>

namespace qv {

namespace {

std::vector<std::pair<const TsSkinManager*, TacSkinSource*>>& Bindings() noexcept {
    static std::vector<std::pair<const TsSkinManager*, TacSkinSource*>> bindings;
    return bindings;
}

TacSkinSource* gDefaultSource = nullptr;

}  // namespace

void BindSkinSource(const TsSkinManager* manager, TacSkinSource* source) noexcept {
    if (!manager) return;
    auto& b = Bindings();
    for (auto& entry : b)
        if (entry.first == manager) {
            entry.second = source;
            return;
        }
    try {
        b.emplace_back(manager, source);
    } catch (...) {
        // Without memory for one more entry the images of this manager stay unbound and
        // are not drawn, which is what painting does with a mask without a manager.
    }
}

void UnbindSkinSource(const TsSkinManager* manager) noexcept {
    auto& b = Bindings();
    b.erase(std::remove_if(b.begin(), b.end(), [manager](const auto& e) { return e.first == manager; }), b.end());
}

TacSkinSource* SkinSourceOf(const TsSkinManager* manager) noexcept {
    if (!manager) return nullptr;
    for (const auto& entry : Bindings())
        if (entry.first == manager) return entry.second;
    return nullptr;
}

void SetDefaultSkinSource(TacSkinSource* source) noexcept { gDefaultSource = source; }
TacSkinSource* DefaultSkinSource() noexcept { return gDefaultSource; }

TBitmap* MaskSourceBitmap(const TsMaskData& md) noexcept {
    TBitmap* bmp = md.Bmp.get();
    if (!bmp) {
        TacSkinSource* source = SkinSourceOf(md.Manager);
        bmp = source ? source->SkinMasterBitmap() : nullptr;
    }
    if (!bmp || bmp->Empty() || bmp->PixelFormat() != pf32bit) return nullptr;
    return bmp;
}

}  // namespace qv
