#include "framework/win32/Canvas.h"

#include "framework/win32/Controls.h"

namespace qv {

TCanvas::TCanvas() {
    // A changed object is deleted and made anew: the DC gets its own back first.
    FFont.OnChanging = [this] { FFontSelection.Restore(); };
    FBrush.OnChanging = [this] { FBrushSelection.Restore(); };
    FPen.OnChanging = [this] { FPenSelection.Restore(); };
    FFont.OnChange = [this] { FFontStale = true; };
    FBrush.OnChange = [this] { FBrushStale = true; };
    FPen.OnChange = [this] { FPenStale = true; };
}

TCanvas::~TCanvas() = default;  // the held selections put the DC's own objects back

HDC TCanvas::Handle() {
    if (!FHandle) CreateHandle();
    else ValidateHandle();
    return FHandle;
}

void TCanvas::SetHandle(HDC dc) {
    if (dc == FHandle) return;
    RestoreObjects();
    FHandle = dc;
    FFontStale = FBrushStale = FPenStale = true;
}

void TCanvas::RestoreObjects() noexcept {
    if (!FHandle) return;
    // Putting the DC's own objects back lets ours be deleted and the DC be released.
    FFontSelection.Restore();
    FBrushSelection.Restore();
    FPenSelection.Restore();
}

void TCanvas::RequireObjects() {
    HDC dc = Handle();
    if (!dc) return;
    if (FFontStale) {
        FFontSelection.Select(dc, FFont.Handle());
        FFontStale = false;
    }
    ::SetTextColor(dc, ColorToGdi(FFont.Color()));
    if (FBrushStale) {
        HGDIOBJ brush = FBrush.Style() == bsClear ? ::GetStockObject(NULL_BRUSH) : FBrush.Handle();
        FBrushSelection.Select(dc, brush);
        FBrushStale = false;
    }
    if (FBrush.Style() == bsClear) {
        ::SetBkMode(dc, TRANSPARENT);
    } else {
        ::SetBkMode(dc, OPAQUE);
        ::SetBkColor(dc, ColorToGdi(FBrush.Color()));
    }
    if (FPenStale) {
        FPenSelection.Select(dc, FPen.Handle());
        FPenStale = false;
    }
}

static RECT ToRECT(const TRect& r) noexcept { return RECT{r.Left, r.Top, r.Right, r.Bottom}; }

void TCanvas::FillRect(const TRect& r) {
    RequireObjects();
    if (!FHandle || FBrush.Style() == bsClear) return;
    RECT rc = ToRECT(r);
    ::FillRect(FHandle, &rc, FBrush.Handle());
}

void TCanvas::FrameRect(const TRect& r) {
    RequireObjects();
    if (!FHandle || FBrush.Style() == bsClear) return;
    RECT rc = ToRECT(r);
    ::FrameRect(FHandle, &rc, FBrush.Handle());
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    RequireObjects();
    if (FHandle) ::Rectangle(FHandle, x1, y1, x2, y2);
}

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight) {
    RequireObjects();
    if (FHandle) ::RoundRect(FHandle, x1, y1, x2, y2, cornerWidth, cornerHeight);
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
    RequireObjects();
    if (FHandle) ::Ellipse(FHandle, x1, y1, x2, y2);
}

void TCanvas::MoveTo(int x, int y) {
    RequireObjects();
    if (FHandle) ::MoveToEx(FHandle, x, y, nullptr);
}

void TCanvas::LineTo(int x, int y) {
    RequireObjects();
    if (FHandle) ::LineTo(FHandle, x, y);
}

TPoint TCanvas::PenPos() {
    POINT p{};
    if (HDC dc = Handle()) ::GetCurrentPositionEx(dc, &p);
    return {p.x, p.y};
}

void TCanvas::TextOut(int x, int y, const String& text) {
    RequireObjects();
    if (FHandle) ::TextOutW(FHandle, x, y, text.c_str(), static_cast<int>(text.size()));
}

void TCanvas::TextRect(const TRect& r, int x, int y, const String& text) {
    RequireObjects();
    if (!FHandle) return;
    RECT rc = ToRECT(r);
    UINT options = ETO_CLIPPED | (FBrush.Style() != bsClear ? ETO_OPAQUE : 0);
    ::ExtTextOutW(FHandle, x, y, options, &rc, text.c_str(), static_cast<UINT>(text.size()), nullptr);
}

