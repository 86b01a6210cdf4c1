// One image of an image list drawn into a 32-bit picture, as a button glyph: a sub-image
// of the image (NumGlyphs side by side), with its alpha or its mask, faded, greyed and
// optionally reflected below.
#pragma once
#include "framework/Bitmap.h"
#include "framework/Types.h"
#include "framework/win32/ImgList.h"

namespace qv {

// The sub-image's rectangle in an image ImageWidth x ImageHeight cut into NumGlyphs
// images; SubImage is brought into 0..NumGlyphs - 1.
TRect ImgListSubRect(int ImageWidth, int ImageHeight, int SubImage, int NumGlyphs) noexcept;

// Image Index of an alpha image list, its sub-image SubImage, laid with its own alpha at
// R of DstBmp, faded by Blend percent, tinted by GrayedColor (acNoTint: none), with a
// reflection when Reflected. Nothing for an index out of range.
void DrawAlphaImgList(TImageList* ImgList, TBitmap* DstBmp, TRect R, int Index, int Blend, TColor GrayedColor,
                      int SubImage, int NumGlyphs, bool Reflected) noexcept;

// Image Index of a list without alpha, drawn by the system with its mask into a scratch
// picture, its sub-image laid at R of DstBmp: grey (R, G, B averaged) when Gray, and
// blended toward what lies under it by Blend (0 the image, 1 the background), the
// masked pixels left out. With Reflected a faded mirror image goes below.
void DrawPlainImgList(TImageList* ImgList, TBitmap* DstBmp, TRect R, int Index, int SubImage, int NumGlyphs, bool Gray,
                      double Blend, bool Reflected) noexcept;

}  // namespace qv
