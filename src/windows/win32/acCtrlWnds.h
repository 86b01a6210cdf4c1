// The wrapper kinds beyond push buttons, each with the section it takes when none is
// given. Static texts, group boxes and check boxes paint their whole window from the
// skin (the background behind them, their frame or box, their text in the skin's
// colours); the other kinds answer the engine's commands for their window (the base
// wrapper's table) and leave painting to the window itself.
#pragma once
#include "windows/win32/acBtnWnd.h"

namespace qv {

// A wrapper kind that only answers the skin commands, with a default section. The
// window paints itself, focus rectangles and access keys included, so it hears of
// keyboard-cue changes (Alt, Tab) as it would unwrapped.
template <const wchar_t* Section>
class TacSectionWnd : public TacMainWnd {
public:
    TacSectionWnd(HWND wnd, TsCommonData* binding, TsSkinManager* manager, const String& section = String(),
                  bool repaint = true)
        : TacMainWnd(wnd, binding, manager, section.empty() ? String(Section) : section, repaint) {}
    void acWndProc(TMessage& message) override {
        if (message.Msg == WM_UPDATEUISTATE) CallPrevWndProc(message);
        else TacMainWnd::acWndProc(message);
    }
};

inline constexpr wchar_t acSecCheckBox[] = L"CHECKBOX";
inline constexpr wchar_t acSecGroupBox[] = L"GROUPBOX";
inline constexpr wchar_t acSecPanel[] = L"PANEL";
inline constexpr wchar_t acSecTransparent[] = L"TRANSPARENT";
inline constexpr wchar_t acSecPageControl[] = L"PAGECONTROL";
inline constexpr wchar_t acSecUpDown[] = L"UPDOWN";
inline constexpr wchar_t acSecTrackBar[] = L"TRACKBAR";
inline constexpr wchar_t acSecToolBar[] = L"TOOLBAR";
inline constexpr wchar_t acSecStatusBar[] = L"STATUSBAR";
inline constexpr wchar_t acSecEdit[] = L"EDIT";
inline constexpr wchar_t acSecComboBox[] = L"COMBOBOX";

// A wrapper that paints its whole window from its cache: what lies behind the window,
// then what its kind draws. Windows of a style the kind does not paint are left to
// themselves.
class TacPaintedWnd : public TacMainWnd {
public:
    using TacMainWnd::TacMainWnd;
    void acWndProc(TMessage& message) override;
    void PrepareCache() override;

protected:
    // Whether this window's style is one the kind paints.
    virtual bool PaintsStyle(LONG_PTR style) const noexcept = 0;
    // Draws the kind's content over the background already in cache; ci is the
    // background as seen from the window's top-left.
    virtual void PaintContent(TBitmap* cache, const TCacheInfo& ci) = 0;
    // The cache canvas with the window's font (the owner control's, the font the window
    // was given, or the system's message font).
    TCanvas& CacheCanvas();
    // The section whose text colours apply: the parent's, else the form's.
    int TextSection() const;
    void DrawCaption(TRect r, UINT flags);

private:
    void Paint(HDC dc);
    void PassOnWithoutRedraw(TMessage& message);
};

// Text statics (left, centred, right, simple): the text on the parent's background.
class TacStaticWnd : public TacPaintedWnd {
public:
    TacStaticWnd(HWND wnd, TsCommonData* binding, TsSkinManager* manager, const String& section = String(),
                 bool repaint = true)
        : TacPaintedWnd(wnd, binding, manager, section.empty() ? String(L"FORM") : section, repaint) {}

protected:
    bool PaintsStyle(LONG_PTR style) const noexcept override;
    void PaintContent(TBitmap* cache, const TCacheInfo& ci) override;
};
class TacEdgeWnd : public TacStaticWnd {
    using TacStaticWnd::TacStaticWnd;
};
class TacIconWnd : public TacStaticWnd {
    using TacStaticWnd::TacStaticWnd;
};
class TacLinkWnd : public TacStaticWnd {
    using TacStaticWnd::TacStaticWnd;
};
// A window that shows what lies behind it.
class TacTransPanelWnd : public TacPaintedWnd {
public:
    TacTransPanelWnd(HWND wnd, TsCommonData* binding, TsSkinManager* manager, const String& section = String(),
                     bool repaint = true)
        : TacPaintedWnd(wnd, binding, manager, section.empty() ? String(L"FORM") : section, repaint) {}

protected:
    bool PaintsStyle(LONG_PTR) const noexcept override { return true; }
    void PaintContent(TBitmap*, const TCacheInfo&) override {}
};

// A panel painted from its section (PANEL by default) over the whole window.
class TacPanelWnd : public TacPaintedWnd {
public:
    TacPanelWnd(HWND wnd, TsCommonData* binding, TsSkinManager* manager, const String& section = String(),
                bool repaint = true)
        : TacPaintedWnd(wnd, binding, manager, section.empty() ? String(L"PANEL") : section, repaint) {}

protected:
    bool PaintsStyle(LONG_PTR) const noexcept override { return true; }
    void PaintContent(TBitmap* cache, const TCacheInfo& ci) override;
};
// Group boxes: the section's frame below the middle of the caption, the caption on
// the parent's background.
class TacGroupBoxWnd : public TacPaintedWnd {
public:
    TacGroupBoxWnd(HWND wnd, TsCommonData* binding, TsSkinManager* manager, const String& section = String(),
                   bool repaint = true)
        : TacPaintedWnd(wnd, binding, manager, section.empty() ? String(L"GROUPBOX") : section, repaint) {}

protected:
    bool PaintsStyle(LONG_PTR style) const noexcept override;
    void PaintContent(TBitmap* cache, const TCacheInfo& ci) override;
};

// Check boxes (two- and three-state) and radio buttons: the skin's check or radio
// image and the caption beside it. A skin without radio images leaves radio buttons to
// the system.
class TacCheckBoxWnd : public TacPaintedWnd {
public:
    TacCheckBoxWnd(HWND wnd, TsCommonData* binding, TsSkinManager* manager, const String& section = String(),
                   bool repaint = true)
        : TacPaintedWnd(wnd, binding, manager, section.empty() ? String(L"CHECKBOX") : section, repaint) {}

protected:
    bool PaintsStyle(LONG_PTR style) const noexcept override;
    void PaintContent(TBitmap* cache, const TCacheInfo& ci) override;
};
class TacBitBtnWnd : public TacBtnWnd {
    using TacBtnWnd::TacBtnWnd;
};
// A size box or size grip (a scroll bar of that style): the skin's grip image in the
// bottom-right corner over what lies behind it.
class TacSizerWnd : public TacPaintedWnd {
public:
    TacSizerWnd(HWND wnd, TsCommonData* binding, TsSkinManager* manager, const String& section = String(),
                bool repaint = true)
        : TacPaintedWnd(wnd, binding, manager, section.empty() ? String(L"FORM") : section, repaint) {}

protected:
    bool PaintsStyle(LONG_PTR style) const noexcept override { return (style & (SBS_SIZEBOX | SBS_SIZEGRIP)) != 0; }
    void PaintContent(TBitmap* cache, const TCacheInfo& ci) override;
};
class TacTabControlWnd : public TacSectionWnd<acSecPageControl> {
    using TacSectionWnd::TacSectionWnd;
};
class TacPageControlWnd : public TacTabControlWnd {
    using TacTabControlWnd::TacTabControlWnd;
};
class TacSpinWnd : public TacSectionWnd<acSecUpDown> {
    using TacSectionWnd::TacSectionWnd;
};
class TacTrackWnd : public TacSectionWnd<acSecTrackBar> {
    using TacSectionWnd::TacSectionWnd;
};
class TacToolBarWnd : public TacSectionWnd<acSecToolBar> {
    using TacSectionWnd::TacSectionWnd;
};
class TacToolBarVCLWnd : public TacToolBarWnd {
    using TacToolBarWnd::TacToolBarWnd;
};
class TacStatusBarWnd : public TacSectionWnd<acSecStatusBar> {
    using TacSectionWnd::TacSectionWnd;
};
class TacSBWnd : public TacSectionWnd<acSecCheckBox> {
    using TacSectionWnd::TacSectionWnd;
};
// A list view (SysListView32) in the colours of its section (EDIT by default): body and
// text colours set while wrapped, its own colours given back when the skin goes or the
// wrapper leaves. The header and scroll bars stay the system's.
class TacListViewWnd : public TacMainWnd {
public:
    TacListViewWnd(HWND wnd, TsCommonData* binding, TsSkinManager* manager, const String& section = String(),
                   bool repaint = true)
        : TacMainWnd(wnd, binding, manager, section.empty() ? String(L"EDIT") : section, repaint) {}
    void SaveStdParams() override;
    void RestoreStdParams() override;
    void SetSkinParams() override;
    void acWndProc(TMessage& message) override;
};

// Edit-like kinds until their own wrappers (scroll bars, colours) take them over.
class TacEditLikeWnd : public TacSectionWnd<acSecEdit> {
    using TacSectionWnd::TacSectionWnd;
};
class TacComboLikeWnd : public TacSectionWnd<acSecComboBox> {
    using TacSectionWnd::TacSectionWnd;
};

}  // namespace qv
