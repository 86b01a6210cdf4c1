// A skinned panel with the RADIOBUTTON section under the internal skin, read back from
// the screen: its flat face with the section's top line, and a skinned button inside
// it whose corners show the panel rather than the form. Also what the panel paints into
// other DCs: the background it erases, a print without a skin, and a DC that shows none
// of it.
#include "SkinnedWindow.h"

#include "controls/win32/sBitBtn.h"
#include "controls/win32/sPanel.h"

namespace qv {
namespace {

class SkinnedPanel : public test::SkinnedWindow {
protected:
    void SetUp() override {
        test::SkinnedWindow::SetUp();
        if (HasFatalFailure()) return;
        panel = Place<TsPanel>(0, 150, 300, kHeight);
        panel->SetShowCaption(false);
        panel->SkinData()->SetSkinSection(L"RADIOBUTTON");
        section = manager->GetSkinIndex(L"RADIOBUTTON");
        ASSERT_GE(section, 0);
        AddFocusSink(20, 20);
    }
    // The colour of the section's top-line image.
    std::uint32_t TopLine() const {
        const TsMaskData& md = manager->ma[static_cast<std::size_t>(manager->gd[section].BorderIndex)];
        return manager->MasterBitmap.Pixel32(md.R.Left + 1, md.R.Top) & 0xFFFFFF;
    }

    // A 32-bit bitmap of the panel's size filled with a colour no skin uses.
    static std::unique_ptr<TBitmap> Target() {
        auto bmp = std::make_unique<TBitmap>();
        bmp->SetPixelFormat(pf32bit);
        bmp->SetSize(300, kHeight);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < 300; ++x) bmp->SetPixel32(x, y, 0xFF123456);
        return bmp;
    }

