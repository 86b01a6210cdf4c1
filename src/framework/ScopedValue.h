// Sets a variable for one scope and puts the previous value back when the scope ends,
// however it ends; a nested use restores the outer value, never a default.
#pragma once
#include <utility>

namespace qv {

template <class T>
class ScopedValue {
public:
    ScopedValue(T& var, T value) : FVar(var), FOld(std::exchange(var, std::move(value))) {}
    ~ScopedValue() { FVar = std::move(FOld); }
    ScopedValue(const ScopedValue&) = delete;
    ScopedValue& operator=(const ScopedValue&) = delete;

private:
    T& FVar;
    T FOld;
};

}  // namespace qv
