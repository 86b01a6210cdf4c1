// The framework's layout on a form of its own, written as a form description in the
// shape of the main window: alignment with margins, fixed heights while resizing, the
// minimum size, and the tab order the description asks for.
#include "TestForms.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

using test::TTestControl;

class TTestForm : public TForm {
public:
    explicit TTestForm(TComponent* owner) : TForm(owner) {}
    String ClassName() const override { return L"TestForm"; }

    TTestControl *AddFile = nullptr, *AddFolder = nullptr, *List = nullptr, *Copy = nullptr;
    TTestControl *Panel = nullptr, *Clear = nullptr, *Delete = nullptr;
    std::vector<String> LoadedOrder;
    std::vector<bool> LoadingSeenWhileReading;
    bool CreatedAfterLoaded = false;

protected:
    TTestControl* Make(TDescriptionReader& reader, const wchar_t* name, TWinControl* parent) {
        auto* c = reader.Create<TTestControl>(this, name);
        LoadingSeenWhileReading.push_back(c->HasState(csLoading) && c->HasState(csReading));
        c->SetParent(parent);
        c->SetAlignWithMargins(true);
        return c;
    }

    void ReadDescription(TDescriptionReader& reader) override {
        SetCaption(L"Marrowind Quorvel");
        SetClientWidth(329);
        SetClientHeight(494);
        Constraints().SetMinWidth(279);
        Constraints().SetMinHeight(425);
        SetPosition(poScreenCenter);
        ScreenSnap = true;
        OnCreate = [this](TComponent*) { CreatedAfterLoaded = !HasState(csLoading) && !List->HasState(csLoading); };
        // Stored positions as a designer leaves them; alignment orders by them.
        AddFile = Make(reader, L"AddFile", this);
        AddFile->SetBounds(3, 3, 323, 71);
        AddFile->SetAlign(alTop);
        AddFile->SetTabOrder(0);
        AddFolder = Make(reader, L"AddFolder", this);
        AddFolder->SetBounds(3, 80, 323, 71);
        AddFolder->SetAlign(alTop);
        AddFolder->SetTabOrder(4);
        List = Make(reader, L"List", this);
        List->SetBounds(5, 157, 319, 203);
        List->Margins().SetBounds(5, 3, 5, 3);
        List->SetAlign(alClient);
        List->SetTabOrder(1);
        Copy = Make(reader, L"Copy", this);
        Copy->SetBounds(3, 366, 323, 77);
        Copy->SetAlign(alBottom);
        Copy->SetTabOrder(2);
        Panel = Make(reader, L"Panel", this);
        Panel->SetAlignWithMargins(false);
        Panel->SetTabStop(false);
        Panel->SetBounds(0, 446, 329, 48);
        Panel->SetAlign(alBottom);
        Panel->SetTabOrder(3);
        Clear = Make(reader, L"Clear", Panel);
        Clear->SetBounds(2, 2, 120, 43);
        Clear->Margins().SetBounds(2, 2, 2, 3);
        Clear->SetAlign(alLeft);
        Clear->SetTabOrder(1);
        Delete = Make(reader, L"Delete", Panel);
        Delete->SetBounds(126, 2, 202, 43);
        Delete->Margins().SetBounds(2, 2, 1, 3);
        Delete->SetAlign(alClient);
        Delete->SetTabOrder(0);
    }
};

class DescribedFormLayout : public ::testing::Test {
protected:
    void SetUp() override { Form = NewForm<TTestForm>(nullptr); }
    void TearDown() override { delete Form; }
    static void ExpectRect(TControl* c, TRect want) {
        EXPECT_EQ(c->BoundsRect(), want) << String(c->Name().begin(), c->Name().end()).size() << " control "
                                         << std::string(c->Name().begin(), c->Name().end()) << " at (" << c->Left()
                                         << "," << c->Top() << ")-(" << c->Left() + c->Width() << ","
                                         << c->Top() + c->Height() << "), want (" << want.Left << "," << want.Top
                                         << ")-(" << want.Right << "," << want.Bottom << ")";
    }
    TTestForm* Form = nullptr;
};

TEST_F(DescribedFormLayout, DescriptionIsReadWithLoadingFlagsThenLoadedThenOnCreate) {
    for (size_t i = 0; i < Form->LoadingSeenWhileReading.size(); ++i)
        EXPECT_TRUE(Form->LoadingSeenWhileReading[i]) << "component " << i;
    EXPECT_EQ(Form->LoadingSeenWhileReading.size(), 7u);
    EXPECT_TRUE(Form->CreatedAfterLoaded);
    EXPECT_FALSE(Form->Delete->HasState(csLoading));
}

// Worked by hand: client 329 x 494; margins 3 (list 5/3/5/3); the panel has none.
TEST_F(DescribedFormLayout, ChildRectanglesBeforeTheWindowExists) {
    ExpectRect(Form->AddFile, {3, 3, 326, 74});
    ExpectRect(Form->AddFolder, {3, 80, 326, 151});
    ExpectRect(Form->Panel, {0, 446, 329, 494});
    ExpectRect(Form->Copy, {3, 366, 326, 443});
    ExpectRect(Form->List, {5, 157, 324, 360});
    ExpectRect(Form->Clear, {2, 2, 122, 45});
    ExpectRect(Form->Delete, {126, 2, 328, 45});
}

