// The options loaders on small packed skins: every image reference kind with its
// geometry, the version rules, master bitmap alpha, PNG adjustments, general data with
// inheritance and defaults, JPEG patterns and the application's common sections.
#include "skin/sSkinLoaders.h"

#include "framework/SysUtils.h"
#include "skin/acntUtils.h"
#include "skin/sSkinSource.h"
#include "SkinModelTestUtils.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <jpeglib.h>

namespace qv {
namespace {

using test::MakeBitmap;
using test::PackedSkin;

::testing::AssertionResult SameRect(const TRect& a, const TRect& b) {
    if (a == b) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << a.Left << "," << a.Top << "," << a.Right << "," << a.Bottom
                                         << ") != (" << b.Left << "," << b.Top << "," << b.Right << "," << b.Bottom
                                         << ")";
}

// A 64 x 32 master bitmap: key colour at (0,0) and (63,31), elsewhere x in red, y in green.
std::unique_ptr<TBitmap> Master24() {
    return MakeBitmap(64, 32, pf24bit, [](int x, int y) -> std::uint32_t {
        if ((x == 0 && y == 0) || (x == 63 && y == 31)) return 0xFF00FF;
        return static_cast<std::uint32_t>((x * 4) << 16 | (y * 8) << 8 | 0x11);
    });
}

const char kGlobal[] = "[GLOBALINFO]\r\nVERSION=7.5\r\nMASTERBITMAP=MASTER.BMP\r\n";

TEST(LoadAllMasks, MasterBitmapBecomes32BitWithKeyPixelsLeftTransparent) {
    PackedSkin skin;
    skin.Options(kGlobal).Bmp("Master.bmp", *Master24());
    const TsSkinModel& m = skin.Load();
    ASSERT_EQ(m.MasterBitmap.PixelFormat(), pf32bit);
    ASSERT_EQ(m.MasterBitmap.Width(), 64);
    EXPECT_EQ(m.MasterBitmap.Pixel32(0, 0), 0x00FF00FFu);
    EXPECT_EQ(m.MasterBitmap.Pixel32(63, 31), 0x00FF00FFu);
    EXPECT_EQ(m.MasterBitmap.Pixel32(5, 3), 0xFF000000u | (20u << 16) | (24u << 8) | 0x11u);
    EXPECT_EQ(m.MasterBitmap.Pixel32(62, 31), 0xFF000000u | (248u << 16) | (248u << 8) | 0x11u);
    EXPECT_TRUE(m.MasterBitmap.Transparent);
}

// Widening a 24-bit image, pixel by pixel against the rule (A 255, the key colour keeps
// A 0), at widths below, at and around the four-pixel steps and in odd row paddings.
class MakeBitmap32Widths : public ::testing::TestWithParam<int> {};

TEST_P(MakeBitmap32Widths, EveryPixelFollowsTheKeyRule) {
    const int w = GetParam(), h = 3;
    std::uint32_t seed = static_cast<std::uint32_t>(w) * 2654435761u;
    auto bmp = MakeBitmap(w, h, pf24bit, [&seed](int, int) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % 5 == 0 ? 0xFF00FFu : (seed >> 8) & 0xFFFFFFu;  // a fifth are key pixels
    });
    TBitmap source;
    source.Assign(*bmp);
    MakeBitmap32(*bmp);
    ASSERT_EQ(bmp->PixelFormat(), pf32bit);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::uint8_t* s = source.ScanLine(y) + x * 3;
            const std::uint32_t rgb = s[0] | s[1] << 8 | s[2] << 16;
            ASSERT_EQ(bmp->Pixel32(x, y), rgb == 0xFF00FFu ? rgb : rgb | 0xFF000000u) << x << "," << y;
        }
}

INSTANTIATE_TEST_SUITE_P(Widths, MakeBitmap32Widths, ::testing::Range(1, 24));

TEST(LoadAllMasks, MasterNamedInLowerCaseIsNotFoundInAPack) {
    PackedSkin skin;
    skin.Options("[GLOBALINFO]\r\nMASTERBITMAP=master.bmp\r\n").Bmp("master.bmp", *Master24());
    EXPECT_TRUE(skin.Load().MasterBitmap.Empty());
}

