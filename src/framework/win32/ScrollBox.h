// TScrollBox: a window holding children that may reach beyond it; scroll bars appear
// when they do and move the children.
#pragma once
#include "framework/win32/Controls.h"
#include "framework/win32/StdCtrls.h"

namespace qv {

class TScrollBox : public TWinControl {
public:
    explicit TScrollBox(TComponent* owner);
    TScrollBox(const TScrollBox&) = delete;
    TScrollBox& operator=(const TScrollBox&) = delete;
    ~TScrollBox() override;
    String ClassName() const override { return L"TScrollBox"; }

    // How far the content is scrolled (0, 0 at the start).
    TPoint ScrollPos() const noexcept { return FScrollPos; }
    void SetScrollPos(TPoint pos);
    // The size of the content: the right and bottom edges of the visible children,
    // measured from the content's origin.
    TSize ContentSize();
    // Brings the scroll bars in line with the children and the window's size. Runs on
    // resizes, child changes, alignment and painting (a moved child makes its parent
    // repaint), and can be called after moving children.
    void UpdateScrollBars();
    // Scrolls so that control is fully visible (as far as it fits).
    void ScrollInView(TControl* control);

    TBorderStyle BorderStyle() const noexcept { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle style);
    int LineSize = 8;  // pixels per arrow click

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void WndProc(TMessage& message) override;
    void AlignControls(TControl* aControl, TRect& rect) override;

private:
    void Scroll(int bar, WPARAM request);
    // Moves every child by (dx, dy) and the window content with them.
    void ScrollBy(int dx, int dy);

    TPoint FScrollPos;
    TBorderStyle FBorderStyle = bsSingle;
    bool FUpdatingBars = false;
};

}  // namespace qv
