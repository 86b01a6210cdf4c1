// Owning wrappers for kernel handles. The kernel calls disagree on what "no handle" is:
// CreateFile and FindFirstFile fail with INVALID_HANDLE_VALUE, OpenProcess and most
// others with NULL, so each kind has its own owner and the failure value goes with it.
#pragma once
#include "framework/win32/Handles.h"

namespace qv {

struct KernelHandleTraits {
    static void Close(HANDLE h) noexcept { ::CloseHandle(h); }
};
struct FileTraits {
    static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) noexcept { ::CloseHandle(h); }
};
struct FindTraits {
    static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) noexcept { ::FindClose(h); }
};

using UniqueFile = UniqueHandle<HANDLE, FileTraits>;             // CreateFile
using UniqueFind = UniqueHandle<HANDLE, FindTraits>;             // FindFirstFile
using UniqueProcess = UniqueHandle<HANDLE, KernelHandleTraits>;  // OpenProcess

}  // namespace qv
