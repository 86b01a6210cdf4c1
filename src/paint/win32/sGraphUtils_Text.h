// Captions and small frame drawings with GDI: section-coloured text with contours and
// glow, text drawn onto 32-bit bitmaps with opaque alpha, measuring helpers, and the
// DC forms of the fill and copy helpers.
#pragma once
#include "framework/Bitmap.h"
#include "framework/Types.h"
#include "framework/win32/Canvas.h"
#include "paint/acSkinMessage.h"
#include "paint/sCacheInfo.h"
#include "paint/sGraphUtils_Item.h"

#include <memory>
#include <windows.h>

namespace qv {

int acDrawText(HDC hDC, const String& Text, TRect& lpRect, UINT uFormat) noexcept;
int acTextWidth(TCanvas& Canvas, const String& Text);
TSize acTextExtent(TCanvas& Canvas, const String& Text);
void acTextRect(TCanvas& Canvas, const TRect& Rect, int X, int Y, const String& Text);
bool acGetTextExtent(HDC DC, const String& Str, TSize& Size) noexcept;
String CutText(TCanvas& Canvas, const String& Text, int MaxLength);

// By section index: contours of the state and the text colour; the disabled colour mixed
// from the font colour and the section colour.
void WriteTextEx(TCanvas& Canvas, const String& Text, bool Enabled, TRect aRect, UINT Flags, int SkinIndex, bool Hot,
                 TacSkinSource* SkinManager);
// For a control binding: its section (or its parent's font section), glow, hue and saturation.
void WriteTextEx(TCanvas& Canvas, const String& Text, bool Enabled, TRect aRect, UINT Flags, TacCtrlPaintData* SkinData,
                 bool Hot);
void acWriteTextEx(TCanvas& Canvas, const String& Text, bool Enabled, TRect aRect, UINT Flags, int SkinIndex, bool Hot,
                   TacSkinSource* SkinManager);
void acWriteTextEx(TCanvas& Canvas, const String& Text, bool Enabled, TRect aRect, UINT Flags,
                   TacCtrlPaintData* SkinData, bool Hot, TacSkinSource* SkinManager);
// Draws onto a 32-bit bitmap with its canvas font; touched pixels become opaque.
void WriteText32(TBitmap* Bmp, const String& Text, bool Enabled, TRect aRect, UINT Flags, int SkinIndex, bool Hot,
                 TacSkinSource* SkinManager);
// A blurred halo of the text's shape in Color, BlurSize + 4 around aRect. MaskBmp is
// (re)made when missing or of another size and left to the caller.
void acDrawGlowForText(TBitmap* DstBmp, const String& Text, TRect aRect, UINT Flags, int Side, int BlurSize,
                       TColor Color, std::unique_ptr<TBitmap>& MaskBmp);

void DrawRectangleOnDC(HDC DC, TRect& R, TColor ColorTopLeft, TColor ColorBottomRight, int& Width) noexcept;
// Both draw straight into the rows of a 32-bit DIB selected into the canvas (as SetPixelV
// would, colour with A 0) when nothing about the DC moves or clips the dots, and dot by
// dot through GDI otherwise.
void FocusRect(TCanvas& Canvas, TRect R, TColor LightColor, TColor DarkColor);
void FocusRect(PixelRows rows, TRect R, TColor LightColor, TColor DarkColor) noexcept;
void DrawColorArrow(TCanvas& Canvas, TColor Color, TRect R, int Direction);
void DrawColorArrow(PixelRows rows, TColor Color, TRect R, int Direction) noexcept;

void FillDC(HDC DC, TRect aRect, TColor Color) noexcept;
void FillDCBorder(HDC DC, TRect aRect, int wl, int wt, int wr, int wb, TColor Color) noexcept;
void BitBltBorder(HDC DstDC, int X, int Y, int Width, int Height, HDC SrcDC, int SrcX, int SrcY,
                  int BorderWidth) noexcept;

// Asks a window for the background behind it (see the definition).
bool GetBGInfo(TacBGInfo& BGInfo, HWND Handle, bool PleaseDraw, TacSkinSource* SkinManager = nullptr) noexcept;

}  // namespace qv
