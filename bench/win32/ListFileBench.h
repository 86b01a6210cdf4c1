// What the start-up benchmarks share: a clock in seconds and a list file of N made-up
// paths (ANSI, CR LF), the file the program reads at start-up.
#pragma once

#include <windows.h>

#include <fstream>
#include <string>

namespace qv::bench {

inline double Now() {
    static const double frequency = [] {
        LARGE_INTEGER f{};
        ::QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER t{};
    ::QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / frequency;
}

// Makes `folder` and writes its list file of `count` paths; returns the file's name.
inline std::wstring WriteListFile(const std::wstring& folder, int count) {
    ::CreateDirectoryW(folder.c_str(), nullptr);
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "C:\\Users\\someone\\Documents\\Projects\\quorvel-" + std::to_string(i) + "\\notes.txt\r\n";
    const std::wstring name = folder + L"\\listbox.data";
    std::ofstream(name.c_str(), std::ios::binary | std::ios::trunc).write(text.data(), static_cast<long>(text.size()));
    return name;
}

}  // namespace qv::bench
