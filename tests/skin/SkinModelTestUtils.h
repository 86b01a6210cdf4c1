// Building small skins for the loader tests: options text, images encoded with the
// framework's encoders, packs, and a loaded model.
#pragma once
#include "framework/Imaging.h"
#include "framework/IniFiles.h"
#include "framework/StringList.h"
#include "framework/Strings.h"
#include "skin/acSkinPack.h"
#include "skin/sSkinLoaders.h"
#include "SkinTestUtils.h"

#include <functional>
#include <memory>

namespace qv::test {

inline std::unique_ptr<TMemIniFile> Ini(const String& text) {
    TStringList lines;
    lines.SetText(text);
    auto ini = std::make_unique<TMemIniFile>();
    ini->SetStrings(lines);
    return ini;
}

// A bitmap whose every pixel is f(x, y) (0xAARRGGBB; for 24 bits A is ignored).
inline std::unique_ptr<TBitmap> MakeBitmap(int w, int h, TPixelFormat format,
                                           const std::function<std::uint32_t(int, int)>& f) {
    auto result = std::make_unique<TBitmap>(w, h, format);
    TBitmap& bmp = *result;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::uint32_t c = f(x, y);
            std::uint8_t* p = bmp.ScanLine(y) + x * (format == pf32bit ? 4 : 3);
            p[0] = c & 0xFF;
            p[1] = (c >> 8) & 0xFF;
            p[2] = (c >> 16) & 0xFF;
            if (format == pf32bit) p[3] = c >> 24;
        }
    return result;
}

// A skin in a pack: the options text plus images, loaded into model.
struct PackedSkin {
    std::vector<TacPackEntry> Entries;
    std::vector<String> CommonSections;
    TsSkinModel Model;
    double CheckedVersion = -1;

    PackedSkin& Options(const std::string& text) {
        Entries.push_back({"Options.dat", Bytes(text)});
        return *this;
    }
    PackedSkin& File(const std::string& name, std::vector<std::uint8_t> data) {
        Entries.push_back({name, std::move(data)});
        return *this;
    }
    PackedSkin& Bmp(const std::string& name, const TBitmap& bmp) { return File(name, SaveBMP(bmp)); }
    PackedSkin& Png(const std::string& name, const TBitmap& bmp) { return File(name, SavePNG(bmp)); }

    TsSkinModel& Load() {
        std::unique_ptr<TacSkinConvertor> sc = Unpack(BuildSkinPack(Entries));
        TStringList lines;
        lines.LoadFromStream(*sc->Options);
        TMemIniFile ini;
        ini.SetStrings(lines);
        TsSkinLoadContext ctx;
        ctx.SkinFile = &ini;
        ctx.Pack = sc.get();
        ctx.CommonSections = CommonSections;
        ctx.CheckVersion = [this](const TsSkinData& sd) { CheckedVersion = sd.Version; };
        LoadSkinModel(Model, ctx);
        return Model;
    }

    const TsMaskData& Mask(const String& section, const String& key) const {
        const int i = Model.GetMaskIndex(section, key);
        if (i < 0) throw std::runtime_error("no image " + StringToUtf8(section + L"/" + key));
        return Model.ma[static_cast<std::size_t>(i)];
    }
};

}  // namespace qv::test
