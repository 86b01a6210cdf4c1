// A disabled push button runs nothing, whoever sends the click.
#include "framework/win32/Buttons.h"
#include "framework/win32/Forms.h"
#include "framework/win32/StdCtrls.h"

#include <gtest/gtest.h>

#include <memory>

namespace qv {
namespace {

template <class TButtonKind>
void CheckDisabledButtonIgnoresClicks() {
    std::unique_ptr<TForm> form(NewForm<TForm>(nullptr));
    auto* button = new TButtonKind(form.get());
    button->SetParent(form.get());
    button->SetBounds(10, 10, 80, 30);
    int clicks = 0;
    button->OnClick = [&](TComponent*) { ++clicks; };
    form->Show();

    ::SendMessageW(button->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
    button->SetEnabled(false);
    ::SendMessageW(button->Handle(), BM_CLICK, 0, 0);
    // What another program's click turns into: the system button's notification.
    ::SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(button->Handle()), BN_CLICKED),
                   reinterpret_cast<LPARAM>(button->Handle()));
    EXPECT_EQ(clicks, 1);
}

TEST(DisabledButtons, PushButtonIgnoresClicks) { CheckDisabledButtonIgnoresClicks<TButton>(); }
TEST(DisabledButtons, BitmapButtonIgnoresClicks) { CheckDisabledButtonIgnoresClicks<TBitBtn>(); }

}  // namespace
}  // namespace qv
