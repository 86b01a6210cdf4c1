// Skinned scroll bars of a wrapped window: TacScrollWnd takes the system's scroll bars
// out of the non-client area, reserves the same space itself and paints the bars from
// the skin's scroll sections, with its own hit testing, hover, press with auto-repeat,
// and thumb dragging with the mouse captured. TacScrollBar holds one direction.
#pragma once
#include "controls/win32/acMainWnd.h"
#include "paint/acScrollBarPaint.h"
#include "paint/acScrollMath.h"

#include <windows.h>

#include <cstdint>
#include <memory>

namespace qv {

class TacScrollWnd;

// fScrollFlags values.
enum : std::uint16_t {
    sfArrowBeforeDisabled = 1,
    sfArrowAfterDisabled = 2,
    sfActivityFromRange = 4,
    sfStyleWantsBar = 8,
};

// Timer ids of the scroll layer (window timers of the wrapped window).
constexpr UINT_PTR acScrollFirstRepeatTimer = 0xFFFD;  // 300 ms after a press
constexpr UINT_PTR acScrollRepeatTimer = 0xFFFE;       // every 55 ms after that
constexpr UINT_PTR acScrollHoverTimer = 0xFFF2;        // 20 ms while the pointer rests on a bar
constexpr UINT acScrollFirstRepeatDelay = 300, acScrollRepeatDelay = 55, acScrollHoverDelay = 20;

struct TacScrollBar {
    std::uint16_t fScrollFlags = 0;
    bool fScrollVisible = false;
    SCROLLINFO ScrollInfo{};
    int nArrowLength = -1;
    int nArrowWidth = -1;
    int nButSizeBefore = 0, nButSizeAfter = 0;
    bool fButVisibleBefore = false, fButVisibleAfter = false;
    std::uint16_t nBarType = 0;  // 0 horizontal (SB_HORZ), 1 vertical (SB_VERT)
    std::uint16_t fFlatScrollbar = 0;
    int nMinThumbSize = 10;
    TacScrollWnd* sw = nullptr;

    bool Vertical() const noexcept { return nBarType == 1; }
    TacScrollInfo Info() const noexcept;
};

class TacScrollWnd : public TacMainWnd {
public:
    TacScrollWnd(HWND wnd, TsCommonData* binding, TsSkinManager* manager, const String& section, bool repaint = true);
    TacScrollWnd(const TacScrollWnd&) = delete;
    TacScrollWnd& operator=(const TacScrollWnd&) = delete;
    ~TacScrollWnd() override;

    void acWndProc(TMessage& message) override;
    void Subclass() override;

    std::uint16_t bars = 0;
    TacScrollBar sBarHorz, sBarVert;
    bool fThumbTracking = false;
    bool fLeftScrollbar = false;
    int cxLeftEdge = 0, cxRightEdge = 0, cyTopEdge = 0, cyBottomEdge = 0;
    bool bPreventStyleChange = false;

    // Re-reads both bars' scroll facts; with repaint the bars are painted again.
    void UpdateScrolls(bool repaint);
    // Re-reads both bars' scroll facts and paints the bars again only when they changed:
    // the system paints its own bar over ours only when it changes them. Cheap enough for
    // every message that may move the list (two reads, no paint when nothing moved).
    void RefreshScrolls();
    // Paints the visible bars (and the corner square) onto dc, a window DC.
    void Ac_NCPaint(HDC dc);
    // The arrow length (metric 0) or thickness (metric 1) of a bar.
    int GetScrollMetric(const TacScrollBar& bar, int metric, bool useSkin = true) const;
    // Window-relative rectangle of a bar (empty when it is not visible).
    TRect BarRect(const TacScrollBar& bar) const;
    bool Ac_IsScrollbarActive(const TacScrollBar& bar) const;
    // The portion of a bar at a window-relative point.
    int PortionAt(const TacScrollBar& bar, POINT windowPoint) const;

