// Fuzz target: the options loaders. The input up to the first zero byte is the options
// file; the rest, if any, is one more pack entry named FUZZ.BMP or FUZZ.PNG (by its
// first byte), beside a fixed master bitmap and PNG. Every input must load or raise one
// of the engine's exceptions.
#include "framework/Imaging.h"
#include "framework/SysUtils.h"
#include "skin/acSkinPack.h"
#include "skin/acSkinPackWriter.h"
#include "skin/sSkinSource.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace {

std::vector<std::uint8_t> Image(int w, int h, qv::TPixelFormat format, bool png) {
    qv::TBitmap bmp(w, h, format);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w * (format == qv::pf32bit ? 4 : 3); ++x)
            bmp.ScanLine(y)[x] = static_cast<std::uint8_t>(x * 7 + y * 13);
    if (w > 2) {
        std::uint8_t* p = bmp.ScanLine(0);  // a key pixel in the top-left corner
        p[0] = 255;
        p[1] = 0;
        p[2] = 255;
    }
    return png ? qv::SavePNG(bmp) : qv::SaveBMP(bmp);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::vector<std::uint8_t> master = Image(64, 32, qv::pf24bit, false);
    static const std::vector<std::uint8_t> glow = Image(12, 6, qv::pf32bit, true);
    const std::uint8_t* zero = std::find(data, data + size, 0);
    std::vector<qv::TacPackEntry> entries = {{"Options.dat", {data, zero}}, {"MASTER.BMP", master}, {"GLOW.PNG", glow}};
    if (zero + 1 < data + size) entries.push_back({(zero[1] & 1) ? "FUZZ.PNG" : "FUZZ.BMP", {zero + 1, data + size}});
    try {
        auto sc = std::make_unique<qv::TacSkinConvertor>();
        sc->SetPackedData(std::make_unique<qv::TBytesStream>(qv::BuildSkinPack(entries, 1)));
        qv::ExtractPackedData(sc);
        qv::TsSkinModel model;
        qv::TsSkinLoadContext context;
        context.CommonSections = {L"[FUZZCOMMON]", L"PARENTCLASS=BUTTON", L"BORDERSMASK=#(0,0,10,10)(1,0,0,0)"};
        qv::LoadPackedSkin(model, *sc, context);
    } catch (const qv::Exception&) {
    }
    return 0;
}