TEST_F(DescribedFormLayout, ShownWindowHasTheClientSizeAndTheSameLayout) {
    Form->Show();
    RECT client{};
    ::GetClientRect(Form->Handle(), &client);
    EXPECT_EQ(client.right, 329);
    EXPECT_EQ(client.bottom, 494);
    ExpectRect(Form->List, {5, 157, 324, 360});
    RECT r{};
    ::GetWindowRect(Form->List->Handle(), &r);
    ::MapWindowPoints(nullptr, Form->Handle(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 5);
    EXPECT_EQ(r.top, 157);
    EXPECT_EQ(r.bottom, 360);
    wchar_t name[64];
    ::GetClassNameW(Form->Handle(), name, 64);
    EXPECT_STREQ(name, L"TestForm");
}

TEST_F(DescribedFormLayout, ResizingMovesOnlyTheListBoxEdges) {
    Form->Show();
    Form->SetClientHeight(600);
    Form->SetClientWidth(400);
    ExpectRect(Form->AddFile, {3, 3, 397, 74});
    ExpectRect(Form->AddFolder, {3, 80, 397, 151});
    ExpectRect(Form->Panel, {0, 552, 400, 600});
    ExpectRect(Form->Copy, {3, 472, 397, 549});
    ExpectRect(Form->List, {5, 157, 395, 466});
    ExpectRect(Form->Clear, {2, 2, 122, 45});
    ExpectRect(Form->Delete, {126, 2, 399, 45});
}

TEST_F(DescribedFormLayout, MinimumOuterSizeHoldsForFrameworkAndWindowResizes) {
    Form->Show();
    Form->SetBounds(Form->Left(), Form->Top(), 100, 100);
    EXPECT_EQ(Form->Width(), 279);
    EXPECT_EQ(Form->Height(), 425);
    // A resize straight through the window (as the user's dragging does).
    ::SetWindowPos(Form->Handle(), nullptr, 0, 0, 50, 60, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT r{};
    ::GetWindowRect(Form->Handle(), &r);
    EXPECT_EQ(r.right - r.left, 279);
    EXPECT_EQ(r.bottom - r.top, 425);
    EXPECT_EQ(Form->Height(), 425);
    // The list shrinks, the fixed-height controls keep their heights.
    EXPECT_EQ(Form->AddFile->Height(), 71);
    EXPECT_EQ(Form->Copy->Height(), 77);
    EXPECT_EQ(Form->Panel->Height(), 48);
    EXPECT_EQ(Form->List->Top(), 157);
    EXPECT_EQ(Form->List->Top() + Form->List->Height() + 3 + 3, Form->Copy->Top());
}

TEST_F(DescribedFormLayout, ScreenCentredAndSnappedToTheWorkArea) {
    Form->Show();
    TRect area = Screen().WorkAreaRect();
    EXPECT_NEAR(Form->Left() + Form->Width() / 2, (area.Left + area.Right) / 2, 1);
    EXPECT_NEAR(Form->Top() + Form->Height() / 2, (area.Top + area.Bottom) / 2, 1);
    Form->SetBounds(area.Left + 6, area.Top + 40, Form->Width(), Form->Height());
    EXPECT_EQ(Form->Left(), area.Left) << "within the snap distance of the left edge";
    EXPECT_EQ(Form->Top(), area.Top + 40);
    Form->ScreenSnap = false;
    Form->SetBounds(area.Left + 6, area.Top + 40, Form->Width(), Form->Height());
    EXPECT_EQ(Form->Left(), area.Left + 6);
}

TEST_F(DescribedFormLayout, TabOrderFollowsTheDescription) {
    std::vector<TWinControl*> order;
    Form->GetTabOrderList(order);
    std::vector<TWinControl*> want{Form->AddFile, Form->List,  Form->Copy,     Form->Panel,
                                   Form->Delete,  Form->Clear, Form->AddFolder};
    EXPECT_EQ(order, want);
    EXPECT_EQ(Form->AddFolder->TabOrder(), 4);
    EXPECT_EQ(Form->Clear->TabOrder(), 1);
}

TEST_F(DescribedFormLayout, TabKeyWalksTheTabStopsAndShiftTabWalksBack) {
    Form->Show();
    Form->AddFile->SetFocus();
    test::PumpUntil([&] { return Form->AddFile->Focused(); });
    ASSERT_TRUE(Form->AddFile->Focused());
    EXPECT_EQ(Form->ActiveControl(), Form->AddFile);
    // The panel is no tab stop: its children come in its place.
    std::vector<TTestControl*> want{Form->List, Form->Copy, Form->Delete, Form->Clear, Form->AddFolder, Form->AddFile};
    for (TTestControl* next : want) {
        HWND focus = ::GetFocus();
        ::PostMessageW(focus, WM_KEYDOWN, VK_TAB, 1);
        test::PumpUntil([&] { return next->Focused(); });
        EXPECT_TRUE(next->Focused()) << std::string(next->Name().begin(), next->Name().end());
        EXPECT_EQ(Form->ActiveControl(), next);
    }
    Form->SelectNext(Form->AddFile, false, true);
    test::PumpUntil([&] { return Form->AddFolder->Focused(); });
    EXPECT_TRUE(Form->AddFolder->Focused());
}

TEST_F(DescribedFormLayout, FocusChangesSendExitEnterAndFocusChanged) {
    Form->Show();
    Form->List->SetFocus();
    test::PumpUntil([&] { return Form->List->Focused(); });
    Form->List->Notifications.clear();
    Form->Copy->Notifications.clear();
    Form->Copy->SetFocus();
    test::PumpUntil([&] { return Form->Copy->Focused(); });
    EXPECT_EQ(Form->List->Count(CM_EXIT), 1);
    EXPECT_EQ(Form->Copy->Count(CM_ENTER), 1);
    EXPECT_GE(Form->Delete->Count(CM_FOCUSCHANGED), 1) << "reaches controls inside the panel";
}

}  // namespace
}  // namespace qv
