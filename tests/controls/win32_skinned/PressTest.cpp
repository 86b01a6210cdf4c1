// Pressing a skinned button with the real pointer: while the left button is held on it,
// the button shows its pressed face, whether or not it had the focus before the press.
// The pressed face is taken from a second button held down through its Down property.
#include "SkinnedWindow.h"

#include "controls/win32/sBitBtn.h"

namespace qv {
namespace {

void SendMouse(DWORD flags, int x = 0, int y = 0) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = static_cast<LONG>(x * 65535 / (::GetSystemMetrics(SM_CXSCREEN) - 1));
    in.mi.dy = static_cast<LONG>(y * 65535 / (::GetSystemMetrics(SM_CYSCREEN) - 1));
    in.mi.dwFlags = flags;
    ::SendInput(1, &in, sizeof in);
}

class Press : public test::SkinnedWindow, public ::testing::WithParamInterface<bool> {
protected:
    void TearDown() override {
        SendMouse(MOUSEEVENTF_LEFTUP);
        SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, 2, 700);
        // Until the pointer is away, so the next test starts with it outside its buttons.
        test::PumpUntil([] {
            POINT p{};
            ::GetCursorPos(&p);
            return std::abs(p.x - 2) <= 1 && std::abs(p.y - 700) <= 1;
        });
        Application().ProcessMessages();
        test::SkinnedWindow::TearDown();
    }
    static constexpr int kWidth = 160, kHeight = 48;
};

TEST_P(Press, HeldButtonShowsThePressedFace) {
    const bool focusedBefore = GetParam();
    auto* button = Place<TsBitBtn>(20, 20, kWidth, kHeight);
    auto* down = Place<TsBitBtn>(20, 100, kWidth, kHeight);
    down->SetDown(true);
    AddFocusSink(20, 200);
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, 2, 700);
    ShowAndPaint();
    if (focusedBefore) {
        button->SetFocus();
        ASSERT_TRUE(test::PumpUntil([&] { return ::GetFocus() == button->Handle() && !button->FadeRunning(); }));
    }
    RECT r{};
    ::GetWindowRect(button->Handle(), &r);
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, r.left + 12, (r.top + r.bottom) / 2);
    ASSERT_TRUE(test::PumpUntil([&] { return button->SkinData()->MouseAbove() && !button->FadeRunning(); }));
    const int section = manager->GetSkinIndex(L"BUTTON");
    auto faceNear = [](TsBitBtn* b, int y, std::uint32_t want) {
        return static_cast<bool>(test::Near(test::Rgb(*test::CaptureScreenOf(b->Handle()), 12, y), want, 2));
    };
    // Until the hot face is on the screen.
    test::PumpUntil([&] {
        return faceNear(button, kHeight / 2, test::GradientRow(*manager, section, true, kHeight, kHeight / 2));
    });

    SendMouse(MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(
        test::PumpUntil([&] { return (::SendMessageW(button->Handle(), BM_GETSTATE, 0, 0) & BST_PUSHED) != 0; }));
    ASSERT_TRUE(test::PumpUntil([&] { return !button->FadeRunning(); }));
    // Until the pressed face is on the screen.
    test::PumpUntil([&] {
        return faceNear(button, kHeight / 2, test::Rgb(*test::CaptureScreenOf(down->Handle()), 12, kHeight / 2));
    });
    EXPECT_EQ(button->CurrentState(), 2);
    const auto held = test::CaptureScreenOf(button->Handle());
    const auto pressed = test::CaptureScreenOf(down->Handle());
    for (int y : {kHeight / 4, kHeight / 2, kHeight * 3 / 4}) {
        // The pressed face is not the hot one, so the comparison below tells them apart.
        ASSERT_FALSE(test::Near(test::Rgb(*pressed, 12, y), test::GradientRow(*manager, section, true, kHeight, y), 6));
        EXPECT_TRUE(test::Near(test::Rgb(*held, 12, y), test::Rgb(*pressed, 12, y), 2)) << "y " << y;
    }
}

INSTANTIATE_TEST_SUITE_P(FocusedOrNot, Press, ::testing::Bool(),
                         [](const auto& p) { return p.param ? "Focused" : "NotFocused"; });

}  // namespace
}  // namespace qv
