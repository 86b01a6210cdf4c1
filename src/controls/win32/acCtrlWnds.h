// The wrapper kinds beyond push buttons, each with the section it takes when none is
// given. These answer the engine's commands for their window (the base wrapper's
// table) and leave painting to the window itself; the push-button wrappers
// (acBtnWnd.h) paint their whole face.
#pragma once
#include "controls/win32/acBtnWnd.h"

namespace qv {

// A wrapper kind that only answers the skin commands, with a default section.
template <const wchar_t* Section>
class TacSectionWnd : public TacMainWnd {
public:
    TacSectionWnd(HWND wnd, TsCommonData* binding, TsSkinManager* manager, const String& section = String(),
                  bool repaint = true)
        : TacMainWnd(wnd, binding, manager, section.empty() ? String(Section) : section, repaint) {}
};

inline constexpr wchar_t acSecCheckBox[] = L"CHECKBOX";
inline constexpr wchar_t acSecGroupBox[] = L"GROUPBOX";
inline constexpr wchar_t acSecPanel[] = L"PANEL";
inline constexpr wchar_t acSecTransparent[] = L"TRANSPARENT";
inline constexpr wchar_t acSecPageControl[] = L"PAGECONTROL";
inline constexpr wchar_t acSecUpDown[] = L"UPDOWN";
inline constexpr wchar_t acSecTrackBar[] = L"TRACKBAR";
inline constexpr wchar_t acSecToolBar[] = L"TOOLBAR";
inline constexpr wchar_t acSecStatusBar[] = L"STATUSBAR";
inline constexpr wchar_t acSecEdit[] = L"EDIT";
inline constexpr wchar_t acSecComboBox[] = L"COMBOBOX";

class TacStaticWnd : public TacSectionWnd<acSecTransparent> { using TacSectionWnd::TacSectionWnd; };
class TacEdgeWnd : public TacStaticWnd { using TacStaticWnd::TacStaticWnd; };
class TacIconWnd : public TacStaticWnd { using TacStaticWnd::TacStaticWnd; };
class TacLinkWnd : public TacStaticWnd { using TacStaticWnd::TacStaticWnd; };
class TacTransPanelWnd : public TacSectionWnd<acSecTransparent> { using TacSectionWnd::TacSectionWnd; };
class TacPanelWnd : public TacSectionWnd<acSecPanel> { using TacSectionWnd::TacSectionWnd; };
class TacGroupBoxWnd : public TacSectionWnd<acSecGroupBox> { using TacSectionWnd::TacSectionWnd; };
class TacCheckBoxWnd : public TacSectionWnd<acSecCheckBox> { using TacSectionWnd::TacSectionWnd; };
class TacBitBtnWnd : public TacBtnWnd { using TacBtnWnd::TacBtnWnd; };
class TacSizerWnd : public TacSectionWnd<acSecTransparent> { using TacSectionWnd::TacSectionWnd; };
class TacTabControlWnd : public TacSectionWnd<acSecPageControl> { using TacSectionWnd::TacSectionWnd; };
class TacPageControlWnd : public TacTabControlWnd { using TacTabControlWnd::TacTabControlWnd; };
class TacSpinWnd : public TacSectionWnd<acSecUpDown> { using TacSectionWnd::TacSectionWnd; };
class TacTrackWnd : public TacSectionWnd<acSecTrackBar> { using TacSectionWnd::TacSectionWnd; };
class TacToolBarWnd : public TacSectionWnd<acSecToolBar> { using TacSectionWnd::TacSectionWnd; };
class TacToolBarVCLWnd : public TacToolBarWnd { using TacToolBarWnd::TacToolBarWnd; };
class TacStatusBarWnd : public TacSectionWnd<acSecStatusBar> { using TacSectionWnd::TacSectionWnd; };
class TacSBWnd : public TacSectionWnd<acSecCheckBox> { using TacSectionWnd::TacSectionWnd; };
// Edit-like kinds until their own wrappers (scroll bars, colours) take them over.
class TacEditLikeWnd : public TacSectionWnd<acSecEdit> { using TacSectionWnd::TacSectionWnd; };
class TacComboLikeWnd : public TacSectionWnd<acSecComboBox> { using TacSectionWnd::TacSectionWnd; };

}  // namespace qv
