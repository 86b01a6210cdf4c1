// Message dispatch through WindowProc, replacing and restoring it, superclassed system
// controls, reflected notifications, and the framework notifications on changes.
#include "TestForms.h"

#include "framework/SysUtils.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace qv {
namespace {

using test::TTestControl;

// A superclassed system button that records what is reflected back to it.
class TTestButton : public TWinControl {
public:
    explicit TTestButton(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 80, 24); }
    String ClassName() const override { return L"TTestButton"; }
    std::vector<UINT> Reflected;
    WORD LastCode = 0;

protected:
    void CreateParams(TCreateParams& params) override {
        TWinControl::CreateParams(params);
        CreateSubClass(params, L"BUTTON");
        params.Style |= BS_PUSHBUTTON;
    }
    void Dispatch(TMessage& message) override {
        if (message.Msg >= CN_BASE && message.Msg < CN_BASE + 0x400) {
            Reflected.push_back(message.Msg);
            if (message.Msg == CN_COMMAND) LastCode = message.WParamHi();
            if (message.Msg != CN_CTLCOLORBTN) {
                message.Result = 0x1234;
                return;
            }
        }
        TWinControl::Dispatch(message);
    }
};

class Dispatching : public ::testing::Test {
protected:
    void SetUp() override {
        Form = NewForm<TForm>(nullptr);
        Form->SetBounds(10, 10, 300, 200);
    }
    void TearDown() override { delete Form; }
    TForm* Form = nullptr;
};

TEST_F(Dispatching, WindowProcReplacementSeesMessagesAndRestoringEndsIt) {
    auto* c = new TTestControl(Form);
    c->SetParent(Form);
    Form->Show();
    std::vector<UINT> seen;
    TWndMethod previous = c->WindowProc;
    c->WindowProc = [&](TMessage& m) {
        seen.push_back(m.Msg);
        if (m.Msg == WM_USER + 5) {
            m.Result = 77;
            return;
        }
        previous(m);
    };
    EXPECT_EQ(::SendMessageW(c->Handle(), WM_USER + 5, 0, 0), 77) << "a real window message";
    EXPECT_EQ(c->Perform(WM_USER + 5), 77);
    c->SetText(L"abc");  // the control's own notification passes the wrapper too
    EXPECT_NE(std::find(seen.begin(), seen.end(), CM_TEXTCHANGED), seen.end());
    EXPECT_EQ(c->Count(CM_TEXTCHANGED), 1) << "the previous method still gets what it is passed";
    c->WindowProc = previous;
    seen.clear();
    EXPECT_EQ(::SendMessageW(c->Handle(), WM_USER + 5, 0, 0), 0);
    EXPECT_TRUE(seen.empty());
}

TEST_F(Dispatching, SuperclassedButtonKeepsSystemBehaviourUnderItsOwnClassName) {
    auto* b = new TTestButton(Form);
    b->SetParent(Form);
    b->SetCaption(L"Press");
    Form->Show();
    wchar_t name[64];
    ::GetClassNameW(b->Handle(), name, 64);
    EXPECT_STREQ(name, L"TTestButton");
    EXPECT_EQ(TWinControl::FindControl(b->Handle()), b);
    wchar_t text[64];
    ::GetWindowTextW(b->Handle(), text, 64);
    EXPECT_STREQ(text, L"Press");
    // The system button procedure answers BM_GETSTATE / BM_SETSTATE.
    ::SendMessageW(b->Handle(), BM_SETSTATE, TRUE, 0);
    EXPECT_TRUE(::SendMessageW(b->Handle(), BM_GETSTATE, 0, 0) & BST_PUSHED);
    ::SendMessageW(b->Handle(), BM_SETSTATE, FALSE, 0);
    // A click through the system control arrives as BN_CLICKED, reflected as CN_COMMAND.
    b->Reflected.clear();
    ::SendMessageW(b->Handle(), BM_CLICK, 0, 0);
    ASSERT_NE(std::find(b->Reflected.begin(), b->Reflected.end(), CN_COMMAND), b->Reflected.end());
    EXPECT_EQ(b->LastCode, BN_CLICKED);
}

