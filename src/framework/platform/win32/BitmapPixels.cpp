// Bitmap pixels on Windows: a DIB section, so GDI can draw into the same bits.
#include "framework/platform/Platform.h"

#include "framework/SysUtils.h"
#include "framework/win32/Handles.h"

#include <cstring>

namespace qv::platform {

TPixelBlock AllocatePixels(int width, int height, int bitsPerPixel, std::size_t bytes, const TPalette& palette,
                           bool clear) {
    struct {
        BITMAPINFOHEADER Header;
        RGBQUAD Colors[256];
    } info{};
    info.Header.biSize = sizeof(BITMAPINFOHEADER);
    info.Header.biWidth = width;
    info.Header.biHeight = height;  // positive: bottom-up
    info.Header.biPlanes = 1;
    info.Header.biBitCount = static_cast<WORD>(bitsPerPixel);
    info.Header.biCompression = BI_RGB;
    if (bitsPerPixel == 8) {
        info.Header.biClrUsed = 256;
        std::memcpy(info.Colors, palette.data(), sizeof info.Colors);
    }
    void* pixels = nullptr;
    HBITMAP handle = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &pixels, nullptr,
                                      0);
    if (!handle || !pixels) {
        if (handle) DeleteObject(handle);
        throw EOutOfResources(L"Out of system resources");
    }
    // DIB sections start zeroed; be explicit where the caller asks for cleared pixels.
    if (clear) std::memset(pixels, 0, bytes);
    return {handle, static_cast<std::uint8_t*>(pixels)};
}

void FreePixels(const TPixelBlock& block) noexcept {
    if (block.Handle) DeleteObject(block.Handle);
}

void SetPixelPalette(const TPixelBlock& block, const TPalette& palette) noexcept {
    if (!block.Handle) return;
    const UniqueMemoryDC dc(CreateCompatibleDC(nullptr));
    if (!dc) return;
    const SelectScope selected(dc.get(), block.Handle);
    SetDIBColorTable(dc.get(), 0, 256, reinterpret_cast<const RGBQUAD*>(palette.data()));
}

}  // namespace qv::platform
