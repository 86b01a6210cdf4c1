#include "skin/win32/sSkinManager.h"

#include "framework/Imaging.h"
#include "framework/SysUtils.h"
#include "framework/win32/Application.h"
#include "framework/win32/Dialogs.h"
#include "skin/win32/sMessages.h"
#include "skin/win32/sStyleSimply.h"
#include "skin/win32/sVclUtils.h"

#include <shellapi.h>

namespace qv {

TsSkinManager* DefaultManager = nullptr;
String GlobalSectionName;

namespace {

void LoadShadowTemplate(const wchar_t* name, TBitmap& target) {
    HRSRC info = ::FindResourceW(nullptr, name, MAKEINTRESOURCEW(10));  // RT_RCDATA
    if (!info) return;
    HGLOBAL data = ::LoadResource(nullptr, info);
    const void* bytes = data ? ::LockResource(data) : nullptr;
    const DWORD size = ::SizeofResource(nullptr, info);
    if (!bytes || size == 0) return;
    try {
        LoadPNG(static_cast<const std::uint8_t*>(bytes), size, target);
    } catch (const std::exception&) {
        // A damaged template leaves extended borders without the built-in shadow.
        target.SetSize(0, 0);
    }
}

}  // namespace

void InitSkinEngine() {
    static bool done = false;
    if (done) return;
    done = true;
    LoadShadowTemplate(L"acSHDA", acShdaTemplate);
    LoadShadowTemplate(L"acSHDI", acShdiTemplate);
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (!argv) return;
    bool showVersion = false;
    for (int i = 1; i < argc; ++i) {
        if (SameText(argv[i], L"/acver")) showVersion = true;
        if (SameText(argv[i], L"/actest")) acTestMode = true;
    }
    ::LocalFree(argv);
    if (showVersion)
        ::MessageBoxW(nullptr, acVersionMessage, Application().Title().c_str(), MB_OK | MB_ICONINFORMATION);
}

TsSkinManager::TsSkinManager(TComponent* owner) : TsSkinManagerBase(owner) {
    InitSkinEngine();
    if (!DefaultManager) {
        DefaultManager = this;
        if (!HasState(csDesigning))
            Application().HookMainWindow(this, [this](TMessage& message) { return MainWindowHook(message); });
    }
}

TsSkinManager::~TsSkinManager() {
    Destroying();
    SetActive(false);
    SetExtendedBorders(false);
    if (FActiveGraphControl || FActiveControl) {
        FActiveGraphControl = nullptr;
        FActiveControl = nullptr;
    }
    if (DefaultManager == this) {
        Application().UnhookMainWindow(this);
        DefaultManager = nullptr;
    }
    UnbindFromPainting();
}

void TsSkinManager::SetIsDefault(bool value) {
    if (value || !DefaultManager) {
        DefaultManager = this;
        if (Active()) SendNewSkin(true);
        else SendRemoveSkin();
    }
}

void TsSkinManager::SendNewSkin(bool repaint) {
    if (IsLoadingOrReading()) return;
    if (acWindowSkinning.RemoveAllGlows) acWindowSkinning.RemoveAllGlows();
    const bool paint = repaint && !HasState(csDesigning);
    if (paint) LockForms(*this);
    // Menus are not skinned in this program: there is no menu border cache to reset.
    SkinData.Active = false;
    RestrictDrawing = true;
    InitConstantIndexes();
    // Controls answer the announcement by painting from the new skin.
    BindToPainting();
    TMessage message = MakeAlphaMessage(SKC_NEWSKIN, reinterpret_cast<LPARAM>(this));
    try {
        AppBroadCastS(message);
    } catch (...) {
        RestrictDrawing = false;
        SkinData.Active = true;
        throw;
    }
    RestrictDrawing = false;
    SkinData.Active = true;
    if (IsDefault() && !GlobalHookInstalled) InstallHook();
    if (paint) RepaintForms(false);
}

void TsSkinManager::SendRemoveSkin() {
    SkinRemoving = true;
    if (acWindowSkinning.RemoveAllGlows) acWindowSkinning.RemoveAllGlows();
    UnInstallHook();
    SkinData.Active = false;
    TMessage message = MakeAlphaMessage(SKC_REMOVESKIN, reinterpret_cast<LPARAM>(this));
    AppBroadCastS(message);
    TsSkinManagerBase::SendRemoveSkin();
}

void TsSkinManager::RepaintForms(bool doLockForms) {
    if (!HasState(csDesigning)) {
        TMessage stop = MakeAlphaMessage(SKC_STOPFADING, reinterpret_cast<LPARAM>(this));
        AppBroadCastS(stop);
    }
    TMessage refresh = MakeAlphaMessage(SKC_REFRESH, reinterpret_cast<LPARAM>(this));
    if (HasState(csLoading)) {
        AppBroadCastS(refresh);
    } else {
        if (doLockForms) LockForms(*this);
        AppBroadCastS(refresh);
        UnLockForms(*this, true);
    }
    if (acWindowSkinning.SkinnedDialogs)
        for (HWND dialog : acWindowSkinning.SkinnedDialogs())
            if (::IsWindow(dialog) && ::IsWindowVisible(dialog))
                ::RedrawWindow(dialog, nullptr, nullptr,
                               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void TsSkinManager::UpdateSkinSection(const String& sectionName) {
    GlobalSectionName = UpperCase(sectionName);
    TMessage message = MakeAlphaMessage(SKC_UPDATESECTION, reinterpret_cast<LPARAM>(this));
    AppBroadCastS(message);
}

void TsSkinManager::SetActiveControl(HWND value) {
    if (value == FActiveControl) return;
    if (FActiveGraphControl) {
        SetActiveGraphControl(nullptr);
        if (FActiveGraphControl) return;  // the control under the mouse keeps the hot state
    }
    const HWND previous = FActiveControl;
    FActiveControl = value;
    if (previous && ::IsWindow(previous)) SendAMessage(previous, SKC_MOUSELEAVE, reinterpret_cast<LPARAM>(this));
    if (value) SendAMessage(value, SKC_MOUSEENTER, reinterpret_cast<LPARAM>(this));
}

void TsSkinManager::SetActiveGraphControl(TControl* value) {
    if (value == FActiveGraphControl) return;
    if (!value && FActiveGraphControl && acWindowSkinning.BindingMouseAbove) {
        const LRESULT binding = SendAMessage(FActiveGraphControl, SKC_GETCOMMONDATA);
        if (binding && acWindowSkinning.BindingMouseAbove(binding)) return;
    }
    TControl* previous = FActiveGraphControl;
    FActiveGraphControl = value;
    if (const HWND window = FActiveControl) {
        FActiveControl = nullptr;
        if (::IsWindow(window)) SendAMessage(window, SKC_MOUSELEAVE, reinterpret_cast<LPARAM>(this));
    }
    if (previous) SendAMessage(previous, SKC_MOUSELEAVE, reinterpret_cast<LPARAM>(this));
}

void TsSkinManager::InstallHook() {
    if (HasState(csDesigning) || !IsDefault() || GlobalHookInstalled) return;
    GlobalHookInstalled = true;
    if (acWindowSkinning.InstallHook) acWindowSkinning.InstallHook(*this);
}

void TsSkinManager::UnInstallHook() {
    if (HasState(csDesigning) || !IsDefault() || !GlobalHookInstalled) return;
    if (acWindowSkinning.UnInstallHook) acWindowSkinning.UnInstallHook(*this);
    GlobalHookInstalled = false;
}

bool TsSkinManager::MainWindowHook(TMessage& message) {
    return acWindowSkinning.MainWindowHook && acWindowSkinning.MainWindowHook(*this, message);
}

void TsSkinManager::ShowError(const String& text) { qv::ShowError(text); }

void TsSkinManager::ShowMessageText(const String& text) {
    ::MessageBoxW(::GetActiveWindow(), text.c_str(), Application().Title().c_str(), MB_OK | MB_ICONINFORMATION);
}

void TsSkinManager::CopyExForms() { qv::CopyExForms(*this); }

void TsSkinManager::UpdateCommonDlgs() {
    if (!IsDefault()) return;
    UseLatestCommonDialogs = !((SkinningRules() & srStdDialogs) && Active());
}

}  // namespace qv
