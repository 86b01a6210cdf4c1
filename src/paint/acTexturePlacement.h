// Where a texture goes in a rectangle for each fill mode, shared by the bitmap and the
// canvas forms of TileBitmap so both place it alike.
#pragma once
#include "framework/Types.h"

#include <algorithm>

namespace qv {

// Places a tw × th texture into r by FillMode through tile(area) (tiles from the area's
// top-left corner, the last row and column cut at the area's edges) and stretch(area).
// Returns what is left for the plain colour; Right −1 when nothing is.
template <class TileFn, class StretchFn>
TRect PlaceTexture(TRect r, int tw, int th, int FillMode, TileFn tile, StretchFn stretch) {
    constexpr TRect none{0, 0, -1, -1};
    if (r.IsEmpty() || tw <= 0 || th <= 0) return none;
    auto tileIn = [&](TRect area) {
        area = IntersectRect(area, r);
        if (!area.IsEmpty()) tile(area);
    };
    auto stretchIn = [&](TRect area) {
        area = IntersectRect(area, r);
        if (!area.IsEmpty()) stretch(area);
    };
    // Whole tiles only: as many rows as fit; columns whole or, without wholeColumns, the
    // last one cut at the area's edge.
    auto wholeTiles = [&](TRect area, bool wholeColumns) {
        area = IntersectRect(area, r);
        const int rows = area.Height() / th;
        const int cols = wholeColumns ? area.Width() / tw : (area.Width() + tw - 1) / tw;
        tileIn({area.Left, area.Top, std::min(area.Right, area.Left + cols * tw), area.Top + rows * th});
    };
    TRect rest = none;
    switch (FillMode) {
    case 0: tileIn(r); break;
    case 1: stretchIn(r); break;
    case 2: tileIn({r.Left, r.Top, r.Right, r.Top + th}); rest = {r.Left, r.Top + th, r.Right, r.Bottom}; break;
    case 3: tileIn({r.Left, r.Top, r.Left + tw, r.Bottom}); rest = {r.Left + tw, r.Top, r.Right, r.Bottom}; break;
    case 4:
        stretchIn({r.Left, r.Top, r.Right, r.Top + th});
        rest = {r.Left, r.Top + th, r.Right, r.Bottom};
        break;
    case 5:
        stretchIn({r.Left, r.Top, r.Left + tw, r.Bottom});
        rest = {r.Left + tw, r.Top, r.Right, r.Bottom};
        break;
    case 6:
        tileIn({r.Left, r.Bottom - th, r.Right, r.Bottom});
        rest = {r.Left, r.Top, r.Right, r.Bottom - th};
        break;
    case 7:
        tileIn({r.Right - tw, r.Top, r.Right, r.Bottom});
        rest = {r.Left, r.Top, r.Right - tw, r.Bottom};
        break;
    // The bottom and right counterparts of the stretched bands: full width (or height) at
    // the natural thickness along the bottom (or right) edge.
    case 8:
        stretchIn({r.Left, r.Bottom - th, r.Right, r.Bottom});
        rest = {r.Left, r.Top, r.Right, r.Bottom - th};
        break;
    case 9:
        stretchIn({r.Right - tw, r.Top, r.Right, r.Bottom});
        rest = {r.Left, r.Top, r.Right - tw, r.Bottom};
        break;
    case 10: wholeTiles(r, false); break;
    // One band of whole tiles along an edge; what the band's last partial tile would
    // cover stays as it was, the rest of the rectangle is left for the colour.
    case 11:
        wholeTiles({r.Left, r.Top, r.Right, r.Top + th}, true);
        rest = {r.Left, r.Top + th, r.Right, r.Bottom};
        break;
    case 12:
        wholeTiles({r.Left, r.Top, r.Left + tw, r.Bottom}, true);
        rest = {r.Left + tw, r.Top, r.Right, r.Bottom};
        break;
    case 13:
        wholeTiles({r.Left, r.Bottom - th, r.Right, r.Bottom}, true);
        rest = {r.Left, r.Top, r.Right, r.Bottom - th};
        break;
    case 14:
        wholeTiles({r.Right - tw, r.Top, r.Right, r.Bottom}, true);
        rest = {r.Left, r.Top, r.Right - tw, r.Bottom};
        break;
    default: rest = r; break;
    }
    return rest.IsEmpty() ? none : rest;
}

}  // namespace qv
