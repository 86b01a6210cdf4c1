#include "framework/win32/Buttons.h"

#include "framework/win32/Forms.h"
#include "framework/win32/Frame3D.h"

#include <algorithm>
#include <array>

namespace qv {

// ---------------------------------------------------------------- layout

TButtonLayoutResult CalcBitBtnLayout(const TRect& client, TSize glyphSize, TSize textSize, TButtonLayout layout,
                                     int margin, int spacing) noexcept {
    const int clientWidth = client.Width(), clientHeight = client.Height();
    const bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
    TPoint glyph, text;
    // The axis the layout does not use centres both parts.
    if (horizontal) {
        glyph.Y = (clientHeight - glyphSize.cy + 1) / 2;
        text.Y = (clientHeight - textSize.cy + 1) / 2;
    } else {
        glyph.X = (clientWidth - glyphSize.cx + 1) / 2;
        text.X = (clientWidth - textSize.cx + 1) / 2;
    }
    const bool hasGlyph = glyphSize.cx > 0 && glyphSize.cy > 0;
    const bool hasText = textSize.cx > 0 && textSize.cy > 0;
    if (!hasGlyph || !hasText) spacing = 0;
    const int extent = horizontal ? clientWidth : clientHeight;
    const int glyphLength = horizontal ? glyphSize.cx : glyphSize.cy;
    const int textLength = horizontal ? textSize.cx : textSize.cy;
    if (margin == -1) {
        if (spacing == -1) {
            margin = (extent - glyphLength - textLength) / 3;
            spacing = margin;
        } else {
            margin = (extent - (glyphLength + spacing + textLength) + 1) / 2;
        }
    } else if (spacing == -1) {
        spacing = (extent - (margin + glyphLength) - textLength) / 2;
    }
    switch (layout) {
    case blGlyphLeft:
        glyph.X = margin;
        text.X = glyph.X + glyphSize.cx + spacing;
        break;
    case blGlyphRight:
        glyph.X = clientWidth - margin - glyphSize.cx;
        text.X = glyph.X - spacing - textSize.cx;
        break;
    case blGlyphTop:
        glyph.Y = margin;
        text.Y = glyph.Y + glyphSize.cy + spacing;
        break;
    case blGlyphBottom:
        glyph.Y = clientHeight - margin - glyphSize.cy;
        text.Y = glyph.Y - spacing - textSize.cy;
        break;
    }
    TButtonLayoutResult result;
    result.GlyphPos = {glyph.X + client.Left, glyph.Y + client.Top};
    result.TextBounds = {text.X + client.Left, text.Y + client.Top, text.X + client.Left + textSize.cx,
                         text.Y + client.Top + textSize.cy};
    return result;
}

// ---------------------------------------------------------------- glyph

namespace {

constexpr std::uint32_t kOpaque = 0xFF000000u;

// A colour as the B, G, R bytes of a 32-bit pixel word (0x00RRGGBB).
std::uint32_t PixelOf(TColor color) noexcept {
    const auto rgb = static_cast<std::uint32_t>(ColorToRGB(color));
    return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}

// Pixels light enough to count as paper in the embossed disabled look.
bool IsInk(std::uint32_t pixel) noexcept {
    const unsigned b = pixel & 0xFF, g = (pixel >> 8) & 0xFF, r = (pixel >> 16) & 0xFF;
    return (r + g + b) < 3 * 0xC0;
}

// Draws a premultiplied 32-bit bitmap over dc at (x, y) with its alpha.
void BlendOnto(HDC dc, int x, int y, TBitmap& image) {
    HDC source = image.Canvas().Handle();
    if (!source) return;
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::GdiAlphaBlend(dc, x, y, image.Width(), image.Height(), source, 0, 0, image.Width(), image.Height(), blend);
}

}  // namespace

void TButtonGlyph::SetGlyph(const TBitmap& glyph) {
    if (&glyph == &FGlyph) return;
    FGlyph.Assign(glyph);
    // A glyph made of several equal squares says how many images it holds.
    if (!FGlyph.Empty() && FGlyph.Height() > 0 && FGlyph.Width() % FGlyph.Height() == 0) {
        const int count = FGlyph.Width() / FGlyph.Height();
        if (count >= 1 && count <= 4) FNumGlyphs = count;
    }
}

void TButtonGlyph::SetNumGlyphs(int count) {
    if (count >= 1 && count <= 4) FNumGlyphs = count;
}

TSize TButtonGlyph::ImageSize() const noexcept {
    if (FGlyph.Empty()) return {0, 0};
    return {FGlyph.Width() / FNumGlyphs, FGlyph.Height()};
}

void TButtonGlyph::Draw(HDC dc, int x, int y, TButtonState state) const {
    const TSize size = ImageSize();
    if (size.cx <= 0 || size.cy <= 0) return;
    TBitmap source;
    source.Assign(FGlyph);
    const bool hasAlpha = [&] {
        if (FGlyph.PixelFormat() != pf32bit) return false;
        for (int row = 0; row < FGlyph.Height(); ++row)
            for (int col = 0; col < FGlyph.Width(); ++col)
                if (FGlyph.Pixel32(col, row) & kOpaque) return true;
        return false;
    }();
    source.SetPixelFormat(pf32bit);
    // Classic glyphs mark transparency with the colour of their bottom-left pixel.
    const std::uint32_t key = source.Pixel32(0, source.Height() - 1) & 0xFFFFFF;

    int index = static_cast<int>(state);
    const bool emboss = state == bsDisabled && FNumGlyphs < 2;
    if (index >= FNumGlyphs) index = 0;
    const int left = index * size.cx;

    if (!emboss) {
        TBitmap image(size.cx, size.cy, pf32bit);
        for (int row = 0; row < size.cy; ++row) {
            for (int col = 0; col < size.cx; ++col) {
                const std::uint32_t p = source.Pixel32(left + col, row);
                std::uint32_t out = 0;
                if (hasAlpha) {
                    const std::uint32_t a = p >> 24;
                    const std::uint32_t b = (p & 0xFF) * a / 255, g = ((p >> 8) & 0xFF) * a / 255,
                                        r = ((p >> 16) & 0xFF) * a / 255;
                    out = (a << 24) | (r << 16) | (g << 8) | b;
                } else if ((p & 0xFFFFFF) != key) {
                    out = kOpaque | (p & 0xFFFFFF);
                }
                image.SetPixel32(col, row, out);
            }
        }
        BlendOnto(dc, x, y, image);
        return;
    }
    // Embossed: the glyph's ink in the highlight colour one pixel down and right, then
    // in the shadow colour over it.
    TBitmap image(size.cx + 1, size.cy + 1, pf32bit);
    const std::uint32_t highlight = kOpaque | PixelOf(clBtnHighlight);
    const std::uint32_t shadow = kOpaque | PixelOf(clBtnShadow);
    auto ink = [&](int col, int row) {
        const std::uint32_t p = source.Pixel32(left + col, row);
        if (hasAlpha) return (p >> 24) >= 0x80 && IsInk(p);
        return (p & 0xFFFFFF) != key && IsInk(p);
    };
    for (int row = 0; row < size.cy; ++row)
        for (int col = 0; col < size.cx; ++col)
            if (ink(col, row)) image.SetPixel32(col + 1, row + 1, highlight);
    for (int row = 0; row < size.cy; ++row)
        for (int col = 0; col < size.cx; ++col)
            if (ink(col, row)) image.SetPixel32(col, row, shadow);
    BlendOnto(dc, x, y, image);
}

// ---------------------------------------------------------------- caption

namespace {

// Writes a caption; a disabled one is embossed (highlight one pixel down and right,
// shadow over it).
void DrawCaption(HDC dc, const String& text, TRect rect, UINT flags, bool enabled, TColor color) {
    if (text.empty()) return;
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    auto draw = [&](TRect r, TColor c) {
        ::SetTextColor(dc, ColorToGdi(c));
        RECT box{r.Left, r.Top, r.Right, r.Bottom};
        ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, flags);
    };
    if (enabled) {
        draw(rect, color);
    } else {
        draw(OffsetRect(rect, 1, 1), clBtnHighlight);
        draw(rect, clBtnShadow);
    }
    ::SetBkMode(dc, oldMode);
}

// An empty caption takes no room, so the glyph alone is centred.
TSize MeasureCaption(const String& text, HFONT font, UINT flags, int maxWidth) {
    if (text.empty()) return {0, 0};
    return MeasureScreenText(text, font, flags, maxWidth);
}

struct KindInfo {
    const wchar_t* Caption;
    TModalResult Result;
    bool Default;
    bool Cancel;
};

constexpr std::array<KindInfo, 11> kKinds{{
    {L"", mrNone, false, false},           // bkCustom
    {L"OK", mrOk, true, false},            // bkOK
    {L"Cancel", mrCancel, false, true},    // bkCancel
    {L"&Help", mrNone, false, false},      // bkHelp
    {L"&Yes", mrYes, true, false},         // bkYes
    {L"&No", mrNo, false, true},           // bkNo
    {L"&Close", mrNone, false, false},     // bkClose
    {L"Abort", mrAbort, false, true},      // bkAbort
    {L"&Retry", mrRetry, false, false},    // bkRetry
    {L"&Ignore", mrIgnore, false, false},  // bkIgnore
    {L"&All", mrAll, false, false},        // bkAll
}};

}  // namespace

