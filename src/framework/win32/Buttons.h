// Buttons with a glyph: the owner-drawn bitmap button (TBitBtn) and the windowless
// speed button (TSpeedButton), and the layout of a glyph beside a caption they share.
#pragma once
#include "framework/Bitmap.h"
#include "framework/win32/Controls.h"
#include "framework/win32/StdCtrls.h"

#include <memory>

namespace qv {

// Where the glyph stands relative to the caption.
enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// The glyph's sub-image for each look: a glyph bitmap holds NumGlyphs images side by
// side in this order.
enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };

// Ready-made buttons: caption, modal result and Default/Cancel.
enum TBitBtnKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };

// Glyph origin and caption rectangle inside a button's client rectangle.
struct TButtonLayoutResult {
    TPoint GlyphPos;
    TRect TextBounds;
};

// Places a glyph of glyphSize and a caption block of textSize inside client.
// margin is the distance from the edge to the glyph (-1: the glyph and caption block
// is centred); spacing the distance between glyph and caption (-1: the free space is
// shared evenly). Without a glyph or without a caption the spacing counts as 0. The
// axis the layout does not use centres both parts.
TButtonLayoutResult CalcBitBtnLayout(const TRect& client, TSize glyphSize, TSize textSize, TButtonLayout layout,
                                     int margin, int spacing) noexcept;

// The framework's glyph of a button: a bitmap cut into NumGlyphs equal images. Pixels
// of the colour of the bitmap's bottom-left pixel are transparent, unless the bitmap
// is 32-bit with alpha, whose alpha is used instead. Without a disabled image a
// disabled glyph is drawn embossed in the 3D colours.
class TButtonGlyph {
public:
    TBitmap& Glyph() noexcept { return FGlyph; }
    const TBitmap& Glyph() const noexcept { return FGlyph; }
    void SetGlyph(const TBitmap& glyph);
    int NumGlyphs() const noexcept { return FNumGlyphs; }
    void SetNumGlyphs(int count);  // 1..4; other values are ignored

    // The size of one image (0 x 0 without a glyph).
    TSize ImageSize() const noexcept;
    // Draws the image for state at (x, y).
    void Draw(HDC dc, int x, int y, TButtonState state) const;

private:
    TBitmap FGlyph;
    int FNumGlyphs = 1;
};

// A push button painted by the framework: a 3D face, an optional glyph, a word-wrapped
// caption, the focus rectangle, a pressed offset and a disabled look. Window class
// "TBitBtn" over "BUTTON" (BS_OWNERDRAW); clicks, Default, Cancel and ModalResult work
// as for TButton. Descendants replace the face through the virtual drawing methods.
class TBitBtn : public TButton {
public:
    explicit TBitBtn(TComponent* owner);
    TBitBtn(const TBitBtn&) = delete;
    TBitBtn& operator=(const TBitBtn&) = delete;
    ~TBitBtn() override;
    String ClassName() const override { return L"TBitBtn"; }

    // The glyph bitmap (empty: no glyph). Change it through SetGlyph or call
    // GlyphChanged after drawing into Glyph().
    TBitmap& Glyph() noexcept { return FGlyph.Glyph(); }
    void SetGlyph(const TBitmap& glyph);
    void GlyphChanged();
    int NumGlyphs() const noexcept { return FGlyph.NumGlyphs(); }
    void SetNumGlyphs(int count);

    TButtonLayout Layout() const noexcept { return FLayout; }
    void SetLayout(TButtonLayout layout);
    int Margin() const noexcept { return FMargin; }
    void SetMargin(int margin);  // -1 or more
    int Spacing() const noexcept { return FSpacing; }
    void SetSpacing(int spacing);  // -1 or more
    bool WordWrap() const noexcept { return FWordWrap; }
    void SetWordWrap(bool on);
    TBitBtnKind Kind() const noexcept { return FKind; }
    void SetKind(TBitBtnKind kind);

    // bkClose buttons close their form.
    void Click() override;

    // The size of one glyph image; the caption's size when wrapped at maxWidth (0: no
    // limit) in the button's font.
    TSize GlyphSize() const noexcept { return FGlyph.ImageSize(); }
    TSize CaptionSize(int maxWidth);
    // Where glyph and caption go in a face of this size (not pressed).
    TButtonLayoutResult LayoutFor(const TRect& client);

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;

    // Owner-draw request from the parent (reflected WM_DRAWITEM): paints the face.
    virtual void CNDrawItem(TMessage& message);
    // Paints the whole face for the item state bits (ODS_*) into dc over rect.
    virtual void DrawItem(HDC dc, const TRect& rect, UINT itemState);
    // The 3D frame and background; returns the rectangle left inside the frame.
    virtual TRect DrawButtonFace(HDC dc, const TRect& rect, bool pressed, bool isDefault, bool enabled);
    virtual void DrawButtonGlyph(HDC dc, TPoint pos, bool pressed, bool enabled);
    virtual void DrawButtonText(HDC dc, const TRect& textRect, bool enabled);
    virtual void DrawButtonFocus(HDC dc, const TRect& faceRect);
    // The DrawText flags of the caption.
    UINT CaptionFlags() const noexcept;

private:
    TButtonGlyph FGlyph;
    TButtonLayout FLayout = blGlyphLeft;
    int FMargin = -1;
    int FSpacing = 4;
    bool FWordWrap = true;
    TBitBtnKind FKind = bkCustom;
};

// A button without a window, painted by its parent: a flat or raised face that can
// stay down. Buttons of one GroupIndex (non-zero) on the same parent work as a group:
// pressing one releases the others; with AllowAllUp the down one can be released too.
class TSpeedButton : public TGraphicControl {
public:
    explicit TSpeedButton(TComponent* owner);
    TSpeedButton(const TSpeedButton&) = delete;
    TSpeedButton& operator=(const TSpeedButton&) = delete;
    ~TSpeedButton() override;
    String ClassName() const override { return L"TSpeedButton"; }

    bool Down() const noexcept { return FDown; }
    void SetDown(bool down);
    int GroupIndex() const noexcept { return FGroupIndex; }
    void SetGroupIndex(int index);
    bool AllowAllUp() const noexcept { return FAllowAllUp; }
    void SetAllowAllUp(bool on);
    bool Flat() const noexcept { return FFlat; }
    void SetFlat(bool on);

    TBitmap& Glyph() noexcept { return FGlyph.Glyph(); }
    void SetGlyph(const TBitmap& glyph);
    int NumGlyphs() const noexcept { return FGlyph.NumGlyphs(); }
    void SetNumGlyphs(int count);
    TButtonLayout Layout() const noexcept { return FLayout; }
    void SetLayout(TButtonLayout layout);
    int Margin() const noexcept { return FMargin; }
    void SetMargin(int margin);
    int Spacing() const noexcept { return FSpacing; }
    void SetSpacing(int spacing);

    // The look now: bsDown while pressed or Down, bsDisabled when disabled.
    TButtonState State() const noexcept { return FState; }

    void Click() override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void WndProc(TMessage& message) override;

private:
    // Releases the other buttons of the group when this one goes down.
    void UpdateExclusive();
    void ButtonPressed(int groupIndex, TSpeedButton* pressed);

    TButtonGlyph FGlyph;
    TButtonLayout FLayout = blGlyphLeft;
    int FMargin = -1;
    int FSpacing = 4;
    int FGroupIndex = 0;
    bool FDown = false;
    bool FAllowAllUp = false;
    bool FFlat = false;
    bool FDragging = false;  // the left button went down on us and is still held
    TButtonState FState = bsUp;
};

}  // namespace qv
