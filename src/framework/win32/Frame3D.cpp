#include "framework/win32/Frame3D.h"

#include "framework/win32/Graphics.h"

namespace qv {

void FillRectColor(HDC dc, const TRect& rect, TColor color) {
    if (rect.IsEmpty()) return;
    UniqueBrush brush(::CreateSolidBrush(ColorToGdi(color)));
    const RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
    ::FillRect(dc, &r, brush.get());
}

void Frame3D(HDC dc, TRect& rect, TColor topColor, TColor bottomColor, int width) {
    for (int i = 0; i < width && !rect.IsEmpty(); ++i) {
        const TRect r = rect;
        FillRectColor(dc, {r.Left, r.Top, r.Right - 1, r.Top + 1}, topColor);           // top
        FillRectColor(dc, {r.Left, r.Top + 1, r.Left + 1, r.Bottom - 1}, topColor);     // left
        FillRectColor(dc, {r.Right - 1, r.Top, r.Right, r.Bottom}, bottomColor);        // right
        FillRectColor(dc, {r.Left, r.Bottom - 1, r.Right - 1, r.Bottom}, bottomColor);  // bottom
        rect = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
    }
    if (rect.Right < rect.Left) rect.Right = rect.Left;
    if (rect.Bottom < rect.Top) rect.Bottom = rect.Top;
}

}  // namespace qv
