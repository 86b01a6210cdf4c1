// Painting a skinned window frame into a window image and putting its frame strips on the
// window, shared by the form frame skinner and the system-dialog wrapper so that both
// draw the same elements by the same rules.
#pragma once
#include "framework/Bitmap.h"
#include "framework/win32/Handles.h"
#include "skin/win32/sSkinManager.h"
#include "windows/acFrameGeometry.h"

#include <windows.h>

#include <array>
#include <memory>

namespace qv {

enum TacCaptionAlignment { caLeft, caRight, caCenter };

// Everything one paint of a frame image needs.
struct TacFramePaint {
    TsSkinManager* Manager = nullptr;
    int FormIndex = -1;     // "FORM" (or "DIALOG"); nothing is painted without it
    int TitleIndex = -1;    // "FORMTITLE" (or "DIALOGTITLE"); -1 skips the title
    int CaptionIndex = -1;  // "CAPTION"; -1 skips that layer
    bool Active = true;     // title state 1, else 0
    TacFrameMetrics Metrics;
    String Text;  // the caption text
    TacCaptionAlignment Alignment = caLeft;
    bool RightToLeft = false;
    HICON Icon = nullptr;  // not owned; nullptr: no icon
    TRect IconRect;        // empty: no icon
    const TacTitleButtons* Buttons = nullptr;
    int TitleBtnsWidth = 0;
    bool Grip = false;  // the size grip at the bottom right
    bool Maximized = false;
};

// The caption's glow, kept per active state, rebuilt when the text or size changes.
struct TacCaptionGlows {
    std::array<std::unique_ptr<TBitmap>, 2> Mask;  // blurred text shape per state
    void Clear() noexcept {
        Mask[0].reset();
        Mask[1].reset();
    }
};

// The whole window image (PaintAll): form section, grip, title section with icon, caption
// text with its glow and the title buttons. image is resized to CaptionWidth x Height.
// titleUnderButtons, when given, keeps the title band as it is under the buttons.
void PaintFrameImage(TBitmap& image, const TacFramePaint& p, TacCaptionGlows& glows,
                     TBitmap* titleUnderButtons = nullptr) noexcept;
// Only the title buttons (after a state change), over the title section's background.
void PaintFrameButtons(TBitmap& image, const TacFramePaint& p) noexcept;
// The title buttons again after a hot or pressed change: each button's place is given
// back from the title band kept under them, then the buttons are drawn in their state.
void RepaintFrameButtons(TBitmap& image, const TBitmap& titleUnderButtons, const TacFramePaint& p) noexcept;
// The text rectangle of the caption and the flags it is written with.
TRect CaptionTextRect(const TacFramePaint& p, HDC measureDC, UINT& flags) noexcept;
// The system's caption font at the frame's caption height; none when the system cannot
// tell its metrics.
UniqueFont CreateCaptionFont(int captionHeight) noexcept;

// Copies the four frame strips of image onto the window's DC; the client area is never
// touched. hasCaption: the top strip is HeaderHeight high, else BorderHeight.
void CopyFrameStrips(HDC windowDC, TBitmap& image, const TacFrameMetrics& m, bool hasCaption) noexcept;

}  // namespace qv
