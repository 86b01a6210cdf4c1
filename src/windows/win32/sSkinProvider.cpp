// The provider's life cycle, its place in the form's message chain, the engine's commands,
// the window image and the region.
#include "windows/win32/sSkinProvider.h"

#include "framework/win32/Application.h"
#include "framework/win32/Handles.h"
#include "framework/win32/Messages.h"
#include "skin/win32/sMessages.h"

#include <stdexcept>
#include <vector>

namespace qv {

// The link between the form's message method and its provider. The form's WindowProc
// holds a TacProviderMethod with the link; once the provider is gone the link passes
// every message straight to what was there before, so a message method installed after
// the provider keeps a working chain and nothing calls a freed provider.
struct TacProviderLink {
    TsSkinProvider* Provider = nullptr;
    TWndMethod OldMethod;

    void Route(TMessage& m) {
        if (TsSkinProvider* p = Provider) p->NewWndProc(m);
        else if (OldMethod) OldMethod(m);
    }
};

namespace {

struct TacProviderMethod {
    std::shared_ptr<TacProviderLink> Link;
    void operator()(TMessage& m) const {
        const std::shared_ptr<TacProviderLink> keep = Link;  // the provider may leave meanwhile
        keep->Route(m);
    }
};

bool MethodIsLink(const TWndMethod& method, const TacProviderLink* link) noexcept {
    const auto* target = method.target<TacProviderMethod>();
    return target && target->Link.get() == link;
}

bool IsGoing(const TComponent* c) noexcept { return c && c->HasState(csDestroying); }

}  // namespace

// ---------------------------------------------------------------- life cycle

TsSkinProvider::TsSkinProvider(TComponent* owner) : TComponent(owner) {
    FForm = dynamic_cast<TCustomForm*>(owner);
    if (!FForm) throw std::runtime_error("TsSkinProvider component may be used with forms only!");
    std::vector<TsSkinProvider*> others;
    for (int i = 0; i < FForm->ComponentCount(); ++i)
        if (auto* p = dynamic_cast<TsSkinProvider*>(FForm->Components(i)); p && p != this && !IsGoing(p))
            others.push_back(p);
    for (TsSkinProvider* p : others) {
        if (p->FRunTime) delete p;  // a run-time provider gives way
        else RTEmpty = true;        // a component one keeps serving the form
    }
    FCommonData = std::make_unique<TsCommonData>(this, true);
    FCommonData->FFrameSkinnerForm = FForm;
    FCommonData->SetSkinSection(L"FORM");
    if (!RTEmpty) Attach();
}

TsSkinProvider::~TsSkinProvider() {
    Destroying();
    const bool formAlive = !IsGoing(FForm) && FForm->HandleAllocated();
    if (formAlive) RemoveSkin();
    else if (FAdapter) FAdapter->RemoveFreeNotification(this);
    Detach();
    if (FSkinned) IntUnSkinForm(FForm);
    FSkinned = false;
}

void TsSkinProvider::Loaded() {
    TComponent::Loaded();
    RTInit = true;
}

TsSkinProvider* TsSkinProvider::CreateRT(TCustomForm* form) {
    if (!form || IsGoing(form)) return nullptr;
    auto* provider = new TsSkinProvider(form);
    provider->RTInit = true;
    provider->FRunTime = true;
    return provider;
}

TsSkinProvider* TsSkinProvider::ProviderOf(TCustomForm* form) noexcept {
    if (!form) return nullptr;
    for (int i = 0; i < form->ComponentCount(); ++i)
        if (auto* p = dynamic_cast<TsSkinProvider*>(form->Components(i)); p && !p->RTEmpty && !IsGoing(p)) return p;
    return nullptr;
}

void TsSkinProvider::Attach() {
    auto link = std::make_shared<TacProviderLink>();
    link->Provider = this;
    TCustomForm* form = FForm;
    link->OldMethod = form->WindowProc ? form->WindowProc : TWndMethod([form](TMessage& m) { form->WndProc(m); });
    form->WindowProc = TacProviderMethod{link};
    FLink = std::move(link);
    IntSkinForm(FForm);
    FSkinned = true;
}

void TsSkinProvider::Detach() noexcept {
    if (!FLink) return;
    if (MethodIsLink(FForm->WindowProc, FLink.get())) FForm->WindowProc = FLink->OldMethod;
    FLink->Provider = nullptr;  // otherwise the link stays in the chain and only passes messages on
    FLink.reset();
}

const String& TsSkinProvider::SkinSection() const noexcept { return FCommonData->FSkinSection; }

void TsSkinProvider::SetSkinSection(const String& section) {
    FCommonData->SetSkinSection(section.empty() ? String(L"FORM") : section);
    UpdateIndexes();
    RepaintNC();
}

void TsSkinProvider::SetDrawNonClientArea(bool value) {
    if (FDrawNonClientArea == value) return;
    FDrawNonClientArea = value;
    if (!value) RemoveSkin();
    else if (SkinActive()) NewSkin();
}

TsSkinManager* TsSkinProvider::ProviderSkinManager() const noexcept { return FCommonData->GetSkinManager(); }

bool TsSkinProvider::SkinActive() const noexcept {
    TsSkinManager* m = ProviderSkinManager();
    return m && !IsGoing(m) && m->Active() && FCommonData->Skinned();
}

bool TsSkinProvider::Ready() const noexcept {
    return !RTEmpty && FDrawNonClientArea && FPrepared && FForm->HandleAllocated() && SkinActive();
}

void TsSkinProvider::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == FAdapter) FAdapter = nullptr;
}

