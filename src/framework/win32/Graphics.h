// Fonts, brushes and pens: property bags that create their GDI object on first use,
// keep it until a property changes, and tell their holder (OnChange) about changes.
#pragma once
#include "framework/Types.h"
#include "framework/win32/Handles.h"

#include <cstdint>
#include <functional>

namespace qv {

enum TFontStyle : std::uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = std::uint8_t;
using TFontCharset = std::uint8_t;
enum TFontPitch { fpDefault, fpVariable, fpFixed };
enum TFontQuality { fqDefault, fqDraft, fqProof, fqNonAntialiased, fqAntialiased, fqClearType };

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };
enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

// The vertical resolution fonts are sized for (LOGPIXELSY of the screen).
int ScreenPixelsPerInch() noexcept;

// The size DrawTextW gives text in font with flags (DT_CALCRECT is added), measured on
// a screen DC. maxWidth is the width DT_WORDBREAK wraps at; 0 (or less) for none.
TSize MeasureScreenText(const String& text, HFONT font, UINT flags, int maxWidth);

class TGraphicsObject {
public:
    TGraphicsObject() = default;
    virtual ~TGraphicsObject() = default;
    TGraphicsObject(const TGraphicsObject&) = delete;
    TGraphicsObject& operator=(const TGraphicsObject&) = delete;

    // Called when a property changed, before the cached handle is deleted: a holder
    // that has it selected into a DC selects something else, since GDI objects must not
    // be deleted while selected.
    std::function<void()> OnChanging;
    // Called after any property changed (the cached handle is already gone).
    std::function<void()> OnChange;

protected:
    void Changed();
    virtual void FreeHandle() noexcept = 0;
};

class TFont : public TGraphicsObject {
public:
    TFont();  // "Tahoma", height -11, clWindowText, DEFAULT_CHARSET

    void Assign(const TFont& source);
    bool SameAs(const TFont& other) const noexcept;

    const String& Name() const noexcept { return FName; }
    void SetName(const String& name);
    // Negative heights are character heights in pixels, positive ones cell heights.
    int Height() const noexcept { return FHeight; }
    void SetHeight(int height);
    // Size in points: -Height * 72 / PixelsPerInch, rounded.
    int Size() const noexcept;
    void SetSize(int points);
    TColor Color() const noexcept { return FColor; }
    void SetColor(TColor color);  // changes no handle, but still reports a change
    TFontStyles Style() const noexcept { return FStyle; }
    void SetStyle(TFontStyles style);
    TFontCharset Charset() const noexcept { return FCharset; }
    void SetCharset(TFontCharset charset);
    TFontPitch Pitch() const noexcept { return FPitch; }
    void SetPitch(TFontPitch pitch);
    TFontQuality Quality() const noexcept { return FQuality; }
    void SetQuality(TFontQuality quality);
    int PixelsPerInch = ScreenPixelsPerInch();

    // The font object, created on first use and kept until a property changes.
    HFONT Handle() const;
    // Takes the properties of a logical font (the handle itself is not kept).
    void SetHandle(HFONT font);

protected:
    void FreeHandle() noexcept override { FHandle.reset(); }

private:
    String FName;
    int FHeight;
    TColor FColor;
    TFontStyles FStyle = 0;
    TFontCharset FCharset;
    TFontPitch FPitch = fpDefault;
    TFontQuality FQuality = fqDefault;
    mutable UniqueFont FHandle;
};

class TBrush : public TGraphicsObject {
public:
    TBrush() = default;  // solid clWhite
    void Assign(const TBrush& source);

    TColor Color() const noexcept { return FColor; }
    void SetColor(TColor color);  // a clear brush becomes solid
    TBrushStyle Style() const noexcept { return FStyle; }
    void SetStyle(TBrushStyle style);
    // Null for bsClear (nothing is filled).
    HBRUSH Handle() const;

protected:
    void FreeHandle() noexcept override { FHandle.reset(); }

private:
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
    mutable UniqueBrush FHandle;
};

class TPen : public TGraphicsObject {
public:
    TPen() = default;  // solid clBlack, width 1
    void Assign(const TPen& source);

    TColor Color() const noexcept { return FColor; }
    void SetColor(TColor color);
    int Width() const noexcept { return FWidth; }
    void SetWidth(int width);
    TPenStyle Style() const noexcept { return FStyle; }
    void SetStyle(TPenStyle style);
    HPEN Handle() const;

protected:
    void FreeHandle() noexcept override { FHandle.reset(); }

private:
    TColor FColor = clBlack;
    int FWidth = 1;
    TPenStyle FStyle = psSolid;
    mutable UniquePen FHandle;
};

// GDI's COLORREF of a framework colour (system colours resolved, clNone as black).
COLORREF ColorToGdi(TColor color) noexcept;

}  // namespace qv
