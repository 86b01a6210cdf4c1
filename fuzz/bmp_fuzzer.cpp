// Fuzz target: the BMP reader on arbitrary bytes (every header version, depth and
// compression it reads, run-length data above all).
#include "image_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckImageDecode(data, size, qv::LoadBMP);
    return 0;
}
