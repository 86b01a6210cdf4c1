// The word-wide per-pixel passes against plain one-byte-at-a-time versions of the same
// formulas (kept here as the reference) on random pictures: random channels, key pixels
// sprinkled in, mask bytes that include 0 and 255, rectangles that run off either bitmap,
// both row orders and every loop tail.
#include "paint/acBlit.h"
#include "paint/sAlphaGraph.h"
#include "paint/sGlyphEffects.h"
#include "paint/sGraphUtils_Item.h"
#include "PaintTestImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <array>
#include <random>

namespace qv {
namespace {

using test::TestImage;

// ---- the reference: each channel on its own, each rule spelt out ----

std::uint32_t RefMaskBlend(std::uint32_t s, std::uint32_t d, std::uint32_t k) {
    std::uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const std::uint32_t sc = (s >> shift) & 0xFF, dc = (d >> shift) & 0xFF, kc = (k >> shift) & 0xFF;
        out |= (((sc * (256 - kc) + dc * kc) >> 8) & 0xFF) << shift;
    }
    return out;
}

void RefCopyByMask(PixelRows dst, TRect R1, PixelRows src, TRect R2, const TCacheInfo& CI, bool UpdateTrans,
                   int maskRowOffset) {
    int w = std::min(R1.Width(), R2.Width()), h = std::min(R1.Height(), R2.Height());
    int dx = R1.Left, dy = R1.Top, sx = R2.Left, sy = R2.Top;
    if (sx < 0) { dx -= sx; w += sx; sx = 0; }
    if (sy < 0) { dy -= sy; h += sy; sy = 0; }
    if (dx < 0) { sx -= dx; w += dx; dx = 0; }
    if (dy < 0) { sy -= dy; h += dy; dy = 0; }
    w = std::min({w, src.Width - sx, dst.Width - dx});
    h = std::min({h, src.Height - sy, dst.Height - dy});
    if (w <= 0 || h <= 0) return;
    const PixelRows parent = CI.Ready ? Rows32(CI.Bmp) : PixelRows{};
    const std::uint32_t fill = ColorToPixel(CI.FillColor, (static_cast<std::uint32_t>(CI.FillColor) >> 24) & 0xFF);
    for (int j = 0; j < h; ++j) {
        const int y = dy + j, my = std::clamp(sy + j + maskRowOffset, 0, src.Height - 1);
        auto* d = reinterpret_cast<acPixel32*>(dst.Row(y)) + dx;
        const auto* s = reinterpret_cast<const acPixel32*>(src.Row(sy + j)) + sx;
        const auto* k = reinterpret_cast<const acPixel32*>(src.Row(my)) + sx;
        for (int i = 0; i < w; ++i) {
            const bool key = s[i] == KeyPixel;
            if (CI.Ready && UpdateTrans) {
                if (!key) {
                    d[i] = RefMaskBlend(s[i], d[i], k[i]) | 0xFF000000u;
                    continue;
                }
                if (parent.Empty()) {
                    d[i] |= 0xFF000000u;
                    continue;
                }
                const int px = dx + i + CI.X, py = y + CI.Y;
                if (py < 0 || px >= parent.Width) break;
                if (py >= parent.Height || px < 0) d[i] |= 0xFF000000u;
                else d[i] = reinterpret_cast<const acPixel32*>(parent.Row(py))[px] | 0xFF000000u;
            } else if (CI.Ready) {
                d[i] = RefMaskBlend(s[i], d[i], k[i]) | (d[i] & 0xFF000000u);
            } else if (key) {
                if (UpdateTrans) d[i] = fill;
            } else {
                d[i] = RefMaskBlend(s[i], d[i], k[i]) | (d[i] & 0xFF000000u);
            }
        }
    }
}

// ---- random pictures ----

class Random {
public:
    explicit Random(unsigned seed) : FGen(seed) {}
    int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(FGen); }
    std::uint32_t Pixel() {
        switch (Int(0, 9)) {
        case 0: return KeyPixel;
        case 1: return 0x7FFF00FFu;  // magenta with alpha: not the key
        case 2: return 0xFFFFFFFFu;
        case 3: return 0;
        default: return static_cast<std::uint32_t>(FGen());
        }
    }
    void Fill(TestImage& img) {
        for (int y = 0; y < img.Height(); ++y)
            for (int x = 0; x < img.Width(); ++x) img.Set(x, y, Pixel());
    }

private:
    std::mt19937 FGen;
};

::testing::AssertionResult SameImages(const TestImage& got, const TestImage& want) {
    for (int y = 0; y < want.Height(); ++y)
        for (int x = 0; x < want.Width(); ++x)
            if (got.At(x, y) != want.At(x, y))
                return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") expected "
                                                     << TestImage::Hex(want.At(x, y)) << " got "
                                                     << TestImage::Hex(got.At(x, y));
    return got.GuardIntact();
}

