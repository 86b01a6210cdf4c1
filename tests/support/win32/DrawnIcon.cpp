#include "win32/DrawnIcon.h"

#include "framework/win32/Handles.h"

#include <algorithm>
#include <cstdlib>

namespace qv::test {

DrawnIcon::DrawnIcon(HICON icon, int size) : FSize(size) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const UniqueMemoryDC dc(::CreateCompatibleDC(nullptr));
    const UniqueBitmap bitmap(::CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap) return;
    const SelectScope selected(dc.get(), bitmap.get());
    const RECT all{0, 0, size, size};
    ::FillRect(dc.get(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    FDrawn = ::DrawIconEx(dc.get(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL) != FALSE;
    ::GdiFlush();
    const auto* pixels = static_cast<const DWORD*>(bits);
    FPixels.assign(pixels, pixels + static_cast<std::size_t>(size) * static_cast<std::size_t>(size));
}

bool DrawnIcon::Shows(const std::function<bool(DWORD)>& is) const {
    return std::any_of(FPixels.begin(), FPixels.end(), [&](DWORD p) { return is(p & 0xFFFFFF); });
}

bool IsAmber(DWORD rgb) {
    const int r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
    return r >= 190 && g >= 110 && g <= 220 && b <= 90;
}

bool IsCharcoal(DWORD rgb) {
    const int r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
    return r >= 25 && r <= 70 && g >= 25 && g <= 70 && b >= 25 && b <= 75 && std::abs(r - b) <= 10;
}

}  // namespace qv::test
