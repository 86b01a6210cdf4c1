// The window image of a skinned frame and its copy onto the window; the provider's
// geometry, painting and region.
#include "framework/win32/Application.h"
#include "framework/win32/Canvas.h"
#include "framework/win32/Handles.h"
#include "paint/sAlphaGraph.h"
#include "paint/sGraphUtils_Item.h"
#include "paint/win32/acRegionHandle.h"
#include "paint/win32/sGraphUtils_Text.h"
#include "skin/win32/sMessages.h"
#include "windows/win32/acFramePaint.h"
#include "windows/win32/sSkinProvider.h"

#include <algorithm>

namespace qv {

namespace {

int ClampedState(const TsSkinModel& skin, int index, bool active) noexcept {
    const int states = skin.gd[static_cast<std::size_t>(index)].States;
    return std::clamp(active ? 1 : 0, 0, std::max(states - 1, 0));
}

const String& SectionName(const TsSkinModel& skin, int index) noexcept {
    return skin.gd[static_cast<std::size_t>(index)].ClassName;
}

int TitleBottom(const TacFrameMetrics& m) noexcept { return m.BorderHeight + m.CaptionHeight; }

// The top rows of one bitmap into another of the same width.
void CopyRows(const TBitmap& from, TBitmap& to, int rows) noexcept {
    const int bytes = std::min(from.Width(), to.Width()) * 4;
    for (int y = 0; y < rows && y < from.Height() && y < to.Height(); ++y)
        std::copy_n(from.ScanLine(y), bytes, to.ScanLine(y));
}

void PaintTitleBar(TBitmap& image, const TacFramePaint& p) noexcept {
    const TsSkinManager& skin = *p.Manager;
    const TacFrameMetrics& m = p.Metrics;
    const TRect title{0, 0, m.CaptionWidth, TitleBottom(m)};
    PaintItem(p.TitleIndex, SectionName(skin, p.TitleIndex), EmptyCI, true, ClampedState(skin, p.TitleIndex, p.Active),
              title, {0, 0}, &image, p.Manager);
    const int bar = skin.GetMaskIndex(p.FormIndex, SectionName(skin, p.FormIndex), L"TITLEBAR");
    if (skin.IsValidImgIndex(bar) && p.Buttons && (*p.Buttons)[tbClose].ImageIndex >= 0) {
        const int barWidth = 2 * WidthOfImage(skin.ma[static_cast<std::size_t>(bar)]) + p.TitleBtnsWidth;
        DrawSkinRect(&image, {m.CaptionWidth - barWidth, 0, m.CaptionWidth, TitleBottom(m)}, true, EmptyCI,
                     skin.ma[static_cast<std::size_t>(bar)], ClampedState(skin, p.FormIndex, p.Active), true,
                     p.Manager);
    }
}

void PaintTitleIcon(TBitmap& image, const TacFramePaint& p) noexcept {
    if (!p.Icon || p.IconRect.IsEmpty()) return;
    ::DrawIconEx(image.Canvas().Handle(), p.IconRect.Left, p.IconRect.Top, p.Icon, p.IconRect.Width(),
                 p.IconRect.Height(), 0, nullptr, DI_NORMAL);
    ::GdiFlush();
}

void PaintGrip(TBitmap& image, const TacFramePaint& p) noexcept {
    const TsSkinManager& skin = *p.Manager;
    const int grip = skin.ConstData.GripRightBottom;
    if (!p.Grip || !skin.IsValidImgIndex(grip)) return;
    const TsMaskData& md = skin.ma[static_cast<std::size_t>(grip)];
    const TacFrameMetrics& m = p.Metrics;
    const TPoint at{m.CaptionWidth - m.BorderWidth - WidthOfImage(md), m.Height - m.BorderHeight - HeightOfImage(md)};
    DrawSkinGlyph(&image, at, 0, 0, md, MakeCacheInfo(&image));
}

void PaintCaptionText(TBitmap& image, const TacFramePaint& p, TacCaptionGlows& glows) noexcept {
    if (p.Text.empty() || p.Metrics.CaptionHeight <= 0) return;
    const TsSkinManager& skin = *p.Manager;
    TCanvas& canvas = image.Canvas();
    const UniqueFont font = CreateCaptionFont(p.Metrics.CaptionHeight);
    if (font) canvas.Font().SetHandle(font.get());
    UINT flags = 0;
    TRect r = CaptionTextRect(p, canvas.Handle(), flags);
    if (r.IsEmpty()) return;
    int section = p.TitleIndex;
    if (skin.IsValidSkinIndex(p.CaptionIndex)) {
        section = p.CaptionIndex;
        PaintItem(p.CaptionIndex, SectionName(skin, p.CaptionIndex), EmptyCI, true,
                  ClampedState(skin, p.CaptionIndex, p.Active), {r.Left - 4, r.Top - 2, r.Right + 4, r.Bottom + 2},
                  {0, 0}, &image, p.Manager);
    }
    const TsGeneralData& gd = skin.gd[static_cast<std::size_t>(section)];
    const int glowSize = p.Active ? gd.HotGlowSize : gd.GlowSize;
    if (glowSize > 0)
        acDrawGlowForText(&image, p.Text, r, flags, 0, glowSize, p.Active ? gd.HotGlowColor : gd.GlowColor,
                          glows.Mask[p.Active ? 1 : 0]);
    WriteTextEx(canvas, p.Text, true, r, flags, section, p.Active, p.Manager);
    ::GdiFlush();
}

// One button's image; rows below the caption band are left alone so that a button taller
// than the band never reaches into the client part of the image.
void PaintButton(TBitmap& image, const TacFramePaint& p, const TsCaptionButton& b) noexcept {
    const TsSkinManager& skin = *p.Manager;
    if (!skin.IsValidImgIndex(b.ImageIndex) || b.Rect.IsEmpty()) return;
    const int limit = std::min(p.Metrics.HeaderHeight, image.Height());
    const int w = b.Rect.Width(), h = b.Rect.Height();
    TBitmap glyph(w, h, pf32bit);
    const TRect inside{std::max(b.Rect.Left, 0), std::max(b.Rect.Top, 0), std::min(b.Rect.Right, image.Width()),
                       std::min(b.Rect.Bottom, limit)};
    if (inside.IsEmpty()) return;
    const int dx = inside.Left - b.Rect.Left, dy = inside.Top - b.Rect.Top;
    for (int y = 0; y < inside.Height(); ++y)
        std::copy_n(image.ScanLine(inside.Top + y) + inside.Left * 4, inside.Width() * 4,
                    glyph.ScanLine(dy + y) + dx * 4);
    // The glyph routine draws the normal look with 1 and the faded one otherwise.
    const bool inactive = (b.State == 0) && (!p.Active || !b.Enabled);
    DrawSkinGlyph(&glyph, {0, 0}, b.State, inactive ? 0 : 1, skin.ma[static_cast<std::size_t>(b.ImageIndex)],
                  MakeCacheInfo(&glyph));
    for (int y = 0; y < inside.Height(); ++y)
        std::copy_n(glyph.ScanLine(dy + y) + dx * 4, inside.Width() * 4,
                    image.ScanLine(inside.Top + y) + inside.Left * 4);
}

}  // namespace

UniqueFont CreateCaptionFont(int captionHeight) noexcept {
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof ncm;
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, ncm.cbSize, &ncm, 0)) {
        // Systems before Vista know the structure without the padded border's field.
        ncm.cbSize = static_cast<UINT>(offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth));
        if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, ncm.cbSize, &ncm, 0)) return UniqueFont();
    }
    LOGFONTW lf = ncm.lfCaptionFont;
    // The font keeps the system's size unless the frame's caption is smaller than it.
    if (captionHeight > 0 && std::abs(lf.lfHeight) > captionHeight - 4) lf.lfHeight = -(captionHeight - 4);
    return UniqueFont(::CreateFontIndirectW(&lf));
}

