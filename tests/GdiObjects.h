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

// The PEB's GdiSharedHandleTable, or null when the process has none. The PEB is asked of
// NtQueryInformationProcess: NtCurrentTeb's inline segment read trips GCC's array-bounds
// check at -O3 in 64-bit builds.
inline const std::uint8_t* GdiSharedHandleTable() {
    using QueryProcess = LONG(WINAPI*)(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*);
    const auto query = reinterpret_cast<QueryProcess>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION info{};
    if (!query || query(::GetCurrentProcess(), ProcessBasicInformation, &info, sizeof info, nullptr) != 0 ||
        !info.PebBaseAddress)
        return nullptr;
    const auto* peb = reinterpret_cast<const std::uint8_t*>(info.PebBaseAddress);
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
    if (RunningUnderWine()) count = CountWineGdiTable();
    else count = static_cast<long>(::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS));
    if (count <= 0) {
        ADD_FAILURE() << "no count of live GDI objects: neither GetGuiResources nor the shared "
                         "GDI handle table gave one";
        return -1;
    }
    return count;
}

}  // namespace qv::test
