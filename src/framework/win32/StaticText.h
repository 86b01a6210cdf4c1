// TStaticText: text in a window of its own ("STATIC" superclassed as "TStaticText"), so
// other programs (screen readers, UI automation) read it as the window's text.
#pragma once
#include "framework/win32/Controls.h"
#include "framework/win32/StdCtrls.h"

namespace qv {

enum TStaticBorderStyle { sbsNone, sbsSingle, sbsSunken };

class TStaticText : public TWinControl {
public:
    explicit TStaticText(TComponent* owner);
    TStaticText(const TStaticText&) = delete;
    TStaticText& operator=(const TStaticText&) = delete;
    ~TStaticText() override;
    String ClassName() const override { return L"TStaticText"; }

    TAlignment Alignment() const noexcept { return FAlignment; }
    void SetAlignment(TAlignment alignment);
    // Left-aligned text wraps at the control's width unless this is off; centred and
    // right-aligned text always wraps.
    bool WordWrap() const noexcept { return FWordWrap; }
    void SetWordWrap(bool on);
    // "&x" underlines x; off shows ampersands as they are.
    bool ShowAccelChar() const noexcept { return FShowAccelChar; }
    void SetShowAccelChar(bool on);
    TStaticBorderStyle BorderStyle() const noexcept { return FBorderStyle; }
    void SetBorderStyle(TStaticBorderStyle style);
    // The control that gets the focus when the text's accelerator key is pressed.
    TWinControl* FocusControl() const noexcept { return FFocusControl; }
    void SetFocusControl(TWinControl* control);

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    TAlignment FAlignment = taLeftJustify;
    bool FWordWrap = true;
    bool FShowAccelChar = true;
    TStaticBorderStyle FBorderStyle = sbsNone;
    TWinControl* FFocusControl = nullptr;
};

}  // namespace qv
