// Putting the internal skin into a manager the way the program does: the pack's bytes
// stored under the skin's name among the manager's internal skins, then made active.
// Portable: the Windows tests take the bytes from their resources, the portable tests
// and the benchmarks from the pack the build wrote.
#pragma once
#include "framework/Strings.h"
#include "skin/sSkinManagerBase.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qv::test {

// The name the program gives its internal skin.
inline const String kInternalSkin = L"Android OS (internal)";

// Stores the packed skin data[0..size) among manager's internal skins as name.
void AddInternalSkin(TsSkinManagerBase& manager, const String& name, const std::uint8_t* data, std::size_t size);
inline void AddInternalSkin(TsSkinManagerBase& manager, const String& name, const std::vector<std::uint8_t>& pack) {
    AddInternalSkin(manager, name, pack.data(), pack.size());
}

// Stores the packed skin as name and makes it the manager's skin.
void ActivateInternalSkin(TsSkinManagerBase& manager, const String& name, const std::uint8_t* data, std::size_t size);

// The bytes of a file (the pack the build wrote); throws when it cannot be read.
std::vector<std::uint8_t> ReadPackFile(const String& fileName);

}  // namespace qv::test
