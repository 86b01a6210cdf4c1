// The frame's geometry on real windows of every border style: the system's frame and
// caption sizes, the title buttons from the skin's images placed right to left, the hit
// codes the frame answers, and the window region with its cut corners.
#include "windows/win32_frame/FrameWindow.h"

#include <vector>

namespace qv {
namespace {

struct StyleCase {
    const char* Name;
    TFormBorderStyle Style;
    TBorderIcons Icons;
    const wchar_t* Close;  // the close image the frame must pick
    bool MaxMin;           // maximize and minimize shown
    bool Large;            // large images (BISPACE between them)
};

class FrameStyles : public test::FrameWindow, public ::testing::WithParamInterface<StyleCase> {};

// Expected values come from the system's metrics and the skin's image sizes, never from
// the code under test.
TEST_P(FrameStyles, MetricsAndButtonsFollowSystemAndSkin) {
    const StyleCase& c = GetParam();
    form->SetBorderIcons(c.Icons);
    ShowSkinned(c.Style);
    RECT wr{}, cr{};
    ::GetWindowRect(Wnd(), &wr);
    ::GetClientRect(Wnd(), &cr);
    const int w = wr.right - wr.left;
    const bool tool = c.Style == bsToolWindow || c.Style == bsSizeToolWin;
    const int b = (w - cr.right) / 2;
    const int caption = ::GetSystemMetrics(tool ? SM_CYSMCAPTION : SM_CYCAPTION);
    const TacFrameMetrics m = provider->Metrics();
    EXPECT_EQ(m.SysBorderWidth, b);
    EXPECT_EQ(m.CaptionHeight, caption);
    EXPECT_EQ(m.HeaderHeight, b + caption) << "the system puts the client area below border and caption";

    const int closeImage = manager->GetMaskIndex(L"GLOBALINFO", c.Close);
    ASSERT_GE(closeImage, 0);
    const TsMaskData& md = manager->ma[static_cast<std::size_t>(closeImage)];
    const int bw = WidthOfImage(md), bh = HeightOfImage(md);
    const TsCaptionButton& close = provider->Buttons()[tbClose];
    EXPECT_EQ(close.ImageIndex, closeImage);
    const int right = w - manager->SkinData.BIRightMargin - b;
    const int top = (b + caption - bh) / 2 + ((c.Large && bh < 16) ? 2 : 0);
    EXPECT_EQ(close.Rect, (TRect{right - bw, top, right, top + bh}));

    const TsCaptionButton& max = provider->Buttons()[tbMax];
    const TsCaptionButton& min = provider->Buttons()[tbMin];
    EXPECT_EQ(max.ImageIndex >= 0, c.MaxMin);
    EXPECT_EQ(min.ImageIndex >= 0, c.MaxMin);
    if (c.MaxMin) {
        const int gap = c.Large ? manager->SkinData.BISpacing : 0;
        EXPECT_EQ(max.Rect.Right, close.Rect.Left - gap);
        EXPECT_EQ(min.Rect.Right, max.Rect.Left - gap);
        EXPECT_EQ(min.Rect.Top, close.Rect.Top);
    }
    EXPECT_EQ(::GetWindowLongPtrW(Wnd(), GWL_STYLE) & WS_SYSMENU, 0) << "the system draws no buttons of its own";
}

INSTANTIATE_TEST_SUITE_P(
    BorderStyles, FrameStyles,
    ::testing::Values(StyleCase{"Sizeable", bsSizeable, biSystemMenu | biMinimize | biMaximize, L"BICONCLOSE", true,
                                true},
                      StyleCase{"Single", bsSingle, biSystemMenu | biMinimize | biMaximize, L"BICONCLOSE", true, true},
                      StyleCase{"SingleCloseOnly", bsSingle, biSystemMenu, L"BICLOSEALONE", false, true},
                      StyleCase{"Dialog", bsDialog, biSystemMenu, L"SICONCLOSE", false, false},
                      StyleCase{"ToolWindow", bsToolWindow, biSystemMenu, L"SICONCLOSE", false, false}),
    [](const ::testing::TestParamInfo<StyleCase>& c) { return std::string(c.param.Name); });

class FrameHits : public test::FrameWindow {
protected:
    int HitAt(int x, int y) {
        const RECT r = WindowRect();
        return static_cast<int>(::SendMessageW(Wnd(), WM_NCHITTEST, 0, MAKELPARAM(r.left + x, r.top + y)));
    }
};

TEST_F(FrameHits, ButtonsCaptionEdgesAndClient) {
    ShowSkinned(bsSizeable);
    const TacTitleButtons& b = provider->Buttons();
    const TacFrameMetrics m = provider->Metrics();
    auto centre = [](const TRect& r) { return TPoint{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; };
    EXPECT_EQ(HitAt(centre(b[tbClose].Rect).X, centre(b[tbClose].Rect).Y), HTCLOSE);
    EXPECT_EQ(HitAt(centre(b[tbMax].Rect).X, centre(b[tbMax].Rect).Y), HTMAXBUTTON);
    EXPECT_EQ(HitAt(centre(b[tbMin].Rect).X, centre(b[tbMin].Rect).Y), HTMINBUTTON);
    EXPECT_EQ(HitAt(b[tbClose].Rect.Left - 2, m.HeaderHeight / 2), HTCAPTION) << "the gap between two buttons";
    EXPECT_EQ(HitAt(m.CaptionWidth / 2, m.HeaderHeight / 2), HTCAPTION);
    // A button taller than the caption band does not reach into the client area.
    EXPECT_EQ(HitAt(centre(b[tbClose].Rect).X, m.HeaderHeight), HTCLIENT);
    EXPECT_EQ(HitAt(1, m.Height / 2), HTLEFT);
    EXPECT_EQ(HitAt(m.CaptionWidth - 2, m.Height / 2), HTRIGHT);
    EXPECT_EQ(HitAt(m.CaptionWidth / 2, m.Height - 1), HTBOTTOM);
    EXPECT_EQ(HitAt(m.CaptionWidth - 1, m.Height - 1), HTBOTTOMRIGHT);
    EXPECT_EQ(HitAt(m.CaptionWidth / 2, m.Height / 2), HTCLIENT);

    form->Icon = ::LoadIconW(nullptr, IDI_APPLICATION);
    provider->RepaintNC();
    const TRect icon = provider->IconRect();
    ASSERT_FALSE(icon.IsEmpty()) << "a sizeable form with a system menu shows its icon";
    EXPECT_EQ(icon.Width(), 16);
    EXPECT_EQ(HitAt(centre(icon).X, centre(icon).Y), HTSYSMENU);
}

TEST_F(FrameHits, NormalRegionCutsTheMaskCornersAndMaximizedFitsTheWorkArea) {
    ShowSkinned(bsSizeable);
    const RECT before = WindowRect();
    const int w = before.right - before.left, h = before.bottom - before.top;
    HRGN rgn = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_EQ(::GetWindowRgn(Wnd(), rgn), COMPLEXREGION);
    // The internal skin's form and title masks have key-coloured outer corner pixels.
    EXPECT_FALSE(::PtInRegion(rgn, 0, 0));
    EXPECT_FALSE(::PtInRegion(rgn, w - 1, 0));
    EXPECT_FALSE(::PtInRegion(rgn, 0, h - 1));
    EXPECT_TRUE(::PtInRegion(rgn, w / 2, 0));
    EXPECT_TRUE(::PtInRegion(rgn, 0, h / 2));
    EXPECT_TRUE(::PtInRegion(rgn, w / 2, h - 1));

    const int b = provider->SysBorderWidth();
    ::ShowWindow(Wnd(), SW_MAXIMIZE);
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    test::PumpUntil([&] {
        const RECT now = WindowRect();
        return ::IsZoomed(Wnd()) && now.left == work.left - b && now.bottom == work.bottom + b &&
               ::GetWindowRgn(Wnd(), rgn) == SIMPLEREGION;
    });
    const RECT max = WindowRect();
    EXPECT_EQ(max.left, work.left - b);
    EXPECT_EQ(max.top, work.top - b);
    EXPECT_EQ(max.right, work.right + b);
    EXPECT_EQ(max.bottom, work.bottom + b);
    RECT client{};
    ::GetClientRect(Wnd(), &client);
    EXPECT_EQ(client.bottom, (max.bottom - max.top) - 2 * b - provider->CaptionHeight())
        << "a maximized form keeps its caption";
    ASSERT_EQ(::GetWindowRgn(Wnd(), rgn), SIMPLEREGION);
    RECT box{};
    ::GetRgnBox(rgn, &box);
    EXPECT_EQ(box.left, b);
    EXPECT_EQ(box.top, b);
    EXPECT_EQ(box.right, (max.right - max.left) - b);
    EXPECT_EQ(box.bottom, (max.bottom - max.top) - b);
    EXPECT_EQ(provider->Buttons()[tbMax].ImageIndex, manager->GetMaskIndex(L"GLOBALINFO", L"BICONNORM"))
        << "a maximized form's maximize button restores";

    ::ShowWindow(Wnd(), SW_RESTORE);
    test::PumpUntil([&] {
        const RECT now = WindowRect();
        return !::IsZoomed(Wnd()) && now.left == before.left && now.bottom == before.bottom &&
               ::GetWindowRgn(Wnd(), rgn) == COMPLEXREGION;
    });
    const RECT after = WindowRect();
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(after.right, before.right);
    EXPECT_EQ(after.bottom, before.bottom);
    EXPECT_EQ(::GetWindowRgn(Wnd(), rgn), COMPLEXREGION);
    ::DeleteObject(rgn);
}

// Restored from the task bar to maximized, the window comes back where the first
// maximize put it: the frame just outside the work area, its region the whole work
// area, and at every point of the work area the same picture, the title band whole.
TEST_F(FrameHits, MaximizedThenMinimizedComesBackMaximizedOverTheWholeWorkArea) {
    ShowSkinned(bsSizeable);
    const int b = provider->SysBorderWidth();
    ASSERT_GT(b, 0);
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const RECT want{work.left - b, work.top - b, work.right + b, work.bottom + b};
    auto atWant = [&] {
        const RECT now = WindowRect();
        return ::IsZoomed(Wnd()) && ::EqualRect(&now, &want) && test::NothingToPaint(Wnd());
    };
    // What the window shows at points of the work area: its corners, the title band's
    // first rows and the client.
    const int w = want.right - want.left;
    const std::vector<TPoint> points{{0, 0},
                                     {w / 2, 0},
                                     {w - 2 * b - 1, 1},
                                     {0, provider->CaptionHeight() - 1},
                                     {w / 2, provider->CaptionHeight() + 20}};
    auto shownAtPoints = [&] {
        const RECT now = WindowRect();
        const auto own = WindowPixels();
        std::vector<std::uint32_t> colours;
        for (const TPoint p : points)
            colours.push_back(test::Rgb(*own, work.left + p.X - now.left, work.top + p.Y - now.top));
        return colours;
    };
    ::ShowWindow(Wnd(), SW_MAXIMIZE);
    ASSERT_TRUE(test::PumpUntil(atWant)) << "the first maximize";
    const std::vector<std::uint32_t> maximized = shownAtPoints();

    ::ShowWindow(Wnd(), SW_MINIMIZE);
    ASSERT_TRUE(test::PumpUntil([&] { return ::IsIconic(Wnd()) != FALSE; }));
    Application().ProcessMessages();
    ::ShowWindow(Wnd(), SW_RESTORE);
    test::PumpUntil([&] { return !::IsIconic(Wnd()) && atWant(); });
    const RECT got = WindowRect();
    EXPECT_EQ(got.left, want.left);
    EXPECT_EQ(got.top, want.top);
    EXPECT_EQ(got.right, want.right);
    EXPECT_EQ(got.bottom, want.bottom);
    EXPECT_TRUE(::IsZoomed(Wnd()));

    HRGN rgn = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_EQ(::GetWindowRgn(Wnd(), rgn), SIMPLEREGION);
    RECT box{};
    ::GetRgnBox(rgn, &box);
    ::DeleteObject(rgn);
    ::OffsetRect(&box, got.left, got.top);
    EXPECT_TRUE(::EqualRect(&box, &work)) << "no desktop inside the work area";
    const std::vector<std::uint32_t> restored = shownAtPoints();
    for (std::size_t i = 0; i < points.size(); ++i)
        EXPECT_TRUE(test::Near(restored[i], maximized[i], 2))
            << "work area point " << points[i].X << ", " << points[i].Y;
}

// With the task bar at the top and left of the screen the work area starts there, and a
// maximized window fills that work area, never covering the task bar.
TEST_F(FrameHits, MaximizedFillsAWorkAreaMovedByATaskBarAtTheTopAndLeft) {
    RECT saved{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &saved, 0);
    RECT moved{saved.left + 30, saved.top + 40, saved.right, saved.bottom};
    ASSERT_TRUE(::SystemParametersInfoW(SPI_SETWORKAREA, 0, &moved, 0));
    struct Restore {
        RECT Area;
        ~Restore() { ::SystemParametersInfoW(SPI_SETWORKAREA, 0, &Area, 0); }
    } restore{saved};
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    ASSERT_TRUE(::GetMonitorInfoW(::MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &mi));
    // Wine moves the system's work area but not the monitor's, which the frame follows
    // (it places the window on the monitor the window is on).
    if (!::EqualRect(&mi.rcWork, &moved)) GTEST_SKIP() << "the monitor keeps its work area";
    ShowSkinned(bsSizeable);
    const int b = provider->SysBorderWidth();
    const RECT want{moved.left - b, moved.top - b, moved.right + b, moved.bottom + b};
    ::ShowWindow(Wnd(), SW_MAXIMIZE);
    test::PumpUntil([&] {
        const RECT now = WindowRect();
        return ::IsZoomed(Wnd()) && ::EqualRect(&now, &want);
    });
    const RECT got = WindowRect();
    EXPECT_EQ(got.left, want.left);
    EXPECT_EQ(got.top, want.top);
    EXPECT_EQ(got.right, want.right);
    EXPECT_EQ(got.bottom, want.bottom);
    HRGN rgn = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_EQ(::GetWindowRgn(Wnd(), rgn), SIMPLEREGION);
    RECT box{};
    ::GetRgnBox(rgn, &box);
    ::DeleteObject(rgn);
    ::OffsetRect(&box, got.left, got.top);
    EXPECT_TRUE(::EqualRect(&box, &moved)) << "the window shows nothing over the task bar";
}

}  // namespace
}  // namespace qv
