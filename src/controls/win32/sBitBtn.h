// TsBitBtn: the framework's bitmap button painted from the skin. Its whole face lives in
// the binding's cache bitmap, rebuilt only when something changed; state changes
// cross-fade and a hovered button shows its glow. Without a skin it paints like the
// framework's bitmap button.
#pragma once
#include "controls/win32/sCommonData.h"
#include "controls/win32/sFade.h"
#include "framework/win32/Buttons.h"
#include "framework/win32/Handles.h"
#include "framework/win32/ImgList.h"
#include "paint/sAlphaGraph.h"

#include <functional>
#include <memory>

namespace qv {

enum TsDisabledGlyphKindFlag : std::uint8_t { dgBlended = 1, dgGrayed = 2 };
using TsDisabledGlyphKind = std::uint8_t;

using TBmpPaintEvent = std::function<void(TComponent* Sender, TBitmap* Bmp)>;

class TsBitBtn : public TBitBtn {
public:
    explicit TsBitBtn(TComponent* owner);
    TsBitBtn(const TsBitBtn&) = delete;
    TsBitBtn& operator=(const TsBitBtn&) = delete;
    ~TsBitBtn() override;
    String ClassName() const override { return L"TsBitBtn"; }

    TsCtrlSkinData* SkinData() noexcept { return FCommonData.get(); }

    bool Down() const noexcept { return FDown; }
    void SetDown(bool value);
    int Blend() const noexcept { return FBlend; }
    void SetBlend(int value);
    bool Grayed() const noexcept { return FGrayed; }
    void SetGrayed(bool value);
    int FocusMargin() const noexcept { return FFocusMargin; }
    void SetFocusMargin(int value) noexcept { FFocusMargin = value; }
    bool ShowCaption() const noexcept { return FShowCaption; }
    void SetShowCaption(bool value);
    bool ShowFocus() const noexcept { return FShowFocus; }
    void SetShowFocus(bool value);
    TAlignment Alignment() const noexcept { return FAlignment; }
    void SetAlignment(TAlignment value);
    TAlignment TextAlignment() const noexcept { return FTextAlignment; }
    void SetTextAlignment(TAlignment value);
    bool DrawOverBorder() const noexcept { return FDrawOverBorder; }
    void SetDrawOverBorder(bool value);
    bool Reflected() const noexcept { return FReflected; }
    void SetReflected(bool value);
    int ImageIndex() const noexcept { return FImageIndex; }
    void SetImageIndex(int value);
    TImageList* Images() const noexcept { return FImages; }
    void SetImages(TImageList* value);
    int Offset() const noexcept { return FOffset; }
    void SetOffset(int value);
    TacAnimatEvents AnimatEvents() const noexcept { return FAnimatEvents; }
    void SetAnimatEvents(TacAnimatEvents value) noexcept { FAnimatEvents = value; }
    void SetDisabledKind(TsDisabledKind value);
    void SetDisabledGlyphKind(TsDisabledGlyphKind value);

    TNotifyEvent FOnMouseEnter, FOnMouseLeave;
    TBmpPaintEvent FOnPaint;

    // The state painted now: 0 normal, 1 hot, 2 pressed.
    int CurrentState();
    void PrepareCache();
    void Loaded() override;
    void AfterConstruction() override;
    bool FadeRunning() const noexcept { return FadeTimer != nullptr; }
    TsFadeTimer* Fade() const noexcept { return FadeTimer.get(); }
    void Invalidate() override;

    // Layout results of the last cache.
    TPoint GlyphPos;
    TRect CaptionRect;

protected:
    void WndProc(TMessage& message) override;
    void SetButtonStyle(bool isDefault) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    void OurPaintHandler(HDC dc);
    void DrawCaption(TCanvas* canvas);
    void DrawGlyph();
    TSize TextRectSize();
    int MaxCaptionWidth();
    int GlyphWidth();
    int GlyphHeight();
    TRect ImgRect();
    bool UsableImages() const noexcept;
    void LayoutContents(const TRect& whole);
    // Message handlers; the bool ones return true when the message is answered.
    bool SkinnedMessage(TMessage& message);
    bool SkinCommandAnyState(TMessage& message);
    bool SkinCommand(TMessage& message);
    void UnskinnedWndProc(TMessage& message);
    void AfterInheritedWndProc(const TMessage& message);
    void WMMove();
    void WMWindowPosChanged();
    void WMSetFocus(TMessage& message);
    void WMKillFocus(TMessage& message);
    bool WMSetText(TMessage& message);
    bool WMPaint(TMessage& message);
    bool WMEraseBkgnd(TMessage& message);
    bool WMUpdateUIState(TMessage& message);
    void WMPrint(TMessage& message);
    void WMKeyUp(const TMessage& message);
    void CMDialogChar(TMessage& message);
    bool CMDialogCharAccel(TMessage& message);
    bool CMFocusChanged(TMessage& message);
    bool CMTextChanged();
    void CMMouseEnter();
    void CMMouseLeave();
    // Not an override of the framework button's CNDrawItem: that one paints while unskinned.
    void CNDrawItemSkinned(TMessage& message);
    void RepaintNow();
    void StartPressFade();
    // The border mask cuts its corners out of the window (a mask of corner type 2).
    bool RegionShaped();
    void ApplyRegion(HDC dc, bool redraw);
    void DropRegion() noexcept;
    bool IsSkinnedActive() const noexcept;

    int FOldSpacing = -1;
    std::unique_ptr<TsCtrlSkinData> FCommonData;
    bool FMouseClicked = false;
    bool FPressFadePending = false;  // a press seen whose fade waits for the system button
    bool FDown = false;
    bool RegionChanged = true;
    int FFocusMargin = 1;
    TsDisabledKind FDisabledKind = dkBlended;
    std::unique_ptr<TsFadeTimer> FadeTimer;
    TsDisabledGlyphKind FDisabledGlyphKind = dgBlended;
    bool FGrayed = false;
    int FBlend = 0;
    int FOffset = 0;
    int FImageIndex = -1;
    TImageList* FImages = nullptr;
    bool FShowCaption = true;
    bool FShowFocus = true;
    TAlignment FAlignment = taCenter;
    bool FDrawOverBorder = true;
    TAlignment FTextAlignment = taCenter;
    TacAnimatEvents FAnimatEvents = AnimEvent(aeGlobalDef);
    TRect LastRect;
    bool FReflected = false;
    TChangeLink FImageChangeLink;
    bool IsFocused = false;
    UniqueRegion FRegion;         // built with the cache, until the window takes it
    bool FRegionNeverSet = true;  // no region built or applied yet: the first one redraws
    TButtonLayout OldLayout = blGlyphLeft;
    int FStateOfCache = -1;  // the state of the face being built, -1 outside PrepareCache
};

}  // namespace qv
