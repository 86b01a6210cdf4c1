// A skinned push button on a plain form under the internal skin, read back from the
// screen: corners show what lies behind, the face shows the BUTTON gradient, the caption
// the section's font colour, and hovering cross-fades to the amber hot face.
#include "SkinnedWindow.h"

#include "controls/win32/sBitBtn.h"
#include "framework/win32/Controls.h"
#include "skin/win32/sMessages.h"

#include <functional>

namespace qv {
namespace {

class SkinnedButton : public test::SkinnedWindow {
protected:
    void SetUp() override {
        test::SkinnedWindow::SetUp();
        if (HasFatalFailure()) return;
        button = Place<TsBitBtn>(20, 20, kWidth, kHeight);
        AddFocusSink(20, 200);
        section = manager->GetSkinIndex(L"BUTTON");
        ASSERT_GE(section, 0);
    }
    // A point of the face left of any caption, halfway down.
    std::uint32_t FaceAt(const TBitmap& bmp, int y) const { return test::Rgb(bmp, 12, y); }
    std::uint32_t MiddleOnScreen() const { return FaceAt(*test::CaptureScreenOf(button->Handle()), kHeight / 2); }
    // Pumps until the screen shows about want halfway down the face, or gives up (the
    // check after it tells what the screen shows instead).
    void WaitForFace(std::uint32_t want, int tolerance) const {
        test::PumpUntil([&] { return static_cast<bool>(test::Near(MiddleOnScreen(), want, tolerance)); });
    }

