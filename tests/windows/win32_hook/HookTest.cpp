// The window-creation hook on real windows: which system dialogs and forms it takes,
// what the children of a taken dialog get, and that removing the skin gives every
// window back as it was.
#include "HookFixture.h"

#include "windows/win32/acBtnWnd.h"
#include "windows/win32/acCtrlWnds.h"
#include "framework/win32/Dialogs.h"
#include "framework/Strings.h"
#include "skin/win32/sMessages.h"
#include "skin/win32/sStyleSimply.h"

#include <algorithm>

namespace qv {
namespace {

static_assert(sizeof(DLGTEMPLATE) == 18 && sizeof(DLGITEMTEMPLATE) == 18, "packed as the system reads them");

bool Taken(HWND wnd) { return FindFormInList(wnd) != nullptr; }

// A button, an icon static with a static edge, a simple static and a text static.
std::vector<test::DialogItem> FourChildren() {
    return {{0x80, nullptr, BS_PUSHBUTTON, 0, 10, 60, 50, 14, IDOK, L"OK"},
            {0x82, nullptr, SS_ICON, WS_EX_STATICEDGE, 10, 10, 20, 20, 101, L""},
            {0x82, nullptr, SS_SIMPLE, 0, 40, 10, 60, 10, 102, L"simple"},
            {0x82, nullptr, SS_LEFT, 0, 40, 30, 60, 10, 103, L"text"}};
}

class Hook : public test::HookedWindow {};

TEST_F(Hook, AnOwnerlessDialogIsSkinnedWithItsChildrenAndAnOwnedOneIsNot) {
    const test::DialogTemplate t(test::kDialogStyle, FourChildren());
    HWND owned = Dialog(t, form->Handle());
    HWND bare = Dialog(t);
    ASSERT_TRUE(bare && owned);

    EXPECT_FALSE(Taken(owned)) << "an owned dialog keeps the system's look";
    EXPECT_FALSE(Taken(Dialog(test::DialogTemplate(WS_POPUP | WS_VISIBLE, FourChildren()))))
        << "a popup without a border is no dialog to skin";
    EXPECT_EQ(::GetPropW(owned, acWrapperProp), nullptr);
    EXPECT_TRUE(test::OwnProcedure(::GetDlgItem(owned, IDOK)));

    ASSERT_TRUE(Taken(bare));
    EXPECT_NE(::GetPropW(bare, acWrapperProp), nullptr);
    EXPECT_EQ(SendAMessage(bare, SKC_CTRLHANDLED), 1);
    EXPECT_NE(dynamic_cast<TacBtnWnd*>(WrapperOf(::GetDlgItem(bare, IDOK))), nullptr);
    EXPECT_NE(dynamic_cast<TacEdgeWnd*>(WrapperOf(::GetDlgItem(bare, 101))), nullptr);
    EXPECT_EQ(WrapperOf(::GetDlgItem(bare, 102)), nullptr) << "a simple static keeps its own look";
    auto* text = WrapperOf(::GetDlgItem(bare, 103));
    ASSERT_NE(dynamic_cast<TacStaticWnd*>(text), nullptr);
    EXPECT_TRUE(text->DlgMode);
    EXPECT_EQ(text->ParentWnd, bare);

    // The skinned button still works: a click reaches the dialog's procedure chain.
    EXPECT_EQ(::SendMessageW(::GetDlgItem(bare, IDOK), BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
    EXPECT_EQ(acWindowSkinning.SkinnedDialogs(), std::vector<HWND>{bare});
}

// Keyboard cues (focus rectangles, underlined access keys) follow WM_UPDATEUISTATE, which
// the system sends a dialog after Alt or Tab and the dialog hands to its children.
int uiStateAtDialog = 0, uiStateAtTrack = 0;
WNDPROC trackProc = nullptr;

LRESULT CALLBACK TrackRecorder(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_UPDATEUISTATE) ++uiStateAtTrack;
    return ::CallWindowProcW(trackProc, wnd, msg, wParam, lParam);
}

// The dialog's own procedure; the track bar's recorder goes in before the hook wraps it.
INT_PTR CALLBACK UiStateDialogProc(HWND wnd, UINT msg, WPARAM, LPARAM) {
    if (msg == WM_UPDATEUISTATE) ++uiStateAtDialog;
    if (msg == WM_INITDIALOG)
        trackProc = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(::GetDlgItem(wnd, 104), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TrackRecorder)));
    return msg == WM_INITDIALOG;
}

TEST_F(Hook, KeyboardCueChangesReachASkinnedDialogAndTheChildrenTheSystemPaints) {
    std::vector<test::DialogItem> items = FourChildren();
    items.push_back({0, TRACKBAR_CLASSW, WS_TABSTOP, 0, 10, 40, 80, 14, 104, L""});
    const test::DialogTemplate t(test::kDialogStyle, items);
    HWND dialog = ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr), t.Get(), nullptr, UiStateDialogProc, 0);
    dialogs.push_back(dialog);
    test::PumpUntil([&] { return ::GetActiveWindow() == dialog; });
    Application().ProcessMessages();
    ASSERT_TRUE(Taken(dialog));
    HWND track = ::GetDlgItem(dialog, 104);
    ASSERT_NE(dynamic_cast<TacTrackWnd*>(WrapperOf(track)), nullptr);
    uiStateAtDialog = uiStateAtTrack = 0;
    ::SendMessageW(dialog, WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
    EXPECT_GE(uiStateAtDialog, 1) << "the dialog's procedure";
    ::SendMessageW(track, WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
    EXPECT_GE(uiStateAtTrack, 1) << "the track bar, which paints its own focus rectangle";
    ::DestroyWindow(dialog);
}

TEST_F(Hook, AThirdVisibleDialogIsTakenOnlyWithAToolbar) {
    const test::DialogTemplate t(test::kDialogStyle, FourChildren());
    HWND first = Dialog(t), second = Dialog(t);
    ASSERT_TRUE(Taken(first) && Taken(second));
    EXPECT_EQ(VisibleDlgCount(), 2);
    HWND third = Dialog(t);
    EXPECT_FALSE(Taken(third)) << "two skinned dialogs are visible already";
    // The toolbar is added while the dialog initialises, after its creation: it is
    // taken when it is activated.
    HWND withToolbar = Dialog(t, nullptr, true);
    EXPECT_TRUE(Taken(withToolbar));
    EXPECT_NE(WrapperOf(::GetDlgItem(withToolbar, IDOK)), nullptr);

    // A child made anew (as the open-file dialog does with its file list) is wrapped the
    // next time the children are looked at, and the old one's wrapper is gone.
    TacProvider* p = FindFormInList(first);
    const std::size_t wrappers = p->acSkinnedCtrls.size();
    ::DestroyWindow(::GetDlgItem(first, IDOK));
    HWND again = ::CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 60, 60, 20, first,
                                   reinterpret_cast<HMENU>(IDOK), nullptr, nullptr);
    EXPECT_TRUE(p->InitHwndControls());
    EXPECT_NE(dynamic_cast<TacBtnWnd*>(WrapperOf(again)), nullptr);
    EXPECT_EQ(p->acSkinnedCtrls.size(), wrappers);
}

