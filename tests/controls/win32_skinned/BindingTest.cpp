// The skin binding's answers on real windows under the internal skin: background requests
// passed on by a fully transparent control (drawn into the asker's DC, or given as the
// parent's face with the summed offset, also for a form inside a control), the font
// section chosen by the control's state, and the commands whose answers callers read.
#include "SkinnedWindow.h"

#include "controls/win32/sBitBtn.h"
#include "controls/win32/sPanel.h"
#include "framework/win32/Application.h"
#include "framework/win32/Buttons.h"
#include "paint/win32/sGraphUtils_DC.h"
#include "paint/win32/sGraphUtils_Text.h"
#include "skin/win32/sMessages.h"

namespace qv {
namespace {

class Binding : public test::SkinnedWindow {
protected:
    void SetUp() override {
        test::SkinnedWindow::SetUp();
        if (HasFatalFailure()) return;
        // A panel with a face of its own (the button gradient), no frame inside it.
        outer = Place<TsPanel>(10, 10, 300, 160);
        outer->SetBevelOuter(bvNone);
        outer->SetShowCaption(false);
        outer->SkinData()->SetSkinSection(L"BUTTON");
        AddFocusSink(10, 200);
    }
    // Makes a section fully transparent in both states.
    void Transparent(const wchar_t* name) {
        TsGeneralData& gd = manager->gd[static_cast<std::size_t>(manager->GetSkinIndex(name))];
        gd.Transparency = gd.HotTransparency = 100;
        gd.Props[0].Transparency = gd.Props[1].Transparency = 100;
    }
    std::uint32_t OuterFace(int x, int y) { return test::Rgb(*outer->SkinData()->CacheBmp(), x, y); }

