#include "skin/win32/sVclUtils.h"

#include "framework/win32/Application.h"

namespace qv {

bool ControlIsReady(TControl* control) noexcept {
    if (!control) return false;
    if (auto* windowed = dynamic_cast<TWinControl*>(control); windowed && !windowed->HandleAllocated()) return false;
    if (control->ControlState & csCreating) return false;
    if (control->HasState(csReading) || control->HasState(csLoading) || control->HasState(csDestroying)) return false;
    return control->Parent() != nullptr;
}

TCustomForm* GetOwnerForm(TComponent* component) noexcept {
    for (TComponent* c = component; c; c = c->Owner())
        if (auto* form = dynamic_cast<TCustomForm*>(c)) return form;
    return nullptr;
}

TScrollingWinControl* GetOwnerFrame(TComponent* component) noexcept {
    for (TComponent* c = component; c; c = c->Owner())
        if (auto* frame = dynamic_cast<TScrollingWinControl*>(c); frame && !dynamic_cast<TCustomForm*>(c)) return frame;
    return nullptr;
}

TacErrorBox acErrorBox = nullptr;

void ShowError(const String& text) {
    if (acErrorBox) {
        acErrorBox(text);
        return;
    }
    const String title = Application().Title();
    ::MessageBoxW(::GetActiveWindow(), text.c_str(), title.c_str(), MB_OK | MB_ICONERROR);
}

}  // namespace qv
