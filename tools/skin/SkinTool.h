// The skin tool's commands: pack a skin folder, unpack a pack, list a pack's entries,
// and describe a skin (folder or pack). Each returns the process exit code; messages
// go to the given streams as UTF-8.
#pragma once
#include "framework/Types.h"

#include <ostream>
#include <vector>

namespace qv {
class TsSkinModel;
}

namespace qv::tool {

// Loads the skin folder or pack file at path into model.
void LoadModel(const String& path, TsSkinModel& model);

int RunSkinTool(const std::vector<String>& args, std::ostream& out, std::ostream& err);

}  // namespace qv::tool
