// A hand-built skin for painting tests: a skin model whose master bitmap the test fills
// pixel by pixel and whose sections and images are added in code.
#pragma once
#include "model/sSkinModel.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include <cstdint>
#include <vector>

namespace qv::test {

class TestSkinSource : public TsSkinModel {
public:
    TestSkinSource(int masterWidth, int masterHeight) {
        MasterBitmap.SetPixelFormat(pf32bit);
        MasterBitmap.SetSize(masterWidth, masterHeight);
    }

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
        md.Owner = this;
        Images.push_back(std::move(md));
        return static_cast<int>(Images.size()) - 1;
    }
    int AddSection(const String& name) {
        TsGeneralData section;
        section.ClassName = name;
        section.GradientData.clear();
        section.HotGradientData.clear();
        Sections.push_back(std::move(section));
        return static_cast<int>(Sections.size()) - 1;
    }
    void Fill(TRect r, std::uint32_t pixel) {
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x) Master.SetPixel32(x, y, pixel);
    }

    // The names the painting tests use for the model's parts.
    TBitmap& Master = MasterBitmap;
    std::vector<TsGeneralData>& Sections = gd;
    std::vector<TsMaskData>& Images = ma;
    std::vector<TsPatternData>& Patterns = pa;
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
