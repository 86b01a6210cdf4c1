// The hover glow: a click-through, per-pixel-alpha top-level window drawn from a
// section's glow image and placed just above the control's form. Glows are kept in a
// list whose index is the glow's id.
#pragma once
#include "framework/win32/Forms.h"
#include "skin/win32/sSkinManager.h"

#include <memory>
#include <vector>

namespace qv {

class TacGlowEffect {
public:
    explicit TacGlowEffect(TsSkinManager* manager) noexcept : SkinManager(manager) {}
    ~TacGlowEffect();
    TacGlowEffect(const TacGlowEffect&) = delete;
    TacGlowEffect& operator=(const TacGlowEffect&) = delete;

    // R: the control's screen rectangle; realRect: its visible part (control coordinates).
    void Show(const TRect& R, const TRect& realRect, HWND ownerWnd);
    // The glow window itself (none before Show).
    HWND Handle() const noexcept { return Wnd; }
    // Gives the window its previous procedure back and destroys it now.
    void RestoreAndDestroy() noexcept;

    TsSkinManager* SkinManager;
    int MaskIndex = -1;
    int Margin = 0;
    HWND Wnd = nullptr;
    WNDPROC OldWndProc = nullptr;
};

// Effects by id; a hidden glow leaves an empty slot until ClearGlows.
extern std::vector<std::unique_ptr<TacGlowEffect>> acgEffects;

// The id of the glow shown, or -1 when none could be shown.
int ShowGlow(const TRect& R, const TRect& realRect, const String& section, TsSkinManager* manager, HWND ownerWnd,
             int alpha, int margin, const String& name = L"GLOW");
// Ids out of range or already hidden are ignored.
void HideGlow(int id) noexcept;
void ClearGlows(bool restoreWindows = false) noexcept;

// Puts glow clearing and the binding's mouse query into the manager's window-skinning
// seams (done once, by the first binding made).
void InstallControlSeams() noexcept;

}  // namespace qv
