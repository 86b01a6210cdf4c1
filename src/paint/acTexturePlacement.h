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
    // A band along one edge at the texture's natural thickness is painted by paint; the
    // rest of the rectangle beside it is left for the colour.
    enum Edge { Top, Left, Bottom, Right };
    TRect rest = none;
    auto alongEdge = [&](Edge edge, auto paint) {
        TRect band = r;
        rest = r;
        switch (edge) {
        case Top: band.Bottom = rest.Top = r.Top + th; break;
        case Left: band.Right = rest.Left = r.Left + tw; break;
        case Bottom: band.Top = rest.Bottom = r.Bottom - th; break;
        case Right: band.Left = rest.Right = r.Right - tw; break;
        }
        paint(band);
    };
    // In a band of whole tiles what the band's last partial tile would cover stays as it was.
    auto wholeBand = [&](TRect area) { wholeTiles(area, true); };
    switch (FillMode) {
    case 0: tileIn(r); break;
    case 1: stretchIn(r); break;
    case 2: alongEdge(Top, tileIn); break;
    case 3: alongEdge(Left, tileIn); break;
    case 4: alongEdge(Top, stretchIn); break;
    case 5: alongEdge(Left, stretchIn); break;
    case 6: alongEdge(Bottom, tileIn); break;
    case 7: alongEdge(Right, tileIn); break;
    case 8: alongEdge(Bottom, stretchIn); break;
    case 9: alongEdge(Right, stretchIn); break;
    case 10: wholeTiles(r, false); break;
    case 11: alongEdge(Top, wholeBand); break;
    case 12: alongEdge(Left, wholeBand); break;
    case 13: alongEdge(Bottom, wholeBand); break;
    case 14: alongEdge(Right, wholeBand); break;
    default: rest = r; break;
    }
    return rest.IsEmpty() ? none : rest;
}

}  // namespace qv
