// A caption label kept beside a control (TsBoundLabel) and the label it shows
// (TsEditLabel), whose font colour follows the skin.
#pragma once
#include "controls/win32/sCommonData.h"
#include "framework/win32/StdCtrls.h"

namespace qv {

class TsEditLabel : public TLabel {
public:
    explicit TsEditLabel(TComponent* owner);
    String ClassName() const override { return L"TsEditLabel"; }
    // Font colour from the skin (the section of the parent) instead of the label's own.
    bool UseSkinColor = true;

protected:
    void Paint() override;
};

class TsBoundLabel {
public:
    TsBoundLabel(TWinControl* control, TsCommonData* commonData);
    ~TsBoundLabel();
    TsBoundLabel(const TsBoundLabel&) = delete;
    TsBoundLabel& operator=(const TsBoundLabel&) = delete;

    bool Active() const noexcept { return FActive; }
    void SetActive(bool value);
    const String& Caption() const noexcept { return FText; }
    void SetText(const String& value);
    int Indent() const noexcept { return FIndent; }
    void SetIndent(int value);
    TsCaptionLayout Layout() const noexcept { return FLayout; }
    void SetLayout(TsCaptionLayout value);
    int MaxWidth() const noexcept { return FMaxWidth; }
    void SetMaxWidth(int value);
    TFont& Font() noexcept { return FTheLabel ? FTheLabel->Font() : FFont; }
    void SetFont(const TFont& value);
    bool UseSkinColor() const noexcept { return FTheLabel ? FTheLabel->UseSkinColor : true; }
    void SetUseSkinColor(bool value) noexcept {
        if (FTheLabel) FTheLabel->UseSkinColor = value;
    }

    void AlignLabel();
    TsEditLabel* TheLabel() const noexcept { return FTheLabel; }

private:
    int FMaxWidth = 0;
    String FText;
    TsCaptionLayout FLayout = sclLeft;
    TFont FFont;
    int FIndent = 0;
    bool FActive = false;
    TsEditLabel* FTheLabel = nullptr;  // owned by the control
    TWinControl* FControl;
    TsCommonData* FCommonData;
};

}  // namespace qv
