#include "skin/sSkinLoaders.h"

#include "framework/Imaging.h"
#include "framework/IniFiles.h"
#include "framework/StringList.h"
#include "framework/Strings.h"
#include "framework/SysUtils.h"
#include "paint/PixelRows.h"
#include "model/sGradientData.h"
#include "paint/sGraphUtils.h"
#include "skin/acSkinPack.h"
#include "skin/acntUtils.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qv {

namespace {

const wchar_t kGlobalInfo[] = L"GLOBALINFO";
const wchar_t kMasterBitmap[] = L"MASTERBITMAP";

bool Contains(const String& s, const wchar_t* part) { return s.find(part) != String::npos; }

// Copy by a 1-based position: count characters from there, fewer at the end.
String Copy(const String& s, std::size_t pos, std::size_t count) {
    if (pos < 1 || pos > s.size()) return String();
    return s.substr(pos - 1, count);
}

// Digit fields of "@", "^" and "~" references: anything but an integer aborts the load.
int DigitField(const String& value, std::size_t pos, std::size_t count) { return StrToInt(Copy(value, pos, count)); }

// Words of "!" and "#" references: anything but an integer reads as 0.
int WordInt(const String& word) { return StrToIntDef(word, 0); }

// Divisions by image and mask counts taken from skin files: a count that makes the
// divisor 0 or negative gives 0 instead of a crash.
int SafeDiv(int a, int b) noexcept { return b > 0 ? a / b : 0; }

std::int16_t I16(int v) noexcept { return static_cast<std::int16_t>(v); }

// A rectangle of the master bitmap as the options file gives it, clipped to the bitmap
// so that painting never reads outside it; a rectangle that misses the bitmap (or an
// inverted one) becomes empty.
TRect ClipToMaster(const TRect& r, const TBitmap& master) noexcept {
    const TRect bounds{0, 0, master.Width(), master.Height()};
    if (r.IsEmpty()) return TRect{};
    return IntersectRect(r, bounds);
}

// A skin file's bytes: a view of the pack's unpacked entry (no copy), or the file read
// from the skin folder.
struct SkinFile {
    std::vector<std::uint8_t> Own;
    const std::uint8_t* Data = nullptr;
    std::size_t Size = 0;
};

bool OpenSkinFile(const TacSkinConvertor* pack, const String& skinPath, const String& name, SkinFile& file) {
    if (pack) {
        const TacImageItem* item = pack->FindFile(name);
        if (!item || !item->FileStream) return false;
        file.Data = item->FileStream->Bytes().data();
        file.Size = item->FileStream->Bytes().size();
        return true;
    }
    if (!ReadSkinFile(nullptr, skinPath, name, file.Own)) return false;
    file.Data = file.Own.data();
    file.Size = file.Own.size();
    return true;
}

bool DecodeBMP(const SkinFile& file, TBitmap& out) {
    try {
        LoadBMP(file.Data, file.Size, out);
        return true;
    } catch (const Exception&) {
        return false;  // an undecodable image adds no image to the skin
    }
}

bool DecodePNG(const SkinFile& file, TBitmap& out) {
    try {
        LoadPNG(file.Data, file.Size, out);
        return true;
    } catch (const Exception&) {
        return false;
    }
}

bool DecodeJPEG(const std::vector<std::uint8_t>& bytes, TBitmap& out) {
    try {
        LoadJPEG(bytes.data(), bytes.size(), out);
        return true;
    } catch (const Exception&) {
        return false;
    }
}

// Border widths of a frame image whose four widths are all 0: BorderWidth on every side,
// or a third of one state image.
void DefaultBorderWidths(TsMaskData& md) noexcept {
    if (md.WL + md.WT + md.WR + md.WB != 0) return;
    if (md.BorderWidth != 0) {
        md.WL = md.WT = md.WR = md.WB = md.BorderWidth;
    } else {
        md.WL = I16(SafeDiv(md.R.Width(), md.ImageCount * 3));
        md.WT = I16(SafeDiv(md.R.Height(), (md.MaskType + 1) * 3));
        md.WR = md.WL;
        md.WB = md.WT;
    }
}

TsMaskData NewMask(const TsSkinModel& model, const String& section, const String& key) {
    TsMaskData md;
    md.ClassName = section;
    md.PropertyName = key;
    md.Owner = &model;
    return md;
}

// A BMP file image ("EDGE.BMP"): three states and one mask row.
bool AppendBmpFileMask(TsSkinModel& model, const SkinFile& bytes, const String& section, const String& key) {
    auto bmp = std::make_unique<TBitmap>();
    if (!DecodeBMP(bytes, *bmp) || bmp->Width() <= 0) return false;
    MakeBitmap32(*bmp);
    TsMaskData md = NewMask(model, UpperCase(section), UpperCase(key));
    md.R = TRect{0, 0, bmp->Width(), bmp->Height()};
    md.Bmp = std::move(bmp);
    md.MaskType = 1;
    md.ImageCount = 3;
    md.WL = md.WR = I16(md.R.Width() / 9);
    md.WT = md.WB = I16(md.R.Height() / 6);
    md.CornerType = I16(GetCornerType(md, &model.MasterBitmap));
    model.ma.push_back(std::move(md));
    return true;
}

// "#(left,top,right,bottom)(ImageCount,MaskType,BorderWidth,DrawMode)": a rectangle of
// the master bitmap.
void AppendRectMask(TsSkinModel& model, const String& value, const String& section, const String& key) {
    const String delims = L" ()";
    const String rectWord = ExtractWord(2, value, delims);
    const String propWord = ExtractWord(3, value, delims);
    const String inner = L" ,";
    TsMaskData md = NewMask(model, UpperCase(section), UpperCase(key));
    md.R = ClipToMaster(TRect{WordInt(ExtractWord(1, rectWord, inner)), WordInt(ExtractWord(2, rectWord, inner)),
                              WordInt(ExtractWord(3, rectWord, inner)), WordInt(ExtractWord(4, rectWord, inner))},
                        model.MasterBitmap);
    const int words = WordCount(propWord, inner);
    md.ImageCount = I16(std::max(WordInt(ExtractWord(1, propWord, inner)), 1));
    md.MaskType = I16(std::max(WordInt(ExtractWord(2, propWord, inner)), 0));
    md.BorderWidth = I16(std::max(WordInt(ExtractWord(3, propWord, inner)), 0));
    md.DrawMode = I16(words >= 4 ? WordInt(ExtractWord(4, propWord, inner)) : 1);
    DefaultBorderWidths(md);
    md.CornerType = I16(GetCornerType(md, &model.MasterBitmap));
    model.ma.push_back(std::move(md));
}

// The fixed-position rectangle of "@", "^" and "~" references.
TRect FieldRect(const String& value, const TBitmap& master) {
    return ClipToMaster(TRect{DigitField(value, 2, 4), DigitField(value, 7, 4), DigitField(value, 12, 4),
                              DigitField(value, 17, 4)},
                        master);
}

// "!FILE.PNG!ImageCount!MaskType!ImgType!WL!WT!WR!WB!DrawMode": an image of its own.
void AppendImageFileMask(TsSkinModel& model, const TsSkinLoadContext& context, const String& value,
                         const String& section, const String& key) {
    const String delim = L"!";
    const String fileName = ExtractWord(1, value, delim);
    const bool isBmp = Contains(fileName, L".BMP");
    if (!isBmp && !Contains(fileName, L".PNG")) return;
    SkinFile bytes;
    if (!OpenSkinFile(context.Pack, model.SkinData.SkinPath, fileName, bytes)) return;
    auto bmp = std::make_unique<TBitmap>();
    if (isBmp) {
        if (!DecodeBMP(bytes, *bmp)) return;
    } else {
        if (!DecodePNG(bytes, *bmp)) return;
        // Older skins mark transparent pixels as white with alpha 0; later ones expect
        // premultiplied colours.
        if (model.SkinData.Version <= 7.45) UpdateTransPixels(*bmp);
        else UpdateAlpha(*bmp);
    }
    if (bmp->Width() <= 0) return;
    MakeBitmap32(*bmp);
    const int words = WordCount(value, delim);
    TsMaskData md = NewMask(model, section, key);
    // Image types above 4 count as 4; negative ones (no meaning in the format) as 0.
    md.ImgType = static_cast<TacImgType>(std::clamp(WordInt(ExtractWord(4, value, delim)), 0, 4));
    md.ImageCount = I16(WordInt(ExtractWord(2, value, delim)));
    md.MaskType = I16(WordInt(ExtractWord(3, value, delim)));
    md.R = TRect{0, 0, bmp->Width(), bmp->Height()};
    md.Bmp = std::move(bmp);
    if (words < 5) {
        md.WL = md.WR = I16(SafeDiv(md.R.Width(), md.ImageCount * 3));
        md.WT = md.WB = I16(SafeDiv(md.R.Height(), (md.MaskType + 1) * 3));
    } else {
        md.WL = I16(WordInt(ExtractWord(5, value, delim)));
        md.WT = I16(WordInt(ExtractWord(6, value, delim)));
        md.WR = I16(WordInt(ExtractWord(7, value, delim)));
        md.WB = I16(WordInt(ExtractWord(8, value, delim)));
    }
    md.DrawMode = I16(words < 9 ? 1 : WordInt(ExtractWord(9, value, delim)));
    if (md.ImgType == itisaBorder) md.CornerType = I16(GetCornerType(md, &model.MasterBitmap));
    model.ma.push_back(std::move(md));
}

// "@0000@0032@0078@0084@3@1": a glyph from the master bitmap.
void AppendGlyphMask(TsSkinModel& model, const String& value, const String& section, const String& key) {
    TsMaskData md = NewMask(model, section, key);
    md.ImgType = itisaGlyph;
    md.R = FieldRect(value, model.MasterBitmap);
    md.ImageCount = I16(DigitField(value, 22, 1));
    md.MaskType = I16(DigitField(value, 24, 1));
    model.ma.push_back(std::move(md));
}

// "^0042^0021^0047^0026^0001^0001^0001^0001^1^0^0^1": a frame from the master bitmap.
void AppendBorderMask(TsSkinModel& model, const String& value, const String& section, const String& key) {
    TsMaskData md = NewMask(model, section, key);
    md.ImgType = itisaBorder;
    md.R = FieldRect(value, model.MasterBitmap);
    md.WL = I16(DigitField(value, 22, 4));
    md.WT = I16(DigitField(value, 27, 4));
    md.WR = I16(DigitField(value, 32, 4));
    md.WB = I16(DigitField(value, 37, 4));
    md.ImageCount = I16(DigitField(value, 42, 1));
    md.MaskType = I16(DigitField(value, 44, 1));
    md.DrawMode = I16(DigitField(value, 46, 1));
    md.BorderWidth = I16(DigitField(value, 48, 1));
    // Skins before 7.4 did not store the stretch bit: a frame whose centre is one pixel
    // both ways is stretched, any other is tiled.
    if (model.SkinData.Version < 7.4 && md.MaskType > 0) {
        if (SafeDiv(md.R.Width(), md.ImageCount) - md.WL - md.WR == 1 &&
            md.R.Height() / (md.MaskType + 1) - md.WT - md.WB == 1)
            md.DrawMode = I16(md.DrawMode | dmStretch);
        else md.DrawMode = I16(md.DrawMode & ~dmStretch);
    }
    DefaultBorderWidths(md);
    md.CornerType = I16(GetCornerType(md, &model.MasterBitmap));
    model.ma.push_back(std::move(md));
}

// "~0010~0010~0050~0050~01~0": a texture from the master bitmap.
void AppendTextureMask(TsSkinModel& model, const String& value, const String& section, const String& key) {
    TsMaskData md = NewMask(model, section, key);
    md.ImgType = itisaTexture;
    md.R = FieldRect(value, model.MasterBitmap);
    md.ImageCount = 1;
    md.DrawMode = I16(DigitField(value, 22, 2));
    md.MaskType = I16(value.size() < 25 ? 0 : DigitField(value, 25, 1));
    model.ma.push_back(std::move(md));
}

void LoadMasterBitmap(TsSkinModel& model, const TsSkinLoadContext& context, const String& name) {
    TBitmap& master = model.MasterBitmap;
    SkinFile bytes;
    if (!name.empty() && OpenSkinFile(context.Pack, model.SkinData.SkinPath, name, bytes)) {
        if (!DecodeBMP(bytes, master)) master.SetSize(0, 0);
    }
    if (!master.Empty()) MakeBitmap32(master);
    master.Transparent = true;
    master.TransparentColor = clFuchsia;
}

void LoadCommonMasks(TsSkinModel& model, const TsSkinLoadContext& context) {
    if (context.CommonSections.empty()) return;
    TStringList lines;
    for (const String& l : context.CommonSections) lines.Add(l);
    TMemIniFile common;
    common.SetStrings(lines);
    TStringList sections, keys;
    common.ReadSections(sections);
    for (const String& section : sections) {
        if (UpperCase(section) == kGlobalInfo) continue;
        common.ReadSection(section, keys);
        for (const String& key : keys) {
            const String value = common.ReadString(section, key, String());
            const bool hasHash = Contains(value, L"#");
            if (Contains(UpperCase(value), L".BMP") && (!hasHash || model.MasterBitmap.Empty())) {
                // Common sections name files of the application, never pack entries.
                SkinFile bytes;
                if (OpenSkinFile(nullptr, model.SkinData.SkinPath, value, bytes))
                    AppendBmpFileMask(model, bytes, section, key);
            } else if (hasHash && value != L"#") {
                AppendRectMask(model, value, section, key);
            }
        }
    }
}

// Visits every key of every section as ReadSections, ReadSection and ReadString give
// them: a section named twice is visited twice with the keys of its first occurrence, and
// a key named twice in a section with the first value of that name.
template <class Visit>
void ForEachValue(const TMemIniFile& ini, Visit visit) {
    // Up to this many keys a repeated name is found by comparing with the earlier ones;
    // larger sections ask the file's index instead.
    constexpr std::size_t kScanLimit = 64;
    TStringList sections;
    ini.ReadSections(sections);
    for (const String& section : sections) {
        const auto* keys = ini.SectionKeys(section);
        if (!keys) continue;
        for (std::size_t i = 0; i < keys->size(); ++i) {
            const String& name = (*keys)[i].Name;
            if (keys->size() > kScanLimit) {
                visit(section, name, ini.ReadString(section, name, String()));
                continue;
            }
            std::size_t first = 0;
            while ((*keys)[first].Name != name) ++first;
            visit(section, name, (*keys)[first].Value);
        }
    }
}

}  // namespace

