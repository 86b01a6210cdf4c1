#include "framework/Bitmap.h"

#include "framework/SysUtils.h"
#include "framework/platform/Platform.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <new>
#include <utility>

namespace qv {

TBitmap::TBitmap(int width, int height, TPixelFormat format) { Allocate(width, height, format); }

TBitmap::TBitmap(int width, int height, TPixelFormat format, TUncleared) { Allocate(width, height, format, false); }

TBitmap::~TBitmap() { Release(); }

int TBitmap::BitsOf(TPixelFormat format) noexcept {
    switch (format) {
    case pf8bit: return 8;
    case pf24bit: return 24;
    case pfDevice:
    case pf32bit: return 32;
    default: return 0;
    }
}

int TBitmap::BitsPerPixel() const noexcept { return BitsOf(FPixelFormat); }

namespace {

// pfDevice stands for the screen's format, which is 32 bits everywhere we run.
TPixelFormat Normalised(TPixelFormat format) noexcept { return format == pfDevice ? pf32bit : format; }

// A palette for 8-bit bitmaps made from colour pictures: the 6x6x6 colour cube,
// then 40 greys.
std::array<std::uint32_t, 256> DefaultPalette() noexcept {
    std::array<std::uint32_t, 256> palette{};
    int i = 0;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                palette[static_cast<std::size_t>(i++)] = static_cast<std::uint32_t>((r * 51) << 16 | (g * 51) << 8 |
                                                                                    (b * 51));
    for (int k = 0; i < 256; ++i, ++k) {
        const auto v = static_cast<std::uint32_t>(k * 255 / 39);
        palette[static_cast<std::size_t>(i)] = v << 16 | v << 8 | v;
    }
    return palette;
}

bool PaletteIsBlank(const std::array<std::uint32_t, 256>& palette) noexcept {
    for (auto entry : palette)
        if (entry != 0) return false;
    return true;
}

}  // namespace

void TBitmap::Allocate(int width, int height, TPixelFormat format, bool clear) {
    format = Normalised(format);
    const int bits = BitsOf(format);
    if (bits == 0) throw EInvalidGraphic(L"Unsupported bitmap pixel format");
    if (width < 0 || height < 0) throw EInvalidGraphic(L"Invalid bitmap size");
    // Rows are DWORD-aligned; the whole block must stay addressable in 32 bits.
    const long long rowBytes = ((static_cast<long long>(width) * bits + 31) / 32) * 4;
    const long long total = rowBytes * height;
    if (rowBytes > INT_MAX || total > INT_MAX / 2) throw EOutOfResources(L"Bitmap too large");

    Release();
    FPixelFormat = format;
    if (width == 0 || height == 0) {
        FWidth = width;
        FHeight = height;
        FRowBytes = static_cast<int>(rowBytes);
        return;
    }

    const platform::TPixelBlock block = platform::AllocatePixels(width, height, bits, static_cast<std::size_t>(total),
                                                                 FPalette, clear);
    FHandle = block.Handle;
    FBits = block.Bits;
    FWidth = width;
    FHeight = height;
    FRowBytes = static_cast<int>(rowBytes);
    // Bottom-up: row 0 (the top) is the last row of the block.
    FDelta = -static_cast<std::ptrdiff_t>(rowBytes);
    FRow0 = FBits + static_cast<std::ptrdiff_t>(rowBytes) * (height - 1);
}

void TBitmap::Release() noexcept {
    FCanvas.reset();
    if (FBits) platform::FreePixels({FHandle, FBits});
    FHandle = nullptr;
    FBits = nullptr;
    FRow0 = nullptr;
    FDelta = 0;
    FWidth = FHeight = 0;
    FRowBytes = 0;
}

// Size and format changes build the new pixels beside the old ones and switch over only
// when everything succeeded, so a failed allocation leaves the bitmap as it was.
void TBitmap::TakeFrom(TBitmap& other) noexcept {
    if (&other == this) return;
    Release();
    // The DIB may be selected into the source's canvas DC; free that first so this
    // bitmap can select it into its own.
    other.FCanvas.reset();
    FWidth = std::exchange(other.FWidth, 0);
    FHeight = std::exchange(other.FHeight, 0);
    FPixelFormat = other.FPixelFormat;
    FRowBytes = std::exchange(other.FRowBytes, 0);
    FDelta = std::exchange(other.FDelta, 0);
    FRow0 = std::exchange(other.FRow0, nullptr);
    FBits = std::exchange(other.FBits, nullptr);
    FPalette = other.FPalette;
    FHandle = std::exchange(other.FHandle, nullptr);  // the block does not move, so FBits stays valid
}

void TBitmap::PaletteChanged() noexcept {
    if (!FBits || FPixelFormat != pf8bit) return;
    platform::SetPixelPalette({FHandle, FBits}, FPalette);
}

void TBitmap::SetSize(int width, int height) {
    if (width == FWidth && height == FHeight) return;
    TBitmap fresh;
    fresh.FPalette = FPalette;
    fresh.Allocate(width, height, FPixelFormat);
    const int rows = std::min(height, FHeight);
    const auto bytes = static_cast<std::size_t>(std::min(width, FWidth)) *
                       static_cast<std::size_t>(BitsOf(FPixelFormat) / 8);
    for (int y = 0; y < rows; ++y) std::memcpy(fresh.ScanLine(y), ScanLine(y), bytes);
    TakeFrom(fresh);
}

void TBitmap::Assign(const TBitmap& source) {
    if (&source == this) return;
    if (FBits && FWidth == source.FWidth && FHeight == source.FHeight && FPixelFormat == source.FPixelFormat &&
        FRowBytes == source.FRowBytes) {
        // Same shape: the pixels are copied into the existing block, which keeps its
        // handle and any canvas on it (a new DIB section per copy is costly).
        for (int y = 0; y < FHeight; ++y)
            std::memcpy(ScanLine(y), source.ScanLine(y), static_cast<std::size_t>(FRowBytes));
        if (FPalette != source.FPalette) {
            FPalette = source.FPalette;
            PaletteChanged();
        }
        Transparent = source.Transparent;
        TransparentColor = source.TransparentColor;
        return;
    }
    TBitmap fresh;
    fresh.FPalette = source.FPalette;
    fresh.Allocate(source.FWidth, source.FHeight, source.FPixelFormat);
    for (int y = 0; y < fresh.FHeight; ++y)
        std::memcpy(fresh.ScanLine(y), source.ScanLine(y), static_cast<std::size_t>(fresh.FRowBytes));
    TakeFrom(fresh);
    Transparent = source.Transparent;
    TransparentColor = source.TransparentColor;
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
    format = Normalised(format);
    if (format == FPixelFormat) return;
    const int newBits = BitsOf(format);
    if (newBits == 0) throw EInvalidGraphic(L"Unsupported bitmap pixel format");
    const int oldBits = BitsOf(FPixelFormat);

    TBitmap fresh;
    fresh.FPalette = (newBits == 8 && PaletteIsBlank(FPalette)) ? DefaultPalette() : FPalette;
    fresh.Allocate(FWidth, FHeight, format);

    // Nearest palette entry by squared distance, remembered per colour seen.
    std::vector<std::pair<std::uint32_t, std::uint8_t>> cache;
    auto nearest = [&fresh, &cache](std::uint32_t rgb) -> std::uint8_t {
        for (const auto& [colour, index] : cache)
            if (colour == rgb) return index;
        int best = 0;
        long bestDistance = LONG_MAX;
        for (int i = 0; i < 256; ++i) {
            const std::uint32_t p = fresh.FPalette[static_cast<std::size_t>(i)];
            const long dr = static_cast<long>((p >> 16) & 0xFF) - static_cast<long>((rgb >> 16) & 0xFF);
            const long dg = static_cast<long>((p >> 8) & 0xFF) - static_cast<long>((rgb >> 8) & 0xFF);
            const long db = static_cast<long>(p & 0xFF) - static_cast<long>(rgb & 0xFF);
            const long d = dr * dr + dg * dg + db * db;
            if (d < bestDistance) {
                bestDistance = d;
                best = i;
            }
        }
        if (cache.size() < 64) cache.emplace_back(rgb, static_cast<std::uint8_t>(best));
        return static_cast<std::uint8_t>(best);
    };

    const int oldStep = oldBits / 8, newStep = newBits / 8;
    for (int y = 0; y < FHeight; ++y) {
        const std::uint8_t* s = ScanLine(y);
        std::uint8_t* d = fresh.ScanLine(y);
        for (int x = 0; x < FWidth; ++x, s += oldStep, d += newStep) {
            std::uint32_t rgb;       // 0x00RRGGBB
            std::uint8_t alpha = 0;  // new alpha bytes stay 0
            if (oldBits == 8) {
                rgb = FPalette[s[0]] & 0xFFFFFF;
            } else {
                rgb = static_cast<std::uint32_t>(s[0] | s[1] << 8 | s[2] << 16);
                if (oldBits == 32) alpha = s[3];
            }
            if (newBits == 8) {
                d[0] = nearest(rgb);
            } else {
                d[0] = rgb & 0xFF;
                d[1] = (rgb >> 8) & 0xFF;
                d[2] = (rgb >> 16) & 0xFF;
                if (newBits == 32) d[3] = alpha;
            }
        }
    }
    TakeFrom(fresh);
}

}  // namespace qv
