// quorvel.exe as the shell and the system see it: its icon group, version strings and
// manifest read back with the platform's resource functions.
#include "QuorvelDriver.h"
#include "framework/win32/Handles.h"
#include "win32/DrawnIcon.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace e2e {
namespace {

using qv::test::DrawnIcon;
using qv::test::IsAmber;
using qv::test::IsCharcoal;

#pragma pack(push, 2)
// One entry of an icon group resource (RT_GROUP_ICON): the image's size and the id of
// the RT_ICON resource that holds it.
struct GroupIconEntry {
    BYTE Width, Height, Colors, Reserved;
    WORD Planes, BitCount;
    DWORD Bytes;
    WORD Id;
};
struct GroupIconHeader {
    WORD Reserved, Type, Count;
};
#pragma pack(pop)

class ProgramFile : public ::testing::Test {
protected:
    void SetUp() override {
        FModule = ::LoadLibraryExW(ProgramPath().c_str(), nullptr,
                                   LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(FModule, nullptr) << "cannot map " << std::string(ProgramPath().begin(), ProgramPath().end());
    }
    void TearDown() override {
        if (FModule) ::FreeLibrary(FModule);
    }
    // The bytes of a resource of the program, empty when it has none.
    std::string Resource(LPCWSTR name, LPCWSTR type) const {
        HRSRC info = ::FindResourceW(FModule, name, type);
        HGLOBAL loaded = info ? ::LoadResource(FModule, info) : nullptr;
        const char* data = loaded ? static_cast<const char*>(::LockResource(loaded)) : nullptr;
        return data ? std::string(data, ::SizeofResource(FModule, info)) : std::string();
    }
    HMODULE FModule = nullptr;
};

// The program's version as the build sets it ("major.minor.patch").
struct Version {
    unsigned Major = 0, Minor = 0, Patch = 0;
};
Version BuildVersion() {
    Version v;
    std::sscanf(QUORVEL_VERSION, "%u.%u.%u", &v.Major, &v.Minor, &v.Patch);
    return v;
}

TEST_F(ProgramFile, CarriesOneIconGroupWithEverySizeTheShellAsksFor) {
    const std::string group = Resource(L"MAINICON", MAKEINTRESOURCEW(14) /* RT_GROUP_ICON */);
    ASSERT_GE(group.size(), sizeof(GroupIconHeader)) << "no icon group MAINICON";
    const auto* header = reinterpret_cast<const GroupIconHeader*>(group.data());
    ASSERT_EQ(header->Type, 1) << "not an icon group";
    ASSERT_EQ(group.size(), sizeof(GroupIconHeader) + header->Count * sizeof(GroupIconEntry));
    const auto* entries = reinterpret_cast<const GroupIconEntry*>(header + 1);
    std::set<int> sizes;
    for (int i = 0; i < header->Count; ++i) {
        const GroupIconEntry& e = entries[i];
        const int size = e.Width ? e.Width : 256;
        sizes.insert(size);
        EXPECT_EQ(e.Height ? e.Height : 256, size);
        EXPECT_EQ(e.BitCount, 32) << size << " pixels";
        const std::string image = Resource(MAKEINTRESOURCEW(e.Id), MAKEINTRESOURCEW(3) /* RT_ICON */);
        ASSERT_EQ(image.size(), e.Bytes) << "the image of " << size << " pixels";
        if (size == 256) {
            EXPECT_EQ(image.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8)) << "the largest image is PNG";
        } else {
            const auto* bmp = reinterpret_cast<const BITMAPINFOHEADER*>(image.data());
            EXPECT_EQ(bmp->biWidth, size);
            EXPECT_EQ(bmp->biHeight, 2 * size) << "colour and AND mask";
        }
    }
    EXPECT_EQ(sizes, (std::set<int>{16, 20, 24, 32, 48, 256}));
}

// The drawn icon: transparent corners, a charcoal tile, the amber ring at the top of the
// Q, at the small, the medium and the large shell size.
TEST_F(ProgramFile, IconIsTheAmberQOnACharcoalTileAtEverySize) {
    for (int size : {16, 32, 48}) {
        const qv::UniqueIcon icon(static_cast<HICON>(::LoadImageW(FModule, L"MAINICON", IMAGE_ICON, size, size, 0)));
        ASSERT_TRUE(icon) << size;
        const DrawnIcon drawn(icon.get(), size);
        ASSERT_TRUE(drawn.Drawn()) << size;
        // Positions on the icon's 32-unit design grid, scaled to this size.
        auto at = [&](double ux, double uy) { return drawn.At(int(ux * size / 32), int(uy * size / 32)); };
        EXPECT_EQ(drawn.At(0, 0), 0xFFFFFFu) << size << ": the corner is transparent";
        EXPECT_EQ(drawn.At(size - 1, size - 1), 0xFFFFFFu) << size << ": the corner is transparent";
        EXPECT_TRUE(IsCharcoal(at(5, 27))) << size << ": tile 0x" << std::hex << at(5, 27);
        EXPECT_TRUE(IsAmber(at(15, 6.6))) << size << ": ring 0x" << std::hex << at(15, 6.6);
        EXPECT_TRUE(IsAmber(at(23.5, 23))) << size << ": tail 0x" << std::hex << at(23.5, 23);
    }
}

TEST_F(ProgramFile, VersionResourceNamesTheProgramAndTheBuildVersion) {
    const wstring path = ProgramPath();
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
    ASSERT_GT(size, 0u) << "no version resource";
    std::vector<BYTE> data(size);
    ASSERT_TRUE(::GetFileVersionInfoW(path.c_str(), 0, size, data.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    const Version v = BuildVersion();
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, DWORD(v.Major << 16 | v.Minor));
    EXPECT_EQ(fixed->dwFileVersionLS, DWORD(v.Patch << 16));
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);
    EXPECT_EQ(fixed->dwFileType, DWORD(VFT_APP));

    // The strings of the first language the resource lists, as Explorer shows them.
    WORD* translation = nullptr;
    ASSERT_TRUE(
        ::VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length));
    ASSERT_GE(length, 4u);
    wchar_t block[64];
    std::swprintf(block, 64, L"\\StringFileInfo\\%04x%04x\\", translation[0], translation[1]);
    auto text = [&](const wchar_t* name) {
        wchar_t* value = nullptr;
        UINT chars = 0;
        const wstring key = wstring(block) + name;
        if (!::VerQueryValueW(data.data(), key.c_str(), reinterpret_cast<void**>(&value), &chars) || !value)
            return wstring(L"<none>");
        return wstring(value);
    };
    const std::string built = QUORVEL_VERSION;
    EXPECT_EQ(text(L"FileDescription"), L"Quorvel");
    EXPECT_EQ(text(L"ProductName"), L"Quorvel");
    EXPECT_EQ(text(L"OriginalFilename"), L"quorvel.exe");
    EXPECT_EQ(text(L"FileVersion"), wstring(built.begin(), built.end()));
    EXPECT_EQ(text(L"ProductVersion"), wstring(built.begin(), built.end()));
    const wstring copyright = text(L"LegalCopyright");
    EXPECT_EQ(copyright.rfind(L"Copyright", 0), 0u) << std::string(copyright.begin(), copyright.end());
    EXPECT_NE(copyright.find(L"Quorvel"), wstring::npos);
}

