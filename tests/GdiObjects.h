// Counts the live GDI objects of this process, for leak tests.
//
// Windows answers GetGuiResources(GR_GDIOBJECTS). Wine 8 answers 0 there for every
// process, but keeps the GDI handle table shared with the process, as Windows does, and
// points the PEB's GdiSharedHandleTable at it: 65 536 entries of 24 bytes in 32- and
// 64-bit programs alike, the object type in byte 14, zero for a free entry.
// LiveGdiObjects() fails the running test loudly when neither source gives a number, so a
// leak check never passes by counting nothing.
#pragma once

#include <windows.h>
#include <winternl.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace qv::test {

inline bool RunningUnderWine() {
    HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// The PEB's GdiSharedHandleTable, or null when the process has none.
inline const std::uint8_t* GdiSharedHandleTable() {
#if defined(__i386__)
    // The TEB's own address at fs:[0x18], read directly: GCC 12 takes NtCurrentTeb's
    // fs-relative read on i686 for an access out of bounds and fails the build with -Werror.
    const TEB* teb = nullptr;
    __asm__("movl %%fs:0x18, %0" : "=r"(teb));
#else
    const TEB* teb = NtCurrentTeb();
#endif
    const auto* peb = reinterpret_cast<const std::uint8_t*>(teb->ProcessEnvironmentBlock);
#ifdef _WIN64
    constexpr std::size_t kTableOffset = 0xF8;
#else
    constexpr std::size_t kTableOffset = 0x94;
#endif
    const void* table = nullptr;
    std::memcpy(&table, peb + kTableOffset, sizeof table);
    return static_cast<const std::uint8_t*>(table);
}

inline long CountWineGdiTable() {
    constexpr std::size_t kEntries = 0x10000, kEntrySize = 24, kTypeByte = 14;
    const std::uint8_t* table = GdiSharedHandleTable();
    if (!table) return -1;
    long live = 0;
    for (std::size_t i = 0; i < kEntries; ++i)
        if (table[i * kEntrySize + kTypeByte] != 0) ++live;
    return live;
}

// Live GDI objects of this process; -1 (and a test failure) when the platform gives no count.
inline long LiveGdiObjects() {
    long count = -1;
    if (RunningUnderWine())
        count = CountWineGdiTable();
    else
        count = static_cast<long>(::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS));
    if (count <= 0) {
        ADD_FAILURE() << "no count of live GDI objects: neither GetGuiResources nor the shared "
                         "GDI handle table gave one";
        return -1;
    }
    return count;
}

}  // namespace qv::test
