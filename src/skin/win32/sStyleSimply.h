// Delivering a command to every window of the application (AppBroadCastS), the list of
// forms skinned by the window skinning (HookedComponents), and the locking of forms
// while the skin changes. Also the seam through which the window-skinning layer (the
// window-creation hook, skinned dialogs, glow windows) plugs into the skin manager.
#pragma once
#include "framework/win32/Forms.h"
#include "skin/sConst.h"
#include "skin/sSkinManagerBase.h"

#include <functional>
#include <vector>

namespace qv {

class TsSkinManager;

// What form locking and SendToProvider need of a form's frame-skinning object. The
// frame skinner answers SKC_GETPROVIDER with a pointer to this interface (converted to
// IacFormProvider* first, then to LRESULT), and is a component the form owns.
class IacFormProvider {
public:
    // The manager whose skin this frame is painted with.
    virtual TsSkinManager* ProviderSkinManager() const noexcept = 0;
    // A command handed over by SendToProvider.
    virtual void ProviderMessage(TMessage& message) = 0;
    // The skin is about to change (LockForms): set the in-animation flag, hand a
    // layered extended border the form's last image and rebuild its region.
    virtual void BeginSkinChange() = 0;
    // The new skin is in (UnLockForms with repaint): play the skin-change animation
    // (animate) or show the new image at once, restore a maximised extended-border
    // form, clear the in-animation flag, recompute the frame and redraw it completely.
    virtual void EndSkinChange(bool animate, const TacAnimSettings& settings) = 0;
    // Before a new skin loads (CopyExForms): take a new image of a form with an
    // extended border and set the in-animation flag.
    virtual void SnapshotForSkinChange() = 0;
    // Whether the frame skinner paints the window's non-client area itself; window
    // wrappers on its form then switch the visual style of their windows off.
    virtual bool DrawsNonClientArea() const noexcept { return true; }
    bool FormLocked = false;

protected:
    ~IacFormProvider() = default;
};

// The frame-skinning object of a form's window (its answer to SKC_GETPROVIDER).
IacFormProvider* GetFormProvider(TCustomForm* form);

// Hooks the window-skinning layer sets up (all optional; unset means "nothing to do").
struct TacWindowSkinning {
    // The thread's window-creation hook (installed by the default manager after a new
    // skin was announced, removed before a skin is removed).
    std::function<void(TsSkinManager&)> InstallHook;
    std::function<void(TsSkinManager&)> UnInstallHook;
    // The manager's hook on the application's hidden window; true when consumed.
    std::function<bool(TsSkinManager&, TMessage&)> MainWindowHook;
    // Windows of skinned system dialogs, in list order.
    std::function<std::vector<HWND>()> SkinnedDialogs;
    // Removes every glow window.
    std::function<void()> RemoveAllGlows;
    // Whether the skin binding a control returned for SKC_GETCOMMONDATA has the mouse
    // above it.
    std::function<bool(LRESULT commonData)> BindingMouseAbove;
};
extern TacWindowSkinning acWindowSkinning;

// Forms skinned by the window skinning or by their own frame skinner, in list order.
extern std::vector<TCustomForm*> HookedComponents;
void IntSkinForm(TCustomForm* form);
// Removes form by moving the last entry into its place.
void IntUnSkinForm(TCustomForm* form);

// Hands message to the first frame-skinning component form owns that is not being
// destroyed.
void SendToProvider(TCustomForm* form, TMessage& message);
// Every form of the application (last first) that does not handle skinning itself,
// with its children, then SendToHooked.
void AppBroadCastS(TMessage& message);
// Every hooked form with its children, then every visible skinned dialog.
void SendToHooked(TMessage& message);

// Form locking around a skin change (nothing while the application is minimised).
void LockForms(TsSkinManager& manager);
void UnLockForms(TsSkinManager& manager, bool repaint = true);
void CopyExForms(TsSkinManager& manager);

}  // namespace qv
