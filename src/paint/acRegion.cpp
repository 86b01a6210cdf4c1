// Rectangle-set regions.
#include "paint/acRegion.h"

namespace qv {

void TacRegion::Remove(TRect r) {
    if (r.IsEmpty()) return;
    std::vector<TRect> out;
    out.reserve(FRects.size() + 4);
    for (const TRect& a : FRects) {
        const TRect cut = IntersectRect(a, r);
        if (cut.IsEmpty()) {
            out.push_back(a);
            continue;
        }
        // What is left of a around cut: the bands above and below, then left and right.
        if (cut.Top > a.Top) out.push_back({a.Left, a.Top, a.Right, cut.Top});
        if (cut.Bottom < a.Bottom) out.push_back({a.Left, cut.Bottom, a.Right, a.Bottom});
        if (cut.Left > a.Left) out.push_back({a.Left, cut.Top, cut.Left, cut.Bottom});
        if (cut.Right < a.Right) out.push_back({cut.Right, cut.Top, a.Right, cut.Bottom});
    }
    FRects.swap(out);
}

void TacRegion::Add(TRect r) {
    if (r.IsEmpty()) return;
    if (FRects.empty()) {
        FRects.push_back(r);
        return;
    }
    // Keep the set disjoint: add r less everything already covered.
    TacRegion piece(r);
    for (const TRect& a : FRects) piece.Remove(a);
    FRects.insert(FRects.end(), piece.FRects.begin(), piece.FRects.end());
}

bool TacRegion::Contains(TPoint p) const noexcept {
    for (const TRect& a : FRects)
        if (PtInRect(a, p)) return true;
    return false;
}

long long TacRegion::Area() const noexcept {
    long long area = 0;
    for (const TRect& a : FRects) area += static_cast<long long>(a.Width()) * a.Height();
    return area;
}

}  // namespace qv