TEST(LoadAllMasks, EveryReferenceKindFromThePack) {
    PackedSkin skin;
    auto glow = MakeBitmap(8, 4, pf32bit, [](int x, int) { return x == 0 ? 0x80C86432u : 0xFFFFFFFFu; });
    auto edge = MakeBitmap(18, 12, pf24bit, [](int, int) { return 0x123456u; });
    skin.Options(std::string(kGlobal) +
                 "[BUTTON]\r\n"
                 "BORDERSMASK=^0000^0000^0030^0020^0000^0000^0000^0000^1^0^0^0\r\n"
                 "GLYPHMASK=@0000@0000@0010@0010@2@1\r\n"
                 "PATTERN=~0010~0010~0050~0030~02~1\r\n"
                 "GLOW0=!GLOW.PNG!2!1!9\r\n"
                 "EDGE=edge.bmp\r\n"
                 "RECT=#(0,0,30,20)(3,1,0)\r\n"
                 "COLOR=$FF00FF\r\n")
        .Bmp("Master.bmp", *Master24())
        .Png("Glow.png", *glow)
        .Bmp("Edge.bmp", *edge);
    skin.Load();
    ASSERT_EQ(skin.Model.ma.size(), 6u);

    const TsMaskData& border = skin.Mask(L"BUTTON", L"BORDERSMASK");
    EXPECT_EQ(border.ImgType, itisaBorder);
    EXPECT_TRUE(SameRect(border.R, {0, 0, 30, 20}));
    // All four widths 0 and no BorderWidth: a third of the 30 x 20 state image.
    EXPECT_EQ(border.WL, 10);
    EXPECT_EQ(border.WR, 10);
    EXPECT_EQ(border.WT, 6);
    EXPECT_EQ(border.WB, 6);
    EXPECT_EQ(border.CornerType, 1);  // key pixel at (0,0) lies in the top-left corner
    EXPECT_EQ(border.Bmp, nullptr);

    const TsMaskData& glyph = skin.Mask(L"BUTTON", L"GLYPHMASK");
    EXPECT_EQ(glyph.ImgType, itisaGlyph);
    EXPECT_EQ(glyph.ImageCount, 2);
    EXPECT_EQ(glyph.MaskType, 1);
    EXPECT_EQ(WidthOfImage(glyph), 5);
    EXPECT_EQ(HeightOfImage(glyph), 5);

    const TsMaskData& texture = skin.Mask(L"BUTTON", L"PATTERN");
    EXPECT_EQ(texture.ImgType, itisaTexture);
    EXPECT_TRUE(SameRect(texture.R, {10, 10, 50, 30}));
    EXPECT_EQ(texture.DrawMode, 2);
    EXPECT_EQ(texture.MaskType, 1);
    EXPECT_EQ(texture.ImageCount, 1);

    const TsMaskData& png = skin.Mask(L"BUTTON", L"GLOW0");
    EXPECT_EQ(png.ImgType, itisaPngGlyph);  // type 9 counts as 4
    ASSERT_TRUE(png.Bmp);
    EXPECT_TRUE(SameRect(png.R, {0, 0, 8, 4}));
    EXPECT_EQ(png.ImageCount, 2);
    EXPECT_EQ(png.WL, 1);  // 8 / (2 * 3)
    EXPECT_EQ(png.WT, 0);  // 4 / ((1 + 1) * 3)
    EXPECT_EQ(png.DrawMode, 1);
    // Version 7.5: premultiplied. 0xC8 * 0x80 / 255 = 100, 0x64 -> 50, 0x32 -> 25.
    EXPECT_EQ(png.Bmp->Pixel32(0, 2), 0x80643219u);
    EXPECT_EQ(png.Bmp->Pixel32(3, 1), 0xFFFFFFFFu);

    const TsMaskData& bmp = skin.Mask(L"BUTTON", L"EDGE");
    ASSERT_TRUE(bmp.Bmp);
    EXPECT_EQ(bmp.Bmp->PixelFormat(), pf32bit);
    EXPECT_EQ(bmp.Bmp->Pixel32(17, 11), 0xFF123456u);
    EXPECT_EQ(bmp.ImageCount, 3);
    EXPECT_EQ(bmp.MaskType, 1);
    EXPECT_EQ(bmp.WL, 2);  // 18 / 9
    EXPECT_EQ(bmp.WT, 2);  // 12 / 6

    const TsMaskData& rect = skin.Mask(L"BUTTON", L"RECT");
    EXPECT_TRUE(SameRect(rect.R, {0, 0, 30, 20}));
    EXPECT_EQ(rect.ImageCount, 3);
    EXPECT_EQ(rect.MaskType, 1);
    EXPECT_EQ(rect.DrawMode, 1);  // missing
    EXPECT_EQ(rect.WL, 3);        // 30 / 9
    EXPECT_EQ(rect.WT, 3);        // 20 / 6
    EXPECT_EQ(skin.CheckedVersion, 7.5);
}

