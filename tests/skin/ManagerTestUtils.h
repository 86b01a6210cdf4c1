// Crafted skins for the skin manager tests: options text, a master bitmap, packs written
// by the pack writer, and a temporary skin directory that is removed afterwards.
#pragma once
#include "framework/Imaging.h"
#include "framework/Strings.h"
#include "skin/acSkinPackWriter.h"
#include "skin/sSkinManagerBase.h"
#include "InternalSkinLoad.h"
#include "SkinModelTestUtils.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace qv::test {

// Options of a small skin. buttonColor tells skins apart; SELF names itself as parent.
inline std::string ManagerSkinOptions(const std::string& buttonColor, const std::string& extra = "") {
    return "[GLOBALINFO]\r\nVERSION=7.5\r\nMASTERBITMAP=MASTER.BMP\r\nCOLOR=$00203040\r\nHOTCOLOR=$00405060\r\n"
           "[BUTTON]\r\nCOLOR=" +
           buttonColor +
           "\r\n"
           "BORDERSMASK=^0000^0000^0030^0020^0003^0003^0003^0003^3^1^0^0\r\n"
           "[EDIT]\r\nPARENTCLASS=BUTTON\r\nSTATES=1\r\nFONTCOLOR=$00112233\r\n"
           "[SELF]\r\nPARENTCLASS=SELF\r\n" +
           extra;
}

// 64 x 32, 24 bits: a colourful gradient so hue and saturation changes show.
inline std::vector<std::uint8_t> ManagerMasterBmp() {
    auto bmp = MakeBitmap(64, 32, pf24bit, [](int x, int y) {
        return 0xFF000000u | (static_cast<std::uint32_t>(40 + x * 3) << 16) | ((30 + y * 6) << 8) | (200 - x);
    });
    return SaveBMP(*bmp);
}

inline std::vector<std::uint8_t> ManagerSkinPack(const std::string& buttonColor, const std::string& extra = "") {
    return BuildSkinPack(
        {{"Options.dat", Bytes(ManagerSkinOptions(buttonColor, extra))}, {"Master.bmp", ManagerMasterBmp()}});
}

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempSkinDir {
public:
    TempSkinDir() {
        // Named after the test, with a random part: test programs run side by side
        // and may start within the same second.
        static std::atomic<int> counter{0};
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        const std::string test = info ? std::string(info->test_suite_name()) + "_" + info->name() : "none";
        FPath = std::filesystem::temp_directory_path() /
                ("qv_manager_" + test + "_" + std::to_string(std::random_device{}()) + "_" + std::to_string(counter++));
        std::filesystem::create_directories(FPath);
    }
    ~TempSkinDir() {
        std::error_code error;
        std::filesystem::remove_all(FPath, error);
    }
    TempSkinDir(const TempSkinDir&) = delete;
    TempSkinDir& operator=(const TempSkinDir&) = delete;

    // The folder as a framework string (native separators).
    String Path() const {
#ifdef _WIN32
        return FPath.wstring();
#else
        return Utf8ToString(std::string_view(FPath.string()));
#endif
    }
    std::filesystem::path FsPath() const { return FPath; }

    void WriteFile(const std::string& relative, const std::vector<std::uint8_t>& bytes) const {
        const auto file = FPath / relative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream out(file, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

private:
    std::filesystem::path FPath;
};

inline TColor SectionColor(const TsSkinModel& model, const String& section) {
    const int i = model.GetSkinIndex(section);
    return i < 0 ? clNone : model.gd[static_cast<std::size_t>(i)].Color;
}

}  // namespace qv::test