TRect CaptionTextRect(const TacFramePaint& p, HDC measureDC, UINT& flags) noexcept {
    const TacFrameMetrics& m = p.Metrics;
    const bool captionSection = p.Manager && p.Manager->IsValidSkinIndex(p.CaptionIndex);
    TRect r;
    r.Left = m.SysBorderWidth + (p.IconRect.IsEmpty() ? 0 : p.IconRect.Width()) +
             (p.Manager ? p.Manager->SkinData.BILeftMargin : 0) + 4 + (captionSection ? 2 : 0);
    r.Right = m.CaptionWidth - p.TitleBtnsWidth - 12;
    r.Top = p.Maximized ? 3 : 2;
    r.Bottom = TitleBottom(m);
    flags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
    if (p.RightToLeft) flags |= DT_RTLREADING;
    SIZE size{};
    ::GetTextExtentPoint32W(measureDC, p.Text.c_str(), static_cast<int>(p.Text.size()), &size);
    // Centred vertically on the measured text.
    const int middle = (r.Top + r.Bottom) / 2;
    const int textWidth = static_cast<int>(size.cx), textHeight = static_cast<int>(size.cy);
    r.Top = middle - textHeight / 2;
    r.Bottom = r.Top + textHeight;
    TacCaptionAlignment alignment = p.Alignment;
    if (p.RightToLeft && alignment != caCenter) alignment = alignment == caLeft ? caRight : caLeft;
    if (alignment == caRight && textWidth < r.Width()) {
        r.Left = r.Right - textWidth;
    } else if (alignment == caCenter) {
        const int left = std::max(r.Left, r.Left + (r.Width() - textWidth - 4) / 2);
        r.Right = std::min(left + textWidth, r.Right);
        r.Left = left;
    }
    return r.Right > r.Left ? r : TRect{};
}

