// A form described like the main window: skinned controls created while the
// description is read, the skin manager last, its skin loaded from the internal pack
// while reading and announced from Loaded. The controls must come up skinned.
#include "SkinnedWindow.h"

#include "controls/win32/sBitBtn.h"
#include "controls/win32/sPanel.h"

namespace qv {
namespace {

class TDescribedForm : public TForm {
public:
    explicit TDescribedForm(TComponent* owner) : TForm(owner) {}
    String ClassName() const override { return L"TDescribedForm"; }
    TsBitBtn* Button = nullptr;
    TsPanel* Panel = nullptr;
    TsBitBtn* InPanel = nullptr;
    TsSkinManager* Manager = nullptr;

protected:
    void ReadDescription(TDescriptionReader& reader) override {
        SetBounds(60, 60, 340, 260);
        Button = reader.Create<TsBitBtn>(this, L"Button");
        Button->SkinData()->SetSkinSection(L"BUTTON");
        Button->SetParent(this);
        Button->SetBounds(10, 10, 200, 60);
        Button->SetCaption(L"Add");
        Panel = reader.Create<TsPanel>(this, L"Panel");
        Panel->SkinData()->SetSkinSection(L"RADIOBUTTON");
        Panel->SetParent(this);
        Panel->SetBounds(0, 150, 300, 48);
        Panel->SetShowCaption(false);
        InPanel = reader.Create<TsBitBtn>(this, L"InPanel");
        InPanel->SkinData()->SetSkinSection(L"BUTTON");
        InPanel->SetParent(Panel);
        InPanel->SetBounds(2, 2, 120, 43);
        Manager = reader.Create<TsSkinManager>(this, L"Manager");
        const auto pack = test::InternalSkinResource();
        test::ActivateInternalSkin(*Manager, test::kInternalSkin, pack.first, pack.second);
    }
};

TEST(DescribedForm, ControlsCreatedBeforeTheManagerComeUpSkinned) {
    ASSERT_NE(test::InternalSkinResource().first, nullptr);
    std::unique_ptr<TDescribedForm> form(NewForm<TDescribedForm>(&Application()));
    ASSERT_TRUE(form->Manager->SkinData.Active);
    for (TsCommonData* b : std::initializer_list<TsCommonData*>{form->Button->SkinData(), form->Panel->SkinData(),
                                                                form->InPanel->SkinData()}) {
        EXPECT_TRUE(b->Skinned(true)) << b->FCOC;
        EXPECT_EQ(b->FSkinIndex, form->Manager->GetSkinIndex(b->FSkinSection));
    }
    form->Show();
    ::UpdateWindow(form->Handle());
    const int panelSection = form->Manager->GetSkinIndex(L"RADIOBUTTON");
    const std::uint32_t panelFace = test::Rgb(form->Manager->gd[panelSection].Color);
    auto panelShown = [&] { return test::Rgb(*test::CaptureScreenOf(form->Panel->Handle()), 200, 24); };
    const int buttonSection = form->Manager->GetSkinIndex(L"BUTTON");
    const std::uint32_t buttonFace = test::GradientRow(*form->Manager, buttonSection, false, 43, 21);
    auto buttonShown = [&] { return test::Rgb(*test::CaptureScreenOf(form->InPanel->Handle()), 12, 21); };
    test::PumpUntil([&] { return test::Near(panelShown(), panelFace, 1) && test::Near(buttonShown(), buttonFace, 2); });
    EXPECT_TRUE(test::Near(panelShown(), panelFace, 1));
    EXPECT_TRUE(test::Near(buttonShown(), buttonFace, 2));
}

}  // namespace
}  // namespace qv