TEST(LoadAllMasks, OldSkinsMakeWhiteTransparentPngPixelsZeroInsteadOfPremultiplying) {
    PackedSkin skin;
    auto img = MakeBitmap(2, 1, pf32bit, [](int x, int) { return x == 0 ? 0x00FFFFFFu : 0x80C86432u; });
    skin.Options("[GLOBALINFO]\r\nVERSION=7.45\r\n[B]\r\nG=!I.PNG!1!0!2!1!1!1!1!0\r\n").Png("i.png", *img);
    skin.Load();
    const TsMaskData& md = skin.Mask(L"B", L"G");
    EXPECT_EQ(md.Bmp->Pixel32(0, 0), 0u);
    EXPECT_EQ(md.Bmp->Pixel32(1, 0), 0x80C86432u);
    EXPECT_EQ(md.ImgType, itisaGlyph);
    EXPECT_EQ(md.DrawMode, 0);  // word 9
}

TEST(LoadAllMasks, OldSkinsDeriveTheStretchBitFromTheCentreSize) {
    // 5 x 6 with one mask row: one state is 5 x 3; widths 2+2 and 1+1 leave a 1 x 1 centre.
    PackedSkin skin;
    skin.Options(
            "[GLOBALINFO]\r\nVERSION=7.0\r\nMASTERBITMAP=MASTER.BMP\r\n[A]\r\n"
            "STRETCH=^0000^0000^0005^0006^0002^0001^0002^0001^1^1^0^0\r\n"
            "TILE=^0000^0000^0006^0006^0002^0001^0002^0001^1^1^1^0\r\n")
        .Bmp("MASTER.BMP", *Master24());
    skin.Load();
    EXPECT_EQ(skin.Mask(L"A", L"STRETCH").DrawMode, 1);
    EXPECT_EQ(skin.Mask(L"A", L"TILE").DrawMode, 0);
}

TEST(LoadAllMasks, RectanglesOutsideTheMasterAreClipped) {
    PackedSkin skin;
    skin.Options(std::string(kGlobal) +
                 "[A]\r\nPART=^0050^0020^0090^0040^0001^0001^0001^0001^1^0^0^0\r\n"
                 "OUT=@0100@0100@0120@0120@1@0\r\nHASH=#(-5,-5,10,10)(1,0)\r\n")
        .Bmp("MASTER.BMP", *Master24());
    skin.Load();
    EXPECT_TRUE(SameRect(skin.Mask(L"A", L"PART").R, {50, 20, 64, 32}));
    EXPECT_EQ(skin.Mask(L"A", L"PART").CornerType, 0);  // (63,31) is clipped away as the last column and row
    EXPECT_TRUE(skin.Mask(L"A", L"OUT").R.IsEmpty());
    EXPECT_TRUE(SameRect(skin.Mask(L"A", L"HASH").R, {0, 0, 10, 10}));
}

TEST(LoadAllMasks, MalformedDigitFieldAbortsTheLoad) {
    PackedSkin skin;
    skin.Options("[A]\r\nG=@00x0@0000@0010@0010@1@0\r\n");
    EXPECT_THROW(skin.Load(), EConvertError);
    PackedSkin shortRef;
    shortRef.Options("[A]\r\nG=^0000^0000\r\n");
    EXPECT_THROW(shortRef.Load(), EConvertError);
}

