// What several benchmarks share: the internal skin as the build packs it, loaded into a
// fresh manager, and the memcpy reference row of a bitmap's size.
#pragma once
#include "skin/sSkinManagerBase.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace qv::bench {

// A manager with the internal skin active; nullptr, with failReason saying why, when the
// build passed no pack or it cannot be read.
std::unique_ptr<TsSkinManagerBase> LoadInternalSkin(const char*& failReason);

// One memcpy of a width × height 32-bit bitmap per iteration, counted in pixels: the row
// every pixel pass of that size is compared with.
void MemcpyBitmap(benchmark::State& state, int width, int height);

}  // namespace qv::bench
