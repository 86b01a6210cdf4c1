// TBitmap: the framework's bitmap of 8, 24 or 32 bits per pixel with direct row access.
// Rows are laid out bottom-up as in a Windows DIB: ScanLine(0) is the highest address
// and Delta() (the signed distance from row y to row y + 1) is negative. On Windows the
// pixels live in a DIB section so GDI can draw into them; elsewhere in plain memory.
// Portable: no <windows.h> in this header.
#pragma once
#include "framework/Types.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace qv {

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };

class TCanvas;  // GDI drawing into the bitmap (framework/win32/Canvas.h)

// Frees a bitmap's canvas with the function the Windows library gave along with it: the
// canvas type is complete only there, and the portable core never makes one.
struct TCanvasDeleter {
    void (*Free)(TCanvas*) noexcept = nullptr;
    void operator()(TCanvas* canvas) const noexcept {
        if (Free) Free(canvas);
    }
};

}  // namespace qv

// The system's bitmap handle type by its tag, so this header names it without
// <windows.h>: the same type as HBITMAP there.
struct HBITMAP__;  // NOLINT(bugprone-reserved-identifier): the system's own tag name

namespace qv {

using BitmapHandle = HBITMAP__*;

class TBitmap {
public:
    TBitmap() noexcept = default;
    TBitmap(int width, int height, TPixelFormat format = pf32bit);
    // A bitmap whose every row the caller writes in full before anything reads it: the
    // pixels are left as the allocator gives them instead of being cleared first.
    struct TUncleared {};
    TBitmap(int width, int height, TPixelFormat format, TUncleared);
    ~TBitmap();
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    // Copies size, format, palette, pixels and the transparency settings of source.
    void Assign(const TBitmap& source);
    // Moves the pixels, size, format and palette of source into this bitmap without
    // copying; source is left empty. Both canvases are released.
    void TakeFrom(TBitmap& source) noexcept;

    int Width() const noexcept { return FWidth; }
    int Height() const noexcept { return FHeight; }
    bool Empty() const noexcept { return FWidth == 0 || FHeight == 0; }
    TPixelFormat PixelFormat() const noexcept { return FPixelFormat; }
    int BitsPerPixel() const noexcept;

    // Resizing keeps the overlapping pixels (anchored at row 0, column 0) and zeroes the
    // rest. Changing the format converts the pixels: 24 to 32 bits leaves every alpha
    // byte 0; 32 to 24 drops alpha; 8-bit sources go through the palette; to 8 bits maps
    // each pixel to the nearest palette entry.
    void SetSize(int width, int height);
    void SetWidth(int width) { SetSize(width, FHeight); }
    void SetHeight(int height) { SetSize(FWidth, height); }
    void SetPixelFormat(TPixelFormat format);

    // Address of row y (0 = top); rows are (Width * bits / 8) rounded up to 4 bytes.
    std::uint8_t* ScanLine(int y) noexcept { return FRow0 + static_cast<std::ptrdiff_t>(y) * FDelta; }
    const std::uint8_t* ScanLine(int y) const noexcept { return FRow0 + static_cast<std::ptrdiff_t>(y) * FDelta; }
    std::ptrdiff_t Delta() const noexcept { return FDelta; }
    int RowBytes() const noexcept { return FRowBytes; }

    // 8-bit palette, entries as 0x00RRGGBB (B in the lowest byte, as RGBQUAD).
    std::array<std::uint32_t, 256>& Palette() noexcept { return FPalette; }
    const std::array<std::uint32_t, 256>& Palette() const noexcept { return FPalette; }
    // Call after changing Palette() of an 8-bit bitmap so GDI draws with the new colours
    // (the DIB section keeps its own colour table on Windows).
    void PaletteChanged() noexcept;

    // Transparency as the framework keeps it: Transparent marks the bitmap as drawn with
    // TransparentColor (a colour value) left out.
    bool Transparent = false;
    TColor TransparentColor = clFuchsia;

    // A pixel of a 32-bit bitmap as 0xAARRGGBB (the B, G, R, A bytes read as one word).
    std::uint32_t Pixel32(int x, int y) const noexcept {
        const std::uint8_t* p = ScanLine(y) + x * 4;
        return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
    }
    void SetPixel32(int x, int y, std::uint32_t bgra) noexcept {
        std::uint8_t* p = ScanLine(y) + x * 4;
        p[0] = bgra & 0xFF;
        p[1] = (bgra >> 8) & 0xFF;
        p[2] = (bgra >> 16) & 0xFF;
        p[3] = bgra >> 24;
    }

    // The DIB section holding the pixels on Windows (created with the bitmap; none while
    // empty). Where only the portable core runs, the pixels have no system handle.
    BitmapHandle Handle() const noexcept { return FHandle; }
    // GDI drawing into this bitmap (a memory DC with the DIB selected), made on demand.
    // Defined by the Windows library.
    TCanvas& Canvas();

private:
    void Allocate(int width, int height, TPixelFormat format, bool clear = true);  // fresh (zeroed) pixels
    void Release() noexcept;
    static int BitsOf(TPixelFormat format) noexcept;

    int FWidth = 0, FHeight = 0;
    TPixelFormat FPixelFormat = pf32bit;
    int FRowBytes = 0;
    std::ptrdiff_t FDelta = 0;
    std::uint8_t* FRow0 = nullptr;
    std::uint8_t* FBits = nullptr;  // lowest address of the pixel block
    std::array<std::uint32_t, 256> FPalette{};
    BitmapHandle FHandle = nullptr;                    // the DIB section that owns FBits (Windows)
    std::unique_ptr<TCanvas, TCanvasDeleter> FCanvas;  // made by Canvas() in the Windows library
};

}  // namespace qv
