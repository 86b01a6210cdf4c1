// The word-wide per-pixel passes against plain one-byte-at-a-time versions of the same
// formulas (kept here as the reference) on random pictures: random channels, key pixels
// sprinkled in, mask bytes that include 0 and 255, rectangles that run off either bitmap,
// both row orders and every loop tail, at every vector width the processor offers.
#include "paint/acBlit.h"
#include "paint/acPixelOps.h"
#include "paint/sAlphaGraph.h"
#include "paint/sGlyphEffects.h"
#include "paint/sGraphUtils.h"
#include "paint/sGraphUtils_Item.h"
#include "PaintTestImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <array>
#include <memory>
#include <random>
#include <string>
#include <tuple>

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

// Offset (i, j) of the two rectangles pairs destination pixel (R1.Left + i, R1.Top + j)
// with source pixel (R2.Left + i, R2.Top + j); a pair is copied when both pixels lie on
// their bitmaps. Each pixel is tested on its own, so a fault in the copy's clipping is
// not repeated here.
bool OnBitmap(const PixelRows& rows, int x, int y) { return x >= 0 && y >= 0 && x < rows.Width && y < rows.Height; }

void RefCopyByMask(PixelRows dst, TRect R1, PixelRows src, TRect R2, const TCacheInfo& CI, bool UpdateTrans,
                   int maskRowOffset) {
    const int w = std::min(R1.Width(), R2.Width()), h = std::min(R1.Height(), R2.Height());
    const PixelRows parent = CI.Ready ? Rows32(CI.Bmp) : PixelRows{};
    const std::uint32_t fill = ColorToPixel(CI.FillColor, (static_cast<std::uint32_t>(CI.FillColor) >> 24) & 0xFF);
    for (int j = 0; j < h; ++j) {
        const int y = R1.Top + j, sy = R2.Top + j;
        for (int i = 0; i < w; ++i) {
            const int x = R1.Left + i, sx = R2.Left + i;
            if (!OnBitmap(dst, x, y) || !OnBitmap(src, sx, sy)) continue;
            const int my = std::clamp(sy + maskRowOffset, 0, src.Height - 1);
            auto& d = reinterpret_cast<acPixel32*>(dst.Row(y))[x];
            const std::uint32_t s = reinterpret_cast<const acPixel32*>(src.Row(sy))[sx];
            const std::uint32_t k = reinterpret_cast<const acPixel32*>(src.Row(my))[sx];
            const bool key = s == KeyPixel;
            if (CI.Ready && UpdateTrans) {
                if (!key) {
                    d = RefMaskBlend(s, d, k) | 0xFF000000u;
                    continue;
                }
                if (parent.Empty()) {
                    d |= 0xFF000000u;
                    continue;
                }
                const int px = x + CI.X, py = y + CI.Y;
                if (py < 0 || px >= parent.Width) break;  // the rest of the row stays
                if (py >= parent.Height || px < 0) d |= 0xFF000000u;
                else d = reinterpret_cast<const acPixel32*>(parent.Row(py))[px] | 0xFF000000u;
            } else if (CI.Ready) {
                d = RefMaskBlend(s, d, k) | (d & 0xFF000000u);
            } else if (key) {
                if (UpdateTrans) d = fill;
            } else {
                d = RefMaskBlend(s, d, k) | (d & 0xFF000000u);
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
                return ::testing::AssertionFailure()
                       << "pixel (" << x << ", " << y << ") expected " << TestImage::Hex(want.At(x, y)) << " got "
                       << TestImage::Hex(got.At(x, y));
    return got.GuardIntact();
}

// Runs each case at one vector width (plain, SSE2, AVX2) with one random seed; a width
// the processor lacks is skipped.
using pixelops::KernelLevel;
class AtEveryWidth : public ::testing::TestWithParam<std::tuple<KernelLevel, int>> {
protected:
    void SetUp() override {
        const KernelLevel level = std::get<0>(GetParam());
        if (static_cast<int>(level) > static_cast<int>(pixelops::BestKernelLevel()))
            GTEST_SKIP() << "the processor has no such vector width";
        FBefore = pixelops::UseKernelLevel(level);
    }
    void TearDown() override { pixelops::UseKernelLevel(FBefore); }
    unsigned Seed(unsigned prime) const { return static_cast<unsigned>(std::get<1>(GetParam())) * prime + 1u; }

private:
    KernelLevel FBefore = KernelLevel::Plain;
};

std::string WidthName(const ::testing::TestParamInfo<std::tuple<KernelLevel, int>>& info) {
    static const char* const names[] = {"Plain", "Sse2", "Avx2"};
    return std::string(names[static_cast<int>(std::get<0>(info.param))]) + "_" +
           std::to_string(std::get<1>(info.param));
}

#define QV_AT_EVERY_WIDTH(Suite, Seeds) \
    INSTANTIATE_TEST_SUITE_P(Widths, Suite, \
                             ::testing::Combine(::testing::Values(KernelLevel::Plain, KernelLevel::Sse2, \
                                                                  KernelLevel::Avx2), \
                                                ::testing::Range(0, Seeds)), \
                             WidthName)

// The parent bitmap of a cache info, filled with random pixels.
std::unique_ptr<TBitmap> RandomParent(Random& rnd) {
    auto parent = std::make_unique<TBitmap>(rnd.Int(1, 50), rnd.Int(1, 12), pf32bit);
    for (int y = 0; y < parent->Height(); ++y)
        for (int x = 0; x < parent->Width(); ++x) parent->SetPixel32(x, y, rnd.Pixel());
    return parent;
}

class MaskedCopyRuns : public AtEveryWidth {};

TEST_P(MaskedCopyRuns, EveryRuleGivesTheReferenceBytes) {
    Random rnd(Seed(7919u));
    for (int round = 0; round < 40; ++round) {
        const bool bottomUp = rnd.Int(0, 1) == 1;
        const int dw = rnd.Int(1, 41), dh = rnd.Int(1, 9), sw = rnd.Int(1, 41), sh = rnd.Int(2, 12);
        TestImage src(sw, sh, 0, !bottomUp);
        rnd.Fill(src);
        const auto parent = RandomParent(rnd);
        TestImage dst(dw, dh, 0, bottomUp);
        rnd.Fill(dst);
        TestImage want = dst;
        const TRect r1{rnd.Int(-3, dw), rnd.Int(-3, dh), rnd.Int(-3, dw + 4), rnd.Int(-3, dh + 4)};
        const TRect r2{rnd.Int(-3, sw), rnd.Int(-3, sh / 2), rnd.Int(0, sw + 4), rnd.Int(0, sh)};
        const int maskOffset = rnd.Int(0, sh);
        TCacheInfo ci;
        switch (rnd.Int(0, 2)) {
        case 0: ci = MakeCacheInfo(parent.get(), rnd.Int(-5, 5), rnd.Int(-5, 5)); break;
        case 1: ci = TCacheInfo{nullptr, 0, 0, static_cast<TColor>(rnd.Pixel()), false}; break;
        default: ci = EmptyCI; break;
        }
        const bool updateTrans = rnd.Int(0, 1) == 1;
        CopyByMask(dst.Rows(), r1, src.Rows(), r2, ci, updateTrans, maskOffset);
        RefCopyByMask(want.Rows(), r1, src.Rows(), r2, ci, updateTrans, maskOffset);
        ASSERT_TRUE(SameImages(dst, want)) << "round " << round << " ready " << ci.Ready << " update " << updateTrans;
    }
}
QV_AT_EVERY_WIDTH(MaskedCopyRuns, 12);

// Every (s, d, k) byte triple in every channel, through the row kernel of each width
// (the blends rest on 16-bit wrap-arounds that only some triples reach). B, G and R of
// a row carry different values so that even and odd bytes are checked apart; the row
// starts one pixel past a vector boundary and its length is not a multiple of any width.
class AtOneWidth : public ::testing::TestWithParam<KernelLevel> {
protected:
    void SetUp() override {
        if (static_cast<int>(GetParam()) > static_cast<int>(pixelops::BestKernelLevel()))
            GTEST_SKIP() << "the processor has no such vector width";
        FBefore = pixelops::UseKernelLevel(GetParam());
    }
    void TearDown() override { pixelops::UseKernelLevel(FBefore); }

private:
    KernelLevel FBefore = KernelLevel::Plain;
};
#define QV_AT_ONE_WIDTH(Suite) \
    INSTANTIATE_TEST_SUITE_P(Widths, Suite, ::testing::Values(KernelLevel::Plain, KernelLevel::Sse2, KernelLevel::Avx2))

class MaskBlendBytes : public AtOneWidth {};

TEST_P(MaskBlendBytes, EveryTripleGivesTheFormulasByte) {
    constexpr int n = 256 + 3;
    std::array<std::uint32_t, n + 1> dRow{}, sRow{}, kRow{};
    auto* d = reinterpret_cast<acPixel32*>(dRow.data()) + 1;
    const auto* sp = reinterpret_cast<const acPixel32*>(sRow.data()) + 1;
    const auto* kp = reinterpret_cast<const acPixel32*>(kRow.data()) + 1;
    auto pixel = [](std::uint32_t v) { return v | ((255 - v) << 8) | ((v ^ 0x5Au) << 16) | 0x80000000u; };
    int mismatches = 0;
    for (std::uint32_t sv = 0; sv < 256 && mismatches == 0; ++sv)
        for (std::uint32_t kv = 0; kv < 256; ++kv) {
            for (int i = 0; i < n; ++i) {
                dRow[static_cast<std::size_t>(i + 1)] = pixel(static_cast<std::uint32_t>(i) & 0xFF);
                sRow[static_cast<std::size_t>(i + 1)] = pixel(sv) ^ static_cast<std::uint32_t>(i >> 8);
                kRow[static_cast<std::size_t>(i + 1)] = kv | ((kv ^ 0xA5u) << 8) | ((255 - kv) << 16);
            }
            pixelops::MaskBlendRow(d, sp, kp, n, 1, pixelops::KeyRule::Blend);
            for (int i = 0; i < n; ++i) {
                const std::uint32_t want = RefMaskBlend(sRow[static_cast<std::size_t>(i + 1)],
                                                        pixel(static_cast<std::uint32_t>(i) & 0xFF),
                                                        kRow[static_cast<std::size_t>(i + 1)]) |
                                           0x80000000u;
                if (dRow[static_cast<std::size_t>(i + 1)] != want && ++mismatches <= 3)
                    ADD_FAILURE() << "s " << sv << " k " << kv << " pixel " << i << " expected " << TestImage::Hex(want)
                                  << " got " << TestImage::Hex(dRow[static_cast<std::size_t>(i + 1)]);
            }
        }
    EXPECT_EQ(mismatches, 0);
}
QV_AT_ONE_WIDTH(MaskBlendBytes);

// Key pixels shown from the parent over a row wide enough for whole vectors of every
// width left of the parent, on it and right of it; the rows below the parent's last row
// lie outside it altogether. Key pixels outside the parent keep the destination, opaque;
// right of the parent the row ends at its first key pixel.
class MaskedCopyOverParent : public AtOneWidth {};

TEST_P(MaskedCopyOverParent, LeftOnAndRightOfTheParentGiveTheReferenceBytes) {
    constexpr int w = 70, h = 4;
    TestImage src(w, 2 * h, 0, true), dst(w, h, 0, false);
    Random rnd(5u);
    for (int y = 0; y < 2 * h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool key = y < h && (x < 50 ? (x + y) % 3 == 0 : x == w - 1);
            const std::uint32_t other = rnd.Pixel();
            src.Set(x, y, key ? KeyPixel : (other == KeyPixel ? other ^ 1u : other));
        }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) dst.Set(x, y, 0x00102030u + static_cast<std::uint32_t>(x * 0x010101 + y));
    TBitmap parent(29, 2, pf32bit);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 29; ++x) parent.SetPixel32(x, y, 0x00400000u | static_cast<std::uint32_t>(x << 8 | y));
    const TCacheInfo ci = MakeCacheInfo(&parent, -21, 0);
    TestImage want = dst;
    CopyByMask(dst.Rows(), {0, 0, w, h}, src.Rows(), {0, 0, w, h}, ci, true, h);
    RefCopyByMask(want.Rows(), {0, 0, w, h}, src.Rows(), {0, 0, w, h}, ci, true, h);
    ASSERT_TRUE(SameImages(dst, want));
    // The reference itself: a key pixel left of the parent kept the destination, opaque;
    // one on it shows the parent's pixel.
    EXPECT_EQ(dst.At(0, 0), 0xFF102030u);
    EXPECT_EQ(dst.At(21, 0), 0xFF400000u);
}
QV_AT_ONE_WIDTH(MaskedCopyOverParent);

class SumRuns : public AtEveryWidth {};

// dst = (dst × a + src × (255 − a) + 127) shr 8 on every byte, weights 0 and 255 included.
TEST_P(SumRuns, EveryWeightGivesTheFormulasBytes) {
    Random rnd(Seed(104729u));
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
QV_AT_EVERY_WIDTH(SumRuns, 8);

// The fade step's blend of two whole faces, and the fade engine's BlendBitmapsRect, by
// the same byte formula.
class FadeBlendRuns : public AtEveryWidth {};

TEST_P(FadeBlendRuns, WholeFacesAndRectanglesGiveTheFormulasBytes) {
    Random rnd(Seed(15485863u));
    for (int round = 0; round < 30; ++round) {
        const int w = rnd.Int(2, 45), h = rnd.Int(2, 5);
        const int a = std::array{0, 1, 128, 255, rnd.Int(0, 255)}[static_cast<std::size_t>(rnd.Int(0, 4))];
        TBitmap face(w, h, pf32bit), other(w, h, pf32bit), want(w, h, pf32bit);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                face.SetPixel32(x, y, rnd.Pixel());
                other.SetPixel32(x, y, rnd.Pixel());
            }
        TBitmap rectDst(w, h, pf32bit), orig(w, h, pf32bit);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                rectDst.SetPixel32(x, y, face.Pixel32(x, y));
                orig.SetPixel32(x, y, face.Pixel32(x, y));
            }
        auto sum = [a](std::uint32_t d, std::uint32_t src) {
            std::uint32_t out = 0;
            for (int shift = 0; shift < 32; shift += 8)
                out |= ((((d >> shift) & 0xFF) * a + ((src >> shift) & 0xFF) * (255 - a) + 127) >> 8) << shift;
            return out;
        };
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) want.SetPixel32(x, y, sum(face.Pixel32(x, y), other.Pixel32(x, y)));
        SumBitmaps(&face, &other, a);
        // The rectangle form from a source origin inside, ending short of the right edge.
        TacFastSum32 fs;
        ASSERT_TRUE(fs.Attach(&other, &rectDst));
        fs.Alpha = static_cast<std::uint8_t>(a);
        fs.DstX1 = rnd.Int(-2, w - 1);
        fs.DstY1 = rnd.Int(-1, h - 1);
        fs.DstX2 = rnd.Int(fs.DstX1, w + 2);
        fs.DstY2 = h;
        // Equal origins: every destination pixel reads the source pixel at its own place.
        fs.SrcX1 = fs.DstX1;
        fs.SrcY1 = fs.DstY1;
        fs.BlendBitmapsRect();
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                ASSERT_EQ(face.Pixel32(x, y), want.Pixel32(x, y)) << "round " << round << " at " << x << ", " << y;
                const bool inside = x >= fs.DstX1 && x < fs.DstX2 && y >= fs.DstY1;
                ASSERT_EQ(rectDst.Pixel32(x, y), inside ? want.Pixel32(x, y) : orig.Pixel32(x, y))
                    << "round " << round << " at " << x << ", " << y;
            }
    }
}
QV_AT_EVERY_WIDTH(FadeBlendRuns, 4);