// ---------------------------------------------------------------- TBitBtn

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner) {}

TBitBtn::~TBitBtn() = default;

void TBitBtn::CreateParams(TCreateParams& params) {
    TButton::CreateParams(params);
    params.Style = (params.Style & ~static_cast<DWORD>(BS_TYPEMASK)) | BS_OWNERDRAW;
}

void TBitBtn::SetGlyph(const TBitmap& glyph) {
    FGlyph.SetGlyph(glyph);
    Invalidate();
}

void TBitBtn::GlyphChanged() { Invalidate(); }

void TBitBtn::SetNumGlyphs(int count) {
    if (count == FGlyph.NumGlyphs()) return;
    FGlyph.SetNumGlyphs(count);
    Invalidate();
}

void TBitBtn::SetLayout(TButtonLayout layout) {
    if (layout == FLayout) return;
    FLayout = layout;
    Invalidate();
}

void TBitBtn::SetMargin(int margin) {
    margin = std::max(margin, -1);
    if (margin == FMargin) return;
    FMargin = margin;
    Invalidate();
}

void TBitBtn::SetSpacing(int spacing) {
    spacing = std::max(spacing, -1);
    if (spacing == FSpacing) return;
    FSpacing = spacing;
    Invalidate();
}

void TBitBtn::SetWordWrap(bool on) {
    if (on == FWordWrap) return;
    FWordWrap = on;
    Invalidate();
}