TEST_F(Hook, DestroyedDialogsAreFreedAndRemovingTheSkinGivesEveryWindowBack) {
    const test::DialogTemplate t(test::kDialogStyle, FourChildren());
    HWND gone = Dialog(t);
    ASSERT_TRUE(Taken(gone));
    ::DestroyWindow(gone);
    EXPECT_FALSE(Taken(gone)) << "a destroyed dialog is never found again";
    HWND kept = Dialog(t);  // its creation frees the dead provider
    ASSERT_TRUE(Taken(kept));
    for (TacProvider* p : acSupportedList) EXPECT_TRUE(p == nullptr || p->CtrlHandle == kept);

    std::vector<HWND> windows{kept};
    for (HWND c = ::GetTopWindow(kept); c; c = ::GetWindow(c, GW_HWNDNEXT)) windows.push_back(c);
    EXPECT_FALSE(test::OwnProcedure(kept));
    manager->SetActive(false);
    EXPECT_EQ(HookCallback, nullptr);
    for (HWND w : windows) {
        EXPECT_TRUE(test::OwnProcedure(w)) << StringToUtf8(GetWndClassName(w));
        EXPECT_EQ(::GetPropW(w, acWrapperProp), nullptr) << StringToUtf8(GetWndClassName(w));
    }
    // Without the hook a new dialog stays the system's; with the skin back it is taken again.
    EXPECT_FALSE(Taken(Dialog(t)));
    manager->SetActive(true);
    ASSERT_NE(HookCallback, nullptr);
    EXPECT_TRUE(Taken(Dialog(t)));
    // The dialog kept through the skin change still answers through its own procedure.
    wchar_t title[16] = {};
    ::GetWindowTextW(kept, title, 16);
    EXPECT_STREQ(title, L"Hooked");
}

