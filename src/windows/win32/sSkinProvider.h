// TsSkinProvider: makes a form's frame part of the skin. It paints the non-client area
// (borders, title bar, icon, caption text with its glow, title buttons) from the skin into
// one window image and copies its frame strips onto the window, paints the client
// background from the same image, answers hit tests for the skinned title buttons and
// tracks their hot and pressed states, gives the window a region cut from the skin's
// transparent corners, drops a skinned system menu, and owns the control adapter that
// puts the form's framework controls under the skin. The window keeps the system's
// behaviour: the system sizes the frame, moves and resizes the window and answers every
// hit code the provider does not keep.
//
// A form carries a provider either as a component (constructed with the form as owner)
// or from the automatic skinning (CreateRT). Either way the form owns it.
#pragma once
#include "controls/win32/sCommonData.h"
#include "framework/win32/Forms.h"
#include "skin/win32/sSkinManager.h"
#include "skin/win32/sStyleSimply.h"
#include "windows/win32/acCtrlAdapter.h"
#include "windows/acFrameGeometry.h"
#include "windows/win32/acFramePaint.h"
#include "windows/win32/acSystemMenu.h"

#include <memory>

namespace qv {

enum TacGripMode { gmNone, gmRightBottom };

struct TacProviderLink;

class TsSkinProvider : public TComponent, public IacFormProvider {
public:
    // owner must be a form ("TsSkinProvider component may be used with forms only!"
    // otherwise). A form that already has a run-time provider gets this one instead; a
    // form that has a component provider leaves this one idle (RTEmpty).
    explicit TsSkinProvider(TComponent* owner);
    TsSkinProvider(const TsSkinProvider&) = delete;
    TsSkinProvider& operator=(const TsSkinProvider&) = delete;
    ~TsSkinProvider() override;
    // Read with its form's description: prepared on the form's first frame paint or hit
    // test, as a run-time provider is, once the description's properties are in.
    void Loaded() override;

    // A provider made at run time for form by the automatic skinning; form owns it.
    // Nothing (nullptr) when form is null or being destroyed.
    static TsSkinProvider* CreateRT(TCustomForm* form);
    // The provider serving form's window, or nullptr.
    static TsSkinProvider* ProviderOf(TCustomForm* form) noexcept;

    // ---- properties ----
    TCustomForm* Form() const noexcept { return FForm; }
    TsCommonData* SkinData() const noexcept { return FCommonData.get(); }
    const String& SkinSection() const noexcept;  // "FORM" unless set
    void SetSkinSection(const String& section);
    String TitleSkin;  // empty: "FORMTITLE"
    TacGripMode GripMode = gmNone;
    bool ShowAppIcon = true;
    TacCaptionAlignment CaptionAlignment = caLeft;
    bool DrawNonClientArea() const noexcept { return FDrawNonClientArea; }
    void SetDrawNonClientArea(bool value);
    TacSkinItemEvent OnSkinItem;  // handed to the adapter
    bool UseGlobalColor = true;   // the form takes the skin's colour while skinned
    bool RTInit = false;          // made at run time; the first hit test or frame paint runs LoadInit
    bool RTEmpty = false;         // another provider serves the form; this one stays idle

    // ---- frame geometry (window coordinates) ----
    TacFrameMetrics Metrics() const noexcept;
    int SysBorderWidth() const noexcept { return Metrics().SysBorderWidth; }
    int CaptionHeight() const noexcept { return Metrics().CaptionHeight; }
    int HeaderHeight() const noexcept { return Metrics().HeaderHeight; }
    int OffsetX() const noexcept { return Metrics().ClientOffset.X; }
    int OffsetY() const noexcept { return Metrics().ClientOffset.Y; }
    TRect IconRect() const noexcept;
    const TacTitleButtons& Buttons() const noexcept { return FButtons; }
    int TitleBtnsWidth() const noexcept { return FTitleBtnsWidth; }
    int CurrentHT() const noexcept { return FCurrentHT; }
    bool FormActive() const noexcept { return FFormActive; }
    bool HaveSysMenu() const noexcept { return FHaveSysMenu; }

    // ---- painting ----
    // Renders the whole window image (frame and client background) into the cache.
    void PaintAll();
    // The window image (nullptr before the first paint).
    TBitmap* FrameImage() const noexcept;
    // Copies the frame strips onto the window, rebuilding the image first when stale.
    void PaintCaption(HDC windowDC);
    // Marks the image stale and repaints the frame.
    void RepaintNC();
    // Repaints the title buttons only.
    void RepaintButtons();

