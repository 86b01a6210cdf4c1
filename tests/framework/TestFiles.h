// A scratch folder per test, removed afterwards, and whole-file helpers.
#pragma once
#include "framework/FsPath.h"
#include "framework/Strings.h"
#include "framework/SysUtils.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace qv::test {

// File names go to the system as UTF-8 here, whatever the C library's locale says.
inline std::filesystem::path SystemPath(const String& fileName) { return ToFsPath(fileName); }

class ScratchDir {
public:
    ScratchDir() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        FPath = std::filesystem::temp_directory_path() /
                (std::string("qvfw_") + info->test_suite_name() + "_" + info->name());
        std::filesystem::remove_all(FPath);
        std::filesystem::create_directories(FPath);
    }
    ~ScratchDir() {
        std::error_code ignored;
        std::filesystem::remove_all(FPath, ignored);
    }
    String File(const String& name) const { return FromFsPath(FPath / SystemPath(name)); }
    std::filesystem::path Path() const { return FPath; }

private:
    std::filesystem::path FPath;
};

inline std::string ReadAll(const String& fileName) {
    std::ifstream in(SystemPath(fileName), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteAll(const String& fileName, const std::string& bytes) {
    std::ofstream out(SystemPath(fileName), std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace qv::test
