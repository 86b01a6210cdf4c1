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
    static void AltPress(WORD vk) {
        test::Key(VK_MENU, true);
        Press(vk);
        test::Key(VK_MENU, false);
    }

    TsBitBtn* button = nullptr;
    int clicks = 0;
};

TEST_F(ButtonKeys, SpaceShowsThePressedFaceAndTheReleaseClicksAndSettlesBack) {
    button->SetFocus();
    test::PumpFor(100);
    const std::uint32_t focused = Face();
    test::Key(VK_SPACE, true);
    test::PumpFor(100);
    EXPECT_FALSE(test::Near(Face(), focused, 8)) << "no pressed face while Space is held";
    EXPECT_EQ(clicks, 0);
    test::Key(VK_SPACE, false);
    test::PumpFor(300);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(test::Near(Face(), focused, 2)) << "the pressed face stayed after the release";
}

TEST_F(ButtonKeys, UnderlinedLetterClicksFromAnotherControlButNotWhileDisabled) {
    focus->SetFocus();
    test::PumpFor(50);
    AltPress('G');
    test::PumpFor(100);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(::GetFocus(), focus->Handle());
    AltPress('X');  // no button has that letter
    test::PumpFor(100);
    EXPECT_EQ(clicks, 1);
    button->SetEnabled(false);
    test::PumpFor(100);
    AltPress('G');
    test::PumpFor(100);
    EXPECT_EQ(clicks, 1);
}

}  // namespace
}  // namespace qv