    static constexpr int kHeight = 48;
    TsPanel* panel = nullptr;
    int section = -1;
};

TEST_F(SkinnedPanel, FaceIsTheSectionColourUnderItsTopLine) {
    ShowAndPaint();
    EXPECT_EQ(panel->SkinData()->FSkinSection, L"RADIOBUTTON");
    EXPECT_EQ(panel->SkinData()->FSkinIndex, section);
    // A plain opaque section: the panel paints straight onto the window, without a face
    // of its own for its children.
    EXPECT_FALSE(panel->SkinData()->IsCached());
    const auto shot = test::CaptureScreenOf(panel->Handle());
    const std::uint32_t face = test::Rgb(manager->gd[section].Color);
    for (int x : {1, 150, 298}) {
        EXPECT_TRUE(test::Near(test::Rgb(*shot, x, kHeight / 2), face, 1)) << x;
        EXPECT_TRUE(test::Near(test::Rgb(*shot, x, kHeight - 1), face, 1)) << x;
        EXPECT_TRUE(test::Near(test::Rgb(*shot, x, 0), TopLine(), 1)) << x;
    }
    EXPECT_NE(TopLine(), face);
}

TEST_F(SkinnedPanel, CustomColourFillsTheInsideAndKeepsTheSkinBorder) {
    panel->SetColor(static_cast<TColor>(0x203040));
    panel->SkinData()->SetCustomColor(true);
    ShowAndPaint();
    const auto shot = test::CaptureScreenOf(panel->Handle());
    EXPECT_TRUE(test::Near(test::Rgb(*shot, 150, kHeight / 2), test::Rgb(static_cast<TColor>(0x203040)), 1));
    EXPECT_TRUE(test::Near(test::Rgb(*shot, 150, 0), TopLine(), 1));
}

TEST_F(SkinnedPanel, ButtonInsideShowsThePanelInItsCorners) {
    auto* button = Place<TsBitBtn>(10, 4, 120, 40, panel);
    ShowAndPaint();
    const auto shot = test::CaptureScreenOf(button->Handle());
    const std::uint32_t face = test::Rgb(manager->gd[section].Color);
    EXPECT_TRUE(test::Near(test::Rgb(*shot, 0, 39), face, 1));
    EXPECT_TRUE(test::Near(test::Rgb(*shot, 119, 39), face, 1));
    // And the button's own face is still the BUTTON gradient.
    const int buttonSection = manager->GetSkinIndex(L"BUTTON");
    EXPECT_TRUE(test::Near(test::Rgb(*shot, 12, 20), test::GradientRow(*manager, buttonSection, false, 40, 20), 2));
}

TEST_F(SkinnedPanel, SectionChangeRepaintsTheFace) {
    ShowAndPaint();
    panel->SkinData()->SetSkinSection(L"PANEL");
    const std::uint32_t face = test::Rgb(manager->gd[manager->GetSkinIndex(L"PANEL")].Color);
    auto shown = [&] { return test::Rgb(*test::CaptureScreenOf(panel->Handle()), 200, kHeight / 2); };
    test::PumpUntil([&] { return static_cast<bool>(test::Near(shown(), face, 1)); });
    EXPECT_TRUE(test::Near(shown(), face, 1));
}

// A border whose centre is drawn covers the panel's inside: the panel needs a face of
// its own for that, and the screen shows the mask's middle rather than the section colour.
TEST_F(SkinnedPanel, BorderThatDrawsItsCentreGivesThePanelAFace) {
    TsMaskData& md = manager->ma[static_cast<std::size_t>(manager->gd[section].BorderIndex)];
    md.DrawMode = static_cast<std::int16_t>(md.DrawMode | dmDrawCentre);
    panel->SkinData()->UpdateIndexes();
    ShowAndPaint();
    EXPECT_TRUE(panel->SkinData()->IsCached());
    const std::uint32_t middle = manager->MasterBitmap.Pixel32(md.R.Left + 1, md.R.Top + 1) & 0xFFFFFF;
    ASSERT_NE(middle, test::Rgb(manager->gd[section].Color));
    const auto shot = test::CaptureScreenOf(panel->Handle());
    EXPECT_TRUE(test::Near(test::Rgb(*shot, 150, kHeight / 2), middle, 1));
    // Erasing into another DC copies that face.
    auto erased = Target();
    EXPECT_EQ(::SendMessageW(panel->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(erased->Canvas().Handle()), 0),
              1);
    ::GdiFlush();
    EXPECT_TRUE(test::Near(test::Rgb(*erased, 150, kHeight / 2), middle, 1));
}

TEST_F(SkinnedPanel, EraseBackgroundPaintsTheFaceOfAPanelWithoutCache) {
    ShowAndPaint();
    ASSERT_FALSE(panel->SkinData()->IsCached());
    auto erased = Target();
    EXPECT_EQ(::SendMessageW(panel->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(erased->Canvas().Handle()), 0),
              1);
    ::GdiFlush();
    EXPECT_TRUE(test::Near(test::Rgb(*erased, 150, kHeight / 2), test::Rgb(manager->gd[section].Color), 1));
    EXPECT_TRUE(test::Near(test::Rgb(*erased, 150, 0), TopLine(), 1));
}

TEST_F(SkinnedPanel, DcThatShowsNothingOfThePanelMarksItPartlyHidden) {
    ShowAndPaint();
    panel->SkinData()->HalfVisible = false;
    auto target = Target();
    HDC dc = target->Canvas().Handle();
    HRGN none = ::CreateRectRgn(0, 0, 0, 0);
    ::SelectClipRgn(dc, none);
    ::DeleteObject(none);
    ::SendMessageW(panel->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    ::SelectClipRgn(dc, nullptr);
    EXPECT_TRUE(panel->SkinData()->HalfVisible);
}

TEST_F(SkinnedPanel, WithoutTheSkinAPrintShowsThePaintHandler) {
    panel->SkinData()->SetSkinSection(L"NO SUCH SECTION");
    panel->FOnPaint = [](TComponent*, TCanvas& canvas) {
        canvas.Brush().SetColor(static_cast<TColor>(0x0000C0));
        canvas.FillRect({100, 10, 200, 30});
    };
    ShowAndPaint();
    ASSERT_FALSE(panel->SkinData()->Skinned());
    auto printed = Target();
    ::SendMessageW(panel->Handle(), WM_PRINT, reinterpret_cast<WPARAM>(printed->Canvas().Handle()), 0);
    ::GdiFlush();
    EXPECT_EQ(test::Rgb(*printed, 150, 20), 0xC00000u);
    EXPECT_NE(test::Rgb(*printed, 20, 40), 0x123456u);  // the panel's own face around it
}

}  // namespace
}  // namespace qv
