// TsSkinManagerBase: the part of the skin manager that does not talk to windows. It
// owns the loaded skin (it is the skin model), keeps the manager's stored settings,
// chooses where a skin comes from (internal skin, pack file, folder), runs the loaders,
// applies hue and saturation, answers lookups and derived colours, and lists skins.
// What reaches windows (announcements, message boxes, hooks) is left to virtual
// methods that the Windows manager (skin/win32/sSkinManager.h) overrides; here they
// only keep the model consistent, so the loading logic runs and is tested everywhere.
// Portable: no <windows.h>.
#pragma once
#include "framework/Bitmap.h"
#include "framework/Classes.h"
#include "framework/StringList.h"
#include "framework/Types.h"
#include "model/acSkinSource.h"
#include "skin/sConst.h"
#include "skin/sConstData.h"
#include "model/sSkinModel.h"
#include "skin/sStoredSkins.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>

namespace qv {

class TMemIniFile;

// ---- process-wide switches of the engine ----
extern bool aSkinChanging;       // a skin is being loaded
extern bool RestrictDrawing;     // a new skin is being announced: controls skip painting
extern bool UnPackedFirst;       // a skin folder wins over a pack of the same name
extern bool InAnimationProcess;  // a skin-change animation is running
extern bool FadingForbidden;
extern bool MouseForbidden;
extern bool fGlobalFlag;
extern bool ac_OptimizeMemory;  // hidden controls drop their caches
extern bool ac_KeepOwnFont;
// Options supplied by the application as lines instead of a skin's Options.dat; none
// by default. Not owned.
extern const TStringList* acMemSkinFile;
// Set by the "/actest" switch: the warning about old skins shows at run time too.
extern bool acTestMode;
// The built-in window-shadow templates (active and inactive), loaded at start-up from
// the program's resources; empty when the program carries none.
extern TBitmap acShdaTemplate;
extern TBitmap acShdiTemplate;

// The 21 lists of foreign control classes to skin automatically, in this fixed order.
enum TacThirdPartyKind {
    ThirdEdits,
    ThirdButtons,
    ThirdBitBtns,
    ThirdCheckBoxes,
    ThirdComboBoxes,
    ThirdGrids,
    ThirdGroupBoxes,
    ThirdListViews,
    ThirdPanels,
    ThirdTreeViews,
    ThirdWWEdits,
    ThirdGridEh,
    ThirdVirtualTrees,
    ThirdPageControl,
    ThirdTabControl,
    ThirdToolBar,
    ThirdStatusBar,
    ThirdSpeedButton,
    ThirdScrollControl,
    ThirdUpDown,
    ThirdScrollBar,
    ThirdPartyKindCount
};

struct TacAnimSettings {
    bool Active = true;
    int Time = 0;  // milliseconds
    int Mode = 1;
};
struct TacBlendOnMovingSettings : TacAnimSettings {
    int BlendValue = 170;
};
enum TacBtnEvent : std::uint8_t { beMouseEnter = 1, beMouseLeave = 2, beMouseDown = 4, beMouseUp = 8 };
struct TacBtnEffects {
    std::uint8_t Events = beMouseEnter | beMouseLeave | beMouseDown | beMouseUp;
};
struct TacAnimEffects {
    TacAnimSettings FormShow, FormHide, DialogHide, PageChange, DialogShow;
    TacAnimSettings SkinChanging{true, 100, 0};
    TacAnimSettings Minimizing{true, 200, 1};
    TacBlendOnMovingSettings BlendOnMoving{{false, 1000, 1}, 170};
    TacBtnEffects Buttons;
};
struct TacSkinEffects {
    bool AllowGlowing = true;
    bool AllowAeroBluring = true;
};
// Menu appearance; menus are not skinned by this program, the values are only kept.
struct TacMenuSupport {
    String IcoLineSkin = L"ICOLINE";
    bool UseExtraLine = false;
    int ExtraLineWidth = 32;
    String ExtraLineFont = L"Tahoma";
    int AlphaBlend = 0;
};

enum TacShowAction { saIgnore, saMinimize, saMaximize, saRestore };

using TacSkinManagerEvent = std::function<void(TComponent* Sender)>;

// The manager is the painting routines' skin source: while a skin is loaded its images
// (whose Manager names this manager) find the master bitmap through it, and the default
// manager is the source of routines given none.
class TsSkinManagerBase : public TComponent, public TsSkinModel, private IacStoredSkinsOwner {
public:
    explicit TsSkinManagerBase(TComponent* owner);
    TsSkinManagerBase(const TsSkinManagerBase&) = delete;
    TsSkinManagerBase& operator=(const TsSkinManagerBase&) = delete;
    ~TsSkinManagerBase() override;

