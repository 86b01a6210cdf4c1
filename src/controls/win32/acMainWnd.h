// Window wrappers: TacMainWnd puts a window the engine did not create under the skin (a
// bare system control of a dialog, or a framework control not written for the skin). It
// puts itself in front of the window's messages, paints the window from a skin section,
// answers the engine's commands for it, and gives the window back unchanged when the skin
// goes or the window is destroyed. A wrapped window carries the property "ACSBSC" naming
// its wrapper.
//
// Lifetime is two-phase: a wrapper is constructed, then Attach()ed (so every override of
// the most derived class takes part), and Detach()ed before it is freed. Release() frees
// it, deferred until its outermost message returns when it is inside one.
#pragma once
#include "controls/win32/sCommonData.h"
#include "framework/win32/Controls.h"
#include "skin/win32/sSkinManager.h"

#include <cstdint>
#include <memory>
#include <utility>

namespace qv {

// The window property whose value is a wrapped window's wrapper.
inline constexpr const wchar_t* acWrapperProp = L"ACSBSC";

// The visual-styles call that switches a window's theme off (" ", " ") and back on
// (nullptr, nullptr); loaded from uxtheme at run time, nullptr where there is none. A
// test may put a recorder in its place.
using TacSetWindowTheme = HRESULT(WINAPI*)(HWND wnd, LPCWSTR appName, LPCWSTR idList);
extern TacSetWindowTheme acSetWindowTheme;

// Set while the children of a system dialog are wrapped; new wrappers take it as DlgMode.
extern bool acDlgMode;

// The link between a window's procedure chain and its wrapper (internal to the wrappers).
struct TacWrapLink;

class TacMainWnd {
public:
    // wnd: the window; binding: a skin binding to share (nullptr: the wrapper makes its
    // own); manager: the skin manager (nullptr: the binding's, else the default one);
    // section: the section the binding takes when it has none; repaint: repaint the
    // window once it is attached.
    TacMainWnd(HWND wnd, TsCommonData* binding, TsSkinManager* manager, const String& section, bool repaint = true);
    virtual ~TacMainWnd();
    TacMainWnd(const TacMainWnd&) = delete;
    TacMainWnd& operator=(const TacMainWnd&) = delete;

    // Constructs a wrapper of type T and attaches it. The wrapper is the caller's (free it
    // with Release).
    template <class T, class... Args>
    static T* Create(Args&&... args) {
        auto wrapper = std::make_unique<T>(std::forward<Args>(args)...);
        wrapper->Attach();
        return wrapper.release();
    }

    // Visual style, binding defaults, saved parameters, subclassing, the owner control's
    // opaque flag.
    void Attach();
    // Ends subclassing when still attached, gives the owner control its control style
    // and the window its visual style back. Safe to call more than once.
    void Detach(bool frameChanged = false);
    // Detaches and frees the wrapper; inside a message of the wrapper the freeing waits
    // until the outermost one returns.
    void Release() noexcept;
    // The owner control is being destroyed: the wrapper lets go of it without touching
    // it (its message method and control style go with it) and stops receiving.
    void OwnerGone() noexcept;

    // ---- what wrapper kinds override ----
    // Save and restore the window's own colours and fonts around the skin.
    virtual void SaveStdParams() {}
    virtual void RestoreStdParams() {}
    // Applies the skin's colours and fonts to the window; the base only notes it did.
    virtual void SetSkinParams() { ParamsChanged = true; }
    // Every message of the window passes here first.
    virtual void acWndProc(TMessage& message);
    // The base's handling of the engine's command message (SM_ALPHACMD); true when the
    // message is answered and must not go on. Not virtual: a wrapper kind that handles a
    // command itself has its own SkinCommand, called from its acWndProc, and passes the
    // rest on to its base's acWndProc, which ends here.
    bool SkinCommand(TMessage& message);
    // Rebuilds the binding's cache from the skin (SKC_PREPARECACHE2). Nothing in the base.
    virtual void PrepareCache() {}
    // Starts subclassing: InitializeACWnd. Scroll-bar wrappers attach their bars too.
    virtual void Subclass();
    // Menu wrappers keep the window's visual style.
    virtual bool IsMenuWrapper() const noexcept { return false; }

    // Hands a message to what handled the window before the wrapper: the saved framework
    // message method (a changed lParam is copied back), else the saved window procedure,
    // else the default window procedure.
    LRESULT CallPrevWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM& lParam);
    // The same for a message record: its Result is set.
    void CallPrevWndProc(TMessage& message);

