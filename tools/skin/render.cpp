// quorvel-skin render: paints one section of a skin in a state onto a picture of the
// given size (over a background colour) and writes it as PNG, so a skin's look can be
// checked without running the program.
#include "SkinTool.h"

#include "framework/Imaging.h"
#include "framework/Streams.h"
#include "framework/Strings.h"
#include "framework/SysUtils.h"
#include "paint/acBlit.h"
#include "model/acSkinSource.h"
#include "paint/sGraphUtils_Item.h"
#include "model/sSkinModel.h"

#ifdef _WIN32
#include "paint/win32/sGraphUtils_Text.h"
#endif

#include <cwctype>
#include <fstream>

namespace qv::tool {

namespace {

class ERenderError : public Exception {
public:
    using Exception::Exception;
};

int ParseInt(const String& s, const String& what) {
    try {
        return StrToInt(s);
    } catch (const Exception&) {
        throw ERenderError(L"Not a valid " + what + L": " + s);
    }
}

// "#RRGGBB" or a colour value (0x00BBGGRR as a number).
TColor ParseColor(const String& s) {
    if (s.size() == 7 && s[0] == L'#') {
        const int rgb = ParseInt(L"$" + s.substr(1), L"colour");
        return static_cast<TColor>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
    }
    return ParseInt(s, L"colour");
}

}  // namespace

int CmdRender(const std::vector<String>& args, std::ostream& out, std::ostream& err) {
    if (args.size() < 6) {
        err << "usage: quorvel-skin render SKIN SECTION STATE WIDTHxHEIGHT OUT.png [--bg COLOR] [--text TEXT]\n";
        return 2;
    }
    const String& skin = args[1];
    const String section = UpperCase(args[2]);
    const int state = ParseInt(args[3], L"state");
    const String& size = args[4];
    const auto x = size.find_first_of(L"xX");
    if (x == String::npos) throw ERenderError(L"Size must be WIDTHxHEIGHT: " + size);
    const int width = ParseInt(size.substr(0, x), L"width"), height = ParseInt(size.substr(x + 1), L"height");
    // Pictures are limited so a typing slip cannot ask for gigabytes.
    if (width < 1 || height < 1 || width > 8192 || height > 8192)
        throw ERenderError(L"Width and height must lie between 1 and 8192: " + size);
    TColor background = clWhite;
    String text;
    bool hasText = false;
    for (std::size_t i = 6; i < args.size(); i += 2) {
        if (i + 1 >= args.size()) throw ERenderError(L"Missing value after " + args[i]);
        if (args[i] == L"--bg") background = ParseColor(args[i + 1]);
        else if (args[i] == L"--text") {
            text = args[i + 1];
            hasText = true;
        } else throw ERenderError(L"Unknown option: " + args[i]);
    }

    TsSkinModel source;
    LoadModel(skin, source);
    const int index = source.GetSkinIndex(section);
    if (index < 0) throw ERenderError(L"The skin has no section " + section);

    TBitmap picture(width, height, pf32bit);
    const TCacheInfo ci{nullptr, 0, 0, ColorToRGB(background), false};
    FillPixels(Rows32(&picture), {0, 0, width, height}, ColorToPixel(ColorToRGB(background)));
    PaintItem(index, section, ci, true, state, {0, 0, width, height}, {0, 0}, &picture, &source);
    if (hasText) {
#ifdef _WIN32
        WriteText32(&picture, text, true, {0, 0, width, height}, DT_SINGLELINE | DT_CENTER | DT_VCENTER, index,
                    state > 0, &source);
#else
        throw ERenderError(L"Captions are drawn by the platform's text renderer: use the Windows build for --text");
#endif
    }
    const std::vector<std::uint8_t> png = SavePNG(picture);
    TFileStream file(args[5], fmCreate);
    file.WriteBuffer(png.data(), png.size());
    out << "rendered " << StringToUtf8(section) << " state " << state << " at " << width << "x" << height << " to "
        << StringToUtf8(args[5]) << "\n";
    return 0;
}

}  // namespace qv::tool