void PaintFrameImage(TBitmap& image, const TacFramePaint& p, TacCaptionGlows& glows,
                     TBitmap* titleUnderButtons) noexcept {
    if (!p.Manager || !p.Manager->IsValidSkinIndex(p.FormIndex)) return;
    const TacFrameMetrics& m = p.Metrics;
    if (m.CaptionWidth <= 0 || m.Height <= 0) return;
    image.SetPixelFormat(pf32bit);
    image.SetSize(m.CaptionWidth, m.Height);
    PaintItem(p.FormIndex, SectionName(*p.Manager, p.FormIndex), EmptyCI, true,
              ClampedState(*p.Manager, p.FormIndex, p.Active), {0, 0, m.CaptionWidth, m.Height}, {0, 0}, &image,
              p.Manager);
    PaintGrip(image, p);
    if (m.CaptionHeight <= 0 || !p.Manager->IsValidSkinIndex(p.TitleIndex)) return;
    // The title is painted into a band of the header's height and copied back, so that
    // nothing of it (the text's glow, a button taller than the caption) reaches the
    // client part of the image, which the client background is copied from.
    const int bandHeight = std::min(std::max(TitleBottom(m), m.HeaderHeight), m.Height);
    TBitmap band(m.CaptionWidth, bandHeight, pf32bit);
    CopyRows(image, band, bandHeight);
    PaintTitleBar(band, p);
    PaintTitleIcon(band, p);
    PaintCaptionText(band, p, glows);
    if (titleUnderButtons) {
        titleUnderButtons->SetPixelFormat(pf32bit);
        titleUnderButtons->SetSize(band.Width(), band.Height());
        CopyRows(band, *titleUnderButtons, bandHeight);
    }
    PaintFrameButtons(band, p);
    CopyRows(band, image, bandHeight);
}