int TCanvas::DrawText(TRect& r, const String& text, UINT format) {
    RequireObjects();
    if (!FHandle) return 0;
    RECT rc = ToRECT(r);
    int h = ::DrawTextW(FHandle, text.c_str(), static_cast<int>(text.size()), &rc, format);
    r = {rc.left, rc.top, rc.right, rc.bottom};
    return h;
}

TSize TCanvas::TextExtent(const String& text) {
    RequireObjects();
    SIZE s{};
    if (FHandle) ::GetTextExtentPoint32W(FHandle, text.c_str(), static_cast<int>(text.size()), &s);
    return {s.cx, s.cy};
}

void TCanvas::Draw(int x, int y, TBitmap& bitmap) {
    StretchDraw({x, y, x + bitmap.Width(), y + bitmap.Height()}, bitmap);
}

void TCanvas::StretchDraw(const TRect& dest, TBitmap& bitmap) {
    if (bitmap.Empty()) return;
    RequireObjects();
    if (!FHandle) return;
    HDC src = bitmap.Canvas().Handle();
    if (!src) return;
    const int w = dest.Right - dest.Left, h = dest.Bottom - dest.Top;
    if (bitmap.Transparent) {
        ::TransparentBlt(FHandle, dest.Left, dest.Top, w, h, src, 0, 0, bitmap.Width(), bitmap.Height(),
                         ColorToGdi(bitmap.TransparentColor));
    } else if (w == bitmap.Width() && h == bitmap.Height()) {
        ::BitBlt(FHandle, dest.Left, dest.Top, w, h, src, 0, 0, SRCCOPY);
    } else {
        int oldMode = ::SetStretchBltMode(FHandle, COLORONCOLOR);
        ::StretchBlt(FHandle, dest.Left, dest.Top, w, h, src, 0, 0, bitmap.Width(), bitmap.Height(), SRCCOPY);
        ::SetStretchBltMode(FHandle, oldMode);
    }
}

void TCanvas::CopyRect(const TRect& dest, TCanvas& source, const TRect& srcRect) {
    RequireObjects();
    HDC src = source.Handle();
    if (!FHandle || !src) return;
    const int dw = dest.Right - dest.Left, dh = dest.Bottom - dest.Top;
    const int sw = srcRect.Right - srcRect.Left, sh = srcRect.Bottom - srcRect.Top;
    if (dw == sw && dh == sh) {
        ::BitBlt(FHandle, dest.Left, dest.Top, dw, dh, src, srcRect.Left, srcRect.Top, SRCCOPY);
    } else {
        int oldMode = ::SetStretchBltMode(FHandle, COLORONCOLOR);
        ::StretchBlt(FHandle, dest.Left, dest.Top, dw, dh, src, srcRect.Left, srcRect.Top, sw, sh, SRCCOPY);
        ::SetStretchBltMode(FHandle, oldMode);
    }
}

TColor TCanvas::Pixel(int x, int y) {
    HDC dc = Handle();
    if (!dc) return clNone;
    COLORREF c = ::GetPixel(dc, x, y);
    return c == CLR_INVALID ? clNone : static_cast<TColor>(c);
}

void TCanvas::SetPixel(int x, int y, TColor color) {
    if (HDC dc = Handle()) ::SetPixelV(dc, x, y, ColorToGdi(color));
}

// ---- TControlCanvas ----

TControlCanvas::~TControlCanvas() { FreeHandle(); }

void TControlCanvas::SetControl(TControl* control) {
    if (control == FControl) return;
    FreeHandle();
    FControl = control;
}

void TControlCanvas::FreeHandle() {
    if (!FWindowDC) return;
    SetHandle(nullptr);
    FSavedState.reset();
    FWindowDC.reset();
}

void TControlCanvas::CreateHandle() {
    if (!FControl) return;
    if (auto* win = dynamic_cast<TWinControl*>(FControl)) {
        FWindowDC = WindowDC(win->Handle());
        SetHandle(FWindowDC.get());
        return;
    }
    TWinControl* parent = FControl->Parent();
    if (!parent) return;
    FWindowDC = WindowDC(parent->Handle());
    if (!FWindowDC) return;
    HDC dc = FWindowDC.get();
    FSavedState.emplace(dc);
    ::OffsetViewportOrgEx(dc, FControl->Left(), FControl->Top(), nullptr);
    ::IntersectClipRect(dc, 0, 0, FControl->Width(), FControl->Height());
    SetHandle(dc);
}

}  // namespace qv
