// A view of 32-bit (or 24-bit) pixel rows: the address of row 0 and the signed distance
// from one row to the next, so bottom-up bitmaps and top-down buffers are walked alike.
// The pixel cores of this layer take views; the named entry points unwrap a TBitmap.
#pragma once
#include "framework/Bitmap.h"
#include "framework/Types.h"

#include <cstddef>
#include <cstdint>

namespace qv {

struct PixelRows {
    std::uint8_t* Row0 = nullptr;  // address of row 0 (the top row)
    std::ptrdiff_t Delta = 0;      // bytes from row y to row y + 1; negative for bottom-up
    int Width = 0, Height = 0;

    std::uint8_t* Row(int y) const noexcept { return Row0 + static_cast<std::ptrdiff_t>(y) * Delta; }
    bool Empty() const noexcept { return Row0 == nullptr || Width <= 0 || Height <= 0; }
    TRect Bounds() const noexcept { return {0, 0, Width, Height}; }
};

// The rows of a 32-bit bitmap; an empty view for a missing, empty or other-format bitmap.
PixelRows Rows32(TBitmap* bmp) noexcept;
// The rows of a bitmap of any byte-sized format (24 or 32 bits); empty otherwise.
PixelRows RowsOf(TBitmap* bmp) noexcept;

// r limited to 0..width, 0..height (exclusive Right and Bottom); empty rectangles stay empty.
TRect ClipRect(TRect r, int width, int height) noexcept;

// A copy of a w x h block from (sx, sy) of src to (dx, dy) of dst, clipped to both
// pictures with the two origins moved together.
struct Span {
    int dx, dy, sx, sy, w, h;
    bool Empty() const noexcept { return w <= 0 || h <= 0; }
};
Span ClipSpan(const PixelRows& dst, int dx, int dy, const PixelRows& src, int sx, int sy, int w, int h) noexcept;

// A colour value 0x00BBGGRR as a pixel word 0xAARRGGBB with the given alpha.
constexpr std::uint32_t ColorToPixel(TColor color, std::uint32_t alpha = 255) noexcept {
    const auto c = static_cast<std::uint32_t>(color);
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF) | (alpha << 24);
}

// The key pixel: magenta with A 0, compared as a whole word.
constexpr std::uint32_t KeyPixel = 0x00FF00FFu;

}  // namespace qv
