#include "paint/win32/sGraphUtils_System.h"

#include "framework/win32/Handles.h"
#include "paint/sAlphaGraph.h"
#include "paint/sGraphUtils.h"
#include "paint/sGraphUtils_Item.h"

#include <algorithm>

namespace qv {

namespace {

// A memory DC with the bitmap's DIB section selected, released on scope exit.
class BitmapDC {
public:
    explicit BitmapDC(TBitmap* bmp) noexcept
        : FDC(bmp && bmp->Handle() ? ::CreateCompatibleDC(nullptr) : nullptr),
          FSelected(FDC.get(), bmp ? static_cast<HBITMAP>(bmp->Handle()) : nullptr) {}
    HDC Handle() const noexcept { return FDC.get(); }

private:
    UniqueMemoryDC FDC;
    SelectScope FSelected;  // put back before the DC goes
};

int gCheckWidth = 13, gCheckHeight = 13;
bool gCheckMeasured = false;

}  // namespace

void GetCheckSize() noexcept {
    if (const UniqueBitmap bmp(LoadBitmapW(nullptr, MAKEINTRESOURCEW(32759 /* OBM_CHECKBOXES */))); bmp) {
        BITMAP info{};
        if (GetObjectW(bmp.get(), sizeof info, &info) && info.bmWidth >= 4 && info.bmHeight >= 3) {
            gCheckWidth = info.bmWidth / 4;
            gCheckHeight = info.bmHeight / 3;
        }
    }
    gCheckMeasured = true;
}

namespace {

const TsMaskData* SmallCheckImage(TacSkinSource* manager, int state) noexcept {
    if (!manager) return nullptr;
    const int index = manager->SmallCheckBoxIndex(state);
    return manager->IsValidImgIndex(index) ? &manager->SkinImages()[index] : nullptr;
}

}  // namespace

int CheckWidth(TacSkinSource* SkinManager) noexcept {
    if (const TsMaskData* md = SmallCheckImage(SkinManager, 0)) return WidthOfImage(*md) + 2;
    if (!gCheckMeasured) GetCheckSize();
    return gCheckWidth;
}

int CheckHeight(TacSkinSource* SkinManager) noexcept {
    if (const TsMaskData* md = SmallCheckImage(SkinManager, 0)) return HeightOfImage(*md);
    if (!gCheckMeasured) GetCheckSize();
    return gCheckHeight;
}

void acDrawCheck(TRect R, int AState, bool AEnabled, TBitmap* Bmp, const TCacheInfo& CI,
                 TacSkinSource* SkinManager) noexcept {
    const PixelRows dst = Rows32(Bmp);
    if (dst.Empty() || R.IsEmpty()) return;
    const int w = CheckWidth(SkinManager), h = CheckHeight(SkinManager);
    const TRect box{R.Left + (R.Width() - w) / 2, R.Top + (R.Height() - h) / 2, 0, 0};
    if (const TsMaskData* md = SmallCheckImage(SkinManager, std::clamp(AState, 0, 2))) {
        DrawSkinGlyph(Bmp, {box.Left, R.Top + (R.Height() - HeightOfImage(*md)) / 2}, 0, AEnabled ? 1 : 2, *md, CI);
        return;
    }
    const TRect area{box.Left, box.Top, box.Left + w, box.Top + h};
    FillFromCI(dst, area, CI);
    BitmapDC dc(Bmp);
    if (!dc.Handle()) return;
    RECT rc{area.Left, area.Top, area.Right, area.Bottom};
    UINT state = DFCS_BUTTONCHECK;
    if (AState == 1) state |= DFCS_CHECKED;
    if (AState == 2) state = DFCS_BUTTON3STATE | DFCS_CHECKED;
    if (!AEnabled) state |= DFCS_INACTIVE;
    DrawFrameControl(dc.Handle(), &rc, DFC_BUTTON, state);
    GdiFlush();
    // GDI leaves alpha 0 on what it draws.
    FillAlphaRect(Bmp, area, 255);
}

bool acLayered() noexcept {
    static const bool found = [] {
        HMODULE user32 = GetModuleHandleW(L"user32.dll");
        return user32 && GetProcAddress(user32, "UpdateLayeredWindow") != nullptr;
    }();
    return found;
}

int PaintSection(TBitmap* Bmp, const String& Section, const String& SecondSection, int State, TacSkinSource* Manager,
                 TPoint ParentOffset, TColor BGColor, HDC ParentDC) noexcept {
    if (!Manager || Rows32(Bmp).Empty()) return -1;
    int index = Manager->GetSkinIndex(Section);
    if (index < 0 && !SecondSection.empty()) index = Manager->GetSkinIndex(SecondSection);
    if (index < 0) return -1;
    TCacheInfo ci{nullptr, 0, 0, ColorToRGB(BGColor), false};
    if (ParentDC) {
        BitmapDC dc(Bmp);
        if (dc.Handle() &&
            BitBlt(dc.Handle(), 0, 0, Bmp->Width(), Bmp->Height(), ParentDC, ParentOffset.X, ParentOffset.Y, SRCCOPY)) {
            GdiFlush();
            FillAlphaRect(Bmp, {0, 0, Bmp->Width(), Bmp->Height()}, 255);
            ci = MakeCacheInfo(Bmp, 0, 0);
        }
    }
    PaintItem(index, Manager->SkinSections()[index].ClassName, ci, true, State, {0, 0, Bmp->Width(), Bmp->Height()},
              {0, 0}, Bmp, Manager);
    return index;
}

}  // namespace qv
