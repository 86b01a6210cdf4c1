// The loaders that turn an options file (and the images it names, from a pack or a
// folder) into a TsSkinModel: LoadAllMasks, LoadAllPatterns, LoadAllGeneralData.
// Portable.
#pragma once
#include "framework/Bitmap.h"
#include "framework/Types.h"
#include "model/sSkinModel.h"

#include <functional>
#include <vector>

namespace qv {

class TMemIniFile;
class TacSkinConvertor;

// What the loaders read from.
struct TsSkinLoadContext {
    // The options file of the skin being loaded.
    const TMemIniFile* SkinFile = nullptr;
    // The unpacked pack for a packed or internal skin; nullptr for a folder skin, whose
    // images are files under model.SkinData.SkinPath.
    const TacSkinConvertor* Pack = nullptr;
    // INI lines of sections the application adds to every skin (may be empty).
    std::vector<String> CommonSections;
    // Called once the [GLOBALINFO] values are read (the manager's version check).
    std::function<void(const TsSkinData&)> CheckVersion;
};

// The master bitmap and every image reference of the options file. Previous images and
// patterns are released first. Raises EConvertError on a malformed "@", "^" or "~"
// digit field.
void LoadAllMasks(TsSkinModel& model, const TsSkinLoadContext& context);
// JPEG references: large pictures become patterns, smaller ones texture images.
void LoadAllPatterns(TsSkinModel& model, const TsSkinLoadContext& context);
// [GLOBALINFO] into SkinData, then one TsGeneralData per section and the common
// sections, then the sections' image indexes. Hue and saturation are the manager's to
// apply afterwards.
void LoadAllGeneralData(TsSkinModel& model, const TsSkinLoadContext& context);

// The three loaders in order.
void LoadSkinModel(TsSkinModel& model, const TsSkinLoadContext& context);

// Pixels whose colour is white and whose alpha is 0 become 0 in all four bytes.
void UpdateTransPixels(TBitmap& bmp) noexcept;
// Premultiplies every colour channel by alpha: c = c * a / 255 (integer division).
void UpdateAlpha(TBitmap& bmp) noexcept;
// Makes bmp 32-bit: other formats are converted with alpha 255 on every pixel but the
// key-coloured ones, which keep alpha 0 so they compare equal to the key word.
void MakeBitmap32(TBitmap& bmp);

// Whether name stays inside the folder it is looked up in: not empty, not rooted (no
// leading "\" or "/", so no network path either), no ":" (drive letters, device and
// stream names) and no part that climbs to the parent folder ("..").
bool IsNameInsideSkinFolder(const String& name);

// The bytes of a skin file: the first pack entry whose upper-cased name equals name as
// written, or (without a pack) the file skinPath + name when IsNameInsideSkinFolder(name).
// False when there is no such entry or file, it cannot be read, or the name leaves the
// folder.
bool ReadSkinFile(const TacSkinConvertor* pack, const String& skinPath, const String& name,
                  std::vector<std::uint8_t>& bytes);

}  // namespace qv
