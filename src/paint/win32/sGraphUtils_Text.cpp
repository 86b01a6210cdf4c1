// Text drawing with GDI into canvases and 32-bit DIB sections.
#include "paint/win32/sGraphUtils_Text.h"

#include "framework/win32/Handles.h"
#include "paint/acBlit.h"
#include "paint/sAlphaGraph.h"
#include "paint/sGlyphEffects.h"
#include "paint/sGraphUtils.h"

#include <algorithm>

namespace qv {

namespace {

void DrawPass(TCanvas& canvas, const String& text, TRect r, UINT flags, TColor color) {
    canvas.Font().SetColor(color);
    canvas.Brush().SetStyle(bsClear);
    canvas.DrawText(r, text, flags);
}

// The four contour colours of a state (left, top, right, bottom) with their offsets.
struct Contour {
    TColor Color;
    int Dx, Dy;
};

void DrawContoursAndText(TCanvas& canvas, const String& text, TRect r, UINT flags, const std::array<TColor, 5>& font,
                         const std::function<TColor(TColor)>& shift) {
    const Contour contours[4] = {{font[1], -1, 0}, {font[2], 0, -1}, {font[3], 1, 0}, {font[4], 0, 1}};
    for (const Contour& c : contours)
        if (c.Color != clNone) DrawPass(canvas, text, OffsetRect(r, c.Dx, c.Dy), flags, shift(c.Color));
    DrawPass(canvas, text, r, flags | DT_NOCLIP, shift(font[0]));
}

}  // namespace

int acDrawText(HDC hDC, const String& Text, TRect& lpRect, UINT uFormat) noexcept {
    RECT rc{lpRect.Left, lpRect.Top, lpRect.Right, lpRect.Bottom};
    const int h = DrawTextW(hDC, Text.c_str(), static_cast<int>(Text.size()), &rc, uFormat);
    lpRect = {rc.left, rc.top, rc.right, rc.bottom};
    return h;
}

int acTextWidth(TCanvas& Canvas, const String& Text) { return Canvas.TextExtent(Text).cx; }
TSize acTextExtent(TCanvas& Canvas, const String& Text) { return Canvas.TextExtent(Text); }
void acTextRect(TCanvas& Canvas, const TRect& Rect, int X, int Y, const String& Text) {
    Canvas.TextRect(Rect, X, Y, Text);
}

bool acGetTextExtent(HDC DC, const String& Str, TSize& Size) noexcept {
    SIZE s{};
    const bool ok = GetTextExtentPoint32W(DC, Str.c_str(), static_cast<int>(Str.size()), &s) != 0;
    Size = {s.cx, s.cy};
    return ok;
}

String CutText(TCanvas& Canvas, const String& Text, int MaxLength) {
    return CutText(Text, MaxLength, [&Canvas](const String& s) { return Canvas.TextExtent(s).cx; });
}

void WriteTextEx(TCanvas& Canvas, const String& Text, bool Enabled, TRect aRect, UINT Flags, int SkinIndex, bool Hot,
                 TacSkinSource* SkinManager) {
    if (Text.empty() || !SkinManager || !SkinManager->IsValidSkinIndex(SkinIndex)) return;
    const TsGeneralData& gd = SkinManager->SkinSections()[SkinIndex];
    SetBkMode(Canvas.Handle(), TRANSPARENT);
    if (Enabled) {
        DrawContoursAndText(Canvas, Text, aRect, Flags, Hot ? gd.HotFontColor : gd.FontColor,
                            [](TColor c) { return c; });
    } else {
        DrawPass(Canvas, Text, aRect, Flags, MixColors(ColorToRGB(gd.FontColor[0]), ColorToRGB(gd.Color), 0.4));
    }
}

void WriteTextEx(TCanvas& Canvas, const String& Text, bool Enabled, TRect aRect, UINT Flags, TacCtrlPaintData* SkinData,
                 bool Hot) {
    if (Text.empty()) return;
    TacSkinSource* src = SkinData ? SkinData->SkinManager() : nullptr;
    const int skinIndex = SkinData ? SkinData->SkinIndex() : -1;
    const bool skinned = src && src->IsValidSkinIndex(skinIndex);
    const TFontStyles oldStyle = Canvas.Font().Style();
    if (skinned && Hot && skinIndex == src->WebBtnIndex()) Canvas.Font().SetStyle(oldStyle | fsUnderline);
    {
        SavedDC saved(Canvas.Handle());
        ::IntersectClipRect(Canvas.Handle(), aRect.Left, aRect.Top, aRect.Right, aRect.Bottom);
        Canvas.Brush().SetStyle(bsClear);
        if (skinned && !SkinData->HasCustomFont()) {
            const int n = Hot ? 1 : 0;
            int section = skinIndex;
            const int coc = SkinData->COC();
            if ((coc == 32 || coc == 33 || coc == 74 || !SkinData->IsWindowed()) && SkinData->ParentFont() &&
                SkinData->HasParent() && src->SkinSections()[skinIndex].Props[n].Transparency >= 1) {
                const int fontIndex = SkinData->GetFontIndex(n);
                if (src->IsValidSkinIndex(fontIndex)) section = fontIndex;
            }
            const TsGeneralData& gd = src->SkinSections()[section];
            const int hue = SkinData->HUEOffset(), sat = SkinData->Saturation();
            const auto shift = [hue, sat](TColor c) {
                TColor rgb = ColorToRGB(c);
                if (hue != 0) rgb = ChangeHue(hue, rgb);
                if (sat != 0) rgb = ChangeSaturation(rgb, sat);
                return rgb;
            };
            const TsGenState& state = gd.Props[n];
            if (state.GlowSize != 0 && SkinData->CacheBmp()) {
                std::unique_ptr<TBitmap> mask;
                acDrawGlowForText(SkinData->CacheBmp(), Text, aRect, Flags, 15, state.GlowSize, shift(state.GlowColor),
                                  mask);
            }
            if (!Enabled) {
                DrawPass(Canvas, Text, aRect, Flags,
                         shift(MixColors(ColorToRGB(state.FontColor.Color), src->GetGlobalColor(), 0.4)));
            } else {
                const std::array<TColor, 5> font{state.FontColor.Color, state.FontColor.Left, state.FontColor.Top,
                                                 state.FontColor.Right, state.FontColor.Bottom};
                DrawContoursAndText(Canvas, Text, aRect, Flags, font, shift);
            }
        } else if (skinned && Enabled) {
            // A custom font keeps its own colour and is not clipped.
            TRect r = aRect;
            Canvas.DrawText(r, Text, Flags | DT_NOCLIP);
        } else if (Enabled) {
            TRect r = aRect;
            Canvas.DrawText(r, Text, Flags);
        } else {
            DrawPass(Canvas, Text, OffsetRect(aRect, 1, 1), Flags, clBtnHighlight);
            DrawPass(Canvas, Text, aRect, Flags, clBtnShadow);
        }
    }
    Canvas.Font().SetStyle(oldStyle);
}

void acWriteTextEx(TCanvas& Canvas, const String& Text, bool Enabled, TRect aRect, UINT Flags, int SkinIndex, bool Hot,
                   TacSkinSource* SkinManager) {
    WriteTextEx(Canvas, Text, Enabled, aRect, Flags, SkinIndex, Hot, SkinManager);
}

void acWriteTextEx(TCanvas& Canvas, const String& Text, bool Enabled, TRect aRect, UINT Flags,
                   TacCtrlPaintData* SkinData, bool Hot, TacSkinSource* /*SkinManager*/) {
    WriteTextEx(Canvas, Text, Enabled, aRect, Flags, SkinData, Hot);
}

namespace {

// One pass of WriteText32: the text in black on white in a scratch bitmap, then laid
// into the destination in colour by the scratch's grey level.
void TextPass32(TBitmap* bmp, const String& text, TRect r, UINT flags, TColor color) {
    const PixelRows dst = Rows32(bmp);
    if (dst.Empty() || r.IsEmpty()) return;
    auto scratch = TryCreateBmp32(r.Width(), r.Height());
    if (!scratch) return;
    const PixelRows s = Rows32(scratch.get());
    FillPixels(s, s.Bounds(), 0x00FFFFFFu);
    TCanvas& canvas = scratch->Canvas();
    canvas.Font().Assign(bmp->Canvas().Font());
    TRect local{0, 0, r.Width(), r.Height()};
    DrawPass(canvas, text, local, flags, clBlack);
    GdiFlush();
    const auto c = static_cast<std::uint32_t>(ColorToRGB(color));
    const int col[3] = {static_cast<int>((c >> 16) & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                        static_cast<int>(c & 0xFF)};
    for (int j = 0; j < s.Height; ++j) {
        const int y = r.Top + j;
        if (y < 0 || y >= dst.Height) continue;
        const auto* sp = reinterpret_cast<const acPixel32*>(s.Row(j));
        std::uint8_t* drow = dst.Row(y);
        for (int i = 0; i < s.Width; ++i) {
            const int x = r.Left + i;
            const std::uint32_t v = sp[i];
            if (x < 0 || x >= dst.Width || v == 0x00FFFFFFu || v == 0xFFFFFFFFu) continue;
            const int k = static_cast<int>(((v >> 16) & 0xFF) + ((v >> 8) & 0xFF) + (v & 0xFF)) / 3;
            std::uint8_t* p = drow + x * 4;
            for (int ch = 0; ch < 3; ++ch) p[ch] = static_cast<std::uint8_t>((col[ch] * (256 - k) + p[ch] * k) >> 8);
            p[3] = 255;
        }
    }
}

}  // namespace

void WriteText32(TBitmap* Bmp, const String& Text, bool Enabled, TRect aRect, UINT Flags, int SkinIndex, bool Hot,
                 TacSkinSource* SkinManager) {
    if (Text.empty() || Rows32(Bmp).Empty()) return;
    if (SkinManager && SkinManager->IsValidSkinIndex(SkinIndex)) {
        const TsGeneralData& gd = SkinManager->SkinSections()[SkinIndex];
        const bool hot = Hot && gd.States > 0;
        const std::array<TColor, 5>& font = hot ? gd.HotFontColor : gd.FontColor;
        if (Enabled) {
            const int dx[4] = {-1, 0, 1, 0}, dy[4] = {0, -1, 0, 1};
            for (int i = 0; i < 4; ++i)
                if (font[i + 1] != clNone) TextPass32(Bmp, Text, OffsetRect(aRect, dx[i], dy[i]), Flags, font[i + 1]);
        }
        TextPass32(Bmp, Text, aRect, Flags, font[0]);
    } else {
        TextPass32(Bmp, Text, aRect, Flags, Bmp->Canvas().Font().Color());
    }
}

void acDrawGlowForText(TBitmap* DstBmp, const String& Text, TRect aRect, UINT Flags, int Side, int BlurSize,
                       TColor Color, std::unique_ptr<TBitmap>& MaskBmp) {
    if (Rows32(DstBmp).Empty() || Text.empty()) return;
    const int margin = BlurSize + 4;
    const int w = aRect.Width() + 2 * margin, h = aRect.Height() + 2 * margin;
    if (w <= 0 || h <= 0) return;
    if (!MaskBmp || MaskBmp->Width() != w || MaskBmp->Height() != h || MaskBmp->PixelFormat() != pf8bit) {
        // The text is drawn in black on white into a 32-bit scratch (GDI antialiases there)
        // and its blue channel becomes the 8-bit mask.
        auto scratch = CreateBmp32(w, h);
        FillPixels(Rows32(scratch.get()), {0, 0, w, h}, 0x00FFFFFFu);
        TCanvas& canvas = scratch->Canvas();
        canvas.Font().Assign(DstBmp->Canvas().Font());
        const TRect textRect{margin, margin, margin + aRect.Width(), margin + aRect.Height()};
        const int dx[4] = {-1, 0, 1, 0}, dy[4] = {0, -1, 0, 1};
        for (int i = 0; i < 4; ++i)
            if (Side & (1 << i)) DrawPass(canvas, Text, OffsetRect(textRect, dx[i], dy[i]), Flags, clBlack);
        DrawPass(canvas, Text, textRect, Flags, clBlack);
        GdiFlush();
        MaskBmp = std::make_unique<TBitmap>(w, h, pf8bit);
        for (int i = 0; i < 256; ++i) MaskBmp->Palette()[i] = static_cast<std::uint32_t>(i * 0x010101);
        MaskBmp->PaletteChanged();
        CopyChannel(scratch.get(), MaskBmp.get(), 0, true);
        Blur8(MaskBmp.get(), BlurSize);
    }
    ApplyGlowMask(DstBmp, MaskBmp.get(), aRect.Left - margin, aRect.Top - margin, Color);
}

void DrawRectangleOnDC(HDC DC, TRect& R, TColor ColorTopLeft, TColor ColorBottomRight, int& Width) noexcept {
    const UniquePen light(CreatePen(PS_SOLID, 1, static_cast<COLORREF>(ColorToRGB(ColorTopLeft))));
    const UniquePen dark(CreatePen(PS_SOLID, 1, static_cast<COLORREF>(ColorToRGB(ColorBottomRight))));
    if (light && dark) {
        const SelectScope pen(DC, light.get());
        const SelectScope brush(DC, GetStockObject(NULL_BRUSH));
        for (int i = 0; i < Width; ++i) {
            const TRect r{R.Left + i, R.Top + i, R.Right - i, R.Bottom - i};
            if (r.IsEmpty()) break;
            SelectObject(DC, light.get());
            POINT tl[3] = {{r.Left, r.Bottom - 1}, {r.Left, r.Top}, {r.Right, r.Top}};
            Polyline(DC, tl, 3);
            SelectObject(DC, dark.get());
            POINT br[3] = {{r.Right - 1, r.Top}, {r.Right - 1, r.Bottom - 1}, {r.Left - 1, r.Bottom - 1}};
            Polyline(DC, br, 3);
        }
    }
    R = {R.Left + Width, R.Top + Width, R.Right - Width, R.Bottom - Width};
}

namespace {

// The pixels of the 32-bit DIB section selected into the canvas's DC, when plain word
// writes there give what SetPixelV gives: no world transform, both origins at 0, no clip
// region. Empty otherwise (the dots then go through GDI).
PixelRows DirectRows(TCanvas& Canvas) noexcept {
    HDC dc = Canvas.Handle();
    if (!dc || GetGraphicsMode(dc) != GM_COMPATIBLE) return {};
    POINT org{};
    if (!GetViewportOrgEx(dc, &org) || org.x || org.y || !GetWindowOrgEx(dc, &org) || org.x || org.y) return {};
    if (GetMapMode(dc) != MM_TEXT) return {};
    const UniqueRegion clip(CreateRectRgn(0, 0, 0, 0));
    if (!clip || GetClipRgn(dc, clip.get()) != 0) return {};
    DIBSECTION ds{};
    auto* bmp = static_cast<HBITMAP>(GetCurrentObject(dc, OBJ_BITMAP));
    if (!bmp || GetObjectW(bmp, sizeof ds, &ds) != sizeof ds || ds.dsBm.bmBitsPixel != 32 || !ds.dsBm.bmBits ||
        ds.dsBmih.biCompression != BI_RGB)
        return {};
    GdiFlush();  // drawing still queued for the DIB lands before the words are written
    const std::ptrdiff_t stride = ds.dsBm.bmWidthBytes;
    auto* bits = static_cast<std::uint8_t*>(ds.dsBm.bmBits);
    const int h = ds.dsBm.bmHeight;
    if (ds.dsBmih.biHeight > 0) return {bits + (h - 1) * stride, -stride, ds.dsBm.bmWidth, h};
    return {bits, stride, ds.dsBm.bmWidth, h};
}

// The word SetPixelV leaves in a 32-bit DIB: the colour with A 0.
std::uint32_t GdiPixel(TColor color) noexcept { return ColorToPixel(ColorToRGB(color), 0); }

}  // namespace

void FocusRect(PixelRows rows, TRect R, TColor LightColor, TColor DarkColor) noexcept {
    if (rows.Empty()) return;
    // Along each edge of R less its right column and bottom row, counted from the corner:
    // every third pixel dark and the one before it light.
    const std::uint32_t light = GdiPixel(LightColor), dark = GdiPixel(DarkColor);
    const int right = R.Right - 1, bottom = R.Bottom - 1;
    auto row = [&](int y) {
        if (y < 0 || y >= rows.Height) return;
        auto* p = reinterpret_cast<acPixel32*>(rows.Row(y));
        for (int x = std::max(R.Left, 0); x < std::min(right, rows.Width); ++x) {
            const int i = (x - R.Left) % 3;
            if (i) p[x] = i == 2 ? dark : light;
        }
    };
    auto column = [&](int x) {
        if (x < 0 || x >= rows.Width) return;
        for (int y = std::max(R.Top, 0); y < std::min(bottom, rows.Height); ++y) {
            const int i = (y - R.Top) % 3;
            if (i) reinterpret_cast<acPixel32*>(rows.Row(y))[x] = i == 2 ? dark : light;
        }
    };
    row(R.Top);
    row(bottom - 1);
    column(R.Left);
    column(right - 1);
}

void FocusRect(TCanvas& Canvas, TRect R, TColor LightColor, TColor DarkColor) {
    if (const PixelRows rows = DirectRows(Canvas); !rows.Empty()) {
        FocusRect(rows, R, LightColor, DarkColor);
        return;
    }
    const int right = R.Right - 1, bottom = R.Bottom - 1;
    auto dot = [&](int x, int y, int i) {
        if (i % 3 == 2) Canvas.SetPixel(x, y, DarkColor);
        else if (i % 3 == 1) Canvas.SetPixel(x, y, LightColor);
    };
    for (int x = R.Left; x < right; ++x) {
        dot(x, R.Top, x - R.Left);
        dot(x, bottom - 1, x - R.Left);
    }
    for (int y = R.Top; y < bottom; ++y) {
        dot(R.Left, y, y - R.Top);
        dot(right - 1, y, y - R.Top);
    }
}

void DrawColorArrow(PixelRows rows, TColor Color, TRect R, int Direction) noexcept {
    if (rows.Empty() || (Direction != 4 && Direction != 8)) return;
    const std::uint32_t v = GdiPixel(Color);
    const int cx = R.Left + R.Width() / 2, cy = R.Top + R.Height() / 2;
    // Four lines of 7, 5, 3 and 1 pixels: columns pointing right (4) or rows pointing
    // down (8).
    for (int i = 0; i < 4; ++i) {
        const int half = 3 - i;
        if (Direction == 4) {
            const int x = cx - 2 + i;
            if (x < 0 || x >= rows.Width) continue;
            for (int y = std::max(cy - half, 0); y <= std::min(cy + half, rows.Height - 1); ++y)
                reinterpret_cast<acPixel32*>(rows.Row(y))[x] = v;
        } else {
            const int y = cy - 2 + i;
            if (y < 0 || y >= rows.Height) continue;
            auto* p = reinterpret_cast<acPixel32*>(rows.Row(y));
            for (int x = std::max(cx - half, 0); x <= std::min(cx + half, rows.Width - 1); ++x) p[x] = v;
        }
    }
}

void DrawColorArrow(TCanvas& Canvas, TColor Color, TRect R, int Direction) {
    if (Direction != 4 && Direction != 8) return;
    if (const PixelRows rows = DirectRows(Canvas); !rows.Empty()) {
        DrawColorArrow(rows, Color, R, Direction);
        return;
    }
    const int cx = R.Left + R.Width() / 2, cy = R.Top + R.Height() / 2;
    for (int i = 0; i < 4; ++i) {
        const int half = 3 - i;  // 7, 5, 3, 1 pixels
        for (int j = -half; j <= half; ++j) {
            if (Direction == 4) Canvas.SetPixel(cx - 2 + i, cy + j, Color);
            else Canvas.SetPixel(cx + j, cy - 2 + i, Color);
        }
    }
}

void FillDC(HDC DC, TRect aRect, TColor Color) noexcept {
    if (!DC || aRect.IsEmpty()) return;
    const UniqueBrush brush(CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(Color))));
    if (!brush) return;
    const RECT rc{aRect.Left, aRect.Top, aRect.Right, aRect.Bottom};
    ::FillRect(DC, &rc, brush.get());
}

