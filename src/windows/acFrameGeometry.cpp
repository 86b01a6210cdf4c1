#include "windows/acFrameGeometry.h"

#include "paint/sGraphUtils_Item.h"

#include <algorithm>

namespace qv {

namespace {

// HT* values of the sizing edges and the client area.
constexpr int kHTClient = 1, kHTLeft = 10, kHTRight = 11, kHTTop = 12, kHTTopLeft = 13, kHTTopRight = 14,
              kHTBottom = 15, kHTBottomLeft = 16, kHTBottomRight = 17;

const String kGlobal = L"GLOBALINFO";

bool Inside(const TRect& r, TPoint p) noexcept {
    return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom;
}

TRect Intersect(const TRect& a, const TRect& b) noexcept {
    TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom)};
    return r.IsEmpty() ? TRect{} : r;
}

int EdgeCode(const TacFrameMetrics& m, TPoint p) noexcept {
    const int b = m.SysBorderWidth;
    int vertical = 0;  // -1 top, 1 bottom
    if (p.Y < m.SysBorderHeight) vertical = -1;
    else if (p.Y >= m.Height - m.SysBorderHeight) vertical = 1;
    int horizontal = 0;
    if (p.X < b) horizontal = -1;
    else if (p.X >= m.CaptionWidth - b) horizontal = 1;
    if (vertical < 0) return horizontal < 0 ? kHTTopLeft : horizontal > 0 ? kHTTopRight : kHTTop;
    if (vertical > 0) return horizontal < 0 ? kHTBottomLeft : horizontal > 0 ? kHTBottomRight : kHTBottom;
    if (horizontal != 0) return horizontal < 0 ? kHTLeft : kHTRight;
    return 0;
}

// The title buttons reach no further down than the header: a button taller than the
// caption band is cut there, so it neither paints into nor answers for the client area.
TRect VisibleButtonRect(const TacFrameMetrics& m, const TsCaptionButton& b) noexcept {
    if (b.ImageIndex < 0) return {};
    return Intersect(b.Rect, {0, 0, m.CaptionWidth, m.HeaderHeight});
}

}  // namespace

TacFrameMetrics FrameMetrics(const TacFrameFacts& f) noexcept {
    TacFrameMetrics m;
    m.CaptionWidth = f.Window.cx;
    m.Height = f.Window.cy;
    m.ClientOffset = f.ClientOrigin;
    // The frame the system draws: measured from where it puts the client area rather than
    // from SM_CXFRAME, which leaves out the padded border of newer systems.
    if (f.Border || f.ThickFrame) m.SysBorderWidth = std::max(0, f.ClientOrigin.X - f.ExtraBorder);
    m.SysBorderHeight = m.SysBorderWidth;
    m.BorderWidth = m.SysBorderWidth + f.ExtraBorder;
    m.BorderHeight = m.SysBorderHeight + f.ExtraBorder;
    if ((f.Border && f.Caption) || f.Minimized) m.CaptionHeight = f.SysCaption;
    m.HeaderHeight = std::max(0, f.ClientOrigin.Y);
    if (f.Minimized) m.HeaderHeight = m.Height;
    return m;
}

int TitleIconSize(int captionHeight) noexcept {
    if (captionHeight <= 8) return 1;
    if (captionHeight <= 16) return 8;
    return 16;
}

TRect TitleIconRect(const TacFrameMetrics& m, int biLeft, int iconSize) noexcept {
    TRect r;
    r.Left = m.SysBorderWidth + biLeft;
    r.Right = r.Left + iconSize;
    r.Top = m.BorderHeight / 2 + (m.BorderHeight + m.CaptionHeight - iconSize) / 2;
    r.Bottom = r.Top + iconSize;
    return r;
}

void ChooseTitleButtonImages(const TsSkinModel& skin, const TacTitleButtonShow& show,
                             TacTitleButtons& buttons) noexcept {
    auto image = [&](const wchar_t* name) { return skin.GetMaskIndex(kGlobal, name); };
    bool large = show.Large;
    int close = -1;
    if (!large) {
        close = image(L"SICONCLOSE");
        if (close < 0) large = true;  // no small set: the large one with its alignment
    }
    if (large) {
        const int alone = (!show.Max && !show.Min) ? image(L"BICLOSEALONE") : -1;
        close = alone >= 0 ? alone : image(L"BICONCLOSE");
    }
    const wchar_t* restoreName = large ? L"BICONNORM" : L"SICONNORM";
    int max = image(show.Maximized ? restoreName : (large ? L"BICONMAX" : L"SICONMAX"));
    int min = image(show.MinRestores ? restoreName : (large ? L"BICONMIN" : L"SICONMIN"));
    int help = image(large ? L"BICONHELP" : L"SICONHELP");
    if (help < 0) help = image(L"BICONHELP");
    const int codes[tbCount] = {acHTClose, acHTMaxButton, acHTMinButton, acHTHelp};
    const int images[tbCount] = {close, show.SysMenu && show.Max ? max : -1, show.SysMenu && show.Min ? min : -1,
                                 show.SysMenu && show.Help ? help : -1};
    for (int i = 0; i < tbCount; ++i) {
        buttons[i].HitCode = codes[i];
        buttons[i].ImageIndex = show.SysMenu ? images[i] : -1;
        buttons[i].HaveAlignment = large;
        if (buttons[i].ImageIndex < 0) buttons[i].Rect = {};
    }
}

