// Whole files as raw bytes, for tests that check what was written byte for byte.
#pragma once
#include <fstream>
#include <iterator>
#include <string>

namespace qv::test {

inline std::string ReadBytes(const std::wstring& name) {
    std::ifstream in(name.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteBytes(const std::wstring& name, const std::string& bytes) {
    std::ofstream out(name.c_str(), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace qv::test
