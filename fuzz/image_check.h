// Shared check of the image fuzz targets: a decoder on arbitrary bytes must decode or
// raise EInvalidGraphic. A refused file leaves the output bitmap as it was; a decoded one
// has sizes within the decoders' limit and rows that can be read end to end.
#pragma once
#include "framework/Imaging.h"
#include "framework/SysUtils.h"

#include <cstddef>
#include <cstdint>

template <typename Decode>
void CheckImageDecode(const std::uint8_t* data, std::size_t size, Decode decode) {
    qv::TBitmap out(1, 1, qv::pf32bit);
    out.SetPixel32(0, 0, 0x12345678u);
    try {
        decode(data, size, out);
    } catch (const qv::EInvalidGraphic&) {
        if (out.Width() != 1 || out.Height() != 1 || out.Pixel32(0, 0) != 0x12345678u) __builtin_trap();
        return;
    }
    const int w = out.Width(), h = out.Height();
    if (w <= 0 || h <= 0 || w > 32767 || h > 32767 || static_cast<std::int64_t>(w) * h > (std::int64_t(1) << 25))
        __builtin_trap();
    // PNG gives 32 bits, JPEG 24, BMP 8, 24 or 32.
    const qv::TPixelFormat format = out.PixelFormat();
    const qv::TImageKind kind = qv::DetectImageKind(data, size);
    if ((kind == qv::ikPNG && format != qv::pf32bit) || (kind == qv::ikJPEG && format != qv::pf24bit) ||
        (format != qv::pf8bit && format != qv::pf24bit && format != qv::pf32bit))
        __builtin_trap();
    volatile unsigned sum = 0;
    const int rowBytes = w * out.BitsPerPixel() / 8;
    for (int y : {0, h - 1})
        for (int x = 0; x < rowBytes; ++x) sum = sum + out.ScanLine(y)[x];
}
