// The system's region of a rectangle set, for SetWindowRgn and clipping.
#pragma once
#include "framework/win32/Handles.h"
#include "paint/acRegion.h"

namespace qv {

// A new region covering the set's rectangles, made in one call; empty when the system
// cannot make it. SetWindowRgn takes the handle over: release it only when that succeeds.
UniqueRegion RegionHandle(const TacRegion& region) noexcept;

}  // namespace qv
