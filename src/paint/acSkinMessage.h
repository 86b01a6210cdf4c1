// The engine's private window message, in the application-private range (WM_APP is
// 0x8000). It is fixed for the life of the process. WParam: high word the command code,
// low word a small argument (0 unless a code says otherwise); LParam: the argument
// named by the code; the result is the answer. A receiver that does not know a code
// passes the message to its normal handling, which answers 0. The painting layer uses it
// to ask windows for their background; the skin layer names every command code.
#pragma once

namespace qv {

inline constexpr unsigned SM_ALPHACMD = 41216;  // 0xA100

}  // namespace qv
