// Fuzz target: PNG decoding through the framework's image loader, which picks the decoder
// by signature. A declared picture the data cannot hold is refused before allocation, so
// no input may make the loader ask for more memory than the largest real picture needs.
#include "image_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckImageDecode(data, size, qv::LoadImageFromMemory);
    return 0;
}
