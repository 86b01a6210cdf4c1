#include "framework/Imaging.h"
#include "framework/SysUtils.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <jpeglib.h>
#include <zlib.h>

namespace qv {
namespace {

using ByteVec = std::vector<std::uint8_t>;

void Put16(ByteVec& v, std::uint32_t x) {
    v.push_back(x & 0xFF);
    v.push_back((x >> 8) & 0xFF);
}
void Put32(ByteVec& v, std::uint32_t x) {
    for (int k = 0; k < 4; ++k) v.push_back((x >> (8 * k)) & 0xFF);
}
void PutBE32(ByteVec& v, std::uint32_t x) {
    for (int k = 3; k >= 0; --k) v.push_back((x >> (8 * k)) & 0xFF);
}

// A BMP file: file header, a header of headerSize bytes (fields of the first 40 filled,
// masks at 40 when headerSize > 40), then extra (palette or masks) and pixel bytes.
ByteVec MakeBmp(int width, int height, int bits, std::uint32_t compression, const ByteVec& extra, const ByteVec& pixels,
                std::uint32_t headerSize = 40, const ByteVec& inHeaderMasks = {}) {
    ByteVec v{'B', 'M'};
    const std::uint32_t off = 14 + headerSize + static_cast<std::uint32_t>(extra.size());
    Put32(v, off + static_cast<std::uint32_t>(pixels.size()));
    Put32(v, 0);
    Put32(v, off);
    Put32(v, headerSize);
    Put32(v, static_cast<std::uint32_t>(width));
    Put32(v, static_cast<std::uint32_t>(height));
    Put16(v, 1);
    Put16(v, static_cast<std::uint32_t>(bits));
    Put32(v, compression);
    Put32(v, static_cast<std::uint32_t>(pixels.size()));
    Put32(v, 0);
    Put32(v, 0);
    Put32(v, 0);  // colours used: all
    Put32(v, 0);
    v.insert(v.end(), inHeaderMasks.begin(), inHeaderMasks.end());
    v.resize(14 + headerSize, 0);
    v.insert(v.end(), extra.begin(), extra.end());
    v.insert(v.end(), pixels.begin(), pixels.end());
    return v;
}

void Load(const ByteVec& file, TBitmap& out) { LoadImageFromMemory(file.data(), file.size(), out); }

// Every cut of a valid file must be refused cleanly, never crash or read past the data.
void ExpectEveryPrefixRefused(const ByteVec& file, std::size_t from = 0, std::size_t to = SIZE_MAX) {
    for (std::size_t n = from; n < std::min(to, file.size()); ++n) {
        ByteVec cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(n));
        TBitmap out(1, 1);
        out.SetPixel32(0, 0, 0x12345678);
        try {
            Load(cut, out);
            ADD_FAILURE() << "a file cut to " << n << " of " << file.size() << " bytes was accepted";
        } catch (const EInvalidGraphic&) {
        }
        EXPECT_EQ(out.Pixel32(0, 0), 0x12345678u) << "output changed by a failed load at " << n;
    }
}

TEST(BmpReader, TwentyFourBitBottomUpWithRowPadding) {
    // 2x2, rows padded from 6 to 8 bytes; the file's first row is the bottom one.
    const ByteVec pixels{1, 2, 3, 4, 5, 6, 0xEE, 0xEE, 7, 8, 9, 10, 11, 12, 0xEE, 0xEE};
    const ByteVec file = MakeBmp(2, 2, 24, 0, {}, pixels);
    TBitmap bmp;
    Load(file, bmp);
    ASSERT_EQ(bmp.PixelFormat(), pf24bit);
    ASSERT_EQ(bmp.Width(), 2);
    const std::uint8_t* top = bmp.ScanLine(0);
    const std::uint8_t* bottom = bmp.ScanLine(1);
    EXPECT_EQ(ByteVec(top, top + 6), (ByteVec{7, 8, 9, 10, 11, 12}));
    EXPECT_EQ(ByteVec(bottom, bottom + 6), (ByteVec{1, 2, 3, 4, 5, 6}));
    // The final row's padding may be missing; anything shorter is refused.
    ExpectEveryPrefixRefused(file, 0, file.size() - 2);
    TBitmap unpadded;
    Load(ByteVec(file.begin(), file.end() - 2), unpadded);
    EXPECT_EQ(unpadded.ScanLine(0)[5], 12);
}

TEST(BmpReader, ThirtyTwoBitTopDownKeepsTheFourthByte) {
    ByteVec pixels;
    Put32(pixels, 0x11223344);  // top row
    Put32(pixels, 0x80FF00FF);  // bottom row
    TBitmap bmp;
    Load(MakeBmp(1, -2, 32, 0, {}, pixels), bmp);
    ASSERT_EQ(bmp.PixelFormat(), pf32bit);
    EXPECT_EQ(bmp.Pixel32(0, 0), 0x11223344u);
    EXPECT_EQ(bmp.Pixel32(0, 1), 0x80FF00FFu);
}

TEST(BmpReader, BitFieldsWithStandardMasksInV1AndV5Headers) {
    ByteVec masks;
    Put32(masks, 0x00FF0000);
    Put32(masks, 0x0000FF00);
    Put32(masks, 0x000000FF);
    ByteVec pixels;
    Put32(pixels, 0xAA010203);
    TBitmap v1, v5;
    Load(MakeBmp(1, 1, 32, 3, masks, pixels), v1);
    ByteVec v5masks = masks;
    Put32(v5masks, 0xFF000000);
    Load(MakeBmp(1, 1, 32, 3, {}, pixels, 124, v5masks), v5);
    EXPECT_EQ(v1.Pixel32(0, 0), 0xAA010203u);
    EXPECT_EQ(v5.Pixel32(0, 0), 0xAA010203u);
    ByteVec swapped;
    Put32(swapped, 0x000000FF);
    Put32(swapped, 0x0000FF00);
    Put32(swapped, 0x00FF0000);
    TBitmap refused;
    EXPECT_THROW(Load(MakeBmp(1, 1, 32, 3, swapped, pixels), refused), EInvalidGraphic);
}

TEST(BmpReader, OneAndFourBitIndexesExpandToBytesWithThePalette) {
    ByteVec palette2;
    Put32(palette2, 0x000000);
    Put32(palette2, 0x00FF8040);
    // 10 pixels: 1011001110 then padding.
    TBitmap mono;
    Load(MakeBmp(10, 1, 1, 0, palette2, {0xB3, 0x80, 0, 0}), mono);
    ASSERT_EQ(mono.PixelFormat(), pf8bit);
    const ByteVec want1{1, 0, 1, 1, 0, 0, 1, 1, 1, 0};
    EXPECT_EQ(ByteVec(mono.ScanLine(0), mono.ScanLine(0) + 10), want1);
    EXPECT_EQ(mono.Palette()[1], 0x00FF8040u);
    mono.SetPixelFormat(pf32bit);
    EXPECT_EQ(mono.Pixel32(0, 0), 0x00FF8040u);

    ByteVec palette16(16 * 4, 0);
    TBitmap nibbles;
    Load(MakeBmp(3, 1, 4, 0, palette16, {0x1F, 0xA0, 0, 0}), nibbles);
    EXPECT_EQ(ByteVec(nibbles.ScanLine(0), nibbles.ScanLine(0) + 3), (ByteVec{1, 15, 10}));
}

TEST(BmpReader, RunLengthEightBit) {
    ByteVec palette(256 * 4, 0);
    // Bottom line: 3 x 5, literal 7 8 9 (padded), end of line; top line: delta 1,0 then
    // 1 x 4, end of picture.
    const ByteVec rle{3, 5, 0, 3, 7, 8, 9, 0, 0, 0, 0, 2, 1, 0, 1, 4, 0, 1};
    const ByteVec file = MakeBmp(6, 2, 8, 1, palette, rle);
    TBitmap bmp;
    Load(file, bmp);
    EXPECT_EQ(ByteVec(bmp.ScanLine(1), bmp.ScanLine(1) + 6), (ByteVec{5, 5, 5, 7, 8, 9}));
    EXPECT_EQ(ByteVec(bmp.ScanLine(0), bmp.ScanLine(0) + 6), (ByteVec{0, 4, 0, 0, 0, 0}));
    ExpectEveryPrefixRefused(file);
    // Pixels above the top line are corrupt.
    TBitmap refused;
    EXPECT_THROW(Load(MakeBmp(2, 1, 8, 1, palette, {1, 1, 0, 0, 1, 1, 0, 1}), refused), EInvalidGraphic);
}

// The 5 x 3 picture of tests/data/bmp/picture.ppm, top row first, as 0xRRGGBB.
constexpr std::uint32_t kPicture[3][5] = {
    {0xFF0000, 0xFF0000, 0xFF0000, 0x0000FF, 0x0000FF},
    {0x00FF00, 0x00FF00, 0x194284, 0x00FF00, 0x00FF00},
    {0xFFFFFF, 0x000000, 0xFF0000, 0x00FF00, 0x000000},
};

// Every pixel of bmp (as 32 bits, alpha ignored) against kPicture; `odd` replaces the
// one colour that 16-bit channels cannot hold exactly.
void ExpectPicture(TBitmap& bmp, std::uint32_t odd = 0x194284) {
    ASSERT_EQ(bmp.Width(), 5);
    ASSERT_EQ(bmp.Height(), 3);
    bmp.SetPixelFormat(pf32bit);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            const std::uint32_t want = kPicture[y][x] == 0x194284 ? odd : kPicture[y][x];
            EXPECT_EQ(bmp.Pixel32(x, y) & 0xFFFFFF, want) << "pixel " << x << "," << y;
        }
}

