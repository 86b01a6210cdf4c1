// TacDialogWnd: the frame of a top-level system dialog (window class "#32770") painted
// from the skin. The automatic skinning puts it on a dialog that has no owner; it paints
// the dialog's frame, title, icon and title buttons the way a skinned form's frame is
// painted, answers the hit tests and clicks on them itself, drops its own system menu,
// and lets the dialog's children take their background from its cache. The dialog's own
// scroll bars are skinned by the scroll-bar wrapper it derives from.
#pragma once
#include "controls/win32/acScrollWnd.h"
#include "windows/win32/acFramePaint.h"

#include <windows.h>

#include <memory>
#include <vector>

namespace qv {

class TsSystemMenu;
struct TacFrameFacts;

// Where the dialog wrapper asks for the children of its dialog to be wrapped: the object
// of the automatic skinning that took the dialog. Children appear late (the open-file
// dialog's file list is created again for every folder), so the wrapper asks on every
// frame paint and on SKC_WRAPNEWCHILDREN.
class IacDialogProvider {
public:
    // Wraps the children of the dialog that have no wrapper yet; false on failure.
    virtual bool InitHwndControls() = 0;

protected:
    ~IacDialogProvider() = default;
};

// The kind of frame a dialog has, taken from its styles.
enum TacBorderStyle { acbsDialog, acbsSingle, acbsNone, acbsSizeable, acbsToolWindow, acbsSizeToolWin };

// A screen position a system dialog is moved to when the dialog wrapper takes it; −1
// leaves the system's placement. The wrapper that takes a dialog takes the position over
// and puts both back to −1, so a dialog opened from inside it does not move too.
extern int DlgLeft, DlgTop;

class TacDialogWnd : public TacScrollWnd {
public:
    // wnd: the dialog; manager: the skin manager (nullptr: the default one); section: the
    // frame's section ("DIALOG"); repaint: repaint the dialog once it is attached.
    TacDialogWnd(HWND wnd, TsCommonData* binding, TsSkinManager* manager, const String& section = L"DIALOG",
                 bool repaint = false);
    TacDialogWnd(const TacDialogWnd&) = delete;
    TacDialogWnd& operator=(const TacDialogWnd&) = delete;
    ~TacDialogWnd() override;

    void acWndProc(TMessage& message) override;
    void PrepareCache() override;
    // Gives the dialog its system menu back and removes the frame's region.
    void RestoreStdParams() override;

    // Takes the dialog's styles: the frame kind, the title buttons it has, the title
    // section and the dialog's icon (the caption font is the system's, read by the frame
    // painter); removes WS_SYSMENU so the system draws no icon or buttons of its
    // own. Runs when the dialog is first shown or painted and again when its style changes.
    void InitParams();
    // Title-button images and the title section for the frame kind.
    void UpdateIconsIndexes();
    // Copies the frame onto the dialog, building the window image again (and the cache
    // the children take their background from) only when the frame changed.
    void PaintAll();
    // The window image as last built (empty before the first frame paint).
    TBitmap& FrameImage() noexcept;
    // Drops the wrapper's own system menu at a screen point.
    void DropSysMenu(int x, int y);

    // ---- fields ----
    IacDialogProvider* Provider = nullptr;
    // Suppresses the dialog's own painting until its first edit, list or combo child is
    // wrapped (the provider clears it).
    bool FWMPaintForbidden = false;
    bool Initialized = false;  // InitParams has run
    TacBorderStyle BorderStyle = acbsDialog;
    LONG_PTR dwStyle = 0;  // the dialog's styles as found by InitParams
    LONG_PTR dwExStyle = 0;
    int FCaptionSkinIndex = -1;  // the "CAPTION" section; −1 when the skin has none
    int TitleIndex = -1;         // the title section used
    String TitleSection;         // "DIALOGTITLE" or "FORMTITLE"
    bool FFormActive = false;
    int CurrentHT = HTNOWHERE;  // the title button under the pointer
    // The screen position the dialog goes to once shown (taken over from DlgLeft/DlgTop).
    int MoveToLeft = -1, MoveToTop = -1;

    // Which title buttons the dialog has (from the saved style).
    bool HasCloseButton() const noexcept;
    // The close button works: the class allows closing, the system menu's Close is not
    // greyed, and the dialog is no Yes/No or Abort/Retry/Ignore box without Cancel.
    bool CloseEnabled() const noexcept;
    bool HasMaxButton() const noexcept { return (dwStyle & WS_MAXIMIZEBOX) != 0 && HasCloseButton(); }
    bool HasMinButton() const noexcept { return (dwStyle & WS_MINIMIZEBOX) != 0 && HasCloseButton(); }
    bool HasHelpButton() const noexcept { return (dwExStyle & WS_EX_CONTEXTHELP) != 0 && HasCloseButton(); }

    // Where a title button (TacTitleButtonKind) was last placed, in window coordinates;
    // empty when the dialog does not show it.
    TRect TitleButtonRect(int kind) const noexcept;

    void WMNCHitTest(TMessage& message);
    void WMNCActivate(TMessage& message);
    void WMNCLButtonDown(TMessage& message);
    void WMLButtonUp(TMessage& message);
    void RepaintButton(int button);

private:
    // The dialog's share of the engine's commands; false: passed on to the base.
    bool SkinCommand(TMessage& message);
    bool OffersAnswersButNoCancel() const noexcept;
    void WrapNewChildren();
    void WMDestroy(TMessage& message);
    void WMShowWindow(TMessage& message);
    void WMStyleChanged(TMessage& message);
    void WMNCPaint(TMessage& message);
    void WMSetText(TMessage& message);
    void WMNCLButtonDblClk(TMessage& message);
    void WMNCMouseMove(TMessage& message);
    void WMNCMouseLeave(TMessage& message);
    void WMMouseMove(TMessage& message);
    void WMCaptureChanged(TMessage& message);
    void WMContextMenu(TMessage& message);
    // The task bar's request (WM_POPUPSYSTEMMENU) drops the wrapper's own menu.
    void WMPopupSystemMenu(TMessage& message);
    void WMSysCommand(TMessage& message);
    void WMEraseBkgnd(TMessage& message);
    void WMPrint(TMessage& message);
    void WMPaint(TMessage& message);
    void WMCtlColor(TMessage& message);
    void WMSize(TMessage& message);
    bool CtrlColor(TMessage& message);
    void TrackPressedButton();
    void EndButtonPress() noexcept;
    void SetHotButton(int button);
    void DropSysMenuBelowIcon();
    // The wrapper's own system menu, made (and its items read) on first use.
    TsSystemMenu& SystemMenu();
    TacFrameFacts FrameFacts() const;
    void LayoutTitle(TsSkinManager& manager, const TacFrameFacts& facts);
    void PaintFrame(TsSkinManager& manager, bool maximized);
    TacFramePaint FramePaint(TsSkinManager& manager, bool maximized) const;
    // The window image still shows the dialog: its size, activation, text and skin.
    bool ImageCurrent() const;
    void CopyClientToCache(const TacFrameFacts& facts);
    void UpdateRegion();
    void RepaintFrame();
    bool CanPaintFrame() const noexcept;

    struct TFrameState;
    std::unique_ptr<TFrameState> F;
    bool FInInitParams = false;
};

}  // namespace qv
