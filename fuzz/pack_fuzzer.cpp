// Fuzz target: the skin pack reader on arbitrary bytes. Any input must either unpack
// or raise one of the engine's exceptions; never crash, hang or read out of bounds.
#include "framework/Streams.h"
#include "framework/SysUtils.h"
#include "skin/acSkinPack.h"

#include <cstddef>
#include <cstdint>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Small limits keep each run fast; the checks are the same as with the real ones.
    const qv::TacPackLimits limits{1 << 20, 4 << 20};
    auto sc = std::make_unique<qv::TacSkinConvertor>();
    sc->SetPackedData(std::make_unique<qv::TBytesStream>(data, size));
    try {
        qv::ExtractPackedData(sc, limits);
    } catch (const qv::Exception&) {
    }
    return 0;
}