TEST(LoadAllMasks, MissingOrUndecodableImagesAddNothing) {
    PackedSkin skin;
    skin.Options(
            "[A]\r\nX=!NONE.PNG!1!0!0\r\nY=!BAD.PNG!1!0!0\r\nZ=!LOWER.png!1!0!0\r\nW=BROKEN.BMP\r\nV=!TEXT.TXT\r\n")
        .File("BAD.PNG", {1, 2, 3})
        .File("BROKEN.BMP", {'B', 'M', 0});
    skin.Load();
    EXPECT_TRUE(skin.Model.ma.empty());
}

TEST(LoadAllGeneralData, SectionsInFileOrderWithInheritanceAndDefaults) {
    PackedSkin skin;
    skin.Options(
        "[GLOBALINFO]\r\nVERSION=7.5\r\nTITLEHEIGHT=32\r\nMAXHEIGHT=0\r\nSHADOW1BLUR=3\r\nAEROBLUR=2\r\n"
        "[BASE]\r\nCOLOR=$0000FF\r\nGRADIENTDATA=N/A\r\nGRADIENTPERCENT=40\r\nSHOWFOCUS=true\r\nGIVEOWNFONT=yes\r\n"
        "[FLAT]\r\nPARENTCLASS=BASE\r\nSTATES=1\r\nHOTCOLOR=123\r\nCOLOR=-1\r\nFONTCOLOR=$000102\r\n"
        "[NOGRAD]\r\nGRADIENTPERCENT=40\r\nCOLOR=-1\r\n"
        "[GRAD]\r\nGRADIENTDATA=255;0;100;0;0\r\nGRADIENTPERCENT=30\r\nHOTGRADIENTDATA=X\r\n"
        "HOTGRADIENTPERCENT=50\r\nHOTCOLOR=$ABCDEF\r\nHGCOL=-16777211\r\nTCLEFT=5\r\n");
    const TsSkinModel& m = skin.Load();
    ASSERT_EQ(m.gd.size(), 5u);
    EXPECT_EQ(m.gd[0].ClassName, L"GLOBALINFO");
    EXPECT_EQ(m.gd[4].ClassName, L"GRAD");
    EXPECT_EQ(m.SkinData.ExMaxHeight, 32);
    EXPECT_EQ(m.SkinData.Shadow1Blur, 3);
    EXPECT_EQ(m.SkinData.ExBorderWidth, 4);
    EXPECT_TRUE(m.SkinData.UseAeroBluring);

    const TsGeneralData& base = m.gd[1];
    EXPECT_EQ(base.GradientPercent, 40);  // "N/A" is long enough: kept, but no gradient
    EXPECT_TRUE(base.GradientArray.empty());
    EXPECT_TRUE(base.ShowFocus);
    EXPECT_FALSE(base.GiveOwnFont);
    EXPECT_EQ(base.States, 4);
    EXPECT_EQ(base.FadingIterations, 5);
    EXPECT_EQ(base.HotColor, clWhite);

    const TsGeneralData& flat = m.gd[2];
    EXPECT_EQ(flat.Color, 0x0000FF);  // -1 is absent: the parent's
    EXPECT_EQ(flat.HotColor, 0);      // one state: hot keys are not read
    EXPECT_EQ(flat.Props[1].Color, flat.Props[0].Color);
    EXPECT_EQ(flat.Props[1].FontColor, flat.Props[0].FontColor);
    EXPECT_EQ(flat.Props[1].GradientPercent, 40);
    EXPECT_EQ(flat.Props[0].FontColor.Color, 0x000102);
    EXPECT_TRUE(flat.ShowFocus);  // inherited string
    EXPECT_EQ(flat.BorderIndex, -1);

    const TsGeneralData& nograd = m.gd[3];
    EXPECT_EQ(nograd.Color, clWhite);
    EXPECT_EQ(nograd.GradientData, L" ");
    EXPECT_EQ(nograd.GradientPercent, 0);  // no GRADIENTDATA: forced to 0

    const TsGeneralData& grad = m.gd[4];
    ASSERT_EQ(grad.GradientArray.size(), 1u);
    EXPECT_EQ(grad.GradientArray[0].Color1, 255);
    EXPECT_EQ(grad.GradientPercent, 30);
    EXPECT_EQ(grad.HotGradientPercent, 0);  // "X" is shorter than 2 characters
    EXPECT_EQ(grad.HotColor, 0xABCDEF);
    EXPECT_EQ(grad.HotGlowColor, static_cast<TColor>(SysColorRGB(5)));  // HGCOL goes to RGB
    EXPECT_EQ(grad.Props[1].Color, 0xABCDEF);
    EXPECT_EQ(grad.Props[0].FontColor.Left, 5);
    EXPECT_EQ(grad.Props[1].FontColor.Left, clNone);
}

