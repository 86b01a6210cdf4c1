// The skinned list read back from the screen: rows on the EDIT colour, the selected row
// with the SELECTION face (hot while the list has the focus), what lies below the last
// row painted from the cache, and the system's list back when the skin goes.
#include "SkinnedList.h"

#include "controls/win32/acMainWnd.h"
#include "skin/win32/sMessages.h"

namespace qv {
namespace {

class SkinnedListFace : public test::SkinnedList {
protected:
    // A point of a row right of any text, in the list's window picture.
    std::uint32_t RowColour(const TBitmap& shot, int index) {
        const TRect r = list->ItemRect(index);
        RECT w{};
        ::GetWindowRect(list->Handle(), &w);
        POINT origin{0, 0};
        ::ClientToScreen(list->Handle(), &origin);
        return test::Rgb(shot, origin.x - w.left + r.Right - 4, origin.y - w.top + (r.Top + r.Bottom) / 2);
    }
    int Selection() const { return manager->GetSkinIndex(L"SELECTION"); }
    // Pumps until the screen shows about want in a row, or gives up (the checks after it
    // tell what the screen shows instead).
    void WaitForRow(int index, std::uint32_t want) {
        test::PumpUntil([&] {
            return static_cast<bool>(test::Near(RowColour(*test::CaptureScreenOf(list->Handle()), index), want, 3));
        });
    }
};

TEST_F(SkinnedListFace, SelectedRowShowsTheSelectionFaceHotWhileFocused) {
    ASSERT_GE(Selection(), 0);
    const TsGeneralData& sel = manager->gd[static_cast<std::size_t>(Selection())];
    const std::uint32_t edit = test::Rgb(manager->gd[static_cast<std::size_t>(list->SkinData()->FSkinIndex)].Color);
    list->SetItemIndex(2);
    WaitForRow(2, test::Rgb(sel.Color));  // the focus sink holds the focus
    auto shot = test::CaptureScreenOf(list->Handle());
    EXPECT_TRUE(test::Near(RowColour(*shot, 2), test::Rgb(sel.Color), 3));
    EXPECT_TRUE(test::Near(RowColour(*shot, 1), edit, 3));
    EXPECT_TRUE(test::Near(RowColour(*shot, 3), edit, 3));
    list->SetFocus();
    WaitForRow(2, test::Rgb(sel.HotColor));
    shot = test::CaptureScreenOf(list->Handle());
    EXPECT_TRUE(test::Near(RowColour(*shot, 2), test::Rgb(sel.HotColor), 3));
    EXPECT_TRUE(test::Near(RowColour(*shot, 1), edit, 3));
    // The text of an unselected row is in the section's font colour.
    EXPECT_EQ(list->Font().Color(),
              manager->gd[static_cast<std::size_t>(list->SkinData()->FSkinIndex)].Props[0].FontColor.Color);
}

TEST_F(SkinnedListFace, BelowTheLastRowTheListShowsItsCacheAndRowsFollowTheFontHeight) {
    list->Items().Clear();
    list->Items().Add(test::PathOf(0));
    const TBitmap& cache = *list->SkinData()->CacheBmp();
    test::PumpUntil([&] {
        const auto now = test::CaptureScreenOf(list->Handle());
        for (int y : {60, 120, 180})
            if (test::Rgb(*now, 40, y) != test::Rgb(cache, 40, y)) return false;
        return true;
    });
    const auto shot = test::CaptureScreenOf(list->Handle());
    for (int y : {60, 120, 180}) EXPECT_EQ(test::Rgb(*shot, 40, y), test::Rgb(cache, 40, y)) << y;
    // Rows are as high as "A" in the list's font, not the framework's 16 pixels.
    EXPECT_EQ(list->ItemRect(0).Height(),
              static_cast<int>(MeasureScreenText(L"A", list->Font().Handle(), DT_SINGLELINE | DT_NOPREFIX, 0).cy));
}

// A disabled list fades each row towards the pixels beneath that row, low rows as well
// as high ones, and its kind of disabled look reaches the border too: with none, the
// border stays as it is while enabled.
TEST_F(SkinnedListFace, ADisabledListFadesEveryRowAndItsBorderByItsDisabledKind) {
    ASSERT_GE(Selection(), 0);
    const std::uint32_t sel = test::Rgb(manager->gd[static_cast<std::size_t>(Selection())].Color);
    const int low = list->ClientHeight() / list->ItemRect(0).Height() - 2;
    ASSERT_GT(list->ItemRect(low).Top * 2, list->Height()) << "a row whose position counted twice leaves the list";
    const auto borderNow = [&] { return test::Rgb(*test::CaptureScreenOf(list->Handle()), 0, list->Height() / 2); };
    const std::uint32_t enabledBorder = borderNow();
    auto fadedRow = [&](int index) {
        // 0.4 of the selection face and 0.6 of the list's own picture beneath the row.
        const TRect r = list->ItemRect(index);
        POINT origin{0, 0};
        ::ClientToScreen(list->Handle(), &origin);
        RECT w{};
        ::GetWindowRect(list->Handle(), &w);
        const std::uint32_t under = test::Rgb(*list->SkinData()->CacheBmp(), origin.x - w.left + r.Right - 4,
                                              origin.y - w.top + (r.Top + r.Bottom) / 2);
        std::uint32_t want = 0;
        for (int shift = 0; shift < 24; shift += 8)
            want |= static_cast<std::uint32_t>(((sel >> shift) & 0xFF) * 0.4 + ((under >> shift) & 0xFF) * 0.6 + 0.5)
                    << shift;
        return want;
    };
    for (const int index : {0, low}) {
        list->SetItemIndex(index);
        list->SetEnabled(false);
        WaitForRow(index, fadedRow(index));
        EXPECT_TRUE(test::Near(RowColour(*test::CaptureScreenOf(list->Handle()), index), fadedRow(index), 3))
            << "row " << index;
        list->SetEnabled(true);
    }
    list->SetDisabledKind(0);
    list->SetEnabled(false);
    test::PumpUntil([&] { return borderNow() == enabledBorder; }, 2000);
    EXPECT_TRUE(test::Near(borderNow(), enabledBorder, 1)) << "a border without a disabled look";
}

TEST_F(SkinnedListFace, RemovingTheSkinGivesTheSystemListBack) {
    const HWND h = list->Handle();
    ASSERT_NE(::GetPropW(h, acWrapperProp), nullptr);
    manager->SetActive(false);
    // The form belongs to no application list: the announcement goes to it directly.
    TMessage removed = MakeAlphaMessage(SKC_REMOVESKIN, reinterpret_cast<LPARAM>(manager));
    AlphaBroadCast(form.get(), removed);
    test::PumpUntil([&] { return list->ListSW() == nullptr && ::GetPropW(h, acWrapperProp) == nullptr; });
    Application().ProcessMessages();  // and whatever the removal queued
    EXPECT_EQ(list->ListSW(), nullptr);
    EXPECT_EQ(::GetPropW(h, acWrapperProp), nullptr);
    EXPECT_EQ(list->Color(), clWindow);
    // The system's own bar is back in the non-client area.
    RECT w{}, c{};
    ::GetWindowRect(h, &w);
    ::GetClientRect(h, &c);
    EXPECT_GE((w.right - w.left) - c.right, ::GetSystemMetrics(SM_CXVSCROLL));
    SCROLLBARINFO sbi{};
    sbi.cbSize = sizeof sbi;
    EXPECT_TRUE(::GetScrollBarInfo(h, OBJID_VSCROLL, &sbi));
    manager->SetActive(true);
    TMessage added = MakeAlphaMessage(SKC_NEWSKIN, reinterpret_cast<LPARAM>(manager));
    AlphaBroadCast(form.get(), added);
    test::PumpUntil([&] { return list->ListSW() != nullptr && ::GetPropW(h, acWrapperProp) != nullptr; });
    EXPECT_NE(list->ListSW(), nullptr);
    EXPECT_NE(::GetPropW(h, acWrapperProp), nullptr);
}

TEST_F(SkinnedListFace, RecreatingTheWindowKeepsExactlyOneWrapper) {
    list->SetAutoHideScroll(false);  // recreates the window
    test::PumpUntil([&] { return list->ListSW() != nullptr && list->ListSW()->sBarVert.fScrollVisible; });
    Application().ProcessMessages();  // a second wrapper, should one be queued, comes now
    ASSERT_NE(list->ListSW(), nullptr);
    EXPECT_EQ(WrapperOf(list->Handle()), list->ListSW());
    EXPECT_EQ(list->Items().Count(), kItems);
    EXPECT_TRUE(list->ListSW()->sBarVert.fScrollVisible);
}

}  // namespace
}  // namespace qv
