// Skinned controls on real windows with a small crafted skin: commands the binding
// answers, section defaults and switches, button state rules, glow bookkeeping and the
// timer component.
#include "../../skin/ManagerTestUtils.h"
#include "controls/win32/acGlow.h"
#include "controls/win32/acThdTimer.h"
#include "controls/win32/sBitBtn.h"
#include "controls/win32/sPanel.h"
#include "framework/win32/Application.h"
#include "framework/win32/Forms.h"
#include "skin/win32/sMessages.h"

#include <gtest/gtest.h>

namespace qv {

namespace {
const String kSkin = L"Android OS (internal)";
const std::string kExtra =
    "[PANEL]\r\nCOLOR=$00102030\r\nSTATES=1\r\n"
    "[PANEL_LOW]\r\nCOLOR=$00102031\r\nSTATES=1\r\n"
    "[RADIOBUTTON]\r\nCOLOR=$00102032\r\nSTATES=1\r\n";

LRESULT Command(TControl* c, int code, LPARAM lParam = 0, WORD argument = 0) {
    TMessage m = MakeAlphaMessage(static_cast<std::uint16_t>(code), lParam, argument);
    return c->Perform(m.Msg, m.WParam, m.LParam);
}
}  // namespace

class ControlsSkinTest : public ::testing::Test {
protected:
    void SetUp() override {
        form.reset(NewForm<TForm>(nullptr));
        form->SetBounds(10, 10, 300, 200);
        manager = new TsSkinManager(form.get());
        manager->BeginLoading();
        test::AddInternalSkin(*manager, kSkin, test::ManagerSkinPack("$00010203", kExtra));
        manager->SetSkinDirectory(dir.Path());
        manager->SetSkinName(kSkin);
        manager->EndReading();
        static_cast<TComponent*>(manager)->Loaded();
        ASSERT_TRUE(manager->SkinData.Active);
        button = new TsBitBtn(form.get());
        button->AfterConstruction();
        button->SetParent(form.get());
        button->SetBounds(10, 10, 80, 30);
        button->SetCaption(L"OK");
        panel = new TsPanel(form.get());
        panel->AfterConstruction();
        panel->SetParent(form.get());
        panel->SetBounds(0, 100, 300, 50);
        form->Show();
    }
    void TearDown() override {
        ClearGlows();
        form.reset();
    }
    test::TempSkinDir dir;
    std::unique_ptr<TForm> form;
    TsSkinManager* manager = nullptr;
    TsBitBtn* button = nullptr;
    TsPanel* panel = nullptr;
};

TEST_F(ControlsSkinTest, BindingAnswersCommandsForItsControl) {
    TsCommonData* b = button->SkinData();
    EXPECT_EQ(b->FSkinSection, L"BUTTON");  // default section of a push button
    EXPECT_EQ(b->FSkinIndex, manager->GetSkinIndex(L"BUTTON"));
    EXPECT_EQ(SendAMessage(button, SKC_CTRLHANDLED), 1);
    int index = -7;
    SendAMessage(button, SKC_GETSKININDEX, reinterpret_cast<LPARAM>(&index));
    EXPECT_EQ(index, b->FSkinIndex);
    EXPECT_EQ(SendAMessage(button, SKC_GETCOMMONDATA), reinterpret_cast<LRESULT>(b));
    Command(button, SKC_SETUPDATING, 0, 1);
    EXPECT_TRUE(b->FUpdating);
    EXPECT_EQ(SendAMessage(button, SKC_ISUPDATING), 1);
    Command(button, SKC_SETUPDATING, 0, 0);
    b->BGChanged = false;
    EXPECT_EQ(SendAMessage(button, SKC_ISUPDATING), 0);
    SendAMessage(button, SKC_BGCHANGED);
    EXPECT_TRUE(b->BGChanged);
    // An opaque section answers its own colour for the colour behind it.
    EXPECT_EQ(static_cast<TColor>(SendAMessage(button, SKC_GETCOLOR)), manager->gd[b->FSkinIndex].Color);
    // A command for another manager is ignored.
    b->BGChanged = false;
    SendAMessage(button, SKC_REFRESH, 12345);
    EXPECT_FALSE(b->BGChanged);
}

TEST_F(ControlsSkinTest, SectionNamesAreUpperCasedAndEmptyBecomesUnknown) {
    TsCommonData* b = button->SkinData();
    b->SetSkinSection(L"edit");
    EXPECT_EQ(b->FSkinSection, L"EDIT");
    EXPECT_EQ(b->FSkinIndex, manager->GetSkinIndex(L"EDIT"));
    b->SetSkinSection(L"");
    EXPECT_EQ(b->FSkinSection, L"UNKNOWN");
    EXPECT_EQ(b->FSkinIndex, -1);
}

TEST_F(ControlsSkinTest, EndUpdateBeyondBeginUpdateStaysNonPositive) {
    TsCommonData* b = button->SkinData();
    b->BeginUpdate();
    EXPECT_TRUE(b->FUpdating);
    EXPECT_NE(b->CtrlSkinState & SkinStateLocked, 0);
    b->EndUpdate();
    b->EndUpdate();
    EXPECT_EQ(b->FUpdateCount, -1);
    EXPECT_FALSE(b->FUpdating);
    EXPECT_EQ(b->CtrlSkinState & SkinStateLocked, 0);
}

TEST_F(ControlsSkinTest, ButtonStateRules) {
    EXPECT_EQ(button->CurrentState(), 1);  // the focused button is hot
    auto* other = new TsBitBtn(form.get());
    other->AfterConstruction();
    other->SetParent(form.get());
    other->SetBounds(100, 10, 80, 30);
    other->SetFocus();  // the focused button becomes the default one, this one normal
    button->SkinData()->FFocused = false;
    EXPECT_EQ(button->CurrentState(), 0);
    ::SendMessageW(button->Handle(), BM_SETSTYLE, BS_DEFPUSHBUTTON, FALSE);
    EXPECT_EQ(button->CurrentState(), 1);  // the default button is hot without hover
    ::SendMessageW(button->Handle(), BM_SETSTYLE, BS_OWNERDRAW, FALSE);
    EXPECT_EQ(button->CurrentState(), 0);
    // A keyboard press: pushed while the mouse is elsewhere and no button is held.
    ::SendMessageW(button->Handle(), BM_SETSTATE, TRUE, 0);
    EXPECT_EQ(button->CurrentState(), 2);
    ::SendMessageW(button->Handle(), BM_SETSTATE, FALSE, 0);
    button->SetDown(true);
    EXPECT_EQ(button->CurrentState(), 2);
    button->SetDown(false);
    button->SetBlend(150);
    EXPECT_EQ(button->Blend(), 100);
    button->SetBlend(-5);
    EXPECT_EQ(button->Blend(), 0);
}

TEST_F(ControlsSkinTest, ButtonCacheTakesTheButtonSize) {
    button->PrepareCache();
    TBitmap* cache = button->SkinData()->CacheBmp();
    ASSERT_EQ(cache->Width(), 80);
    ASSERT_EQ(cache->Height(), 30);
    EXPECT_FALSE(button->SkinData()->BGChanged);
}

TEST_F(ControlsSkinTest, PanelSectionFollowsTheBevelUnlessChosen) {
    TsCommonData* b = panel->SkinData();
    EXPECT_EQ(b->FSkinSection, L"PANEL");
    panel->SetBevelOuter(bvLowered);
    EXPECT_EQ(b->FSkinSection, L"PANEL_LOW");
    b->SetSkinSection(L"RADIOBUTTON");
    panel->SetBevelOuter(bvRaised);
    EXPECT_EQ(b->FSkinSection, L"RADIOBUTTON");
}

TEST_F(ControlsSkinTest, PanelChildrenGetTheBackgroundOffsetByTheFrame) {
    panel->SetBevelOuter(bvRaised);
    panel->SetBevelInner(bvLowered);
    panel->SetBorderWidth(2);
    panel->SkinData()->InitCacheBmp();
    panel->PrepareCache();
    // Force the cached answer: this small section has no gradient, so make it 50 %
    // transparent, which requires a cache of its own.
    manager->gd[panel->SkinData()->FSkinIndex].Props[0].Transparency = 50;
    TacBGInfo info;
    SendAMessage(panel->Handle(), SKC_GETBGINFO, reinterpret_cast<LPARAM>(&info));
    ASSERT_EQ(info.BgType, btCache);
    EXPECT_EQ(info.Offset.X, 4);  // border 2 + two bevels of 1
    EXPECT_EQ(info.Offset.Y, 4);
}

TEST(Glows, HidingMinusOneOrTwiceDoesNothing) {
    ClearGlows();
    HideGlow(-1);
    HideGlow(5);
    acgEffects.push_back(nullptr);
    HideGlow(0);
    HideGlow(0);
    EXPECT_EQ(acgEffects.size(), 1u);  // slots are not compacted
    ClearGlows();
    EXPECT_TRUE(acgEffects.empty());
}

TEST(ThreadedTimer, NeverTicksWithIntervalZeroOrWithoutHandler) {
    auto timer = std::unique_ptr<TacThreadedTimer>(TacThreadedTimer::CreateOwned(nullptr, false));
    timer->SetEnabled(true);
    EXPECT_FALSE(timer->Ticking());  // no OnTimer
    int ticks = 0;
    timer->SetOnTimer([&](TComponent*) { ++ticks; });
    EXPECT_TRUE(timer->Ticking());
    timer->SetInterval(0);
    EXPECT_FALSE(timer->Ticking());
    timer->SetInterval(10);
    EXPECT_TRUE(timer->Ticking());
}

}  // namespace qv
