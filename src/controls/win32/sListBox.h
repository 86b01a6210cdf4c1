// TsCustomListBox / TsListBox: the framework's list box as a fixed-height owner-drawn
// list whose items, background, border and scroll bars come from the skin. The items
// stay in the window (LBS_HASSTRINGS), so other programs still read them. The list
// draws its items over its binding's cache; an edit wrapper paints the border and the
// skinned scroll bars.
#pragma once
#include "controls/win32/acEditWnd.h"
#include "controls/win32/sBoundLabel.h"
#include "controls/win32/sCommonData.h"
#include "framework/win32/StdCtrls.h"
#include "paint/sAlphaGraph.h"

#include <memory>

namespace qv {

class TsCustomListBox : public TListBox {
public:
    explicit TsCustomListBox(TComponent* owner);
    TsCustomListBox(const TsCustomListBox&) = delete;
    TsCustomListBox& operator=(const TsCustomListBox&) = delete;
    ~TsCustomListBox() override;
    String ClassName() const override { return L"TsCustomListBox"; }

    void AfterConstruction() override;
    void Loaded() override;

    TsCtrlSkinData* SkinData() noexcept { return FCommonData.get(); }
    TsBoundLabel* BoundLabel() noexcept { return FBoundLabel.get(); }
    bool AutoHideScroll() const noexcept { return FAutoHideScroll; }
    void SetAutoHideScroll(bool value);
    TsDisabledKind DisabledKind() const noexcept { return FDisabledKind; }
    void SetDisabledKind(TsDisabledKind value);
    std::uint16_t AutoCompleteDelay() const noexcept { return FAutoCompleteDelay; }
    void SetAutoCompleteDelay(std::uint16_t value) noexcept { FAutoCompleteDelay = value; }
    TNotifyEvent OnVScroll;

    // The wrapper that paints the border and the scroll bars; none while unskinned.
    TacEditWnd* ListSW() const noexcept { return FListSW; }
    // Creates or drops the wrapper as the skin says (only once the window exists).
    void RefreshEditScrolls();

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void WndProc(TMessage& message) override;

    // Paints every visible item, then fills what they leave uncovered from the cache.
    void PaintListBox(TMessage& message);
    TRect PaintRows(HDC dc, const RECT& client);
    void FillUncovered(HDC dc, const RECT& client, const TRect& covered);
    // One item composed in a small bitmap over the cache and copied to dis.hDC.
    void DrawSkinnedItem(const DRAWITEMSTRUCT& dis, bool fromPaint);
    void DrawItemByHandler(TBitmap* bmp, const TRect& r, int index, bool selected, bool focused);
    // whole: the item's rectangle in bmp.
    void DrawItemFace(TBitmap* bmp, const TRect& whole, const TCacheInfo& ci, int index, bool selected, bool focused);
    void CNDrawItem(TMessage& message);

private:
    void SkinCommand(TMessage& message);
    void WMEraseBkgnd(TMessage& message);
    // WM_HSCROLL and WM_VSCROLL.
    void WMScroll(TMessage& message);
    void WMMouseWheel(TMessage& message);
    void WMEnable(TMessage& message);
    // The binding's share and the list's own handling, then what follows a change of
    // size, scroll position or font.
    void PassOn(TMessage& message);
    void ReleaseWrapper() noexcept;
    // The height of "A" in the list's font: the rows' height.
    int TextRowHeight();
    void ApplyRowHeight();
    // The client area's offset in the window (the non-client edges left and top).
    TPoint ClientOffset();
    int HorzOffset();
    // The bitmap rows are composed in, kept between rows and paints (a new one per row
    // and its font cost more than the row's pixels under Wine); nullptr without memory.
    TBitmap* ItemBitmap(int width, int height);

    std::unique_ptr<TsCtrlSkinData> FCommonData;
    std::unique_ptr<TsBoundLabel> FBoundLabel;
    TacEditWnd* FListSW = nullptr;
    bool FAutoHideScroll = true;
    std::uint16_t FAutoCompleteDelay = 500;
    TsDisabledKind FDisabledKind = dkBlended;
    bool FInPaintListBox = false;
    std::unique_ptr<TBitmap> FItemBmp;
    std::unique_ptr<TBitmap> FFrameBmp;  // the client area composed by PaintListBox
    TFont FItemFont;                     // the font FItemBmp's canvas was given
};

class TsListBox : public TsCustomListBox {
public:
    using TsCustomListBox::TsCustomListBox;
    String ClassName() const override { return L"TsListBox"; }
};

}  // namespace qv
