// LoadAllGeneralData: [GLOBALINFO] into TsSkinData, one TsGeneralData per section, and
// the sections the application adds to every skin.
#include "skin/sSkinLoaders.h"

#include "framework/IniFiles.h"
#include "framework/StringList.h"
#include "framework/SysUtils.h"
#include "model/sGradientData.h"
#include "skin/acntUtils.h"

#include <array>
#include <iterator>
#include <string_view>
#include <unordered_map>

namespace qv {

namespace {

const wchar_t kGlobalInfo[] = L"GLOBALINFO";

bool IsTrue(const String& value) {
    const String upper = UpperCase(value);
    return upper == L"1" || upper == L"TRUE";
}

std::int16_t I16(int v) noexcept { return static_cast<std::int16_t>(v); }
std::uint8_t U8(int v) noexcept { return static_cast<std::uint8_t>(v); }

// A [GLOBALINFO] value that must be an integer: other text aborts the load.
std::int16_t StrictGlobal(const TMemIniFile& ini, const wchar_t* key, const wchar_t* def) {
    return I16(StrToInt(ini.ReadString(kGlobalInfo, key, def)));
}

void ReadSkinData(TsSkinData& sd, const TMemIniFile& ini) {
    const String g = kGlobalInfo;
    sd.Version = StrToFloatDef(ini.ReadString(g, L"VERSION", String()), 0);
    sd.Author = ini.ReadString(g, L"AUTHOR", String());
    sd.Description = ini.ReadString(g, L"DESCRIPTION", String());
    sd.Shadow1Color = ini.ReadInteger(g, L"SHADOW1COLOR", 0);
    sd.Shadow1Offset = StrictGlobal(ini, L"SHADOW1OFFSET", L"0");
    sd.Shadow1Blur = StrictGlobal(ini, L"SHADOW1BLUR", L"-1");
    sd.Shadow1Transparency = StrictGlobal(ini, L"SHADOW1TRANSPARENCY", L"0");
    sd.ExBorderWidth = I16(ini.ReadInteger(g, L"BORDERWIDTH", 4));
    sd.ExTitleHeight = I16(ini.ReadInteger(g, L"TITLEHEIGHT", 30));
    sd.ExMaxHeight = I16(ini.ReadInteger(g, L"MAXHEIGHT", 0));
    if (sd.ExMaxHeight == 0) sd.ExMaxHeight = sd.ExTitleHeight;
    sd.ExContentOffs = I16(ini.ReadInteger(g, L"FORMOFFSET", SysSizingFrameWidth()));
    sd.ExShadowOffs = I16(ini.ReadInteger(g, L"ALIGNOFFSET", 0));
    sd.ExCenterOffs = I16(ini.ReadInteger(g, L"CENTEROFFSET", 0));
    sd.ExDrawMode = I16(ini.ReadInteger(g, L"BORDERMODE", 0));
    sd.BorderColor = ini.ReadInteger(g, L"BORDERCOLOR", 0);
    sd.BISpacing = I16(ini.ReadInteger(g, L"BISPACE", 0));
    sd.BIVAlign = I16(ini.ReadInteger(g, L"BIVALIGN", 0));
    sd.BIRightMargin = I16(ini.ReadInteger(g, L"BIRIGHT", 0));
    sd.BILeftMargin = I16(ini.ReadInteger(g, L"BILEFT", 0));
    sd.BITopMargin = I16(ini.ReadInteger(g, L"BITOP", 0));
    sd.BIKeepHUE = I16(ini.ReadInteger(g, L"BIKEEPHUE", 0));
    sd.BICloseGlow = StrictGlobal(ini, L"BICONCLOSEGLOW", L"0");
    sd.BICloseGlowMargin = StrictGlobal(ini, L"BICONCLOSEGLOWMARGIN", L"0");
    sd.BIMaxGlow = StrictGlobal(ini, L"BICONMAXGLOW", L"0");
    sd.BIMaxGlowMargin = StrictGlobal(ini, L"BICONMAXGLOWMARGIN", L"0");
    sd.BIMinGlow = StrictGlobal(ini, L"BICONMINGLOW", L"0");
    sd.BIMinGlowMargin = StrictGlobal(ini, L"BICONMINGLOWMARGIN", L"0");
    sd.UseAeroBluring = ini.ReadInteger(g, L"AEROBLUR", 0) != 0;
    sd.ExtShadowColor = ini.ReadInteger(g, L"EXTSHADOW", 0);
}

TsFontColor ToFontColor(const std::array<TColor, 5>& c) noexcept { return TsFontColor{c[0], c[1], c[2], c[3], c[4]}; }

void FillNormalState(TsGeneralData& g) {
    TsGenState& s = g.Props[0];
    s.Color = g.Color;
    s.FontColor = ToFontColor(g.FontColor);
    s.GradientPercent = g.GradientPercent;
    s.GradientData = g.GradientData;
    s.GradientArray = g.GradientArray;
    s.ImagePercent = g.ImagePercent;
    s.GlowColor = g.GlowColor;
    s.GlowSize = g.GlowSize;
    s.Transparency = g.Transparency;
}

void FillHotState(TsGeneralData& g) {
    TsGenState& s = g.Props[1];
    s.Color = g.HotColor;
    s.FontColor = ToFontColor(g.HotFontColor);
    s.GradientPercent = g.HotGradientPercent;
    s.GradientData = g.HotGradientData;
    s.GradientArray = g.HotGradientArray;
    s.ImagePercent = g.HotImagePercent;
    s.GlowColor = g.HotGlowColor;
    s.GlowSize = g.HotGlowSize;
    s.Transparency = g.HotTransparency;
}

// Flat hot fields start at 0 or empty: a section with fewer than two states never
// reads them.
void ClearHotFields(TsGeneralData& g) {
    g.HotColor = 0;
    g.HotTransparency = 0;
    g.HotGradientPercent = 0;
    g.HotGradientData.clear();
    g.HotGradientArray.clear();
    g.HotImagePercent = 0;
    g.HotFontColor = {0, 0, 0, 0, 0};
    g.HotGlowColor = 0;
    g.HotGlowSize = 0;
}

// Gradient texts shorter than two characters hold no gradient: the percentage is
// forced to 0 and the array stays empty.
void PrepareGradient(const String& data, int& percent, TsGradArray& array) {
    array.clear();
    if (data.size() < 2) percent = 0;
    else PrepareGradArray(data, array);
}

// The keys a section's general data is read from, each with its place in a level's table.
constexpr const wchar_t* kSectionKeys[] = {L"PARENTCLASS",
                                           L"COLOR",
                                           L"RESERVEDBOOLEAN",
                                           L"GIVEOWNFONT",
                                           L"GLOW",
                                           L"GLOWMARGIN",
                                           L"FONTCOLOR",
                                           L"TCLEFT",
                                           L"TCTOP",
                                           L"TCRIGHT",
                                           L"TCBOTTOM",
                                           L"TRANSPARENCY",
                                           L"GRADIENTPERCENT",
                                           L"IMAGEPERCENT",
                                           L"GRADIENTDATA",
                                           L"SHOWFOCUS",
                                           L"FADINGENABLED",
                                           L"FADINGITERATIONS",
                                           L"GCOL",
                                           L"GSIZE",
                                           L"STATES",
                                           L"HOTFONTCOLOR",
                                           L"HOTTCLEFT",
                                           L"HOTTCTOP",
                                           L"HOTTCRIGHT",
                                           L"HOTTCBOTTOM",
                                           L"HGCOL",
                                           L"HGSIZE",
                                           L"HOTCOLOR",
                                           L"HOTTRANSPARENCY",
                                           L"HOTGRADIENTPERCENT",
                                           L"HOTGRADIENTDATA",
                                           L"HOTIMAGEPERCENT"};
constexpr std::size_t kSectionKeyCount = std::size(kSectionKeys);

// The place of a key name in kSectionKeys, or -1 for a key general data does not read.
int SectionKeySlot(std::wstring_view name) {
    static const std::unordered_map<std::wstring_view, int> slots = [] {
        std::unordered_map<std::wstring_view, int> m;
        for (std::size_t i = 0; i < kSectionKeyCount; ++i) m.emplace(kSectionKeys[i], static_cast<int>(i));
        return m;
    }();
    const auto it = slots.find(name);
    return it == slots.end() ? -1 : it->second;
}

// A section and its PARENTCLASS ancestors, as FindString and FindInteger walk them (at
// most MaxParentDepth steps), read once per section: each level holds the first value of
// every key general data reads (null when the level lacks it).
class SectionChain {
public:
    SectionChain(const TMemIniFile& ini, const String& section) {
        FLevels.push_back(ValuesOf(ini, section));
        String current = section;
        for (int depth = 0; depth < MaxParentDepth; ++depth) {
            String parent = Own(L"PARENTCLASS", FLevels.size() - 1);
            if (parent.empty() || parent == L"?" || parent == current) break;
            FLevels.push_back(ValuesOf(ini, parent));
            current = std::move(parent);
        }
    }
    // The section's own value of key ("" when it has none), as ReadString gives it.
    String Own(const wchar_t* key, std::size_t level = 0) const {
        const String* value = FLevels[level].at(Slot(key));
        return value ? *value : String();
    }
    // FindString: the first level's value that is not "?".
    String Str(const wchar_t* key, const String& def) const {
        const std::size_t slot = Slot(key);
        for (const Values& level : FLevels)
            if (const String* value = level.at(slot); value && *value != L"?") return *value;
        return def;
    }
    // FindInteger: a value inherited from a parent level arrives as RGB (and so does the
    // -1 of a key absent everywhere, once per level it passed, as FindInteger gives it).
    int Int(const wchar_t* key, int def) const {
        const int value = IntFrom(0, Slot(key));
        return value == -1 ? def : value;
    }

private:
    using Values = std::array<const String*, kSectionKeyCount>;
    static Values ValuesOf(const TMemIniFile& ini, const String& section) {
        Values values{};
        if (const auto* keys = ini.SectionKeys(section))
            for (const auto& key : *keys) {
                const int slot = SectionKeySlot(key.Name);
                if (slot < 0) continue;
                const String*& value = values[static_cast<std::size_t>(slot)];
                if (!value) value = &key.Value;
            }
        return values;
    }
    // A key missing from kSectionKeys gives a place past the end, which at() refuses.
    static std::size_t Slot(const wchar_t* key) { return static_cast<std::size_t>(SectionKeySlot(key)); }
    // ReadInteger(level, key, -1), then the parent levels as FindInteger goes up.
    int IntFrom(std::size_t level, std::size_t slot) const {
        const String* text = FLevels[level].at(slot);
        const int value = text ? StrToIntDef(*text, -1) : -1;
        if (value != -1 || level + 1 == FLevels.size()) return value;
        return ColorToRGB(IntFrom(level + 1, slot));
    }
    std::vector<Values> FLevels;
};

TsGeneralData ReadSection(const TMemIniFile& ini, const String& section) {
    const SectionChain chain(ini, section);
    auto fi = [&](const wchar_t* key, int def) { return chain.Int(key, def); };
    auto fs = [&](const wchar_t* key, const String& def) { return chain.Str(key, def); };
    TsGeneralData g;
    ClearHotFields(g);
    g.ClassName = section;
    g.ParentClass = chain.Own(L"PARENTCLASS");
    g.Color = ColorToRGB(fi(L"COLOR", clWhite));
    g.ReservedBoolean = IsTrue(fs(L"RESERVEDBOOLEAN", String()));
    g.GiveOwnFont = IsTrue(fs(L"GIVEOWNFONT", String()));
    g.GlowCount = fi(L"GLOW", 0);
    g.GlowMargin = fi(L"GLOWMARGIN", 0);
    g.BorderIndex = g.ImgTL = g.ImgTR = g.ImgBL = g.ImgBR = g.TextureNormal = -1;
    g.FontColor = {fi(L"FONTCOLOR", 0), fi(L"TCLEFT", clNone), fi(L"TCTOP", clNone), fi(L"TCRIGHT", clNone),
                   fi(L"TCBOTTOM", clNone)};
    g.Transparency = fi(L"TRANSPARENCY", 0);
    g.GradientPercent = fi(L"GRADIENTPERCENT", 0);
    g.ImagePercent = fi(L"IMAGEPERCENT", 0);
    g.GradientData = fs(L"GRADIENTDATA", L" ");
    PrepareGradient(g.GradientData, g.GradientPercent, g.GradientArray);
    g.ShowFocus = IsTrue(fs(L"SHOWFOCUS", String()));
    g.FadingEnabled = IsTrue(fs(L"FADINGENABLED", String()));
    g.FadingIterations = fi(L"FADINGITERATIONS", 5);
    g.GlowColor = ColorToRGB(fi(L"GCOL", clWhite));
    g.GlowSize = U8(fi(L"GSIZE", 0));
    FillNormalState(g);
    g.States = fi(L"STATES", 4);
    if (g.States < 2) {
        g.Props[1] = g.Props[0];
        return g;
    }
    g.HotFontColor = {fi(L"HOTFONTCOLOR", 0), fi(L"HOTTCLEFT", clNone), fi(L"HOTTCTOP", clNone),
                      fi(L"HOTTCRIGHT", clNone), fi(L"HOTTCBOTTOM", clNone)};
    g.HotGlowColor = ColorToRGB(fi(L"HGCOL", clWhite));
    g.HotGlowSize = U8(fi(L"HGSIZE", 0));
    g.HotColor = fi(L"HOTCOLOR", clWhite);
    g.HotTransparency = fi(L"HOTTRANSPARENCY", 0);
    g.HotGradientPercent = fi(L"HOTGRADIENTPERCENT", 0);
    g.HotGradientData = fs(L"HOTGRADIENTDATA", String());
    PrepareGradient(g.HotGradientData, g.HotGradientPercent, g.HotGradientArray);
    g.HotImagePercent = fi(L"HOTIMAGEPERCENT", 0);
    FillHotState(g);
    return g;
}

// The keys of a section the application adds: each from the section's own lines, else
// from the parent entry the lines name, else the default.
class CommonKeys {
public:
    CommonKeys(const TMemIniFile& common, const String& section, const TsGeneralData* parent)
        : FCommon(common), FSection(section), FHasParent(parent != nullptr) {}
    int Int(const wchar_t* key, int fromParent, int def) const {
        const int v = FCommon.ReadInteger(FSection, key, -1);
        if (v != -1) return v;
        return FHasParent ? fromParent : def;
    }
    String Str(const wchar_t* key, const String& fromParent, const String& def) const {
        const String v = FCommon.ReadString(FSection, key, L"?");
        if (v != L"?") return v;
        return FHasParent ? fromParent : def;
    }
    bool Bool(const wchar_t* key, bool fromParent) const {
        const String v = FCommon.ReadString(FSection, key, L"?");
        if (v != L"?") return IsTrue(v);
        return FHasParent ? fromParent : false;
    }

private:
    const TMemIniFile& FCommon;
    const String& FSection;
    bool FHasParent;
};

const wchar_t* const kFontColorKeys[5] = {L"FONTCOLOR", L"TCLEFT", L"TCTOP", L"TCRIGHT", L"TCBOTTOM"};
const wchar_t* const kHotFontColorKeys[5] = {L"HOTFONTCOLOR", L"HOTTCLEFT", L"HOTTCTOP", L"HOTTCRIGHT", L"HOTTCBOTTOM"};

// The model's entry whose class name, upper-cased, is upperName; nullptr when none is.
const TsGeneralData* FindEntry(const TsSkinModel& model, const String& upperName) {
    for (const TsGeneralData& e : model.gd)
        if (UpperCase(e.ClassName) == upperName) return &e;
    return nullptr;
}

// The normal state's values of an added section; p is its parent entry (or a blank one).
void ReadCommonNormalState(const CommonKeys& k, const TsGeneralData& p, TsGeneralData& g) {
    g.Color = ColorToRGB(k.Int(L"COLOR", p.Color, clWhite));
    g.ReservedBoolean = k.Bool(L"RESERVEDBOOLEAN", p.ReservedBoolean);
    g.GiveOwnFont = k.Bool(L"GIVEOWNFONT", p.GiveOwnFont);
    g.GlowCount = k.Int(L"GLOW", p.GlowCount, 0);
    g.GlowMargin = k.Int(L"GLOWMARGIN", p.GlowMargin, 0);
    g.BorderIndex = g.ImgTL = g.ImgTR = g.ImgBL = g.ImgBR = g.TextureNormal = -1;
    for (int i = 0; i < 5; ++i) g.FontColor[i] = k.Int(kFontColorKeys[i], p.FontColor[i], i == 0 ? 0 : clNone);
    g.Transparency = k.Int(L"TRANSPARENCY", p.Transparency, 0);
    g.GradientPercent = k.Int(L"GRADIENTPERCENT", p.GradientPercent, 0);
    g.ImagePercent = k.Int(L"IMAGEPERCENT", p.ImagePercent, 0);
    g.GradientData = k.Str(L"GRADIENTDATA", p.GradientData, L" ");
    PrepareGradient(g.GradientData, g.GradientPercent, g.GradientArray);
    g.ShowFocus = k.Bool(L"SHOWFOCUS", p.ShowFocus);
    g.FadingEnabled = k.Bool(L"FADINGENABLED", p.FadingEnabled);
    g.FadingIterations = k.Int(L"FADINGITERATIONS", p.FadingIterations, 5);
    g.GlowColor = ColorToRGB(k.Int(L"GCOL", p.GlowColor, clWhite));
    g.GlowSize = U8(k.Int(L"GSIZE", p.GlowSize, 0));
    FillNormalState(g);
}

// The hot state's values of an added section, as ReadCommonNormalState reads the normal ones.
void ReadCommonHotState(const CommonKeys& k, const TsGeneralData& p, TsGeneralData& g) {
    for (int i = 0; i < 5; ++i) g.HotFontColor[i] = k.Int(kHotFontColorKeys[i], p.HotFontColor[i], i == 0 ? 0 : clNone);
    g.HotGlowColor = ColorToRGB(k.Int(L"HGCOL", p.HotGlowColor, clWhite));
    g.HotGlowSize = U8(k.Int(L"HGSIZE", p.HotGlowSize, 0));
    g.HotColor = k.Int(L"HOTCOLOR", p.HotColor, clWhite);
    g.HotTransparency = k.Int(L"HOTTRANSPARENCY", p.HotTransparency, 0);
    g.HotGradientPercent = k.Int(L"HOTGRADIENTPERCENT", p.HotGradientPercent, 0);
    g.HotGradientData = k.Str(L"HOTGRADIENTDATA", p.HotGradientData, String());
    PrepareGradient(g.HotGradientData, g.HotGradientPercent, g.HotGradientArray);
    g.HotImagePercent = k.Int(L"HOTIMAGEPERCENT", p.HotImagePercent, 0);
}

// A section the application adds, read from its lines in common and its parent entry.
TsGeneralData ReadCommonSection(const TsSkinModel& model, const TMemIniFile& skinFile, const TMemIniFile& common,
                                const String& section) {
    const String parentName = UpperCase(common.ReadString(section, L"PARENTCLASS", L"-1"));
    const TsGeneralData* parent = FindEntry(model, parentName);
    const CommonKeys keys(common, section, parent);
    const TsGeneralData none;
    const TsGeneralData& p = parent ? *parent : none;
    TsGeneralData g;
    ClearHotFields(g);
    g.ClassName = section;
    g.ParentClass = parentName;
    ReadCommonNormalState(keys, p, g);
    g.States = keys.Int(L"STATES", p.States, 3);
    ReadCommonHotState(keys, p, g);
    // The state count that decides the hot look comes from the skin's own options.
    g.States = FindInteger(skinFile, section, L"STATES", 4);
    if (g.States < 2) g.Props[1] = g.Props[0];
    else FillHotState(g);
    return g;
}

void AddCommonSections(TsSkinModel& model, const TsSkinLoadContext& context) {
    if (context.CommonSections.empty()) return;
    TStringList lines;
    for (const String& l : context.CommonSections) lines.Add(l);
    TMemIniFile common;
    common.SetStrings(lines);
    for (const TacIniSection& s : GetIniSections(context.CommonSections)) {
        if (model.GetSkinIndex(s.Name) >= 0) continue;
        TsGeneralData g = ReadCommonSection(model, *context.SkinFile, common, s.Name);
        model.gd.push_back(std::move(g));
    }
}

}  // namespace

void LoadAllGeneralData(TsSkinModel& model, const TsSkinLoadContext& context) {
    const TMemIniFile& ini = *context.SkinFile;
    ReadSkinData(model.SkinData, ini);
    if (context.CheckVersion) context.CheckVersion(model.SkinData);
    model.gd.clear();
    TStringList sections;
    ini.ReadSections(sections);
    for (const String& section : sections) model.gd.push_back(ReadSection(ini, section));
    AddCommonSections(model, context);
    model.InitMaskIndexes();
}

void LoadSkinModel(TsSkinModel& model, const TsSkinLoadContext& context) {
    LoadAllMasks(model, context);
    LoadAllPatterns(model, context);
    LoadAllGeneralData(model, context);
}

}  // namespace qv