// ---- pixels ----

void UpdateTransPixels(TBitmap& bmp) noexcept {
    if (bmp.PixelFormat() != pf32bit) return;
    for (int y = 0; y < bmp.Height(); ++y) {
        std::uint8_t* p = bmp.ScanLine(y);
        for (int x = 0; x < bmp.Width(); ++x, p += 4)
            if (p[0] == 255 && p[1] == 255 && p[2] == 255 && p[3] == 0) p[0] = p[1] = p[2] = 0;
    }
}

void UpdateAlpha(TBitmap& bmp) noexcept {
    if (bmp.PixelFormat() != pf32bit) return;
    for (int y = 0; y < bmp.Height(); ++y) {
        std::uint8_t* p = bmp.ScanLine(y);
        for (int x = 0; x < bmp.Width(); ++x, p += 4) {
            const int a = p[3];
            for (int c = 0; c < 3; ++c) p[c] = static_cast<std::uint8_t>(p[c] * a / 255);
        }
    }
}

void MakeBitmap32(TBitmap& bmp) {
    if (bmp.PixelFormat() == pf32bit) return;
    if (bmp.PixelFormat() != pf24bit) {
        bmp.SetPixelFormat(pf32bit);
        FillAlphaRect(&bmp, TRect{0, 0, bmp.Width(), bmp.Height()}, 255, true);
        return;
    }
    // The common case (every BMP a skin draws with) in one pass: each pixel gets A 255,
    // except the key colour, which keeps A 0 and so stays the key pixel. Every row of the
    // wide bitmap is written in full, so it is not cleared first.
    const int w = bmp.Width();
    TBitmap wide(w, bmp.Height(), pf32bit, TBitmap::TUncleared{});
    auto opaque = [](std::uint32_t rgb) noexcept { return rgb == KeyPixel ? rgb : rgb | 0xFF000000u; };
    for (int y = 0; y < bmp.Height(); ++y) {
        const std::uint8_t* s = bmp.ScanLine(y);
        auto* d = reinterpret_cast<std::uint32_t*>(wide.ScanLine(y));
        int x = 0;
#if defined(__SSE2__)
        // Four pixels from twelve bytes while sixteen can be read: pixels 0-1 and 2-3 go
        // to the two 64-bit halves, the second of each pair moved up by a byte.
        const __m128i low24 = _mm_set_epi32(0, 0x00FFFFFF, 0, 0x00FFFFFF);
        const __m128i high24 = _mm_set_epi32(0x00FFFFFF, 0, 0x00FFFFFF, 0);
        const __m128i key = _mm_set1_epi32(static_cast<int>(KeyPixel));
        const __m128i alpha = _mm_set1_epi32(static_cast<int>(0xFF000000u));
        for (; x + 6 <= w; x += 4, s += 12) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
            const __m128i pairs = _mm_unpacklo_epi64(v, _mm_srli_si128(v, 6));
            const __m128i rgb = _mm_or_si128(_mm_and_si128(pairs, low24),
                                             _mm_and_si128(_mm_slli_epi64(pairs, 8), high24));
            const __m128i keyed = _mm_cmpeq_epi32(rgb, key);
            const __m128i out = _mm_or_si128(rgb, _mm_andnot_si128(keyed, alpha));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(d + x), out);
        }