ByteVec DataFile(const char* name) {
    const std::string bytes = test::ReadAll(Utf8ToString(std::string(QUORVEL_TEST_DATA "/bmp/") + name));
    return ByteVec(bytes.begin(), bytes.end());
}

TEST(BmpReader, RunLengthRowsThatEncodeTheirPaddingAreClipped) {
    // ImageMagick ends every row of this odd-width picture with a run over the padding
    // bytes, up to three pixels past the row.
    const ByteVec file = DataFile("rle8-odd-width.bmp");
    ASSERT_GT(file.size(), 1078u);
    ASSERT_EQ(file[30], 1);  // BI_RLE8
    TBitmap bmp;
    Load(file, bmp);
    ASSERT_EQ(bmp.PixelFormat(), pf8bit);
    ExpectPicture(bmp);
    ExpectEveryPrefixRefused(file, file.size() - 64);
}

TEST(BmpReader, SixteenBitFiveSixFiveAndFiveFiveFive) {
    // Channels widen by repeating their top bits: 5-bit 3 -> 24, 6-bit 16 -> 65,
    // 5-bit 8 -> 66, 5-bit 16 -> 132.
    TBitmap rgb565, rgb555;
    Load(DataFile("rgb565-bitfields.bmp"), rgb565);
    Load(DataFile("rgb555-bitfields.bmp"), rgb555);
    EXPECT_EQ(rgb565.PixelFormat(), pf24bit);
    ExpectPicture(rgb565, 0x184184);
    ExpectPicture(rgb555, 0x184284);

    // The same 5-5-5 pixels with a plain 40-byte header and BI_RGB (no masks).
    const ByteVec bitfields = DataFile("rgb555-bitfields.bmp");
    const ByteVec pixels(bitfields.begin() + 138, bitfields.end());
    const ByteVec plain = MakeBmp(5, 3, 16, 0, {}, pixels);
    TBitmap rgb;
    Load(plain, rgb);
    ExpectPicture(rgb, 0x184284);
    ExpectEveryPrefixRefused(plain, 0, plain.size() - 2);

    // 5-6-5 masks after a version 1 header, top-down.
    ByteVec masks;
    Put32(masks, 0xF800);
    Put32(masks, 0x07E0);
    Put32(masks, 0x001F);
    TBitmap v1;
    Load(MakeBmp(2, -1, 16, 3, masks, {0x10, 0x1A, 0xFF, 0xFF}), v1);
    v1.SetPixelFormat(pf32bit);
    EXPECT_EQ(v1.Pixel32(0, 0) & 0xFFFFFF, 0x184184u);
    EXPECT_EQ(v1.Pixel32(1, 0) & 0xFFFFFF, 0xFFFFFFu);

    ByteVec overlapping;
    Put32(overlapping, 0xF800);
    Put32(overlapping, 0x0FE0);
    Put32(overlapping, 0x001F);
    ByteVec gap;
    Put32(gap, 0xF800);
    Put32(gap, 0x07A0);
    Put32(gap, 0x001F);
    TBitmap refused;
    EXPECT_THROW(Load(MakeBmp(2, 1, 16, 3, overlapping, {0, 0, 0, 0}), refused), EInvalidGraphic);
    EXPECT_THROW(Load(MakeBmp(2, 1, 16, 3, gap, {0, 0, 0, 0}), refused), EInvalidGraphic);
}

