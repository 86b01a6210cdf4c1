// A hand-built skin for painting tests: a master bitmap the test fills pixel by pixel,
// sections and images added in code, and the lookups answered from them.
#pragma once
#include "paint/acSkinSource.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include <cstdint>
#include <vector>

namespace qv::test {

class TestSkinSource : public TacSkinSource {
public:
    TestSkinSource(int masterWidth, int masterHeight) : Master(masterWidth, masterHeight, pf32bit) {
        BindSkinSource(Key(), this);
    }
    ~TestSkinSource() override { UnbindSkinSource(Key()); }

    // The manager pointer images carry; only a key, never dereferenced.
    TsSkinManager* Key() noexcept { return reinterpret_cast<TsSkinManager*>(this); }

    int AddImage(TRect r, int imageCount, int maskType, int wl, int wt, int wr, int wb, int drawMode) {
        TsMaskData md;
        md.R = r;
        md.ImageCount = static_cast<std::int16_t>(imageCount);
        md.MaskType = static_cast<std::int16_t>(maskType);
        md.WL = static_cast<std::int16_t>(wl);
        md.WT = static_cast<std::int16_t>(wt);
        md.WR = static_cast<std::int16_t>(wr);
        md.WB = static_cast<std::int16_t>(wb);
        md.DrawMode = static_cast<std::int16_t>(drawMode);
        md.Manager = Key();
        Images.push_back(std::move(md));
        return static_cast<int>(Images.size()) - 1;
    }
    int AddSection(const String& name) {
        TsGeneralData gd;
        gd.ClassName = name;
        gd.GradientData.clear();
        gd.HotGradientData.clear();
        Sections.push_back(std::move(gd));
        return static_cast<int>(Sections.size()) - 1;
    }
    void Fill(TRect r, std::uint32_t pixel) {
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x) Master.SetPixel32(x, y, pixel);
    }

    const std::vector<TsGeneralData>& SkinSections() const noexcept override { return Sections; }
    const std::vector<TsMaskData>& SkinImages() const noexcept override { return Images; }
    const std::vector<TsPatternData>& SkinPatterns() const noexcept override { return Patterns; }
    TBitmap* SkinMasterBitmap() const noexcept override { return const_cast<TBitmap*>(&Master); }
    int GetSkinIndex(const String& s) const noexcept override {
        for (std::size_t i = 0; i < Sections.size(); ++i)
            if (Sections[i].ClassName == s) return static_cast<int>(i);
        return -1;
    }
    int GetMaskIndex(int, const String&, const String&) const noexcept override { return -1; }
    int GetTextureIndex(int, const String&, const String&) const noexcept override { return -1; }
    int GetPatternIndex(int, const String& section, const String& name) const noexcept override {
        for (std::size_t i = 0; i < Patterns.size(); ++i)
            if (Patterns[i].ClassName == section && Patterns[i].PropertyName == name) return static_cast<int>(i);
        return -1;
    }

    TBitmap Master;
    std::vector<TsGeneralData> Sections;
    std::vector<TsMaskData> Images;
    std::vector<TsPatternData> Patterns;
};

// A 32-bit bitmap filled with one pixel word.
inline void FillBitmap(TBitmap& bmp, std::uint32_t pixel) {
    for (int y = 0; y < bmp.Height(); ++y)
        for (int x = 0; x < bmp.Width(); ++x) bmp.SetPixel32(x, y, pixel);
}

inline std::string HexWord(std::uint32_t v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%08X", v);
    return buf;
}

inline ::testing::AssertionResult BmpPixelIs(const TBitmap& bmp, int x, int y, std::uint32_t want) {
    const std::uint32_t got = bmp.Pixel32(x, y);
    if (got == want) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") expected " << HexWord(want) << " got "
                                         << HexWord(got);
}

}  // namespace qv::test
