// The internal skin's pack as the program carries it: RCDATA "ANDROIDOS" among the
// resources of the running executable.
#pragma once
#include <cstddef>
#include <cstdint>
#include <utility>

namespace qv::test {

// The pack's bytes, or {nullptr, 0} when the executable carries none.
std::pair<const std::uint8_t*, std::size_t> InternalSkinResource();

}  // namespace qv::test