// The keyed copy: key pixels skipped, filled, or showing the parent (to the row's end
// where the parent ends), every other pixel copied, opaque where the parent is involved.
void RefCopyTransRect(PixelRows dst, PixelRows src, int X, int Y, TRect sr, TColor trans, const TCacheInfo& CI,
                      bool update, bool dstIsParent) {
    const std::uint32_t key = ColorToPixel(trans, 0);
    const PixelRows parent = CI.Ready ? Rows32(CI.Bmp) : PixelRows{};
    const bool toParent = update && CI.Ready && !parent.Empty();
    for (int sy = std::max(sr.Top, 0); sy <= std::min(sr.Bottom, src.Height - 1); ++sy) {
        const int y = Y + sy - sr.Top;
        if (y < 0 || y >= dst.Height) continue;
        for (int sx = std::max(sr.Left, 0); sx <= std::min(sr.Right, src.Width - 1); ++sx) {
            const int x = X + sx - sr.Left;
            if (x < 0 || x >= dst.Width) continue;
            const std::uint32_t s = reinterpret_cast<const acPixel32*>(src.Row(sy))[sx];
            auto& d = reinterpret_cast<acPixel32*>(dst.Row(y))[x];
            if (s != key) {
                d = toParent ? s | 0xFF000000u : s;
            } else if (toParent && !dstIsParent) {
                const int px = x + CI.X, py = y + CI.Y;
                if (py < 0 || px >= parent.Width) break;
                if (py < parent.Height && px >= 0)
                    d = reinterpret_cast<const acPixel32*>(parent.Row(py))[px] | 0xFF000000u;
            } else if (!toParent && !CI.Ready) {
                d = ColorToPixel(CI.FillColor);
            }
        }
    }
}