void TBitBtn::SetKind(TBitBtnKind kind) {
    if (kind == FKind) return;
    FKind = kind;
    if (kind == bkCustom) return;
    const KindInfo& info = kKinds[static_cast<std::size_t>(kind)];
    SetCaption(info.Caption);
    ModalResult = info.Result;
    SetDefault(info.Default);
    Cancel = info.Cancel;
}

void TBitBtn::Click() {
    if (FKind == bkClose) {
        if (TCustomForm* form = GetParentForm(this)) {
            form->Close();
            return;
        }
    }
    TButton::Click();
}

UINT TBitBtn::CaptionFlags() const noexcept {
    UINT flags = DT_CENTER | DT_EXPANDTABS;
    flags |= FWordWrap ? static_cast<UINT>(DT_WORDBREAK) : static_cast<UINT>(DT_SINGLELINE);
    return flags;
}

TSize TBitBtn::CaptionSize(int maxWidth) {
    return MeasureCaption(Caption(), Font().Handle(), CaptionFlags(), FWordWrap ? maxWidth : 0);
}

TButtonLayoutResult TBitBtn::LayoutFor(const TRect& client) {
    const TSize glyph = GlyphSize();
    // The caption wraps within what the margins and the glyph leave of the face.
    int maxWidth = client.Width() - 4;
    if (FMargin > 0) maxWidth -= 2 * FMargin;
    if (glyph.cx > 0 && (FLayout == blGlyphLeft || FLayout == blGlyphRight))
        maxWidth -= glyph.cx + std::max(FSpacing, 0);
    const TSize text = CaptionSize(std::max(maxWidth, 1));
    return CalcBitBtnLayout(client, glyph, text, FLayout, FMargin, FSpacing);
}

