// Raw-data resources of the program (the internal skin pack).
#pragma once
#include <cstddef>
#include <cstdint>

namespace qv {

struct TResourceBytes {
    const std::uint8_t* Data = nullptr;
    std::size_t Size = 0;
};

// The bytes of the RCDATA resource `name` of the program, or none when it is absent.
// Resource memory lives as long as the program, so the bytes need no release.
TResourceBytes FindResourceBytes(const wchar_t* name) noexcept;

}  // namespace qv
