// TPanel: a container window with bevels, a border and an optional caption.
#pragma once
#include "framework/win32/Controls.h"
#include "framework/win32/StdCtrls.h"

namespace qv {

// How a bevel looks: none, sunk into the surface, raised from it, or a plain band of
// the panel's colour as wide as a bevel.
enum TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };

// A window holding other controls. From the outside in it paints: the outer bevel
// (BevelWidth wide), a band of BorderWidth in the panel's colour, the inner bevel
// (BevelWidth wide), then its face in Color (or the parent's background with
// ParentBackground) with the caption. Aligned children are laid out inside all of
// these. BorderStyle bsSingle adds a sunken window edge outside the client area.
class TPanel : public TCustomControl {
public:
    explicit TPanel(TComponent* owner);
    TPanel(const TPanel&) = delete;
    TPanel& operator=(const TPanel&) = delete;
    ~TPanel() override;
    String ClassName() const override { return L"TPanel"; }

    TPanelBevel BevelInner() const noexcept { return FBevelInner; }
    void SetBevelInner(TPanelBevel bevel);
    TPanelBevel BevelOuter() const noexcept { return FBevelOuter; }
    void SetBevelOuter(TPanelBevel bevel);
    int BevelWidth() const noexcept { return FBevelWidth; }
    void SetBevelWidth(int width);  // 1 or more
    int BorderWidth() const noexcept { return FBorderWidth; }
    void SetBorderWidth(int width);  // 0 or more
    TBorderStyle BorderStyle() const noexcept { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle style);  // bsNone or bsSingle
    TAlignment Alignment() const noexcept { return FAlignment; }
    void SetAlignment(TAlignment alignment);
    TVerticalAlignment VerticalAlignment() const noexcept { return FVerticalAlignment; }
    void SetVerticalAlignment(TVerticalAlignment alignment);
    bool ShowCaption() const noexcept { return FShowCaption; }
    void SetShowCaption(bool on);
    // Paint the parent's background instead of Color behind the caption.
    void SetParentBackground(bool on);

    // The width of everything between the client edge and the face: the border band
    // and the bevels that are not bvNone.
    int FrameInset() const noexcept;
    // The client rectangle less FrameInset on every side: where children are aligned.
    void AdjustClientRect(TRect& rect) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint() override;
    void WndProc(TMessage& message) override;
    // Paints one bevel just inside rect and shrinks rect by its width.
    virtual void PaintBevel(HDC dc, TRect& rect, TPanelBevel bevel);
    // Writes the caption inside rect by Alignment and VerticalAlignment.
    virtual void PaintCaption(HDC dc, const TRect& rect);
    // The parent's pixels behind the panel, or the panel colour when there are none.
    void PaintParentBackground(HDC dc, const TRect& rect);
    // The DrawText flags of the caption.
    UINT CaptionFlags() const noexcept;

private:
    void FrameChanged();

    TPanelBevel FBevelInner = bvNone;
    TPanelBevel FBevelOuter = bvRaised;
    int FBevelWidth = 1;
    int FBorderWidth = 0;
    TBorderStyle FBorderStyle = bsNone;
    TAlignment FAlignment = taCenter;
    TVerticalAlignment FVerticalAlignment = taVerticalCenter;
    bool FShowCaption = true;
};

}  // namespace qv
