// A 32-bit test picture in plain memory with a guard ring one pixel wide around it, laid
// out bottom-up (as bitmaps are) or top-down, so row-order and clipping faults both show.
#pragma once
#include "paint/PixelRows.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace qv::test {

constexpr std::uint32_t kGuard = 0xA5C3E1F7u;

class TestImage {
public:
    TestImage(int width, int height, std::uint32_t fill = 0, bool bottomUp = true)
        : FWidth(width), FHeight(height), FBottomUp(bottomUp),
          FWords(static_cast<std::size_t>(width + 2) * (height + 2), kGuard) {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) Set(x, y, fill);
    }
    // Distinct values everywhere so a wrong row or column shows.
    static TestImage Numbered(int width, int height, bool bottomUp = true) {
        TestImage img(width, height, 0, bottomUp);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                img.Set(x, y,
                        0x80000000u | static_cast<std::uint32_t>(((y * 37 + x * 11) << 8) | ((x * 7 + y) & 0xFF)));
        return img;
    }

    PixelRows Rows() noexcept {
        const std::ptrdiff_t stride = static_cast<std::ptrdiff_t>(FWidth + 2) * 4;
        return {Address(0, 0), FBottomUp ? -stride : stride, FWidth, FHeight};
    }
    std::uint32_t At(int x, int y) const noexcept {
        std::uint32_t v;
        std::memcpy(&v, &FWords[Index(x, y)], 4);
        return v;
    }
    void Set(int x, int y, std::uint32_t v) noexcept { FWords[Index(x, y)] = v; }
    int Width() const noexcept { return FWidth; }
    int Height() const noexcept { return FHeight; }

    // Every guard word still holds its value.
    ::testing::AssertionResult GuardIntact() const {
        for (int y = -1; y <= FHeight; ++y)
            for (int x = -1; x <= FWidth; ++x)
                if ((x < 0 || y < 0 || x == FWidth || y == FHeight) && At(x, y) != kGuard)
                    return ::testing::AssertionFailure()
                           << "guard at (" << x << ", " << y << ") became " << Hex(At(x, y));
        return ::testing::AssertionSuccess();
    }

    static std::string Hex(std::uint32_t v) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%08X", v);
        return buf;
    }

private:
    std::size_t Index(int x, int y) const noexcept {
        const int row = FBottomUp ? FHeight - y : y + 1;  // memory row of picture row y
        return static_cast<std::size_t>(row) * (FWidth + 2) + (x + 1);
    }
    std::uint8_t* Address(int x, int y) noexcept { return reinterpret_cast<std::uint8_t*>(&FWords[Index(x, y)]); }

    int FWidth, FHeight;
    bool FBottomUp;
    std::vector<std::uint32_t> FWords;
};

// Compares one pixel and says where and what.
inline ::testing::AssertionResult PixelIs(const TestImage& img, int x, int y, std::uint32_t want) {
    const std::uint32_t got = img.At(x, y);
    if (got == want) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") expected " << TestImage::Hex(want)
                                         << " got " << TestImage::Hex(got);
}

// Pixel word 0xAARRGGBB from channel values.
constexpr std::uint32_t Px(int r, int g, int b, int a = 255) {
    return static_cast<std::uint32_t>(a) << 24 | static_cast<std::uint32_t>(r) << 16 |
           static_cast<std::uint32_t>(g) << 8 | static_cast<std::uint32_t>(b);
}

}  // namespace qv::test
