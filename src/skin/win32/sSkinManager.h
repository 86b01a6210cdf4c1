// TsSkinManager: the skin manager component placed on the main form. On top of the
// portable manager (loading, lookups, colours) it announces every change of skin to all
// windows with the engine's command message, tracks the control under the mouse, shows
// the engine's messages, and is the application's default manager.
#pragma once
#include "framework/win32/Controls.h"
#include "skin/sSkinManagerBase.h"

namespace qv {

class TsSkinManager;

// The application's default manager: the first one created, or the last one told so.
extern TsSkinManager* DefaultManager;
// The section UpdateSkinSection announced, upper-cased.
extern String GlobalSectionName;

class TsSkinManager : public TsSkinManagerBase {
public:
    explicit TsSkinManager(TComponent* owner);
    TsSkinManager(const TsSkinManager&) = delete;
    TsSkinManager& operator=(const TsSkinManager&) = delete;
    ~TsSkinManager() override;

    bool IsDefault() const noexcept { return DefaultManager == this; }
    void SetIsDefault(bool value);

    void SendNewSkin(bool repaint = true) override;
    void SendRemoveSkin() override;
    void RepaintForms(bool doLockForms = true) override;
    // Announces that one section changed (SKC_UPDATESECTION).
    void UpdateSkinSection(const String& sectionName);

    // The window (or windowless control) under the mouse; the previous one is told the
    // mouse left, the new one that it entered.
    void SetActiveControl(HWND value);
    void SetActiveGraphControl(TControl* value);
    HWND FActiveControl = nullptr;
    TControl* FActiveGraphControl = nullptr;

    // The window-creation hook of the automatic skinning (see acWindowSkinning).
    void InstallHook();
    void UnInstallHook();
    // Messages of the application's hidden window; true when consumed.
    bool MainWindowHook(TMessage& message);

    void ShowError(const String& text) override;

protected:
    void ShowMessageText(const String& text) override;
    void CopyExForms() override;
    void UpdateCommonDlgs() override;
    bool IsDefaultManager() const noexcept override { return IsDefault(); }
};

// Start-up work of the engine, done once before the first manager exists: the built-in
// shadow templates from the resources "acSHDA" and "acSHDI" (a program without them
// keeps empty templates), and the switches "/acver" (shows the engine's version) and
// "/actest" (old-skin warnings at run time).
void InitSkinEngine();

}  // namespace qv
