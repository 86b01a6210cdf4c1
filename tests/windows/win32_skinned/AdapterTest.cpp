// The control adapter on a skinned form: with the default class lists a framework push
// button gets a button wrapper that paints it from the skin and a framework edit stays
// as it is; tagged controls are left alone; labels take the skin's text colour; the
// message dialogs' OK and Cancel buttons are skinned; removing the adapter gives every
// control back working.
#include "controls/win32_skinned/SkinnedWindow.h"

#include "windows/win32/acBtnWnd.h"
#include "controls/win32/sBoundLabel.h"
#include "framework/win32/Dialogs.h"
#include "windows/win32/acCtrlAdapter.h"

namespace qv {
namespace {

class Adapter : public test::SkinnedWindow {
protected:
    // What the screen shows halfway down a window at x, once it is what accept takes (or
    // after a generous wait, for the check to tell what it is instead).
    template <class F>
    std::uint32_t CentreOnScreen(HWND wnd, F accept, int x = 8) {
        auto read = [&] {
            RECT r{};
            ::GetWindowRect(wnd, &r);
            return test::Rgb(*test::CaptureScreenOf(wnd), x, (r.bottom - r.top) / 2);
        };
        test::PumpUntil([&] { return accept(read()); });
        return read();
    }
    std::uint32_t NormalButton(int h) {
        return test::GradientRow(*manager, manager->GetSkinIndex(L"BUTTON"), false, h, h / 2);
    }
};

TEST_F(Adapter, DefaultListsWrapAFrameworkButtonButNotAnEdit) {
    auto* button = Place<TButton>(20, 20, 140, 40);
    button->SetCaption(L"Wrapped");
    auto* tagged = Place<TButton>(20, 70, 140, 40);
    tagged->Tag = -98;
    AddFocusSink(200, 20);
    auto* label = new TLabel(form.get());
    label->SetParent(form.get());
    label->SetBounds(200, 80, 80, 16);
    label->ControlStyle |= csOpaque;
    ShowAndPaint();

    auto* adapter = new TacCtrlAdapter(form.get(), manager);
    adapter->AddAllItems();
    auto* wrapper = dynamic_cast<TacButtonWnd*>(WrapperOf(button->Handle()));
    ASSERT_NE(wrapper, nullptr) << "TButton is in the default button list";
    EXPECT_EQ(wrapper->SkinData->FSkinSection, L"BUTTON");
    EXPECT_EQ(wrapper->Btn, button);
    EXPECT_EQ(WrapperOf(focus->Handle()), nullptr) << "TEdit is in no default list";
    EXPECT_EQ(WrapperOf(tagged->Handle()), nullptr) << "tag -98 is never adapted";
    EXPECT_EQ(adapter->Items.size(), 1u);
    EXPECT_EQ(label->ControlStyle & csOpaque, 0u);
    EXPECT_EQ(label->Font().Color(), manager->GetGlobalFontColor());
    EXPECT_EQ(::SendMessageW(button->Handle(), SM_ALPHACMD, MakeAlphaWParam(SKC_CTRLHANDLED), 0), 1);

    // The face on screen is the skin's: the normal gradient (the edit holds the focus).
    ::RedrawWindow(button->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const std::uint32_t normal = NormalButton(40);
    EXPECT_TRUE(test::Near(CentreOnScreen(button->Handle(),
                                          [&](std::uint32_t c) { return static_cast<bool>(test::Near(c, normal, 2)); }),
                           normal, 2));
    // A second walk adds nothing twice.
    adapter->AddAllItems();
    EXPECT_EQ(adapter->Items.size(), 1u);

    // Clicking still reaches the framework button through the wrapper.
    int clicks = 0;
    button->OnClick = [&](TComponent*) { ++clicks; };
    ::SendMessageW(button->Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(test::PumpUntil([&] { return clicks == 1; }));

    adapter->RemoveAllItems();
    EXPECT_EQ(WrapperOf(button->Handle()), nullptr);
    EXPECT_EQ(::SendMessageW(button->Handle(), SM_ALPHACMD, MakeAlphaWParam(SKC_CTRLHANDLED), 0), 0);
    ::SendMessageW(button->Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(test::PumpUntil([&] { return clicks == 2; })) << "the button's own message method is back";
    EXPECT_EQ(button->ControlStyle & csOpaque, 0u) << "the control style is given back";
}

// Two 16 x 16 images of plain colours: 0 red, 1 blue.
void AddTwoImages(TImageList& list) {
    TBitmap strip;
    strip.SetPixelFormat(pf32bit);
    strip.SetSize(32, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 32; ++x) strip.SetPixel32(x, y, x < 16 ? 0xFFFF0000u : 0xFF0000FFu);  // A R G B
    list.Add(strip);
}

TEST_F(Adapter, AButtonsImageStandsWhereItsAlignmentAndMarginsPutIt) {
    auto* button = Place<TButton>(20, 20, 140, 40);
    button->SetCaption(L"Go");
    auto* images = new TImageList(form.get(), 16, 16);
    AddTwoImages(*images);
    ASSERT_EQ(images->Count(), 2);
    button->SetImages(images);
    button->ImageIndex = 0;
    button->HotImageIndex = 1;
    button->DisabledImageIndex = 7;  // out of the list: ImageIndex instead
    button->ImageAlignment = TButton::iaLeft;
    button->ImageMargins = {5, 0, 0, 0};
    AddFocusSink(200, 20);
    ShowAndPaint();
    auto* adapter = new TacCtrlAdapter(form.get(), manager);
    adapter->AddAllItems();
    auto* wrapper = dynamic_cast<TacButtonWnd*>(WrapperOf(button->Handle()));
    ASSERT_NE(wrapper, nullptr);
    // Left: x = margin 5 + 3; y centred (40 - 16) / 2.
    EXPECT_EQ(wrapper->GlyphRect(), (TRect{8, 12, 24, 28}));
    EXPECT_EQ(wrapper->GlyphIndex(), 0);
    ::RedrawWindow(button->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    auto imageAt = [&] { return test::Rgb(*test::CaptureScreenOf(button->Handle()), 15, 20); };
    test::PumpUntil([&] { return static_cast<bool>(test::Near(imageAt(), 0xFF0000, 8)); });
    EXPECT_TRUE(test::Near(imageAt(), 0xFF0000, 8)) << "image 0 at its place";

    // Right alignment with a right margin of 4: x = 140 - 4 - 3 - 16.
    button->ImageAlignment = TButton::iaRight;
    button->ImageMargins = {0, 0, 4, 0};
    EXPECT_EQ(wrapper->GlyphRect(), (TRect{117, 12, 133, 28}));
    // Hot: the hot image.
    manager->SetActiveControl(button->Handle());
    EXPECT_EQ(wrapper->GlyphIndex(), 1);
    manager->SetActiveControl(nullptr);
    // Disabled, with a disabled index outside the list: the plain image.
    button->SetEnabled(false);
    EXPECT_EQ(wrapper->GlyphIndex(), 0);
    button->SetEnabled(true);
    delete adapter;
}

TEST_F(Adapter, AButtonDestroyedWhileWrappedLeavesTheAdapterClean) {
    auto* button = Place<TButton>(20, 20, 140, 40);
    ShowAndPaint();
    auto* adapter = new TacCtrlAdapter(form.get(), manager);
    adapter->AddAllItems();
    ASSERT_EQ(adapter->Items.size(), 1u);
    delete button;
    EXPECT_TRUE(adapter->Items.empty());
    adapter->RemoveAllItems();
}

TEST_F(Adapter, MessageDialogButtonsAreSkinnedOnceTheAdapterWrapsThem) {
    std::unique_ptr<TMessageForm> dialog = CreateMessageDialog(L"Delete it?", mtConfirmation, mbOK | mbCancel);
    dialog->SetLeft(60);
    dialog->SetTop(60);
    dialog->Show();
    ::SetWindowPos(dialog->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    ASSERT_TRUE(test::PumpUntil(
        [&] { return ::IsWindowVisible(dialog->Handle()) && !::GetUpdateRect(dialog->Handle(), nullptr, FALSE); }));
    auto* adapter = new TacCtrlAdapter(dialog.get(), manager);
    adapter->AddAllItems();
    int wrapped = 0;
    for (int i = 0; i < dialog->ControlCount(); ++i) {
        auto* button = dynamic_cast<TButton*>(dialog->Controls(i));
        if (!button) continue;
        ++wrapped;
        ASSERT_NE(dynamic_cast<TacButtonWnd*>(WrapperOf(button->Handle())), nullptr) << "button " << wrapped;
        ::RedrawWindow(button->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        // The focused (or default) button shows hot, the other normal; both are the skin's.
        const int h = button->Height();
        const std::uint32_t hot = test::GradientRow(*manager, manager->GetSkinIndex(L"BUTTON"), true, h, h / 2);
        const std::uint32_t got = CentreOnScreen(button->Handle(), [&](std::uint32_t c) {
            return test::Near(c, NormalButton(h), 2) || test::Near(c, hot, 2);
        });
        EXPECT_TRUE(test::Near(got, NormalButton(h), 2) || test::Near(got, hot, 2)) << "button " << wrapped;
    }
    EXPECT_EQ(wrapped, 2);
    delete adapter;
    dialog.reset();
}

}  // namespace
}  // namespace qv