#endif
        // Four pixels from three little-endian words, then the rest byte by byte.
        for (; x + 4 <= w; x += 4, s += 12) {
            std::uint32_t a, b, c;
            std::memcpy(&a, s, 4);
            std::memcpy(&b, s + 4, 4);
            std::memcpy(&c, s + 8, 4);
            d[x] = opaque(a & 0x00FFFFFFu);
            d[x + 1] = opaque((a >> 24) | ((b & 0xFFFFu) << 8));
            d[x + 2] = opaque((b >> 16) | ((c & 0xFFu) << 16));
            d[x + 3] = opaque(c >> 8);
        }
        for (; x < w; ++x, s += 3) d[x] = opaque(s[0] | s[1] << 8 | static_cast<std::uint32_t>(s[2]) << 16);
    }
    bmp.TakeFrom(wide);
}

// ---- files ----

namespace {

bool ReadWholeFile(const String& path, std::vector<std::uint8_t>& bytes) {
    if (!FileExists(path)) return false;
    try {
        TMemoryStream ms;
        ms.LoadFromFile(path);
        bytes = ms.Bytes();
        return true;
    } catch (const Exception&) {
        return false;  // an unreadable image counts as a missing one
    }
}

// A part of a path that climbs to the parent folder: "..", and on Windows also any part
// of dots and blanks only with two dots or more (the system drops trailing dots and blanks).
bool IsParentPart(const String& part) {
    std::size_t dots = 0;
    for (wchar_t c : part) {
        if (c == L'.') ++dots;
        else if (c != L' ') return false;
    }
    return dots >= 2;
}

}  // namespace

