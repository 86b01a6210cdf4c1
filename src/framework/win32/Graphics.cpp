#include "framework/win32/Graphics.h"

#include <cmath>
#include <cwchar>

namespace qv {

int ScreenPixelsPerInch() noexcept {
    static const int ppi = [] {
        WindowDC dc(nullptr);
        int v = dc ? ::GetDeviceCaps(dc.get(), LOGPIXELSY) : 96;
        return v > 0 ? v : 96;
    }();
    return ppi;
}

TSize MeasureScreenText(const String& text, HFONT font, UINT flags, int maxWidth) {
    WindowDC dc(nullptr);
    SelectScope select(dc.get(), font);
    RECT r{0, 0, maxWidth > 0 ? maxWidth : 0, 0};
    ::DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &r, flags | DT_CALCRECT);
    return {r.right - r.left, r.bottom - r.top};
}

COLORREF ColorToGdi(TColor color) noexcept {
    if (color == clNone) return 0;
    return static_cast<COLORREF>(ColorToRGB(color)) & 0x00FFFFFF;
}

void TGraphicsObject::Changed() {
    if (OnChanging) OnChanging();
    FreeHandle();
    if (OnChange) OnChange();
}

// ---- TFont ----

TFont::TFont() : FName(L"Tahoma"), FHeight(-11), FColor(clWindowText), FCharset(DEFAULT_CHARSET) {}

void TFont::Assign(const TFont& source) {
    if (&source == this) return;
    FName = source.FName;
    FHeight = source.FHeight;
    FColor = source.FColor;
    FStyle = source.FStyle;
    FCharset = source.FCharset;
    FPitch = source.FPitch;
    FQuality = source.FQuality;
    Changed();
}

bool TFont::SameAs(const TFont& other) const noexcept {
    return FName == other.FName && FHeight == other.FHeight && FColor == other.FColor && FStyle == other.FStyle &&
           FCharset == other.FCharset && FPitch == other.FPitch && FQuality == other.FQuality;
}

void TFont::SetName(const String& name) {
    if (name != FName && !name.empty()) {
        FName = name;
        Changed();
    }
}
void TFont::SetHeight(int height) {
    if (height != FHeight) {
        FHeight = height;
        Changed();
    }
}

int TFont::Size() const noexcept { return -static_cast<int>(std::lround(FHeight * 72.0 / PixelsPerInch)); }

void TFont::SetSize(int points) { SetHeight(-static_cast<int>(std::lround(points * PixelsPerInch / 72.0))); }

void TFont::SetColor(TColor color) {
    if (color == FColor) return;
    FColor = color;
    if (OnChange) OnChange();  // the colour is not part of the font object
}

void TFont::SetStyle(TFontStyles style) {
    if (style != FStyle) {
        FStyle = style;
        Changed();
    }
}
void TFont::SetCharset(TFontCharset charset) {
    if (charset != FCharset) {
        FCharset = charset;
        Changed();
    }
}
void TFont::SetPitch(TFontPitch pitch) {
    if (pitch != FPitch) {
        FPitch = pitch;
        Changed();
    }
}
void TFont::SetQuality(TFontQuality quality) {
    if (quality != FQuality) {
        FQuality = quality;
        Changed();
    }
}

HFONT TFont::Handle() const {
    if (!FHandle) {
        LOGFONTW lf{};
        lf.lfHeight = FHeight;
        lf.lfWeight = (FStyle & fsBold) ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = (FStyle & fsItalic) ? 1 : 0;
        lf.lfUnderline = (FStyle & fsUnderline) ? 1 : 0;
        lf.lfStrikeOut = (FStyle & fsStrikeOut) ? 1 : 0;
        lf.lfCharSet = FCharset;
        lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
        lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
        static const BYTE qualities[] = {DEFAULT_QUALITY,        DRAFT_QUALITY,       PROOF_QUALITY,
                                         NONANTIALIASED_QUALITY, ANTIALIASED_QUALITY, CLEARTYPE_QUALITY};
        lf.lfQuality = qualities[FQuality];
        lf.lfPitchAndFamily = FPitch == fpFixed ? FIXED_PITCH : FPitch == fpVariable ? VARIABLE_PITCH : DEFAULT_PITCH;
        std::wcsncpy(lf.lfFaceName, FName.c_str(), LF_FACESIZE - 1);
        FHandle.reset(::CreateFontIndirectW(&lf));
    }
    return FHandle.get();
}

void TFont::SetHandle(HFONT font) {
    LOGFONTW lf{};
    if (!font || !::GetObjectW(font, sizeof lf, &lf)) return;
    FName = lf.lfFaceName;
    FHeight = lf.lfHeight;
    FStyle = static_cast<TFontStyles>((lf.lfWeight >= FW_BOLD ? fsBold : 0) | (lf.lfItalic ? fsItalic : 0) |
                                      (lf.lfUnderline ? fsUnderline : 0) | (lf.lfStrikeOut ? fsStrikeOut : 0));
    FCharset = lf.lfCharSet;
    Changed();
}

// ---- TBrush ----

void TBrush::Assign(const TBrush& source) {
    if (&source == this) return;
    FColor = source.FColor;
    FStyle = source.FStyle;
    Changed();
}

void TBrush::SetColor(TColor color) {
    if (color == FColor && FStyle != bsClear) return;
    FColor = color;
    if (FStyle == bsClear) FStyle = bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle style) {
    if (style != FStyle) {
        FStyle = style;
        Changed();
    }
}

HBRUSH TBrush::Handle() const {
    if (!FHandle && FStyle != bsClear) {
        if (FStyle == bsSolid) {
            FHandle.reset(::CreateSolidBrush(ColorToGdi(FColor)));
        } else {
            static const int hatches[] = {0,        0,           HS_HORIZONTAL, HS_VERTICAL, HS_FDIAGONAL, HS_BDIAGONAL,
                                          HS_CROSS, HS_DIAGCROSS};
            FHandle.reset(::CreateHatchBrush(hatches[FStyle], ColorToGdi(FColor)));
        }
    }
    return FHandle.get();
}

// ---- TPen ----

void TPen::Assign(const TPen& source) {
    if (&source == this) return;
    FColor = source.FColor;
    FWidth = source.FWidth;
    FStyle = source.FStyle;
    Changed();
}

void TPen::SetColor(TColor color) {
    if (color != FColor) {
        FColor = color;
        Changed();
    }
}
void TPen::SetWidth(int width) {
    if (width < 0) width = 0;
    if (width != FWidth) {
        FWidth = width;
        Changed();
    }
}
void TPen::SetStyle(TPenStyle style) {
    if (style != FStyle) {
        FStyle = style;
        Changed();
    }
}

HPEN TPen::Handle() const {
    if (!FHandle) {
        static const int styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
        FHandle.reset(::CreatePen(styles[FStyle], FWidth, ColorToGdi(FColor)));
    }
    return FHandle.get();
}

}  // namespace qv