class MaskedCopyRuns : public ::testing::TestWithParam<int> {};

TEST_P(MaskedCopyRuns, EveryRuleGivesTheReferenceBytes) {
    Random rnd(static_cast<unsigned>(GetParam()) * 7919u + 1u);
    for (int round = 0; round < 40; ++round) {
        const bool bottomUp = rnd.Int(0, 1) == 1;
        const int dw = rnd.Int(1, 23), dh = rnd.Int(1, 9), sw = rnd.Int(1, 23), sh = rnd.Int(2, 12);
        TestImage src(sw, sh, 0, !bottomUp), parentImg(rnd.Int(1, 30), rnd.Int(1, 12));
        rnd.Fill(src);
        rnd.Fill(parentImg);
        TestImage dst(dw, dh, 0, bottomUp);
        rnd.Fill(dst);
        TestImage want = dst;
        const TRect r1{rnd.Int(-3, dw), rnd.Int(-3, dh), rnd.Int(-3, dw + 4), rnd.Int(-3, dh + 4)};
        const TRect r2{rnd.Int(-3, sw), rnd.Int(-3, sh / 2), rnd.Int(0, sw + 4), rnd.Int(0, sh)};
        const int maskOffset = rnd.Int(0, sh);
        // The parent is reached through a bitmap; copy the random parent into one.
        TBitmap parent(parentImg.Width(), parentImg.Height(), pf32bit);
        for (int y = 0; y < parent.Height(); ++y)
            for (int x = 0; x < parent.Width(); ++x) parent.SetPixel32(x, y, parentImg.At(x, y));
        TCacheInfo ci;
        switch (rnd.Int(0, 2)) {
        case 0: ci = MakeCacheInfo(&parent, rnd.Int(-5, 5), rnd.Int(-5, 5)); break;
        case 1: ci = TCacheInfo{nullptr, 0, 0, static_cast<TColor>(rnd.Pixel()), false}; break;
        default: ci = EmptyCI; break;
        }
        const bool updateTrans = rnd.Int(0, 1) == 1;
        CopyByMask(dst.Rows(), r1, src.Rows(), r2, ci, updateTrans, maskOffset);
        RefCopyByMask(want.Rows(), r1, src.Rows(), r2, ci, updateTrans, maskOffset);
        ASSERT_TRUE(SameImages(dst, want)) << "round " << round << " ready " << ci.Ready << " update "
                                           << updateTrans;
    }
}
INSTANTIATE_TEST_SUITE_P(Seeds, MaskedCopyRuns, ::testing::Range(0, 12));

class SumRuns : public ::testing::TestWithParam<int> {};

// dst = (dst × a + src × (255 − a) + 127) shr 8 on every byte, weights 0 and 255 included.
TEST_P(SumRuns, EveryWeightGivesTheFormulasBytes) {
    Random rnd(static_cast<unsigned>(GetParam()) * 104729u + 3u);
    for (int round = 0; round < 30; ++round) {
        const int dw = rnd.Int(1, 37), dh = rnd.Int(1, 6), sw = rnd.Int(1, 37), sh = rnd.Int(1, 6);
        TestImage dst(dw, dh, 0, rnd.Int(0, 1) == 1), src(sw, sh, 0, rnd.Int(0, 1) == 1);
        rnd.Fill(dst);
        rnd.Fill(src);
        TestImage want = dst;
        const int a = std::array{0, 1, 127, 128, 254, 255, rnd.Int(0, 255)}[static_cast<std::size_t>(rnd.Int(0, 6))];
        const TRect sr{rnd.Int(-3, sw), rnd.Int(-3, sh), rnd.Int(-2, sw + 3), rnd.Int(-2, sh + 3)};
        const TPoint dp{rnd.Int(-4, dw), rnd.Int(-4, dh)};
        SumBmpRect(dst.Rows(), src.Rows(), a, sr, dp);
        // The reference clips the same way and sums byte by byte.
        for (int y = 0; y < want.Height(); ++y)
            for (int x = 0; x < want.Width(); ++x) {
                const int sx = x - dp.X + sr.Left, sy = y - dp.Y + sr.Top;
                if (sx < std::max(sr.Left, 0) || sy < std::max(sr.Top, 0) || sx >= std::min(sr.Right, sw) ||
                    sy >= std::min(sr.Bottom, sh))
                    continue;
                const std::uint32_t d = want.At(x, y), s = src.At(sx, sy);
                std::uint32_t out = 0;
                for (int shift = 0; shift < 32; shift += 8)
                    out |= static_cast<std::uint32_t>(
                               ((((d >> shift) & 0xFF) * a + ((s >> shift) & 0xFF) * (255 - a) + 127) >> 8) & 0xFF)
                           << shift;
                want.Set(x, y, out);
            }
        ASSERT_TRUE(SameImages(dst, want)) << "round " << round << " a " << a;
    }
}
INSTANTIATE_TEST_SUITE_P(Seeds, SumRuns, ::testing::Range(0, 8));

