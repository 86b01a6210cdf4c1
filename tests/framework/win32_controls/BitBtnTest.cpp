// The bitmap button: its window, clicks, and the face it paints (read back through
// WM_PRINTCLIENT as another program would).
#include "framework/win32/Application.h"
#include "framework/win32/Buttons.h"
#include "framework/win32/Forms.h"

#include "win32/TestWindows.h"
#include "WindowCapture.h"

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::test;

namespace {

constexpr std::uint32_t kRed = 0x00FF0000;  // pixel word of clRed
constexpr int kButtonWidth = 100, kButtonHeight = 60, kGlyphSize = 16;

// A 16 x 16 glyph: red, with the bottom-left pixel fuchsia (the transparent colour).
void MakeGlyph(TBitmap& glyph) {
    glyph.SetPixelFormat(pf24bit);
    glyph.SetSize(kGlyphSize, kGlyphSize);
    for (int y = 0; y < kGlyphSize; ++y) {
        std::uint8_t* row = glyph.ScanLine(y);
        for (int x = 0; x < kGlyphSize; ++x) {
            const bool key = x == 0 && y == kGlyphSize - 1;
            row[x * 3 + 0] = key ? 0xFF : 0x00;  // B
            row[x * 3 + 1] = 0x00;               // G
            row[x * 3 + 2] = 0xFF;               // R
        }
    }
}

class BitBtnTest : public ::testing::Test {
protected:
    void SetUp() override {
        Form.reset(NewForm<TForm>(nullptr));
        Form->SetBounds(100, 100, 300, 200);
        Button = new TBitBtn(Form.get());
        Button->SetParent(Form.get());
        Button->SetBounds(10, 10, kButtonWidth, kButtonHeight);
        Button->SetCaption(L"Go");
        Button->OnClick = [this](TComponent*) { ++Clicks; };
    }
    std::unique_ptr<TForm> Form;
    TBitBtn* Button = nullptr;
    int Clicks = 0;
};

}  // namespace

