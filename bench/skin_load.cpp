// Loading a skin shaped like a real one (about 14 KB of options with 66 sections, about
// 150 KB of images) from its pack bytes into a model, against memcpy of the same bytes.
#include "framework/Imaging.h"
#include "skin/acSkinPack.h"
#include "skin/acSkinPackWriter.h"
#include "skin/sSkinSource.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

namespace {

std::vector<std::uint8_t> BenchImage(int w, int h, qv::TPixelFormat format, bool png) {
    qv::TBitmap bmp(w, h, format);
    const int bytes = w * (format == qv::pf32bit ? 4 : 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < bytes; ++x) bmp.ScanLine(y)[x] = static_cast<std::uint8_t>((x / 16) * 9 + (y / 8) * 5);
    return png ? qv::SavePNG(bmp) : qv::SaveBMP(bmp);
}

std::string Pad4(int v) {
    std::string s = std::to_string(v);
    return std::string(4 - s.size(), '0') + s;
}

std::string BenchOptions() {
    std::string s =
        "[GLOBALINFO]\r\nVERSION=7.52\r\nAUTHOR=bench\r\nMASTERBITMAP=MASTER.BMP\r\nTITLEHEIGHT=30\r\n"
        "BICONCLOSE=@0200@0000@0260@0020@3@1\r\nBOXCHECKED=@0200@0020@0248@0036@3@1\r\n";
    for (int i = 0; s.size() < 14000; ++i) {
        const int left = (i * 7) % 250;
        s += "[SECTION" + std::to_string(i) + "]\r\n";
        if (i > 0) s += "PARENTCLASS=SECTION" + std::to_string(i / 2) + "\r\n";
        s += "COLOR=$00" + std::to_string(100000 + i) +
             "\r\nFONTCOLOR=0\r\nTRANSPARENCY=0\r\n"
             "GRADIENTDATA=16777215;14737632;50;0;0;14737632;12632256;50;0;0\r\nGRADIENTPERCENT=30\r\n"
             "STATES=3\r\nHOTCOLOR=$00E0E0E0\r\nFADINGENABLED=1\r\n"
             "BORDERSMASK=^" +
             Pad4(left) + "^0010^" + Pad4(left + 60) +
             "^0050^0003^0003^0003^0003^3^1^0^0\r\n"
             "GLYPHMASK=@0010@0060@0040@0075@3@1\r\n";
        if (i % 8 == 0) s += "GLOW0=!GLOW.PNG!1!0!3!6!6!6!6!1\r\n";
    }
    return s;
}

const std::vector<std::uint8_t>& BenchPack() {
    static const std::vector<std::uint8_t> pack = [] {
        const std::string options = BenchOptions();
        return qv::BuildSkinPack({{"Options.dat", {options.begin(), options.end()}},
                                  {"Master.bmp", BenchImage(320, 120, qv::pf24bit, false)},
                                  {"ButtonHuge.bmp", BenchImage(60, 40, qv::pf24bit, false)},
                                  {"Glow.png", BenchImage(40, 40, qv::pf32bit, true)},
                                  {"Ext_Border.png", BenchImage(60, 60, qv::pf32bit, true)}});
    }();
    return pack;
}

void BM_SkinPackToModel(benchmark::State& state) {
    const auto& pack = BenchPack();
    for (auto _ : state) {
        auto sc = std::make_unique<qv::TacSkinConvertor>();
        sc->SetPackedData(std::make_unique<qv::TBytesStream>(pack));
        qv::ExtractPackedData(sc);
        qv::TsSkinModel model;
        qv::LoadPackedSkin(model, *sc);
        benchmark::DoNotOptimize(model.ma.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * pack.size()));
    state.counters["pack_bytes"] = static_cast<double>(pack.size());
}
BENCHMARK(BM_SkinPackToModel)->Unit(benchmark::kMicrosecond);

void BM_SkinPackUnpackOnly(benchmark::State& state) {
    const auto& pack = BenchPack();
    for (auto _ : state) {
        auto sc = std::make_unique<qv::TacSkinConvertor>();
        sc->SetPackedData(std::make_unique<qv::TBytesStream>(pack));
        qv::ExtractPackedData(sc);
        benchmark::DoNotOptimize(sc->Files.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * pack.size()));
}
BENCHMARK(BM_SkinPackUnpackOnly)->Unit(benchmark::kMicrosecond);

void BM_SkinPackMemcpy(benchmark::State& state) {
    const auto& pack = BenchPack();
    std::vector<std::uint8_t> copy(pack.size());
    for (auto _ : state) {
        std::memcpy(copy.data(), pack.data(), pack.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * pack.size()));
}
BENCHMARK(BM_SkinPackMemcpy)->Unit(benchmark::kMicrosecond);

// The yardstick on the unpacked size: copying every entry's content once.
void BM_SkinUnpackedMemcpy(benchmark::State& state) {
    auto sc = std::make_unique<qv::TacSkinConvertor>();
    sc->SetPackedData(std::make_unique<qv::TBytesStream>(BenchPack()));
    qv::ExtractPackedData(sc);
    std::vector<std::uint8_t> all = sc->Options->Bytes();
    for (const auto& f : sc->Files) all.insert(all.end(), f.FileStream->Bytes().begin(), f.FileStream->Bytes().end());
    std::vector<std::uint8_t> copy(all.size());
    for (auto _ : state) {
        std::memcpy(copy.data(), all.data(), all.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * all.size()));
    state.counters["unpacked_bytes"] = static_cast<double>(all.size());
}
BENCHMARK(BM_SkinUnpackedMemcpy)->Unit(benchmark::kMicrosecond);

}  // namespace
