// Reads what a window paints: the window draws its client area into a 32-bit bitmap
// through WM_PRINTCLIENT, as other programs (and screenshots) ask for it.
#pragma once
#include "framework/Bitmap.h"
#include "framework/Types.h"
#include "framework/win32/Canvas.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>

namespace qv {
// Rectangles in assertion messages as (left, top, right, bottom).
inline void PrintTo(const TRect& r, std::ostream* os) {
    *os << "(" << r.Left << ", " << r.Top << ", " << r.Right << ", " << r.Bottom << ")";
}
}  // namespace qv

namespace qv::test {

constexpr std::uint32_t kGuardPixel = 0x00123456;  // a colour nothing paints

// The client area of wnd as 32-bit pixels (alpha ignored), over a guard colour.
inline std::unique_ptr<TBitmap> CaptureClient(HWND wnd) {
    RECT client{};
    ::GetClientRect(wnd, &client);
    auto bitmap = std::make_unique<TBitmap>(client.right, client.bottom, pf32bit);
    for (int y = 0; y < bitmap->Height(); ++y)
        for (int x = 0; x < bitmap->Width(); ++x) bitmap->SetPixel32(x, y, kGuardPixel);
    HDC dc = bitmap->Canvas().Handle();
    ::SendMessageW(wnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
    ::GdiFlush();
    return bitmap;
}

// A colour value (system colours resolved) as a pixel word 0x00RRGGBB.
inline std::uint32_t PixelOfColor(TColor color) {
    const auto rgb = static_cast<std::uint32_t>(ColorToRGB(color));
    return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}

inline std::uint32_t RGBAt(const TBitmap& bitmap, int x, int y) { return bitmap.Pixel32(x, y) & 0xFFFFFF; }

inline std::string Hex(std::uint32_t v) {
    std::ostringstream s;
    s << "0x" << std::hex << v;
    return s.str();
}

// The smallest rectangle holding every pixel of colour pixel; empty when there is none.
inline TRect BoundsOfColor(const TBitmap& bitmap, std::uint32_t pixel) {
    TRect r{bitmap.Width(), bitmap.Height(), 0, 0};
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x)
            if (RGBAt(bitmap, x, y) == pixel) {
                r.Left = x < r.Left ? x : r.Left;
                r.Top = y < r.Top ? y : r.Top;
                r.Right = x + 1 > r.Right ? x + 1 : r.Right;
                r.Bottom = y + 1 > r.Bottom ? y + 1 : r.Bottom;
            }
    if (r.Right <= r.Left) return {};
    return r;
}

inline int CountColor(const TBitmap& bitmap, std::uint32_t pixel, const TRect& area) {
    int n = 0;
    for (int y = area.Top; y < area.Bottom && y < bitmap.Height(); ++y)
        for (int x = area.Left; x < area.Right && x < bitmap.Width(); ++x)
            if (RGBAt(bitmap, x, y) == pixel) ++n;
    return n;
}

}  // namespace qv::test
