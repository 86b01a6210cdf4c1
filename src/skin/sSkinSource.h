// Loading a whole skin into a model from a folder or from an unpacked pack: the options
// file read as text, then the loaders in order. Portable.
#pragma once
#include "framework/Types.h"
#include "skin/sSkinLoaders.h"

namespace qv {

class TacSkinConvertor;
class TMemIniFile;

// The options file at fileName read as text into ini (replacing its contents).
void ReadOptionsFile(const String& fileName, TMemIniFile& ini);
// The options entry of an unpacked pack read into ini. A pack without one cannot make a
// skin: EacSkinPackError "The skin pack holds no Options.dat".
void ReadPackOptions(const TacSkinConvertor& pack, TMemIniFile& ini);

// The options file and images of folder (images are looked up beside Options.dat).
// EFOpenError when the folder holds no readable Options.dat.
void LoadFolderSkin(TsSkinModel& model, const String& folder, TsSkinLoadContext context = {});

// The options and images of an unpacked pack. A pack without an options entry cannot
// make a skin: EacSkinPackError "The skin pack holds no Options.dat".
void LoadPackedSkin(TsSkinModel& model, const TacSkinConvertor& pack, TsSkinLoadContext context = {});

}  // namespace qv