void TBitBtn::CNDrawItem(TMessage& message) {
    const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam);
    const TRect rect{dis->rcItem.left, dis->rcItem.top, dis->rcItem.right, dis->rcItem.bottom};
    message.Result = 1;
    if (rect.IsEmpty()) return;
    // The face is drawn off screen and copied once: no flicker while pressing.
    UniqueMemoryDC memory(::CreateCompatibleDC(dis->hDC));
    UniqueBitmap buffer(::CreateCompatibleBitmap(dis->hDC, rect.Width(), rect.Height()));
    if (!memory || !buffer) {
        DrawItem(dis->hDC, rect, dis->itemState);
        return;
    }
    {
        SelectScope selectBuffer(memory.get(), buffer.get());
        DrawItem(memory.get(), {0, 0, rect.Width(), rect.Height()}, dis->itemState);
        ::BitBlt(dis->hDC, rect.Left, rect.Top, rect.Width(), rect.Height(), memory.get(), 0, 0, SRCCOPY);
    }
}

void TBitBtn::DrawItem(HDC dc, const TRect& rect, UINT itemState) {
    const bool pressed = (itemState & ODS_SELECTED) != 0;
    const bool focused = (itemState & ODS_FOCUS) != 0;
    const bool enabled = (itemState & ODS_DISABLED) == 0 && Enabled();
    const bool isDefault = Active() || focused;
    SelectScope selectFont(dc, Font().Handle());
    const TRect face = DrawButtonFace(dc, rect, pressed, isDefault, enabled);
    TButtonLayoutResult layout = LayoutFor(rect);
    if (pressed) {
        layout.GlyphPos = {layout.GlyphPos.X + 1, layout.GlyphPos.Y + 1};
        layout.TextBounds = OffsetRect(layout.TextBounds, 1, 1);
    }
    DrawButtonGlyph(dc, layout.GlyphPos, pressed, enabled);
    DrawButtonText(dc, layout.TextBounds, enabled);
    if (focused && !(itemState & ODS_NOFOCUSRECT)) DrawButtonFocus(dc, face);
}

TRect TBitBtn::DrawButtonFace(HDC dc, const TRect& rect, bool pressed, bool isDefault, bool enabled) {
    (void)enabled;
    TRect r = rect;
    // The default button has a dark outline around its face.
    if (isDefault) Frame3D(dc, r, clWindowFrame, clWindowFrame, 1);
    if (pressed) {
        Frame3D(dc, r, clBtnShadow, clBtnShadow, 1);
    } else {
        Frame3D(dc, r, clBtnHighlight, cl3DDkShadow, 1);
        Frame3D(dc, r, cl3DLight, clBtnShadow, 1);
    }
    FillRectColor(dc, r, clBtnFace);
    return r;
}

void TBitBtn::DrawButtonGlyph(HDC dc, TPoint pos, bool pressed, bool enabled) {
    FGlyph.Draw(dc, pos.X, pos.Y, !enabled ? bsDisabled : pressed ? bsDown : bsUp);
}

