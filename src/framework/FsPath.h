// Conversions between the program's strings and std::filesystem paths: wide on Windows,
// UTF-8 elsewhere.
#pragma once
#include "framework/Types.h"

#include <filesystem>

namespace qv {

std::filesystem::path ToFsPath(const String& name);
String FromFsPath(const std::filesystem::path& path);

}  // namespace qv
