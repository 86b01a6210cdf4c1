// The device-context forms: the background request to a control (answered, drawn by the
// control itself, or taken from its colour), clipping windowless children out, a section
// painted onto a DC and textures placed on a canvas, each compared with the bitmap forms.
#include "paint/win32/sGraphUtils_DC.h"

#include "framework/win32/Controls.h"
#include "paint/sAlphaGraph.h"
#include "paint/win32/sGraphUtils_Text.h"
#include "paint/TestSkinSource.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

using test::BmpPixelIs;
using test::FillBitmap;

// A windowless control that answers the background command as told and records the
// drawing it is asked for.
class TAnsweringControl : public TGraphicControl {
public:
    explicit TAnsweringControl(TComponent* owner) : TGraphicControl(owner) {}
    TacBGType Answer = btUnknown;
    TBitmap* AnswerBmp = nullptr;
    LRESULT ColorAnswer = 0;
    int Erases = 0, Paints = 0;
    POINT PaintOrigin{};
    RECT PaintClip{};

    void WndProc(TMessage& message) override {
        if (message.Msg == SM_ALPHACMD && HIWORD(message.WParam) == SKC_GETBGINFO) {
            auto* info = reinterpret_cast<TacBGInfo*>(message.LParam);
            if (Answer != btUnknown) {
                info->BgType = Answer;
                info->Bmp = AnswerBmp;
                info->Offset = {7, 9};
            }
            return;
        }
        if (message.Msg == SM_ALPHACMD && HIWORD(message.WParam) == SKC_GETCOLOR) {
            message.Result = ColorAnswer;
            return;
        }
        if (message.Msg == WM_ERASEBKGND) {
            ++Erases;
            return;
        }
        if (message.Msg == WM_PAINT) {
            ++Paints;
            HDC dc = reinterpret_cast<HDC>(message.WParam);
            ::GetViewportOrgEx(dc, &PaintOrigin);
            ::GetClipBox(dc, &PaintClip);
            return;
        }
        TGraphicControl::WndProc(message);
    }
};

TEST(GetBGInfoOfAControl, AnAnswerIsTakenAsItIs) {
    TAnsweringControl c(nullptr);
    TBitmap cache(4, 4);
    c.Answer = btCache;
    c.AnswerBmp = &cache;
    TacBGInfo info;
    EXPECT_TRUE(GetBGInfo(info, &c, false));
    EXPECT_EQ(info.BgType, btCache);
    EXPECT_EQ(info.Bmp, &cache);
    EXPECT_EQ(info.Offset, (TPoint{7, 9}));
    EXPECT_FALSE(info.PleaseDraw);
}

TEST(GetBGInfoOfAControl, WithoutAnAnswerTheColourCommandOrTheControlsColour) {
    TAnsweringControl c(nullptr);
    c.ColorAnswer = 0x00123456;
    TacBGInfo info;
    EXPECT_FALSE(GetBGInfo(info, &c, false));
    EXPECT_EQ(info.BgType, btFill);
    EXPECT_EQ(info.Color, 0x00123456);
    EXPECT_EQ(c.Paints, 0);

    c.ColorAnswer = 0;
    c.SetColor(clBtnFace);
    EXPECT_FALSE(GetBGInfo(info, &c, false));
    EXPECT_EQ(info.Color, ColorToRGB(clBtnFace));

    // Asked to draw, with a bitmap: R of the DC is filled with that colour.
    TBitmap target(20, 20);
    FillBitmap(target, 0xFF000000u);
    c.ColorAnswer = 0x000000FF;  // red
    info = {};
    info.Bmp = &target;
    info.R = {2, 3, 6, 8};
    info.DrawDC = target.Canvas().Handle();
    EXPECT_FALSE(GetBGInfo(info, &c, true));
    ::GdiFlush();
    EXPECT_EQ(target.Pixel32(2, 3) & 0xFFFFFFu, 0xFF0000u);
    EXPECT_EQ(target.Pixel32(5, 7) & 0xFFFFFFu, 0xFF0000u);
    EXPECT_EQ(target.Pixel32(6, 8), 0xFF000000u);
}

TEST(GetBGInfoOfAControl, ACallerThatWantsDrawingGetsTheControlPaintedAtTheOffset) {
    TAnsweringControl c(nullptr);
    TBitmap target(40, 40);
    HDC dc = target.Canvas().Handle();
    TacBGInfo info;
    info.PleaseDraw = true;
    info.DrawDC = dc;
    info.Offset = {5, 6};
    info.R = {0, 0, 10, 10};
    EXPECT_FALSE(GetBGInfo(info, &c, false));
    EXPECT_EQ(c.Erases, 1);
    EXPECT_EQ(c.Paints, 1);
    EXPECT_EQ(c.PaintOrigin.x, -5);
    EXPECT_EQ(c.PaintOrigin.y, -6);
    // R moved by the offset, in the moved coordinates.
    EXPECT_EQ(c.PaintClip.left, 5);
    EXPECT_EQ(c.PaintClip.top, 6);
    EXPECT_EQ(c.PaintClip.right, 15);
    EXPECT_EQ(c.PaintClip.bottom, 16);
    POINT after;
    ::GetViewportOrgEx(dc, &after);
    EXPECT_EQ(after.x, 0);
    EXPECT_EQ(after.y, 0);
}