bool IsNameInsideSkinFolder(const String& name) {
    if (name.empty() || name[0] == L'\\' || name[0] == L'/') return false;  // rooted or network
    if (Contains(name, L":")) return false;                                 // drive letters, device and stream names
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = name.find_first_of(L"\\/", start);
        if (IsParentPart(name.substr(start, end == String::npos ? String::npos : end - start))) return false;
        if (end == String::npos) return true;
        start = end + 1;
    }
}

bool ReadSkinFile(const TacSkinConvertor* pack, const String& skinPath, const String& name,
                  std::vector<std::uint8_t>& bytes) {
    if (pack) {
        const TacImageItem* item = pack->FindFile(name);
        if (!item || !item->FileStream) return false;
        bytes = item->FileStream->Bytes();
        return true;
    }
    // A skin folder's names cannot reach files outside it: such a name reads as a
    // missing image.
    if (!IsNameInsideSkinFolder(name)) return false;
    // Skins are written for Windows: "\" separates folders and file names ignore case.
    const String path = ExistingFileIgnoringCase(skinPath + name);
    return !path.empty() && ReadWholeFile(path, bytes);
}

// ---- loaders ----

void LoadAllMasks(TsSkinModel& model, const TsSkinLoadContext& context) {
    model.ReleaseImages();
    const TMemIniFile& ini = *context.SkinFile;
    model.SkinData.Version = StrToFloatDef(ini.ReadString(kGlobalInfo, L"VERSION", String()), 0);
    LoadMasterBitmap(model, context, ini.ReadString(kGlobalInfo, kMasterBitmap, String()));

    ForEachValue(ini, [&](const String& section, const String& key, const String& value) {
        if (section == kGlobalInfo && key == kMasterBitmap) return;
        if (value.empty()) return;
        switch (value[0]) {
        case L'!': AppendImageFileMask(model, context, value, section, key); return;
        case L'@': AppendGlyphMask(model, value, section, key); return;
        case L'^': AppendBorderMask(model, value, section, key); return;
        case L'~': AppendTextureMask(model, value, section, key); return;
        default: break;
        }
        if (!Contains(value, L"#")) {
            const String upper = UpperCase(value);
            if (!Contains(upper, L".BMP")) return;
            SkinFile bytes;
            if (OpenSkinFile(context.Pack, model.SkinData.SkinPath, upper, bytes))
                AppendBmpFileMask(model, bytes, section, key);
        } else if (value != L"#") {
            AppendRectMask(model, value, section, key);
        }
    });
    LoadCommonMasks(model, context);
}

