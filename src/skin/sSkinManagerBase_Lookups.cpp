// The skin manager's lookups, derived colours, skin listings and internal-skin export.
#include "skin/sSkinManagerBase.h"

#include "framework/FsPath.h"
#include "framework/Streams.h"
#include "framework/Strings.h"
#include "framework/SysUtils.h"
#include "skin/acntUtils.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <random>

namespace qv {

namespace fs = std::filesystem;

namespace {

constexpr bool IsColourMissing(TColor c) noexcept { return c == clNone || c == clFuchsia; }

}  // namespace

String ExpandSkinDirectory(const String& skinDirectory, const String& appFolder) {
    // Where only the portable core runs, a path from the file-system root is absolute too.
    if (IsPosixRootedPath(skinDirectory)) return skinDirectory;
    if (skinDirectory.starts_with(L"..")) {
        String folder = appFolder;
        if (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
        const std::size_t cut = folder.find_last_of(L"\\/");
        folder = cut == String::npos ? String() : folder.substr(0, cut + 1);
        return folder + skinDirectory.substr(std::min<std::size_t>(3, skinDirectory.size()));
    }
    if (skinDirectory.starts_with(L".\\") || skinDirectory.starts_with(L"./"))
        return appFolder + skinDirectory.substr(2);
    if (skinDirectory.find(L':') == String::npos && skinDirectory.find(L"\\\\") == String::npos)
        return appFolder + skinDirectory;
    return skinDirectory;
}

String TsSkinManagerBase::GetFullSkinDirectory() const {
    return ExpandSkinDirectory(FSkinDirectory, ApplicationFolder());
}

// ---- image geometry ----

int TsSkinManagerBase::MaskWidthLeft(int maskIndex) {
    if (!IsValidImgIndex(maskIndex)) return 0;
    TsMaskData& md = ma[static_cast<std::size_t>(maskIndex)];
    if (md.ImageCount == 0) md.ImageCount = 1;
    if (md.WL >= 1) return md.WL;
    if (md.BorderWidth >= 1) return md.BorderWidth;
    return WidthOfImage(md);
}

int TsSkinManagerBase::MaskWidthTop(int maskIndex) const {
    if (!IsValidImgIndex(maskIndex)) return 0;
    const TsMaskData& md = ma[static_cast<std::size_t>(maskIndex)];
    if (md.WT >= 1) return md.WT;
    if (md.BorderWidth >= 1) return md.BorderWidth;
    return HeightOfImage(md);
}

int TsSkinManagerBase::MaskWidthRight(int maskIndex) const {
    if (!IsValidImgIndex(maskIndex)) return 0;
    const TsMaskData& md = ma[static_cast<std::size_t>(maskIndex)];
    if (md.WR >= 1) return md.WR;
    if (md.BorderWidth >= 1) return md.BorderWidth;
    return WidthOfImage(md);
}

int TsSkinManagerBase::MaskWidthBottom(int maskIndex) const {
    if (!IsValidImgIndex(maskIndex)) return 0;
    const TsMaskData& md = ma[static_cast<std::size_t>(maskIndex)];
    if (md.WB >= 1) return md.WB;
    if (md.BorderWidth >= 1) return md.BorderWidth;
    return HeightOfImage(md);
}

void TsSkinManagerBase::GetSkinSections(TStringList& list) const {
    list.Clear();
    if (!SkinData.Active) return;
    for (const TsGeneralData& g : gd) list.Add(g.ClassName);
}

// ---- colours ----

TColor TsSkinManagerBase::GetGlobalColor() const noexcept {
    const int i = GetSkinIndex(L"GLOBALINFO");
    return ColorToRGB(i >= 0 ? gd[static_cast<std::size_t>(i)].Color : clBtnFace);
}

TColor TsSkinManagerBase::GetGlobalFontColor() const {
    const int i = GetSkinIndex(L"GLOBALINFO");
    return i >= 0 ? ColorToRGB(gd[static_cast<std::size_t>(i)].FontColor[0]) : clFuchsia;
}

TColor TsSkinManagerBase::GetActiveEditColor() const {
    const int i = GetSkinIndex(L"GLOBALINFO");
    return ColorToRGB(i >= 0 ? gd[static_cast<std::size_t>(i)].HotColor : clWindow);
}

TColor TsSkinManagerBase::GetActiveEditFontColor() const {
    const int i = GetSkinIndex(L"EDIT");
    if (i < 0) return clWindowText;
    return ColorToRGB(gd[static_cast<std::size_t>(i)].Props[0].FontColor.Color);
}

TColor TsSkinManagerBase::GetHighLightColor(bool focused) const {
    TColor color = clNone;
    const int s = GetSkinIndex(L"SELECTION");
    if (s >= 0) {
        const TsGeneralData& g = gd[static_cast<std::size_t>(s)];
        color = g.Props[focused && g.States > 1 ? 1 : 0].Color;
    }
    if (IsColourMissing(color)) {
        const int m = GetSkinIndex(L"MENUITEM");
        if (m < 0) return clHighlight;
        color = gd[static_cast<std::size_t>(m)].HotColor;
        if (IsColourMissing(color) || color == clWhite) return clHighlight;
    }
    return ColorToRGB(color);
}

TColor TsSkinManagerBase::GetHighLightFontColor(bool focused) const {
    const int s = GetSkinIndex(L"SELECTION");
    if (s >= 0) {
        const TsGeneralData& g = gd[static_cast<std::size_t>(s)];
        const TColor color = g.Props[focused && g.States > 1 ? 1 : 0].FontColor.Color;
        if (!IsColourMissing(color)) return color;
    }
    const int m = GetSkinIndex(L"MENUITEM");
    if (m >= 0) {
        const TColor color = gd[static_cast<std::size_t>(m)].HotFontColor[0];
        if (!IsColourMissing(color)) return ColorToRGB(color);
    }
    return clHighlightText;
}

// ---- skin names ----

String TsSkinManagerBase::CollectSkinNames(TStringList& list, TacSkinTypes skinType, bool withInternal) const {
    std::vector<String> names;
    if (withInternal)
        for (int i = 0; i < FInternalSkins.Count(); ++i) names.push_back(FInternalSkins.Items(i).Name);
    const String folder = FileSystemPath(GetFullSkinDirectory());
    if (DirectoryExists(folder)) {
        std::error_code error;
        for (fs::directory_iterator it(ToFsPath(folder), error), end; !error && it != end; it.increment(error)) {
            const String name = FromFsPath(it->path().filename());
            if (name.empty() || name[0] == L'.') continue;
            const String shortName = name.substr(0, name.find(L'.'));
            std::error_code typeError;
            if (it->is_directory(typeError)) {
                if (skinType != stPacked &&
                    FileExists(IncludeTrailingPathDelimiter(FromFsPath(it->path())) + L"Options.dat"))
                    names.push_back(shortName);
            } else if (skinType != stUnpacked) {
                const std::size_t dot = name.rfind(L'.');
                if (dot != String::npos && name.substr(dot) == L".cvz") names.push_back(shortName);
            }
        }
    }
    const String first = names.empty() ? String() : names.front();
    std::stable_sort(names.begin(), names.end(),
                     [](const String& a, const String& b) { return LowerCase(a) < LowerCase(b); });
    list.Clear();
    for (const String& name : names) list.Add(name);
    return first;
}

String TsSkinManagerBase::GetSkinNames(TStringList& list, TacSkinTypes skinType) const {
    return CollectSkinNames(list, skinType, true);
}

String TsSkinManagerBase::GetExternalSkinNames(TStringList& list, TacSkinTypes skinType) const {
    return CollectSkinNames(list, skinType, false);
}

String TsSkinManagerBase::GetRandomSkin() const {
    TStringList names;
    GetSkinNames(names, stAllSkins);
    if (names.Count() == 0) return String();
    std::mt19937 generator(static_cast<std::uint32_t>(std::chrono::system_clock::now().time_since_epoch().count()));
    std::uniform_int_distribution<int> pick(0, names.Count() - 1);
    return names[pick(generator)];
}

// ---- internal skins ----

void TsSkinManagerBase::ExtractInternalSkin(const String& nameOfSkin, const String& destDir) {
    bool found = false;
    for (int i = 0; i < FInternalSkins.Count(); ++i) {
        if (FInternalSkins.Items(i).Name != nameOfSkin) continue;
        found = true;
        if (DirectoryExists(FileSystemPath(destDir))) ExtractByIndex(i, destDir);
        else ShowError(L"Directory does not exists.");
    }
    if (!found) ShowError(L"Skin does not exists.");
}

void TsSkinManagerBase::ExtractByIndex(int index, const String& destDir) {
    const String dir = NormalDir(destDir);
    if (!DirectoryExists(FileSystemPath(dir))) {
        std::error_code error;
        fs::create_directory(ToFsPath(FileSystemPath(dir)), error);  // one level only
        if (error || !DirectoryExists(FileSystemPath(dir))) {
            ShowError(L"Directory " + dir + L" creation error.");
            return;
        }
    }
    if (index < 0 || index >= FInternalSkins.Count()) {
        ShowError(L"Skin does not exists.");
        return;
    }
    const TsStoredSkin& item = FInternalSkins.Items(index);
    if (!item.PackedData) return;
    try {
        item.PackedData->SaveToFile(FileSystemPath(dir + item.Name + L" extracted.cvz"));
    } catch (const Exception& e) {
        ShowError(e.Message());
    }
}

}  // namespace qv
