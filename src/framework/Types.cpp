#include "framework/Types.h"

#include <algorithm>

namespace qv {

TRect IntersectRect(const TRect& a, const TRect& b) noexcept {
    const TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
                  std::min(a.Bottom, b.Bottom)};
    if (r.IsEmpty()) return TRect{};
    return r;
}

TColor ColorToRGB(TColor color) noexcept {
    if (color < 0 && color != clNone) return static_cast<TColor>(SysColorRGB(color & 0xFF));
    return color;
}

}  // namespace qv
