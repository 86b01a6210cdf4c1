// Which wrapper a child window of a skinned system dialog gets, by its lower-case class
// name and its styles.
#include "windows/win32/acDials.h"

namespace qv {
namespace {

// The low nibble of a button's style and the low five bits of a static's style are
// enumerations, not flags: a test "all bits of 0x3 set" would take an owner-drawn button
// (0xB) for a check box and a simple static (0xB) for an icon. Types are therefore
// compared whole (style & BS_TYPEMASK, style & SS_TYPEMASK); for button types 0 to 9
// this gives the same answer as the bit tests.
TacChildRule ButtonRule(LONG_PTR style) noexcept {
    switch (style & BS_TYPEMASK) {
    case BS_GROUPBOX: return {TacChildKind::GroupBox, L"GROUPBOX"};
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON: return {TacChildKind::CheckBox, L"CHECKBOX"};
    case BS_OWNERDRAW: return {};                           // its owner paints it
    default: return {TacChildKind::PushButton, L"BUTTON"};  // push, default push, user, push box, split, command link
    }
}

// Icon, bitmap and enhanced-metafile statics take the icon wrapper (the edge wrapper
// with a static edge). Gray and white rectangles, simple and owner-drawn statics keep
// their own look; every other type (texts, frames, etched lines; 7, a black frame, is
// no icon) takes the text wrapper, which leaves the styles it does not paint alone.
TacChildRule StaticRule(LONG_PTR style, LONG_PTR exStyle) noexcept {
    switch (style & SS_TYPEMASK) {
    case SS_ICON:
    case SS_BITMAP:
    case SS_ENHMETAFILE:
        if (exStyle & WS_EX_STATICEDGE) return {TacChildKind::EdgeStatic, L"EDIT"};
        return {TacChildKind::IconStatic, L"CHECKBOX"};
    case SS_GRAYRECT:
    case SS_WHITERECT:
    case SS_SIMPLE:
    case SS_OWNERDRAW: return {};
    default: return {TacChildKind::TextStatic, L"CHECKBOX"};
    }
}

}  // namespace

TacChildRule ChildRuleFor(const String& lowerClass, LONG_PTR style, LONG_PTR exStyle, bool visible) noexcept {
    const auto is = [&](const wchar_t* name) { return lowerClass == name; };
    if (is(L"static")) return StaticRule(style, exStyle);
    if (is(L"#32770")) return {TacChildKind::TransPanel, L"CHECKBOX"};
    if (is(L"tpanel")) return {TacChildKind::Panel, L"CHECKBOX"};
    if (is(L"tsilentpaintpanel")) return {TacChildKind::SilentPanel, L"GROUPBOX"};
    if (is(L"edit")) return visible ? TacChildRule{TacChildKind::Edit, L"EDIT"} : TacChildRule{};
    if (is(L"button")) return ButtonRule(style);
    if (is(L"combobox")) return {TacChildKind::ComboBox, L"COMBOBOX"};
    if (is(L"combolbox")) return {TacChildKind::ComboList, L"COMBOBOX"};
    if (is(L"comboboxex32")) return {TacChildKind::ComboBoxEx, L"COMBOBOX"};
    if (is(L"scrollbar"))
        return (style & SBS_SIZEGRIP) ? TacChildRule{TacChildKind::Sizer, L"CHECKBOX"} : TacChildRule{};
    if (is(L"systabcontrol32"))
        return (style & TCS_OWNERDRAWFIXED) ? TacChildRule{} : TacChildRule{TacChildKind::TabControl, L"PAGECONTROL"};
    if (is(L"syslistview32")) return {TacChildKind::ListView, L"EDIT"};
    if (is(L"msctls_updown32")) return {TacChildKind::Spin, L"SPEEDBUTTON_SMALL"};
    if (is(L"msctls_trackbar32")) return {TacChildKind::TrackBar, L"TRACKBAR"};
    if (is(L"listbox")) return {TacChildKind::ListBox, L"EDIT"};
    if (is(L"link window") || is(L"syslink")) return {TacChildKind::Link, L"CHECKBOX"};
    if (is(L"toolbarwindow32")) return {TacChildKind::ToolBar, (style & TBSTYLE_WRAPABLE) ? L"BAR" : L"CHECKBOX"};
    if (is(L"systreeview32")) return {TacChildKind::TreeView, L"EDIT"};
    if (is(L"shbrowseforfolder") || is(L"shbrowseforfolder shellnamespace control"))
        return {TacChildKind::TransPanel, L"CHECKBOX"};
    return {};
}

}  // namespace qv