    // ---- life cycle ----
    // Section and button indexes, adapter and system menu once the skin is known.
    void LoadInit();
    // System menu, WS_SYSMENU off, indexes (once the form has a handle and a skin).
    void PrepareForm();
    TsSystemMenu* SystemMenu() const noexcept { return FSystemMenu.get(); }
    TacCtrlAdapter* Adapter() const noexcept { return FAdapter; }
    void AdapterCreate();
    void AdapterRemove();

    // ---- interaction ----
    // The frame's answer for a screen point (window-procedure semantics of WM_NCHITTEST).
    int HTProcess(TPoint screen) const noexcept;
    void SetHotHT(int code, bool repaint = true);
    void SetPressedHT(int code);
    // Shows the skinned system menu at the screen point.
    void DropSysMenu(int x, int y);

    // ---- region ----
    void FillArOR();
    void UpdateRgn(bool repaint);
    const TAOR& ArOR() const noexcept { return FArOR; }

    // ---- IacFormProvider ----
    TsSkinManager* ProviderSkinManager() const noexcept override;
    void ProviderMessage(TMessage& message) override;
    void BeginSkinChange() override;
    void EndSkinChange(bool animate, const TacAnimSettings& settings) override;
    void SnapshotForSkinChange() override;
    bool DrawsNonClientArea() const noexcept override { return FDrawNonClientArea && !RTEmpty; }

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend struct TacProviderLink;
    // Every message of the form passes here; what is not consumed goes to the previous
    // message method.
    void NewWndProc(TMessage& message);
    bool SkinCommand(TMessage& message);
    void CallOld(TMessage& message);
    void Attach();
    void Detach() noexcept;
    bool Ready() const noexcept;
    bool SkinActive() const noexcept;

    void WMNCPaint(TMessage& message);
    void WMEraseBkgnd(TMessage& message);
    void WMPrint(TMessage& message);
    void WMNCHitTest(TMessage& message);
    void WMNCMouseMove(TMessage& message);
    void WMNCMouseLeave(TMessage& message);
    void WMNCLButtonDown(TMessage& message);
    void WMNCLButtonDblClk(TMessage& message);
    void WMNCRButtonDown(TMessage& message);
    void WMNCRButtonUp(TMessage& message);
    void WMContextMenu(TMessage& message);
    void WMLButtonUp(TMessage& message);
    void WMMouseMove(TMessage& message);
    void WMCaptureChanged(TMessage& message);
    void WMNCActivate(TMessage& message);
    void WMSetText(TMessage& message);
    void WMSysCommand(TMessage& message);
    void WMGetMinMaxInfo(TMessage& message);
    int MaximizedFrameWidth() noexcept;
    void WMSize(TMessage& message);
    void WMWindowPosChanged(TMessage& message);
    void WMPopupSystemMenu(TMessage& message);
    void WMStyleChanged(TMessage& message);
    void WMNCDestroy(TMessage& message);

    void ReleaseButton(TPoint screen);
    void RunButtonCommand(int code);
    void UpdateButtons();
    void UpdateIndexes();
    TacFramePaint PaintParams() const noexcept;
    TacFrameFacts Facts() const noexcept;
    TacHitFacts HitFacts() const noexcept;
    HICON TitleIcon() const noexcept;
    bool ShowsIcon() const noexcept;
    bool GripVisible() const noexcept;
    void RestoreSysMenu() noexcept;
    // The window's system menu lets it close (read when the frame was prepared).
    bool CloseAllowed() const noexcept;
    void RemoveSkin();
    void NewSkin();
    void TrackNcLeave() noexcept;
    void AnswerBackground(TacBGInfo& info);

    TCustomForm* FForm = nullptr;
    std::unique_ptr<TsCommonData> FCommonData;
    std::shared_ptr<TacProviderLink> FLink;
    std::unique_ptr<TsSystemMenu> FSystemMenu;
    TacCtrlAdapter* FAdapter = nullptr;  // owned by the form as a component
    TacCaptionGlows FGlows;
    TBitmap FTitleUnderButtons;  // the title band under the buttons, for a state change
    TacTitleButtons FButtons;
    TAOR FArOR;
    int FTitleBtnsWidth = 0;
    int FTitleSkinIndex = -1;
    int FCaptionSkinIndex = -1;
    int FCurrentHT = 0;
    int FPressedHT = 0;
    int FPaintedActive = -1;
    int FMaximizedFrameWidth = 0;  // measured last on a window with a frame
    bool FFormActive = true;
    bool FDrawNonClientArea = true;
    bool FHaveSysMenu = false;
    bool FRgnChanged = true;
    bool FPrepared = false;
    bool FInMenu = false;
    bool FTrackingLeave = false;
    bool FSkinned = false;  // listed in HookedComponents
    bool FRunTime = false;  // made by CreateRT
};

}  // namespace qv
