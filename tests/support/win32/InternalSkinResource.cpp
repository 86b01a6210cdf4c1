#include "win32/InternalSkinResource.h"

#include <windows.h>

namespace qv::test {

std::pair<const std::uint8_t*, std::size_t> InternalSkinResource() {
    HRSRC info = ::FindResourceW(nullptr, L"ANDROIDOS", MAKEINTRESOURCEW(10));
    if (!info) return {nullptr, 0};
    HGLOBAL loaded = ::LoadResource(nullptr, info);
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    return {static_cast<const std::uint8_t*>(data), data ? ::SizeofResource(nullptr, info) : 0};
}

}  // namespace qv::test
