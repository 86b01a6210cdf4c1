// Hover with the real pointer: moving it over a skinned button fades the face to the
// amber hot gradient and shows the glow window around the button; moving it away
// brings the normal face back and hides the glow.
#include "SkinnedWindow.h"

#include "controls/win32/acGlow.h"
#include "controls/win32/sBitBtn.h"

namespace qv {
namespace {

class Hover : public test::SkinnedWindow {
protected:
    // Pumps until the screen shows about want at the face's point, or gives up (the check
    // after it tells what the screen shows instead).
    static void WaitForFace(TsBitBtn* button, std::uint32_t want) {
        test::PumpUntil([&] {
            return static_cast<bool>(test::Near(test::Rgb(*test::CaptureScreenOf(button->Handle()), 12, 24), want, 2));
        });
    }
};

TEST_F(Hover, RealPointerOverAButtonFadesToTheHotFaceWithItsGlow) {
    auto* button = Place<TsBitBtn>(40, 40, 160, 48);
    AddFocusSink(40, 180);
    test::MovePointer(2, 700);
    ShowAndPaint();
    const int section = manager->GetSkinIndex(L"BUTTON");

    RECT r{};
    ::GetWindowRect(button->Handle(), &r);
    test::MovePointer((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    ASSERT_TRUE(test::PumpUntil([&] { return button->SkinData()->MouseAbove(); }));
    ASSERT_TRUE(test::PumpUntil([&] { return !button->FadeRunning(); }));
    WaitForFace(button, test::GradientRow(*manager, section, true, 48, 24));
    const auto hot = test::CaptureScreenOf(button->Handle());
    EXPECT_TRUE(test::Near(test::Rgb(*hot, 12, 24), test::GradientRow(*manager, section, true, 48, 24), 2));
    // The glow: a visible window of its own that encloses the button.
    const int glow = button->SkinData()->GlowID;
    ASSERT_GE(glow, 0);
    ASSERT_LT(static_cast<std::size_t>(glow), acgEffects.size());
    ASSERT_NE(acgEffects[static_cast<std::size_t>(glow)], nullptr);
    const HWND glowWnd = acgEffects[static_cast<std::size_t>(glow)]->Handle();
    ASSERT_TRUE(::IsWindow(glowWnd));
    EXPECT_TRUE(::IsWindowVisible(glowWnd));
    RECT g{};
    ::GetWindowRect(glowWnd, &g);
    EXPECT_LT(g.left, r.left);
    EXPECT_LT(g.top, r.top);
    EXPECT_GT(g.right, r.right);
    EXPECT_GT(g.bottom, r.bottom);
    // On screen the halo is amber next to the button and fades into the form further out.
    const auto halo = test::CaptureScreenOf(glowWnd);
    const int midY = (r.top + r.bottom) / 2 - g.top;
    const std::uint32_t beside = test::Rgb(*halo, r.left - 2 - g.left, midY);
    EXPECT_GT(static_cast<int>(beside >> 16), static_cast<int>(beside & 0xFF) + 60);
    EXPECT_TRUE(test::Near(test::Rgb(*halo, 0, midY), test::Rgb(clBtnFace), 8));

    test::MovePointer(2, 700);
    ASSERT_TRUE(test::PumpUntil([&] { return !button->SkinData()->MouseAbove() && !button->FadeRunning(); }));
    WaitForFace(button, test::GradientRow(*manager, section, false, 48, 24));
    const auto normal = test::CaptureScreenOf(button->Handle());
    EXPECT_TRUE(test::Near(test::Rgb(*normal, 12, 24), test::GradientRow(*manager, section, false, 48, 24), 2));
    EXPECT_FALSE(::IsWindow(glowWnd) && ::IsWindowVisible(glowWnd));
    ClearGlows();
}

}  // namespace
}  // namespace qv
