// Bitmap pixels where only the portable core runs: a plain memory block.
#include "framework/platform/Platform.h"

#include "framework/SysUtils.h"

#include <cstdlib>

namespace qv::platform {

TPixelBlock AllocatePixels(int, int, int, std::size_t bytes, const TPalette&, bool clear) {
    // calloc hands large blocks out as fresh zero pages, so clearing costs no pass over them.
    void* block = clear ? std::calloc(bytes, 1) : std::malloc(bytes);
    if (!block) throw EOutOfResources(L"Out of memory");
    return {nullptr, static_cast<std::uint8_t*>(block)};
}

void FreePixels(const TPixelBlock& block) noexcept { std::free(block.Bits); }

// The palette lives only in the bitmap; there is no system copy to update.
void SetPixelPalette(const TPixelBlock&, const TPalette&) noexcept {}

}  // namespace qv::platform
