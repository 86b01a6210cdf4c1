// The skin manager's stored settings, its setters and the loading of a skin.
#include "skin/sSkinManagerBase.h"

#include "framework/IniFiles.h"
#include "framework/Strings.h"
#include "framework/SysUtils.h"
#include "skin/acSkinPack.h"
#include "skin/acntUtils.h"
#include "skin/sSkinLoaders.h"
#include "skin/sSkinSource.h"

#include <algorithm>
#include <exception>
#include <optional>

namespace qv {

bool aSkinChanging = false;
bool RestrictDrawing = false;
bool UnPackedFirst = false;
bool InAnimationProcess = false;
bool FadingForbidden = false;
bool MouseForbidden = false;
bool fGlobalFlag = false;
bool ac_OptimizeMemory = false;
bool ac_KeepOwnFont = false;
const TStringList* acMemSkinFile = nullptr;
bool acTestMode = false;
TBitmap acShdaTemplate;
TBitmap acShdiTemplate;

namespace {

String ErrorText(const std::exception& e) {
    if (const auto* own = dynamic_cast<const Exception*>(&e)) return own->Message();
    return Utf8ToString(std::string_view(e.what()));
}

std::vector<String> LinesOf(const TStringList& list) { return {list.begin(), list.end()}; }

}  // namespace

TsSkinManagerBase::TsSkinManagerBase(TComponent* owner) : TComponent(owner) {
    // Descriptions create components without AfterConstruction, so the defaults that
    // step sets are in place from the start.
    FSkinDirectory = acDefaultSkinDirectory;
    LoadThirdNames(false);
}

TsSkinManagerBase::~TsSkinManagerBase() {
    Destroying();
    // The Windows manager announces the removal itself before this runs; here the
    // model is only emptied.
    if (FActive) {
        FActive = false;
        TsSkinManagerBase::SendRemoveSkin();
    }
    FExtendedBorders = false;
    UnbindFromPainting();
    ReleaseImages();
    gd.clear();
    ShdaTemplate.SetSize(0, 0);
    ShdiTemplate.SetSize(0, 0);
    UpdateThirdNames();
}

void TsSkinManagerBase::AfterConstruction() {
    TComponent::AfterConstruction();
    LoadThirdNames(false);
    if (FSkinDirectory.empty()) FSkinDirectory = acDefaultSkinDirectory;
}

void TsSkinManagerBase::Loaded() {
    TComponent::Loaded();
    if (FSkinDirectory.empty()) FSkinDirectory = acDefaultSkinDirectory;
    if (MenuSupport.IcoLineSkin.empty()) MenuSupport.IcoLineSkin = L"ICOLINE";
    LoadThirdNames(false);
    if (FActive && !FSkinName.empty()) SendNewSkin(false);
    UpdateCommonDlgs();
}

void TsSkinManagerBase::StoredSkinsChanged() {
    if (OnSkinListChanged) OnSkinListChanged(this);
}

// ---- setters ----

void TsSkinManagerBase::SetActive(bool value) {
    if (value == FActive) return;
    FActive = value;
    if (value) {
        SetSkinName(FSkinName);
    } else {
        if (!HasState(csLoading)) SendRemoveSkin();
        InitConstantIndexes();
        UpdateCommonDlgs();
    }
}

String TsSkinManagerBase::PackFileName() const {
    // The pack is looked for in the full skin directory, as the skin folder is: a
    // relative SkinDirectory then finds packs beside the program whatever the current
    // directory is.
    return NormalDir(GetFullSkinDirectory()) + FSkinName + L".cvz";
}

void TsSkinManagerBase::SetSkinName(const String& value) {
    const String oldName = FSkinName;
    FSkinName = value;
    if (FActive) {
        if (OnBeforeChange) OnBeforeChange(this);
        if (ExtendedBordersInEffect() && !NonAutoUpdate && AnimEffects.SkinChanging.Active) CopyExForms();
        aSkinChanging = true;
        SkinData.Active = false;
        if (value.size() > 4 && SameText(value.substr(value.size() - 4), L".cvz"))
            FSkinName = value.substr(0, value.size() - 4);
        SkinIsPacked = FileExists(FileSystemPath(PackFileName()));
        if (UnPackedFirst && DirectoryExists(FileSystemPath(NormalDir(GetFullSkinDirectory()) + value)))
            SkinIsPacked = false;
        if (const auto error = LoadCurrentSkin()) {
            FSkinName = oldName;
            ShowError(*error);
        }
        if (!FActive) SendRemoveSkin();
        else if (!NonAutoUpdate) SendNewSkin(true);
        aSkinChanging = false;
        if (OnAfterChange) OnAfterChange(this);
    }
    UpdateCommonDlgs();
}

void TsSkinManagerBase::SetSkinDirectory(const String& value) {
    if (value == FSkinDirectory) return;
    FSkinDirectory = value;
    SkinData.SkinPath = GetFullSkinDirectory();
    if (OnSkinListChanged) OnSkinListChanged(this);
}

void TsSkinManagerBase::ReloadForFilterChange() {
    aSkinChanging = true;
    SkinIsPacked = FileExists(FileSystemPath(PackFileName()));
    if (const auto error = LoadCurrentSkin()) ShowError(*error);
    aSkinChanging = false;
}

std::optional<String> TsSkinManagerBase::LoadCurrentSkin() {
    try {
        if (SkinIsPacked) ReloadPackedSkin();
        else ReloadSkin();
        return std::nullopt;
    } catch (const std::exception& e) {
        // The model keeps what was built before the error; its image indexes are
        // looked up again so none of them names an image the failed load released.
        TsSkinModel::InitMaskIndexes();
        FillConstantSkinData(ConstData, *this);
        return ErrorText(e);
    }
}

void TsSkinManagerBase::SetHueOffset(int value) {
    if (value == FHueOffset) return;
    FHueOffset = value;
    ColourFilterChanged();
}

void TsSkinManagerBase::SetSaturation(int value) {
    if (value == FSaturation) return;
    FSaturation = value;
    ColourFilterChanged();
}

// Hue and saturation are applied while a skin loads: an active skin is loaded again.
void TsSkinManagerBase::ColourFilterChanged() {
    if (!FActive || HasState(csLoading)) return;
    ReloadForFilterChange();
    if (!NonAutoUpdate) RepaintForms(true);
}

void TsSkinManagerBase::SetExtendedBorders(bool value) {
    if (value == FExtendedBorders) return;
    FExtendedBorders = value;
    if (!SkinData.Active) return;
    CheckShadows();
    ReloadForFilterChange();
    if (!NonAutoUpdate && !IsLoadingOrReading() && !HasState(csDesigning)) RepaintForms(true);
}

void TsSkinManagerBase::SetCommonSections(const TStringList& value) {
    FCommonSections.Clear();
    for (const String& line : value) {
        if (!line.empty() && line[0] == L';') {
            FCommonSections.Add(line);
            continue;
        }
        String packed;
        for (wchar_t c : line)
            if (c != L' ' && c != L'\t') packed += c;
        FCommonSections.Add(packed);
    }
    SetSkinName(FSkinName);
}

void TsSkinManagerBase::SetSkinningRules(TacSkinningRules value) {
    FSkinningRules = value;
    UpdateCommonDlgs();
}

void TsSkinManagerBase::EndUpdate(bool repaint, bool allowAnimation) {
    NonAutoUpdate = false;
    const bool animate = AnimEffects.SkinChanging.Active;
    if (!allowAnimation) AnimEffects.SkinChanging.Active = false;
    try {
        UpdateSkin(repaint);
    } catch (...) {
        AnimEffects.SkinChanging.Active = animate;
        throw;
    }
    AnimEffects.SkinChanging.Active = animate;
}

void TsSkinManagerBase::UpdateSkin(bool repaint) {
    if (FActive) SendNewSkin(repaint);
}

String TsSkinManagerBase::SkinInfo() const {
    if (!FActive) return L"N/A";
    return FloatToStr(SkinData.Version);
}

// ---- the painting routines' view ----

int TsSkinManagerBase::SmallCheckBoxIndex(int state) const noexcept {
    switch (state) {
    case 0: return ConstData.SmallCheckBoxUnChecked;
    case 1: return ConstData.SmallCheckBoxChecked;
    case 2: return ConstData.SmallCheckBoxGrayed;
    default: return -1;
    }
}

void TsSkinManagerBase::BindToPainting() noexcept {
    if (IsDefaultManager()) SetDefaultSkinSource(this);
}

void TsSkinManagerBase::UnbindFromPainting() noexcept {
    if (DefaultSkinSource() == this) SetDefaultSkinSource(nullptr);
}

// ---- announcements (model part) ----

void TsSkinManagerBase::SendNewSkin(bool) {
    if (IsLoadingOrReading()) return;
    SkinData.Active = false;
    RestrictDrawing = true;
    InitConstantIndexes();
    BindToPainting();
    RestrictDrawing = false;
    SkinData.Active = true;
}

void TsSkinManagerBase::SendRemoveSkin() {
    SkinRemoving = true;
    SkinData.Active = false;
    UnbindFromPainting();
    ReleaseImages();
    gd.clear();
    SkinRemoving = false;
}

// ---- loading ----

void TsSkinManagerBase::LoadFromOptions(const TMemIniFile* options, const TacSkinConvertor* pack) {
    if (options) {
        TsSkinLoadContext context;
        context.SkinFile = options;
        context.Pack = pack;
        context.CommonSections = LinesOf(FCommonSections);
        context.CheckVersion = [this](const TsSkinData& data) { CheckVersion(data); };
        LoadSkinModel(*this, context);
        if (FHueOffset != 0) ChangeSkinHue();
        if (FSaturation != 0) ChangeSkinSaturation();
    } else {
        // An internal skin without bytes: images and patterns go, the sections of the
        // previous skin stay, and every image index becomes -1.
        ReleaseImages();
        TsSkinModel::InitMaskIndexes();
    }
    InitConstantIndexes();
    // The images are painted from as soon as they exist (announcements may be held).
    BindToPainting();
}

void TsSkinManagerBase::ReloadSkin() {
    if (!FActive) return;
    aSkinChanging = true;
    SkinData.SkinPath = FileSystemPath(NormalDir(GetFullSkinDirectory()) + FSkinName + L"\\");
    const String optionsFile = SkinData.SkinPath + L"Options.dat";
    if (acMemSkinFile) {
        TMemIniFile ini(String{});
        ini.SetStrings(*acMemSkinFile);
        LoadFromOptions(&ini, nullptr);
    } else if (FileExists(optionsFile)) {
        SkinIsPacked = false;
        TMemIniFile ini;
        ReadOptionsFile(optionsFile, ini);
        LoadFromOptions(&ini, nullptr);
    } else {
        SkinData.SkinPath.clear();
        if (FInternalSkins.Count() == 0) {
            FActive = false;
            return;
        }
        int index = FInternalSkins.IndexOf(FSkinName);
        if (index < 0) {
            FSkinName = FInternalSkins.Items(0).Name;
            index = 0;
        }
        TsStoredSkin& item = FInternalSkins.Items(index);
        if (item.PackedData && item.PackedData->Size() > 0) {
            SkinIsPacked = true;
            auto sc = std::make_unique<TacSkinConvertor>();
            // The internal skin's bytes are lent to the convertor and taken back before
            // anything can release them; a convertor that rejects them never frees them.
            struct TakeBack {
                std::unique_ptr<TacSkinConvertor>& Convertor;
                explicit TakeBack(std::unique_ptr<TacSkinConvertor>& convertor) noexcept : Convertor(convertor) {}
                TakeBack(const TakeBack&) = delete;
                TakeBack& operator=(const TakeBack&) = delete;
                ~TakeBack() {
                    if (Convertor) Convertor->ReleasePackedData();
                }
            } takeBack{sc};
            sc->LendPackedData(item.PackedData.get());
            ExtractPackedData(sc);
            sc->ReleasePackedData();
            LoadFromPack(*sc);
        } else {
            SkinIsPacked = false;
            LoadFromOptions(nullptr, nullptr);
        }
    }
    aSkinChanging = false;
}

void TsSkinManagerBase::ReloadPackedSkin() {
    if (!FActive) return;
    aSkinChanging = true;
    const String packFile = FileSystemPath(PackFileName());
    std::unique_ptr<TacSkinConvertor> sc;
    LoadSkinFromFile(packFile, sc, true);
    if (!sc) throw EFOpenError(L"Cannot open file \"" + packFile + L"\"");
    SkinData.SkinPath = FileSystemPath(NormalDir(GetFullSkinDirectory()));
    LoadFromPack(*sc);
    aSkinChanging = false;
}

void TsSkinManagerBase::LoadFromPack(const TacSkinConvertor& pack) {
    TMemIniFile ini;
    ReadPackOptions(pack, ini);
    LoadFromOptions(&ini, &pack);
}

void TsSkinManagerBase::CheckVersion(const TsSkinData& skinData) {
    if (skinData.Version > 7.99) {
        ShowMessageText(
            L"This version of the skin have not complete support by used Velquin package release.\r\n"
            L"Components must be updated up to latest version for using this skin.");
    } else if (skinData.Version < 7 && (HasState(csDesigning) || acTestMode)) {
        ShowMessageText(L"You are using an old version of the \"" + FSkinName +
                        L"\" skin. Please, update a skins to latest or link with the Velquin support for "
                        L"upgrading of existing skin.\r\n\r\n"
                        L"This notification occurs in design-time only for your information and will not occur "
                        L"in real-time.");
    }
}

// ---- third-party class lists ----

void TsSkinManagerBase::LoadThirdNames(bool overwrite) {
    for (int k = 0; k < ThirdPartyKindCount; ++k) {
        String& names = ThirdParty[static_cast<std::size_t>(k)];
        if (overwrite || names.empty()) names = k == ThirdButtons ? L"TButton" : L" ";
        TStringList& list = ThirdLists[static_cast<std::size_t>(k)];
        list.SetCaseSensitive(true);
        list.SetText(names);
    }
}

void TsSkinManagerBase::UpdateThirdNames() {
    for (int k = 0; k < ThirdPartyKindCount; ++k)
        ThirdParty[static_cast<std::size_t>(k)] = ThirdLists[static_cast<std::size_t>(k)].Text();
}

}  // namespace qv