class KeyedCopyRuns : public AtEveryWidth {};

TEST_P(KeyedCopyRuns, EveryModeGivesTheReferenceBytes) {
    Random rnd(Seed(6151u));
    for (int round = 0; round < 40; ++round) {
        const int dw = rnd.Int(1, 41), dh = rnd.Int(1, 8), sw = rnd.Int(1, 41), sh = rnd.Int(1, 8);
        TestImage src(sw, sh, 0, rnd.Int(0, 1) == 1), dst(dw, dh, 0, rnd.Int(0, 1) == 1);
        rnd.Fill(src);
        rnd.Fill(dst);
        TestImage want = dst;
        const auto parent = RandomParent(rnd);
        TCacheInfo ci = rnd.Int(0, 1) ? MakeCacheInfo(parent.get(), rnd.Int(-6, 6), rnd.Int(-4, 4))
                                      : TCacheInfo{nullptr, 0, 0, static_cast<TColor>(rnd.Pixel() & 0xFFFFFF), false};
        const TRect sr{rnd.Int(-3, sw), rnd.Int(-3, sh), rnd.Int(-3, sw + 3), rnd.Int(-3, sh + 3)};
        const int x = rnd.Int(-5, dw), y = rnd.Int(-3, dh);
        // Magenta is the usual key; a random one comes from the pictures themselves.
        const TColor trans = rnd.Int(0, 2) ? clFuchsia : static_cast<TColor>(rnd.Pixel() & 0xFFFFFF);
        const bool update = rnd.Int(0, 1) == 1, dstIsParent = rnd.Int(0, 3) == 0;
        CopyTransRect(dst.Rows(), src.Rows(), x, y, sr, trans, ci, update, dstIsParent);
        RefCopyTransRect(want.Rows(), src.Rows(), x, y, sr, trans, ci, update, dstIsParent);
        ASSERT_TRUE(SameImages(dst, want)) << "round " << round << " ready " << ci.Ready << " update " << update;
    }
}
QV_AT_EVERY_WIDTH(KeyedCopyRuns, 8);

