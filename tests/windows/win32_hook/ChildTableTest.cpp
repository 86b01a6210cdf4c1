// The wrapper a system dialog's child gets, by class and style. Button and static types
// are enumerations: every one of them is checked, since a bit test would take an
// owner-drawn button for a check box and a simple static for an icon.
#include "windows/win32/acDials.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace qv {
namespace {

using K = TacChildKind;

TEST(ChildTable, EveryButtonTypeGetsItsWrapper) {
    // Types 0..15 as winuser.h numbers them.
    const K want[16] = {K::PushButton, K::PushButton, K::CheckBox,   K::CheckBox,  K::CheckBox,   K::CheckBox,
                        K::CheckBox,   K::GroupBox,   K::PushButton, K::CheckBox,  K::PushButton, K::None,
                        K::PushButton, K::PushButton, K::PushButton, K::PushButton};
    for (LONG_PTR type = 0; type < 16; ++type) {
        // Flags outside the type (alignment, multi-line, flat) never change the kind.
        const TacChildRule r = ChildRuleFor(L"button", type | BS_MULTILINE | BS_FLAT | WS_TABSTOP, 0, true);
        EXPECT_EQ(r.Kind, want[type]) << "button type " << type;
        const wchar_t* section = want[type] == K::GroupBox     ? L"GROUPBOX"
                                 : want[type] == K::CheckBox   ? L"CHECKBOX"
                                 : want[type] == K::PushButton ? L"BUTTON"
                                                               : nullptr;
        EXPECT_STREQ(r.Section, section) << "button type " << type;
    }
}

TEST(ChildTable, StaticTypesWithAndWithoutStaticEdge) {
    for (LONG_PTR type = 0; type <= 0x12; ++type) {
        const bool picture = type == SS_ICON || type == SS_BITMAP || type == SS_ENHMETAFILE;
        const bool own = type == SS_GRAYRECT || type == SS_WHITERECT || type == SS_SIMPLE || type == SS_OWNERDRAW;
        const K plainWant = picture ? K::IconStatic : own ? K::None : K::TextStatic;
        const K edgeWant = picture ? K::EdgeStatic : plainWant;
        const LONG_PTR style = type | SS_NOTIFY | SS_CENTERIMAGE;
        EXPECT_EQ(ChildRuleFor(L"static", style, 0, true).Kind, plainWant) << "static type " << type;
        EXPECT_EQ(ChildRuleFor(L"static", style, WS_EX_STATICEDGE, true).Kind, edgeWant) << "edged type " << type;
    }
    EXPECT_STREQ(ChildRuleFor(L"static", SS_ICON, WS_EX_STATICEDGE, true).Section, L"EDIT");
}

TEST(ChildTable, ConditionsOfTheOtherClasses) {
    EXPECT_EQ(ChildRuleFor(L"edit", 0, 0, true).Kind, K::Edit);
    EXPECT_EQ(ChildRuleFor(L"edit", 0, 0, false).Kind, K::None) << "hidden edits are left alone";
    EXPECT_EQ(ChildRuleFor(L"scrollbar", SBS_SIZEGRIP, 0, true).Kind, K::Sizer);
    EXPECT_EQ(ChildRuleFor(L"scrollbar", SBS_VERT, 0, true).Kind, K::None) << "plain bars are no controls here";
    EXPECT_EQ(ChildRuleFor(L"systabcontrol32", TCS_OWNERDRAWFIXED, 0, true).Kind, K::None);
    EXPECT_EQ(ChildRuleFor(L"systabcontrol32", 0, 0, true).Kind, K::TabControl);
    EXPECT_STREQ(ChildRuleFor(L"toolbarwindow32", TBSTYLE_WRAPABLE, 0, true).Section, L"BAR");
    EXPECT_STREQ(ChildRuleFor(L"toolbarwindow32", TBSTYLE_FLAT, 0, true).Section, L"CHECKBOX");
    EXPECT_EQ(ChildRuleFor(L"#32770", 0, 0, true).Kind, K::TransPanel);
    EXPECT_EQ(ChildRuleFor(L"combolbox", 0, 0, true).Kind, K::ComboList);
    EXPECT_STREQ(ChildRuleFor(L"msctls_updown32", 0, 0, true).Section, L"SPEEDBUTTON_SMALL");
    EXPECT_EQ(ChildRuleFor(L"syslink", 0, 0, true).Kind, K::Link);
    EXPECT_EQ(ChildRuleFor(L"link window", 0, 0, true).Kind, K::Link);
    EXPECT_EQ(ChildRuleFor(L"Edit", 0, 0, true).Kind, K::None) << "names are looked up lower-case";
    EXPECT_EQ(ChildRuleFor(L"richedit20w", 0, 0, true).Kind, K::None);
}

}  // namespace
}  // namespace qv
