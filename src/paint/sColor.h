// The engine's pixel and colour records. A pixel is the bytes B, G, R, A; a colour value
// is 0x00BBGGRR (red in the lowest byte), so the byte names of TsColor are the reverse
// of the pixel's.
#pragma once
#include "framework/Types.h"

#include <cstdint>

namespace qv {

struct TsRGB {
    std::uint8_t B, G, R;
};

struct TsRGBA {
    std::uint8_t B, G, R, A;
};

union TsColor {
    TColor C;
    std::int32_t I;
    TsRGBA sBGRA;
    TsRGB RGB;
    struct {
        std::uint8_t R, G, B, A;  // colour-value order: R is byte 0
    };
};
static_assert(sizeof(TsColor) == 4);

// Bytes 0 and 2 exchanged, bytes 1 and 3 kept.
constexpr std::int32_t SwapRedBlue(std::int32_t c) noexcept {
    const auto u = static_cast<std::uint32_t>(c);
    return static_cast<std::int32_t>((u & 0xFF00FF00u) | ((u & 0xFF) << 16) | ((u >> 16) & 0xFF));
}
constexpr std::int32_t SwapColor(std::int32_t c) noexcept { return SwapRedBlue(c); }

inline TsColor MakeTsColor(std::int32_t i) noexcept {
    TsColor c;
    c.I = i;
    return c;
}

}  // namespace qv