// The blend towards a colour: (t × old + (100 − t) × colour) / 100 rounded to nearest,
// ties to even, on B, G, R; A kept; Right and Bottom inclusive.
class ColorBlendRuns : public AtEveryWidth {};

TEST_P(ColorBlendRuns, EveryTransparencyGivesTheExactQuotients) {
    Random rnd(Seed(27644437u));
    for (int round = 0; round < 40; ++round) {
        const int w = rnd.Int(1, 41), h = rnd.Int(1, 6);
        TestImage img(w, h, 0, rnd.Int(0, 1) == 1);
        rnd.Fill(img);
        TestImage want = img;
        const int t = std::array{0, 1, 50, 99, 100, rnd.Int(0, 100)}[static_cast<std::size_t>(rnd.Int(0, 5))];
        const TColor color = static_cast<TColor>(rnd.Pixel() & 0xFFFFFF);
        const TRect r{rnd.Int(-3, w), rnd.Int(-3, h), rnd.Int(-3, w + 3), rnd.Int(-3, h + 3)};
        BlendColorRect(img.Rows(), r, t, color);
        const int c[3] = {(color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF};
        for (int y = std::max(r.Top, 0); y <= std::min(r.Bottom, h - 1); ++y)
            for (int x = std::max(r.Left, 0); x <= std::min(r.Right, w - 1); ++x) {
                const std::uint32_t v = want.At(x, y);
                std::uint32_t out = v & 0xFF000000u;
                for (int ch = 0; ch < 3; ++ch) {
                    const double exact = (t * static_cast<double>((v >> (8 * ch)) & 0xFF) + (100 - t) * c[ch]) / 100;
                    out |= static_cast<std::uint32_t>(std::nearbyint(exact)) << (8 * ch);
                }
                want.Set(x, y, out);
            }
        ASSERT_TRUE(SameImages(img, want)) << "round " << round << " t " << t;
    }
}
QV_AT_EVERY_WIDTH(ColorBlendRuns, 6);

// The region-cutting mask copy as it was written first: one pixel at a time, the source
// column divided out per pixel, key runs leaving the region.
void RefCopyMask(int DstX1, int DstY1, int DstX2, int DstY2, int SrcX1, int SrcY1, int SrcX2, int SrcY2, TBitmap* Bmp,
                 TacRegion* Region, const TsMaskData& md) {
    const PixelRows dst = Rows32(Bmp), src = Rows32(md.Bmp.get());
    const int dw = DstX2 - DstX1, dh = DstY2 - DstY1, sw = SrcX2 - SrcX1, sh = SrcY2 - SrcY1;
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
    const bool masked = md.MaskType > 0;
    const int maskOffset = masked ? md.R.Height() / (md.MaskType + 1) : 0;
    for (int j = 0; j < dh; ++j) {
        const int y = DstY1 + j, sy = SrcY1 + static_cast<int>((2LL * j + 1) * sh / (2LL * dh));
        if (sy < 0 || sy >= src.Height || (masked && sy + maskOffset >= src.Height)) continue;
        const auto* s = reinterpret_cast<const acPixel32*>(src.Row(sy));
        const auto* m = reinterpret_cast<const acPixel32*>(src.Row(sy + maskOffset));
        int runStart = -1;
        for (int i = 0; i < dw; ++i) {
            const int x = DstX1 + i, sx = SrcX1 + static_cast<int>((2LL * i + 1) * sw / (2LL * dw));
            if (sx < 0 || sx >= src.Width) continue;
            const bool key = s[sx] == KeyPixel;
            if (Region && key && runStart < 0) runStart = x;
            if (Region && !key && runStart >= 0) {
                Region->Remove({runStart, y, x, y + 1});
                runStart = -1;
            }
            if (key || x < 0 || y < 0 || x >= dst.Width || y >= dst.Height) continue;
            auto& d = reinterpret_cast<acPixel32*>(dst.Row(y))[x];
            d = masked ? RefMaskBlend(s[sx], d, m[sx]) | (d & 0xFF000000u) : s[sx];
        }
        if (Region && runStart >= 0) Region->Remove({runStart, y, DstX2, y + 1});
    }
}

class CopyMaskRuns : public AtEveryWidth {};

TEST_P(CopyMaskRuns, StretchedAndDirectCopiesGiveTheReferenceBytesAndRegion) {
    Random rnd(Seed(49979687u));
    for (int round = 0; round < 40; ++round) {
        TsMaskData md;
        const int iw = rnd.Int(1, 30), ih = rnd.Int(1, 6);
        md.MaskType = static_cast<std::int16_t>(rnd.Int(0, 1));
        md.R = {0, 0, iw, ih * (md.MaskType + 1)};
        md.ImageCount = 1;
        md.Bmp = std::make_unique<TBitmap>(iw, ih * (md.MaskType + 1), pf32bit);
        for (int y = 0; y < md.Bmp->Height(); ++y)
            for (int x = 0; x < iw; ++x) md.Bmp->SetPixel32(x, y, rnd.Pixel());
        const int w = rnd.Int(1, 40), h = rnd.Int(1, 8);
        TBitmap got(w, h, pf32bit), want(w, h, pf32bit);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const std::uint32_t v = rnd.Pixel();
                got.SetPixel32(x, y, v);
                want.SetPixel32(x, y, v);
            }
        // Equal sizes half of the time (the one-to-one copy), otherwise any stretch.
        const int sx = rnd.Int(-3, iw), sy = rnd.Int(-2, ih), sw = rnd.Int(1, iw + 3), sh = rnd.Int(1, ih + 2);
        const int dx = rnd.Int(-5, w), dy = rnd.Int(-3, h);
        const bool same = rnd.Int(0, 1) == 1;
        const int dw = same ? sw : rnd.Int(1, 45), dh = same ? sh : rnd.Int(1, 10);
        TacRegion gotRgn, wantRgn;
        gotRgn.Add({-10, -10, 60, 20});
        wantRgn.Add({-10, -10, 60, 20});
        CopyMask(dx, dy, dx + dw, dy + dh, sx, sy, sx + sw, sy + sh, &got, &gotRgn, md, true);
        RefCopyMask(dx, dy, dx + dw, dy + dh, sx, sy, sx + sw, sy + sh, &want, &wantRgn, md);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(got.Pixel32(x, y), want.Pixel32(x, y)) << "round " << round << " at " << x << ", " << y;
        for (int y = -10; y < 20; ++y)
            for (int x = -10; x < 60; ++x)
                ASSERT_EQ(gotRgn.Contains({x, y}), wantRgn.Contains({x, y}))
                    << "round " << round << " at " << x << ", " << y;
    }
}
QV_AT_EVERY_WIDTH(CopyMaskRuns, 4);

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
                        const int xx = rows ? std::clamp(x - t, 0, w - 1) : x,
                                  yy = rows ? y : std::clamp(y - t, 0, h - 1);
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
