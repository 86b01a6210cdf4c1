// The records a loaded skin is made of: skin-wide values (TsSkinData), one
// TsGeneralData per section with its normal and hot look (TsGenState), and large
// pictures kept as patterns (TsPatternData). Images are TsMaskData (sMaskData.h).
// Portable.
#pragma once
#include "framework/Bitmap.h"
#include "framework/Types.h"
#include "model/sGradientData.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace qv {

// The deepest PARENTCLASS chain followed. Real skins nest three or four levels; a chain
// that loops through two or more sections would otherwise never end.
constexpr int MaxParentDepth = 32;

// The main text colour and the four contour colours; -1 means none.
struct TsFontColor {
    TColor Color = 0;
    TColor Left = clNone, Top = clNone, Right = clNone, Bottom = clNone;
    friend bool operator==(const TsFontColor&, const TsFontColor&) = default;
};

// One state's look (normal or hot) of a section.
struct TsGenState {
    TColor Color = 0;
    TsFontColor FontColor;
    int GradientPercent = 0;
    String GradientData;
    TsGradArray GradientArray;
    int ImagePercent = 0;
    TColor GlowColor = 0;
    std::uint8_t GlowSize = 0;
    int Transparency = 0;
};

// One section of the options file.
struct TsGeneralData {
    String ParentClass;
    String ClassName;
    int States = 4;
    std::array<TsGenState, 2> Props;  // 0: normal, 1: hot
    bool GiveOwnFont = false;
    bool ReservedBoolean = false;
    bool ShowFocus = false;
    int GlowCount = 0;
    int GlowMargin = 0;
    // Image indexes into the model's ma; filled after all sections are read.
    int BorderIndex = -1;
    int ImgTL = -1, ImgTR = -1, ImgBL = -1, ImgBR = -1;
    int TextureNormal = -1;

    TColor Color = clWhite;
    int Transparency = 0;
    int GradientPercent = 0;
    String GradientData = L" ";
    TsGradArray GradientArray;
    int ImagePercent = 0;
    std::array<TColor, 5> FontColor{0, clNone, clNone, clNone, clNone};  // main, left, top, right, bottom

    TColor HotColor = clWhite;
    int HotTransparency = 0;
    int HotGradientPercent = 0;
    String HotGradientData;
    TsGradArray HotGradientArray;
    int HotImagePercent = 0;
    std::array<TColor, 5> HotFontColor{0, clNone, clNone, clNone, clNone};

    bool FadingEnabled = false;
    int FadingIterations = 5;
    TColor HotGlowColor = clWhite;
    TColor GlowColor = clWhite;
    std::uint8_t HotGlowSize = 0;
    std::uint8_t GlowSize = 0;
};

// Skin-wide values from [GLOBALINFO].
struct TsSkinData {
    String SkinPath;      // folder of the skin with a trailing "\" (set by the manager)
    bool Active = false;  // set by the manager
    double Version = 0;
    String Author;
    String Description;
    TColor Shadow1Color = 0;
    std::int16_t Shadow1Offset = 0;
    std::int16_t Shadow1Blur = -1;
    std::int16_t Shadow1Transparency = 0;
    std::int16_t ExBorderWidth = 4;
    std::int16_t ExTitleHeight = 30;
    std::int16_t ExMaxHeight = 0;
    std::int16_t ExContentOffs = 0;
    std::int16_t ExShadowOffs = 0;
    std::int16_t ExCenterOffs = 0;
    std::int16_t ExDrawMode = 0;
    std::int32_t FXColor = 0;
    TColor BorderColor = 0;
    std::int16_t BISpacing = 0;
    std::int16_t BIVAlign = 0;
    std::int16_t BIRightMargin = 0;
    std::int16_t BILeftMargin = 0;
    std::int16_t BITopMargin = 0;
    std::int16_t BIKeepHUE = 0;
    std::int16_t BICloseGlow = 0;
    std::int16_t BICloseGlowMargin = 0;
    std::int16_t BIMaxGlow = 0;
    std::int16_t BIMaxGlowMargin = 0;
    std::int16_t BIMinGlow = 0;
    std::int16_t BIMinGlowMargin = 0;
    bool UseAeroBluring = false;
    TColor ExtShadowColor = 0;
};

// A JPEG picture too large to expand into a 32-bit bitmap: its file bytes stay as they
// are, with the size read once while loading; it is decoded when painted.
struct TacJpegImage {
    std::vector<std::uint8_t> Data;
    int Width = 0, Height = 0;
};

struct TsPatternData {
    std::unique_ptr<TacJpegImage> Img;
    String ClassName;     // upper case
    String PropertyName;  // upper case
    // Img decoded into 32 bits with A 255, made by the painting layer on first use and kept
    // with the skin; DecodeTried stays set when the bytes cannot be decoded.
    mutable std::unique_ptr<TBitmap> Decoded;
    mutable bool DecodeTried = false;
};

}  // namespace qv