TEST_F(Dispatching, ParentNotificationsAreReflectedToTheChildAsCN) {
    auto* b = new TTestButton(Form);
    b->SetParent(Form);
    Form->Show();
    HWND child = b->Handle();
    b->Reflected.clear();
    EXPECT_EQ(::SendMessageW(Form->Handle(), WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), reinterpret_cast<LPARAM>(child)),
              0x1234);
    NMHDR hdr{child, 1, 5};
    EXPECT_EQ(::SendMessageW(Form->Handle(), WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&hdr)), 0x1234);
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_BUTTON;
    dis.hwndItem = child;
    ::SendMessageW(Form->Handle(), WM_DRAWITEM, 1, reinterpret_cast<LPARAM>(&dis));
    MEASUREITEMSTRUCT mis{};
    mis.CtlType = ODT_LISTBOX;
    mis.CtlID = static_cast<UINT>(::GetDlgCtrlID(child));
    ::SendMessageW(Form->Handle(), WM_MEASUREITEM, mis.CtlID, reinterpret_cast<LPARAM>(&mis));
    std::vector<UINT> want{CN_COMMAND, CN_NOTIFY, CN_DRAWITEM, CN_MEASUREITEM};
    std::vector<UINT> got;
    for (UINT m : b->Reflected)
        if (m != CN_CTLCOLORBTN) got.push_back(m);
    EXPECT_EQ(got, want);
    EXPECT_EQ(CN_COMMAND, 0xBC00u + WM_COMMAND);
}

TEST_F(Dispatching, ChangesSendTheirNotificationsAndParentFontFollows) {
    auto* parent = new TTestControl(Form);
    parent->SetParent(Form);
    auto* child = new TTestControl(Form);
    child->SetParent(parent);
    Form->Show();
    parent->Notifications.clear();
    child->Notifications.clear();
    child->Hide();
    child->SetEnabled(false);
    child->SetText(L"x");
    child->SetColor(clRed);
    EXPECT_EQ(child->Count(CM_VISIBLECHANGED), 1);
    EXPECT_EQ(child->Count(CM_ENABLEDCHANGED), 1);
    EXPECT_EQ(child->Count(CM_TEXTCHANGED), 1);
    EXPECT_EQ(child->Count(CM_COLORCHANGED), 1);
    EXPECT_FALSE(::IsWindowVisible(child->Handle()));
    EXPECT_FALSE(::IsWindowEnabled(child->Handle()));
    child->SetText(L"x");
    EXPECT_EQ(child->Count(CM_TEXTCHANGED), 1) << "no change, no notification";

    parent->Font().SetHeight(-20);
    EXPECT_EQ(parent->Count(CM_FONTCHANGED), 1);
    EXPECT_EQ(child->Count(CM_PARENTFONTCHANGED), 1);
    EXPECT_EQ(child->Font().Height(), -20);
    EXPECT_TRUE(child->ParentFont());
    child->Font().SetHeight(-9);
    EXPECT_FALSE(child->ParentFont()) << "an own font ends following the parent";
    parent->Font().SetHeight(-30);
    EXPECT_EQ(child->Font().Height(), -9);
}

TEST_F(Dispatching, HandleIsCreatedOnDemandAndRecreatedWithItsText) {
    auto* c = new TTestControl(Form);
    c->SetParent(Form);
    EXPECT_FALSE(c->HandleAllocated());
    EXPECT_FALSE(Form->HandleAllocated());
    HWND first = c->Handle();
    EXPECT_TRUE(Form->HandleAllocated()) << "the parent's window comes first";
    EXPECT_EQ(::GetParent(first), Form->Handle());
    c->SetText(L"kept");
    c->RecreateWnd();
    EXPECT_FALSE(::IsWindow(first));
    ASSERT_TRUE(c->HandleAllocated());
    EXPECT_EQ(c->GetText(), L"kept");
}

