// Painting that asks the system: sections painted over a device context's pixels, the
// system's check box where the skin has none, and whether layered windows exist.
#pragma once
#include "framework/Bitmap.h"
#include "framework/Types.h"
#include "paint/sCacheInfo.h"
#include "model/acSkinSource.h"

#include <windows.h>

namespace qv {

// Paints Section (or SecondSection when the first is missing) in State over the whole
// bitmap; the pixels of ParentDC at ParentOffset are the background when given, else
// BGColor. Returns the section's index, or -1.
int PaintSection(TBitmap* Bmp, const String& Section, const String& SecondSection, int State, TacSkinSource* Manager,
                 TPoint ParentOffset, TColor BGColor, HDC ParentDC = nullptr) noexcept;

// Small check boxes: the skin's image when it has one, else the system's.
void GetCheckSize() noexcept;
int CheckWidth(TacSkinSource* SkinManager) noexcept;
int CheckHeight(TacSkinSource* SkinManager) noexcept;
// AState: 0 unchecked, 1 checked, 2 grayed.
void acDrawCheck(TRect R, int AState, bool AEnabled, TBitmap* Bmp, const TCacheInfo& CI,
                 TacSkinSource* SkinManager) noexcept;

// Whether layered windows with per-pixel alpha are available.
bool acLayered() noexcept;

}  // namespace qv