    void AfterConstruction() override;
    void Loaded() override;

    // ---- stored settings ----
    bool Active() const noexcept { return FActive; }
    void SetActive(bool value);
    const String& SkinDirectory() const noexcept { return FSkinDirectory; }
    void SetSkinDirectory(const String& value);
    const String& SkinName() const noexcept { return FSkinName; }
    void SetSkinName(const String& value);
    // The loaded skin's VERSION ("." separator), "N/A" without an active skin.
    String SkinInfo() const;
    void SetSkinInfo(const String&) noexcept {}  // read-only: stored values are ignored
    String Version() const { return acSkinVersion; }
    void SetVersion(const String&) noexcept {}  // read-only
    TsStoredSkins& InternalSkins() noexcept { return FInternalSkins; }
    void SetInternalSkins(const TsStoredSkins& value) { FInternalSkins.Assign(value); }
    int HueOffset() const noexcept { return FHueOffset; }
    void SetHueOffset(int value);
    int Saturation() const noexcept { return FSaturation; }
    void SetSaturation(int value);
    const TStringList& CommonSections() const noexcept { return FCommonSections; }
    void SetCommonSections(const TStringList& value);
    bool ExtendedBorders() const noexcept { return FExtendedBorders; }
    void SetExtendedBorders(bool value);
    TacSkinningRules SkinningRules() const noexcept { return FSkinningRules; }
    void SetSkinningRules(TacSkinningRules value);
    bool SkinnedPopups = true;
    // One class-name list per TacThirdPartyKind, one name per line.
    std::array<String, ThirdPartyKindCount> ThirdParty;
    TacMenuSupport MenuSupport;
    TacAnimEffects AnimEffects;
    TacSkinEffects Effects;

    TacSkinManagerEvent OnBeforeChange, OnAfterChange, OnSkinListChanged;

    // ---- state ----
    TConstantSkinData ConstData;
    bool SkinIsPacked = false;
    TBitmap ShdaTemplate, ShdiTemplate;  // shadow templates of extended borders
    TRect FormShadowSize;
    std::array<TStringList, ThirdPartyKindCount> ThirdLists;  // case-sensitive
    bool NonAutoUpdate = false;
    bool SkinRemoving = false;
    bool GlobalHookInstalled = false;
    TacShowAction ShowState = saIgnore;

    // ---- changes ----
    void BeginUpdate() noexcept { NonAutoUpdate = true; }
    void EndUpdate(bool repaint = true, bool allowAnimation = true);
    void UpdateSkin(bool repaint = true);
    // Reloads the current skin (folder, memory options or internal skin).
    void ReloadSkin();
    // Reloads the current skin from its pack file.
    void ReloadPackedSkin();

    // Announcements. Here they only keep the model consistent; the Windows manager
    // also broadcasts them to every window.
    virtual void SendNewSkin(bool repaint = true);
    virtual void SendRemoveSkin();
    virtual void RepaintForms(bool doLockForms = true) { (void)doLockForms; }

    // ---- lookups ----
    using TsSkinModel::GetMaskIndex;
    using TsSkinModel::IsValidImgIndex;
    using TsSkinModel::IsValidSkinIndex;

    // ---- the painting routines' view of the skin (beyond the model's) ----
    int WebBtnIndex() const noexcept override { return ConstData.IndexWebBtn; }
    int SmallCheckBoxIndex(int state) const noexcept override;
    int MaskWidthLeft(int maskIndex);
    int MaskWidthTop(int maskIndex) const;
    int MaskWidthRight(int maskIndex) const;
    int MaskWidthBottom(int maskIndex) const;
    void GetSkinSections(TStringList& list) const;

