#include "windows/win32/acDials.h"
#include "framework/ScopedValue.h"

#include "windows/win32/acBtnWnd.h"
#include "windows/win32/acCtrlWnds.h"
#include "controls/win32/acEditWnd.h"
#include "controls/win32/sTreeView.h"
#include "framework/win32/Application.h"
#include "framework/win32/Handles.h"
#include "skin/win32/sMessages.h"
#include "skin/win32/sStyleSimply.h"
#include "windows/win32/sSkinProvider.h"

#include <algorithm>
#include <cwctype>
#include <memory>
#include <utility>

namespace qv {

HHOOK HookCallback = nullptr;
std::vector<TacProvider*> acSupportedList;
std::vector<TacMnuWnd*> MnuArray;
int ac_DialogsLevel = 2;
std::vector<String> ThirdPartySkipForms;

namespace {

// The providers of system dialogs; the hook owns them.
std::vector<std::unique_ptr<TacProvider>> DialogProviders;

String Lower(String s) {
    for (wchar_t& c : s) c = static_cast<wchar_t>(std::towlower(c));
    return s;
}

bool Answers(HWND wnd, int command) { return SendAMessage(wnd, command) == 1; }

bool ManagerUsable() {
    TsSkinManager* m = DefaultManager;
    return m && !m->HasState(csDestroying) && m->Active() && !Application().Terminated();
}

// The atom the system gives the dialog class and the menu class.
constexpr ULONG_PTR kDialogAtom = 0x8002, kMenuAtom = 0x8000;

template <class T>
TacMainWnd* Make(HWND wnd, TsSkinManager* manager, const wchar_t* section, bool repaint) {
    return TacMainWnd::Create<T>(wnd, nullptr, manager, String(section), repaint);
}

TacMainWnd* MakeChildWrapper(const TacChildRule& rule, HWND wnd, TsSkinManager* m, bool repaint) {
    const wchar_t* s = rule.Section;
    switch (rule.Kind) {
    case TacChildKind::EdgeStatic: return Make<TacEdgeWnd>(wnd, m, s, true);
    case TacChildKind::IconStatic: return Make<TacIconWnd>(wnd, m, s, true);
    case TacChildKind::TextStatic: return Make<TacStaticWnd>(wnd, m, s, true);
    case TacChildKind::Link: return Make<TacLinkWnd>(wnd, m, s, true);
    case TacChildKind::TransPanel: return Make<TacTransPanelWnd>(wnd, m, s, true);
    case TacChildKind::Panel:
    case TacChildKind::SilentPanel: return Make<TacPanelWnd>(wnd, m, s, true);
    case TacChildKind::GroupBox: return Make<TacGroupBoxWnd>(wnd, m, s, true);
    case TacChildKind::CheckBox: return Make<TacCheckBoxWnd>(wnd, m, s, true);
    case TacChildKind::PushButton: return Make<TacBtnWnd>(wnd, m, s, true);
    case TacChildKind::Edit:
    case TacChildKind::ListBox:
    case TacChildKind::ComboList: return Make<TacEditWnd>(wnd, m, s, repaint);
    case TacChildKind::ComboBox:
    case TacChildKind::ComboBoxEx: return Make<TacComboLikeWnd>(wnd, m, s, repaint);
    case TacChildKind::Sizer: return Make<TacSizerWnd>(wnd, m, s, true);
    case TacChildKind::TabControl: return Make<TacTabControlWnd>(wnd, m, s, true);
    case TacChildKind::ListView: return Make<TacListViewWnd>(wnd, m, s, true);
    case TacChildKind::Spin: return Make<TacSpinWnd>(wnd, m, s, true);
    case TacChildKind::TrackBar: return Make<TacTrackWnd>(wnd, m, s, true);
    case TacChildKind::ToolBar: return Make<TacToolBarWnd>(wnd, m, s, true);
    case TacChildKind::TreeView: return Make<TacTreeViewWnd>(wnd, m, s, true);
    case TacChildKind::None: break;
    }
    return nullptr;
}

// Edit, list and combo children: once one of them is wrapped the dialog may paint.
bool PaintsItsOwnBody(TacChildKind kind) noexcept {
    return kind == TacChildKind::Edit || kind == TacChildKind::ListBox || kind == TacChildKind::ComboBox ||
           kind == TacChildKind::ComboList || kind == TacChildKind::ComboBoxEx;
}

// The child's place relative to its dialog, as the wrappers of a dialog keep it.
void RecordGeometry(TacMainWnd& w, HWND child, HWND dialog) {
    RECT r{}, pr{};
    ::GetWindowRect(child, &r);
    HWND parent = ::GetParent(child);
    ::GetWindowRect(parent ? parent : dialog, &pr);
    POINT topLeft{r.left, r.top};
    if (parent) ::ScreenToClient(parent, &topLeft);
    w.ParentWnd = dialog;
    w.WndRect = TRect{r.left, r.top, r.right, r.bottom};
    w.WndSize = TSize{r.right - r.left, r.bottom - r.top};
    w.WndPos = TPoint{topLeft.x, topLeft.y};
    w.ParentRect = TRect{pr.left, pr.top, pr.right, pr.bottom};
}

// Children collected before any is wrapped: wrapping sends messages, and a dialog may
// create or recreate children meanwhile.
std::vector<HWND> ChildrenOf(HWND wnd) {
    std::vector<HWND> list;
    for (HWND c = ::GetTopWindow(wnd); c; c = ::GetWindow(c, GW_HWNDNEXT)) list.push_back(c);
    return list;
}

bool IsTopLevelWithoutOwner(HWND wnd) {
    return (::GetWindowLongPtrW(wnd, GWL_STYLE) & WS_CHILD) == 0 && ::GetWindow(wnd, GW_OWNER) == nullptr;
}

void CompactSupportedList() {
    acSupportedList.erase(std::remove(acSupportedList.begin(), acSupportedList.end(), nullptr), acSupportedList.end());
}

}  // namespace

// ---------------------------------------------------------------- TacProvider

TacProvider::TacProvider(TComponent* owner) : TComponent(owner) {}

TacProvider::~TacProvider() {
    Destroying();
    for (TacProvider*& slot : acSupportedList)
        if (slot == this) slot = nullptr;
    FreeWrappers();
}

void TacProvider::FreeWrappers() noexcept {
    // Children first, then the dialog: a child's procedure chain never outlives the dialog's.
    std::vector<TacMainWnd*> children;
    children.swap(acSkinnedCtrls);
    for (auto it = children.rbegin(); it != children.rend(); ++it) (*it)->Release();
    if (TacDialogWnd* dialog = std::exchange(ListSW, nullptr)) {
        dialog->Provider = nullptr;  // a release deferred until its message returns must not call back
        dialog->Release();
    }
}

bool TacProvider::DialogGone() const noexcept { return ListSW && ListSW->Destroyed; }

bool TacProvider::InitSkin(HWND wnd) {
    CtrlHandle = wnd;
    if (ListSW || !ManagerUsable()) return true;
    BiDiLeft = (::GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
    InitDialog(wnd, ListSW, this);
    if (!ListSW) return false;
    // The frame wrapper took DlgLeft/DlgTop over and moves the dialog once it has
    // placed itself (a message box centres itself while it initialises).
    if (!InitHwndControls(wnd)) return false;
    ::SendMessageW(wnd, SM_ALPHACMD, MakeAlphaWParam(SKC_NEWSKIN), reinterpret_cast<LPARAM>(DefaultManager));
    return true;
}

bool TacProvider::InitHwndControls(HWND wnd) {
    if (FWrapping) return true;  // a message sent while wrapping asked again
    ScopedValue<bool> guard(FWrapping, true);
    DropGoneWrappers();
    return WrapTree(wnd);
}

// Children a dialog destroyed (the open-file dialog makes its file list anew for every
// folder) leave their wrappers behind; those go before the new children are wrapped.
void TacProvider::DropGoneWrappers() noexcept {
    const auto gone = std::stable_partition(acSkinnedCtrls.begin(), acSkinnedCtrls.end(),
                                            [](const TacMainWnd* w) { return !w->Destroyed; });
    std::vector<TacMainWnd*> dead(gone, acSkinnedCtrls.end());
    acSkinnedCtrls.erase(gone, acSkinnedCtrls.end());
    for (TacMainWnd* w : dead) w->Release();
}

bool TacProvider::WrapTree(HWND wnd) {
    for (HWND child : ChildrenOf(wnd)) {
        if (!::IsWindow(child)) continue;
        if (!WrapTree(child)) return false;
        if ((::GetWindowLongPtrW(child, GWL_STYLE) & WS_CHILD) && !AddControl(child)) return false;
    }
    return true;
}

bool TacProvider::AddControl(HWND child) {
    if (!::IsWindow(child)) return false;
    if (Answers(child, SKC_CTRLHANDLED) || FindCtrlInList(child)) return true;
    ScopedValue<bool> dlgMode(acDlgMode, true);
    const LONG_PTR style = ::GetWindowLongPtrW(child, GWL_STYLE);
    const TacChildRule rule = ChildRuleFor(Lower(GetWndClassName(child)), style,
                                           ::GetWindowLongPtrW(child, GWL_EXSTYLE), ::IsWindowVisible(child) != 0);
    if (rule.Kind == TacChildKind::None) return true;
    if (ListSW && PaintsItsOwnBody(rule.Kind)) ListSW->FWMPaintForbidden = false;
    TsSkinManager* m = ListSW ? ListSW->Manager() : DefaultManager;
    // Edit-like children repaint at once only when the dialog has been painted already.
    const bool repaint = ListSW && ListSW->SkinData && ListSW->SkinData->FCacheBmp &&
                         !ListSW->SkinData->FCacheBmp->Empty();
    if (TacMainWnd* w = MakeChildWrapper(rule, child, m, repaint)) {
        acSkinnedCtrls.push_back(w);
        RecordGeometry(*w, child, CtrlHandle ? CtrlHandle : ::GetParent(child));
    }
    return true;
}

TacMainWnd* TacProvider::FindCtrlInList(HWND child) const noexcept {
    for (TacMainWnd* w : acSkinnedCtrls)
        if (w->CtrlHandle == child && !w->Destroyed) return w;
    return nullptr;
}

void TacProvider::PrintHwndControls(HWND wnd, HDC dc) { PrintChildren(wnd, wnd, dc); }

void TacProvider::PrintChildren(HWND wnd, HWND dialog, HDC dc) {
    for (HWND child : ChildrenOf(wnd)) {
        const LONG_PTR style = ::GetWindowLongPtrW(child, GWL_STYLE);
        if ((style & WS_CHILD) == 0 || (style & WS_VISIBLE) == 0) continue;
        RECT r{};
        ::GetWindowRect(child, &r);
        RECT d{};
        ::GetWindowRect(dialog, &d);
        {
            const SavedDC moved(dc);
            ::SetViewportOrgEx(dc, r.left - d.left, r.top - d.top, nullptr);
            ::SendMessageW(child, SM_ALPHACMD, MakeAlphaWParam(SKC_SETPRINTDC), reinterpret_cast<LPARAM>(dc));
            ::SendMessageW(child, WM_PRINT, reinterpret_cast<WPARAM>(dc),
                           PRF_CHECKVISIBLE | PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
            ::SendMessageW(child, SM_ALPHACMD, MakeAlphaWParam(SKC_SETPRINTDC), 0);
        }
        PrintChildren(child, dialog, dc);
    }
}

void TacProvider::InitForm(TCustomForm* form) {
    FForm = form;
    CtrlHandle = form->Handle();
    TsSkinProvider* provider = TsSkinProvider::CreateRT(form);
    sp = provider;
    if (!provider) return;
    // The form keeps its own colour; the skin paints the frame and the background.
    provider->UseGlobalColor = false;
    // One path whether or not a desktop compositor runs: the frame skinner prepares
    // itself on the first frame paint, which this redraw (with the frame) brings at once.
    ::UpdateWindow(CtrlHandle);
    ::RedrawWindow(CtrlHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

// ---------------------------------------------------------------- module functions

String GetWndClassName(HWND wnd) {
    wchar_t name[128] = {};
    const int n = ::GetClassNameW(wnd, name, 128);
    return String(name, n > 0 ? static_cast<std::size_t>(n) : 0);
}

TacProvider* FindFormInList(HWND wnd) noexcept {
    if (Application().Terminated()) return nullptr;
    for (TacProvider* p : acSupportedList)
        if (p && p->CtrlHandle == wnd && !p->DialogGone()) return p;
    return nullptr;
}

TCustomForm* FindFormOnScreen(HWND wnd) noexcept {
    TScreen& screen = Screen();
    for (int i = screen.FormCount() - 1; i >= 0; --i) {
        TCustomForm* form = screen.Forms(i);
        if (form->HasState(csDestroying)) continue;
        // Never Handle(): it would create the window.
        if (form->HandleAllocated() && form->Handle() == wnd) return form;
    }
    return nullptr;
}

int VisibleDlgCount() noexcept {
    int count = 0;
    for (TacProvider* p : acSupportedList)
        if (p && p->ListSW && !p->DialogGone() && ::IsWindowVisible(p->CtrlHandle)) ++count;
    return count;
}

bool ControlExists(HWND wnd, const String& lowerClass) {
    for (HWND c = ::GetTopWindow(wnd); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        if (Lower(GetWndClassName(c)) == lowerClass) return true;
        if (ControlExists(c, lowerClass)) return true;
    }
    return false;
}

void InitDialog(HWND wnd, TacDialogWnd*& wrapper, TacProvider* provider) {
    if (wrapper && wrapper->Destroyed) std::exchange(wrapper, nullptr)->Release();
    if (!ManagerUsable()) {
        if (wrapper) std::exchange(wrapper, nullptr)->Release();
        return;
    }
    if (wrapper) return;
    wrapper = TacMainWnd::Create<TacDialogWnd>(wnd, nullptr, DefaultManager, String(L"DIALOG"), false);
    wrapper->CtrlHandle = wnd;
    wrapper->Provider = provider;
}

void ClearMnuArray() noexcept {
    std::vector<TacMnuWnd*> menus;
    menus.swap(MnuArray);
    for (TacMnuWnd* w : menus) w->Release();
}

void CleanArray() {
    for (auto it = DialogProviders.begin(); it != DialogProviders.end();) {
        if ((*it)->DialogGone()) it = DialogProviders.erase(it);
        else ++it;
    }
    // A menu lives only while it is shown; its wrapper goes with it.
    for (auto it = MnuArray.begin(); it != MnuArray.end();) {
        if ((*it)->Destroyed) {
            (*it)->Release();
            it = MnuArray.erase(it);
        } else {
            ++it;
        }
    }
    CompactSupportedList();
}

namespace {

bool TakeForm(TCustomForm* form, const String& className) {
    TsSkinManager* m = DefaultManager;
    if ((form->Tag & -98) == -98) return false;
    if (form->HasState(csLoading) && form->FormStyle != fsMDIChild) return true;
    if (std::find(ThirdPartySkipForms.begin(), ThirdPartySkipForms.end(), className) != ThirdPartySkipForms.end())
        return false;
    const TacSkinningRules need = className == L"TMessageForm" ? srStdDialogs : srStdForms;
    if ((m->SkinningRules() & need) == 0) return false;
    auto* provider = new TacProvider(form);
    acSupportedList.push_back(provider);
    provider->InitForm(form);
    return true;
}

bool TakeDialog(HWND wnd) {
    if (!IsTopLevelWithoutOwner(wnd) || (DefaultManager->SkinningRules() & srStdDialogs) == 0) return false;
    if (VisibleDlgCount() >= ac_DialogsLevel && !ControlExists(wnd, L"toolbarwindow32")) return false;
    DialogProviders.push_back(std::make_unique<TacProvider>(nullptr));
    TacProvider* provider = DialogProviders.back().get();
    acSupportedList.push_back(provider);
    // A dialog taken while this one was set up stands after it: drop this one by identity.
    // Its slot empties itself; the dialog keeps its own look.
    if (!provider->InitSkin(wnd))
        std::erase_if(DialogProviders, [provider](const auto& p) { return p.get() == provider; });
    return true;
}

}  // namespace

bool AddSupportedForm(HWND wnd, const CREATESTRUCTW* params) {
    if (!ManagerUsable() || !::IsWindow(wnd) || Answers(wnd, SKC_CTRLHANDLED)) return false;
    String className;
    if (params && params->lpszClass && !IS_INTRESOURCE(params->lpszClass)) className = params->lpszClass;
    if (className.empty()) className = GetWndClassName(wnd);
    const LONG_PTR style = params ? params->style : ::GetWindowLongPtrW(wnd, GWL_STYLE);
    // Tool tips, drop-down lists and glow windows: popups without a border.
    if ((style & WS_POPUP) && (style & WS_BORDER) == 0) return false;
    if (FindFormInList(wnd)) return false;
    if (TCustomForm* form = FindFormOnScreen(wnd)) return TakeForm(form, className);
    if (className != L"#32770") return false;
    return TakeDialog(wnd);
}

namespace {

void WrapMenu(HWND wnd) {
    TsSkinManager* m = DefaultManager;
    if (!m->SkinnedPopups || Answers(wnd, SKC_CTRLHANDLED)) return;
    MnuArray.push_back(TacMainWnd::Create<TacMnuWnd>(wnd, m));
    MnuArray.back()->CtrlHandle = wnd;
}

// The class-name rule: the framework's utility windows and windows created without a
// style or extended style are left to activation.
void ByClassName(HWND wnd, const CBT_CREATEWNDW& create) {
    const CREATESTRUCTW& cs = *create.lpcs;
    const String name(cs.lpszClass);
    if (name == L"TPUtilWindow" || cs.style == 0 || cs.dwExStyle == 0) return;
    TCustomForm* main = Application().MainForm();
    if (main && (!main->HandleAllocated() || main->Handle() == wnd)) return;
    if ((cs.style & WS_CHILD) || cs.hwndParent) return;
    AddSupportedForm(wnd, &cs);
}

void CreateWnd(HWND wnd, const CBT_CREATEWNDW* create) {
    if (!create || !create->lpcs) return;
    const auto cls = reinterpret_cast<ULONG_PTR>(create->lpcs->lpszClass);
    if (cls == kDialogAtom) AddSupportedForm(wnd, create->lpcs);
    else if (cls == kMenuAtom) WrapMenu(wnd);
    else if (cls >= 0x10000) ByClassName(wnd, *create);
}

void Activate(HWND wnd) {
    if (TacProvider* p = FindFormInList(wnd)) {
        // A dialog taken at creation had no children yet; those that came since are wrapped now.
        if (p->ListSW) p->InitHwndControls(wnd);
        return;
    }
    AddSupportedForm(wnd, nullptr);
}

}  // namespace

LRESULT CALLBACK SkinHookCBT(int code, WPARAM wParam, LPARAM lParam) {
    const LRESULT next = ::CallNextHookEx(HookCallback, code, wParam, lParam);
    // Nothing escapes into the system, and nothing is shown from here: a message box
    // would create a window inside the hook and meet it again.
    try {
        if (!ManagerUsable()) return next;
        const auto wnd = reinterpret_cast<HWND>(wParam);
        switch (code) {
        case HCBT_CREATEWND:
            CleanArray();
            CreateWnd(wnd, reinterpret_cast<const CBT_CREATEWNDW*>(lParam));
            break;
        case HCBT_DESTROYWND: CleanArray(); break;
        case HCBT_ACTIVATE:
            CleanArray();
            Activate(wnd);
            break;
        default: break;
        }
    } catch (...) {
    }
    return next;
}

void InstallSkinHook(TsSkinManager&) {
    if (HookCallback) return;
    HookCallback = ::SetWindowsHookExW(WH_CBT, SkinHookCBT, nullptr, ::GetCurrentThreadId());
}

void UnInstallSkinHook(TsSkinManager&) {
    if (HookCallback) ::UnhookWindowsHookEx(std::exchange(HookCallback, nullptr));
    ClearMnuArray();
    // Dialog providers give their windows back; a form's provider goes, its frame
    // skinner stays with the form (which owns it) and follows the skin by itself.
    std::vector<std::unique_ptr<TacProvider>> dialogs;
    dialogs.swap(DialogProviders);
    dialogs.clear();
    for (TacProvider*& slot : acSupportedList)
        if (TacProvider* p = std::exchange(slot, nullptr); p && p->FForm && !p->HasState(csDestroying)) delete p;
    acSupportedList.clear();
}

}  // namespace qv
