// The engine's private window message, in the application-private range (WM_APP is
// 0x8000). It is fixed for the life of the process. WParam: high word the command code,
// low word a small argument (0 unless a code says otherwise); LParam: the argument
// named by the code; the result is the answer. A receiver that does not know a code
// passes the message to its normal handling, which answers 0. The painting layer uses it
// to ask windows for their background, and names here the two codes it sends; the skin
// layer (skin/sConst.h) names every other command code.
#pragma once
#include <cstdint>

namespace qv {

inline constexpr unsigned SM_ALPHACMD = 41216;  // 0xA100

// Sent by GetBGInfo. LParam: pointer to a TacBGInfo to fill with the receiver's
// background (its kind, colour or cache bitmap and offset). Answer 1. A receiver that
// leaves the kind unknown is asked to draw itself when the asker wanted a drawing.
inline constexpr std::uint16_t SKC_GETBGINFO = 34;
// Sent by GetBGInfo for a control that gave no background. LParam 0 or 0xFF00FF.
// Answer: the colour the receiver's background shows (0: none; its Color is used).
inline constexpr std::uint16_t SKC_GETCOLOR = 21;

}  // namespace qv
