#include "paint/win32/acRegionHandle.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace qv {

UniqueRegion RegionHandle(const TacRegion& region) noexcept {
    const std::vector<TRect>& rects = region.Rects();
    if (rects.empty()) return UniqueRegion(::CreateRectRgn(0, 0, 0, 0));
    // RGNDATA: the header, then the rectangles; the set's rectangles are disjoint, which
    // is all ExtCreateRegion asks of them.
    std::vector<unsigned char> data;
    try {
        data.resize(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
    } catch (...) {
        return UniqueRegion();
    }
    RGNDATAHEADER header{};
    header.dwSize = sizeof header;
    header.iType = RDH_RECTANGLES;
    header.nCount = static_cast<DWORD>(rects.size());
    header.nRgnSize = static_cast<DWORD>(rects.size() * sizeof(RECT));
    RECT bounds{rects[0].Left, rects[0].Top, rects[0].Right, rects[0].Bottom};
    auto* out = reinterpret_cast<RECT*>(data.data() + sizeof header);
    for (std::size_t i = 0; i < rects.size(); ++i) {
        const TRect& r = rects[i];
        const RECT rc{r.Left, r.Top, r.Right, r.Bottom};
        std::memcpy(out + i, &rc, sizeof rc);
        bounds.left = std::min(bounds.left, rc.left);
        bounds.top = std::min(bounds.top, rc.top);
        bounds.right = std::max(bounds.right, rc.right);
        bounds.bottom = std::max(bounds.bottom, rc.bottom);
    }
    header.rcBound = bounds;
    std::memcpy(data.data(), &header, sizeof header);
    return UniqueRegion(
        ::ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), reinterpret_cast<const RGNDATA*>(data.data())));
}

}  // namespace qv
