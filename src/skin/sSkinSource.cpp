#include "skin/sSkinSource.h"

#include "framework/IniFiles.h"
#include "framework/StringList.h"
#include "framework/SysUtils.h"
#include "skin/acSkinPack.h"

namespace qv {

void ReadOptionsFile(const String& fileName, TMemIniFile& ini) {
    TStringList lines;
    lines.LoadFromFile(fileName);
    ini.SetStrings(lines);
}

void ReadPackOptions(const TacSkinConvertor& pack, TMemIniFile& ini) {
    if (!pack.Options) throw EacSkinPackError(L"The skin pack holds no Options.dat");
    TStringList lines;
    pack.Options->SetPosition(0);
    lines.LoadFromStream(*pack.Options);
    ini.SetStrings(lines);
}

void LoadFolderSkin(TsSkinModel& model, const String& folder, TsSkinLoadContext context) {
    const String path = IncludeTrailingPathDelimiter(folder);
    TMemIniFile ini;
    ReadOptionsFile(path + L"Options.dat", ini);
    model.SkinData.SkinPath = path;
    context.SkinFile = &ini;
    context.Pack = nullptr;
    LoadSkinModel(model, context);
}

void LoadPackedSkin(TsSkinModel& model, const TacSkinConvertor& pack, TsSkinLoadContext context) {
    TMemIniFile ini;
    ReadPackOptions(pack, ini);
    context.SkinFile = &ini;
    context.Pack = &pack;
    LoadSkinModel(model, context);
}

}  // namespace qv
