// The plain block operations on 32-bit pixel rows that the engine uses where a bitmap
// copy, a nearest-neighbour stretch or a solid fill is wanted. They are ours on every
// target, so both builds paint the same pixels.
#pragma once
#include "paint/PixelRows.h"

#include <cstdint>

namespace qv {

// A pixel word read or written in place through a byte row pointer.
using acPixel32 = std::uint32_t __attribute__((__may_alias__));

// Copies the w × h block at (sx, sy) of src to (dx, dy) of dst, clipped to both.
void BlockCopy(PixelRows dst, int dx, int dy, int w, int h, PixelRows src, int sx, int sy) noexcept;

// Stretches srcRect of src over dstRect of dst by pixel dropping: destination column i
// (counted from dstRect.Left) reads source column srcRect.Left + (2i + 1) × sw div (2 dw),
// rows likewise. Destination pixels outside dst, or whose source lies outside src, are
// left alone.
void StretchCopy(PixelRows dst, TRect dstRect, PixelRows src, TRect srcRect) noexcept;

// Stores the pixel word into every pixel of r (clipped).
void FillPixels(PixelRows dst, TRect r, std::uint32_t pixel) noexcept;

}  // namespace qv
