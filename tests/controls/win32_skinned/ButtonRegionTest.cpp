// A skinned push button whose border mask cuts its corners out of the window: the
// window region follows the mask and the button's size, and the parent shows through
// the cut corners.
#include "SkinnedWindow.h"

#include "controls/win32/sBitBtn.h"
#include "skin/win32/sMessages.h"

namespace qv {
namespace {

class RegionButton : public test::SkinnedWindow {
protected:
    void SetUp() override {
        test::SkinnedWindow::SetUp();
        if (HasFatalFailure()) return;
        button = Place<TsBitBtn>(20, 20, 160, 60);
        // The huge button mask of the internal skin is the one drawn with a window region.
        button->SkinData()->SetSkinSection(L"BUTTON_HUGE");
        AddFocusSink(20, 200);
    }
    // The button's window region now, or none.
    struct Region {
        HRGN Handle = ::CreateRectRgn(0, 0, 0, 0);
        int Kind = ERROR;
        ~Region() { ::DeleteObject(Handle); }
        bool Has(int x, int y) const { return ::PtInRegion(Handle, x, y) != 0; }
    };
    std::unique_ptr<Region> WindowRegion() {
        auto r = std::make_unique<Region>();
        r->Kind = ::GetWindowRgn(button->Handle(), r->Handle);
        return r;
    }

    TsBitBtn* button = nullptr;
};

TEST_F(RegionButton, CornersAreCutFromTheWindowAndShowTheForm) {
    ShowAndPaint();
    const TsSkinManager& m = *manager;
    ASSERT_TRUE(m.IsValidImgIndex(button->SkinData()->FBorderIndex));
    ASSERT_EQ(m.ma[button->SkinData()->FBorderIndex].CornerType, 2);
    const auto rgn = WindowRegion();
    ASSERT_EQ(rgn->Kind, COMPLEXREGION);
    EXPECT_FALSE(rgn->Has(0, 0));
    EXPECT_FALSE(rgn->Has(159, 59));
    EXPECT_TRUE(rgn->Has(80, 30));
    EXPECT_TRUE(rgn->Has(80, 0));  // the straight edges stay
    // What the screen shows at a cut corner is the form's own face.
    const auto shot = test::CaptureScreenOf(button->Handle());
    EXPECT_TRUE(test::Near(test::Rgb(*shot, 0, 0), test::Rgb(clBtnFace), 2));
    EXPECT_TRUE(test::Near(test::Rgb(*shot, 159, 59), test::Rgb(clBtnFace), 2));
}

TEST_F(RegionButton, RegionFollowsASmallerSizeAndTheOldCornersAreRepainted) {
    ShowAndPaint();
    button->SetBounds(20, 20, 120, 40);
    test::PumpUntil([&] { return !WindowRegion()->Has(119, 39); });  // the region follows the size
    const auto rgn = WindowRegion();
    ASSERT_EQ(rgn->Kind, COMPLEXREGION);
    EXPECT_FALSE(rgn->Has(119, 39));
    EXPECT_TRUE(rgn->Has(60, 20));
    // Where the old bottom-right corner lay, the form shows again.
    POINT old{20 + 158, 20 + 58};
    ::MapWindowPoints(form->Handle(), nullptr, &old, 1);
    RECT frame{};
    ::GetWindowRect(form->Handle(), &frame);
    auto oldCorner = [&] {
        return test::Rgb(*test::CaptureScreenOf(form->Handle()), old.x - frame.left, old.y - frame.top);
    };
    test::PumpUntil([&] { return static_cast<bool>(test::Near(oldCorner(), test::Rgb(clBtnFace), 2)); });
    EXPECT_TRUE(test::Near(oldCorner(), test::Rgb(clBtnFace), 2));
}

TEST_F(RegionButton, RemovingTheSkinGivesTheWindowItsRectangleBack) {
    ShowAndPaint();
    ASSERT_EQ(WindowRegion()->Kind, COMPLEXREGION);
    // The form here belongs to no application list, so the announcement the manager
    // broadcasts is handed to its controls directly.
    manager->SetActive(false);
    TMessage removed = MakeAlphaMessage(SKC_REMOVESKIN, reinterpret_cast<LPARAM>(manager));
    AlphaBroadCast(form.get(), removed);
    test::PumpUntil([&] { return WindowRegion()->Kind == ERROR; });
    EXPECT_EQ(WindowRegion()->Kind, ERROR);  // no region: the whole window
}

}  // namespace
}  // namespace qv
