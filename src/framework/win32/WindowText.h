// The text of a window (its caption, or a control's contents) as a String.
#pragma once
#include "framework/Types.h"

#include <windows.h>

namespace qv {

// Empty when the window has no text or is not a window.
String WindowText(HWND wnd);

}  // namespace qv