    TsPanel* outer = nullptr;
};

TEST_F(Binding, TransparentControlDrawsTheParentsFaceAtItsOwnPlace) {
    Transparent(L"CHECKBOX");
    auto* inner = Place<TsPanel>(30, 40, 120, 60, outer);
    inner->SetBevelOuter(bvNone);
    inner->SetShowCaption(false);
    inner->SkinData()->SetSkinSection(L"CHECKBOX");
    ShowAndPaint();
    ASSERT_TRUE(outer->SkinData()->IsCached());
    inner->SkinData()->BGChanged = true;  // its own face cannot serve: it asks the outer panel

    TBitmap target;
    target.SetPixelFormat(pf32bit);
    target.SetSize(20, 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x) target.SetPixel32(x, y, 0xFF123456);
    TacBGInfo info;
    info.PleaseDraw = true;
    info.DrawDC = target.Canvas().Handle();
    info.R = {0, 0, 20, 10};
    GetBGInfo(info, inner->Handle(), true);
    ::GdiFlush();
    EXPECT_EQ(info.BgType, btCache);
    for (int y : {0, 9})
        for (int x : {0, 19}) EXPECT_EQ(test::Rgb(target, x, y), OuterFace(30 + x, 40 + y)) << x << "," << y;

    // Asked for the bitmap instead: the outer face, with the inner panel's place as offset.
    TacBGInfo plain;
    GetBGInfo(plain, inner->Handle(), false);
    EXPECT_EQ(plain.BgType, btCache);
    EXPECT_EQ(plain.Bmp, outer->SkinData()->CacheBmp());
    EXPECT_EQ(plain.Offset.X, 30);
    EXPECT_EQ(plain.Offset.Y, 40);
}

TEST_F(Binding, FormInsideAControlTakesItsBackgroundFromThatControl) {
    Transparent(L"CHECKBOX");
    std::unique_ptr<TForm> inner(NewForm<TForm>(nullptr));
    inner->SetParent(outer);
    inner->SetBounds(25, 35, 100, 50);
    ShowAndPaint();
    inner->Show();
    ASSERT_TRUE(test::PumpUntil([&] { return ::IsWindowVisible(inner->Handle()); }));
    Application().ProcessMessages();
    // The binding a frame skinner keeps for its form.
    TsCommonData frame(manager, true);
    frame.FFrameSkinnerForm = inner.get();
    frame.SetSkinSection(L"CHECKBOX");
    ASSERT_TRUE(frame.Skinned());
    TacBGInfo info;
    frame.InitBGInfo(info, 0, nullptr);
    EXPECT_EQ(info.BgType, btCache);
    EXPECT_EQ(info.Bmp, outer->SkinData()->CacheBmp());
    EXPECT_EQ(info.Offset.X, 25);
    EXPECT_EQ(info.Offset.Y, 35);
    frame.FFrameSkinnerForm = nullptr;
    inner.reset();
}

// Text on a control takes the font colours of its parent's section when that section is
// mostly transparent in the control's state, and of the grandparent's then.
TEST_F(Binding, FontSectionFollowsTheControlsState) {
    const int edit = manager->GetSkinIndex(L"EDIT"), panel = manager->GetSkinIndex(L"PANEL");
    TsGeneralData& gd = manager->gd[static_cast<std::size_t>(edit)];
    gd.Props[0].Transparency = 0;
    gd.Props[1].Transparency = 100;  // only the hot state shows what lies behind
    gd.GiveOwnFont = true;
    manager->gd[static_cast<std::size_t>(panel)].GiveOwnFont = true;
    outer->SkinData()->SetSkinSection(L"PANEL");
    auto* middle = Place<TsPanel>(10, 10, 200, 100, outer);
    middle->SkinData()->SetSkinSection(L"EDIT");
    auto* button = Place<TsBitBtn>(10, 10, 100, 40, middle);
    ShowAndPaint();
    EXPECT_EQ(button->SkinData()->GetFontIndex(0), edit);
    EXPECT_EQ(button->SkinData()->GetFontIndex(1), panel);
}

TEST_F(Binding, PrintTargetAndApplicationAreAnswered) {
    ShowAndPaint();
    TBitmap target;
    target.SetPixelFormat(pf32bit);
    target.SetSize(4, 4);
    HDC dc = target.Canvas().Handle();
    EXPECT_EQ(SendAMessage(outer->Handle(), SKC_SETPRINTDC, reinterpret_cast<LPARAM>(dc)), 1);
    EXPECT_EQ(outer->SkinData()->PrintDC, dc);
    EXPECT_NE(outer->SkinData()->CtrlSkinState & SkinStatePrinting, 0);
    EXPECT_EQ(SendAMessage(outer->Handle(), SKC_SETPRINTDC, 0), 1);
    EXPECT_EQ(outer->SkinData()->CtrlSkinState & SkinStatePrinting, 0);
    // A control that leaves the command to its binding keeps the binding's answer.
    TMessage m = MakeAlphaMessage(SKC_GETAPPLICATION, 0);
    EXPECT_TRUE(CommonWndProc(m, outer->SkinData()));
    EXPECT_EQ(m.Result, reinterpret_cast<LRESULT>(&Application()));
}

// Copying a face to a DC: the corners are refreshed from the parent when asked (a corner
// left stale shows the parent again), and windowless children keep what lies under them
// unless StdTransparency lets the face cover them.
TEST_F(Binding, CopiedFaceRefreshesCornersAndCoversWindowlessChildrenOnRequest) {
    form->SetColor(static_cast<TColor>(0x336699));
    auto* button = Place<TsBitBtn>(20, 190, 120, 40);
    auto* child = Place<TSpeedButton>(40, 50, 30, 20, outer);
    ShowAndPaint();
    TBitmap target;
    target.SetPixelFormat(pf32bit);
    target.SetSize(300, 160);
    auto fill = [&] {
        for (int y = 0; y < 160; ++y)
            for (int x = 0; x < 300; ++x) target.SetPixel32(x, y, 0xFF123456);
    };
    HDC dc = target.Canvas().Handle();
    TsCommonData* b = button->SkinData();
    b->CacheBmp()->SetPixel32(0, 0, 0xFF00FF00);  // a stale corner
    fill();
    CopyWinControlCache(button, b, {0, 0, 120, 40}, 0, 0, true, dc, {0, 0, 120, 40});
    ::GdiFlush();
    EXPECT_EQ(test::Rgb(target, 0, 0), test::Rgb(static_cast<TColor>(0x336699)));

    const TRect whole{0, 0, 300, 160};
    fill();
    CopyWinControlCache(outer, outer->SkinData(), whole, 0, 0, false, dc, whole);
    ::GdiFlush();
    EXPECT_EQ(test::Rgb(target, 50, 60), 0x123456u);
    EXPECT_EQ(test::Rgb(target, 20, 60), OuterFace(20, 60));
    StdTransparency = true;
    fill();
    CopyWinControlCache(outer, outer->SkinData(), whole, 0, 0, false, dc, whole);
    ::GdiFlush();
    StdTransparency = false;
    EXPECT_EQ(test::Rgb(target, 50, 60), OuterFace(50, 60));
    (void)child;
}

}  // namespace
}  // namespace qv