TEST_F(ProgramFile, ManifestAsksForNoElevationNamesWindows7To11AndLongPathsAndPerMonitorDpi) {
    const std::string manifest = Resource(MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24) /* RT_MANIFEST */);
    ASSERT_FALSE(manifest.empty()) << "no manifest";
    auto has = [&](const char* pattern) { return std::regex_search(manifest, std::regex(pattern)); };
    EXPECT_TRUE(has(R"(<requestedExecutionLevel\s+level="asInvoker")"));
    for (const char* os : {"35138b9a-5d96-4fbd-8e2d-a2440225f93a",   // Windows 7
                           "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38",   // Windows 8
                           "1f676c76-80e1-4239-95bb-83d0f6d0da78",   // Windows 8.1
                           "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"})  // Windows 10 and 11
        EXPECT_TRUE(has((std::string(R"(<supportedOS\s+Id="\{)") + os + R"(\}")").c_str())) << os;
    EXPECT_TRUE(has(R"(<longPathAware[^>]*>\s*true\s*</longPathAware>)"));
    EXPECT_TRUE(has(R"(<dpiAware[^>]*>\s*true/pm\s*</dpiAware>)"));
    EXPECT_TRUE(has(R"(<dpiAwareness[^>]*>\s*PerMonitorV2,\s*PerMonitor\s*</dpiAwareness>)"));
    EXPECT_TRUE(has(R"(name="Microsoft\.Windows\.Common-Controls"\s+version="6\.0\.0\.0")"));
    const Version v = BuildVersion();
    char identity[96];
    std::snprintf(identity, sizeof identity, R"(name="Quorvel"\s+version="%u\.%u\.%u\.0")", v.Major, v.Minor, v.Patch);
    EXPECT_TRUE(has(identity));
}

}  // namespace
}  // namespace e2e
