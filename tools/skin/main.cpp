// quorvel-skin: pack, unpack, list and inspect skins from the command line.
#include "SkinTool.h"

#include "framework/Strings.h"

#include <iostream>

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>
#endif

int main(int argc, char** argv) {
    std::vector<qv::String> args;
#ifdef _WIN32
    // The wide command line keeps file names the ANSI code page cannot hold.
    (void)argc;
    (void)argv;
    int count = 0;
    if (LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 1; i < count; ++i) args.emplace_back(wide[i]);
        LocalFree(wide);
    }
#else
    for (int i = 1; i < argc; ++i) args.push_back(qv::Utf8ToString(argv[i]));
#endif
    return qv::tool::RunSkinTool(args, std::cout, std::cerr);
}
