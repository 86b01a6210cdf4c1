// A skin change from a cold manager: SetSkinName of an internal skin the size of the
// program's own (66 sections, about 14 KB of options, a master bitmap, a few PNG and BMP
// images): unpacking, options parsing, images, general data and the cached indexes.
#include "framework/Imaging.h"
#include "framework/Strings.h"
#include "skin/acSkinPackWriter.h"
#include "skin/sSkinManagerBase.h"
#include "InternalSkinLoad.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace qv;

std::vector<std::uint8_t> Image(int w, int h, TPixelFormat format, bool png) {
    TBitmap bmp(w, h, format);
    const int bytes = format == pf32bit ? 4 : 3;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w * bytes; ++x) bmp.ScanLine(y)[x] = static_cast<std::uint8_t>(x * 7 + y * 13);
    return png ? SavePNG(bmp) : SaveBMP(bmp);
}

std::vector<std::uint8_t> InternalSizedPack() {
    std::string options =
        "[GLOBALINFO]\r\nVERSION=7.6\r\nMASTERBITMAP=MASTER.BMP\r\nCOLOR=$00F0F0F0\r\n"
        "EXBORDER=!EXT_BORDER.PNG!2!0!0!0012!0012!0012!0012!1\r\n";
    for (int s = 0; s < 64; ++s) {
        const std::string n = std::to_string(s);
        options += "[SECTION" + n + "]\r\n";
        if (s % 3 == 1) options += "PARENTCLASS=SECTION" + std::to_string(s - 1) + "\r\n";
        options += "COLOR=$00" + std::to_string(100000 + s * 37) +
                   "\r\nHOTCOLOR=$00C08040\r\nSTATES=3\r\n"
                   "FONTCOLOR=0 -1 -1 -1 -1\r\nTRANSPARENCY=0\r\nGRADIENTPERCENT=40\r\n"
                   "GRADIENTDATA=16777215;14540253;50;0;0;14540253;12434877;100;0;0\r\n"
                   "BORDERSMASK=^0000^0000^0060^0040^0004^0004^0004^0004^3^1^0^0\r\n"
                   "GLOW=0\r\nFADINGENABLED=1\r\n";
    }
    options +=
        "[BUTTON_HUGE]\r\nBORDERSMASK=!BUTTONHUGE.BMP!3!1!0!0010!0010!0010!0010!1\r\n"
        "GLOW0=!BUTTONGLOW.PNG!1!0!3!0009!0008!0009!0008!1\r\n";
    return BuildSkinPack({{"Options.dat", std::vector<std::uint8_t>(options.begin(), options.end())},
                          {"ButtonHuge.bmp", Image(150, 80, pf24bit, false)},
                          {"Master.bmp", Image(400, 300, pf24bit, false)},
                          {"ButtonGlow.png", Image(40, 40, pf32bit, true)},
                          {"EditGlow.png", Image(40, 40, pf32bit, true)},
                          {"Ext_Border.png", Image(120, 60, pf32bit, true)}});
}

// A cold manager activating the internal skin held in pack: the benchmark's loop body.
void SetSkinNameCold(benchmark::State& state, const std::vector<std::uint8_t>& pack, std::size_t sections) {
    for (auto _ : state) {
        TsSkinManagerBase manager(nullptr);
        manager.SetSkinDirectory(L"/nonexistent-skin-directory");
        test::ActivateInternalSkin(manager, test::kInternalSkin, pack.data(), pack.size());
        benchmark::DoNotOptimize(manager.gd.data());
        if (manager.gd.size() != sections) state.SkipWithError("the skin did not load");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(pack.size()));
}

void BM_SetSkinNameColdManager(benchmark::State& state) { SetSkinNameCold(state, InternalSizedPack(), 66); }
BENCHMARK(BM_SetSkinNameColdManager)->Unit(benchmark::kMillisecond);

// The program's own internal skin as the build packs it.
void BM_SetSkinNameInternalSkin(benchmark::State& state) {
#ifdef QUORVEL_INTERNAL_SKIN_PACK
    const std::vector<std::uint8_t> pack = test::ReadPackFile(Utf8ToString(QUORVEL_INTERNAL_SKIN_PACK));
    TsSkinManagerBase probe(nullptr);
    probe.SetSkinDirectory(L"/nonexistent-skin-directory");
    test::ActivateInternalSkin(probe, test::kInternalSkin, pack.data(), pack.size());
    if (probe.gd.empty()) state.SkipWithError("the internal skin did not load");
    SetSkinNameCold(state, pack, probe.gd.size());
#else
    state.SkipWithError("the build did not pass the internal skin pack to the benchmarks");
#endif
}
BENCHMARK(BM_SetSkinNameInternalSkin)->Unit(benchmark::kMillisecond);

}  // namespace
