// Sending the engine's command message (SM_ALPHACMD, codes in skin/sConst.h) to one
// window or control, and broadcasting it down a window's children.
#pragma once
#include "framework/win32/Controls.h"
#include "skin/sConst.h"

namespace qv {

// A command message ready to broadcast: SM_ALPHACMD, the code in the high word of
// WParam, lParam, result 0.
TMessage MakeAlphaMessage(std::uint16_t command, LPARAM lParam = 0, std::uint16_t argument = 0) noexcept;

// Sends command to the window; returns the answer.
LRESULT SendAMessage(HWND handle, int command, LPARAM lParam = 0);
// A control without a window gets the command through its message method; a windowed
// control gets it as a window message, and nothing (answer 0) while it is being
// destroyed or before its window exists.
LRESULT SendAMessage(TControl* control, int command, LPARAM lParam = 0);
// Control form: true when the low byte of the answer is not 0. Window form: true when
// the answer is exactly 1.
bool GetBoolMsg(TControl* control, int command);
bool GetBoolMsg(HWND handle, int command);

// SKC_PARENTUPDATED to every child that is not a graphic control (none while an
// animation runs); window form: to every direct child window with the child style.
void SetParentUpdated(TWinControl* control);
void SetParentUpdated(HWND handle);

// The colour a control's background shows, as RGB; 0xFF00FF for no control / window.
TColor GetControlColor(TControl* control);
TColor GetControlColor(HWND handle);

// Delivers message to every child of control in index order: a child without a window
// through its message method, a child that handles skinning itself (answers
// SKC_CTRLHANDLED) as a window message (it passes the message on to its own children),
// any other windowed child by descending into it. Stops at a child being destroyed.
void AlphaBroadCast(TWinControl* control, TMessage& message);
// Sends message to every direct child window of handle.
void AlphaBroadCast(HWND handle, TMessage& message);

}  // namespace qv