    // Whether a press on a bar is in progress (for tests and the owner's painting).
    bool Pressing() const noexcept { return uCurrentScrollPortion != spNone; }

protected:
    // The skin parts of a bar direction (indexes from the manager's constant data).
    TacScrollSkin ScrollSkin(bool vertical) const;
    // What lies behind the bars: the window's own background.
    virtual TCacheInfo BarBackground(const TRect& barRect);
    // Ends any press, drag or hover: timers killed, capture released, SB_ENDSCROLL sent
    // when a press was under way.
    void EndInteraction(bool sendEnd);
    // Ends the press and the hover state (skin removal, window destruction).
    void EndHover();
    // After a message went on: repaints the bars when the control changed its scroll facts.
    void AfterMessage(UINT msg);
    // Paints one bar onto dc (window coordinates).
    void DrawBar(TacScrollBar& bar, HDC dc);

    // Scroll state of the pointer interaction with this window.
    int uCurrentScrollbar = -1;
    int uCurrentScrollPortion = spNone;
    int uScrollTimerPortion = spNone;
    UINT uScrollTimerMsg = 0;
    UINT_PTR uScrollTimerId = 0;
    int uMouseOverScrollbar = -1;
    UINT_PTR uMouseOverId = 0;
    int uHitTestPortion = spNone;
    int uLastHitTestPortion = spNone;
    RECT MouseOverRect{};
    int nThumbSize = 0, nThumbPos = 0;
    RECT rcThumbBounds{};
    int nThumbMouseOffset = 0;
    int nThumbPos0 = 0;
    int nLastSBPos = 0;
    int nTrackedStart = -1;            // thumb start (bar coordinates) while dragging
    std::unique_ptr<TBitmap> FBarBmp;  // the bar is composed here, kept between paints

private:
    void InitBars();
    // The wrapper is painting: the manager is on and the window not destroyed.
    bool Live() const noexcept;
    // The base's handling, then the bars again when the message changed their facts.
    void PassOn(TMessage& message);
    // Ends a press or hover when the skin goes; stops redrawing around the window's own
    // scrolling under a left bar. Always answers: what it does not take it passes on.
    bool SkinCommand(TMessage& message);
    void WMDestroy(TMessage& message);
    void WMNCCalcSize(TMessage& message);
    void WMNCHitTest(TMessage& message);
    void WMNCLButtonDown(TMessage& message);
    void WMLButtonUp(TMessage& message);
    void WMMouseMove(TMessage& message);
    void WMNCMouseMove(TMessage& message);
    void WMTimer(TMessage& message);
    void WMCaptureChanged(TMessage& message);
    void WMCancelMode(TMessage& message);
    void WMNCPaint(TMessage& message);
    // Starts the hover timer when the pointer comes over another bar.
    void HoverBar(const TMessage& message);
    void RedrawBar(TacScrollBar& bar);
    void PaintCorner(HDC dc);
    TacScrollBar& BarOf(int index) noexcept { return index == 1 ? sBarVert : sBarHorz; }
    // The pointer in window coordinates.
    POINT CursorInWindow() const;
    void ScrollCurrentPortion();
    // Sends the scroll message a pressed portion stands for.
    void SendPortionScroll(int portion);
    // Re-reads both bars (position, range, arrow states); true when anything changed.
    bool ReadBars();
    bool ReadArrowStates(TacScrollBar& bar) const;

    // The wrapper whose bar the pointer presses or hovers; cleared when it goes.
    static TacScrollWnd* hwndCurSB;
};

// Sends a scroll message as if the system's bar had sent it: command 51 first; unless the
// window answers 1 (it scrolls itself), the track position is set with SetScrollInfo for
// SB_THUMBTRACK; then msg with (min(pos, 0xFFFF) << 16 | code) and command 52.
void SendScrollMessage(HWND wnd, UINT msg, UINT code, int pos);

}  // namespace qv
