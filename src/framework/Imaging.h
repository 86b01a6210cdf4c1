// Image decoders into TBitmap and encoders from it. Decoders check every size against
// the data and raise EInvalidGraphic with a clear message on anything corrupt or
// unsupported; the output bitmap is replaced only on success.
// Portable: no <windows.h>.
#pragma once
#include "framework/Bitmap.h"
#include "framework/Types.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qv {

enum TImageKind { ikUnknown, ikBMP, ikPNG, ikJPEG };

// The format named by the data's signature.
TImageKind DetectImageKind(const std::uint8_t* data, std::size_t size) noexcept;

// BMP: 1, 4 and 8 bits (palette) -> pf8bit with the file's palette; 16 (BI_RGB 5-5-5, or
// BI_BITFIELDS masks such as 5-6-5 of up to 8 bits each) and 24 -> pf24bit; 32 (BI_RGB,
// or BI_BITFIELDS with the standard masks) -> pf32bit keeping the fourth byte; 8-bit and
// 4-bit run-length files too (runs past the row's end clipped). Bottom-up and top-down
// files.
void LoadBMP(const std::uint8_t* data, std::size_t size, TBitmap& out);
// PNG: any colour type and depth -> pf32bit, bytes B, G, R, A with straight alpha
// (255 where the file has no transparency).
void LoadPNG(const std::uint8_t* data, std::size_t size, TBitmap& out);
// JPEG (baseline and progressive; grey, RGB/YCbCr and CMYK) -> pf24bit.
void LoadJPEG(const std::uint8_t* data, std::size_t size, TBitmap& out);
// Chooses the decoder by signature.
void LoadImageFromMemory(const std::uint8_t* data, std::size_t size, TBitmap& out);
// Reads the whole file (EFOpenError when it cannot) and decodes it by signature.
void LoadImageFromFile(const String& fileName, TBitmap& out);

// BMP file bytes of a pf32bit (32-bit BI_RGB, fourth byte kept), pf24bit or pf8bit
// (with its palette) bitmap, bottom-up. Other formats raise EInvalidGraphic.
std::vector<std::uint8_t> SaveBMP(const TBitmap& bitmap);
// PNG file bytes: pf32bit as RGBA with straight alpha, pf24bit as RGB, pf8bit with
// its palette.
std::vector<std::uint8_t> SavePNG(const TBitmap& bitmap);

}  // namespace qv
