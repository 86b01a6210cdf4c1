#include "app/win32/Resources.h"

#include <windows.h>

namespace qv {

TResourceBytes FindResourceBytes(const wchar_t* name) noexcept {
    HRSRC info = ::FindResourceW(nullptr, name, MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    if (!info) return {};
    HGLOBAL loaded = ::LoadResource(nullptr, info);
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    if (!data) return {};
    return {static_cast<const std::uint8_t*>(data), static_cast<std::size_t>(::SizeofResource(nullptr, info))};
}

}  // namespace qv