TEST(BmpReader, RunLengthFourBit) {
    // Palette: 0 black, 1 red, 2 green, 3 blue, 4 white, 5 the odd colour.
    ByteVec palette;
    for (std::uint32_t c : {0x000000u, 0xFF0000u, 0x00FF00u, 0x0000FFu, 0xFFFFFFu, 0x194284u}) Put32(palette, c);
    palette.resize(16 * 4, 0);
    const ByteVec rle{// Bottom row: literal of 3 (4, 0, 1; two bytes), run of 2 alternating 2 and 0,
                      // then a run of 4 over the padding that the row clips; end of line.
                      0, 3, 0x40, 0x10, 2, 0x20, 4, 0x00, 0, 0,
                      // Middle row: literal of 5 in three bytes padded to four, a run of 1 past the end;
                      // end of line.
                      0, 5, 0x22, 0x52, 0x20, 0, 1, 0x00, 0, 0,
                      // Top row: run of 3 red, 2 blue; end of picture.
                      3, 0x11, 2, 0x33, 0, 1};
    const ByteVec file = MakeBmp(5, 3, 4, 2, palette, rle);
    TBitmap bmp;
    Load(file, bmp);
    ASSERT_EQ(bmp.PixelFormat(), pf8bit);
    ExpectPicture(bmp);
    ExpectEveryPrefixRefused(file, file.size() - rle.size());

    // Above the top row, or a delta out of the picture: corrupt.
    TBitmap refused;
    EXPECT_THROW(Load(MakeBmp(2, 1, 4, 2, palette, {2, 0x11, 0, 0, 1, 0x11, 0, 1}), refused), EInvalidGraphic);
    EXPECT_THROW(Load(MakeBmp(2, 1, 4, 2, palette, {0, 2, 3, 0, 0, 1}), refused), EInvalidGraphic);
    // Run-length needs the matching depth.
    EXPECT_THROW(Load(MakeBmp(5, 3, 8, 2, ByteVec(256 * 4, 0), rle), refused), EInvalidGraphic);
}