void FillDCBorder(HDC DC, TRect aRect, int wl, int wt, int wr, int wb, TColor Color) noexcept {
    FillDC(DC, {aRect.Left, aRect.Top, aRect.Right, aRect.Top + wt}, Color);
    FillDC(DC, {aRect.Left, aRect.Top + wt, aRect.Left + wl, aRect.Bottom}, Color);
    FillDC(DC, {aRect.Left + wl, aRect.Bottom - wb, aRect.Right, aRect.Bottom}, Color);
    FillDC(DC, {aRect.Right - wr, aRect.Top + wt, aRect.Right, aRect.Bottom - wb}, Color);
}

void BitBltBorder(HDC DstDC, int X, int Y, int Width, int Height, HDC SrcDC, int SrcX, int SrcY,
                  int BorderWidth) noexcept {
    const int b = BorderWidth;
    BitBlt(DstDC, X, Y, b, Height, SrcDC, SrcX, SrcY, SRCCOPY);
    BitBlt(DstDC, X + b, Y, Width - b, b, SrcDC, SrcX + b, SrcY, SRCCOPY);
    BitBlt(DstDC, X + Width - b, Y + b, b, Height - b, SrcDC, SrcX + Width - b, SrcY + b, SRCCOPY);
    BitBlt(DstDC, X + b, Y + Height - b, Width - 2 * b, b, SrcDC, SrcX + b, SrcY + Height - b, SRCCOPY);
}

