#include "controls/win32/sBoundLabel.h"

#include "skin/win32/sSkinManager.h"

namespace qv {

TsEditLabel::TsEditLabel(TComponent* owner) : TLabel(owner) { SetTransparent(true); }

void TsEditLabel::Paint() {
    if (UseSkinColor && DefaultManager && DefaultManager->SkinData.Active && Parent()) {
        const int index = qv::GetFontIndex(this, -1, DefaultManager, 0);
        TColor c = DefaultManager->GetGlobalFontColor();
        if (DefaultManager->IsValidSkinIndex(index)) c = DefaultManager->gd[index].Props[0].FontColor.Color;
        if (Font().Color() != c) Font().SetColor(c);
    }
    TLabel::Paint();
}

TsBoundLabel::TsBoundLabel(TWinControl* control, TsCommonData* commonData)
    : FControl(control), FCommonData(commonData) {}

TsBoundLabel::~TsBoundLabel() = default;  // the label is owned by the control

void TsBoundLabel::SetActive(bool value) {
    if (FActive == value) return;
    FActive = value;
    if (value) {
        if (!FTheLabel) FTheLabel = new TsEditLabel(FControl);
        FTheLabel->SetVisible(false);
        FTheLabel->SetParent(FControl->Parent());
        FTheLabel->SetFocusControl(FControl);
        switch (FLayout) {
        case sclLeft:
        case sclTopRight:
        case sclBottomRight: FTheLabel->SetAlignment(taRightJustify); break;
        case sclTopCenter:
        case sclBottomCenter: FTheLabel->SetAlignment(taCenter); break;
        default: FTheLabel->SetAlignment(taLeftJustify); break;
        }
        FTheLabel->SetName(FControl->Name() + L"Label");
        FTheLabel->SetCaption(FText.empty() ? FControl->Name() : FText);
        FTheLabel->SetVisible(FControl->Visible());
        FTheLabel->SetEnabled(FControl->Enabled());
        FTheLabel->SetAutoSize(true);
        AlignLabel();
    } else {
        delete FTheLabel;
        FTheLabel = nullptr;
    }
}

void TsBoundLabel::AlignLabel() {
    if (!FTheLabel || !FTheLabel->Visible()) return;
    if (FMaxWidth > 0) FTheLabel->Constraints().SetMaxWidth(FMaxWidth);
    const TPoint p = BoundLabelPos(FLayout, FControl->BoundsRect(), {FTheLabel->Width(), FTheLabel->Height()}, FIndent);
    FTheLabel->SetBounds(p.X, p.Y, FTheLabel->Width(), FTheLabel->Height());
    FTheLabel->SetParent(FControl->Parent());
    if (FMaxWidth > 0) FTheLabel->SetWordWrap(FTheLabel->Width() >= FMaxWidth - 4);
}

void TsBoundLabel::SetText(const String& value) {
    FText = value;
    if (FTheLabel) {
        FTheLabel->SetCaption(value.empty() ? FControl->Name() : value);
        AlignLabel();
    }
}
void TsBoundLabel::SetIndent(int value) {
    FIndent = value;
    if (FActive) AlignLabel();
}
void TsBoundLabel::SetLayout(TsCaptionLayout value) {
    FLayout = value;
    if (FActive) {
        SetActive(false);
        SetActive(true);
    }
}
void TsBoundLabel::SetMaxWidth(int value) {
    FMaxWidth = value;
    if (FActive) AlignLabel();
}
void TsBoundLabel::SetFont(const TFont& value) {
    FFont.Assign(value);
    if (FTheLabel) {
        FTheLabel->Font().Assign(value);
        FTheLabel->SetParent(FControl->Parent());
        AlignLabel();
    }
}

}  // namespace qv