TEST(BmpReader, HostileHeadersAreRefused) {
    const ByteVec pixel{0, 0, 0, 0};
    TBitmap out;
    EXPECT_THROW(Load(MakeBmp(0, 1, 32, 0, {}, pixel), out), EInvalidGraphic);
    EXPECT_THROW(Load(MakeBmp(-1, 1, 32, 0, {}, pixel), out), EInvalidGraphic);
    EXPECT_THROW(Load(MakeBmp(1, 1, 2, 0, {}, pixel), out), EInvalidGraphic);
    EXPECT_THROW(Load(MakeBmp(30000, 30000, 32, 0, {}, pixel), out), EInvalidGraphic);
    EXPECT_THROW(Load(MakeBmp(1, INT32_MIN, 32, 0, {}, pixel), out), EInvalidGraphic);
    // Claims 65536 x 1 pixels but carries four bytes.
    EXPECT_THROW(Load(MakeBmp(65536 / 4, 4, 32, 0, {}, pixel), out), EInvalidGraphic);
    ByteVec offsetPastEnd = MakeBmp(1, 1, 32, 0, {}, pixel);
    offsetPastEnd[10] = 0xFF;
    EXPECT_THROW(Load(offsetPastEnd, out), EInvalidGraphic);
    EXPECT_TRUE(out.Empty());
}