    // The wrapper's entry for every message: counts the depth, never lets an exception
    // escape (the application's handler shows it) and frees a released wrapper last.
    void Dispatch(TMessage& message) noexcept;
    int DispatchDepth() const noexcept { return FDepth; }

    // The binding's framework control, when the wrapper belongs to one.
    TControl* OwnerControl() const noexcept;
    // The skin manager this wrapper paints with (the binding's, else the default one).
    TsSkinManager* Manager() const noexcept;
    // The manager's own switch is on (while a skin is announced its skin data is not yet
    // marked active, and the wrappers must already answer).
    bool ManagerActive() const noexcept;
    // RedrawWindow with invalidate and update-now.
    void Repaint() noexcept;

    // ---- fields ----
    bool DlgMode = false;
    String Caption;
    // Geometry relative to the dialog, recorded when the wrapper is added to a dialog.
    TRect WndRect;
    TSize WndSize;
    TPoint WndPos;
    TRect ParentRect;
    HWND ParentWnd = nullptr;
    TControlStyle OldCtrlStyle = 0;
    TWndMethod OldWndProc;      // previous framework message method, when subclassed through it
    WNDPROC OldProc = nullptr;  // previous window procedure, when subclassed through the window
    HWND CtrlHandle = nullptr;
    TsSkinManager* SkinManager = nullptr;
    TsCommonData* SkinData = nullptr;
    bool DontRepaint = false;
    bool ParamsChanged = false;
    TColor StdColor = clNone;
    TColor StdFontColor = clNone;
    bool Destroyed = false;                // subclassing has been removed
    bool OwnSkinData = false;              // SkinData was made by the wrapper and is freed with it
    WNDPROC NewWndProcInstance = nullptr;  // the procedure installed in front of a bare window
    std::intptr_t Tag = 0;

protected:
    // The section given at construction.
    const String& DefaultSection() const noexcept { return FDefaultSection; }
    // The first step of a painting kind's PrepareCache: ci := what the parent's cache
    // shows behind the window, and the binding's cache made 32-bit and width x height.
    // nullptr when there is no binding cache or no memory for it: nothing is painted.
    TBitmap* ReadyCacheBmp(TCacheInfo& ci, int width, int height);

private:
    friend bool InitializeACWnd(TacMainWnd* wrapper, HWND wnd);
    friend void UninitializeACWnd(HWND wnd, bool freeWrapper, bool frameChanged, TacMainWnd*& wrapper);
    friend struct TacWrapLink;

    bool ThemeSwitchAllowed() const noexcept;
    // The skin commands SkinCommand answers with more than a line.
    void SKCNewSkin(TMessage& message);
    void SKCRemoveSkin();
    void SKCRefresh();
    void SKCParentUpdated();
    void SKCGetColor(TMessage& message);
    void SKCSetPrintDC(const TMessage& message);
    void WMDestroy(TMessage& message);
    void WMPrintClient(TMessage& message);

    std::unique_ptr<TsCommonData> FOwnBinding;
    std::shared_ptr<TacWrapLink> FLink;
    String FDefaultSection;
    bool FRepaintOnAttach = true;
    bool FAttached = false;
    bool FThemeSwitched = false;
    bool FReleased = false;
    int FDepth = 0;
};

// Starts subclassing wnd for wrapper: the "ACSBSC" property, then for a bare window a
// window procedure in front of the old one, for a framework control (or a framework
// form, through its frame skinner) the wrapper in front of its message method. False
// when wnd is no window.
bool InitializeACWnd(TacMainWnd* wrapper, HWND wnd);
// Ends subclassing. A chain that somebody subclassed again after the wrapper is left
// intact (the wrapper's link in it only passes messages on from then on). With
// freeWrapper the wrapper is released and the variable cleared.
void UninitializeACWnd(HWND wnd, bool freeWrapper, bool frameChanged, TacMainWnd*& wrapper);
// Redraws the non-client area: with frameChanged through SetWindowPos with
// SWP_FRAMECHANGED, else by a WM_NCPAINT with the whole window.
void Ac_RedrawNonClient(HWND wnd, bool frameChanged);
// The wrapper of a wrapped window, or nullptr.
TacMainWnd* WrapperOf(HWND wnd) noexcept;

}  // namespace qv
