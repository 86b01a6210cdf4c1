// A skinned push button driven by the real keyboard through SendInput: Space shows the
// pressed face while held and clicks on release, leaving the focused face behind; the
// caption's underlined letter clicks it from another control, and not while disabled.
#include "SkinnedList.h"

#include "controls/win32/sBitBtn.h"
#include "framework/win32/Controls.h"

namespace qv {
namespace {

class ButtonKeys : public test::SkinnedWindow {
protected:
    void SetUp() override {
        test::SkinnedWindow::SetUp();
        if (HasFatalFailure()) return;
        button = Place<TsBitBtn>(20, 20, 160, 48);
        button->SetCaption(L"&Go");
        button->OnClick = [this](TComponent*) { ++clicks; };
        AddFocusSink(20, 200);
        ShowAndPaint();
        ::SetForegroundWindow(form->Handle());
    }
    // A point of the face left of the caption, halfway down.
    std::uint32_t Face() const { return test::Rgb(*test::CaptureScreenOf(button->Handle()), 12, 24); }
    static void Press(WORD vk) {
        test::Key(vk, true);
        test::Key(vk, false);
    }
    // Alt with a letter; returns once this thread has taken all four keys: the toggle bit
    // of Alt's state flips at its press and the key reads up again after its release.
    static void AltPress(WORD vk) {
        const SHORT toggled = ::GetKeyState(VK_MENU) & 1;
        test::Key(VK_MENU, true);
        Press(vk);
        test::Key(VK_MENU, false);
        EXPECT_TRUE(test::PumpUntil(
            [&] { return (::GetKeyState(VK_MENU) & 1) != toggled && (::GetKeyState(VK_MENU) & 0x8000) == 0; }));
        Application().ProcessMessages();
    }
    // Pumps until the face shows about want, or gives up (the check after it tells what
    // the screen shows instead).
    void WaitForFace(std::uint32_t want, int tolerance) const {
        test::PumpUntil([&] { return static_cast<bool>(test::Near(Face(), want, tolerance)); });
    }

    TsBitBtn* button = nullptr;
    int clicks = 0;
};

TEST_F(ButtonKeys, SpaceShowsThePressedFaceAndTheReleaseClicksAndSettlesBack) {
    button->SetFocus();
    // Until the focused face is drawn and stays.
    ASSERT_TRUE(test::PumpUntil([&] {
        return ::GetFocus() == button->Handle() && !button->FadeRunning() &&
               !::GetUpdateRect(button->Handle(), nullptr, FALSE);
    }));
    const std::uint32_t focused = Face();
    test::Key(VK_SPACE, true);
    test::PumpUntil([&] { return !test::Near(Face(), focused, 8); });
    EXPECT_FALSE(test::Near(Face(), focused, 8)) << "no pressed face while Space is held";
    EXPECT_EQ(clicks, 0);
    test::Key(VK_SPACE, false);
    EXPECT_TRUE(test::PumpUntil([&] { return clicks == 1; }));
    ASSERT_TRUE(test::PumpUntil([&] { return !button->FadeRunning(); }));
    WaitForFace(focused, 2);
    EXPECT_TRUE(test::Near(Face(), focused, 2)) << "the pressed face stayed after the release";
}

TEST_F(ButtonKeys, UnderlinedLetterClicksFromAnotherControlButNotWhileDisabled) {
    focus->SetFocus();
    ASSERT_TRUE(test::PumpUntil([&] { return ::GetFocus() == focus->Handle(); }));
    AltPress('G');
    EXPECT_TRUE(test::PumpUntil([&] { return clicks == 1; }));
    EXPECT_EQ(::GetFocus(), focus->Handle());
    AltPress('X');  // no button has that letter
    EXPECT_EQ(clicks, 1);
    button->SetEnabled(false);
    ASSERT_TRUE(test::PumpUntil([&] { return !::IsWindowEnabled(button->Handle()); }));
    AltPress('G');
    EXPECT_EQ(clicks, 1);
}

}  // namespace
}  // namespace qv
