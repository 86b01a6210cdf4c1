// The skinned scroll bar of a list of 200 paths, driven with the real pointer: a held
// arrow scrolls once at once, again after 300 ms and then every 55 ms; the thumb follows
// a drag even outside the window; losing the mouse ends a press; the wheel scrolls by
// the system's lines per notch; and whatever scrolled the list, the screen shows the
// skin's bar, never the system's.
#include "SkinnedList.h"

#include "skin/win32/sMessages.h"

// GCC 12 takes the TEB read in NtCurrentTeb for an out-of-bounds array access.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
#include "GdiObjects.h"
#pragma GCC diagnostic pop

#include <algorithm>

namespace qv {
namespace {

// Moves the real pointer and pumps until the system has it there (a point off the screen
// stops at the screen's edge), then lets the list take the move; false if it never came.
bool PointerTo(int x, int y) {
    test::MovePointer(x, y);
    const int wantX = std::clamp(x, 0, ::GetSystemMetrics(SM_CXSCREEN) - 1);
    const int wantY = std::clamp(y, 0, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    const bool there = test::PumpUntil([&] {
        POINT p{};
        ::GetCursorPos(&p);
        return std::abs(p.x - wantX) <= 1 && std::abs(p.y - wantY) <= 1;
    });
    Application().ProcessMessages();
    return there;
}

// Pumps until the list has no part left to paint.
bool ListPainted(HWND list) {
    return test::PumpUntil([&] { return !::GetUpdateRect(list, nullptr, FALSE); });
}

class ScrollBar : public test::SkinnedList {
protected:
    // Pumps until the screen shows the skin's track at a screen point, or gives up (the
    // check after it tells what the screen shows instead).
    void WaitForTrackAt(int x, int y) {
        test::PumpUntil([&] { return static_cast<bool>(test::Near(ScreenRgb(x, y), TrackColour(), 12)); });
    }
};

TEST_F(ScrollBar, HeldArrowScrollsAtOnceThenAfter300msThenEvery55msAndStopsOnRelease) {
    test::ScrollRecorder rec(list->Handle());
    const RECT bar = BarOnScreen();
    EXPECT_TRUE(PointerTo((bar.left + bar.right) / 2, bar.bottom - ArrowLength() / 2));
    const DWORD t0 = ::GetTickCount();
    test::MouseButton(true);
    ASSERT_TRUE(test::PumpUntil([&] { return rec.Count(SB_LINEDOWN) >= 1; }, 2000));
    if (::GetTickCount() - t0 < 250) {
        EXPECT_EQ(rec.Count(SB_LINEDOWN), 1) << "repeated before 300 ms";
    }
    // The press, the step at 300 ms and one repeat after it.
    ASSERT_TRUE(test::PumpUntil([&] { return rec.Count(SB_LINEDOWN) >= 3; }));
    const int held = static_cast<int>(::GetTickCount() - t0);
    const int steps = rec.Count(SB_LINEDOWN);
    test::MouseButton(false);
    // Timers come late, never early: at most the press, the 300 ms step and one per 55 ms
    // after it (+2 for the ticks around the edges).
    EXPECT_GE(steps, 3);
    EXPECT_LE(steps, 2 + (held - 300) / 55 + 2) << "held " << held << " ms";
    ASSERT_TRUE(test::PumpUntil([&] { return rec.Count(SB_ENDSCROLL) == 1; }, 2000));
    const int atRelease = rec.Count(SB_LINEDOWN);
    EXPECT_EQ(list->TopIndex(), atRelease);
    test::PumpFor(500);  // proves that no step comes after the release: nothing to wait for
    EXPECT_EQ(rec.Count(SB_LINEDOWN), atRelease) << "scrolling went on after the release";
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_EQ(list->Items()[list->TopIndex()], test::PathOf(atRelease));
}

TEST_F(ScrollBar, ThumbDragFollowsThePointerOutsideTheWindowAndEndsWhereItWasLeft) {
    test::ScrollRecorder rec(list->Handle());
    const RECT bar = BarOnScreen();
    const TacScrollInfo before = VertInfo();
    const TacThumb thumb = ThumbNow();
    ASSERT_GT(thumb.Size, 0);
    const int x = (bar.left + bar.right) / 2, grabY = thumb.Start + thumb.Size / 2;
    EXPECT_TRUE(PointerTo(x, grabY));
    test::MouseButton(true);
    ASSERT_TRUE(test::PumpUntil([&] { return list->ListSW()->Pressing(); }));
    const int length = bar.bottom - bar.top, btn = ArrowLength();
    const int grab = grabY - thumb.Start;
    for (int dy : {20, 45, 70}) {
        test::MovePointer(x, grabY + dy);
        const int start = ThumbDragStart(before, grabY + dy - bar.top, grab, length, btn, 10);
        const int want = ThumbDragPosition(before, start, length, btn, 10);
        ASSERT_TRUE(test::PumpUntil([&] { return list->TopIndex() == want; }, 2000))
            << "dy " << dy << ": top " << list->TopIndex() << ", expected " << want;
        // The bar on screen is the skin's, with the thumb under the pointer.
        EXPECT_TRUE(test::Near(ScreenRgb(x, bar.bottom - btn - 3), TrackColour(), 12));
        EXPECT_EQ(list->Items()[list->TopIndex()], test::PathOf(want));
    }
    // Far to the right of the window the drag goes on; far below, the list ends.
    // While the list holds the mouse the display may report the pointer late: no expectation.
    PointerTo(bar.right + 300, grabY + 70);
    // The display's late reports of this move have nothing to wait for: let them arrive
    // before the next move, or one of them lands after it and the drag ends here.
    test::PumpFor(150);
    EXPECT_EQ(::GetCapture(), list->Handle());
    const int last = kItems - static_cast<int>(before.nPage);
    // The move is sent again every half second: while the list holds the mouse, a late
    // report of the display can put the pointer back where it was.
    bool atEnd = false;
    for (int attempt = 0; attempt < 8 && !atEnd; ++attempt) {
        test::MovePointer(bar.right + 300, bar.bottom + 300);
        atEnd = test::PumpUntil([&] { return list->TopIndex() == last; }, 500);
    }
    ASSERT_TRUE(atEnd) << list->TopIndex();
    test::MouseButton(false);
    ASSERT_TRUE(test::PumpUntil([&] { return rec.Count(SB_ENDSCROLL) == 1; }, 2000));
    EXPECT_EQ(rec.Count(SB_THUMBPOSITION), 1);
    EXPECT_EQ(rec.LastPosition(SB_THUMBPOSITION), last);
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_EQ(list->TopIndex(), last);
    EXPECT_FALSE(list->ListSW()->Pressing());
}

TEST_F(ScrollBar, LosingTheMouseEndsAPressAndTheRepeatStops) {
    test::ScrollRecorder rec(list->Handle());
    const RECT bar = BarOnScreen();
    EXPECT_TRUE(PointerTo((bar.left + bar.right) / 2, bar.bottom - ArrowLength() / 2));
    test::MouseButton(true);
    ASSERT_TRUE(test::PumpUntil([&] { return rec.Count(SB_LINEDOWN) >= 1; }, 2000));
    ::SetCapture(focus->Handle());  // somebody else takes the mouse
    EXPECT_TRUE(test::PumpUntil([&] { return rec.Count(SB_ENDSCROLL) == 1; }));
    const int atLoss = rec.Count(SB_LINEDOWN);
    test::PumpFor(600);  // proves that the repeat does not outlive the press: nothing to wait for
    EXPECT_EQ(rec.Count(SB_LINEDOWN), atLoss) << "the repeat outlived the press";
    EXPECT_FALSE(list->ListSW()->Pressing());
    ::ReleaseCapture();
}

TEST_F(ScrollBar, RemovingTheSkinDuringAPressStopsTheRepeatAndFreesTheMouse) {
    test::ScrollRecorder rec(list->Handle());
    const RECT bar = BarOnScreen();
    EXPECT_TRUE(PointerTo((bar.left + bar.right) / 2, bar.bottom - ArrowLength() / 2));
    test::MouseButton(true);
    ASSERT_TRUE(test::PumpUntil([&] { return rec.Count(SB_LINEDOWN) >= 1; }, 2000));
    manager->SetActive(false);
    TMessage removed = MakeAlphaMessage(SKC_REMOVESKIN, reinterpret_cast<LPARAM>(manager));
    AlphaBroadCast(form.get(), removed);
    EXPECT_TRUE(test::PumpUntil([&] { return list->ListSW() == nullptr; }));
    const int atRemoval = rec.Count(SB_LINEDOWN);
    test::PumpFor(600);  // proves that the repeat does not outlive the skin: nothing to wait for
    EXPECT_EQ(rec.Count(SB_LINEDOWN), atRemoval) << "the repeat outlived the skin";
    EXPECT_NE(::GetCapture(), list->Handle());
}

TEST_F(ScrollBar, PressOnAnInactiveBarIsIgnoredWithoutTheSystemsScrollLoop) {
    list->Items().Clear();
    for (int i = 0; i < 3; ++i) list->Items().Add(test::PathOf(i));
    list->SetAutoHideScroll(false);  // the bar stays, disabled
    ASSERT_TRUE(test::PumpUntil([&] { return list->ListSW() && list->ListSW()->sBarVert.fScrollVisible; }));
    test::ScrollRecorder rec(list->Handle());
    const RECT bar = BarOnScreen();
    RECT w{};
    ::GetWindowRect(list->Handle(), &w);
    // A release is already queued: should the press enter the system's modal loop, it
    // ends at once instead of hanging the test.
    ::PostMessageW(list->Handle(), WM_LBUTTONUP, 0, 0);
    const POINT p{(bar.left + bar.right) / 2, bar.bottom - 3};
    ::SendMessageW(list->Handle(), WM_NCLBUTTONDOWN,
                   static_cast<WPARAM>(::SendMessageW(list->Handle(), WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y))),
                   MAKELPARAM(p.x, p.y));
    Application().ProcessMessages();  // the queued release, and what it brings
    EXPECT_EQ(rec.Count(SB_LINEDOWN), 0);
    EXPECT_EQ(list->TopIndex(), 0);
    EXPECT_EQ(::GetCapture(), nullptr);
    // The disabled bar is faded toward the list's background: 40 % of the track stays.
    const std::uint32_t track = TrackColour(), behind = test::Rgb(manager->gd[list->SkinData()->FSkinIndex].Color);
    auto mix = [](std::uint32_t a, std::uint32_t b, int shift) {
        return static_cast<std::uint32_t>(((((a >> shift) & 0xFF) * 40 + ((b >> shift) & 0xFF) * 60) / 100) << shift);
    };
    const std::uint32_t faded = mix(track, behind, 16) | mix(track, behind, 8) | mix(track, behind, 0);
    auto shown = [&] {
        const auto shot = test::CaptureScreenOf(list->Handle());
        return test::Rgb(*shot, bar.left - w.left + 3, (bar.bottom - bar.top) / 2 + bar.top - w.top);
    };
    test::PumpUntil([&] { return static_cast<bool>(test::Near(shown(), faded, 6)); });
    EXPECT_TRUE(test::Near(shown(), faded, 6));
}

// One arrow disabled by the system (EnableScrollBar): that arrow alone shows faded and a
// press on it scrolls nothing; the other arrow keeps its look.
TEST_F(ScrollBar, ASingleDisabledArrowShowsFadedAndIgnoresAPress) {
    const RECT bar = BarOnScreen();
    RECT w{};
    ::GetWindowRect(list->Handle(), &w);
    const std::uint32_t behind = test::Rgb(manager->gd[list->SkinData()->FSkinIndex].Color);
    // In each arrow button, the point (window coordinates) that stands out most from
    // what lies behind the bar.
    auto mostVisible = [&](int top) {
        const auto shot = test::CaptureScreenOf(list->Handle());
        POINT best{bar.left - w.left, top};
        int bestDiff = -1;
        for (int y = top; y < top + ArrowLength(); ++y)
            for (int x = bar.left - w.left; x < bar.right - w.left; ++x) {
                const std::uint32_t c = test::Rgb(*shot, x, y);
                int diff = 0;
                for (int shift = 0; shift < 24; shift += 8)
                    diff += std::abs(static_cast<int>((c >> shift) & 0xFF) -
                                     static_cast<int>((behind >> shift) & 0xFF));
                if (diff > bestDiff) best = {x, y}, bestDiff = diff;
            }
        return best;
    };
    const POINT upAt = mostVisible(bar.top - w.top), downAt = mostVisible(bar.bottom - w.top - ArrowLength());
    auto shownAt = [&](POINT p) { return test::Rgb(*test::CaptureScreenOf(list->Handle()), p.x, p.y); };
    const std::uint32_t up = shownAt(upAt), down = shownAt(downAt);
    auto mix = [](std::uint32_t a, std::uint32_t b, int shift) {
        return static_cast<std::uint32_t>(((((a >> shift) & 0xFF) * 40 + ((b >> shift) & 0xFF) * 60) / 100) << shift);
    };
    const std::uint32_t faded = mix(down, behind, 16) | mix(down, behind, 8) | mix(down, behind, 0);
    ASSERT_FALSE(test::Near(faded, down, 6)) << "the arrow's face differs from what lies behind it";

    test::ScrollRecorder rec(list->Handle());
    ::EnableScrollBar(list->Handle(), SB_VERT, ESB_DISABLE_DOWN);
    ::SendMessageW(list->Handle(), WM_NULL, 0, 0);  // any message lets the wrapper read the bars again
    test::PumpUntil([&] { return static_cast<bool>(test::Near(shownAt(downAt), faded, 6)); }, 2000);
    EXPECT_TRUE(test::Near(shownAt(downAt), faded, 6)) << "the disabled arrow";
    EXPECT_TRUE(test::Near(shownAt(upAt), up, 2)) << "the other arrow";

    EXPECT_TRUE(PointerTo((bar.left + bar.right) / 2, bar.bottom - ArrowLength() / 2));
    test::MouseButton(true);
    test::MouseButton(false);
    ASSERT_TRUE(test::PumpUntil([&] { return rec.NcReleases() >= 1; }, 2000)) << "the release on the bar";
    Application().ProcessMessages();
    EXPECT_EQ(rec.Count(SB_LINEDOWN), 0) << "the press on the disabled arrow scrolled";
    EXPECT_EQ(list->TopIndex(), 0);
    EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(ScrollBar, WheelScrollsByTheSystemsLinesPerNotchAndTheBarFollows) {
    UINT lines = 3;
    ::SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    RECT w{};
    ::GetWindowRect(list->Handle(), &w);
    list->SetFocus();
    EXPECT_TRUE(PointerTo(w.left + 40, w.top + 40));
    const TacThumb before = ThumbNow();
    test::Wheel(-WHEEL_DELTA);
    ASSERT_TRUE(test::PumpUntil([&] { return list->TopIndex() == static_cast<int>(lines); }, 2000)) << list->TopIndex();
    test::Wheel(-WHEEL_DELTA);
    ASSERT_TRUE(test::PumpUntil([&] { return list->TopIndex() == static_cast<int>(2 * lines); }, 2000));
    const TacThumb after = ThumbNow();
    EXPECT_GT(after.Start, before.Start);
    // The screen shows the skin's track where the thumb was.
    const RECT bar = BarOnScreen();
    WaitForTrackAt((bar.left + bar.right) / 2, before.Start + 1);
    EXPECT_TRUE(test::Near(ScreenRgb((bar.left + bar.right) / 2, before.Start + 1), TrackColour(), 12));
}

TEST_F(ScrollBar, KeyboardMovesTheSelectionAndTheBarFollowsWithoutTheSystemBarShowing) {
    list->SetItemIndex(0);
    list->SetFocus();
    ASSERT_TRUE(test::PumpUntil([&] { return ::GetFocus() == list->Handle(); }));
    test::Key(VK_NEXT, true);
    test::Key(VK_NEXT, false);
    ASSERT_TRUE(test::PumpUntil([&] { return list->ItemIndex() > 0; }, 2000));
    test::Key(VK_END, true);
    test::Key(VK_END, false);
    ASSERT_TRUE(test::PumpUntil([&] { return list->ItemIndex() == kItems - 1; }, 2000));
    const TacScrollInfo info = VertInfo();
    EXPECT_EQ(list->TopIndex(), kItems - static_cast<int>(info.nPage));
    const RECT bar = BarOnScreen();
    const TacThumb thumb = ThumbNow();
    EXPECT_EQ(thumb.Start + thumb.Size, bar.bottom - ArrowLength());
    WaitForTrackAt((bar.left + bar.right) / 2, bar.top + ArrowLength() + 3);
    EXPECT_TRUE(test::Near(ScreenRgb((bar.left + bar.right) / 2, bar.top + ArrowLength() + 3), TrackColour(), 12));
    test::Key(VK_HOME, true);
    test::Key(VK_HOME, false);
    ASSERT_TRUE(test::PumpUntil([&] { return list->ItemIndex() == 0 && list->TopIndex() == 0; }, 2000));
    // Deleting the first item makes the list set its scroll facts again.
    list->Items().Delete(0);
    WaitForTrackAt((bar.left + bar.right) / 2, bar.bottom - ArrowLength() - 3);
    EXPECT_TRUE(test::Near(ScreenRgb((bar.left + bar.right) / 2, bar.bottom - ArrowLength() - 3), TrackColour(), 12));
}

// A scroll message costs about 50 ms under Wine (most of it the system list's own
// redraw switching), so the 1 000 steps move the bar's position and paint the bar and its
// thumb each time, and 50 of them go through the list as real scroll messages with
// their rows painted.
TEST_F(ScrollBar, ThousandScrollStepsLeaveTheGdiObjectCountFlat) {
    const HWND h = list->Handle();
    TacScrollWnd* sw = list->ListSW();
    for (int i = 0; i < 20; ++i) SendScrollMessage(h, WM_VSCROLL, i % 2 ? SB_LINEUP : SB_LINEDOWN, 0);
    EXPECT_TRUE(ListPainted(h));
    const long before = test::LiveGdiObjects();
    const TacScrollInfo info = VertInfo();
    for (int i = 0; i < 1000; ++i) {
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_POS;
        si.nPos = (i * 7) % (info.nMax - static_cast<int>(info.nPage) + 1);
        ::SetScrollInfo(h, SB_VERT, &si, FALSE);
        sw->UpdateScrolls(true);
        if (i % 20 == 0) {
            SendScrollMessage(h, WM_VSCROLL, (i / 50) % 2 ? SB_LINEUP : SB_LINEDOWN, 0);
            ::UpdateWindow(h);
        }
    }
    EXPECT_TRUE(ListPainted(h));
    const long after = test::LiveGdiObjects();
    EXPECT_LE(std::abs(after - before), 4) << before << " -> " << after;
}

// A long list is filled in one batch past the wrappers' message paths: it arrives whole
// and in order, the skinned bar learns the new range once the batch ends, and the screen
// shows the bar for that range (the thumb back at the top, track where the thumb of the
// 200 paths scrolled to their end stood).
TEST_F(ScrollBar, BatchFillArrivesWholeAndInOrderAndTheBarShowsItsRange) {
    list->SetTopIndex(kItems - 1);
    ASSERT_TRUE(ListPainted(list->Handle()));
    const RECT bar = BarOnScreen();
    const TacThumb before = ThumbNow();
    TStringList paths;
    for (int i = 0; i < 5000; ++i) paths.Add(test::PathOf(i));
    list->Items().Assign(paths);
    ASSERT_EQ(list->Count(), 5000);
    for (int i : {0, 1, 2500, 4999}) EXPECT_EQ(list->Items()[i], test::PathOf(i)) << i;
    const TacScrollInfo info = VertInfo();
    EXPECT_EQ(info.nMax, 4999);
    const SCROLLINFO& cached = list->ListSW()->sBarVert.ScrollInfo;
    EXPECT_EQ(cached.nMax, info.nMax);
    EXPECT_EQ(cached.nPage, info.nPage);
    const TacThumb after = ThumbNow();
    ASSERT_LT(after.Start + after.Size, before.Start);
    const int x = (bar.left + bar.right) / 2, y = before.Start + before.Size / 2;
    WaitForTrackAt(x, y);
    EXPECT_TRUE(test::Near(ScreenRgb(x, y), TrackColour(), 12));
}

}  // namespace
}  // namespace qv