// The plain-stretch form of StretchBltMask: image and mask pieces stretched by pixel
// dropping (as StretchCopy does into scratch pictures), then blended channel by channel.
TEST(StretchBltMaskPlain, GivesTheScratchPictureBlend) {
    Random rnd(99);
    for (int round = 0; round < 60; ++round) {
        const int sw = rnd.Int(1, 6), sh = rnd.Int(1, 5), dw = rnd.Int(2, 30), dh = rnd.Int(2, 20);
        // Growing (or equal) in both directions keeps the plain stretch.
        const int srcW = std::min(sw, dw), srcH = std::min(sh, dh);
        TBitmap src(12, 12, pf32bit), dst(34, 24, pf32bit), want(34, 24, pf32bit);
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 12; ++x) src.SetPixel32(x, y, rnd.Pixel());
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 34; ++x) {
                const std::uint32_t v = rnd.Pixel();
                dst.SetPixel32(x, y, v);
                want.SetPixel32(x, y, v);
            }
        const int sx = rnd.Int(0, 12 - srcW), sy = rnd.Int(0, 6 - std::min(srcH, 6)), dx = rnd.Int(0, 6),
                  dy = rnd.Int(0, 4), mo = 6;
        StretchBltMask(dx, dy, dw, dh, sx, sy, srcW, std::min(srcH, 6), &dst, &src, mo, false);
        TBitmap img(dw, dh, pf32bit), msk(dw, dh, pf32bit);
        const TRect piece{sx, sy, sx + srcW, sy + std::min(srcH, 6)};
        StretchCopy(Rows32(&img), {0, 0, dw, dh}, Rows32(&src), piece);
        StretchCopy(Rows32(&msk), {0, 0, dw, dh}, Rows32(&src), OffsetRect(piece, 0, mo));
        for (int y = dy; y < std::min(dy + dh, 24); ++y)
            for (int x = dx; x < std::min(dx + dw, 34); ++x) {
                const std::uint32_t d = want.Pixel32(x, y);
                want.SetPixel32(x, y,
                                RefMaskBlend(img.Pixel32(x - dx, y - dy), d, msk.Pixel32(x - dx, y - dy)) |
                                    (d & 0xFF000000u));
            }
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 34; ++x)
                ASSERT_EQ(dst.Pixel32(x, y), want.Pixel32(x, y)) << "round " << round << " at " << x << ", " << y;
    }
}

// The blur against a direct reading of it: rows then columns, each line padded with its
// end values, the kernel's weights summed from −Size to Size in float, rounded to the
// nearest byte (ties to even) and clamped.
TEST(Blur8Rounding, GivesTheDirectSumsBytes) {
    Random rnd(5);
    for (double radius : {1.0, 2.5, 4.0}) {
        const int w = rnd.Int(1, 60), h = rnd.Int(1, 30);
        TBitmap bmp(w, h, pf8bit);
        std::vector<float> want(static_cast<std::size_t>(w) * h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const int v = rnd.Int(0, 3) == 0 ? 255 * rnd.Int(0, 1) : rnd.Int(0, 255);
                bmp.ScanLine(y)[x] = static_cast<std::uint8_t>(v);
                want[static_cast<std::size_t>(y) * w + x] = static_cast<float>(v);
            }
        TKernel k;
        MakeGaussianKernel(k, radius, 1, 255);
        auto toByte = [](float v) { return v >= 255.0f ? 255.0f : v <= 0.0f ? 0.0f : std::nearbyint(v); };
        auto pass = [&](bool rows) {
            std::vector<float> out(want.size());
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    float sum = 0.0f;
                    for (int t = -k.Size; t <= k.Size; ++t) {
                        const int xx = rows ? std::clamp(x - t, 0, w - 1) : x, yy = rows ? y : std::clamp(y - t, 0, h - 1);
                        sum += k.Weight(t) * want[static_cast<std::size_t>(yy) * w + xx];
                    }
                    out[static_cast<std::size_t>(y) * w + x] = toByte(sum);
                }
            want = out;
        };
        pass(true);
        pass(false);
        Blur8(&bmp, radius);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(bmp.ScanLine(y)[x], static_cast<int>(want[static_cast<std::size_t>(y) * w + x]))
                    << "radius " << radius << " at " << x << ", " << y;
    }
}

}  // namespace
}  // namespace qv