TEST(ExcludeControls, VisibleWindowlessChildrenAreClippedOut) {
    TWinControl container(nullptr);
    TAnsweringControl shown(nullptr), hidden(nullptr);
    shown.SetParent(&container);
    shown.SetBounds(2, 2, 4, 4);
    hidden.SetParent(&container);
    hidden.SetBounds(10, 2, 4, 4);
    hidden.SetVisible(false);
    for (bool standard : {false, true}) {
        SCOPED_TRACE(standard);
        StdTransparency = standard;
        TBitmap target(20, 10);
        FillBitmap(target, 0xFF000000u);
        HDC dc = target.Canvas().Handle();
        const int saved = ::SaveDC(dc);
        ExcludeControls(dc, &container, actGraphic, 1, 0);
        FillDC(dc, {0, 0, 20, 10}, clWhite);
        ::RestoreDC(dc, saved);
        ::GdiFlush();
        EXPECT_EQ(target.Pixel32(4, 3) & 0xFFFFFFu, standard ? 0xFFFFFFu : 0u);  // the shown child, moved by 1
        EXPECT_EQ(target.Pixel32(2, 3) & 0xFFFFFFu, 0xFFFFFFu);
        EXPECT_EQ(target.Pixel32(11, 3) & 0xFFFFFFu, 0xFFFFFFu);  // hidden: painted over
    }
    StdTransparency = false;
    shown.SetParent(nullptr);
    hidden.SetParent(nullptr);
}

// A section with a plain colour and a plain 3 x 3 border whose corners are the key.
class DCSkin : public ::testing::Test {
protected:
    DCSkin() : skin(3, 3) {
        FillBitmap(skin.Master, 0xFF0000FFu);
        skin.Master.SetPixel32(1, 1, 0xFF00FF00u);
        section = skin.AddSection(L"BOX");
        skin.Sections[0].Color = 0x00804020;
        skin.Sections[0].States = 1;
        skin.Sections[0].BorderIndex = skin.AddImage({0, 0, 3, 3}, 1, 0, 1, 1, 1, 1, 0);
    }
    test::TestSkinSource skin;
    int section = -1;
};

TEST_F(DCSkin, PaintItemOnADCGivesTheBitmapFormsPixelsAtR) {
    TBitmap direct(12, 8), viaDC(30, 20);
    PaintItem(section, L"BOX", EmptyCI, true, 0, {0, 0, 12, 8}, {0, 0}, &direct, &skin);
    FillBitmap(viaDC, 0xFF101010u);
    PaintItem(section, L"BOX", EmptyCI, true, 0, {5, 4, 17, 12}, {0, 0}, viaDC.Canvas().Handle(), &skin);
    ::GdiFlush();
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 12; ++x) ASSERT_TRUE(BmpPixelIs(viaDC, x + 5, y + 4, direct.Pixel32(x, y)));
    EXPECT_TRUE(BmpPixelIs(viaDC, 4, 4, 0xFF101010u));
    EXPECT_TRUE(BmpPixelIs(viaDC, 17, 11, 0xFF101010u));
}

TEST(TileBitmapOnACanvas, PlacesTexturesAsTheBitmapFormDoes) {
    TBitmap texture(3, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) texture.SetPixel32(x, y, 0xFF000000u | (y << 8) | (x + 1));
    TsMaskData md;
    md.R = {0, 0, 3, 2};
    md.ImageCount = 1;
    for (int mode : {0, 2, 5, 7, 10, 13}) {
        SCOPED_TRACE(mode);
        TBitmap a(11, 9), b(11, 9);
        FillBitmap(a, 0xFFEEEEEEu);
        FillBitmap(b, 0xFFEEEEEEu);
        TRect restA{1, 1, 10, 8}, restB = restA;
        TileBitmap(&a, restA, &texture, md.R, mode);
        TileBitmap(b.Canvas(), restB, texture, md, mode);
        ::GdiFlush();
        EXPECT_EQ(restA, restB);
        // Stretches are the platform's on a canvas, whose pixel dropping may sample other
        // rows than ours: there only the untouched rest is compared.
        const bool stretched = mode == 5;
        for (int y = 0; y < 9; ++y)
            for (int x = 0; x < 11; ++x) {
                if (stretched && x < restA.Left) continue;
                ASSERT_TRUE(BmpPixelIs(b, x, y, a.Pixel32(x, y)));
            }
    }
}

}  // namespace
}  // namespace qv