void TBitBtn::DrawButtonText(HDC dc, const TRect& textRect, bool enabled) {
    DrawCaption(dc, Caption(), textRect, CaptionFlags(), enabled, Font().Color());
}

void TBitBtn::DrawButtonFocus(HDC dc, const TRect& faceRect) {
    const RECT r{faceRect.Left + 2, faceRect.Top + 2, faceRect.Right - 2, faceRect.Bottom - 2};
    if (r.right <= r.left || r.bottom <= r.top) return;
    ::SetTextColor(dc, ColorToGdi(clBlack));
    ::SetBkColor(dc, ColorToGdi(clWhite));
    ::DrawFocusRect(dc, &r);
}

void TBitBtn::WndProc(TMessage& message) {
    switch (message.Msg) {
    case CN_DRAWITEM: CNDrawItem(message); return;
    case CN_COMMAND:
        // A disabled button runs nothing, even when a message (BM_CLICK sent by another
        // program) makes the system button report a click.
        if (HIWORD(message.WParam) == BN_CLICKED && !Enabled()) return;
        break;
    case WM_ERASEBKGND:
        // The owner-drawn face covers the whole window.
        message.Result = 1;
        return;
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
        TButton::WndProc(message);
        Invalidate();
        return;
    default: break;
    }
    TButton::WndProc(message);
}

// ---------------------------------------------------------------- TSpeedButton

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner) {
    ControlStyle = csCaptureMouse | csDoubleClicks | csSetCaption;
    SetBounds(0, 0, 23, 22);
}

TSpeedButton::~TSpeedButton() = default;

void TSpeedButton::SetDown(bool down) {
    if (FGroupIndex == 0) down = false;  // only grouped buttons stay down
    if (down == FDown) return;
    if (FDown && !FAllowAllUp) return;  // one button of the group is always down
    FDown = down;
    FState = down ? bsExclusive : bsUp;
    Invalidate();
    if (down) UpdateExclusive();
}

void TSpeedButton::SetGroupIndex(int index) {
    if (index == FGroupIndex) return;
    FGroupIndex = index;
    if (index == 0 && FDown) {
        FDown = false;
        FState = bsUp;
        Invalidate();
    }
    UpdateExclusive();
}

void TSpeedButton::SetAllowAllUp(bool on) {
    if (on == FAllowAllUp) return;
    FAllowAllUp = on;
    // The whole group shares the setting.
    if (FGroupIndex == 0 || !Parent()) return;
    for (int i = 0; i < Parent()->ControlCount(); ++i)
        if (auto* b = dynamic_cast<TSpeedButton*>(Parent()->Controls(i));
            b && b != this && b->FGroupIndex == FGroupIndex)
            b->FAllowAllUp = on;
}

void TSpeedButton::SetFlat(bool on) {
    if (on == FFlat) return;
    FFlat = on;
    Invalidate();
}

void TSpeedButton::SetGlyph(const TBitmap& glyph) {
    FGlyph.SetGlyph(glyph);
    Invalidate();
}

void TSpeedButton::SetNumGlyphs(int count) {
    FGlyph.SetNumGlyphs(count);
    Invalidate();
}

void TSpeedButton::SetLayout(TButtonLayout layout) {
    if (layout == FLayout) return;
    FLayout = layout;
    Invalidate();
}

void TSpeedButton::SetMargin(int margin) {
    margin = std::max(margin, -1);
    if (margin == FMargin) return;
    FMargin = margin;
    Invalidate();
}

void TSpeedButton::SetSpacing(int spacing) {
    spacing = std::max(spacing, -1);
    if (spacing == FSpacing) return;
    FSpacing = spacing;
    Invalidate();
}