void RepaintFrameButtons(TBitmap& image, const TBitmap& titleUnderButtons, const TacFramePaint& p) noexcept {
    if (!p.Manager || !p.Buttons || image.Empty() || titleUnderButtons.Width() != image.Width()) return;
    const int rows = std::min(titleUnderButtons.Height(), image.Height());
    for (const TsCaptionButton& b : *p.Buttons) {
        const int left = std::max(b.Rect.Left, 0), right = std::min(b.Rect.Right, image.Width());
        for (int y = std::max(b.Rect.Top, 0); y < std::min(b.Rect.Bottom, rows) && left < right; ++y)
            std::copy_n(titleUnderButtons.ScanLine(y) + left * 4, (right - left) * 4, image.ScanLine(y) + left * 4);
    }
    PaintFrameButtons(image, p);
}

void PaintFrameButtons(TBitmap& image, const TacFramePaint& p) noexcept {
    if (!p.Manager || !p.Buttons || image.Empty()) return;
    for (const TsCaptionButton& b : *p.Buttons) PaintButton(image, p, b);
}

void CopyFrameStrips(HDC windowDC, TBitmap& image, const TacFrameMetrics& m, bool hasCaption) noexcept {
    if (!windowDC || image.Empty()) return;
    HDC src = image.Canvas().Handle();
    const int w = image.Width(), h = image.Height();
    const int top = hasCaption ? m.HeaderHeight : m.BorderHeight;
    const int clientBottom = std::max(top, h - m.BorderHeight);
    ::BitBlt(windowDC, 0, 0, w, top, src, 0, 0, SRCCOPY);
    ::BitBlt(windowDC, 0, top, m.BorderWidth, clientBottom - top, src, 0, top, SRCCOPY);
    ::BitBlt(windowDC, w - m.BorderWidth, top, m.BorderWidth, clientBottom - top, src, w - m.BorderWidth, top, SRCCOPY);
    ::BitBlt(windowDC, 0, clientBottom, w, h - clientBottom, src, 0, clientBottom, SRCCOPY);
}

// ---------------------------------------------------------------- the provider's frame

namespace {

// System caption heights are read once per process.
int SystemCaptionHeight(bool small) noexcept {
    static const int normal = ::GetSystemMetrics(SM_CYCAPTION), tool = ::GetSystemMetrics(SM_CYSMCAPTION);
    return small ? tool : normal;
}

}  // namespace

TacFrameFacts TsSkinProvider::Facts() const noexcept {
    TacFrameFacts f;
    if (!FForm->HandleAllocated()) return f;
    const HWND wnd = const_cast<TCustomForm*>(FForm)->Handle();
    RECT wr{}, cr{};
    ::GetWindowRect(wnd, &wr);
    ::GetClientRect(wnd, &cr);
    POINT origin{0, 0};
    ::ClientToScreen(wnd, &origin);
    const LONG_PTR style = ::GetWindowLongPtrW(wnd, GWL_STYLE), ex = ::GetWindowLongPtrW(wnd, GWL_EXSTYLE);
    f.Window = {wr.right - wr.left, wr.bottom - wr.top};
    f.Client = {cr.right, cr.bottom};
    f.ClientOrigin = {origin.x - wr.left, origin.y - wr.top};
    f.ThickFrame = (style & WS_THICKFRAME) != 0;
    f.Border = FForm->BorderStyle() != bsNone || (style & WS_CHILD) != 0;
    f.Caption = (style & WS_CAPTION) == WS_CAPTION;
    f.ToolWindow = (ex & WS_EX_TOOLWINDOW) != 0;
    f.Minimized = ::IsIconic(wnd) != FALSE;
    f.Maximized = ::IsZoomed(wnd) != FALSE;
    f.SysCaption = SystemCaptionHeight(f.ToolWindow && !f.Minimized);
    return f;
}

TacFrameMetrics TsSkinProvider::Metrics() const noexcept { return FrameMetrics(Facts()); }

bool TsSkinProvider::ShowsIcon() const noexcept {
    const TFormBorderStyle bs = FForm->BorderStyle();
    return ShowAppIcon && FHaveSysMenu && (bs == bsSingle || bs == bsSizeable);
}