// ---------------------------------------------------------------- framework forms

class HookForms : public test::HookedWindow {
protected:
    std::unique_ptr<TForm> ShownForm(std::intptr_t tag) {
        auto f = std::unique_ptr<TForm>(NewForm<TForm>(nullptr));
        f->Tag = tag;
        f->SetBounds(300, 60, 200, 120);
        f->Show();
        // A form is taken, or not, when it is activated; then whatever that queued.
        test::PumpUntil([&] { return ::GetActiveWindow() == f->Handle(); });
        Application().ProcessMessages();
        return f;
    }
};

TEST_F(HookForms, TagsThatMatchMinus98AreNeverSkinned) {
    for (std::intptr_t tag : {std::intptr_t{-98}, std::intptr_t{-1}, std::intptr_t{-2}})
        EXPECT_FALSE(Taken(ShownForm(tag)->Handle())) << "tag " << tag;
    for (std::intptr_t tag : {std::intptr_t{0}, std::intptr_t{-3}, std::intptr_t{98}})
        EXPECT_TRUE(Taken(ShownForm(tag)->Handle())) << "tag " << tag;
}

TEST_F(HookForms, SkipListAndRulesDecidePerClass) {
    ThirdPartySkipForms = {L"tform"};  // exact case only
    EXPECT_TRUE(Taken(ShownForm(0)->Handle()));
    ThirdPartySkipForms = {L"TForm"};
    EXPECT_FALSE(Taken(ShownForm(0)->Handle()));
    ThirdPartySkipForms.clear();

    // Message dialogs need the standard-dialog rule, every other form the form rule.
    const auto messageTaken = [] {
        auto d = CreateMessageDialog(L"Delete it?", mtConfirmation, mbOK | mbCancel);
        d->Show();
        test::PumpUntil([&] { return ::GetActiveWindow() == d->Handle(); });
        Application().ProcessMessages();
        return Taken(d->Handle());
    };
    manager->SetSkinningRules(srStdForms);
    EXPECT_FALSE(messageTaken());
    EXPECT_TRUE(Taken(ShownForm(0)->Handle()));
    manager->SetSkinningRules(srStdDialogs);
    EXPECT_TRUE(messageTaken());
    EXPECT_FALSE(Taken(ShownForm(0)->Handle()));
    manager->SetSkinningRules(srStdForms | srStdDialogs | srThirdParty);
}

TEST_F(HookForms, AFormsProviderDiesWithTheForm) {
    auto f = ShownForm(0);
    TacProvider* p = FindFormInList(f->Handle());
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->FForm, f.get());
    f.reset();
    for (TacProvider* q : acSupportedList) EXPECT_NE(q, p);
}

// ---------------------------------------------------------------- popup menus

std::size_t menusSeenOpen = 0;

void CALLBACK CloseMenu(HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);
    menusSeenOpen = std::max(menusSeenOpen, MnuArray.size());
    ::EndMenu();
}

// Menus the system shows get a wrapper while they are open and lose it when they close.
TEST_F(Hook, MenuWrappersLeaveWithTheirMenus) {
    ShowAndPaint();
    HMENU menu = ::CreatePopupMenu();
    ::AppendMenuW(menu, MF_STRING, 1, L"One");
    menusSeenOpen = 0;
    for (int i = 0; i < 50; ++i) {
        ::SetTimer(nullptr, 0, 10, CloseMenu);
        ::TrackPopupMenu(menu, TPM_RETURNCMD, 100, 100, 0, form->Handle(), nullptr);
        Application().ProcessMessages();  // the closed menu's window goes
    }
    ::DestroyMenu(menu);
    EXPECT_EQ(menusSeenOpen, 1u) << "the open menu was wrapped";
    EXPECT_LE(MnuArray.size(), 1u) << "closed menus leave no wrapper behind";
}

}  // namespace
}  // namespace qv