    static constexpr int kWidth = 160, kHeight = 48;
    TsBitBtn* button = nullptr;
    int section = -1;
};

TEST_F(SkinnedButton, NormalFaceIsTheSectionGradientWithTheBackgroundInItsCorners) {
    // The form keeps no skin of its own: its own colour lies behind the button.
    form->SetColor(static_cast<TColor>(0x336699));
    ShowAndPaint();
    EXPECT_EQ(button->SkinData()->FSkinIndex, section);
    EXPECT_EQ(button->CurrentState(), 0);
    const auto shot = test::CaptureScreenOf(button->Handle());
    ASSERT_EQ(shot->Width(), kWidth);
    // The rounded corners' key pixels show the form, not the skin's global colour.
    const std::uint32_t behind = test::Rgb(static_cast<TColor>(0x336699));
    ASSERT_NE(behind, test::Rgb(manager->GetGlobalColor()));
    EXPECT_TRUE(test::Near(test::Rgb(*shot, 0, 0), behind, 1));
    EXPECT_TRUE(test::Near(test::Rgb(*shot, kWidth - 1, kHeight - 1), behind, 1));
    // The middle of the face is the vertical gradient: lighter on top, the section's
    // colour halfway down.
    for (int y : {kHeight / 4, kHeight / 2, kHeight * 3 / 4})
        EXPECT_TRUE(test::Near(FaceAt(*shot, y), test::GradientRow(*manager, section, false, kHeight, y), 2)) << y;
    EXPECT_TRUE(test::Near(FaceAt(*shot, kHeight / 2), test::Rgb(manager->gd[section].Color), 4));
    // The screen shows the cache.
    EXPECT_EQ(test::Rgb(*button->SkinData()->CacheBmp(), 12, kHeight / 2), FaceAt(*shot, kHeight / 2));
}

TEST_F(SkinnedButton, FocusedButtonIsHotAndTurnsNormalWhenFocusLeaves) {
    ShowAndPaint();
    button->SetFocus();
    WaitForFace(test::GradientRow(*manager, section, true, kHeight, kHeight / 2), 2);
    EXPECT_TRUE(test::Near(FaceAt(*test::CaptureScreenOf(button->Handle()), kHeight / 2),
                           test::GradientRow(*manager, section, true, kHeight, kHeight / 2), 2));
    // Losing focus switches redraw off around the framework's handling; the repaint it
    // asks for must survive that.
    focus->SetFocus();
    WaitForFace(test::GradientRow(*manager, section, false, kHeight, kHeight / 2), 2);
    EXPECT_TRUE(test::Near(FaceAt(*test::CaptureScreenOf(button->Handle()), kHeight / 2),
                           test::GradientRow(*manager, section, false, kHeight, kHeight / 2), 2));
}

TEST_F(SkinnedButton, CaptionTakesTheSectionFontColour) {
    button->SetCaption(L"MMMMMM");
    button->Font().SetHeight(-20);
    button->Font().SetStyle(fsBold);
    ShowAndPaint();
    const auto shot = test::CaptureScreenOf(button->Handle());
    const std::uint32_t ink = test::Rgb(manager->gd[section].FontColor[0]);
    int inked = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) inked += test::Near(test::Rgb(*shot, x, y), ink, 24) ? 1 : 0;
    EXPECT_GT(inked, 30);
}

TEST_F(SkinnedButton, MouseEnterFadesToTheHotGradientAndLeaveFadesBack) {
    ShowAndPaint();
    const std::uint32_t normal = FaceAt(*test::CaptureScreenOf(button->Handle()), kHeight / 2);
    button->Perform(CM_MOUSEENTER, 0, 0);
    EXPECT_TRUE(button->FadeRunning());  // the section fades
    ASSERT_TRUE(test::PumpUntil([&] { return !button->FadeRunning(); }));
    WaitForFace(test::GradientRow(*manager, section, true, kHeight, kHeight / 2), 2);
    EXPECT_EQ(button->CurrentState(), 1);
    auto shot = test::CaptureScreenOf(button->Handle());
    for (int y : {kHeight / 4, kHeight / 2, kHeight * 3 / 4})
        EXPECT_TRUE(test::Near(FaceAt(*shot, y), test::GradientRow(*manager, section, true, kHeight, y), 2)) << y;
    // Amber: red well above blue.
    const std::uint32_t hot = FaceAt(*shot, kHeight / 2);
    EXPECT_GT(static_cast<int>(hot >> 16), static_cast<int>(hot & 0xFF) + 120);

    button->Perform(CM_MOUSELEAVE, 0, 0);
    ASSERT_TRUE(test::PumpUntil([&] { return !button->FadeRunning(); }));
    WaitForFace(normal, 1);
    EXPECT_TRUE(test::Near(MiddleOnScreen(), normal, 1));
}

// With the system's animation of window contents turned off, the hot face shows at
// once: no fade runs, and the screen holds the hot gradient before any timer could fire.
TEST_F(SkinnedButton, WithoutClientAreaAnimationTheHotFaceShowsAtOnce) {
    BOOL before = TRUE;
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETCLIENTAREAANIMATION, 0, &before, 0));
    // The setting goes in the parameter itself; nothing is written to the user's profile.
    auto set = [](BOOL on) {
        ::SystemParametersInfoW(SPI_SETCLIENTAREAANIMATION, 0, reinterpret_cast<void*>(static_cast<INT_PTR>(on)), 0);
    };
    struct Restore {
        std::function<void()> undo;
        ~Restore() { undo(); }
    } restore{[&] { set(before); }};
    set(FALSE);
    BOOL now = TRUE;
    ::SystemParametersInfoW(SPI_GETCLIENTAREAANIMATION, 0, &now, 0);
    if (now) GTEST_SKIP() << "the system keeps client-area animation on";
    ShowAndPaint();
    button->Perform(CM_MOUSEENTER, 0, 0);
    EXPECT_FALSE(button->FadeRunning());
    EXPECT_EQ(button->CurrentState(), 1);
    const std::uint32_t hot = test::GradientRow(*manager, section, true, kHeight, kHeight / 2);
    EXPECT_TRUE(test::Near(FaceAt(*test::CaptureScreenOf(button->Handle()), kHeight / 2), hot, 2));
    button->Perform(CM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(button->FadeRunning());
}