TRect TsSkinProvider::IconRect() const noexcept {
    TsSkinManager* m = ProviderSkinManager();
    const TacFrameMetrics metrics = Metrics();
    if (!ShowsIcon() || !m || metrics.CaptionHeight <= 0) return {};
    return TitleIconRect(metrics, m->SkinData.BILeftMargin, TitleIconSize(metrics.CaptionHeight));
}

// The form's icon, else the one its window or the application's window shows. The
// handles are shared: never destroyed here.
HICON TsSkinProvider::TitleIcon() const noexcept {
    if (FForm->Icon) return FForm->Icon;
    const HWND wnd = const_cast<TCustomForm*>(FForm)->Handle();
    for (const HWND w : {wnd, Application().Handle()}) {
        for (const WPARAM kind : {WPARAM(ICON_SMALL2), WPARAM(ICON_SMALL), WPARAM(ICON_BIG)}) {
            DWORD_PTR icon = 0;
            if (w && ::SendMessageTimeoutW(w, WM_GETICON, kind, 0, SMTO_ABORTIFHUNG, 200, &icon) && icon)
                return reinterpret_cast<HICON>(icon);
        }
    }
    return reinterpret_cast<HICON>(::GetClassLongPtrW(wnd, GCLP_HICONSM));
}

bool TsSkinProvider::GripVisible() const noexcept {
    if (GripMode != gmRightBottom || !FForm->HandleAllocated()) return false;
    const HWND wnd = const_cast<TCustomForm*>(FForm)->Handle();
    return !::IsZoomed(wnd) && (::GetWindowLongPtrW(wnd, GWL_STYLE) & WS_THICKFRAME) != 0;
}

void TsSkinProvider::UpdateButtons() {
    TsSkinManager* m = ProviderSkinManager();
    if (!m || !FForm->HandleAllocated()) return;
    const HWND wnd = FForm->Handle();
    const LONG_PTR style = ::GetWindowLongPtrW(wnd, GWL_STYLE), ex = ::GetWindowLongPtrW(wnd, GWL_EXSTYLE);
    const TFormBorderStyle bs = FForm->BorderStyle();
    TacTitleButtonShow show;
    show.Large = bs == bsSingle || bs == bsSizeable;
    show.SysMenu = FHaveSysMenu;
    show.Max = (style & WS_MAXIMIZEBOX) != 0;
    show.Min = (style & WS_MINIMIZEBOX) != 0;
    show.Help = (ex & WS_EX_CONTEXTHELP) != 0;
    show.Maximized = ::IsZoomed(wnd) != FALSE;
    show.MinRestores = ::IsIconic(wnd) && FForm != Application().MainForm();
    ChooseTitleButtonImages(*m, show, FButtons);
    FButtons[tbClose].Enabled = !FSystemMenu || FSystemMenu->CloseEnabled();
    FButtons[tbMax].Enabled = !::IsIconic(wnd) || show.Maximized;
    FButtons[tbMin].Enabled = true;
    FButtons[tbHelp].Enabled = true;
    const TacTitleButtonSpacing spacing{m->SkinData.BIRightMargin, m->SkinData.BISpacing, m->SkinData.BIVAlign};
    FTitleBtnsWidth = LayoutTitleButtons(*m, Metrics(), show, spacing, FButtons);
}

TacFramePaint TsSkinProvider::PaintParams() const noexcept {
    TacFramePaint p;
    p.Manager = ProviderSkinManager();
    p.FormIndex = FCommonData->FSkinIndex;
    p.TitleIndex = FTitleSkinIndex;
    p.CaptionIndex = FCaptionSkinIndex;
    p.Active = FFormActive;
    p.Metrics = Metrics();
    p.Text = const_cast<TCustomForm*>(FForm)->Caption();
    p.Alignment = CaptionAlignment;
    p.RightToLeft = (::GetWindowLongPtrW(const_cast<TCustomForm*>(FForm)->Handle(), GWL_EXSTYLE) & WS_EX_RTLREADING) !=
                    0;
    p.IconRect = IconRect();
    p.Icon = p.IconRect.IsEmpty() ? nullptr : TitleIcon();
    p.Buttons = &FButtons;
    p.TitleBtnsWidth = FTitleBtnsWidth;
    p.Grip = GripVisible();
    p.Maximized = ::IsZoomed(const_cast<TCustomForm*>(FForm)->Handle()) != FALSE;
    return p;
}

