// The command message on real windows: who a broadcast reaches and in which order
// (graphic controls through their parent, skinned controls by window message, a skinned
// form once), where it stops, the hooked-forms list, and the boolean answers.
#include "skin/win32/sMessages.h"
#include "skin/win32/sStyleSimply.h"

#include "framework/win32/Application.h"
#include "RecordingControls.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

using test::Log;
using test::TRecForm;
using test::TRecGraphic;
using test::TRecWin;

class BroadcastTest : public ::testing::Test {
protected:
    void SetUp() override { Log().clear(); }
    void TearDown() override {
        HookedComponents.clear();
        Log().clear();
    }
};

TEST_F(BroadcastTest, ChildrenInIndexOrderGraphicThroughParentSkinnedByWindow) {
    std::unique_ptr<TRecForm> form(NewForm<TRecForm>(nullptr, "form"));
    auto* a = new TRecGraphic(form.get(), "a");
    a->SetParent(form.get());
    auto* b = new TRecWin(form.get(), "b", 1);  // handles skinning itself
    b->SetParent(form.get());
    auto* c = new TRecWin(form.get(), "c", 0);  // plain container: descended into
    c->SetParent(form.get());
    auto* d = new TRecGraphic(form.get(), "d");
    d->SetParent(c);
    auto* e = new TRecWin(form.get(), "e", 1);
    e->SetParent(c);
    auto* f = new TRecWin(form.get(), "f", 1);  // no window yet: through its method
    form->HandleNeeded();
    f->SetParent(form.get());
    f->DestroyHandle();
    ASSERT_TRUE(b->HandleAllocated());
    ASSERT_FALSE(f->HandleAllocated());
    b->Probe();

    TMessage m = MakeAlphaMessage(SKC_REFRESH, 1234);
    AlphaBroadCast(form.get(), m);
    EXPECT_EQ(Log(), (std::vector<std::string>{"a:3", "b:3", "d:3", "e:3", "f:3"}));
    EXPECT_TRUE(b->LastByWindow);
    EXPECT_FALSE(a->LastByWindow);
    EXPECT_FALSE(f->LastByWindow);
    EXPECT_EQ(e->LastLParam, 1234);
}

TEST_F(BroadcastTest, StopsAtTheFirstChildBeingDestroyed) {
    std::unique_ptr<TRecForm> form(NewForm<TRecForm>(nullptr, "form"));
    auto* a = new TRecGraphic(form.get(), "a");
    a->SetParent(form.get());
    auto* b = new TRecGraphic(form.get(), "b");
    b->SetParent(form.get());
    auto* c = new TRecGraphic(form.get(), "c");
    c->SetParent(form.get());
    b->MarkDestroying(true);
    TMessage m = MakeAlphaMessage(SKC_NEWSKIN);
    AlphaBroadCast(form.get(), m);
    EXPECT_EQ(Log(), (std::vector<std::string>{"a:1"}));
    b->MarkDestroying(false);
}

TEST_F(BroadcastTest, WindowFormReachesDirectChildWindowsOnly) {
    std::unique_ptr<TRecForm> form(NewForm<TRecForm>(nullptr, "form"));
    auto* c = new TRecWin(form.get(), "c", 0);
    c->SetParent(form.get());
    auto* inner = new TRecWin(form.get(), "inner", 0);
    inner->SetParent(c);
    auto* g = new TRecGraphic(form.get(), "g");
    g->SetParent(form.get());
    form->HandleNeeded();
    TMessage m = MakeAlphaMessage(SKC_BGCHANGED);
    AlphaBroadCast(form->Handle(), m);
    EXPECT_EQ(Log(), (std::vector<std::string>{"c:17"}));
    Log().clear();
    SetParentUpdated(form.get());
    EXPECT_EQ(Log(), (std::vector<std::string>{"c:6"}));  // graphic children are left out
}

TEST_F(BroadcastTest, ApplicationFormsLastFirstAndASkinnedFormOnlyThroughTheHookedList) {
    std::unique_ptr<TRecForm> first(NewForm<TRecForm>(&Application(), "first"));
    std::unique_ptr<TRecForm> skinned(NewForm<TRecForm>(&Application(), "skinned", 1));
    std::unique_ptr<TRecForm> last(NewForm<TRecForm>(&Application(), "last"));
    auto* child = new TRecGraphic(skinned.get(), "skinnedChild");
    child->SetParent(skinned.get());
    skinned->HandleNeeded();
    IntSkinForm(skinned.get());

    TMessage m = MakeAlphaMessage(SKC_NEWSKIN);
    AppBroadCastS(m);
    EXPECT_EQ(Log(), (std::vector<std::string>{"last:1", "first:1", "skinned:1", "skinnedChild:1"}));

    // A form being loaded is left out of the application's forms.
    Log().clear();
    last->BeginLoading();
    AppBroadCastS(m);
    EXPECT_EQ(Log(), (std::vector<std::string>{"first:1", "skinned:1", "skinnedChild:1"}));
    last->EndReading();
    static_cast<TComponent*>(last.get())->Loaded();
}

TEST_F(BroadcastTest, UnskinningMovesTheLastFormIntoTheGap) {
    std::unique_ptr<TRecForm> a(NewForm<TRecForm>(nullptr, "a"));
    std::unique_ptr<TRecForm> b(NewForm<TRecForm>(nullptr, "b"));
    std::unique_ptr<TRecForm> c(NewForm<TRecForm>(nullptr, "c"));
    IntSkinForm(a.get());
    IntSkinForm(b.get());
    IntSkinForm(c.get());
    IntUnSkinForm(a.get());
    EXPECT_EQ(HookedComponents, (std::vector<TCustomForm*>{c.get(), b.get()}));
    IntUnSkinForm(a.get());  // not in the list: nothing changes
    EXPECT_EQ(HookedComponents.size(), 2u);
}

TEST_F(BroadcastTest, BooleanAnswersAndControlsWithoutWindows) {
    std::unique_ptr<TRecForm> form(NewForm<TRecForm>(nullptr, "form"));
    auto* w = new TRecWin(form.get(), "w", 2);
    w->SetParent(form.get());
    auto* g = new TRecGraphic(form.get(), "g", 256);
    g->SetParent(form.get());
    auto* one = new TRecGraphic(form.get(), "one", 1);
    one->SetParent(form.get());
    EXPECT_EQ(SendAMessage(w, SKC_CTRLHANDLED), 0);  // no window yet: nothing is sent
    form->HandleNeeded();
    EXPECT_EQ(SendAMessage(w, SKC_CTRLHANDLED), 2);
    EXPECT_FALSE(GetBoolMsg(w->Handle(), SKC_CTRLHANDLED));  // window form wants exactly 1
    EXPECT_TRUE(GetBoolMsg(w, SKC_CTRLHANDLED));             // control form: low byte 2
    EXPECT_FALSE(GetBoolMsg(g, SKC_CTRLHANDLED));            // 256: low byte 0
    EXPECT_TRUE(GetBoolMsg(one, SKC_CTRLHANDLED));
    EXPECT_EQ(GetControlColor(static_cast<TControl*>(nullptr)), clFuchsia);
    // Not handled (answer 2): the control's own colour, as RGB.
    w->SetColor(0x123456);
    EXPECT_EQ(GetControlColor(w), 0x123456);
    one->SetColor(clBtnFace);
    one->ColorAnswer = 0x00ABCDEF;
    EXPECT_EQ(GetControlColor(one), 0xABCDEF);  // skinned: its answer to SKC_GETCOLOR
}

}  // namespace
}  // namespace qv
