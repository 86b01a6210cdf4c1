// Owners for what COM hands out: memory from the task allocator (strings, the shell's
// item identifier lists), freed with CoTaskMemFree, and counted interface references,
// released with Release.
#pragma once
#include "framework/win32/Handles.h"

#include <objbase.h>
#include <shtypes.h>

#include <utility>

namespace qv {

struct CoTaskMemTraits {
    static void Close(void* p) noexcept { ::CoTaskMemFree(p); }
};

template <class T>
using UniqueCoTaskMem = UniqueHandle<T*, CoTaskMemTraits>;
// An item identifier list allocated by the shell.
using UniquePidl = UniqueCoTaskMem<ITEMIDLIST>;

// One counted reference to a COM interface, released once. Move-only: a second reference
// is an AddRef the caller makes and hands over with reset.
template <class I>
class ComRef {
public:
    ComRef() noexcept = default;
    // Takes over a reference the caller holds (it is not AddRef'd again).
    explicit ComRef(I* owned) noexcept : FPtr(owned) {}
    ComRef(ComRef&& other) noexcept : FPtr(std::exchange(other.FPtr, nullptr)) {}
    ComRef& operator=(ComRef&& other) noexcept {
        if (this != &other) reset(std::exchange(other.FPtr, nullptr));
        return *this;
    }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ~ComRef() { reset(); }

    I* get() const noexcept { return FPtr; }
    I* operator->() const noexcept { return FPtr; }
    explicit operator bool() const noexcept { return FPtr != nullptr; }
    // For functions that hand out a new reference: the old one is released first.
    I** put() noexcept {
        reset();
        return &FPtr;
    }
    // Releases the reference held and takes over owned.
    void reset(I* owned = nullptr) noexcept {
        if (I* old = std::exchange(FPtr, owned)) old->Release();
    }

private:
    I* FPtr = nullptr;
};

}  // namespace qv