// ---------------------------------------------------------------- preparing the form

void TsSkinProvider::LoadInit() {
    RTInit = false;
    if (RTEmpty) return;
    FCommonData->UpdateIndexes();
    PrepareForm();
    if (Ready()) AdapterCreate();
}

void TsSkinProvider::PrepareForm() {
    if (RTEmpty || !FForm->HandleAllocated() || !SkinActive() || !FDrawNonClientArea) return;
    const HWND wnd = FForm->Handle();
    if (!FSystemMenu) FSystemMenu = std::make_unique<TsSystemMenu>(wnd);
    const LONG_PTR style = ::GetWindowLongPtrW(wnd, GWL_STYLE);
    if (style & WS_SYSMENU) {
        // The texts are read while the system menu still belongs to the window's frame;
        // without WS_SYSMENU the system draws neither its icon nor its buttons.
        FSystemMenu->ReadItems();
        FHaveSysMenu = true;
        ::SetWindowLongPtrW(wnd, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_SYSMENU));
    } else if (FSystemMenu->Items().empty()) {
        FSystemMenu->ReadItems();
    }
    FSystemMenu->UpdateItems();
    if (UseGlobalColor && !FCommonData->FCustomColor) FForm->SetColor(ProviderSkinManager()->GetGlobalColor());
    FPrepared = true;
    UpdateIndexes();
    FCommonData->BGChanged = true;
    FRgnChanged = true;
    UpdateRgn(false);
}

// A form makes its window anew when its border style or icons change. The system menu
// copy and the adapter's wrappers belong to the old window and its children; the new
// window is prepared on its first frame paint or hit test, as the first one was.
void TsSkinProvider::WMNCDestroy(TMessage& m) {
    CallOld(m);
    FPrepared = false;
    FHaveSysMenu = false;
    FSystemMenu.reset();
    FCurrentHT = FPressedHT = 0;
    FTrackingLeave = false;
    FPaintedActive = -1;
    // As for the first window: the new one is activated before it is prepared, and the
    // old one's deactivation must not stay on it.
    FFormActive = true;
    try {
        AdapterRemove();
    } catch (...) {
        // The children are gone with the window; nothing of them is left to give back.
    }
    RTInit = !RTEmpty;
}

void TsSkinProvider::RestoreSysMenu() noexcept {
    if (!FHaveSysMenu || !FForm->HandleAllocated()) return;
    const HWND wnd = FForm->Handle();
    const LONG_PTR style = ::GetWindowLongPtrW(wnd, GWL_STYLE);
    ::SetWindowLongPtrW(wnd, GWL_STYLE, style | WS_SYSMENU);
    FHaveSysMenu = false;
}

