// What lies behind a painted rectangle: the parent's cache bitmap at an offset, or a
// plain colour (TCacheInfo), and the request/answer record a control exchanges with its
// parent to find out (TacBGInfo).
#pragma once
#include "framework/Bitmap.h"
#include "framework/Types.h"

#include <cstdint>

// The system's device-context handle type by its tag, so this header names it without
// <windows.h>: the same type as HDC there.
struct HDC__;  // NOLINT(bugprone-reserved-identifier): the system's own tag name

namespace qv {

using DCHandle = HDC__*;

struct TCacheInfo {
    TBitmap* Bmp = nullptr;        // the parent's cache bitmap (not owned), when Ready
    int X = 0, Y = 0;              // destination (x, y) lies at (x + X, y + Y) in Bmp
    TColor FillColor = clFuchsia;  // the plain background when not Ready; clFuchsia: none
    bool Ready = false;
};

inline TCacheInfo MakeCacheInfo(TBitmap* Bmp, int X = 0, int Y = 0) noexcept {
    return TCacheInfo{Bmp, X, Y, clFuchsia, true};
}

// No background at all.
inline const TCacheInfo EmptyCI{};

enum TacBGType : std::uint8_t { btUnknown = 0, btFill = 1, btCache = 2, btNotReady = 3 };

struct TacBGInfo {
    TBitmap* Bmp = nullptr;
    TColor Color = 0;
    TPoint Offset;
    TRect R;
    TacBGType BgType = btUnknown;
    bool PleaseDraw = false;
    DCHandle DrawDC = nullptr;  // where PleaseDraw asks the background to be drawn
};

inline TCacheInfo BGInfoToCI(const TacBGInfo& BGInfo) noexcept {
    if (BGInfo.BgType == btCache) return MakeCacheInfo(BGInfo.Bmp, BGInfo.Offset.X, BGInfo.Offset.Y);
    return TCacheInfo{nullptr, BGInfo.Offset.X, BGInfo.Offset.Y, ColorToRGB(BGInfo.Color), false};
}

}  // namespace qv
