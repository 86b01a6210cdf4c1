// Helpers of the skin engine on framework objects: whether a control may be talked to,
// the form or frame that owns a component, and the engine's error box.
#pragma once
#include "framework/win32/Forms.h"

namespace qv {

// The control exists, has its window if it is a windowed control, is neither being
// created, read, loaded nor destroyed, and has a parent.
bool ControlIsReady(TControl* control) noexcept;

// The nearest component on the owner chain (the component itself first) that is a form;
// nullptr when none.
TCustomForm* GetOwnerForm(TComponent* component) noexcept;
// The same for frames: scrolling containers that are not forms.
TScrollingWinControl* GetOwnerFrame(TComponent* component) noexcept;

// The engine's modal error box: an error icon and one OK button. It is the box acErrorBox
// names (the window layer installs the engine's message box there); unset, a system box
// owned by the thread's active window and titled with the application's title.
void ShowError(const String& text);
using TacErrorBox = void (*)(const String& text);
extern TacErrorBox acErrorBox;

}  // namespace qv
