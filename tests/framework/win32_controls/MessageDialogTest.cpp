// Message dialogs as framework forms, answered by the test through their windows.
#include "framework/SysUtils.h"
#include "framework/win32/Application.h"
#include "framework/win32/Dialogs.h"
#include "framework/win32/StaticText.h"

#include "GdiObjects.h"
#include "win32/TestWindows.h"

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::test;

namespace {

// The push button of a message form whose window text is caption.
HWND ButtonWithText(HWND form, const String& caption) {
    for (HWND child = ::GetWindow(form, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        if (ClassNameOf(child) == L"TButton" && TextOf(child) == caption) return child;
    return nullptr;
}

void ClickButton(HWND form, const String& caption) {
    HWND button = ButtonWithText(form, caption);
    ASSERT_NE(button, nullptr) << "no button " << testing::PrintToString(caption);
    ::PostMessageW(button, BM_CLICK, 0, 0);
}

}  // namespace

TEST(MessageDlg, AnswersWithTheModalResultOfTheButtonPressed) {
    String caption;
    ModalAnswerer ok(L"TMessageForm", [&](HWND form) {
        caption = TextOf(form);
        ClickButton(form, L"OK");
    });
    EXPECT_EQ(MessageDlg(L"This will clear the list.  Are you sure?", mtConfirmation, mbOK | mbCancel, 0), mrOk);
    EXPECT_EQ(caption, L"Confirmation");
    EXPECT_EQ(ok.Answered(), 1);
}

TEST(MessageDlg, CancelEscapeAndTheCloseBoxAllAnswerCancel) {
    {
        ModalAnswerer cancel(L"TMessageForm", [](HWND form) { ClickButton(form, L"Cancel"); });
        EXPECT_EQ(MessageDlg(L"Cancel?", mtConfirmation, mbOKCancel, 0), mrCancel);
    }
    {
        // Escape goes to the focused control (the default OK button) and on to the form.
        ModalAnswerer escape(L"TMessageForm", [](HWND form) {
            HWND focus = ::GetFocus();
            EXPECT_EQ(focus, ButtonWithText(form, L"OK")) << "the first button should have the focus";
            ::PostMessageW(focus ? focus : form, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
        });
        EXPECT_EQ(MessageDlg(L"Escape?", mtConfirmation, mbOKCancel, 0), mrCancel);
    }
    {
        ModalAnswerer close(L"TMessageForm", [](HWND form) { ::PostMessageW(form, WM_CLOSE, 0, 0); });
        EXPECT_EQ(MessageDlg(L"Close?", mtWarning, mbYesNo, 0), mrCancel);
    }
    {
        // Enter presses the default (first) button.
        ModalAnswerer enter(L"TMessageForm", [](HWND form) {
            HWND focus = ::GetFocus();
            ::PostMessageW(focus ? focus : form, WM_KEYDOWN, VK_RETURN, 0x001C0001);
        });
        EXPECT_EQ(MessageDlg(L"Enter?", mtConfirmation, mbYesNo, 0), mrYes);
    }
    EXPECT_TRUE(ThreadWindows(L"TMessageForm").empty()) << "a dialog window was left behind";
}

TEST(MessageDlg, ShowMessageAndTheExceptionHandlerUseTheApplicationTitle) {
    const String title = Application().Title();
    ASSERT_FALSE(title.empty());
    String shownCaption;
    ModalAnswerer answer(L"TMessageForm", [&](HWND form) {
        shownCaption = TextOf(form);
        ClickButton(form, L"OK");
    });
    ShowMessage(L"Copied to Clipboard: C:\\x");
    EXPECT_EQ(shownCaption, title);

    shownCaption.clear();
    Application().HandleException(std::make_exception_ptr(EFOpenError(L"Cannot open file \"x\".")));
    EXPECT_EQ(answer.Answered(), 2) << "the default exception handler showed no message form";
    EXPECT_EQ(shownCaption, title);
}

TEST(CreateMessageDialog, ButtonsInOrderWithDefaultCancelAndTheMessageText) {
    std::unique_ptr<TMessageForm> form = CreateMessageDialog(L"Save changes?", mtWarning,
                                                             mbYes | mbNo | mbCancel | mbHelp);
    EXPECT_EQ(form->Caption(), L"Warning");
    auto* label = dynamic_cast<TStaticText*>(form->FindComponent(L"Message"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->Caption(), L"Save changes?");

    const struct {
        const wchar_t* Name;
        const wchar_t* Caption;
        TModalResult Result;
    } want[] = {{L"Yes", L"&Yes", mrYes},
                {L"No", L"&No", mrNo},
                {L"Cancel", L"Cancel", mrCancel},
                {L"Help", L"&Help", mrNone}};
    int previousLeft = -1;
    for (const auto& w : want) {
        auto* button = dynamic_cast<TButton*>(form->FindComponent(w.Name));
        ASSERT_NE(button, nullptr) << "no button named " << testing::PrintToString(String(w.Name));
        EXPECT_EQ(button->Caption(), w.Caption);
        EXPECT_EQ(button->ModalResult, w.Result);
        EXPECT_GT(button->Left(), previousLeft) << "buttons out of order";
        EXPECT_LE(button->Left() + button->Width(), form->ClientWidth());
        previousLeft = button->Left();
    }
    EXPECT_TRUE(dynamic_cast<TButton*>(form->FindComponent(L"Yes"))->Default());
    EXPECT_FALSE(dynamic_cast<TButton*>(form->FindComponent(L"No"))->Default());
    EXPECT_TRUE(dynamic_cast<TButton*>(form->FindComponent(L"Cancel"))->Cancel);
    EXPECT_FALSE(dynamic_cast<TButton*>(form->FindComponent(L"No"))->Cancel);

    // Without Cancel, No answers Escape.
    std::unique_ptr<TMessageForm> yesNo = CreateMessageDialog(L"?", mtConfirmation, mbYesNo);
    EXPECT_TRUE(dynamic_cast<TButton*>(yesNo->FindComponent(L"No"))->Cancel);

    // A long text wraps: the dialog stays narrower than the screen and grows in height.
    String words;
    for (int i = 0; i < 300; ++i) words += L"word ";
    std::unique_ptr<TMessageForm> wide = CreateMessageDialog(words, mtInformation, mbOK);
    EXPECT_LT(wide->Width(), ::GetSystemMetrics(SM_CXSCREEN));
    auto* wrapped = dynamic_cast<TStaticText*>(wide->FindComponent(L"Message"));
    ASSERT_NE(wrapped, nullptr);
    EXPECT_GT(wrapped->Height(), 3 * wrapped->Font().Size());

    ASSERT_NE(form->Handle(), nullptr);
    EXPECT_EQ(ClassNameOf(form->Handle()), L"TMessageForm");
    EXPECT_EQ(ClassNameOf(dynamic_cast<TButton*>(form->FindComponent(L"Yes"))->Handle()), L"TButton");
}

namespace {
struct ChildText {
    String ClassName;
    String Text;
};
BOOL CALLBACK CollectChildText(HWND wnd, LPARAM lp) noexcept {
    reinterpret_cast<std::vector<ChildText>*>(lp)->push_back({ClassNameOf(wnd), TextOf(wnd)});
    return TRUE;
}
}  // namespace

// What a screen reader or a test driving the program sees: the message is the text of
// a child window, found without knowing anything of the framework's objects.
TEST(MessageDlg, TheMessageIsTheTextOfAChildWindowWhileTheDialogIsShown) {
    const String msg = L"This will delete the selected filename from the list.  Are you sure?";
    std::vector<ChildText> children;
    RECT textRect{}, formRect{};
    ModalAnswerer reader(L"TMessageForm", [&](HWND form) {
        ::EnumChildWindows(form, CollectChildText, reinterpret_cast<LPARAM>(&children));
        if (HWND text = FindDescendant(form, L"TStaticText")) {
            ::GetWindowRect(text, &textRect);
            ::GetClientRect(form, &formRect);
            ::MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&textRect), 2);
        }
        ClickButton(form, L"Cancel");
    });
    EXPECT_EQ(MessageDlg(msg, mtConfirmation, mbOKCancel, 0), mrCancel);
    int found = 0;
    for (const ChildText& child : children)
        if (child.Text == msg) {
            ++found;
            EXPECT_EQ(child.ClassName, L"TStaticText");
        }
    EXPECT_EQ(found, 1) << "the message was not the text of exactly one child window";
    // It stands right of the 32-pixel icon, above the buttons, inside the form.
    EXPECT_GE(textRect.left, 32);
    EXPECT_GT(textRect.right - textRect.left, 0);
    EXPECT_LE(textRect.right, formRect.right);
    EXPECT_LT(textRect.bottom, formRect.bottom - 25);
}

// Every dialog's objects go with it: a confirmation answered with Escape and a plain
// message answered with OK, twenty times each, leave the count of live GDI objects where
// the first pair left it.
TEST(MessageDlg, OpeningAndAnsweringDialogsLeaksNoGdiObject) {
    auto round = [] {
        {
            ModalAnswerer escape(L"TMessageForm", [](HWND form) {
                HWND focus = ::GetFocus();
                ::PostMessageW(focus ? focus : form, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
            });
            EXPECT_EQ(MessageDlg(L"This will clear the list.  Are you sure?", mtConfirmation, mbOK | mbCancel, 0),
                      mrCancel);
        }
        ModalAnswerer ok(L"TMessageForm", [](HWND form) { ClickButton(form, L"OK"); });
        ShowMessage(L"Copied to Clipboard: C:\\x");
    };
    round();  // the first dialog loads the icons and registers the classes
    const long before = LiveGdiObjects();
    for (int i = 0; i < 20; ++i) round();
    const long after = LiveGdiObjects();
    std::printf("live GDI objects: %ld after one pair of dialogs, %ld after 20 more\n", before, after);
    EXPECT_LE(after, before) << "GDI objects " << before << " -> " << after << " after 40 dialogs";
}