bool GetBGInfo(TacBGInfo& BGInfo, HWND Handle, bool PleaseDraw, TacSkinSource* SkinManager) noexcept {
    const bool callerWantedDrawing = BGInfo.PleaseDraw;
    BGInfo.BgType = btUnknown;
    BGInfo.PleaseDraw = PleaseDraw;
    if (!Handle) return false;
    SendMessageW(Handle, SM_ALPHACMD, MAKEWPARAM(0, SKC_GETBGINFO), reinterpret_cast<LPARAM>(&BGInfo));
    if (BGInfo.BgType != btUnknown) return true;
    if (callerWantedDrawing) {
        // The window draws itself: its origin is moved onto the asker's and the drawing
        // clipped to the asked rectangle.
        HDC dc = BGInfo.DrawDC;
        if (!dc) return false;
        SavedDC saved(dc);
        OffsetViewportOrgEx(dc, -BGInfo.Offset.X, -BGInfo.Offset.Y, nullptr);
        BGInfo.R = OffsetRect(BGInfo.R, BGInfo.Offset.X, BGInfo.Offset.Y);
        IntersectClipRect(dc, BGInfo.R.Left, BGInfo.R.Top, BGInfo.R.Right, BGInfo.R.Bottom);
        SendMessageW(Handle, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        SendMessageW(Handle, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
        return false;
    }
    // The window variant asks nothing further: the skin's global colour, or the system
    // button face colour without a skin.
    BGInfo.BgType = btFill;
    BGInfo.Color = SkinManager ? SkinManager->GetGlobalColor() : clBtnFace;
    return false;
}

}  // namespace qv
