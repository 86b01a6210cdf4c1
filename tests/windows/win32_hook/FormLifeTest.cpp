// Framework forms met by the hook: the main form is skinned when it first shows, a
// message dialog opened and closed many times leaves no GDI object, window or provider
// behind.
#include "HookFixture.h"

#include "GdiObjects.h"
#include "windows/win32/acBtnWnd.h"
#include "windows/win32/sSkinProvider.h"
#include "framework/win32/Dialogs.h"
#include "skin/win32/sMessages.h"
#include "skin/win32/sStyleSimply.h"

namespace qv {
namespace {

class HookedForms : public test::HookedWindow {};

BOOL CALLBACK CountWindow(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

BOOL CALLBACK CountWindowAndChildren(HWND wnd, LPARAM count) {
    CountWindow(wnd, count);
    ::EnumChildWindows(wnd, CountWindow, count);
    return TRUE;
}

// The windows of this thread, top-level and child: a USER count that works under Wine too.
int ThreadWindowCount() {
    int count = 0;
    ::EnumThreadWindows(::GetCurrentThreadId(), CountWindowAndChildren, reinterpret_cast<LPARAM>(&count));
    return count;
}

int LiveProviders() {
    int n = 0;
    for (TacProvider* p : acSupportedList) n += p != nullptr;
    return n;
}

TEST_F(HookedForms, TheMainFormIsSkinnedWhenItFirstShows) {
    TForm* main = nullptr;
    Application().CreateForm(main);
    ASSERT_NE(main, nullptr);
    ASSERT_EQ(Application().MainForm(), main);
    main->SetBounds(80, 80, 320, 200);
    main->Show();
    test::PumpUntil([&] { return FindFormInList(main->Handle()) && FindFormInList(main->Handle())->sp; });
    TacProvider* p = FindFormInList(main->Handle());
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->FForm, main);
    EXPECT_NE(p->sp, nullptr) << "a frame skinner made at run time";
    EXPECT_NE(GetFormProvider(main), nullptr);
    EXPECT_EQ(SendAMessage(main->Handle(), SKC_CTRLHANDLED), 1);
    delete main;
    EXPECT_EQ(Application().MainForm(), nullptr);
    EXPECT_EQ(LiveProviders(), 0);
}

// The question before deleting: its frame is skinned and its push buttons show the
// skin's button face on screen.
TEST_F(HookedForms, AMessageDialogGetsAFrameSkinnerAndSkinnedButtons) {
    ShowAndPaint();
    auto d = CreateMessageDialog(L"Delete it?", mtConfirmation, mbOK | mbCancel);
    d->SetLeft(120);
    d->SetTop(120);
    d->Show();
    ::SetWindowPos(d->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    test::PumpUntil([&] { return GetFormProvider(d.get()) != nullptr; });
    Application().ProcessMessages();
    ASSERT_NE(GetFormProvider(d.get()), nullptr);
    int buttons = 0;
    for (int i = 0; i < d->ControlCount(); ++i) {
        auto* button = dynamic_cast<TButton*>(d->Controls(i));
        if (!button) continue;
        ++buttons;
        ASSERT_NE(dynamic_cast<TacButtonWnd*>(WrapperOf(button->Handle())), nullptr) << "button " << buttons;
        ::RedrawWindow(button->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        const int h = button->Height();
        const int section = manager->GetSkinIndex(L"BUTTON");
        auto skinned = [&] {
            const std::uint32_t got = test::Rgb(*test::CaptureScreenOf(button->Handle()), 8, h / 2);
            return test::Near(got, test::GradientRow(*manager, section, false, h, h / 2), 2) ||
                   test::Near(got, test::GradientRow(*manager, section, true, h, h / 2), 2);
        };
        EXPECT_TRUE(test::PumpUntil(skinned)) << "button " << buttons;
    }
    EXPECT_EQ(buttons, 2);

    // A real click on the skinned Cancel reaches the framework's button.
    for (int i = 0; i < d->ControlCount(); ++i)
        if (auto* button = dynamic_cast<TButton*>(d->Controls(i)); button && button->Caption() == L"Cancel") {
            RECT r{};
            ::GetWindowRect(button->Handle(), &r);
            const POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
            test::MovePointer(centre.x, centre.y);
            EXPECT_TRUE(test::PumpUntil([&] {
                POINT now{};
                ::GetCursorPos(&now);
                return std::abs(now.x - centre.x) <= 1 && std::abs(now.y - centre.y) <= 1;
            }));
            test::MouseButton(true);
            test::PumpUntil([&] { return (::SendMessageW(button->Handle(), BM_GETSTATE, 0, 0) & BST_PUSHED) != 0; });
            test::MouseButton(false);
            EXPECT_TRUE(test::PumpUntil([&] { return d->ModalResult() == mrCancel; }));
        }
    EXPECT_EQ(d->ModalResult(), mrCancel);
}

// The question's body is the skin's client background, as the skinned system box's is:
// the text in the skin's font colour over the window image, the icon drawn over the
// image too (its transparent corner shows the image, not the form's system colour).
TEST_F(HookedForms, AMessageDialogsBodyTextAndIconShowTheSkin) {
    ShowAndPaint();
    auto d = CreateMessageDialog(L"This will clear the list.  Are you sure?", mtConfirmation, mbOK | mbCancel);
    d->SetLeft(140);
    d->SetTop(140);
    d->Show();
    ::SetWindowPos(d->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ASSERT_TRUE(test::PumpUntil([&] { return GetFormProvider(d.get()) != nullptr; }));
    auto* provider = dynamic_cast<TsSkinProvider*>(GetFormProvider(d.get()));
    ASSERT_NE(provider, nullptr);
    auto* text = dynamic_cast<TWinControl*>(d->FindComponent(L"Message"));
    ASSERT_NE(text, nullptr);
    ASSERT_TRUE(test::PumpUntil([&] { return provider->FrameImage() && test::NothingToPaint(d->Handle()); }));
    Application().ProcessMessages();

    const TPoint offset{provider->OffsetX(), provider->OffsetY()};
    auto imageAt = [&](int clientX, int clientY) {
        return test::Rgb(*provider->FrameImage(), offset.X + clientX, offset.Y + clientY);
    };
    auto screen = test::CaptureScreenOf(d->Handle());
    auto shownAt = [&](int clientX, int clientY) { return test::Rgb(*screen, offset.X + clientX, offset.Y + clientY); };
    const int cw = d->ClientWidth(), ch = d->ClientHeight();
    for (const TPoint p : {TPoint{3, 3}, TPoint{cw - 4, 3}, TPoint{3, ch - 4}, TPoint{cw / 2, ch - 3}})
        EXPECT_TRUE(test::Near(shownAt(p.X, p.Y), imageAt(p.X, p.Y), 2)) << "body at " << p.X << ", " << p.Y;
    EXPECT_TRUE(test::Near(shownAt(10, 10), imageAt(10, 10), 2)) << "the icon's transparent corner";
    bool iconDrawn = false;
    for (int y = 10; y < 42 && !iconDrawn; ++y)
        for (int x = 10; x < 42 && !iconDrawn; ++x) iconDrawn = !test::Near(shownAt(x, y), imageAt(x, y), 16);
    EXPECT_TRUE(iconDrawn) << "the question icon";

    // The text: the skin's font colour is light over a dark image, so no pixel of the
    // text's window is darker than the image behind it, and the letters are that colour.
    const TsGeneralData& section = manager->gd[static_cast<std::size_t>(manager->GetSkinIndex(L"FORM"))];
    const std::uint32_t ink = test::Rgb(section.Props[0].FontColor.Color);
    auto darker = [](std::uint32_t a, std::uint32_t b) {
        for (int shift = 0; shift < 24; shift += 8)
            if (static_cast<int>((a >> shift) & 0xFF) < static_cast<int>((b >> shift) & 0xFF) - 8) return true;
        return false;
    };
    int inked = 0, dark = 0;
    for (int y = text->Top(); y < text->Top() + text->Height(); ++y)
        for (int x = text->Left(); x < text->Left() + text->Width(); ++x) {
            inked += test::Near(shownAt(x, y), ink, 24) && !test::Near(imageAt(x, y), ink, 24);
            dark += darker(shownAt(x, y), imageAt(x, y));
        }
    EXPECT_GT(inked, 20) << "text in the skin's font colour";
    EXPECT_EQ(dark, 0) << "pixels darker than the skin behind the text";
    EXPECT_TRUE(test::Near(shownAt(text->Left() + text->Width() - 1, text->Top()),
                           imageAt(text->Left() + text->Width() - 1, text->Top()), 2))
        << "the image behind the text";
    d.reset();
}

TEST_F(HookedForms, TwoHundredMessageDialogsLeaveNoGdiObjectOrWindowBehind) {
    ShowAndPaint();
    const auto cycle = [] {
        auto d = CreateMessageDialog(L"Delete it?", mtConfirmation, mbOK | mbCancel);
        d->Show();
        ::UpdateWindow(d->Handle());
        Application().ProcessMessages();
        EXPECT_NE(FindFormInList(d->Handle()), nullptr);
    };
    for (int i = 0; i < 5; ++i) cycle();  // fonts and caches the first dialogs make for good
    Application().ProcessMessages();      // what the closed dialogs queued
    const long gdiBefore = test::LiveGdiObjects();
    const int windowsBefore = ThreadWindowCount();
    for (int i = 0; i < 200; ++i) cycle();
    Application().ProcessMessages();
    EXPECT_LE(test::LiveGdiObjects(), gdiBefore);
    EXPECT_EQ(ThreadWindowCount(), windowsBefore);
    EXPECT_EQ(LiveProviders(), 1) << "only the fixture's form keeps its provider";
}

}  // namespace
}  // namespace qv
