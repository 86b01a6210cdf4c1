#include "BenchInternalSkin.h"

#include "framework/Bitmap.h"
#include "framework/Strings.h"
#include "InternalSkinLoad.h"

#include <cstring>
#include <exception>
#include <vector>

namespace qv::bench {

std::unique_ptr<TsSkinManagerBase> LoadInternalSkin(const char*& failReason) {
#ifndef QUORVEL_INTERNAL_SKIN_PACK
    failReason = "the build did not pass the internal skin pack to the benchmarks";
    return nullptr;
#else
    try {
        const std::vector<std::uint8_t> pack = test::ReadPackFile(Utf8ToString(QUORVEL_INTERNAL_SKIN_PACK));
        auto m = std::make_unique<TsSkinManagerBase>(nullptr);
        m->SetSkinDirectory(L"/nonexistent-skin-directory");
        test::ActivateInternalSkin(*m, test::kInternalSkin, pack.data(), pack.size());
        return m;
    } catch (const std::exception&) {
        failReason = "the internal skin pack could not be read";
        return nullptr;
    }
#endif
}

void MemcpyBitmap(benchmark::State& state, int width, int height) {
    TBitmap from(width, height), to(width, height);
    const std::size_t bytes = static_cast<std::size_t>(from.RowBytes()) * height;
    for (auto _ : state) {
        std::memcpy(to.ScanLine(height - 1), from.ScanLine(height - 1), bytes);
        benchmark::DoNotOptimize(to.ScanLine(0));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * width * height);
}

}  // namespace qv::bench
