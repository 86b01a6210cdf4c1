// The internal skin as the build packed it, loaded once into a model for all tests that
// look at it (the support library's loader puts it into a manager instead).
#pragma once
#include "InternalSkinLoad.h"
#include "framework/Strings.h"
#include "skin/acSkinPack.h"
#include "model/sSkinModel.h"
#include "skin/sSkinSource.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace qv::test {

#ifdef QUORVEL_INTERNAL_SKIN_PACK
inline String InternalSkinPackPath() { return Utf8ToString(QUORVEL_INTERNAL_SKIN_PACK); }
inline String InternalSkinFolder() { return Utf8ToString(QUORVEL_SKINS_DIR "/AndroidOS"); }
inline String ShadowTemplatePath(const char* name) {
    return Utf8ToString(std::string(QUORVEL_SKINS_DIR "/shadows/") + name);
}
#endif

// Fixture: the built pack unpacked and loaded into a model, as the manager loads an
// internal skin. Skips when the build did not wire the pack into the tests.
class InternalSkin : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
#ifdef QUORVEL_INTERNAL_SKIN_PACK
        FPack = std::make_unique<std::vector<std::uint8_t>>(ReadPackFile(InternalSkinPackPath()));
        std::unique_ptr<TacSkinConvertor> sc;
        LoadSkinFromFile(InternalSkinPackPath(), sc, true);
        FModel = std::make_unique<TsSkinModel>();
        LoadPackedSkin(*FModel, *sc);
#endif
    }
    static void TearDownTestSuite() {
        FModel.reset();
        FPack.reset();
    }
    void SetUp() override {
        if (!FModel) GTEST_SKIP() << "the build did not pass the internal skin pack to the tests";
    }

    static const TsSkinModel& Model() { return *FModel; }
    static const std::vector<std::uint8_t>& Pack() { return *FPack; }

    const TsGeneralData& Section(const wchar_t* name) const {
        const int i = Model().GetSkinIndex(name);
        if (i < 0) throw std::runtime_error("no section " + StringToUtf8(name));
        return Model().gd[static_cast<std::size_t>(i)];
    }
    // An image of a section, or nullptr (parents not consulted).
    const TsMaskData* Image(const wchar_t* section, const wchar_t* key) const {
        const int i = Model().GetMaskIndex(section, key);
        return i < 0 ? nullptr : &Model().ma[static_cast<std::size_t>(i)];
    }
    // The pixel (B, G, R, A as 0xAARRGGBB) of an image's source at (x, y) relative to R.
    std::uint32_t ImagePixel(const TsMaskData& md, int x, int y) const {
        const TBitmap& bmp = md.Bmp ? *md.Bmp : Model().MasterBitmap;
        const std::uint8_t* p = bmp.ScanLine(md.R.Top + y) + (md.R.Left + x) * 4;
        return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
    }

private:
    static inline std::unique_ptr<std::vector<std::uint8_t>> FPack;
    static inline std::unique_ptr<TsSkinModel> FModel;
};

}  // namespace qv::test
