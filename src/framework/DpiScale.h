// Sizes designed at 96 dots per inch, shown at a window's DPI. One rounding rule for
// every length: v × dpi / 96 rounded half away from zero (as the system's MulDiv).
#pragma once

#include <cstdint>

namespace qv {

constexpr int kDesignDpi = 96;
// The largest DPI taken as real (500 %); a system that reports more, or 0, is taken as
// reporting nothing.
constexpr int kMaxDpi = 480;

// dpi when it is one a display can have, else 96.
constexpr int SaneDpi(int dpi) noexcept { return (dpi <= 0 || dpi > kMaxDpi) ? kDesignDpi : dpi; }

// v × to / from, rounded half away from zero; v when from is 0.
constexpr int ScaleBetweenDpi(int v, int to, int from) noexcept {
    if (from == 0) return v;
    const std::int64_t n = static_cast<std::int64_t>(v) * to;
    const std::int64_t half = from / 2;
    return static_cast<int>(n >= 0 ? (n + half) / from : -((-n + half) / from));
}

// A length designed at 96 DPI as it is at dpi.
constexpr int ScaleForDpi(int v, int dpi) noexcept { return ScaleBetweenDpi(v, dpi, kDesignDpi); }

// A length that follows a window from one DPI to the next without drift. It remembers
// the value it was last given from outside and the DPI that value belongs to, and scales
// that one, not its own rounded result: 96 -> 144 -> 192 -> 96 ends where it began. A
// value changed by someone else since the last scaling becomes the new base.
class TDpiLength {
public:
    int Rescale(int current, int fromDpi, int toDpi) noexcept {
        if (!FValid || current != FScaled) {
            FBase = current;
            FBaseDpi = fromDpi;
            FValid = true;
        }
        FScaled = ScaleBetweenDpi(FBase, toDpi, FBaseDpi);
        return FScaled;
    }

private:
    int FBase = 0, FBaseDpi = kDesignDpi, FScaled = 0;
    bool FValid = false;
};

}  // namespace qv