TEST_F(BitBtnTest, IsAnOwnerDrawnSystemButtonClickedByMessageAndKeyboard) {
    const HWND wnd = Button->Handle();
    EXPECT_EQ(ClassNameOf(wnd), L"TBitBtn");
    EXPECT_EQ(::GetWindowLongPtrW(wnd, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_EQ(TextOf(wnd), L"Go");

    ::SendMessageW(wnd, BM_CLICK, 0, 0);
    EXPECT_EQ(Clicks, 1) << "BM_CLICK did not reach OnClick";

    // Space pressed and released on the button clicks it.
    ::SendMessageW(wnd, WM_KEYDOWN, VK_SPACE, 0x00390001);
    ::SendMessageW(wnd, WM_KEYUP, VK_SPACE, static_cast<LPARAM>(0xC0390001u));
    EXPECT_EQ(Clicks, 2) << "the space key did not click";

    // Enter anywhere on the form presses the default button and sets the modal result.
    Button->SetDefault(true);
    Button->ModalResult = mrOk;
    Form->Show();
    Button->SetFocus();
    ::PostMessageW(::GetFocus(), WM_KEYDOWN, VK_RETURN, 0x001C0001);
    Application().ProcessMessages();
    EXPECT_EQ(Clicks, 3) << "Enter did not press the default button";
    EXPECT_EQ(Form->ModalResult(), mrOk);
}

TEST_F(BitBtnTest, KindSetsCaptionResultAndKeys) {
    Button->SetKind(bkCancel);
    EXPECT_EQ(Button->Caption(), L"Cancel");
    EXPECT_EQ(Button->ModalResult, mrCancel);
    EXPECT_TRUE(Button->Cancel);
    Button->SetKind(bkOK);
    EXPECT_EQ(Button->ModalResult, mrOk);
    EXPECT_TRUE(Button->Default());
}

TEST_F(BitBtnTest, PlainFaceHasRaisedEdgesAndTheButtonFace) {
    auto face = CaptureClient(Button->Handle());
    const int w = kButtonWidth, h = kButtonHeight;
    struct Want {
        int X, Y;
        TColor Color;
        const char* What;
    } want[] = {
        {0, 0, clBtnHighlight, "outer top-left"},
        {w / 2, 0, clBtnHighlight, "outer top"},
        {0, h / 2, clBtnHighlight, "outer left"},
        {w - 1, h - 1, cl3DDkShadow, "outer bottom-right"},
        {w - 1, 0, cl3DDkShadow, "outer top-right"},
        {w / 2, h - 1, cl3DDkShadow, "outer bottom"},
        {1, 1, cl3DLight, "inner top-left"},
        {w - 2, h - 2, clBtnShadow, "inner bottom-right"},
        {3, h - 4, clBtnFace, "face"},
        {w - 4, 3, clBtnFace, "face"},
    };
    for (const Want& p : want)
        EXPECT_EQ(RGBAt(*face, p.X, p.Y), PixelOfColor(p.Color)) << p.What << " at (" << p.X << ", " << p.Y << ")";
    // The caption is written in the font colour, centred.
    const TRect text = BoundsOfColor(*face, PixelOfColor(Button->Font().Color()));
    ASSERT_FALSE(text.IsEmpty()) << "no caption pixels";
    EXPECT_NEAR((text.Left + text.Right) / 2, w / 2, 3) << testing::PrintToString(text);
    EXPECT_NEAR((text.Top + text.Bottom) / 2, h / 2, 4) << testing::PrintToString(text);

    // The default button gets a dark outline.
    Button->SetDefault(true);
    face = CaptureClient(Button->Handle());
    EXPECT_EQ(RGBAt(*face, 0, 0), PixelOfColor(clWindowFrame)) << "default outline";
    EXPECT_EQ(RGBAt(*face, 1, 1), PixelOfColor(clBtnHighlight)) << "the raised edge moves inside the outline";
}

TEST_F(BitBtnTest, GlyphGoesWhereTheLayoutPutsIt) {
    TBitmap glyph;
    MakeGlyph(glyph);
    Button->SetGlyph(glyph);
    Button->SetMargin(5);
    const struct {
        TButtonLayout Layout;
        int X, Y;
        const char* Name;
    } cases[] = {
        // Margin from the named edge; centred on the other axis ((size - 16 + 1) / 2).
        {blGlyphLeft, 5, 22, "left"},
        {blGlyphRight, kButtonWidth - 5 - kGlyphSize, 22, "right"},
        {blGlyphTop, 42, 5, "top"},
        {blGlyphBottom, 42, kButtonHeight - 5 - kGlyphSize, "bottom"},
    };
    const std::uint32_t ink = PixelOfColor(Button->Font().Color());
    for (const auto& c : cases) {
        Button->SetLayout(c.Layout);
        auto face = CaptureClient(Button->Handle());
        const TRect red = BoundsOfColor(*face, kRed);
        EXPECT_EQ(red, (TRect{c.X, c.Y, c.X + kGlyphSize, c.Y + kGlyphSize})) << c.Name;
        // The transparent corner shows the face.
        EXPECT_EQ(RGBAt(*face, c.X, c.Y + kGlyphSize - 1), PixelOfColor(clBtnFace)) << c.Name << ": key pixel drawn";
        // The caption lies on the far side of the glyph, 4 pixels (Spacing) or more away.
        const TRect text = BoundsOfColor(*face, ink);
        ASSERT_FALSE(text.IsEmpty()) << c.Name;
        switch (c.Layout) {
        case blGlyphLeft: EXPECT_GE(text.Left, red.Right + 4) << c.Name; break;
        case blGlyphRight: EXPECT_LE(text.Right, red.Left - 4) << c.Name; break;
        case blGlyphTop: EXPECT_GE(text.Top, red.Bottom + 4) << c.Name; break;
        case blGlyphBottom: EXPECT_LE(text.Bottom, red.Top - 4) << c.Name; break;
        }
    }

    // Margin -1 centres glyph and caption together: the gaps to both edges match.
    Button->SetLayout(blGlyphLeft);
    Button->SetMargin(-1);
    auto face = CaptureClient(Button->Handle());
    const TRect red = BoundsOfColor(*face, kRed);
    const TSize textSize = Button->CaptionSize(0);
    const int block = kGlyphSize + 4 + textSize.cx;
    EXPECT_EQ(red.Left, (kButtonWidth - block + 1) / 2);

    // Pressed: everything moves one pixel right and down, and the edge sinks.
    Button->SetMargin(5);
    ::SendMessageW(Button->Handle(), BM_SETSTATE, TRUE, 0);
    face = CaptureClient(Button->Handle());
    EXPECT_EQ(BoundsOfColor(*face, kRed), (TRect{6, 23, 6 + kGlyphSize, 23 + kGlyphSize}));
    EXPECT_EQ(RGBAt(*face, 0, 0), PixelOfColor(clBtnShadow)) << "pressed edge";
    ::SendMessageW(Button->Handle(), BM_SETSTATE, FALSE, 0);
}

TEST_F(BitBtnTest, DisabledFaceEmbossesGlyphAndCaption) {
    TBitmap glyph;
    MakeGlyph(glyph);
    Button->SetGlyph(glyph);
    Button->SetMargin(5);
    const std::uint32_t ink = PixelOfColor(Button->Font().Color());
    ASSERT_NE(ink, PixelOfColor(clBtnShadow));

    auto enabled = CaptureClient(Button->Handle());
    ASSERT_GT(CountColor(*enabled, kRed, {0, 0, kButtonWidth, kButtonHeight}), 0);

    Button->SetEnabled(false);
    auto disabled = CaptureClient(Button->Handle());
    const TRect inside{2, 2, kButtonWidth - 2, kButtonHeight - 2};
    EXPECT_EQ(CountColor(*disabled, kRed, inside), 0) << "the glyph's colours show while disabled";
    EXPECT_EQ(CountColor(*disabled, ink, inside), 0) << "the caption is in its normal colour while disabled";
    // The red glyph is ink: it is drawn in the shadow colour where it stood.
    EXPECT_EQ(RGBAt(*disabled, 5 + 8, 22 + 8), PixelOfColor(clBtnShadow));
    EXPECT_GT(CountColor(*disabled, PixelOfColor(clBtnShadow),
                         {5 + kGlyphSize + 4, 2, kButtonWidth - 2, kButtonHeight - 2}),
              0)
        << "no embossed caption";
    // A click on a disabled button does nothing.
    ::SendMessageW(Button->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(Clicks, 0);
}

TEST(BitBtnLayout, SpacingAndMarginRules) {
    const TRect client{0, 0, 100, 40};
    // Spacing -1 with margin -1: three equal gaps.
    auto r = CalcBitBtnLayout(client, {10, 10}, {20, 8}, blGlyphLeft, -1, -1);
    EXPECT_EQ(r.GlyphPos.X, 23);
    EXPECT_EQ(r.TextBounds.Left, 23 + 10 + 23);
    // Spacing -1 with a margin: the caption sits in the middle of what is left.
    r = CalcBitBtnLayout(client, {10, 10}, {20, 8}, blGlyphLeft, 4, -1);
    EXPECT_EQ(r.GlyphPos.X, 4);
    EXPECT_EQ(r.TextBounds.Left, 4 + 10 + (100 - 14 - 20) / 2);
    // Without a caption the glyph is centred alone; the client origin is added.
    r = CalcBitBtnLayout({10, 20, 110, 60}, {10, 10}, {0, 0}, blGlyphTop, -1, 4);
    EXPECT_EQ(r.GlyphPos.X, 10 + 45);
    EXPECT_EQ(r.GlyphPos.Y, 20 + 15);
}
