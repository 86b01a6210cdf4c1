// Loading a whole skin into a model from a folder or from an unpacked pack: the options
// file read as text, then the loaders in order. Portable.
#pragma once
#include "framework/Types.h"
#include "skin/sSkinLoaders.h"

namespace qv {

class TacSkinConvertor;

// The options file and images of folder (images are looked up beside Options.dat).
// EFOpenError when the folder holds no readable Options.dat.
void LoadFolderSkin(TsSkinModel& model, const String& folder, TsSkinLoadContext context = {});

// The options and images of an unpacked pack. A pack without an options entry cannot
// make a skin: EacSkinPackError "The skin pack holds no Options.dat".
void LoadPackedSkin(TsSkinModel& model, const TacSkinConvertor& pack, TsSkinLoadContext context = {});

}  // namespace qv
