#include "controls/win32/acMainWnd.h"

#include "framework/win32/Application.h"
#include "framework/win32/WindowText.h"
#include "skin/win32/sMessages.h"
#include "skin/win32/sStyleSimply.h"

#include <utility>

namespace qv {

namespace {

// Where a bare window keeps its link; private to the wrappers.
constexpr const wchar_t* kLinkProp = L"acWrapLink";

TacSetWindowTheme LoadSetWindowTheme() noexcept {
    HMODULE uxtheme = ::LoadLibraryW(L"uxtheme.dll");
    if (!uxtheme) return nullptr;
    return reinterpret_cast<TacSetWindowTheme>(reinterpret_cast<void*>(::GetProcAddress(uxtheme, "SetWindowTheme")));
}

}  // namespace

TacSetWindowTheme acSetWindowTheme = LoadSetWindowTheme();
bool acDlgMode = false;

// ---------------------------------------------------------------- the link

// One per subclassing. A bare window's procedure slot holds TacWrapLink::WindowProc and
// the window keeps the link under a private property; a framework control's message
// method holds a TacWrapperMethod with the link. The link routes each message to its
// wrapper, or, once the wrapper has left, straight to what was there before. So a
// subclasser that hooked in after the wrapper keeps a working chain when the wrapper
// goes, and nothing ever calls a freed wrapper.
struct TacWrapLink {
    HWND Wnd = nullptr;
    TacMainWnd* Wrapper = nullptr;
    WNDPROC OldProc = nullptr;    // bare window
    TWndMethod OldMethod;         // framework control or form
    TControl* Control = nullptr;  // whose message method was replaced

    void Route(TMessage& m) {
        if (TacMainWnd* w = Wrapper) {
            w->Dispatch(m);
            return;
        }
        if (OldMethod) OldMethod(m);
        else if (OldProc) m.Result = ::CallWindowProcW(OldProc, Wnd, m.Msg, m.WParam, m.LParam);
        else m.Result = ::DefWindowProcW(Wnd, m.Msg, m.WParam, m.LParam);
    }

    // The window is gone (WM_NCDESTROY passed): drop the property and the wrapper.
    void WindowGone() noexcept {
        if (auto* holder = static_cast<std::shared_ptr<TacWrapLink>*>(::GetPropW(Wnd, kLinkProp))) {
            ::RemovePropW(Wnd, kLinkProp);
            delete holder;
        }
        if (TacMainWnd* w = Wrapper) {
            w->Destroyed = true;
            w->FAttached = false;
        }
        Wrapper = nullptr;
    }

    static LRESULT CALLBACK WindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
        auto* holder = static_cast<std::shared_ptr<TacWrapLink>*>(::GetPropW(wnd, kLinkProp));
        if (!holder) return ::DefWindowProcW(wnd, msg, wParam, lParam);
        const std::shared_ptr<TacWrapLink> link = *holder;  // alive for this call, whatever it unhooks
        TMessage m{msg, wParam, lParam, 0};
        try {
            link->Route(m);
        } catch (...) {
            Application().HandleException(std::current_exception());
        }
        if (msg == WM_NCDESTROY) link->WindowGone();
        return m.Result;
    }
};

namespace {

// The framework message method a wrapper puts in front of a control's.
struct TacWrapperMethod {
    std::shared_ptr<TacWrapLink> Link;
    void operator()(TMessage& m) const {
        // Detaching replaces the method that is running now; the copy keeps the link.
        const std::shared_ptr<TacWrapLink> keep = Link;
        keep->Route(m);
    }
};

bool MethodIsLink(const TWndMethod& method, const TacWrapLink* link) noexcept {
    const auto* target = method.target<TacWrapperMethod>();
    return target && target->Link.get() == link;
}

// The control whose message method a wrapper with binding b takes over: the frame
// skinner's form, else the owner control; nullptr for a bare window.
TControl* MethodOwner(const TsCommonData* b) noexcept {
    if (!b) return nullptr;
    if (b->FFrameSkinnerForm) return b->FFrameSkinnerForm;
    return b->FOwnerControl;
}

}  // namespace

