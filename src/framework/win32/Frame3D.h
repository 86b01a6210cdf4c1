// Classic 3D frames drawn with plain lines: the edges of panels and buttons.
#pragma once
#include "framework/Types.h"

#include <windows.h>

namespace qv {

// Draws width one-pixel rings just inside rect and shrinks rect by width on every side.
// Each ring has its top and left lines in topColor and its right and bottom lines in
// bottomColor; the top-right and bottom-left corner pixels belong to the bottom colour.
void Frame3D(HDC dc, TRect& rect, TColor topColor, TColor bottomColor, int width);

// Fills rect with a colour.
void FillRectColor(HDC dc, const TRect& rect, TColor color);

}  // namespace qv