TEST(BmpWriter, ThirtyTwoAndEightBitFilesReadBackTheSame) {
    TBitmap bmp(3, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            bmp.SetPixel32(x, y, 0x10203040u * static_cast<std::uint32_t>(x + 1) + static_cast<std::uint32_t>(y));
    const ByteVec file = SaveBMP(bmp);
    ASSERT_EQ(file.size(), 14u + 40u + 24u);
    EXPECT_EQ(file[28], 32);  // bits per pixel
    // First stored row is the bottom one.
    EXPECT_EQ(file[54], (0x10203040u + 1) & 0xFF);
    TBitmap back;
    Load(file, back);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(back.Pixel32(x, y), bmp.Pixel32(x, y)) << "x=" << x << " y=" << y;

    TBitmap indexed(5, 1, pf8bit);
    indexed.Palette()[3] = 0x00ABCDEF;
    indexed.ScanLine(0)[4] = 3;
    TBitmap indexedBack;
    Load(SaveBMP(indexed), indexedBack);
    ASSERT_EQ(indexedBack.PixelFormat(), pf8bit);
    EXPECT_EQ(indexedBack.ScanLine(0)[4], 3);
    EXPECT_EQ(indexedBack.Palette()[3], 0x00ABCDEFu);
}

// ---- PNG ----

void PutChunk(ByteVec& v, const char* type, const ByteVec& data) {
    PutBE32(v, static_cast<std::uint32_t>(data.size()));
    ByteVec body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    v.insert(v.end(), body.begin(), body.end());
    PutBE32(v, static_cast<std::uint32_t>(crc32(0, body.data(), static_cast<uInt>(body.size()))));
}

// A PNG with the given header values; rows are raw scanlines without filter bytes.
ByteVec MakePng(int width, int height, int depth, int colorType, const std::vector<ByteVec>& rows,
                const ByteVec& plte = {}, const ByteVec& trns = {}) {
    ByteVec v{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    ByteVec ihdr;
    PutBE32(ihdr, static_cast<std::uint32_t>(width));
    PutBE32(ihdr, static_cast<std::uint32_t>(height));
    ihdr.insert(ihdr.end(), {static_cast<std::uint8_t>(depth), static_cast<std::uint8_t>(colorType), 0, 0, 0});
    PutChunk(v, "IHDR", ihdr);
    if (!plte.empty()) PutChunk(v, "PLTE", plte);
    if (!trns.empty()) PutChunk(v, "tRNS", trns);
    ByteVec raw;
    for (const auto& row : rows) {
        raw.push_back(0);
        raw.insert(raw.end(), row.begin(), row.end());
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    ByteVec packed(packedSize);
    compress(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()));
    packed.resize(packedSize);
    PutChunk(v, "IDAT", packed);
    PutChunk(v, "IEND", {});
    return v;
}

TEST(PngReader, RgbaKeepsStraightAlphaInBgraOrder) {
    const ByteVec file = MakePng(2, 1, 8, 6, {{10, 20, 30, 0, 200, 100, 50, 128}});
    TBitmap bmp;
    Load(file, bmp);
    ASSERT_EQ(bmp.PixelFormat(), pf32bit);
    EXPECT_EQ(bmp.Pixel32(0, 0), 0x000A141Eu);  // transparent, colour kept
    EXPECT_EQ(bmp.Pixel32(1, 0), 0x80C86432u);
    ExpectEveryPrefixRefused(file, 1);
}

TEST(PngReader, PaletteWithTransparencyAndSixteenBitGrey) {
    TBitmap pal;
    Load(MakePng(3, 1, 2, 3, {{0x1B}}, {255, 0, 0, 0, 255, 0, 0, 0, 255}, {0, 255}), pal);  // indexes 0,1,2
    EXPECT_EQ(pal.Pixel32(0, 0), 0x00FF0000u);
    EXPECT_EQ(pal.Pixel32(1, 0), 0xFF00FF00u);
    EXPECT_EQ(pal.Pixel32(2, 0), 0xFF0000FFu);
    TBitmap grey;
    Load(MakePng(1, 2, 16, 0, {{0x12, 0x34}, {0xFF, 0xFF}}), grey);
    EXPECT_EQ(grey.Pixel32(0, 0), 0xFF121212u);
    EXPECT_EQ(grey.Pixel32(0, 1), 0xFFFFFFFFu);
}

TEST(PngReader, CorruptAndHostileFilesAreRefused) {
    ByteVec file = MakePng(2, 1, 8, 6, {{1, 2, 3, 4, 5, 6, 7, 8}});
    ByteVec badCrc = file;
    badCrc[8 + 8 + 13] ^= 1;  // IHDR's CRC
    TBitmap out;
    EXPECT_THROW(Load(badCrc, out), EInvalidGraphic);
    // Huge dimensions with tiny data.
    EXPECT_THROW(Load(MakePng(30000, 30000, 8, 6, {{0, 0, 0, 0}}), out), EInvalidGraphic);
    // Fewer rows than the header says.
    EXPECT_THROW(Load(MakePng(1, 3, 8, 6, {{0, 0, 0, 0}}), out), EInvalidGraphic);
    EXPECT_TRUE(out.Empty());
}

TEST(PngReader, APictureTheDataCannotHoldIsRefusedBeforeDecoding) {
    // 5000 x 5000 declared over a few bytes: refused from the sizes alone.
    TBitmap out;
    try {
        Load(MakePng(5000, 5000, 8, 6, {{0, 0, 0, 0}}), out);
        ADD_FAILURE() << "accepted";
    } catch (const EInvalidGraphic& e) {
        EXPECT_NE(e.Message().find(L"too short for its picture"), String::npos) << StringToUtf8(e.Message());
    }
    // A uniform picture, packed close to deflate's best, is still read.
    const std::vector<ByteVec> rows(600, ByteVec(2400, 0));
    const ByteVec file = MakePng(600, 600, 8, 6, rows);
    ASSERT_LT(file.size(), 600u * 2401 / 500);
    Load(file, out);
    EXPECT_EQ(out.Width(), 600);
    EXPECT_EQ(out.Pixel32(599, 599), 0u);
}

TEST(PngWriter, ThirtyTwoBitRoundTripsWithAlpha) {
    TBitmap bmp(3, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            bmp.SetPixel32(x, y,
                           static_cast<std::uint32_t>(x * 60) << 24 |
                               0x102030u * static_cast<std::uint32_t>(y + x + 1));
    const ByteVec file = SavePNG(bmp);
    EXPECT_EQ(DetectImageKind(file.data(), file.size()), ikPNG);
    TBitmap back;
    Load(file, back);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(back.Pixel32(x, y), bmp.Pixel32(x, y)) << "x=" << x << " y=" << y;
}

// ---- JPEG ----

// A JPEG of one flat colour, written with the library at the highest quality.
ByteVec MakeJpeg(int width, int height, int components, const std::uint8_t* colour) {
    jpeg_compress_struct info;
    jpeg_error_mgr error;
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = components;
    info.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    jpeg_start_compress(&info, TRUE);
    ByteVec row(static_cast<std::size_t>(width * components));
    for (int x = 0; x < width; ++x)
        std::memcpy(&row[static_cast<std::size_t>(x * components)], colour, static_cast<std::size_t>(components));
    while (info.next_scanline < info.image_height) {
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&info, &p, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    ByteVec out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

void ExpectNear(const std::uint8_t* p, int b, int g, int r) {
    EXPECT_NEAR(p[0], b, 2);
    EXPECT_NEAR(p[1], g, 2);
    EXPECT_NEAR(p[2], r, 2);
}

TEST(JpegReader, ColourAndGreyDecodeToTwentyFourBitBgr) {
    const std::uint8_t orange[3] = {240, 130, 20};
    const ByteVec file = MakeJpeg(17, 9, 3, orange);
    TBitmap bmp;
    Load(file, bmp);
    ASSERT_EQ(bmp.PixelFormat(), pf24bit);
    ASSERT_EQ(bmp.Width(), 17);
    ASSERT_EQ(bmp.Height(), 9);
    ExpectNear(bmp.ScanLine(0), 20, 130, 240);
    ExpectNear(bmp.ScanLine(8) + 16 * 3, 20, 130, 240);
    const std::uint8_t grey = 77;
    TBitmap g;
    Load(MakeJpeg(4, 4, 1, &grey), g);
    ExpectNear(g.ScanLine(3) + 9, 77, 77, 77);
}

TEST(JpegReader, APictureTheDataCannotHoldIsRefusedBeforeDecoding) {
    // A 16 x 16 file whose header is changed to claim 30000 x 1000.
    const std::uint8_t colour[3] = {1, 2, 3};
    ByteVec file = MakeJpeg(16, 16, 3, colour);
    std::size_t sof = 2;
    while (sof + 9 < file.size() && !(file[sof] == 0xFF && file[sof + 1] == 0xC0)) ++sof;
    ASSERT_LT(sof + 9, file.size());
    file[sof + 5] = 1000 >> 8;
    file[sof + 6] = 1000 & 0xFF;
    file[sof + 7] = 30000 >> 8;
    file[sof + 8] = 30000 & 0xFF;
    TBitmap out;
    try {
        Load(file, out);
        ADD_FAILURE() << "accepted";
    } catch (const EInvalidGraphic& e) {
        EXPECT_NE(e.Message().find(L"too short for its picture"), String::npos) << StringToUtf8(e.Message());
    }
}

TEST(JpegReader, CutFilesAreRefused) {
    const std::uint8_t colour[3] = {1, 2, 3};
    const ByteVec file = MakeJpeg(16, 16, 3, colour);
    // A cut anywhere, even one that drops only the end marker, is refused.
    for (std::size_t n = 0; n < file.size(); n += (n + 8 < file.size() ? 7 : 1)) {
        ByteVec cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(n));
        TBitmap out;
        EXPECT_THROW(Load(cut, out), EInvalidGraphic) << "cut at " << n;
    }
}

TEST(ImageFiles, ChoosesTheDecoderByContentAndNamesTheFileOnErrors) {
    test::ScratchDir dir;
    const ByteVec png = MakePng(1, 1, 8, 2, {{9, 8, 7}});
    const String misnamed = dir.File(L"really-a-png.bmp");
    test::WriteAll(misnamed, std::string(png.begin(), png.end()));
    TBitmap bmp;
    LoadImageFromFile(misnamed, bmp);
    EXPECT_EQ(bmp.Pixel32(0, 0), 0xFF090807u);
    const String junk = dir.File(L"junk.png");
    test::WriteAll(junk, "GIF89a");
    try {
        LoadImageFromFile(junk, bmp);
        FAIL() << "accepted";
    } catch (const EInvalidGraphic& e) {
        EXPECT_NE(e.Message().find(junk), String::npos);
    }
    EXPECT_THROW(LoadImageFromFile(dir.File(L"none.png"), bmp), EFOpenError);
    EXPECT_EQ(bmp.Pixel32(0, 0), 0xFF090807u);
}

}  // namespace
}  // namespace qv
