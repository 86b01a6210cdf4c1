#include "skin/sSkinSource.h"

#include "framework/IniFiles.h"
#include "framework/StringList.h"
#include "framework/SysUtils.h"
#include "skin/acSkinPack.h"

namespace qv {

void LoadFolderSkin(TsSkinModel& model, const String& folder, TsSkinLoadContext context) {
    const String path = IncludeTrailingPathDelimiter(folder);
    TStringList lines;
    lines.LoadFromFile(path + L"Options.dat");
    TMemIniFile ini;
    ini.SetStrings(lines);
    model.SkinData.SkinPath = path;
    context.SkinFile = &ini;
    context.Pack = nullptr;
    LoadSkinModel(model, context);
}

void LoadPackedSkin(TsSkinModel& model, const TacSkinConvertor& pack, TsSkinLoadContext context) {
    if (!pack.Options) throw EacSkinPackError(L"The skin pack holds no Options.dat");
    TStringList lines;
    pack.Options->SetPosition(0);
    lines.LoadFromStream(*pack.Options);
    TMemIniFile ini;
    ini.SetStrings(lines);
    context.SkinFile = &ini;
    context.Pack = &pack;
    LoadSkinModel(model, context);
}

}  // namespace qv
