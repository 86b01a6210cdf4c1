#include "SkinTool.h"

#include "framework/Streams.h"
#include "framework/Strings.h"
#include "framework/SysUtils.h"
#include "skin/acSkinPack.h"
#include "skin/acSkinPackWriter.h"
#include "skin/sSkinSource.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>

namespace qv::tool {

namespace {

namespace fs = std::filesystem;

const char kUsage[] =
    "usage: quorvel-skin pack FOLDER OUT.cvz [NAME...]\n"
    "                                             pack a skin folder (NAMEs: only\n"
    "                                             those files, in that order)\n"
    "       quorvel-skin unpack PACK FOLDER       write a pack's files into FOLDER\n"
    "       quorvel-skin list PACK                entry names and sizes\n"
    "       quorvel-skin info FOLDER|PACK [--json] describe a skin\n"
    "       quorvel-skin render SKIN SECTION STATE WIDTHxHEIGHT OUT.png [--bg COLOR] [--text TEXT]\n";

std::string U8(const String& s) { return StringToUtf8(s); }

class EToolError : public Exception {
public:
    using Exception::Exception;
};

fs::path ToPath(const String& s) {
#ifdef _WIN32
    return fs::path(s);
#else
    return fs::path(U8(s));
#endif
}

String FromPath(const fs::path& p) {
#ifdef _WIN32
    return p.wstring();
#else
    return Utf8ToString(p.string());
#endif
}

// The regular files directly inside folder, sorted by name.
std::vector<String> ListFiles(const String& folder) {
    std::vector<String> names;
    std::error_code ec;
    for (fs::directory_iterator it(ToPath(folder), ec), end; !ec && it != end; it.increment(ec))
        if (it->is_regular_file(ec)) names.push_back(FromPath(it->path().filename()));
    if (ec) throw EToolError(L"Cannot read folder " + folder + L": " + Utf8ToString(ec.message()));
    std::sort(names.begin(), names.end());
    return names;
}

String Join(const String& folder, const String& name) { return IncludeTrailingPathDelimiter(folder) + name; }

std::vector<std::uint8_t> ReadFileBytes(const String& fileName) {
    TMemoryStream ms;
    ms.LoadFromFile(fileName);
    return ms.Bytes();
}

void WriteFileBytes(const String& fileName, const std::vector<std::uint8_t>& bytes) {
    TFileStream file(fileName, fmCreate);
    if (!bytes.empty()) file.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

// Entry names come from untrusted packs: only plain file names may be written, never a
// path that could leave the target folder.
bool IsPlainFileName(const String& name) {
    if (name.empty() || name == L"." || name == L"..") return false;
    return name.find_first_of(L"/\\:") == String::npos &&
           std::none_of(name.begin(), name.end(), [](wchar_t c) { return c < 32; });
}

std::unique_ptr<TacSkinConvertor> OpenPack(const String& fileName) {
    if (!FileExists(fileName)) throw EToolError(L"File not found: " + fileName);
    std::unique_ptr<TacSkinConvertor> sc;
    LoadSkinFromFile(fileName, sc, true);
    return sc;
}

// Without names, every file of the folder in name order; with names, exactly those files
// in the order given (a skin whose readers expect a particular entry order).
int CmdPack(const String& folder, const String& outFile, const std::vector<String>& order, std::ostream& out) {
    const std::vector<String> names = order.empty() ? ListFiles(folder) : order;
    for (const String& name : order)
        if (!IsPlainFileName(name)) throw EToolError(L"Not a plain file name: \"" + name + L"\"");
    if (std::none_of(names.begin(), names.end(), [](const String& n) { return SameText(n, L"Options.dat"); }))
        throw EToolError(folder + L" holds no Options.dat");
    std::vector<TacPackEntry> entries;
    for (const String& name : names) {
        bool lost = false;
        const Bytes ansi = StringToAnsi(name, &lost);
        if (lost) throw EToolError(L"The file name " + name + L" cannot be stored in a pack");
        TacPackEntry e{ansi, ReadFileBytes(Join(folder, name))};
        if (static_cast<std::int64_t>(e.Data.size()) > MaxPackEntrySize)
            throw EToolError(name + L" is larger than the 64 MiB a pack entry may hold");
        entries.push_back(std::move(e));
    }
    const std::vector<std::uint8_t> pack = BuildSkinPack(entries);
    WriteFileBytes(outFile, pack);
    out << "packed " << entries.size() << " files into " << U8(outFile) << " (" << pack.size() << " bytes)\n";
    return 0;
}

int CmdUnpack(const String& packFile, const String& folder, std::ostream& out) {
    auto sc = OpenPack(packFile);
    for (const auto& item : sc->Files)
        if (!IsPlainFileName(item.FileName))
            throw EToolError(L"The pack holds an entry that is not a plain file name: \"" + item.FileName + L"\"");
    if (!ForceDirectories(folder)) throw EToolError(L"Cannot create folder " + folder);
    int written = 0;
    if (sc->Options) {
        WriteFileBytes(Join(folder, L"Options.dat"), sc->Options->Bytes());
        ++written;
    }
    for (const auto& item : sc->Files) {
        WriteFileBytes(Join(folder, item.FileName), item.FileStream->Bytes());
        ++written;
    }
    out << "unpacked " << written << " files into " << U8(folder) << "\n";
    return 0;
}

int CmdList(const String& packFile, std::ostream& out) {
    auto sc = OpenPack(packFile);
    if (sc->Options) out << sc->Options->Size() << "\tOptions.dat\n";
    for (const auto& item : sc->Files) out << item.FileStream->Size() << "\t" << U8(item.FileName) << "\n";
    return 0;
}

// ---- info ----

const char* KindName(TacImgType t) {
    switch (t) {
    case itisaBorder: return "border";
    case itisaTexture: return "texture";
    case itisaGlyph: return "glyph";
    case itisaGlow: return "glow";
    case itisaPngGlyph: return "pngglyph";
    }
    return "unknown";
}

std::string Json(const String& s) {
    std::string r = "\"";
    for (unsigned char c : U8(s)) {
        switch (c) {
        case '"': r += "\\\""; break;
        case '\\': r += "\\\\"; break;
        case '\n': r += "\\n"; break;
        case '\r': r += "\\r"; break;
        case '\t': r += "\\t"; break;
        default:
            if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                r += buf;
            } else {
                r += static_cast<char>(c);
            }
        }
    }
    return r + "\"";
}

std::string Number(double v) { return U8(FloatToStr(v)); }

std::map<std::string, int> CountKinds(const TsSkinModel& m) {
    std::map<std::string, int> kinds;
    for (const auto& md : m.ma) ++kinds[KindName(md.ImgType)];
    return kinds;
}

void InfoText(const TsSkinModel& m, std::ostream& out) {
    const TsSkinData& sd = m.SkinData;
    out << "version: " << Number(sd.Version) << "\n"
        << "author: " << U8(sd.Author) << "\n"
        << "description: " << U8(sd.Description) << "\n"
        << "master bitmap: " << m.MasterBitmap.Width() << " x " << m.MasterBitmap.Height() << "\n"
        << "border width: " << sd.ExBorderWidth << ", title height: " << sd.ExTitleHeight
        << ", max height: " << sd.ExMaxHeight << ", content offset: " << sd.ExContentOffs << "\n"
        << "shadow: colour " << sd.Shadow1Color << ", offset " << sd.Shadow1Offset << ", blur " << sd.Shadow1Blur
        << ", transparency " << sd.Shadow1Transparency << "\n"
        << "sections: " << m.gd.size() << "\n";
    for (const auto& g : m.gd) {
        out << "  " << U8(g.ClassName);
        if (!g.ParentClass.empty()) out << " (parent " << U8(g.ParentClass) << ")";
        out << "\n";
    }
    out << "images: " << m.ma.size();
    const char* sep = " (";
    for (const auto& [kind, n] : CountKinds(m)) {
        out << sep << kind << " " << n;
        sep = ", ";
    }
    out << (m.ma.empty() ? "" : ")") << "\n";
    for (const auto& md : m.ma) {
        out << "  " << U8(md.ClassName) << "." << U8(md.PropertyName) << ": " << KindName(md.ImgType)
            << (md.Bmp ? " own " + std::to_string(md.Bmp->Width()) + "x" + std::to_string(md.Bmp->Height())
                       : std::string(" master"))
            << " R(" << md.R.Left << "," << md.R.Top << "," << md.R.Right << "," << md.R.Bottom << ")"
            << " states " << md.ImageCount << " masks " << md.MaskType << " state " << WidthOfImage(md) << "x"
            << HeightOfImage(md) << " borders " << md.WL << "," << md.WT << "," << md.WR << "," << md.WB << " width "
            << md.BorderWidth << " mode " << md.DrawMode << " corner " << md.CornerType << "\n";
    }
    out << "patterns: " << m.pa.size() << "\n";
    for (const auto& pd : m.pa)
        out << "  " << U8(pd.ClassName) << "." << U8(pd.PropertyName) << ": " << pd.Img->Width << "x" << pd.Img->Height
            << "\n";
}

void InfoJson(const TsSkinModel& m, std::ostream& out) {
    const TsSkinData& sd = m.SkinData;
    out << "{\n  \"version\": " << Number(sd.Version) << ",\n  \"author\": " << Json(sd.Author)
        << ",\n  \"description\": " << Json(sd.Description)
        << ",\n  \"masterBitmap\": {\"width\": " << m.MasterBitmap.Width()
        << ", \"height\": " << m.MasterBitmap.Height() << "}"
        << ",\n  \"borderWidth\": " << sd.ExBorderWidth << ", \"titleHeight\": " << sd.ExTitleHeight
        << ", \"maxHeight\": " << sd.ExMaxHeight << ", \"contentOffset\": " << sd.ExContentOffs
        << ",\n  \"shadow\": {\"color\": " << sd.Shadow1Color << ", \"offset\": " << sd.Shadow1Offset
        << ", \"blur\": " << sd.Shadow1Blur << ", \"transparency\": " << sd.Shadow1Transparency << "}"
        << ",\n  \"sectionCount\": " << m.gd.size() << ",\n  \"sections\": [";
    for (std::size_t i = 0; i < m.gd.size(); ++i)
        out << (i ? ", " : "") << "{\"name\": " << Json(m.gd[i].ClassName)
            << ", \"parent\": " << Json(m.gd[i].ParentClass) << "}";
    out << "],\n  \"imageCount\": " << m.ma.size() << ",\n  \"imageKinds\": {";
    const char* sep = "";
    for (const auto& [kind, n] : CountKinds(m)) {
        out << sep << "\"" << kind << "\": " << n;
        sep = ", ";
    }
    out << "},\n  \"images\": [";
    for (std::size_t i = 0; i < m.ma.size(); ++i) {
        const TsMaskData& md = m.ma[i];
        out << (i ? "," : "") << "\n    {\"section\": " << Json(md.ClassName) << ", \"key\": " << Json(md.PropertyName)
            << ", \"kind\": \"" << KindName(md.ImgType) << "\", \"ownBitmap\": " << (md.Bmp ? "true" : "false")
            << ", \"rect\": [" << md.R.Left << ", " << md.R.Top << ", " << md.R.Right << ", " << md.R.Bottom
            << "], \"imageCount\": " << md.ImageCount << ", \"maskType\": " << md.MaskType
            << ", \"stateWidth\": " << WidthOfImage(md) << ", \"stateHeight\": " << HeightOfImage(md)
            << ", \"borders\": [" << md.WL << ", " << md.WT << ", " << md.WR << ", " << md.WB
            << "], \"borderWidth\": " << md.BorderWidth << ", \"drawMode\": " << md.DrawMode
            << ", \"cornerType\": " << md.CornerType << "}";
    }
    out << (m.ma.empty() ? "" : "\n  ") << "],\n  \"patterns\": [";
    for (std::size_t i = 0; i < m.pa.size(); ++i)
        out << (i ? ", " : "") << "{\"section\": " << Json(m.pa[i].ClassName)
            << ", \"key\": " << Json(m.pa[i].PropertyName) << ", \"width\": " << m.pa[i].Img->Width
            << ", \"height\": " << m.pa[i].Img->Height << "}";
    out << "]\n}\n";
}

int CmdInfo(const String& path, bool json, std::ostream& out) {
    TsSkinModel model;
    LoadModel(path, model);
    if (json) InfoJson(model, out);
    else InfoText(model, out);
    return 0;
}

}  // namespace

void LoadModel(const String& path, TsSkinModel& model) {
    if (DirectoryExists(path)) {
        LoadFolderSkin(model, path);
        return;
    }
    auto sc = OpenPack(path);
    LoadPackedSkin(model, *sc);
}

int CmdRender(const std::vector<String>& args, std::ostream& out, std::ostream& err);  // render.cpp

int RunSkinTool(const std::vector<String>& args, std::ostream& out, std::ostream& err) {
    const String command = args.empty() ? String() : args[0];
    const std::size_t n = args.size();
    try {
        if (command == L"pack" && n >= 3) return CmdPack(args[1], args[2], {args.begin() + 3, args.end()}, out);
        if (command == L"unpack" && n == 3) return CmdUnpack(args[1], args[2], out);
        if (command == L"list" && n == 2) return CmdList(args[1], out);
        if (command == L"render") return CmdRender(args, out, err);
        if (command == L"info" && (n == 2 || (n == 3 && args[2] == L"--json"))) return CmdInfo(args[1], n == 3, out);
    } catch (const Exception& e) {
        err << "quorvel-skin: " << U8(e.Message()) << "\n";
        return 1;
    } catch (const std::exception& e) {
        err << "quorvel-skin: " << e.what() << "\n";
        return 1;
    }
    err << kUsage;
    return 2;
}

}  // namespace qv::tool
