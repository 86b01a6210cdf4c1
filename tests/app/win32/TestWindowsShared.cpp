// The dialog-answering helpers of the control tests, shared with these tests.
#include "../../framework/win32_controls/TestWindows.cpp"
