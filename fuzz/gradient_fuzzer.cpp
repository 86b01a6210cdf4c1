// Fuzz target: gradient text. The first four bytes choose the picture's size and the
// painted rectangle (which may run off the picture); the rest is the gradient text.
// Parsing must succeed or raise the conversion error; painting must write only inside
// the clipped rectangle, only pixels with A 255, and never outside the picture.
#include "framework/SysUtils.h"
#include "paint/PixelRows.h"
#include "paint/sGradient.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

constexpr std::uint32_t kGuard = 0x5AA5C33Cu;
constexpr std::uint32_t kBackground = 0x01020304u;

// A picture in the middle of a larger buffer: rows of (width + 2) words, one guard row
// above and below, one guard column on each side. Row order alternates with the input.
struct Picture {
    int Width, Height;
    bool BottomUp;
    std::vector<std::uint32_t> Words;
    Picture(int w, int h, bool bottomUp)
        : Width(w), Height(h), BottomUp(bottomUp), Words(static_cast<std::size_t>(w + 2) * (h + 2), kGuard) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) At(x, y) = kBackground;
    }
    std::uint32_t& At(int x, int y) {
        const int row = BottomUp ? Height - y : y + 1;
        return Words[static_cast<std::size_t>(row) * (Width + 2) + x + 1];
    }
    qv::PixelRows Rows() {
        const std::ptrdiff_t stride = static_cast<std::ptrdiff_t>(Width + 2) * 4;
        return {reinterpret_cast<std::uint8_t*>(&At(0, 0)), BottomUp ? -stride : stride, Width, Height};
    }
    void Check(const qv::TRect& r) {
        const qv::TRect c = qv::ClipRect(r, Width, Height);
        for (int y = -1; y <= Height; ++y)
            for (int x = -1; x <= Width; ++x) {
                const std::uint32_t v = At(x, y);
                const bool inPicture = x >= 0 && y >= 0 && x < Width && y < Height;
                if (!inPicture) {
                    if (v != kGuard) __builtin_trap();
                } else if (v != kBackground) {
                    if (!qv::PtInRect(c, {x, y}) || (v >> 24) != 0xFF) __builtin_trap();
                }
            }
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    const int w = 1 + data[0] % 48, h = 1 + data[1] % 48;
    const bool bottomUp = data[2] & 0x80;
    const int left = static_cast<int>(data[2] & 0x7F) - 16, top = static_cast<int>(data[3] & 0x7F) - 16;
    const qv::TRect rect{left, top, left + (data[0] >> 2), top + (data[1] >> 2)};

    qv::String text;
    for (std::size_t i = 4; i < size; ++i) text.push_back(static_cast<wchar_t>(data[i]));
    qv::TsGradArray grad;
    try {
        qv::PrepareGradArray(text, grad);
    } catch (const qv::EConvertError&) {
        return 0;
    }
    for (const qv::TsGradPie& p : grad)
        if (p.Color1 < 0 || p.Color2 < 0 || p.Percent < 0 || p.Percent > 100) __builtin_trap();

    Picture plain(w, h, bottomUp);
    qv::PaintGrad(plain.Rows(), rect, grad, 0, 0);
    plain.Check(rect);

    Picture mixed(w, h, !bottomUp);
    Picture texture(5, 4, bottomUp);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) texture.At(x, y) = 0x00101010u * static_cast<std::uint32_t>(x + y);
    qv::PaintGradTxt(mixed.Rows(), rect, grad, texture.Rows(), {}, data[3]);
    mixed.Check(rect);
    return 0;
}
