// A skinned panel with the RADIOBUTTON section under the internal skin, read back from
// the screen: its flat face with the section's top line, and a skinned button inside
// it whose corners show the panel rather than the form.
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
    test::PumpFor(50);
    const auto shot = test::CaptureScreenOf(panel->Handle());
    EXPECT_TRUE(test::Near(test::Rgb(*shot, 200, kHeight / 2), test::Rgb(manager->gd[manager->GetSkinIndex(L"PANEL")].Color), 1));
}

}  // namespace
}  // namespace qv
