// Basic value types shared by every layer: rectangles, points, colours, strings.
// Portable: no <windows.h>.
#pragma once
#include <cstdint>
#include <string>

namespace qv {

// The framework's string: UTF-16 code units on Windows (wchar_t), UTF-32 on Linux.
// Text that crosses a file or a pack goes through the explicit encodings of Strings.h.
using String = std::wstring;

struct TPoint {
    int X = 0, Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
    int cx = 0, cy = 0;
    friend bool operator==(const TSize&, const TSize&) = default;
};

// Right and Bottom are exclusive, as in Win32 rectangles.
struct TRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    constexpr int Width() const noexcept { return Right - Left; }
    constexpr int Height() const noexcept { return Bottom - Top; }
    constexpr bool IsEmpty() const noexcept { return Right <= Left || Bottom <= Top; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

constexpr TRect Rect(int left, int top, int right, int bottom) noexcept { return {left, top, right, bottom}; }
constexpr TPoint Point(int x, int y) noexcept { return {x, y}; }

// The intersection of a and b; empty (all zero) when they do not overlap.
TRect IntersectRect(const TRect& a, const TRect& b) noexcept;
// r moved by (dx, dy).
constexpr TRect OffsetRect(TRect r, int dx, int dy) noexcept {
    return {r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy};
}
constexpr bool PtInRect(const TRect& r, TPoint p) noexcept {
    return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom;
}

// A colour value is 0x00BBGGRR (red in the lowest byte). -1 (clNone) means no colour;
// other negative values are system colours whose low byte indexes the system colour
// table (clSystemColor | COLOR_xxx).
using TColor = std::int32_t;

constexpr TColor clSystemColor = static_cast<TColor>(0xFF000000u);
constexpr TColor clNone = -1;
constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;  // the skins' key colour
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clScrollBar = clSystemColor | 0;
constexpr TColor clBackground = clSystemColor | 1;
constexpr TColor clActiveCaption = clSystemColor | 2;
constexpr TColor clInactiveCaption = clSystemColor | 3;
constexpr TColor clMenu = clSystemColor | 4;
constexpr TColor clWindow = clSystemColor | 5;
constexpr TColor clWindowFrame = clSystemColor | 6;
constexpr TColor clMenuText = clSystemColor | 7;
constexpr TColor clWindowText = clSystemColor | 8;
constexpr TColor clCaptionText = clSystemColor | 9;
constexpr TColor clActiveBorder = clSystemColor | 10;
constexpr TColor clInactiveBorder = clSystemColor | 11;
constexpr TColor clAppWorkSpace = clSystemColor | 12;
constexpr TColor clHighlight = clSystemColor | 13;
constexpr TColor clHighlightText = clSystemColor | 14;
constexpr TColor clBtnFace = clSystemColor | 15;
constexpr TColor clBtnShadow = clSystemColor | 16;
constexpr TColor clGrayText = clSystemColor | 17;
constexpr TColor clBtnText = clSystemColor | 18;
constexpr TColor clInactiveCaptionText = clSystemColor | 19;
constexpr TColor clBtnHighlight = clSystemColor | 20;
constexpr TColor cl3DDkShadow = clSystemColor | 21;
constexpr TColor cl3DLight = clSystemColor | 22;
constexpr TColor clInfoText = clSystemColor | 23;
constexpr TColor clInfoBk = clSystemColor | 24;
constexpr TColor clHotLight = clSystemColor | 26;
constexpr TColor clGradientActiveCaption = clSystemColor | 27;
constexpr TColor clGradientInactiveCaption = clSystemColor | 28;
constexpr TColor clMenuHighlight = clSystemColor | 29;
constexpr TColor clMenuBar = clSystemColor | 30;

// The RGB value (0x00BBGGRR) of a system colour index 0..30: GetSysColor on Windows,
// a fixed table of the classic Windows scheme elsewhere.
std::uint32_t SysColorRGB(int index) noexcept;
// The system's sizing-frame width (SM_CXSIZEFRAME) on Windows; the classic scheme's 4
// elsewhere.
int SysSizingFrameWidth() noexcept;

// A colour as RGB: negative values other than clNone go through the system colour
// table (low byte = index); clNone and plain colours are returned as they are.
TColor ColorToRGB(TColor color) noexcept;

}  // namespace qv
