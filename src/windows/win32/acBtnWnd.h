// Wrapped push buttons: TacBtnWnd skins a push button the engine did not create (a bare
// "BUTTON" of a system dialog), TacButtonWnd the framework's own TButton with its
// images. The whole face is painted into the binding's cache from the button section
// and copied to the window; the button keeps its own behaviour (clicks, keys, default
// button). The face stays in the cache between paints and is rebuilt only when it is
// stale; hover, press and release cross-fade from the old face to the new one.
#pragma once
#include "controls/win32/acMainWnd.h"
#include "controls/win32/sFade.h"
#include "framework/win32/StdCtrls.h"

namespace qv {

// The system's message font, as bare windows show their text; made once.
const TFont& LoadSysFont();

class TacBtnWnd : public TacMainWnd {
public:
    // section: "BUTTON" when empty.
    TacBtnWnd(HWND wnd, TsCommonData* binding, TsSkinManager* manager, const String& section = String(),
              bool repaint = true);

    void acWndProc(TMessage& message) override;
    void PrepareCache() override;
    // Stops a running fade: the window goes back to the system's face.
    void RestoreStdParams() override;
    bool FadeRunning() const noexcept { return FadeTimer != nullptr; }
    TsFadeTimer* Fade() const noexcept { return FadeTimer.get(); }

    // 0 normal, 1 hot (focused, hovered or the default button), 2 pressed.
    int CurrentState();
    // The button reports itself pushed (BST_PUSHED).
    bool Down() const noexcept;
    int Width() const noexcept;
    int Height() const noexcept;

protected:
    virtual void DrawCaption();
    virtual TRect CaptionRect();
    virtual void DoDrawText(TRect r, UINT flags);
    virtual TSize TextRectSize();
    virtual void DrawGlyph() {}
    virtual TSize GlyphSize() { return {0, 0}; }
    virtual int MaxCaptionWidth();
    // The canvas of the cache with the button's font.
    TCanvas& CacheCanvas();
    UINT CaptionFlags() const noexcept;
    bool IsDefaultButton() const noexcept;

    // While a cache is built the state is asked once; -1 outside PrepareCache.
    int FStateOfCache = -1;

private:
    // What a face was built for: the same state at the same place needs no new face.
    struct FaceKey {
        int State = -1;
        bool Enabled = false;
        bool Focused = false;
        RECT Place{};  // in the parent's client area
        bool operator==(const FaceKey& o) const noexcept {
            return State == o.State && Enabled == o.Enabled && Focused == o.Focused && ::EqualRect(&Place, &o.Place);
        }
    };
    FaceKey FaceNow();
    bool CacheFitsWindow() const noexcept;
    // The cache holds the face the window should show now.
    bool FaceIsCurrent();
    void ChangeFace(TacAnimatEvent event, bool halve);
    bool FadeAllowed(TacAnimatEvent event) const noexcept;
    // The button's share of the engine's commands: hover and fading; false: passed on.
    bool SkinCommand(TMessage& message);
    void BMSetState(TMessage& message);
    void Paint(HDC dc);
    void MouseEnter(TMessage& message);
    void MouseLeave();
    void WMMove(TMessage& message);
    // WM_SETFOCUS and WM_KILLFOCUS.
    void WMFocus(TMessage& message);
    // WM_ENABLE, WM_SETTEXT and BM_SETSTYLE.
    void FaceChanged(TMessage& message);
    void WMSetFont(TMessage& message);
    void WMDestroy(TMessage& message);
    void WMPaint(TMessage& message);
    void WMMouseHover(TMessage& message);
    void WMMouseLeave(TMessage& message);
    void WMMouseMove(TMessage& message);
    // Passes message on with redrawing off, so the system face never shows; only for a
    // window that is visible now (switching redraw on again would show a hidden one).
    void PassOnWithoutRedraw(TMessage& message);
    bool FTrackingLeave = false;
    FaceKey FFaceOfCache;
    std::unique_ptr<TsFadeTimer> FadeTimer;
};

class TacButtonWnd : public TacBtnWnd {
public:
    TacButtonWnd(HWND wnd, TsCommonData* binding, TsSkinManager* manager, const String& section = String(),
                 bool repaint = true);

    bool HaveImage() const noexcept;
    int GlyphIndex();
    TRect GlyphRect();

    TButton* Btn = nullptr;

protected:
    TRect CaptionRect() override;
    void DrawGlyph() override;
    TSize GlyphSize() override;
};

}  // namespace qv
