// The arithmetic of the skin binding, fading and glow that needs no window: control kind
// sets, default sections by kind code, background kind bits, the colour mix behind a
// partly transparent control, fade weights and step counts, bound-label placement and
// glow window geometry. Portable: no <windows.h>.
#pragma once
#include "framework/Types.h"
#include "model/sSkinData.h"

#include <bitset>

namespace qv {

// ---- control kinds (TsCommonData::COC) ----
using TacKindSet = std::bitset<256>;
// Edit-like controls: colours from the skin, frame repainted on focus and hover.
extern const TacKindSet sEditCtrls;
// Controls that never count as active because the mouse is over them.
extern const TacKindSet sForbidMouse;
// Controls that never get a hover glow.
extern const TacKindSet sCanNotBeHot;
// A code outside 0..255 belongs to no set.
bool InKindSet(const TacKindSet& set, int coc) noexcept;

// The section a binding takes when none is set; empty for "the owner's class name".
String DefaultSectionOfKind(int coc);

// Background kind bits of a section's normal state: 4 with an image; with a gradient
// the first record's mode gives 2 (vertical, mode 0), 1 (mode 1) or 3 (mode 2).
int SectionBGType(const TsGeneralData& gd) noexcept;

// The colour behind a control whose section has transparency T (0..100): each channel
// (T × (parent − own) + own × 256) shr 8, clamped. The weight is T/256, not T/100: a
// fully transparent section still keeps a trace of its own colour this way, and
// callers rely on exactly these values.
TColor MixTransparentColor(TColor parentColor, TColor ownColor, int transparency) noexcept;

// ---- fading ----
// Weight of the old face at a step: clamp(255 − level × 256 div iterations, 0, 255).
int FadeStepWeight(int fadeLevel, int iterations) noexcept;

enum TFadeDirection { fdNone = 0, fdUp = 1, fdDown = 2 };
// The step count of a fade that starts (running false) or restarts (running true: a
// fade was in progress, its level counts as the section's full count) with the timer
// going in currentDirection; halve for press and release. fadeLevel gets the first step.
int FadeIterations(int sectionIterations, bool running, TFadeDirection currentDirection, bool halve,
                   int& fadeLevel) noexcept;

// ---- bound label ----
enum TsCaptionLayout {
    sclLeft,
    sclTopLeft,
    sclTopCenter,
    sclTopRight,
    sclLeftTop,
    sclBottomLeft,
    sclBottomCenter,
    sclBottomRight
};
// Top-left of a label of labelSize beside a control with bounds control.
TPoint BoundLabelPos(TsCaptionLayout layout, const TRect& control, TSize labelSize, int indent) noexcept;

// ---- glow ----
// The glow window's place and the part of the glow picture it shows.
struct TacGlowGeometry {
    TRect Window;  // screen rectangle of the glow window
    TPoint Cut;    // top-left of the shown part inside the full glow picture
    TSize Full;    // size of the full glow picture
};
// R: the control's screen rectangle; realRect: its visible part in control coordinates;
// mL..mB: the glow image's border widths; margin: the section's glow margin.
TacGlowGeometry CalcGlowGeometry(const TRect& R, const TRect& realRect, int mL, int mT, int mR, int mB,
                                 int margin) noexcept;

}  // namespace qv
