// A canvas selects its font, brush and pen into the DC it draws on and holds them there;
// whichever way it lets the DC go (its end, a lent DC's scope left by an exception), the
// DC has its own objects selected again.
#include "framework/win32/Canvas.h"

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>

namespace qv {
namespace {

struct DCObjects {
    HGDIOBJ Font, Brush, Pen;
    bool operator==(const DCObjects&) const = default;
};

DCObjects SelectedIn(HDC dc) {
    return {::GetCurrentObject(dc, OBJ_FONT), ::GetCurrentObject(dc, OBJ_BRUSH), ::GetCurrentObject(dc, OBJ_PEN)};
}

// A memory DC with a bitmap to draw on, and the objects it started with.
class CanvasSelection : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(FDC);
        ASSERT_TRUE(FBitmap);
        FBitmapSelection.emplace(FDC.get(), FBitmap.get());
        FOwn = SelectedIn(FDC.get());
    }
    void TearDown() override { FBitmapSelection.reset(); }

    // Draws with a font, brush and pen of the canvas's own, changing all three midway
    // so each is selected twice.
    static void DrawWithOwnObjects(TCanvas& canvas) {
        canvas.Brush().SetColor(clRed);
        canvas.Pen().SetColor(clBlue);
        canvas.Font().SetSize(14);
        canvas.Rectangle(1, 1, 10, 10);
        canvas.TextOut(2, 2, L"x");
        canvas.Brush().SetColor(clLime);
        canvas.Pen().SetWidth(3);
        canvas.Font().SetSize(20);
        canvas.Rectangle(2, 2, 12, 12);
        canvas.TextOut(3, 3, L"y");
    }

    UniqueMemoryDC FDC{::CreateCompatibleDC(nullptr)};
    UniqueBitmap FBitmap{::CreateBitmap(32, 32, 1, 32, nullptr)};
    std::optional<SelectScope> FBitmapSelection;
    DCObjects FOwn{};
};

TEST_F(CanvasSelection, TheDCHasItsOwnObjectsBackWhenTheCanvasEnds) {
    {
        TCanvas canvas;
        canvas.SetHandle(FDC.get());
        DrawWithOwnObjects(canvas);
        const DCObjects drawing = SelectedIn(FDC.get());
        EXPECT_NE(drawing.Font, FOwn.Font);
        EXPECT_NE(drawing.Brush, FOwn.Brush);
        EXPECT_NE(drawing.Pen, FOwn.Pen);
        // Still selected between calls: the canvas holds them until it lets the DC go.
        EXPECT_EQ(::GetCurrentObject(FDC.get(), OBJ_BRUSH), canvas.Brush().Handle());
    }
    EXPECT_EQ(SelectedIn(FDC.get()), FOwn);
}

// GDI objects must not be deleted while selected: a changed brush, pen or font is taken
// out of the DC before it is deleted, and the new one is selected at the next drawing.
TEST_F(CanvasSelection, AnObjectChangedWhileSelectedIsDeselectedAndDeleted) {
    TCanvas canvas;
    canvas.SetHandle(FDC.get());
    DrawWithOwnObjects(canvas);
    const HGDIOBJ brush = canvas.Brush().Handle(), pen = canvas.Pen().Handle(), font = canvas.Font().Handle();
    ASSERT_EQ(SelectedIn(FDC.get()), (DCObjects{font, brush, pen}));
    canvas.Brush().SetColor(clSilver);
    canvas.Pen().SetWidth(2);
    canvas.Font().SetSize(9);
    EXPECT_EQ(SelectedIn(FDC.get()), FOwn);
    EXPECT_EQ(::GetObjectType(brush), 0u);
    EXPECT_EQ(::GetObjectType(pen), 0u);
    EXPECT_EQ(::GetObjectType(font), 0u);
    canvas.Rectangle(0, 0, 5, 5);
    EXPECT_EQ(::GetCurrentObject(FDC.get(), OBJ_BRUSH), canvas.Brush().Handle());
    canvas.SetHandle(nullptr);
    EXPECT_EQ(SelectedIn(FDC.get()), FOwn);
}

TEST_F(CanvasSelection, ALentDCIsGivenBackWithItsOwnObjectsWhenDrawingThrows) {
    TCanvas canvas;
    EXPECT_THROW(
        {
            const TCanvasDC lent(canvas, FDC.get());
            DrawWithOwnObjects(canvas);
            throw std::runtime_error("painting failed");
        },
        std::runtime_error);
    EXPECT_FALSE(canvas.HandleAllocated());
    EXPECT_EQ(SelectedIn(FDC.get()), FOwn);
    // The canvas can draw on it again afterwards, and gives it back again.
    {
        const TCanvasDC lent(canvas, FDC.get());
        DrawWithOwnObjects(canvas);
        EXPECT_NE(SelectedIn(FDC.get()), FOwn);
    }
    EXPECT_EQ(SelectedIn(FDC.get()), FOwn);
}

}  // namespace
}  // namespace qv