// ---------------------------------------------------------------- subclassing

bool InitializeACWnd(TacMainWnd* wrapper, HWND wnd) {
    if (!wrapper || !wnd || !::IsWindow(wnd)) return false;
    wrapper->DontRepaint = false;
    wrapper->CtrlHandle = wnd;
    if (TControl* control = MethodOwner(wrapper->SkinData)) {
        auto link = std::make_shared<TacWrapLink>();
        link->Wnd = wnd;
        link->Control = control;
        link->OldMethod = control->WindowProc ? control->WindowProc
                                              : TWndMethod([control](TMessage& m) { control->WndProc(m); });
        link->Wrapper = wrapper;
        wrapper->OldWndProc = link->OldMethod;
        control->WindowProc = TacWrapperMethod{link};
        wrapper->FLink = std::move(link);
    } else {
        auto* holder = static_cast<std::shared_ptr<TacWrapLink>*>(::GetPropW(wnd, kLinkProp));
        if (holder && (*holder)->Wrapper) return false;  // one wrapper per window
        if (holder) {
            // A link left behind in a chain somebody else subclassed after it: it takes
            // the new wrapper and the chain stays as it is.
            (*holder)->Wrapper = wrapper;
            wrapper->FLink = *holder;
        } else {
            auto link = std::make_shared<TacWrapLink>();
            link->Wnd = wnd;
            link->OldProc = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(wnd, GWLP_WNDPROC));
            link->Wrapper = wrapper;
            ::SetPropW(wnd, kLinkProp, new std::shared_ptr<TacWrapLink>(link));
            ::SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TacWrapLink::WindowProc));
            wrapper->FLink = std::move(link);
        }
        wrapper->OldProc = wrapper->FLink->OldProc;
        wrapper->NewWndProcInstance = &TacWrapLink::WindowProc;
    }
    ::SetPropW(wnd, acWrapperProp, wrapper);
    wrapper->Destroyed = false;
    wrapper->FAttached = true;
    return true;
}

void UninitializeACWnd(HWND wnd, bool freeWrapper, bool frameChanged, TacMainWnd*& wrapper) {
    if (!wrapper) return;
    TacMainWnd* w = wrapper;
    if (!w->Destroyed && w->FAttached) {
        const std::shared_ptr<TacWrapLink> link = w->FLink;
        if (link) {
            if (link->Control) {
                if (MethodIsLink(link->Control->WindowProc, link.get())) link->Control->WindowProc = link->OldMethod;
            } else if (::IsWindow(wnd) &&
                       ::GetWindowLongPtrW(wnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&TacWrapLink::WindowProc)) {
                ::SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(link->OldProc));
                delete static_cast<std::shared_ptr<TacWrapLink>*>(::RemovePropW(wnd, kLinkProp));
            }
            // Otherwise the link stays in the chain and only passes messages on.
            link->Wrapper = nullptr;
        }
        w->FLink.reset();
        w->NewWndProcInstance = nullptr;
        if (::IsWindow(wnd) && ::GetPropW(wnd, acWrapperProp) == w) ::RemovePropW(wnd, acWrapperProp);
        w->RestoreStdParams();
        if (::IsWindow(wnd) && ::IsWindowVisible(wnd)) Ac_RedrawNonClient(wnd, frameChanged);
        w->Destroyed = true;
        w->FAttached = false;
    }
    if (freeWrapper) {
        w->OldWndProc = nullptr;
        w->OldProc = nullptr;
        w->Release();
        wrapper = nullptr;
    }
}