void TsSkinProvider::UpdateIndexes() {
    TsSkinManager* m = ProviderSkinManager();
    FTitleSkinIndex = FCaptionSkinIndex = -1;
    if (!m) return;
    FTitleSkinIndex = m->GetSkinIndex(TitleSkin.empty() ? String(L"FORMTITLE") : TitleSkin);
    FCaptionSkinIndex = m->GetSkinIndex(L"CAPTION");
    UpdateButtons();
}

void TsSkinProvider::NewSkin() {
    FCommonData->UpdateIndexes();
    FGlows.Clear();
    PrepareForm();
    if (!Ready()) return;
    AdapterCreate();
    ::RedrawWindow(FForm->Handle(), nullptr, nullptr,
                   RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// The form goes back to the system's frame: its system menu, no region, its own colours.
void TsSkinProvider::RemoveSkin() {
    AdapterRemove();
    FCurrentHT = FPressedHT = 0;
    if (FForm->HandleAllocated()) {
        const HWND wnd = FForm->Handle();
        if (::GetCapture() == wnd) ::ReleaseCapture();
        RestoreSysMenu();
        if (FPrepared && UseGlobalColor && !FCommonData->FCustomColor) FForm->SetColor(clBtnFace);
        if (FPrepared) ::SetWindowRgn(wnd, nullptr, TRUE);
        FPrepared = false;
        if (FCommonData->FCacheBmp) FCommonData->FCacheBmp->SetSize(0, 0);
        FGlows.Clear();
        ::SetWindowPos(wnd, nullptr, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        ::RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
    FPrepared = false;
}

void TsSkinProvider::AdapterCreate() {
    if (FAdapter || RTEmpty || IsGoing(FForm)) return;
    FAdapter = new TacCtrlAdapter(FForm, FCommonData->FSkinManager);
    FAdapter->FreeNotification(this);
    FAdapter->OnSkinItem = OnSkinItem;
    FAdapter->AddAllItems();
}

void TsSkinProvider::AdapterRemove() {
    TacCtrlAdapter* adapter = FAdapter;
    if (!adapter) return;
    FAdapter = nullptr;
    adapter->RemoveFreeNotification(this);
    adapter->RemoveAllItems();
    delete adapter;
}

// ---------------------------------------------------------------- the form's messages

void TsSkinProvider::CallOld(TMessage& message) {
    if (FLink && FLink->OldMethod) FLink->OldMethod(message);
}

void TsSkinProvider::NewWndProc(TMessage& m) {
    if (RTEmpty || IsGoing(FForm) || IsGoing(this)) {
        CallOld(m);
        return;
    }
    if (m.Msg == SM_ALPHACMD) {
        if (!SkinCommand(m)) CallOld(m);
        return;
    }
    if (m.Msg == WM_NCDESTROY) {
        WMNCDestroy(m);
        return;
    }
    if (RTInit && (m.Msg == WM_NCPAINT || m.Msg == WM_NCHITTEST) && SkinActive()) LoadInit();
    if (!Ready()) {
        CallOld(m);
        return;
    }
    switch (m.Msg) {
    case WM_NCPAINT: WMNCPaint(m); return;
    case WM_ERASEBKGND: WMEraseBkgnd(m); return;
    case WM_PRINT: WMPrint(m); return;
    case WM_NCHITTEST: WMNCHitTest(m); return;
    case WM_NCMOUSEMOVE: WMNCMouseMove(m); return;
    case WM_NCMOUSELEAVE: WMNCMouseLeave(m); return;
    case WM_NCLBUTTONDOWN: WMNCLButtonDown(m); return;
    case WM_NCLBUTTONDBLCLK: WMNCLButtonDblClk(m); return;
    case WM_NCLBUTTONUP:
    case WM_LBUTTONUP: WMLButtonUp(m); return;
    case WM_NCRBUTTONDOWN: WMNCRButtonDown(m); return;
    case WM_NCRBUTTONUP: WMNCRButtonUp(m); return;
    case WM_CONTEXTMENU: WMContextMenu(m); return;
    case WM_MOUSEMOVE: WMMouseMove(m); return;
    case WM_CAPTURECHANGED: WMCaptureChanged(m); return;
    case WM_NCACTIVATE: WMNCActivate(m); return;
    case WM_SETTEXT: WMSetText(m); return;
    case WM_SYSCOMMAND: WMSysCommand(m); return;
    case WM_GETMINMAXINFO: WMGetMinMaxInfo(m); return;
    case WM_SIZE: WMSize(m); return;
    case WM_WINDOWPOSCHANGED: WMWindowPosChanged(m); return;
    case WM_POPUPSYSTEMMENU: WMPopupSystemMenu(m); return;
    case WM_STYLECHANGED: WMStyleChanged(m); return;
    case WM_ENTERIDLE: m.Result = 0; return;
    default: CallOld(m); return;
    }
}

// The engine's commands to the form; true when answered here and not passed on.
bool TsSkinProvider::SkinCommand(TMessage& m) {
    TsSkinManager* manager = ProviderSkinManager();
    const bool own = m.LParam == reinterpret_cast<LPARAM>(manager);
    switch (m.WParamHi()) {
    case SKC_CTRLHANDLED: m.Result = 1; return true;
    case SKC_GETPROVIDER: m.Result = reinterpret_cast<LRESULT>(static_cast<IacFormProvider*>(this)); return true;
    case SKC_NEWSKIN:
        if (own) {
            qv::SkinCommand(m, FCommonData.get());
            NewSkin();
        }
        return false;
    case SKC_REMOVESKIN:
        if (own) {
            RemoveSkin();
            qv::SkinCommand(m, FCommonData.get());
        }
        return false;
    case SKC_REFRESH:
        if (own) {
            FCommonData->BGChanged = true;
            if (Ready())
                ::RedrawWindow(FForm->Handle(), nullptr, nullptr,
                               RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        }
        return false;
    case SKC_GETBGINFO:
        if (!Ready() || !m.LParam) return qv::SkinCommand(m, FCommonData.get());
        AnswerBackground(*reinterpret_cast<TacBGInfo*>(m.LParam));
        m.Result = 1;
        return true;
    case SKC_GETCLIENTOFFSETS: m.Result = MAKELRESULT(Metrics().ClientOffset.X, Metrics().ClientOffset.Y); return true;
    default: return qv::SkinCommand(m, FCommonData.get());
    }
}

// A child asks what lies behind it: the client part of the window image.
void TsSkinProvider::AnswerBackground(TacBGInfo& info) {
    if (FCommonData->BGChanged || !FrameImage() || FrameImage()->Empty()) PaintAll();
    TBitmap* image = FrameImage();
    const TPoint client = Metrics().ClientOffset;
    if (!image || image->Empty()) {
        info.BgType = btFill;
        info.Color = ColorOfControl(FForm);
        return;
    }
    info.BgType = btCache;
    if (info.PleaseDraw) {
        ::BitBlt(info.DrawDC, info.R.Left, info.R.Top, info.R.Width(), info.R.Height(), image->Canvas().Handle(),
                 info.Offset.X + client.X, info.Offset.Y + client.Y, SRCCOPY);
    } else {
        info.Bmp = image;
        info.Offset = client;
    }
}

// ---------------------------------------------------------------- IacFormProvider

void TsSkinProvider::ProviderMessage(TMessage& message) {
    if (FForm->HandleAllocated()) NewWndProc(message);
}

void TsSkinProvider::BeginSkinChange() { FormLocked = true; }

void TsSkinProvider::EndSkinChange(bool /*animate*/, const TacAnimSettings& /*settings*/) {
    FormLocked = false;
    FCommonData->BGChanged = true;
    FRgnChanged = true;
    if (Ready())
        ::RedrawWindow(FForm->Handle(), nullptr, nullptr,
                       RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void TsSkinProvider::SnapshotForSkinChange() {}

// ---------------------------------------------------------------- the system menu

void TsSkinProvider::DropSysMenu(int x, int y) {
    if (!FSystemMenu || FInMenu) return;
    FInMenu = true;
    const std::shared_ptr<TacProviderLink> alive = FLink;
    FSystemMenu->Drop(x, y);
    // The chosen command may have freed the form and this provider with it.
    if (alive && alive->Provider == this) FInMenu = false;
}

}  // namespace qv
