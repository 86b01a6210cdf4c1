// The panel: children aligned inside its frame, and the bevels and caption it paints.
#include "framework/win32/Buttons.h"
#include "framework/win32/ExtCtrls.h"
#include "framework/win32/Forms.h"

#include "win32/TestWindows.h"
#include "WindowCapture.h"

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::test;

namespace {

constexpr TColor kFace = 0x00336699;  // a panel colour no system colour has

TRect BoundsOf(TControl* c) { return c->BoundsRect(); }

// The window's rectangle in its parent's client coordinates.
TRect WindowBoundsOf(TWinControl* c) {
    RECT r{};
    ::GetWindowRect(c->Handle(), &r);
    ::MapWindowPoints(nullptr, ::GetParent(c->Handle()), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right, r.bottom};
}

// A form laid out like the program's window bottom: a panel 48 high at the bottom with
// a 120-wide button on the left and one filling the rest, both with margins.
class BottomPanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        Form.reset(NewForm<TForm>(nullptr));
        Form->SetClientWidth(329);
        Form->SetClientHeight(494);
        Panel = new TPanel(Form.get());
        Panel->SetParent(Form.get());
        Panel->SetBounds(0, 446, 329, 48);
        Panel->SetAlign(alBottom);
        Panel->SetShowCaption(false);
        Panel->SetBevelOuter(bvNone);
        Clear = new TBitBtn(Form.get());
        Clear->SetParent(Panel);
        Clear->SetBounds(2, 2, 120, 43);
        Clear->SetAlignWithMargins(true);
        Clear->Margins().SetBounds(2, 2, 2, 3);
        Clear->SetAlign(alLeft);
        Clear->SetCaption(L"Clear the box");
        Delete = new TBitBtn(Form.get());
        Delete->SetParent(Panel);
        Delete->SetBounds(126, 2, 202, 43);
        Delete->SetAlignWithMargins(true);
        Delete->Margins().SetBounds(2, 2, 1, 3);
        Delete->SetAlign(alClient);
        Delete->SetCaption(L"Delete selected Item");
        Form->HandleNeeded();
    }
    std::unique_ptr<TForm> Form;
    TPanel* Panel = nullptr;
    TBitBtn* Clear = nullptr;
    TBitBtn* Delete = nullptr;
};

}  // namespace

TEST_F(BottomPanelTest, ChildrenKeepTheirPlacesThroughResizes) {
    EXPECT_EQ(ClassNameOf(Panel->Handle()), L"TPanel");
    EXPECT_EQ(BoundsOf(Panel), (TRect{0, 446, 329, 494}));
    EXPECT_EQ(BoundsOf(Clear), (TRect{2, 2, 122, 45}));
    EXPECT_EQ(BoundsOf(Delete), (TRect{126, 2, 328, 45}));
    EXPECT_EQ(WindowBoundsOf(Delete), (TRect{126, 2, 328, 45})) << "the window is not where the control says";
    EXPECT_EQ(::GetParent(Delete->Handle()), Panel->Handle());

    // Wider and taller: the panel stays 48 high at the bottom, the left button 120 wide.
    Form->SetClientWidth(500);
    Form->SetClientHeight(600);
    EXPECT_EQ(BoundsOf(Panel), (TRect{0, 552, 500, 600}));
    EXPECT_EQ(BoundsOf(Clear), (TRect{2, 2, 122, 45}));
    EXPECT_EQ(BoundsOf(Delete), (TRect{126, 2, 499, 45}));
    EXPECT_EQ(WindowBoundsOf(Delete), (TRect{126, 2, 499, 45}));

    // Narrower than the left button needs: the client button shrinks to nothing.
    Form->SetClientWidth(100);
    EXPECT_EQ(BoundsOf(Clear).Width(), 120);
    EXPECT_EQ(BoundsOf(Delete).Width(), 0);
    Form->SetClientWidth(329);
    EXPECT_EQ(BoundsOf(Delete), (TRect{126, 2, 328, 45}));
}

