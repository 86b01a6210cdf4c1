// What the skinned frame puts on the window, read back from the window's own device
// context: the title's gradient in its active and inactive state (also after minimizing
// and restoring), the close button's
// image at its rectangle, a client area with neither key colour nor title pixels, a
// caption that survives a text change, and no GDI objects left behind by painting.
#include "windows/win32_frame/FrameWindow.h"

#include "GdiObjects.h"

namespace qv {
namespace {

class FramePixels : public test::FrameWindow {
protected:
    // The title gradient's colour at row y of the band (the title section is painted over
    // border + caption).
    std::uint32_t TitleRow(bool active, int y) {
        const TacFrameMetrics m = provider->Metrics();
        return test::GradientRow(*manager, manager->GetSkinIndex(L"FORMTITLE"), active,
                                 m.BorderHeight + m.CaptionHeight, y);
    }
    // A point of the title band with nothing but the gradient under it: between the
    // caption text and the buttons, below the mask's top border.
    TPoint PlainTitlePoint() {
        const TacFrameMetrics m = provider->Metrics();
        return {provider->Buttons()[tbMin].Rect.Left - 20, m.HeaderHeight / 2};
    }
    // Pumps until the window shows the title of the state at p, or gives up (the check
    // after it tells what the window shows instead).
    void WaitForTitle(TPoint p, bool active) {
        test::PumpUntil([&] {
            return static_cast<bool>(test::Near(test::Rgb(*WindowPixels(), p.X, p.Y), TitleRow(active, p.Y), 2));
        });
    }
};

TEST_F(FramePixels, TitleFollowsActivation) {
    form->SetCaption(L"T");
    ShowSkinned(bsSizeable);
    const TPoint p = PlainTitlePoint();
    EXPECT_TRUE(test::Near(test::Rgb(*WindowPixels(), p.X, p.Y), TitleRow(true, p.Y), 2)) << "active title";

    // Minimized and restored (as from the task bar), the frame comes back active.
    ::ShowWindow(Wnd(), SW_MINIMIZE);
    ASSERT_TRUE(test::PumpUntil([&] { return ::IsIconic(Wnd()) != FALSE; }));
    ::ShowWindow(Wnd(), SW_RESTORE);
    ::SetForegroundWindow(Wnd());
    EXPECT_TRUE(test::PumpUntil([&] { return !::IsIconic(Wnd()) && provider->FormActive(); }));
    WaitForTitle(p, true);
    EXPECT_TRUE(test::Near(test::Rgb(*WindowPixels(), p.X, p.Y), TitleRow(true, p.Y), 2)) << "restored";

    ::SendMessageW(Wnd(), WM_NCACTIVATE, FALSE, 0);
    WaitForTitle(p, false);
    EXPECT_FALSE(provider->FormActive());
    EXPECT_TRUE(test::Near(test::Rgb(*WindowPixels(), p.X, p.Y), TitleRow(false, p.Y), 2)) << "inactive title";

    // The system paints its own caption on a text change; the frame goes back over it.
    ::SetWindowTextW(Wnd(), L"Another caption");
    WaitForTitle(p, false);
    EXPECT_TRUE(test::Near(test::Rgb(*WindowPixels(), p.X, p.Y), TitleRow(false, p.Y), 2)) << "after WM_SETTEXT";
}

// A frame skinner read with the form's description (a component, not made at run time)
// skins the frame and leaves the client to the form, as a run-time one does.
TEST_F(FramePixels, ProviderReadWithTheFormsDescriptionSkinsTheFrame) {
    form->SetCaption(L"T");
    {
        TDescriptionReader reader(*form);
        provider = reader.Create<TsSkinProvider>(form.get(), L"sSkinProvider1");
        reader.Finish();
    }
    ShowAndPaint();
    ::RedrawWindow(Wnd(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    ASSERT_TRUE(manager->IsValidSkinIndex(provider->SkinData()->FSkinIndex)) << "FORM is not in the skin";
    const TPoint p = PlainTitlePoint();
    WaitForTitle(p, true);
    EXPECT_TRUE(test::PumpUntil([&] { return !::GetUpdateRect(Wnd(), nullptr, FALSE); }));
    const auto pixels = WindowPixels();
    EXPECT_TRUE(test::Near(test::Rgb(*pixels, p.X, p.Y), TitleRow(true, p.Y), 2)) << "title";
    RECT client{};
    ::GetClientRect(Wnd(), &client);
    POINT centre{client.right / 2, client.bottom / 2};
    ::MapWindowPoints(Wnd(), nullptr, &centre, 1);
    const RECT window = WindowRect();
    const int formSection = manager->GetSkinIndex(L"FORM");
    const std::uint32_t formColour = test::Rgb(manager->gd[static_cast<std::size_t>(formSection)].Color);
    EXPECT_EQ(test::Rgb(*pixels, centre.x - window.left, centre.y - window.top), formColour) << "client";
}

// The close image's opaque pixels (mask 0) show the image's own colour, state by state.
TEST_F(FramePixels, CloseImageAtItsRectangleInEachState) {
    ShowSkinned(bsSizeable);
    const TsCaptionButton& close = provider->Buttons()[tbClose];
    const TsMaskData& md = manager->ma[static_cast<std::size_t>(close.ImageIndex)];
    const TBitmap* src = MaskSourceBitmap(md);
    ASSERT_NE(src, nullptr);
    const int w = WidthOfImage(md), h = HeightOfImage(md);
    const int bandBottom = provider->Metrics().HeaderHeight;
    auto check = [&](int state, const char* what) {
        const auto shown = WindowPixels();
        int compared = 0;
        for (int y = 0; y < h; ++y) {
            const int wy = close.Rect.Top + y;
            if (wy < 0 || wy >= bandBottom) continue;
            for (int x = 0; x < w; ++x) {
                const int sx = md.R.Left + state * w + x, sy = md.R.Top + y;
                if ((src->Pixel32(sx, sy + h) & 0xFFFFFF) != 0) continue;  // not fully opaque
                const std::uint32_t want = src->Pixel32(sx, sy) & 0xFFFFFF;
                if (want == 0xFF00FF) continue;
                ASSERT_TRUE(test::Near(test::Rgb(*shown, close.Rect.Left + x, wy), want, 1))
                    << what << " at " << x << "," << y;
                ++compared;
            }
        }
        EXPECT_GT(compared, 8) << what;  // the cross of the internal skin's close image
    };
    check(0, "normal");
    // A state change repaints the buttons only: a mark left in the window image beside
    // them (in its client part) is still there afterwards.
    TBitmap& image = *provider->FrameImage();
    const TPoint mark{provider->OffsetX() + 3, provider->OffsetY() + 3};
    image.SetPixel32(mark.X, mark.Y, 0x00123456);
    const RECT r = WindowRect();
    test::MovePointer(r.left + (close.Rect.Left + close.Rect.Right) / 2, r.top + bandBottom / 2);
    ASSERT_TRUE(test::PumpUntil([&] { return close.State == 1; }, 2000)) << "the close button did not become hot";
    check(1, "hot");
    EXPECT_EQ(image.Pixel32(mark.X, mark.Y) & 0xFFFFFF, 0x123456u) << "the whole window image was painted again";
    test::MovePointer(r.left + 100, r.top + 120);
    ASSERT_TRUE(test::PumpUntil([&] { return close.State == 0; }, 2000)) << "the pointer left, the button stayed hot";
    check(0, "normal again");
}

TEST_F(FramePixels, ClientShowsTheFormSectionOnly) {
    ShowSkinned(bsSizeable);
    RECT client{};
    ::GetClientRect(Wnd(), &client);
    auto bmp = std::make_unique<TBitmap>(client.right, client.bottom, pf32bit);
    HDC dc = ::GetDC(Wnd());
    ::BitBlt(bmp->Canvas().Handle(), 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
    ::ReleaseDC(Wnd(), dc);
    ::GdiFlush();
    const std::uint32_t formColour = test::Rgb(
        manager->gd[static_cast<std::size_t>(manager->GetSkinIndex(L"FORM"))].Color);
    int keyed = 0;
    for (int y = 0; y < bmp->Height(); ++y)
        for (int x = 0; x < bmp->Width(); ++x) keyed += test::Rgb(*bmp, x, y) == 0xFF00FF;
    EXPECT_EQ(keyed, 0) << "key-coloured pixels in the client area";
    // The top client rows under the caption text (its glow) and under the tall buttons.
    const int b = provider->SysBorderWidth();
    for (int y = 0; y < 3; ++y) {
        EXPECT_EQ(test::Rgb(*bmp, 40, y), formColour) << "under the caption text, row " << y;
        const TRect close = provider->Buttons()[tbClose].Rect;
        EXPECT_EQ(test::Rgb(*bmp, (close.Left + close.Right) / 2 - b, y), formColour) << "under close, row " << y;
    }
    EXPECT_EQ(test::Rgb(*bmp, client.right / 2, client.bottom / 2), formColour);
}

TEST_F(FramePixels, RepeatedFramePaintsLeaveNoGdiObjects) {
    ShowSkinned(bsSizeable);
    auto round = [&] {
        for (int i = 0; i < 100; ++i) {
            provider->SkinData()->BGChanged = (i % 10) == 0;
            ::RedrawWindow(Wnd(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
        }
        for (int i = 0; i < 20; ++i) form->SetBounds(40, 40, 400 + (i % 5) * 7, 260 + (i % 3) * 5);
        for (int i = 0; i < 10; ++i) ::SendMessageW(Wnd(), WM_NCACTIVATE, i % 2, 0);
        ::SetWindowTextW(Wnd(), L"Counted");
        EXPECT_TRUE(test::PumpUntil([&] { return !::GetUpdateRect(Wnd(), nullptr, FALSE); }));
        Application().ProcessMessages();
    };
    round();  // fonts and caches made once
    const int before = test::LiveGdiObjects();
    round();
    EXPECT_EQ(test::LiveGdiObjects(), before);
}

}  // namespace
}  // namespace qv
