#include "controls/sCommonDataCore.h"

#include <algorithm>
#include <initializer_list>
#include <utility>

namespace qv {

namespace {

using Range = std::pair<int, int>;

TacKindSet MakeSet(std::initializer_list<Range> ranges) {
    TacKindSet set;
    for (const auto& [from, to] : ranges)
        for (int i = from; i <= to; ++i) set.set(static_cast<std::size_t>(i));
    return set;
}

bool InRanges(int coc, std::initializer_list<Range> ranges) noexcept {
    for (const auto& [from, to] : ranges)
        if (coc >= from && coc <= to) return true;
    return false;
}

int ClampByte(int v) noexcept { return std::clamp(v, 0, 255); }

}  // namespace

const TacKindSet sEditCtrls = MakeSet({{2, 18}, {41, 41}, {76, 84}, {96, 96}, {131, 140}});
const TacKindSet sForbidMouse = MakeSet({{19, 19}, {51, 74}, {110, 110}, {141, 161}});
const TacKindSet sCanNotBeHot = MakeSet({{51, 52},
                                         {54, 54},
                                         {56, 60},
                                         {68, 68},
                                         {73, 74},
                                         {110, 110},
                                         {141, 141},
                                         {143, 143},
                                         {151, 151},
                                         {161, 161},
                                         {226, 226}});

bool InKindSet(const TacKindSet& set, int coc) noexcept {
    return coc >= 0 && coc < 256 && set.test(static_cast<std::size_t>(coc));
}

String DefaultSectionOfKind(int coc) {
    if (InRanges(
            coc,
            {{2, 8}, {10, 10}, {41, 41}, {76, 76}, {78, 78}, {83, 85}, {96, 96}, {131, 131}, {140, 140}, {227, 227}}))
        return L"EDIT";
    if (InRanges(coc, {{11, 18}, {81, 82}})) return L"COMBOBOX";
    switch (coc) {
    case 19: return L"BAR";
    case 20: return L"BARTITLE";
    case 32:
    case 152: return L"CHECKBOX";
    case 33: return L"RADIOBUTTON";
    case 51:
    case 59:
    case 68:
    case 73: return L"PANEL";
    case 52:
    case 58: return L"PANEL_LOW";
    case 53:
    case 54:
    case 60: return L"TOOLBAR";
    case 56: return L"DRAGBAR";
    case 57: return L"TABSHEET";
    case 74:
    case 226: return L"GROUPBOX";
    case 75: return L"SPLITTER";
    case 92:
    case 95: return L"SPEEDBUTTON";
    case 93:
    case 94: return L"BUTTON";
    case 98: return L"TOOLBUTTON";
    case 141:
    case 143: return L"PAGECONTROL";
    case 151: return L"STATUSBAR";
    case 161: return L"GAUGE";
    case 165: return L"TRACKBAR";
    default: return String();
    }
}

int SectionBGType(const TsGeneralData& gd) noexcept {
    int result = 0;
    if (gd.ImagePercent != 0) result |= 4;
    if (gd.GradientPercent != 0 && !gd.GradientArray.empty()) {
        switch (gd.GradientArray.front().Mode1) {
        case 0: result |= 2; break;
        case 1: result |= 1; break;
        case 2: result |= 3; break;
        default: break;
        }
    }
    return result;
}

TColor MixTransparentColor(TColor parentColor, TColor ownColor, int transparency) noexcept {
    TColor result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const int parent = (parentColor >> shift) & 0xFF;
        const int own = (ownColor >> shift) & 0xFF;
        // Arithmetic shift of a possibly negative sum, as the channel formula asks.
        const int mixed = (transparency * (parent - own) + own * 256) >> 8;
        result |= static_cast<TColor>(ClampByte(mixed)) << shift;
    }
    return result;
}

int FadeStepWeight(int fadeLevel, int iterations) noexcept {
    if (iterations == 0) return 0;
    return ClampByte(255 - fadeLevel * 256 / iterations);
}

int FadeIterations(int sectionIterations, bool running, TFadeDirection currentDirection, bool halve,
                   int& fadeLevel) noexcept {
    fadeLevel = running ? sectionIterations : 1;
    int iterations = sectionIterations;
    switch (currentDirection) {
    case fdUp: iterations = fadeLevel; break;
    case fdDown: iterations = sectionIterations - fadeLevel; break;
    case fdNone: break;
    }
    if (halve) iterations /= 2;
    if (fadeLevel >= iterations || fadeLevel < 1) fadeLevel = 1;
    return iterations;
}

TPoint BoundLabelPos(TsCaptionLayout layout, const TRect& c, TSize l, int indent) noexcept {
    const int cw = c.Width(), ch = c.Height();
    switch (layout) {
    case sclLeft: return {c.Left - l.cx - indent - 4, c.Top + (ch - l.cy) / 2};
    case sclTopLeft: return {c.Left, c.Top - l.cy - indent};
    case sclTopCenter: return {c.Left + (cw - l.cx) / 2, c.Top - l.cy - indent};
    case sclTopRight: return {c.Left + cw - l.cx, c.Top - l.cy - indent};
    case sclLeftTop: return {c.Left - l.cx - indent - 4, c.Top + 3};
    case sclBottomLeft: return {c.Left, c.Top + ch + indent};
    case sclBottomCenter: return {c.Left + (cw - l.cx) / 2, c.Top + ch + indent};
    case sclBottomRight: return {c.Left + cw - l.cx, c.Top + ch + indent};
    }
    return {c.Left, c.Top};
}

TacGlowGeometry CalcGlowGeometry(const TRect& R, const TRect& realRect, int mL, int mT, int mR, int mB,
                                 int margin) noexcept {
    const int rw = R.Width(), rh = R.Height();
    int w = rw + mL + mR - 2 * margin;
    int h = rh + mT + mB - 2 * margin;
    const TSize full{w, h};
    const int cutL = realRect.Left != 0 ? mL + realRect.Left - margin : 0;
    const int cutT = realRect.Top != 0 ? mT + realRect.Top - margin : 0;
    int cutR = 0, cutB = 0;
    if (rw != realRect.Right) cutR = cutL != 0 ? w - cutL - realRect.Width() : rw + mR - realRect.Width() - margin;
    if (rh != realRect.Bottom) cutB = cutT != 0 ? h - cutT - realRect.Height() : rh + mB - realRect.Height() - margin;
    w -= cutL + cutR;
    h -= cutT + cutB;
    const int left = R.Left + margin + cutL - mL;
    const int top = R.Top + margin + cutT - mT;
    return {TRect{left, top, left + w, top + h}, TPoint{cutL, cutT}, full};
}

}  // namespace qv