void Ac_RedrawNonClient(HWND wnd, bool frameChanged) {
    if (!wnd || !::IsWindow(wnd)) return;
    if (frameChanged)
        ::SetWindowPos(wnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    else ::SendMessageW(wnd, WM_NCPAINT, 1, 0);  // 1: the whole frame
}

TacMainWnd* WrapperOf(HWND wnd) noexcept {
    return wnd ? static_cast<TacMainWnd*>(::GetPropW(wnd, acWrapperProp)) : nullptr;
}

// ---------------------------------------------------------------- life

TacMainWnd::TacMainWnd(HWND wnd, TsCommonData* binding, TsSkinManager* manager, const String& section, bool repaint)
    : CtrlHandle(wnd), SkinManager(manager), SkinData(binding), FDefaultSection(section), FRepaintOnAttach(repaint) {}

TacMainWnd::~TacMainWnd() {
    // A wrapper freed without Release still leaves its window working.
    if (FAttached && !Destroyed) {
        TacMainWnd* self = this;
        UninitializeACWnd(CtrlHandle, false, false, self);
    }
    if (FLink) FLink->Wrapper = nullptr;
}

bool TacMainWnd::ThemeSwitchAllowed() const noexcept {
    if (!acSetWindowTheme || IsMenuWrapper()) return false;
    if (SkinData && SkinData->FSkinSection == L"DIALOG") return false;
    if (FDefaultSection == L"DIALOG" && (!SkinData || SkinData->FSkinSection.empty())) return false;
    // A frame skinner that leaves the non-client area to the system keeps the theme.
    if (SkinData && SkinData->FFrameSkinnerForm)
        if (IacFormProvider* provider = GetFormProvider(SkinData->FFrameSkinnerForm))
            return provider->DrawsNonClientArea();
    return true;
}

void TacMainWnd::Attach() {
    if (FAttached || !CtrlHandle || !::IsWindow(CtrlHandle)) return;
    // The binding: shared or own.
    if (!SkinData) {
        FOwnBinding = std::make_unique<TsCommonData>(nullptr, true);
        SkinData = FOwnBinding.get();
        OwnSkinData = true;
        if (SkinManager && SkinManager != DefaultManager) SkinData->FSkinManager = SkinManager;
    }
    if (!SkinManager) SkinManager = SkinData->GetSkinManager();
    if (ThemeSwitchAllowed()) {
        acSetWindowTheme(CtrlHandle, L" ", L" ");
        FThemeSwitched = true;
    }
    SkinData->FCustomFont = ac_KeepOwnFont || SkinData->FCustomFont;
    if (SkinData->FSkinSection.empty()) SkinData->FSkinSection = UpperCased(FDefaultSection);
    SkinData->UpdateIndexes();
    DlgMode = acDlgMode;
    SaveStdParams();
    ParamsChanged = false;
    Caption = WindowText(CtrlHandle);
    Subclass();
    if (TControl* owner = OwnerControl()) {
        OldCtrlStyle = owner->ControlStyle;
        owner->ControlStyle |= csOpaque;
    }
    if (FRepaintOnAttach && FAttached && ::IsWindowVisible(CtrlHandle))
        ::RedrawWindow(CtrlHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

void TacMainWnd::Subclass() { InitializeACWnd(this, CtrlHandle); }

void TacMainWnd::Detach(bool frameChanged) {
    if (FAttached && !Destroyed) {
        TacMainWnd* self = this;
        UninitializeACWnd(CtrlHandle, false, frameChanged, self);
    }
    if (TControl* owner = OwnerControl(); owner && (OldCtrlStyle & csOpaque) == 0)
        owner->ControlStyle &= ~static_cast<TControlStyle>(csOpaque);
    OldCtrlStyle = csOpaque;  // restored once
    if (FThemeSwitched) {
        FThemeSwitched = false;
        if (acSetWindowTheme && CtrlHandle && ::IsWindow(CtrlHandle)) acSetWindowTheme(CtrlHandle, nullptr, nullptr);
    }
}

void TacMainWnd::Release() noexcept {
    try {
        Detach();
    } catch (...) {
        // Giving the window back never stops the wrapper from being freed.
    }
    if (FDepth > 0) {
        FReleased = true;
        return;
    }
    delete this;
}

void TacMainWnd::OwnerGone() noexcept {
    if (FLink) {
        FLink->Wrapper = nullptr;
        FLink->Control = nullptr;
        FLink.reset();
    }
    if (CtrlHandle && ::IsWindow(CtrlHandle) && ::GetPropW(CtrlHandle, acWrapperProp) == this)
        ::RemovePropW(CtrlHandle, acWrapperProp);
    if (SkinData) {
        SkinData->HideGlow();
        SkinData->FOwnerControl = nullptr;
        SkinData->FOwnerObject = nullptr;
    }
    OldWndProc = nullptr;
    Destroyed = true;
    FAttached = false;
    FThemeSwitched = false;
}

void TacMainWnd::Dispatch(TMessage& message) noexcept {
    ++FDepth;
    try {
        acWndProc(message);
    } catch (...) {
        Application().HandleException(std::current_exception());
    }
    if (--FDepth == 0 && FReleased) delete this;
}

// ---------------------------------------------------------------- queries

TControl* TacMainWnd::OwnerControl() const noexcept { return SkinData ? SkinData->FOwnerControl : nullptr; }

TsSkinManager* TacMainWnd::Manager() const noexcept {
    if (SkinData) return SkinData->GetSkinManager();
    return SkinManager ? SkinManager : DefaultManager;
}

bool TacMainWnd::ManagerActive() const noexcept {
    TsSkinManager* m = Manager();
    return m && m->Active() && !m->HasState(csDestroying);
}

void TacMainWnd::Repaint() noexcept {
    if (CtrlHandle && ::IsWindow(CtrlHandle))
        ::RedrawWindow(CtrlHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

// ---------------------------------------------------------------- messages

LRESULT TacMainWnd::CallPrevWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM& lParam) {
    if (OldWndProc) {
        TMessage m{msg, wParam, lParam, 0};
        OldWndProc(m);
        lParam = m.LParam;
        return m.Result;
    }
    if (OldProc) return ::CallWindowProcW(OldProc, wnd, msg, wParam, lParam);
    return ::DefWindowProcW(wnd, msg, wParam, lParam);
}

void TacMainWnd::CallPrevWndProc(TMessage& message) {
    message.Result = CallPrevWndProc(CtrlHandle, message.Msg, message.WParam, message.LParam);
}

void TacMainWnd::WMDestroy(TMessage& message) {
    if (SkinData) SkinData->HideGlow();
    CallPrevWndProc(message);
    if (!Destroyed && FAttached && message.Result == 0) {
        try {
            TacMainWnd* self = this;
            UninitializeACWnd(CtrlHandle, false, false, self);
        } catch (...) {
            // The window is going anyway.
        }
    }
}

TBitmap* TacMainWnd::ReadyCacheBmp(TCacheInfo& ci, int width, int height) {
    SkinData->GetParentCacheHwnd(CtrlHandle, ci);
    SkinData->InitCacheBmp();
    TBitmap* cache = SkinData->FCacheBmp.get();
    if (!cache) return nullptr;
    try {
        if (cache->PixelFormat() != pf32bit) cache->SetPixelFormat(pf32bit);
        if (cache->Width() != width || cache->Height() != height) cache->SetSize(width, height);
    } catch (...) {
        return nullptr;
    }
    return cache;
}

void TacMainWnd::WMPrintClient(TMessage& message) {
    message.Result = ::SendMessageW(CtrlHandle, WM_PAINT, message.WParam, message.LParam);
}

void TacMainWnd::acWndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_DESTROY:
    case WM_NCDESTROY: WMDestroy(message); return;
    case SM_ALPHACMD:
        // Removal is honoured whatever the switch says: the manager clears it first.
        if ((message.WParamHi() == SKC_REMOVESKIN || ManagerActive()) && SkinCommand(message)) return;
        CallPrevWndProc(message);
        return;
    default: break;
    }
    if (!ManagerActive()) {
        CallPrevWndProc(message);
        return;
    }
    switch (message.Msg) {
    case WM_UPDATEUISTATE: return;  // the system would repaint focus cues over the skin
    case WM_SIZE:
        if (SkinData) SkinData->BGChanged = true;
        break;
    case WM_SETTEXT:
        CallPrevWndProc(message);
        Caption = WindowText(CtrlHandle);
        return;
    case WM_MOUSEMOVE:
        if (DefaultManager && !DefaultManager->HasState(csDesigning) && ::IsWindowEnabled(CtrlHandle))
            DefaultManager->SetActiveControl(CtrlHandle);
        break;
    case WM_PRINTCLIENT: WMPrintClient(message); return;
    default: break;
    }
    CallPrevWndProc(message);
}

bool TacMainWnd::SkinCommand(TMessage& message) {
    TsCommonData* b = SkinData;
    if (!b) return false;
    const bool own = message.LParam == reinterpret_cast<LPARAM>(Manager());
    switch (message.WParamHi()) {
    case SKC_NEWSKIN:
        if (own) SKCNewSkin(message);
        return false;
    case SKC_REMOVESKIN:
        if (own) SKCRemoveSkin();
        return false;
    case SKC_REFRESH:
        if (!own) return false;
        SKCRefresh();
        return true;
    case SKC_PARENTUPDATED: SKCParentUpdated(); return true;
    case SKC_CTRLHANDLED: message.Result = 1; return true;
    case SKC_ISWRAPPED: message.Result = DlgMode ? 1 : 0; return true;
    case SKC_UNWRAP: {
        TacMainWnd* self = this;
        UninitializeACWnd(CtrlHandle, false, false, self);
        return true;
    }
    case SKC_ISUPDATING: message.Result = b->FUpdating ? 1 : 0; return true;
    case SKC_SETSECTION:
        if (message.LParam) b->SetSkinSection(reinterpret_cast<TsCommonData*>(message.LParam)->FSkinSection);
        return false;
    case SKC_REPAINTIFMOVED:
        if (!OwnerControl()) return false;
        qv::SkinCommand(message, b);
        return true;
    case SKC_GETCOLOR: SKCGetColor(message); return true;
    case SKC_PREPARECACHE2: PrepareCache(); return false;
    case SKC_GETBGINFO:
        if (message.LParam) b->InitBGInfo(*reinterpret_cast<TacBGInfo*>(message.LParam), 0, CtrlHandle);
        message.Result = 1;
        return true;
    case SKC_GETCOMMONDATA: message.Result = reinterpret_cast<LRESULT>(b); return true;
    case SKC_SETPRINTDC: SKCSetPrintDC(message); return false;
    case SKC_GETAPPLICATION: message.Result = reinterpret_cast<LRESULT>(&Application()); return true;
    default: return false;
    }
}

void TacMainWnd::SKCNewSkin(TMessage& message) {
    SkinData->UpdateIndexes();
    SkinData->BGChanged = true;
    if (!OwnerControl()) AlphaBroadCast(CtrlHandle, message);
}

void TacMainWnd::SKCRemoveSkin() {
    TsCommonData* b = SkinData;
    b->FSkinIndex = b->FBorderIndex = b->FTexture = b->FHotTexture = -1;
    b->HideGlow();
    RestoreStdParams();
}

void TacMainWnd::SKCRefresh() {
    SkinData->UpdateIndexes();
    SkinData->BGChanged = true;
    SkinData->FUpdating = false;
    if (::IsWindowVisible(CtrlHandle))
        ::RedrawWindow(CtrlHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME);
}

void TacMainWnd::SKCParentUpdated() {
    TsCommonData* b = SkinData;
    if (!b->FUpdating) return;
    b->FUpdating = b->GetUpdating();
    if (!b->FUpdating)
        ::RedrawWindow(CtrlHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME | RDW_ALLCHILDREN);
}

void TacMainWnd::SKCGetColor(TMessage& message) {
    CallPrevWndProc(message);
    if (message.Result == 0)
        message.Result = static_cast<LRESULT>(static_cast<std::uint32_t>(SkinData->GetBGColor(0, CtrlHandle)));
}

void TacMainWnd::SKCSetPrintDC(const TMessage& message) {
    TsCommonData* b = SkinData;
    if (message.LParam) b->CtrlSkinState |= SkinStatePrinting;
    else b->CtrlSkinState &= static_cast<std::uint16_t>(~SkinStatePrinting);
    b->PrintDC = reinterpret_cast<HDC>(message.LParam);
}

}  // namespace qv