    // ---- colours ----
    TColor GetGlobalColor() const noexcept override;
    TColor GetGlobalFontColor() const;
    TColor GetActiveEditColor() const;
    TColor GetActiveEditFontColor() const;
    TColor GetHighLightColor(bool focused = true) const;
    TColor GetHighLightFontColor(bool focused = true) const;

    // ---- skin names ----
    String GetFullSkinDirectory() const;
    String GetSkinNames(TStringList& list, TacSkinTypes skinType = stAllSkins) const;
    String GetExternalSkinNames(TStringList& list, TacSkinTypes skinType = stAllSkins) const;
    String GetRandomSkin() const;

    // ---- internal skins ----
    void ExtractInternalSkin(const String& nameOfSkin, const String& destDir);
    void ExtractByIndex(int index, const String& destDir);

    // ---- loading steps ----
    void CheckVersion(const TsSkinData& skinData);
    void InitConstantIndexes();
    void InitMaskIndexes() noexcept { TsSkinModel::InitMaskIndexes(); }
    void CheckShadows();
    void ChangeSkinHue();
    void ChangeSkinSaturation();
    // Fills the empty (or, with overwrite, every) ThirdParty string from the built-in
    // defaults, then copies every string into its list.
    void LoadThirdNames(bool overwrite = false);
    // Copies every list back into its string.
    void UpdateThirdNames();

    // The error box: one OK button. Loading errors come here.
    virtual void ShowError(const String& text) { (void)text; }

protected:
    // ---- the seams to windows ----
    // A message for the user (version check).
    virtual void ShowMessageText(const String& text) { (void)text; }
    // Snapshot of the forms for the skin-change animation, taken by SetSkinName before
    // the new skin is loaded.
    virtual void CopyExForms() {}
    virtual void UpdateCommonDlgs() {}
    // Extended borders need layered windows; every system the program runs on has them.
    virtual bool ExtendedBordersInEffect() const noexcept { return FExtendedBorders; }
    virtual bool IsDefaultManager() const noexcept { return false; }

    bool IsLoadingOrReading() const noexcept { return HasState(csLoading) || HasState(csReading); }
    // The pack file the current SkinName would be read from.
    String PackFileName() const;
    // Reloads the current skin as hue, saturation and border changes need it.
    void ColourFilterChanged();
    void ReloadForFilterChange();
    void SetActiveFlag(bool value) noexcept { FActive = value; }
    // Makes the default manager the source of routines given none; undone when the skin
    // goes.
    void BindToPainting() noexcept;
    void UnbindFromPainting() noexcept;

private:
    void StoredSkinsChanged() override;
    void LoadFromOptions(const TMemIniFile* options, const class TacSkinConvertor* pack);
    // Loads the skin from an unpacked pack.
    void LoadFromPack(const TacSkinConvertor& pack);
    // Loads the current skin, packed or not as SkinIsPacked says. A failed load leaves
    // the model usable and gives the error's text for the caller to show; nothing
    // when the load succeeded.
    std::optional<String> LoadCurrentSkin();
    String CollectSkinNames(TStringList& list, TacSkinTypes skinType, bool withInternal) const;

    bool FActive = true;
    String FSkinDirectory;
    String FSkinName;
    TsStoredSkins FInternalSkins{this};
    int FHueOffset = 0;
    int FSaturation = 0;
    TStringList FCommonSections;
    bool FExtendedBorders = false;
    TacSkinningRules FSkinningRules = srStdForms | srStdDialogs | srThirdParty;
};

// SkinDirectory made absolute against appFolder (which ends with a delimiter): "..\x"
// is taken from the parent of appFolder, ".\x" from appFolder itself, and a name with
// neither a drive colon nor a leading "\\" share prefix is taken as relative to appFolder.
String ExpandSkinDirectory(const String& skinDirectory, const String& appFolder);
// Saturation values wrap at 101, keeping the dividend's sign (150 acts as 49).
constexpr int EffectiveSaturation(int saturation) noexcept { return saturation % 101; }

}  // namespace qv
