// TCanvas: drawing on a device context with the framework's font, brush and pen.
// The canvas selects its objects into the DC when it draws and puts the DC's own
// objects back when the DC is taken away, so the DC can be released afterwards.
#pragma once
#include "framework/Bitmap.h"
#include "framework/Types.h"
#include "framework/win32/Graphics.h"
#include "framework/win32/Handles.h"

#include <optional>

// The canvas methods keep their plain names; the ANSI/wide macros of <windows.h>
// must not rename them differently in different translation units.
#undef TextOut
#undef DrawText

namespace qv {

class TControl;

class TCanvas {
public:
    TCanvas();
    virtual ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    // The DC drawn on; a canvas that has none asks CreateHandle for one.
    HDC Handle();
    bool HandleAllocated() const noexcept { return FHandle != nullptr; }
    // Takes a DC (not owned) or, with nullptr, gives the current one back cleaned.
    void SetHandle(HDC dc);

    TFont& Font() noexcept { return FFont; }
    TBrush& Brush() noexcept { return FBrush; }
    TPen& Pen() noexcept { return FPen; }

    void FillRect(const TRect& r);                   // with the brush; no outline
    void FrameRect(const TRect& r);                  // 1-pixel frame in the brush colour
    void Rectangle(int x1, int y1, int x2, int y2);  // outline with the pen, filled with the brush
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    void RoundRect(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight);
    void Ellipse(int x1, int y1, int x2, int y2);
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    TPoint PenPos();

    // Text in the font colour; the background is the brush's unless it is bsClear.
    void TextOut(int x, int y, const String& text);
    // Text at (x, y) clipped to r (the rectangle is filled with the brush first
    // unless the brush is bsClear).
    void TextRect(const TRect& r, int x, int y, const String& text);
    // DrawTextW with the given DT_* flags; returns the text height.
    int DrawText(TRect& r, const String& text, UINT format);
    TSize TextExtent(const String& text);
    int TextWidth(const String& text) { return TextExtent(text).cx; }
    int TextHeight(const String& text) { return TextExtent(text).cy; }

    // Pixels of a bitmap copied 1:1 (Draw) or stretched into dest (StretchDraw),
    // nearest neighbour. A Transparent bitmap leaves out its TransparentColor.
    void Draw(int x, int y, TBitmap& bitmap);
    void StretchDraw(const TRect& dest, TBitmap& bitmap);
    // Copies source's srcRect into dest, stretching when the sizes differ.
    void CopyRect(const TRect& dest, TCanvas& source, const TRect& srcRect);

    TColor Pixel(int x, int y);
    void SetPixel(int x, int y, TColor color);

    // Drawing from one thread at a time; nestable.
    void Lock() noexcept { ++FLockCount; }
    void Unlock() noexcept {
        if (FLockCount > 0) --FLockCount;
    }
    int LockCount() const noexcept { return FLockCount; }

protected:
    // Called when a DC is needed and none is set; may call SetHandle.
    virtual void CreateHandle() {}
    // Called before the DC is used, so a canvas can bring it up to date.
    virtual void ValidateHandle() {}
    // Selects font, pen and brush as they are now (after property changes).
    void RequireObjects();

private:
    void RestoreObjects() noexcept;

    HDC FHandle = nullptr;
    TFont FFont;
    TBrush FBrush;
    TPen FPen;
    // After the objects they select, so the DC gets its own objects back before ours
    // are deleted, whichever way the canvas ends.
    HeldSelection FFontSelection, FBrushSelection, FPenSelection;
    bool FFontStale = true, FBrushStale = true, FPenStale = true;
    int FLockCount = 0;
};

// The canvas of a control: the control's window DC (a graphic control draws into its
// parent's DC, moved to its own origin and clipped to its bounds). While the control
// paints, the paint DC is set through SetHandle instead.
class TControlCanvas : public TCanvas {
public:
    TControlCanvas() = default;
    TControlCanvas(const TControlCanvas&) = delete;
    TControlCanvas& operator=(const TControlCanvas&) = delete;
    ~TControlCanvas() override;
    TControl* Control() const noexcept { return FControl; }
    void SetControl(TControl* control);
    // Gives back a DC this canvas fetched itself (GetDC) once drawing is finished.
    void FreeHandle();

protected:
    void CreateHandle() override;

private:
    TControl* FControl = nullptr;
    WindowDC FWindowDC;
    std::optional<SavedDC> FSavedState;  // a graphic control's origin and clipping in its parent's DC
};

// Lends a DC to a canvas for one scope: the canvas draws on dc until the scope ends and
// then gives it back with the DC's own objects selected again, on every way out.
class TCanvasDC {
public:
    TCanvasDC(TCanvas& canvas, HDC dc) : FCanvas(canvas) { canvas.SetHandle(dc); }
    TCanvasDC(const TCanvasDC&) = delete;
    TCanvasDC& operator=(const TCanvasDC&) = delete;
    ~TCanvasDC() { FCanvas.SetHandle(nullptr); }

private:
    TCanvas& FCanvas;
};

// Lock ... Unlock of a canvas for one scope.
class TCanvasLock {
public:
    explicit TCanvasLock(TCanvas& canvas) noexcept : FCanvas(canvas) { canvas.Lock(); }
    TCanvasLock(const TCanvasLock&) = delete;
    TCanvasLock& operator=(const TCanvasLock&) = delete;
    ~TCanvasLock() { FCanvas.Unlock(); }

private:
    TCanvas& FCanvas;
};

}  // namespace qv