TEST(LoadAllGeneralData, StrictGlobalIntegersAbortTheLoad) {
    for (const char* key : {"SHADOW1OFFSET=x", "SHADOW1BLUR=1.5", "BICONMINGLOWMARGIN=abc"}) {
        PackedSkin skin;
        skin.Options(std::string("[GLOBALINFO]\r\n") + key + "\r\n");
        EXPECT_THROW(skin.Load(), EConvertError) << key;
    }
}

TEST(LoadAllGeneralData, ImageIndexesFollowTheParentChain) {
    PackedSkin skin;
    skin.Options(std::string(kGlobal) +
                 "[PARENT]\r\nBORDERSMASK=@0000@0000@0010@0010@1@0\r\n"
                 "PATTERN=~0010~0010~0050~0030~02~1\r\n[CHILD]\r\nPARENTCLASS=PARENT\r\n"
                 "[LOOP1]\r\nPARENTCLASS=LOOP2\r\n[LOOP2]\r\nPARENTCLASS=LOOP1\r\n")
        .Bmp("MASTER.BMP", *Master24());
    const TsSkinModel& m = skin.Load();
    const TsGeneralData& child = m.gd[static_cast<std::size_t>(m.GetSkinIndex(L"CHILD"))];
    EXPECT_EQ(child.BorderIndex, 0);
    EXPECT_EQ(child.TextureNormal, 1);
    EXPECT_EQ(m.gd[static_cast<std::size_t>(m.GetSkinIndex(L"LOOP1"))].BorderIndex, -1);
}

TEST(LoadAllGeneralData, CommonSectionsAddMissingSectionsOnly) {
    PackedSkin skin;
    skin.Options("[BASE]\r\nCOLOR=$0000FF\r\nGLOW=3\r\n[EDIT]\r\nCOLOR=$00FF00\r\n");
    skin.CommonSections = {
        L"; added by the application", L"[MYPANEL]", L"PARENTCLASS=base", L"FONTCOLOR=77", L"[EDIT]", L"COLOR=$FF0000"};
    const TsSkinModel& m = skin.Load();
    ASSERT_EQ(m.gd.size(), 3u);
    EXPECT_EQ(m.gd[1].Color, 0x00FF00);  // existing section unchanged
    const TsGeneralData& mine = m.gd[2];
    EXPECT_EQ(mine.ClassName, L"MYPANEL");
    EXPECT_EQ(mine.ParentClass, L"BASE");
    EXPECT_EQ(mine.Color, 0x0000FF);
    EXPECT_EQ(mine.GlowCount, 3);
    EXPECT_EQ(mine.FontColor[0], 77);
    EXPECT_EQ(mine.States, 4);  // taken from the skin's own options, which lack it
}

// Grey JPEG bytes of the given size, encoded with libjpeg.
std::vector<std::uint8_t> GreyJpeg(int w, int h) {
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &out, &size);
    c.image_width = static_cast<JDIMENSION>(w);
    c.image_height = static_cast<JDIMENSION>(h);
    c.input_components = 1;
    c.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&c);
    jpeg_start_compress(&c, TRUE);
    std::vector<unsigned char> row(static_cast<std::size_t>(w), 0x80);
    while (c.next_scanline < c.image_height) {
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&c, &r, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    std::vector<std::uint8_t> bytes(out, out + size);
    free(out);
    return bytes;
}