TEST(ApplicationWindow, HookSeesAndMayAnswerItsMessages) {
    HWND app = Application().Handle();
    wchar_t name[64];
    ::GetClassNameW(app, name, 64);
    EXPECT_STREQ(name, L"TApplication");
    std::vector<UINT> seen;
    int key = 0;
    Application().HookMainWindow(&key, [&](TMessage& m) {
        seen.push_back(m.Msg);
        if (m.Msg == WM_USER + 9) {
            m.Result = 99;
            return true;
        }
        return false;
    });
    EXPECT_EQ(::SendMessageW(app, WM_USER + 9, 0, 0), 99);
    ::SendMessageW(app, WM_USER + 10, 0, 0);
    EXPECT_EQ(seen, (std::vector<UINT>{WM_USER + 9, WM_USER + 10}));
    Application().UnhookMainWindow(&key);
    EXPECT_EQ(::SendMessageW(app, WM_USER + 9, 0, 0), 0);
    EXPECT_EQ(seen.size(), 2u);
}

TEST(ApplicationWindow, TitleDefaultsToTheExecutableBaseName) {
    wchar_t path[MAX_PATH];
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    String p = path;
    String base = p.substr(p.find_last_of(L"\\/") + 1);
    base = base.substr(0, base.find_last_of(L'.'));
    EXPECT_EQ(Application().Title(), base);
    EXPECT_EQ(base.find(L".exe"), String::npos);
}

// ---- exceptions ----

class TThrowingControl : public TCustomControl {
public:
    explicit TThrowingControl(TComponent* owner) : TCustomControl(owner) {}
    void WndProc(TMessage& message) override {
        if (message.Msg == WM_USER + 1) throw Exception(L"Broken handler");
        if (message.Msg == WM_USER + 2) throw std::runtime_error("plain failure");
        TCustomControl::WndProc(message);
    }
};

TEST_F(Dispatching, ExceptionInAWindowProcedureGoesToTheReplaceableHandler) {
    auto* c = new TThrowingControl(Form);
    c->SetParent(Form);
    static std::vector<String> shown;
    shown.clear();
    auto saved = ShowExceptionMessage;
    ShowExceptionMessage = [](const String& text) { shown.push_back(text); };
    EXPECT_EQ(::SendMessageW(c->Handle(), WM_USER + 1, 0, 0), 0);
    ::SendMessageW(c->Handle(), WM_USER + 2, 0, 0);
    ShowExceptionMessage = saved;
    EXPECT_EQ(shown, (std::vector<String>{L"Broken handler", L"plain failure"}));
    EXPECT_TRUE(::IsWindow(c->Handle())) << "the program goes on";
}

struct BoxSeen {
    String Text, Caption;
    bool Found = false;
};
BoxSeen gBox;

BOOL CALLBACK FindDialogBox(HWND w, LPARAM out) {
    wchar_t cls[32];
    ::GetClassNameW(w, cls, 32);
    if (String(cls) == L"#32770" && ::IsWindowVisible(w)) {
        *reinterpret_cast<HWND*>(out) = w;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK CloseMessageBox(HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), &FindDialogBox, reinterpret_cast<LPARAM>(&box));
    if (!box) return;
    ::KillTimer(nullptr, id);
    wchar_t text[256]{};
    ::GetDlgItemTextW(box, 0xFFFF, text, 256);
    wchar_t caption[256]{};
    ::GetWindowTextW(box, caption, 256);
    gBox = {text, caption, true};
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
}

TEST_F(Dispatching, DefaultHandlerShowsAnErrorBoxWithTheTitleAndGoesOn) {
    auto* c = new TThrowingControl(Form);
    c->SetParent(Form);
    Form->Show();
    gBox = {};
    UINT_PTR timer = ::SetTimer(nullptr, 0, 50, &CloseMessageBox);
    ::SendMessageW(c->Handle(), WM_USER + 1, 0, 0);  // returns once the box is closed
    ::KillTimer(nullptr, timer);
    ASSERT_TRUE(gBox.Found);
    EXPECT_EQ(gBox.Text, L"Broken handler");
    EXPECT_EQ(gBox.Caption, Application().Title());
    EXPECT_EQ(::SendMessageW(c->Handle(), WM_USER + 3, 0, 0), 0);
}

}  // namespace
}  // namespace qv