void TSpeedButton::UpdateExclusive() {
    if (FGroupIndex == 0 || !Parent() || !FDown) return;
    for (int i = 0; i < Parent()->ControlCount(); ++i)
        if (auto* b = dynamic_cast<TSpeedButton*>(Parent()->Controls(i)); b && b != this)
            b->ButtonPressed(FGroupIndex, this);
}

void TSpeedButton::ButtonPressed(int groupIndex, TSpeedButton* pressed) {
    if (groupIndex != FGroupIndex || pressed == this) return;
    if (FDown) {
        FDown = false;
        FState = bsUp;
        Invalidate();
    }
    FAllowAllUp = pressed->FAllowAllUp;
}

void TSpeedButton::Click() { TGraphicControl::Click(); }

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button != mbLeft || !Enabled()) return;
    if (!FDown) {
        FState = bsDown;
        Invalidate();
    }
    FDragging = true;
}

void TSpeedButton::MouseMove(TShiftState shift, int x, int y) {
    TGraphicControl::MouseMove(shift, x, y);
    if (!FDragging) return;
    // The pressed look follows the pointer while the button is held.
    const bool inside = x >= 0 && x < Width() && y >= 0 && y < Height();
    TButtonState state = FDown ? bsExclusive : bsUp;
    if (inside && !FDown) state = bsDown;
    if (state != FState) {
        FState = state;
        Invalidate();
    }
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseUp(button, shift, x, y);
    if (button != mbLeft || !FDragging) return;
    FDragging = false;
    const bool inside = x >= 0 && x < Width() && y >= 0 && y < Height();
    if (FGroupIndex == 0) {
        FState = bsUp;
        Invalidate();
    } else if (inside) {
        SetDown(!FDown);
        FState = FDown ? bsExclusive : bsUp;
        Invalidate();
    } else {
        FState = FDown ? bsExclusive : bsUp;
        Invalidate();
    }
    if (inside) Click();
}

void TSpeedButton::WndProc(TMessage& message) {
    switch (message.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        TGraphicControl::WndProc(message);
        if (FFlat && message.LParam == 0) Invalidate();  // the flat face shows only while hot
        return;
    case CM_ENABLEDCHANGED: FState = Enabled() ? (FDown ? bsExclusive : bsUp) : bsDisabled; break;
    case WM_LBUTTONDBLCLK:
        // A quick second click is a click.
        message.Msg = WM_LBUTTONDOWN;
        break;
    default: break;
    }
    TGraphicControl::WndProc(message);
}

void TSpeedButton::Paint() {
    HDC dc = Canvas().Handle();
    if (!dc) return;
    const TRect client{0, 0, Width(), Height()};
    const bool pressed = FState == bsDown || FState == bsExclusive;
    TRect inner = client;
    if (!FFlat || pressed || MouseInClient()) {
        if (pressed) Frame3D(dc, inner, clBtnShadow, clBtnHighlight, 1);
        else Frame3D(dc, inner, clBtnHighlight, clBtnShadow, 1);
    }
    if (!FFlat) FillRectColor(dc, inner, FState == bsExclusive ? cl3DLight : Color());

    SelectScope selectFont(dc, Font().Handle());
    const UINT flags = DT_CENTER | DT_SINGLELINE | DT_EXPANDTABS;
    const TSize text = MeasureCaption(Caption(), Font().Handle(), flags, 0);
    TButtonLayoutResult layout = CalcBitBtnLayout(client, FGlyph.ImageSize(), text, FLayout, FMargin, FSpacing);
    const int offset = pressed ? 1 : 0;
    const bool enabled = Enabled();
    FGlyph.Draw(dc, layout.GlyphPos.X + offset, layout.GlyphPos.Y + offset,
                !enabled                ? bsDisabled
                : FState == bsExclusive ? bsExclusive
                : pressed               ? bsDown
                                        : bsUp);
    DrawCaption(dc, Caption(), OffsetRect(layout.TextBounds, offset, offset), flags, enabled, Font().Color());
}

}  // namespace qv
