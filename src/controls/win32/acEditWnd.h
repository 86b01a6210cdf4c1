// Edit-window wrappers: TacBaseWnd keeps the skinned scroll bars in step with the
// window's size, scrolling and enabled state; TacEditWnd paints the skinned border of an
// edit-like window (list, tree) into its non-client area from the binding's cache, sets
// the window's colours from the skin and answers the background requests of what it
// contains.
#pragma once
#include "controls/win32/acScrollWnd.h"

namespace qv {

class TacBaseWnd : public TacScrollWnd {
public:
    using TacScrollWnd::TacScrollWnd;
    void acWndProc(TMessage& message) override;

protected:
    // Sends WM_NCPAINT when the window is visible.
    void RepaintFrame();

private:
    // The manager's refresh repaints the frame; false: passed on.
    bool SkinCommand(TMessage& message);
    // WM_SIZE and WM_EXITSIZEMOVE.
    void WMSize(TMessage& message);
    // WM_HSCROLL and WM_VSCROLL.
    void WMScroll(TMessage& message);
    // WM_ENABLE and CM_ENABLEDCHANGED.
    void WMEnable(TMessage& message);
};

class TacEditWnd : public TacBaseWnd {
public:
    TacEditWnd(HWND wnd, TsCommonData* binding, TsSkinManager* manager, const String& section = L"EDIT",
               bool repaint = true);

    void acWndProc(TMessage& message) override;
    void SaveStdParams() override;
    void RestoreStdParams() override;
    void SetSkinParams() override;
    void PrepareCache() override;

    TRect FClientRect{0, -1, 0, 0};  // top -1: not measured
    TColor Color = clNone;
    TColor FocusColor = clNone;
    TColor FrameColor = clNone;

protected:
    // SetSkinParams once per change: skin commands, focus, hover and enabled changes
    // reset the latch, so applying colours never starts another paint by itself.
    void ApplySkinParamsOnce();
    void ResetSkinParams() noexcept { FParamsApplied = false; }
    // The hot (1) or normal (0) face of the border.
    int FrameState() const;
    // The cache's border ring (everything outside the client area and the bars) onto dc.
    void CopyBorderRing(HDC dc);
    void WMNCPaint(TMessage& message);
    void WMPrint(TMessage& message);
    void MeasureClient();

private:
    // The edit's share of the engine's commands; false: passed on.
    bool SkinCommand(TMessage& message);
    void SKCParentUpdated();
    void SKCGetBGInfo(TMessage& message);
    // WM_SETFOCUS and WM_KILLFOCUS.
    void WMFocus(TMessage& message);
    void WMPaint(TMessage& message);
    void WMEraseBkgnd(TMessage& message);
    void CMFontChanged(TMessage& message);
    // WM_ENABLE, CM_ENABLEDCHANGED, CM_MOUSEENTER and CM_MOUSELEAVE: the face changes.
    void StateChanged(TMessage& message);
    // The base's handling, then the frame or the bars again after what changes them.
    void PassOn(TMessage& message);

    bool FParamsApplied = false;
};

// The section and its border mask exist, and the mask has more than one image or the
// section more than one state.
bool MayBeHot(TsCommonData* binding) noexcept;

}  // namespace qv