namespace {

// JPEG pictures of at least this many pixels stay compressed as patterns.
constexpr long long kPatternPixels = 900000;

bool IsJpegName(const String& upper) { return Contains(upper, L".JPG") || Contains(upper, L".JPEG"); }

// Whether a value may name a JPEG file at all (a dot and a J), so that the upper-case copy
// IsJpegName needs is made for few values.
bool MayNameJpeg(const String& value) noexcept {
    return value.find(L'.') != String::npos && value.find_first_of(L"jJ") != String::npos;
}

void AppendPattern(TsSkinModel& model, std::vector<std::uint8_t>&& bytes, const TBitmap& decoded, const String& section,
                   const String& key) {
    TsPatternData pd;
    pd.Img = std::make_unique<TacJpegImage>();
    pd.Img->Data = std::move(bytes);
    pd.Img->Width = decoded.Width();
    pd.Img->Height = decoded.Height();
    pd.ClassName = UpperCase(section);
    pd.PropertyName = UpperCase(key);
    model.pa.push_back(std::move(pd));
}

}  // namespace

void LoadAllPatterns(TsSkinModel& model, const TsSkinLoadContext& context) {
    model.pa.clear();
    ForEachValue(*context.SkinFile, [&](const String& section, const String& key, const String& text) {
        if (!MayNameJpeg(text)) return;
        const String value = UpperCase(text);
        if (!IsJpegName(value)) return;
        std::vector<std::uint8_t> bytes;
        if (!ReadSkinFile(context.Pack, model.SkinData.SkinPath, value, bytes)) return;
        TBitmap jpeg;
        if (!DecodeJPEG(bytes, jpeg) || jpeg.Width() <= 0) return;
        if (static_cast<long long>(jpeg.Width()) * jpeg.Height() >= kPatternPixels) {
            AppendPattern(model, std::move(bytes), jpeg, section, key);
        } else {
            auto bmp = std::make_unique<TBitmap>();
            bmp->Assign(jpeg);
            MakeBitmap32(*bmp);
            TsMaskData md = NewMask(model, UpperCase(section), UpperCase(key));
            md.Bmp = std::move(bmp);
            md.ImgType = itisaTexture;
            md.ImageCount = 1;
            model.ma.push_back(std::move(md));
        }
    });
    if (context.CommonSections.empty()) return;
    TStringList lines;
    for (const String& l : context.CommonSections) lines.Add(l);
    TMemIniFile common;
    common.SetStrings(lines);
    ForEachValue(common, [&](const String& section, const String& key, const String& value) {
        if (!MayNameJpeg(value) || !IsJpegName(UpperCase(value))) return;
        std::vector<std::uint8_t> bytes;
        TBitmap jpeg;
        if (ReadSkinFile(nullptr, model.SkinData.SkinPath, value, bytes) && DecodeJPEG(bytes, jpeg) && jpeg.Width() > 0)
            AppendPattern(model, std::move(bytes), jpeg, section, key);
    });
}

}  // namespace qv