TEST(LoadAllPatterns, LargePicturesStayPatternsSmallerOnesBecomeTextures) {
    PackedSkin skin;
    skin.Options("[FORM]\r\nPATTERN=big.jpg\r\nHOTPATTERN=SMALL.JPEG\r\n")
        .File("BIG.JPG", GreyJpeg(1000, 900))
        .File("small.jpeg", GreyJpeg(999, 900));
    const TsSkinModel& m = skin.Load();
    ASSERT_EQ(m.pa.size(), 1u);
    EXPECT_EQ(m.pa[0].PropertyName, L"PATTERN");
    EXPECT_EQ(m.pa[0].Img->Width, 1000);
    EXPECT_EQ(m.GetPatternIndex(m.GetSkinIndex(L"FORM"), L"FORM", L"PATTERN"), 0);
    ASSERT_EQ(m.ma.size(), 1u);
    EXPECT_EQ(m.ma[0].PropertyName, L"HOTPATTERN");
    EXPECT_EQ(m.ma[0].ImgType, itisaTexture);
    ASSERT_TRUE(m.ma[0].Bmp);
    EXPECT_EQ(m.ma[0].Bmp->Width(), 999);
    EXPECT_EQ(m.ma[0].Bmp->Pixel32(500, 450) >> 24, 0xFFu);
    EXPECT_TRUE(m.ma[0].R.IsEmpty());
}

TEST(FolderSkin, FilesAreFoundBesideTheOptionsWhateverTheirLetterCase) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / "qv-folder-skin";
    fs::create_directories(dir);
    auto edge = MakeBitmap(9, 6, pf24bit, [](int, int) { return 0x445566u; });
    TBytesStream(SaveBMP(*Master24())).SaveToFile(Utf8ToString((dir / "Master.bmp").string()));
    TBytesStream(SaveBMP(*edge)).SaveToFile(Utf8ToString((dir / "edge.BMP").string()));
    auto ini = test::Ini(
        L"[GLOBALINFO]\nMASTERBITMAP=MASTER.BMP\n[A]\nBORDERSMASK=Edge.bmp\nGLYPH=@0000@0000@0004@0004@1@0\n");
    TsSkinModel model;
    model.SkinData.SkinPath = Utf8ToString(dir.string()) + L"\\";
    TsSkinLoadContext ctx;
    ctx.SkinFile = ini.get();
    LoadSkinModel(model, ctx);
    fs::remove_all(dir);
    EXPECT_EQ(model.MasterBitmap.Width(), 64);
    ASSERT_EQ(model.ma.size(), 2u);
    ASSERT_TRUE(model.ma[0].Bmp);
    EXPECT_EQ(model.ma[0].Bmp->Pixel32(8, 5), 0xFF445566u);
    EXPECT_EQ(model.gd[1].BorderIndex, 0);
}

