// Wrapped push buttons: TacBtnWnd skins a push button the engine did not create (a bare
// "BUTTON" of a system dialog), TacButtonWnd the framework's own TButton with its
// images. The whole face is painted into the binding's cache from the button section
// and copied to the window; the button keeps its own behaviour (clicks, keys, default
// button).
#pragma once
#include "controls/win32/acMainWnd.h"
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
    void Paint(HDC dc);
    void MouseEnter(TMessage& message);
    void MouseLeave();
    void WMMouseMove(TMessage& message);
    // Passes message on with redrawing off, so the system face never shows; only for a
    // window that is visible now (switching redraw on again would show a hidden one).
    void PassOnWithoutRedraw(TMessage& message);
    bool FTrackingLeave = false;
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
