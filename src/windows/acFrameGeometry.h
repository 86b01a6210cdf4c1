// The geometry of a skinned window frame, shared by the form frame skinner and the
// system-dialog wrapper: frame metrics from the window's sizes and styles, the choice of
// title-button images, their placement in the caption, the title icon's rectangle, hit
// testing, and the window region cut from the skin's transparent corner pixels. Pure:
// everything comes in as values read by the caller, nothing here asks a window.
// Coordinates are window coordinates (0, 0 at the window rectangle's top-left).
#pragma once
#include "framework/Types.h"
#include "paint/acRegion.h"
#include "model/sMaskData.h"
#include "model/sSkinModel.h"

#include <array>

namespace qv {

// Hit-test codes the frame answers (the system's values), and the first user button's.
constexpr int acHTCaption = 2, acHTSysMenu = 3, acHTMinButton = 8, acHTMaxButton = 9, acHTClose = 20, acHTHelp = 21,
              acHTUserButton = 1000;

// What a frame's geometry depends on, read from the window by the caller.
struct TacFrameFacts {
    TSize Window;             // window rectangle size
    TSize Client;             // client rectangle size
    TPoint ClientOrigin;      // client top-left in window coordinates
    bool ThickFrame = false;  // WS_THICKFRAME
    bool Border = false;      // WS_BORDER or WS_DLGFRAME: the window has a frame
    bool Caption = false;     // both bits of WS_CAPTION
    bool ToolWindow = false;  // small caption (WS_EX_TOOLWINDOW)
    bool Minimized = false;
    bool Maximized = false;
    int SysCaption = 0;   // SM_CYCAPTION, or SM_CYSMCAPTION for a tool window
    int ExtraBorder = 0;  // the form's own border width inside the system frame
};

struct TacFrameMetrics {
    int SysBorderWidth = 0;  // the system frame's width (and height: it is square)
    int SysBorderHeight = 0;
    int CaptionHeight = 0;  // 0 without a caption
    int BorderWidth = 0;    // system frame plus the form's own border
    int BorderHeight = 0;
    int HeaderHeight = 0;  // window top to client top, below the top border
    int CaptionWidth = 0;  // the width of the window image
    int Height = 0;        // the height of the window image
    TPoint ClientOffset;   // client origin in the window image (OffsetX, OffsetY)
};

TacFrameMetrics FrameMetrics(const TacFrameFacts& facts) noexcept;

// The title-icon edge for a caption height: 1 up to 8, 8 up to 16, else 16.
int TitleIconSize(int captionHeight) noexcept;
// The title icon's rectangle: BILEFT from the frame, centred in the caption.
TRect TitleIconRect(const TacFrameMetrics& m, int biLeft, int iconSize) noexcept;

// One title button.
struct TsCaptionButton {
    int State = 0;               // 0 normal, 1 hot, 2 pressed
    int ImageIndex = -1;         // mask index, -1 none (then not drawn and never hit)
    TRect Rect;                  // window coordinates; empty when not placed
    bool HaveAlignment = false;  // vertical placement follows BIVALIGN
    int GlowID = -1;
    int HitCode = 0;
    bool Enabled = true;  // a disabled button looks inactive and hits as caption
};

enum TacTitleButtonKind { tbClose, tbMax, tbMin, tbHelp, tbCount };
using TacTitleButtons = std::array<TsCaptionButton, tbCount>;

// Which buttons a window shows.
struct TacTitleButtonShow {
    bool Large = false;    // bsSingle / bsSizeable forms: the B* images
    bool SysMenu = false;  // the window has a system menu: close, max, min exist
    bool Max = false, Min = false, Help = false;
    bool Maximized = false;    // the maximize button shows the restore image
    bool MinRestores = false;  // a minimized secondary window: restore image on minimize
};

// Mask indexes and hit codes for the buttons (UpdateIconsIndexes): large "BICON*" images
// (close "BICLOSEALONE" when neither maximize nor minimize shows and the skin has it),
// or small "SICON*" ones, falling back to the large set when the small close is missing.
void ChooseTitleButtonImages(const TsSkinModel& skin, const TacTitleButtonShow& show,
                             TacTitleButtons& buttons) noexcept;

// Skin values the layout reads from the global section.
struct TacTitleButtonSpacing {
    int Right = 0;   // BIRIGHT
    int Space = 0;   // BISPACE (between large buttons)
    int VAlign = 0;  // BIVALIGN
};

// Places the buttons right to left in the caption and returns TitleBtnsWidth.
int LayoutTitleButtons(const TsSkinModel& skin, const TacFrameMetrics& m, const TacTitleButtonShow& show,
                       const TacTitleButtonSpacing& spacing, TacTitleButtons& buttons) noexcept;

// Size of one state of a mask (21 x 21 when the index is invalid).
TSize TitleButtonSize(const TsSkinModel& skin, int maskIndex) noexcept;

// What the hit test needs beyond metrics and buttons.
struct TacHitFacts {
    bool Sizeable = false;  // WS_THICKFRAME
    bool Maximized = false;
    TRect IconRect;  // empty when no icon shows
    TRect GripRect;  // empty when no grip shows
};

// The frame's own answer for a point in window coordinates: a title button's code (an
// enabled one; a disabled maximize or minimize answers HTCAPTION), HTSYSMENU on the icon,
// the sizing edges and corners of a sizeable window that is not maximized, HTCAPTION on
// the title bar, HTBOTTOMRIGHT on the grip, else HTCLIENT.
int FrameHitTest(const TacFrameMetrics& m, const TacTitleButtons& buttons, const TacHitFacts& facts, TPoint p) noexcept;
// Codes the frame keeps; the system answers all others.
bool FrameKeepsHitCode(int code) noexcept;

// The rectangles cut out of the window region (ArOR): the key-coloured corner pixels of
// the form mask's top rows (at y 0) and bottom rows (at height - its bottom border), then
// those of the title mask's top rows. Either mask may be nullptr.
TAOR FrameArOR(const TsMaskData* formMask, const TsMaskData* titleMask, int captionWidth, int height);
// The window region: (x, y, x + width, y + height) without every ArOR rectangle.
TacRegion RegionFromArOR(const TAOR& cut, TPoint origin, int width, int height);
// A maximized window's region box: the off-screen system frame cut on every side.
TRect MaximizedRegionBox(const TacFrameMetrics& m, TSize window) noexcept;

}  // namespace qv
