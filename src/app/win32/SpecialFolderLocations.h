// Paths of the shell's special folders and of the program's per-user data folder.
#pragma once
#include "framework/Types.h"

namespace qv {

// The file-system path of a special folder (a CSIDL value), or "" when the shell has no
// path for it.
String GetSpecialFolderLocation(int folder);

// The roaming application-data folder + name + "\", created (with any missing parents) on
// every call. When the application-data folder cannot be resolved, the folder is made
// directly under the root of the current drive instead.
String GetApplicationFolderLocation(const String& name);

}  // namespace qv