TSize TitleButtonSize(const TsSkinModel& skin, int maskIndex) noexcept {
    if (!skin.IsValidImgIndex(maskIndex)) return {21, 21};
    const TsMaskData& md = skin.ma[static_cast<std::size_t>(maskIndex)];
    return {WidthOfImage(md), HeightOfImage(md)};
}

int LayoutTitleButtons(const TsSkinModel& skin, const TacFrameMetrics& m, const TacTitleButtonShow& show,
                       const TacTitleButtonSpacing& spacing, TacTitleButtons& buttons) noexcept {
    const int buttonHeight = TitleButtonSize(skin, buttons[tbClose].ImageIndex).cy;
    const bool large = buttons[tbClose].HaveAlignment;
    const int gap = large ? spacing.Space : 0;
    int edge = m.CaptionWidth - spacing.Right - m.SysBorderWidth;
    int width = spacing.Right;
    for (int i = 0; i < tbCount; ++i) {
        TsCaptionButton& b = buttons[i];
        if (b.ImageIndex < 0) {
            b.Rect = {};
            continue;
        }
        if (i == tbHelp) edge -= 6;
        const int w = TitleButtonSize(skin, b.ImageIndex).cx;
        int top;
        if (b.HaveAlignment && spacing.VAlign == 1) {
            top = show.Maximized ? 3 : 0;
        } else {
            top = (m.BorderHeight + m.CaptionHeight - buttonHeight) / 2;
            if (large && buttonHeight < 16) top += 2;
        }
        b.Rect = {edge - w, top, edge, top + buttonHeight};
        edge = b.Rect.Left - gap;
        width += w + (i == tbClose ? 0 : gap);
    }
    return width;
}

int FrameHitTest(const TacFrameMetrics& m, const TacTitleButtons& buttons, const TacHitFacts& facts,
                 TPoint p) noexcept {
    for (const TsCaptionButton& b : buttons) {
        if (!Inside(VisibleButtonRect(m, b), p)) continue;
        return b.Enabled ? b.HitCode : acHTCaption;
    }
    if (facts.Sizeable && !facts.Maximized) {
        if (const int edge = EdgeCode(m, p)) return edge;
    }
    if (m.CaptionHeight > 0 && p.Y >= 0 && p.Y < m.BorderHeight + m.CaptionHeight)
        return Inside(facts.IconRect, p) ? acHTSysMenu : acHTCaption;
    if (Inside(facts.GripRect, p)) return kHTBottomRight;
    return kHTClient;
}

bool FrameKeepsHitCode(int code) noexcept {
    return code == acHTSysMenu || code == acHTMinButton || code == acHTMaxButton || code == acHTClose ||
           code == acHTHelp || code >= acHTUserButton;
}

TAOR FrameArOR(const TsMaskData* formMask, const TsMaskData* titleMask, int captionWidth, int height) {
    TAOR cut;
    if (formMask) {
        AddRgn(cut, captionWidth, *formMask, 0, false);
        AddRgn(cut, captionWidth, *formMask, height - formMask->WB, true);
    }
    if (titleMask) AddRgn(cut, captionWidth, *titleMask, 0, false);
    return cut;
}

TacRegion RegionFromArOR(const TAOR& cut, TPoint origin, int width, int height) {
    TacRegion region({origin.X, origin.Y, origin.X + width, origin.Y + height});
    for (const TRect& r : cut)
        region.Remove({r.Left + origin.X, r.Top + origin.Y, r.Right + origin.X, r.Bottom + origin.Y});
    return region;
}

TRect MaximizedRegionBox(const TacFrameMetrics& m, TSize window) noexcept {
    return {m.SysBorderWidth, m.SysBorderHeight, window.cx - m.SysBorderWidth, window.cy - m.SysBorderHeight};
}

}  // namespace qv