// A skin folder ("skin") inside a scratch folder that also holds OUTSIDE.BMP, OUTSIDE.PNG
// and OUTSIDE.JPG, which the skin's names try to reach; the skin itself has INSIDE.PNG.
class SkinFolderNames : public ::testing::Test {
protected:
    void SetUp() override {
        namespace fs = std::filesystem;
        FRoot = fs::absolute(
            fs::temp_directory_path() /
            ("qv-skin-names-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name())));
        fs::remove_all(FRoot);
        fs::create_directories(FRoot / "skin");
        auto picture = MakeBitmap(6, 6, pf32bit, [](int, int) { return 0xFF445566u; });
        Write(FRoot / "OUTSIDE.BMP", SaveBMP(*Master24()));
        Write(FRoot / "OUTSIDE.PNG", SavePNG(*picture));
        Write(FRoot / "OUTSIDE.JPG", GreyJpeg(8, 8));
        Write(FRoot / "skin" / "INSIDE.PNG", SavePNG(*picture));
    }
    void TearDown() override { std::filesystem::remove_all(FRoot); }

    static void Write(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes) {
        TBytesStream(bytes).SaveToFile(Name(file));
    }
    static String Name(const std::filesystem::path& file) {
#ifdef _WIN32
        return file.wstring();
#else
        return Utf8ToString(file.string());
#endif
    }
    // The outside files as the skin names them: `prefix` + OUTSIDE.<kind>.
    String Outside(const String& prefix, const wchar_t* kind) const { return prefix + L"OUTSIDE." + kind; }

    // Loads the skin with every kind of image name pointing at prefix + OUTSIDE.*: the
    // master bitmap, a "!" image, a plain BMP file name and a JPEG pattern; then checks
    // that the skin loaded with its own image only.
    void ExpectRefused(const String& prefix) {
        const String options = L"[GLOBALINFO]\r\nVERSION=7.5\r\nMASTERBITMAP=" + Outside(prefix, L"BMP") +
                               L"\r\n[A]\r\nIMAGE=!" + Outside(prefix, L"PNG") + L"!1!0!0\r\nEDGE=" +
                               Outside(prefix, L"BMP") + L"\r\nPATTERN=" + Outside(prefix, L"JPG") +
                               L"\r\n[B]\r\nIMAGE=!INSIDE.PNG!1!0!0\r\n";
        const Bytes utf8 = StringToUtf8(options);
        Write(FRoot / "skin" / "Options.dat", std::vector<std::uint8_t>(utf8.begin(), utf8.end()));
        TsSkinModel model;
        LoadFolderSkin(model, Name(FRoot / "skin"));
        EXPECT_TRUE(model.MasterBitmap.Empty()) << "master bitmap read through " << StringToUtf8(prefix);
        EXPECT_TRUE(model.pa.empty());
        ASSERT_EQ(model.ma.size(), 1u) << "an image was read through " << StringToUtf8(prefix);
        EXPECT_EQ(model.ma[0].ClassName, L"B");
        ASSERT_TRUE(model.ma[0].Bmp);
        EXPECT_EQ(model.ma[0].Bmp->Width(), 6);
    }

    std::filesystem::path FRoot;
};

TEST_F(SkinFolderNames, ParentFolderPartsAreRefused) {
    ExpectRefused(L"..\\");
    ExpectRefused(L"../");
    ExpectRefused(L"SUB\\..\\..\\");
    ExpectRefused(L".. \\");
    // Dots inside a name are no parent part: "A..B.PNG" in the skin folder is read.
    Write(FRoot / "skin" / "A..B.PNG", SavePNG(*MakeBitmap(3, 3, pf32bit, [](int, int) { return 0xFF000000u; })));
    EXPECT_TRUE(IsNameInsideSkinFolder(L"A..B.PNG"));
    std::vector<std::uint8_t> bytes;
    EXPECT_TRUE(ReadSkinFile(nullptr, Name(FRoot / "skin") + L"\\", L"A..B.PNG", bytes));
}

TEST_F(SkinFolderNames, DriveLettersAreRefused) {
    // The scratch folder's full name with its drive, as "C:\...\" (Z: under Wine).
    // Without drives (other systems) the same name with a made-up drive is refused too.
#ifdef _WIN32
    const String full = Name(FRoot) + L"\\";
    ASSERT_EQ(full[1], L':');
    ExpectRefused(full);
    ExpectRefused(full.substr(0, 2));  // drive-relative: "C:OUTSIDE.BMP"
#else
    ExpectRefused(L"C:" + Name(FRoot) + L"/");
#endif
}

TEST_F(SkinFolderNames, RootedAndNetworkNamesAreRefused) {
    // A rooted name would read the outside file if the folder name were empty.
#ifdef _WIN32
    // "\...\" on the current drive, which is made the scratch folder's for the test.
    const String rooted = Name(FRoot).substr(2) + L"\\";
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(FRoot);
    struct Restore {
        std::filesystem::path Path;
        ~Restore() { std::filesystem::current_path(Path); }
    } restore{before};
#else
    const String rooted = Name(FRoot) + L"/";
#endif
    std::vector<std::uint8_t> bytes;
    EXPECT_FALSE(ReadSkinFile(nullptr, L"", Outside(rooted, L"BMP"), bytes));
    ExpectRefused(rooted);
    ExpectRefused(L"\\\\localhost\\share\\");
    ExpectRefused(L"//localhost/share/");
}

}  // namespace
}  // namespace qv