TEST_F(SkinnedButton, FadeStepsLieBetweenTheTwoFaces) {
    ShowAndPaint();
    const std::uint32_t normal = FaceAt(*test::CaptureScreenOf(button->Handle()), kHeight / 2);
    const std::uint32_t hot = test::GradientRow(*manager, section, true, kHeight, kHeight / 2);
    button->Perform(CM_MOUSEENTER, 0, 0);
    ASSERT_TRUE(button->FadeRunning());
    TsFadeTimer* fade = button->Fade();
    ASSERT_NE(fade, nullptr);
    EXPECT_EQ(fade->Iterations, manager->gd[section].FadingIterations);
    // Drive half the steps by hand: the window shows a face between the two.
    fade->SetEnabled(false);
    for (int i = 0; i < fade->Iterations / 2; ++i) fade->Change();
    // Until the window's drawing reached the screen; the fade's timer is off, so no step is taken.
    test::PumpUntil([&] { return static_cast<int>(MiddleOnScreen() >> 16) > static_cast<int>(normal >> 16) + 10; });
    EXPECT_EQ(fade->FadeLevel, 1 + fade->Iterations / 2);
    const std::uint32_t mid = FaceAt(*test::CaptureScreenOf(button->Handle()), kHeight / 2);
    const int red = static_cast<int>(mid >> 16);
    EXPECT_GT(red, static_cast<int>(normal >> 16) + 10);
    EXPECT_LT(red, static_cast<int>(hot >> 16) - 10);
}

// Step counts as the button's fades take them: a hover fade runs the section's count, a
// leave during it starts again at the first step, and a press takes half as many.
TEST_F(SkinnedButton, FadesRestartAtTheFirstStepAndPressesTakeHalfTheSteps) {
    ShowAndPaint();
    const int steps = manager->gd[section].FadingIterations;
    button->Perform(CM_MOUSEENTER, 0, 0);
    ASSERT_TRUE(button->FadeRunning());
    TsFadeTimer* fade = button->Fade();
    fade->SetEnabled(false);
    for (int i = 0; i < 3; ++i) fade->Change();
    EXPECT_EQ(fade->FadeLevel, 4);
    button->Perform(CM_MOUSELEAVE, 0, 0);
    ASSERT_TRUE(button->FadeRunning());
    EXPECT_EQ(button->Fade()->FadeLevel, 1);
    EXPECT_EQ(button->Fade()->Iterations, steps);
    button->Perform(CM_MOUSEENTER, 0, 0);
    ASSERT_TRUE(test::PumpUntil([&] { return !button->FadeRunning(); }));
    button->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(12, 24));
    ASSERT_TRUE(button->FadeRunning());
    EXPECT_EQ(button->Fade()->Iterations, steps / 2);
    EXPECT_EQ(button->Fade()->FadeLevel, 1);
    button->Perform(WM_LBUTTONUP, 0, MAKELPARAM(12, 24));
    ASSERT_TRUE(test::PumpUntil([&] { return !button->FadeRunning(); }));
}

TEST_F(SkinnedButton, WithoutTheSkinItPaintsAsThePlainBitmapButton) {
    ShowAndPaint();
    manager->SetActive(false);
    // The form belongs to no application list: the announcement goes to it directly.
    TMessage removed = MakeAlphaMessage(SKC_REMOVESKIN, reinterpret_cast<LPARAM>(manager));
    AlphaBroadCast(form.get(), removed);
    WaitForFace(test::Rgb(clBtnFace), 1);
    const auto shot = test::CaptureScreenOf(button->Handle());
    EXPECT_TRUE(test::Near(FaceAt(*shot, kHeight / 2), test::Rgb(clBtnFace), 1));
    // The system frame: a dark line along the bottom edge.
    const std::uint32_t edge = test::Rgb(*shot, kWidth / 2, kHeight - 1);
    EXPECT_LT(static_cast<int>(edge & 0xFF), static_cast<int>(test::Rgb(clBtnFace) & 0xFF) - 60);
}

}  // namespace
}  // namespace qv
