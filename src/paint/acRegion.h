// A window region kept as a set of disjoint rectangles: the shape of a control whose
// corners are cut by the key colour of its border mask. On Windows, RegionHandle
// (paint/win32/acRegionHandle.h) makes the system's region of it for SetWindowRgn.
#pragma once
#include "framework/Types.h"

#include <vector>

namespace qv {

class TacRegion {
public:
    TacRegion() = default;
    explicit TacRegion(TRect r) { Add(r); }

    // Adds the part of r not yet covered.
    void Add(TRect r);
    // Removes r from every rectangle of the set.
    void Remove(TRect r);
    bool Contains(TPoint p) const noexcept;
    bool Empty() const noexcept { return FRects.empty(); }
    // Pixels covered.
    long long Area() const noexcept;
    const std::vector<TRect>& Rects() const noexcept { return FRects; }

private:
    std::vector<TRect> FRects;
};

// The rectangle list the form frame builds its window region from.
using TAOR = std::vector<TRect>;

}  // namespace qv
