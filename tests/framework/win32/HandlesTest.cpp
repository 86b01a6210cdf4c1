// The handle owners release exactly once, never after a move, and reset releases the
// old handle. Counting traits stand in for the system calls.
#include "framework/win32/Handles.h"

#include <gtest/gtest.h>

#include <vector>

namespace qv {
namespace {

std::vector<int> gClosed;
struct CountingTraits { static void Close(int h) noexcept { gClosed.push_back(h); } };
using CountedHandle = UniqueHandle<int, CountingTraits>;

struct Released { HWND Wnd; HDC DC; };
std::vector<Released> gReleasedDCs;
struct CountingDCTraits {
    static HDC Get(HWND wnd) noexcept { return reinterpret_cast<HDC>(reinterpret_cast<UINT_PTR>(wnd) + 1000); }
    static void Release(HWND wnd, HDC dc) noexcept { gReleasedDCs.push_back({wnd, dc}); }
};

int gBegins = 0, gEnds = 0;
HWND gEndWnd = nullptr;
struct CountingPaintTraits {
    static HDC Begin(HWND, PAINTSTRUCT& ps) noexcept { ++gBegins; ps.hdc = reinterpret_cast<HDC>(7); return ps.hdc; }
    static void End(HWND wnd, const PAINTSTRUCT&) noexcept { ++gEnds; gEndWnd = wnd; }
};

std::vector<std::pair<HDC, HGDIOBJ>> gSelects;
struct CountingSelectTraits {
    static HGDIOBJ Select(HDC dc, HGDIOBJ obj) noexcept {
        gSelects.push_back({dc, obj});
        return reinterpret_cast<HGDIOBJ>(0x55);  // the DC's previous object
    }
};

class HandleOwners : public ::testing::Test {
protected:
    void SetUp() override {
        gClosed.clear();
        gReleasedDCs.clear();
        gBegins = gEnds = 0;
        gEndWnd = nullptr;
        gSelects.clear();
    }
};

TEST_F(HandleOwners, UniqueHandleReleasesOnceAndNotAfterMove) {
    {
        CountedHandle a(5);
        CountedHandle b(std::move(a));
        EXPECT_EQ(a.get(), 0);
        EXPECT_EQ(b.get(), 5);
        CountedHandle c;
        c = std::move(b);
        EXPECT_TRUE(gClosed.empty());
    }
    EXPECT_EQ(gClosed, std::vector<int>{5});
}

TEST_F(HandleOwners, ResetReleasesTheOldHandleAndReleaseGivesItUp) {
    CountedHandle a(1);
    a.reset(2);
    EXPECT_EQ(gClosed, std::vector<int>{1});
    a.reset(2);  // the same handle again is not closed
    EXPECT_EQ(gClosed.size(), 1u);
    EXPECT_EQ(a.release(), 2);
    a.reset();
    EXPECT_EQ(gClosed.size(), 1u);
    CountedHandle b(3), d(4);
    b = std::move(d);  // the target's old handle goes
    EXPECT_EQ(gClosed, (std::vector<int>{1, 3}));
}

TEST_F(HandleOwners, WindowDCReleasesWithTheWindowItCameFrom) {
    auto wnd = reinterpret_cast<HWND>(0x40);
    {
        BasicWindowDC<CountingDCTraits> dc(wnd);
        BasicWindowDC<CountingDCTraits> moved(std::move(dc));
        EXPECT_FALSE(dc);
        EXPECT_EQ(moved.window(), wnd);
    }
    ASSERT_EQ(gReleasedDCs.size(), 1u);
    EXPECT_EQ(gReleasedDCs[0].Wnd, wnd);
    EXPECT_EQ(gReleasedDCs[0].DC, reinterpret_cast<HDC>(0x40 + 1000));
}

TEST_F(HandleOwners, PaintScopeEndsWhatItBegan) {
    auto wnd = reinterpret_cast<HWND>(0x44);
    {
        BasicPaintScope<CountingPaintTraits> paint(wnd);
        EXPECT_EQ(paint.dc(), reinterpret_cast<HDC>(7));
        EXPECT_EQ(gEnds, 0);
    }
    EXPECT_EQ(gBegins, 1);
    EXPECT_EQ(gEnds, 1);
    EXPECT_EQ(gEndWnd, wnd);
}

TEST_F(HandleOwners, SelectScopePutsTheOldObjectBackAndDeletesNothing) {
    auto dc = reinterpret_cast<HDC>(0x10);
    auto font = reinterpret_cast<HGDIOBJ>(0x20);
    { BasicSelectScope<CountingSelectTraits> select(dc, font); }
    ASSERT_EQ(gSelects.size(), 2u);
    EXPECT_EQ(gSelects[0].second, font);
    EXPECT_EQ(gSelects[1].first, dc);
    EXPECT_EQ(gSelects[1].second, reinterpret_cast<HGDIOBJ>(0x55));
    EXPECT_TRUE(gClosed.empty());
}

// On a real window: a paint handler given a DC draws on it and leaves the update
// region alone; without one, BeginPaint's scope ends the paint and validates it.
TEST_F(HandleOwners, MessagePaintDCBeginsOnlyWithoutAGivenDC) {
    HWND wnd = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 40, 30, nullptr, nullptr, nullptr,
                                 nullptr);
    ASSERT_TRUE(wnd);
    ::InvalidateRect(wnd, nullptr, FALSE);
    {
        const WholeWindowDC given(wnd);
        ASSERT_TRUE(given);
        const MessagePaintDC paint(wnd, given.get());
        EXPECT_EQ(paint.dc(), given.get());
        EXPECT_FALSE(paint.began());
    }
    EXPECT_TRUE(::GetUpdateRect(wnd, nullptr, FALSE)) << "a given DC must not end the pending paint";
    {
        const MessagePaintDC paint(wnd, nullptr);
        EXPECT_TRUE(paint.began());
        EXPECT_NE(paint.dc(), nullptr);
    }
    EXPECT_FALSE(::GetUpdateRect(wnd, nullptr, FALSE)) << "the paint began here must end with the scope";
    ::DestroyWindow(wnd);
}

TEST_F(HandleOwners, RealGdiObjectIsDeletedByItsOwner) {
    HBRUSH raw;
    {
        UniqueBrush brush(::CreateSolidBrush(RGB(1, 2, 3)));
        raw = brush.get();
        LOGBRUSH lb{};
        EXPECT_EQ(::GetObjectW(raw, sizeof lb, &lb), static_cast<int>(sizeof lb));
    }
    LOGBRUSH lb{};
    EXPECT_EQ(::GetObjectW(raw, sizeof lb, &lb), 0) << "brush still alive after its owner ended";
}

}  // namespace
}  // namespace qv