TBitmap* TsSkinProvider::FrameImage() const noexcept { return FCommonData->FCacheBmp.get(); }

void TsSkinProvider::PaintAll() {
    TBitmap* image = FrameImage();
    if (!image || !Ready()) return;
    const TSize before{image->Width(), image->Height()};
    UpdateButtons();
    PaintFrameImage(*image, PaintParams(), FGlows, &FTitleUnderButtons);
    if (before != TSize{image->Width(), image->Height()}) FRgnChanged = true;
    FCommonData->BGChanged = false;
    FPaintedActive = FFormActive ? 1 : 0;
}

void TsSkinProvider::PaintCaption(HDC windowDC) {
    if (!Ready()) return;
    const TacFrameMetrics m = Metrics();
    TBitmap* image = FrameImage();
    if (FCommonData->BGChanged || !image || image->Width() != m.CaptionWidth || image->Height() != m.Height) PaintAll();
    if (image) CopyFrameStrips(windowDC, *image, m, m.CaptionHeight > 0);
}

void TsSkinProvider::RepaintNC() {
    FCommonData->BGChanged = true;
    if (!Ready() || !::IsWindowVisible(FForm->Handle())) return;
    WholeWindowDC dc(FForm->Handle());
    PaintCaption(dc.get());
}

void TsSkinProvider::RepaintButtons() {
    TBitmap* image = FrameImage();
    if (!Ready() || !image || image->Empty() || FCommonData->BGChanged) {
        RepaintNC();
        return;
    }
    // The buttons alone change: the rest of the window image stays as it is.
    if (FTitleUnderButtons.Width() != image->Width() || FPaintedActive != (FFormActive ? 1 : 0)) PaintAll();
    else RepaintFrameButtons(*image, FTitleUnderButtons, PaintParams());
    WholeWindowDC dc(FForm->Handle());
    CopyFrameStrips(dc.get(), *image, Metrics(), CaptionHeight() > 0);
}

void TsSkinProvider::WMNCPaint(TMessage& m) {
    if (::IsIconic(FForm->Handle()) || !::IsWindowVisible(FForm->Handle())) {
        CallOld(m);
        return;
    }
    if (!FAdapter) AdapterCreate();
    if (FRgnChanged) UpdateRgn(::IsZoomed(FForm->Handle()) != FALSE);
    WholeWindowDC dc(FForm->Handle());
    PaintCaption(dc.get());
    m.Result = 0;
}