TEST_F(BottomPanelTest, BevelsBorderAndEdgeMoveTheChildrenInward) {
    // Raised outer bevel: every child one pixel further in.
    Panel->SetBevelOuter(bvRaised);
    EXPECT_EQ(Panel->FrameInset(), 1);
    EXPECT_EQ(BoundsOf(Clear), (TRect{3, 3, 123, 44}));
    EXPECT_EQ(BoundsOf(Delete), (TRect{127, 3, 327, 44}));

    // Two bevels of width 2 and a border of 3.
    Panel->SetBevelInner(bvLowered);
    Panel->SetBevelWidth(2);
    Panel->SetBorderWidth(3);
    EXPECT_EQ(Panel->FrameInset(), 7);
    EXPECT_EQ(BoundsOf(Clear), (TRect{9, 9, 129, 38}));
    EXPECT_EQ(BoundsOf(Delete), (TRect{133, 9, 321, 38}));

    // A window edge takes two pixels on each side out of the client area.
    Panel->SetBevelInner(bvNone);
    Panel->SetBevelOuter(bvNone);
    Panel->SetBorderWidth(0);
    Panel->SetBorderStyle(bsSingle);
    RECT client{};
    ::GetClientRect(Panel->Handle(), &client);
    const int edge = (48 - client.bottom) / 2;
    EXPECT_GT(edge, 0) << "no edge";
    EXPECT_EQ(BoundsOf(Delete), (TRect{126, 2, 329 - 2 * edge - 1, 45 - 2 * edge}));
    EXPECT_EQ(WindowBoundsOf(Delete), BoundsOf(Delete));
    EXPECT_NE(::GetWindowLongPtrW(Panel->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
}

TEST(PanelPaint, BevelsBorderBandAndFace) {
    std::unique_ptr<TForm> form(NewForm<TForm>(nullptr));
    auto* panel = new TPanel(form.get());
    panel->SetParent(form.get());
    panel->SetBounds(0, 0, 60, 40);
    panel->SetColor(kFace);
    panel->SetShowCaption(false);
    const std::uint32_t face = PixelOfColor(kFace), light = PixelOfColor(clBtnHighlight),
                        dark = PixelOfColor(clBtnShadow);
    ASSERT_NE(light, dark);

    auto pixels = CaptureClient(panel->Handle());  // raised outer bevel, width 1
    struct Want {
        int X, Y;
        std::uint32_t Pixel;
        const char* What;
    };
    auto check = [&](std::initializer_list<Want> wants, const char* setup) {
        for (const Want& w : wants)
            EXPECT_EQ(RGBAt(*pixels, w.X, w.Y), w.Pixel)
                << setup << ": " << w.What << " at (" << w.X << ", " << w.Y << ") expected " << Hex(w.Pixel);
    };
    check({{0, 0, light, "top-left"},
           {30, 0, light, "top"},
           {0, 20, light, "left"},
           {59, 0, dark, "top-right"},
           {59, 20, dark, "right"},
           {30, 39, dark, "bottom"},
           {0, 39, dark, "bottom-left"},
           {59, 39, dark, "bottom-right"},
           {1, 1, face, "face"},
           {58, 38, face, "face"}},
          "raised");

    panel->SetBevelOuter(bvLowered);
    pixels = CaptureClient(panel->Handle());
    check({{0, 0, dark, "top-left"}, {59, 39, light, "bottom-right"}, {1, 1, face, "face"}}, "lowered");

    // Outer raised, a 2-pixel band of the panel colour, inner lowered, 2 wide each.
    panel->SetBevelOuter(bvRaised);
    panel->SetBevelInner(bvLowered);
    panel->SetBevelWidth(2);
    panel->SetBorderWidth(2);
    pixels = CaptureClient(panel->Handle());
    check({{0, 0, light, "outer ring 1"},
           {1, 1, light, "outer ring 2"},
           {58, 38, dark, "outer ring 2 bottom-right"},
           {2, 2, face, "band"},
           {3, 20, face, "band"},
           {4, 4, dark, "inner ring 1"},
           {5, 5, dark, "inner ring 2"},
           {55, 35, light, "inner ring 2 bottom-right"},
           {6, 6, face, "face"},
           {53, 33, face, "face"}},
          "two bevels and a band");

    // bvSpace is an empty band.
    panel->SetBevelOuter(bvSpace);
    panel->SetBevelInner(bvNone);
    panel->SetBorderWidth(0);
    pixels = CaptureClient(panel->Handle());
    check({{0, 0, face, "space"}, {59, 39, face, "space"}}, "space");
}

TEST(PanelPaint, CaptionFollowsAlignmentAndShowCaption) {
    std::unique_ptr<TForm> form(NewForm<TForm>(nullptr));
    auto* panel = new TPanel(form.get());
    panel->SetParent(form.get());
    panel->SetBounds(0, 0, 200, 40);
    panel->SetColor(kFace);
    panel->SetCaption(L"Panel");
    panel->Font().SetColor(clBlack);
    const std::uint32_t ink = 0;

    auto pixels = CaptureClient(panel->Handle());
    TRect text = BoundsOfColor(*pixels, ink);
    ASSERT_FALSE(text.IsEmpty()) << "no caption";
    EXPECT_NEAR((text.Left + text.Right) / 2, 100, 3) << testing::PrintToString(text);
    EXPECT_NEAR((text.Top + text.Bottom) / 2, 20, 3) << testing::PrintToString(text);

    panel->SetAlignment(taLeftJustify);
    panel->SetVerticalAlignment(taAlignTop);
    pixels = CaptureClient(panel->Handle());
    text = BoundsOfColor(*pixels, ink);
    EXPECT_LE(text.Left, 4) << testing::PrintToString(text);
    EXPECT_LE(text.Top, 6) << testing::PrintToString(text);

    panel->SetAlignment(taRightJustify);
    panel->SetVerticalAlignment(taAlignBottom);
    pixels = CaptureClient(panel->Handle());
    text = BoundsOfColor(*pixels, ink);
    EXPECT_GE(text.Right, 200 - 8) << testing::PrintToString(text);  // less the last glyph's bearing
    EXPECT_GT(text.Left, 150) << testing::PrintToString(text);
    EXPECT_GE(text.Bottom, 40 - 6) << testing::PrintToString(text);
    EXPECT_LE(text.Right, 199) << "the caption covers the bevel";

    panel->SetShowCaption(false);
    pixels = CaptureClient(panel->Handle());
    EXPECT_TRUE(BoundsOfColor(*pixels, ink).IsEmpty()) << "caption shown with ShowCaption off";
}

TEST(PanelPaint, ParentBackgroundShowsTheParentsColour) {
    std::unique_ptr<TForm> form(NewForm<TForm>(nullptr));
    form->SetColor(clLime);
    auto* panel = new TPanel(form.get());
    panel->SetParent(form.get());
    panel->SetBounds(10, 10, 60, 40);
    panel->SetColor(kFace);
    panel->SetBevelOuter(bvNone);
    panel->SetParentBackground(true);
    auto pixels = CaptureClient(panel->Handle());
    EXPECT_EQ(RGBAt(*pixels, 30, 20), PixelOfColor(clLime));
    panel->SetParentBackground(false);
    pixels = CaptureClient(panel->Handle());
    EXPECT_EQ(RGBAt(*pixels, 30, 20), PixelOfColor(kFace));
}
