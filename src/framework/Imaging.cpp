// Signature dispatch, and the BMP reader and writer.
#include "framework/Imaging.h"

#include "framework/Streams.h"
#include "framework/SysUtils.h"

#include <algorithm>
#include <cstring>

namespace qv {

namespace {

std::uint32_t U32(const std::uint8_t* p) noexcept {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
std::uint16_t U16(const std::uint8_t* p) noexcept { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
std::int32_t S32(const std::uint8_t* p) noexcept { return static_cast<std::int32_t>(U32(p)); }
std::int16_t S16(const std::uint8_t* p) noexcept { return static_cast<std::int16_t>(U16(p)); }

[[noreturn]] void Corrupt(const wchar_t* what) { throw EInvalidGraphic(String(L"Invalid BMP image: ") + what); }

constexpr std::uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3;
// Largest picture any decoder accepts, so a few header bytes cannot demand gigabytes.
constexpr std::int64_t kMaxPixels = std::int64_t(1) << 25;
constexpr std::int32_t kMaxSide = 32767;

// Run-length data (8 or 4 bits per index) of a bottom-up picture into index rows
// (y = 0 is the top). Pixels a run places past the end of a row are dropped, as the
// platform's own decoder does: common writers encode a row's padding this way. Pixels
// above the top row, offsets that leave the picture and data that ends before the
// end-of-picture mark are corrupt.
void DecodeRle(const std::uint8_t* p, std::size_t size, int bits, TBitmap& bmp) {
    const int width = bmp.Width(), height = bmp.Height();
    int x = 0, line = 0;  // line counts from the bottom
    std::size_t i = 0;
    auto need = [&](std::size_t n) {
        if (size - i < n) Corrupt(L"run-length data ends early");
    };
    auto put = [&](std::uint8_t value) {
        if (line >= height) Corrupt(L"run-length data runs past the picture");
        if (x < width) bmp.ScanLine(height - 1 - line)[x++] = value;
    };
    // The n-th index of a run or literal: a byte, or a nibble with the high one first.
    auto index = [bits](std::uint8_t byte, std::size_t n) -> std::uint8_t {
        if (bits == 8) return byte;
        return static_cast<std::uint8_t>(n % 2 == 0 ? byte >> 4 : byte & 0x0F);
    };
    for (;;) {
        need(2);
        const std::uint8_t count = p[i], value = p[i + 1];
        i += 2;
        if (count > 0) {
            for (std::size_t k = 0; k < count; ++k) put(index(value, k));
            continue;
        }
        if (value == 0) {  // end of line
            x = 0;
            ++line;
        } else if (value == 1) {  // end of picture
            return;
        } else if (value == 2) {  // move right dx, up dy
            need(2);
            x += p[i];
            line += p[i + 1];
            i += 2;
            if (x > width || line > height) Corrupt(L"run-length offset leaves the picture");
        } else {  // literal run, its bytes padded to an even count
            const std::size_t n = value;
            const std::size_t bytes = bits == 8 ? n : (n + 1) / 2;
            need(bytes + (bytes & 1));
            for (std::size_t k = 0; k < n; ++k) put(index(p[i + (bits == 8 ? k : k / 2)], k));
            i += bytes + (bytes & 1);
        }
    }
}

// One channel of a 16-bit pixel: its mask's position and width.
struct TChannel {
    int Shift = 0, Bits = 0;
    // The channel's value widened to 8 bits by repeating its top bits (0 stays 0, the
    // largest value becomes 255).
    std::uint8_t Of(std::uint32_t pixel) const noexcept {
        std::uint32_t v = (pixel >> Shift) & ((1u << Bits) - 1);
        std::uint32_t wide = 0;
        for (int filled = 0; filled < 8; filled += Bits) wide = wide << Bits | v;
        const int total = ((8 + Bits - 1) / Bits) * Bits;
        return static_cast<std::uint8_t>(wide >> (total - 8));
    }
};

// A 16-bit mask: one run of 1 to 8 set bits.
TChannel ChannelOf(std::uint32_t mask) {
    if (mask == 0 || mask > 0xFFFF) Corrupt(L"unsupported bit-field masks");
    TChannel c;
    while (!(mask & 1)) {
        mask >>= 1;
        ++c.Shift;
    }
    while (mask & 1) {
        mask >>= 1;
        ++c.Bits;
    }
    if (mask != 0 || c.Bits > 8) Corrupt(L"unsupported bit-field masks");
    return c;
}

struct TRgb16 {
    TChannel R, G, B;
};

TRgb16 Rgb16Of(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    if ((r & g) || (r & b) || (g & b)) Corrupt(L"unsupported bit-field masks");
    return {ChannelOf(r), ChannelOf(g), ChannelOf(b)};
}

// A row of 16-bit pixels into B, G, R bytes.
void ExpandRow16(const std::uint8_t* src, int width, const TRgb16& layout, std::uint8_t* dst) noexcept {
    for (int x = 0; x < width; ++x, src += 2, dst += 3) {
        const std::uint32_t pixel = U16(src);
        dst[0] = layout.B.Of(pixel);
        dst[1] = layout.G.Of(pixel);
        dst[2] = layout.R.Of(pixel);
    }
}

// What the file and info headers say about the picture.
struct TBmpHeader {
    std::uint32_t HeaderSize = 0;
    bool Core = false;  // the 12-byte header of the oldest writers
    std::int32_t Width = 0, Height = 0;
    std::uint16_t Bits = 0;
    std::uint32_t Compression = kBiRgb, ColorsUsed = 0;
    bool TopDown = false;
    bool RunLength() const noexcept { return Compression == kBiRle8 || Compression == kBiRle4; }
};

TBmpHeader ReadBmpHeader(const std::uint8_t* data, std::size_t size) {
    if (!data || size < 14 + 12 || data[0] != 'B' || data[1] != 'M') Corrupt(L"not a BMP file");
    TBmpHeader hdr;
    hdr.HeaderSize = U32(data + 14);
    hdr.Core = hdr.HeaderSize == 12;
    const std::uint32_t hs = hdr.HeaderSize;
    if (!hdr.Core && hs != 40 && hs != 52 && hs != 56 && hs != 108 && hs != 124) Corrupt(L"unsupported header");
    if (size - 14 < hs) Corrupt(L"header is truncated");
    const std::uint8_t* h = data + 14;
    std::uint16_t planes;
    if (hdr.Core) {
        hdr.Width = S16(h + 4);
        hdr.Height = S16(h + 6);
        planes = U16(h + 8);
        hdr.Bits = U16(h + 10);
    } else {
        hdr.Width = S32(h + 4);
        hdr.Height = S32(h + 8);
        planes = U16(h + 12);
        hdr.Bits = U16(h + 14);
        hdr.Compression = U32(h + 16);
        hdr.ColorsUsed = U32(h + 32);
    }
    if (planes != 1) Corrupt(L"plane count is not 1");
    hdr.TopDown = hdr.Height < 0;
    if (hdr.Height == INT32_MIN) Corrupt(L"invalid height");
    if (hdr.TopDown) hdr.Height = -hdr.Height;
    if (hdr.Width <= 0 || hdr.Height == 0 || hdr.Width > kMaxSide || hdr.Height > kMaxSide ||
        static_cast<std::int64_t>(hdr.Width) * hdr.Height > kMaxPixels)
        Corrupt(L"invalid or too large dimensions");
    const std::uint16_t bits = hdr.Bits;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        Corrupt(L"unsupported bit depth");
    return hdr;
}

// Checks the compression against the depth and reads the bit-field masks. Returns the
// layout of 16-bit pixels; tableStart moves past masks stored after a version 1 header.
TRgb16 ReadPixelLayout(const std::uint8_t* data, std::size_t size, const TBmpHeader& hdr, std::size_t& tableStart) {
    // 16-bit pixels without masks are 5-5-5.
    TRgb16 layout16{{10, 5}, {5, 5}, {0, 5}};
    if (hdr.Compression == kBiBitfields) {
        if (hdr.Bits != 16 && hdr.Bits != 32) Corrupt(L"bit-field masks are supported for 16 and 32 bits only");
        if (hdr.Core) Corrupt(L"unsupported bit-field masks");
        // Version 1 headers keep the three masks after the header; later ones inside it.
        const std::uint8_t* masks = data + 14 + 40;
        if (hdr.HeaderSize == 40) {
            if (size - tableStart < 12) Corrupt(L"masks are truncated");
            tableStart += 12;
        }
        if (hdr.Bits == 16) {
            layout16 = Rgb16Of(U32(masks), U32(masks + 4), U32(masks + 8));
        } else if (U32(masks) != 0x00FF0000 || U32(masks + 4) != 0x0000FF00 || U32(masks + 8) != 0x000000FF) {
            Corrupt(L"unsupported bit-field masks");
        }
    } else if (hdr.RunLength()) {
        if (hdr.Bits != (hdr.Compression == kBiRle8 ? 8 : 4))
            Corrupt(L"run-length compression does not match the bit depth");
        if (hdr.TopDown) Corrupt(L"run-length pictures cannot be top-down");
    } else if (hdr.Compression != kBiRgb) {
        Corrupt(L"unsupported compression");
    }
    return layout16;
}

// The colour table of a picture of 8 bits or fewer into palette; returns its length.
std::uint32_t ReadPalette(const std::uint8_t* data, std::size_t size, const TBmpHeader& hdr, std::size_t tableStart,
                          std::uint32_t (&palette)[256]) {
    if (hdr.Bits > 8) return 0;
    const std::uint32_t maxColors = 1u << hdr.Bits;
    const std::uint32_t colors = hdr.ColorsUsed == 0 ? maxColors : hdr.ColorsUsed;
    if (colors > maxColors) Corrupt(L"palette too large");
    const std::size_t entry = hdr.Core ? 3 : 4;
    if ((size - tableStart) / entry < colors) Corrupt(L"palette is truncated");
    for (std::uint32_t i = 0; i < colors; ++i) {
        const std::uint8_t* e = data + tableStart + i * entry;
        palette[i] = static_cast<std::uint32_t>(e[0] | e[1] << 8 | e[2] << 16);
    }
    return colors;
}

// Indexes packed below 8 bits per pixel, the high bits first, one byte each.
void UnpackIndexRow(const std::uint8_t* src, int width, int bits, std::uint8_t* dst) noexcept {
    const int perByte = 8 / bits, mask = (1 << bits) - 1;
    for (int x = 0; x < width; ++x) {
        const int shift = 8 - bits * (x % perByte + 1);
        dst[x] = static_cast<std::uint8_t>((src[x / perByte] >> shift) & mask);
    }
}

// Uncompressed rows, stride bytes apart, into the picture; each row's padding cleared.
void CopyBmpRows(const std::uint8_t* pixels, std::size_t stride, const TBmpHeader& hdr, const TRgb16& layout16,
                 TBitmap& result) noexcept {
    const int width = hdr.Width, height = hdr.Height, bits = hdr.Bits;
    const std::size_t lastRow = (static_cast<std::size_t>(width) * bits + 7) / 8;
    for (int row = 0; row < height; ++row) {
        const std::uint8_t* src = pixels + stride * static_cast<std::size_t>(row);
        std::uint8_t* dst = result.ScanLine(hdr.TopDown ? row : height - 1 - row);
        // Bytes the row gets below: 16-bit pixels widen to three bytes, fewer than 8 bits to one.
        const auto rowPixels = static_cast<std::size_t>(width);
        const std::size_t filled = bits == 16 ? rowPixels * 3 : (bits >= 8 ? lastRow : rowPixels);
        std::memset(dst + filled, 0, static_cast<std::size_t>(result.RowBytes()) - filled);
        if (bits == 16) ExpandRow16(src, width, layout16, dst);
        else if (bits >= 8) std::memcpy(dst, src, lastRow);
        else UnpackIndexRow(src, width, bits, dst);
    }
}

}  // namespace

TImageKind DetectImageKind(const std::uint8_t* data, std::size_t size) noexcept {
    if (!data) return ikUnknown;
    if (size >= 8 && std::memcmp(data, "\x89PNG\r\n\x1A\n", 8) == 0) return ikPNG;
    if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) return ikJPEG;
    if (size >= 2 && data[0] == 'B' && data[1] == 'M') return ikBMP;
    return ikUnknown;
}

void LoadBMP(const std::uint8_t* data, std::size_t size, TBitmap& out) {
    const TBmpHeader hdr = ReadBmpHeader(data, size);
    const std::uint32_t offBits = U32(data + 10);
    std::size_t tableStart = 14 + hdr.HeaderSize;
    const TRgb16 layout16 = ReadPixelLayout(data, size, hdr, tableStart);
    std::uint32_t palette[256] = {};
    const std::uint32_t colors = ReadPalette(data, size, hdr, tableStart, palette);
    if (offBits < 14 + hdr.HeaderSize || offBits >= size) Corrupt(L"pixel data offset is outside the file");
    const std::uint8_t* pixels = data + offBits;
    const std::size_t available = size - offBits;

    const std::size_t stride = ((static_cast<std::size_t>(hdr.Width) * hdr.Bits + 31) / 32) * 4;
    const std::size_t lastRow = (static_cast<std::size_t>(hdr.Width) * hdr.Bits + 7) / 8;
    // The final row may lack its padding; everything else must be there. Checked before
    // the picture is allocated, so a few bytes cannot claim a large one.
    if (!hdr.RunLength() && available < stride * (static_cast<std::size_t>(hdr.Height) - 1) + lastRow)
        Corrupt(L"pixel data is truncated");

    const TPixelFormat format = hdr.Bits <= 8 ? pf8bit : (hdr.Bits == 32 ? pf32bit : pf24bit);
    // Uncompressed rows are written in full (their padding cleared), so only a
    // run-length picture, which may skip pixels, needs a cleared block.
    TBitmap result = hdr.RunLength() ? TBitmap(hdr.Width, hdr.Height, format)
                                     : TBitmap(hdr.Width, hdr.Height, format, TBitmap::TUncleared{});
    if (hdr.Bits <= 8) {
        std::copy(palette, palette + colors, result.Palette().begin());
        result.PaletteChanged();
    }
    if (hdr.RunLength()) DecodeRle(pixels, available, hdr.Bits, result);
    else CopyBmpRows(pixels, stride, hdr, layout16, result);
    out.TakeFrom(result);
}

std::vector<std::uint8_t> SaveBMP(const TBitmap& bitmap) {
    const int bits = bitmap.BitsPerPixel();
    if (bits != 8 && bits != 24 && bits != 32) throw EInvalidGraphic(L"Cannot save this bitmap format as BMP");
    const std::size_t paletteBytes = bits == 8 ? 256 * 4 : 0;
    const std::size_t stride = static_cast<std::size_t>(bitmap.RowBytes());
    const std::size_t pixelBytes = stride * static_cast<std::size_t>(bitmap.Height());
    const std::size_t offBits = 14 + 40 + paletteBytes;
    std::vector<std::uint8_t> out(offBits + pixelBytes, 0);
    auto put16 = [&out](std::size_t at, std::uint32_t v) {
        out[at] = v & 0xFF;
        out[at + 1] = (v >> 8) & 0xFF;
    };
    auto put32 = [&out](std::size_t at, std::uint32_t v) {
        for (int k = 0; k < 4; ++k) out[at + static_cast<std::size_t>(k)] = (v >> (8 * k)) & 0xFF;
    };
    out[0] = 'B';
    out[1] = 'M';
    put32(2, static_cast<std::uint32_t>(out.size()));
    put32(10, static_cast<std::uint32_t>(offBits));
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(bitmap.Width()));
    put32(22, static_cast<std::uint32_t>(bitmap.Height()));  // positive: bottom-up
    put16(26, 1);
    put16(28, static_cast<std::uint32_t>(bits));
    put32(30, kBiRgb);
    put32(34, static_cast<std::uint32_t>(pixelBytes));
    put32(38, 2835);  // 72 dpi
    put32(42, 2835);
    put32(46, bits == 8 ? 256 : 0);
    for (std::size_t i = 0; i < paletteBytes / 4; ++i) put32(54 + i * 4, bitmap.Palette()[i] & 0xFFFFFF);
    for (int y = 0; y < bitmap.Height(); ++y)
        std::memcpy(out.data() + offBits + stride * static_cast<std::size_t>(bitmap.Height() - 1 - y),
                    bitmap.ScanLine(y), stride);
    return out;
}

void LoadImageFromMemory(const std::uint8_t* data, std::size_t size, TBitmap& out) {
    switch (DetectImageKind(data, size)) {
    case ikBMP: LoadBMP(data, size, out); return;
    case ikPNG: LoadPNG(data, size, out); return;
    case ikJPEG: LoadJPEG(data, size, out); return;
    case ikUnknown: break;
    }
    throw EInvalidGraphic(L"Unknown picture format (not BMP, PNG or JPEG)");
}

void LoadImageFromFile(const String& fileName, TBitmap& out) {
    TMemoryStream stream;
    stream.LoadFromFile(fileName);
    try {
        LoadImageFromMemory(stream.Memory(), stream.Bytes().size(), out);
    } catch (const EInvalidGraphic& e) {
        throw EInvalidGraphic(L"\"" + fileName + L"\": " + e.Message());
    }
}

}  // namespace qv