namespace {

// Copies the client part of the window image (from `offset` in it) to the client DC,
// leaving out the visible children, which paint themselves.
void CopyClientAroundChildren(HWND wnd, HDC dc, HDC image, TPoint offset) {
    const SavedDC clipped(dc);
    for (HWND child = ::GetWindow(wnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (!::IsWindowVisible(child)) continue;
        RECT r{};
        ::GetWindowRect(child, &r);
        ::MapWindowPoints(nullptr, wnd, reinterpret_cast<POINT*>(&r), 2);
        ::ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
    }
    RECT client{};
    ::GetClientRect(wnd, &client);
    ::BitBlt(dc, 0, 0, client.right, client.bottom, image, offset.X, offset.Y, SRCCOPY);
}

}  // namespace

// The client background from the same image, around the child windows.
void TsSkinProvider::WMEraseBkgnd(TMessage& m) {
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    if (!dc) {
        CallOld(m);
        return;
    }
    const bool rebuilt = FCommonData->BGChanged || !FrameImage() || FrameImage()->Empty();
    if (rebuilt) PaintAll();
    TBitmap* image = FrameImage();
    if (!image || image->Empty()) {
        CallOld(m);
        return;
    }
    const HWND wnd = FForm->Handle();
    CopyClientAroundChildren(wnd, dc, image->Canvas().Handle(), Metrics().ClientOffset);
    m.Result = 1;
    if (rebuilt) {
        const TMessage updated = MakeAlphaMessage(SKC_PARENTUPDATED, 0, 0);
        for (HWND child = ::GetWindow(wnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
            ::SendMessageW(child, updated.Msg, updated.WParam, updated.LParam);
    }
}

// A picture of the window (PrintWindow, WM_PRINT) shows the skinned frame too.
void TsSkinProvider::WMPrint(TMessage& m) {
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    if (!dc || !(m.LParam & PRF_NONCLIENT) || ::IsIconic(FForm->Handle())) {
        CallOld(m);
        return;
    }
    const TacFrameMetrics metrics = Metrics();
    if (FCommonData->BGChanged || !FrameImage() || FrameImage()->Empty()) PaintAll();
    if (TBitmap* image = FrameImage()) CopyFrameStrips(dc, *image, metrics, metrics.CaptionHeight > 0);
    POINT old{};
    ::OffsetViewportOrgEx(dc, metrics.ClientOffset.X, metrics.ClientOffset.Y, &old);
    m.LParam &= ~static_cast<LPARAM>(PRF_NONCLIENT);
    CallOld(m);
    ::SetViewportOrgEx(dc, old.x, old.y, nullptr);
}

// ---------------------------------------------------------------- region

void TsSkinProvider::FillArOR() {
    FArOR.clear();
    TsSkinManager* m = ProviderSkinManager();
    if (!m) return;
    const TacFrameMetrics metrics = Metrics();
    const TsMaskData* formMask = m->IsValidImgIndex(FCommonData->FBorderIndex)
                                     ? &m->ma[static_cast<std::size_t>(FCommonData->FBorderIndex)]
                                     : nullptr;
    const TsMaskData* titleMask = nullptr;
    if (m->IsValidSkinIndex(FTitleSkinIndex) && metrics.CaptionHeight > 0) {
        const int t = m->GetMaskIndex(FTitleSkinIndex, m->gd[static_cast<std::size_t>(FTitleSkinIndex)].ClassName,
                                      L"BORDERSMASK");
        if (m->IsValidImgIndex(t)) titleMask = &m->ma[static_cast<std::size_t>(t)];
    }
    FArOR = FrameArOR(formMask, titleMask, metrics.CaptionWidth, metrics.Height);
}

void TsSkinProvider::UpdateRgn(bool repaint) {
    if (!Ready() || FInMenu) return;
    const HWND wnd = FForm->Handle();
    const TacFrameFacts facts = Facts();
    if (!facts.Border && !facts.Minimized && !facts.ThickFrame) return;
    if (::GetWindowLongPtrW(wnd, GWL_STYLE) & WS_CHILD) return;
    const TacFrameMetrics m = FrameMetrics(facts);
    UniqueRegion rgn;
    const bool constrained = FForm->Constraints().MaxWidth() > 0 || FForm->Constraints().MaxHeight() > 0;
    if (facts.Maximized && !constrained) {
        const TRect box = MaximizedRegionBox(m, facts.Window);
        rgn.reset(::CreateRectRgn(box.Left, box.Top, box.Right, box.Bottom));
    } else {
        FillArOR();
        rgn = RegionHandle(RegionFromArOR(FArOR, {0, 0}, m.CaptionWidth, m.Height));
    }
    if (!rgn) return;
    // The system owns the region once it is set; on failure it is still ours to free.
    // Set without the system's redraw: under Wine that redraw recomputes the frame of a
    // window being maximized as if it had none, and its client area then covers the
    // whole window. The frame is invalidated instead.
    if (::SetWindowRgn(wnd, rgn.get(), FALSE)) {
        rgn.release();
        if (repaint) ::RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
    }
    FRgnChanged = false;
}

}  // namespace qv
