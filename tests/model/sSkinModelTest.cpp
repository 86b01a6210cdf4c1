// The model's lookups on a model built by hand (no loader): sections by exact name,
// images and patterns up the PARENTCLASS chain, which ends on a loop.
#include "model/sSkinModel.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

class SkinModelLookups : public ::testing::Test {
protected:
    void SetUp() override {
        Section(L"BUTTON", L"");
        Section(L"EDIT", L"BUTTON");
        Section(L"COMBOBOX", L"EDIT");
        Section(L"SELF", L"SELF");
        Section(L"LOOP1", L"LOOP2");
        Section(L"LOOP2", L"LOOP1");
        Section(L"EDIT", L"");  // a second section of the same name is never found
        Image(L"BUTTON", L"BORDERSMASK", itisaBorder);
        Image(L"BUTTON", L"BORDERSMASK", itisaBorder);  // the first one counts
        Image(L"EDIT", L"PATTERN", itisaBorder);
        Image(L"BUTTON", L"PATTERN", itisaTexture);
        TsPatternData p;
        p.ClassName = L"BUTTON";
        p.PropertyName = L"PICTURE";
        m.pa.push_back(std::move(p));
    }
    void Section(const wchar_t* name, const wchar_t* parent) {
        TsGeneralData gd;
        gd.ClassName = name;
        gd.ParentClass = parent;
        m.gd.push_back(gd);
    }
    void Image(const wchar_t* section, const wchar_t* property, TacImgType type) {
        TsMaskData md;
        md.ClassName = section;
        md.PropertyName = property;
        md.ImgType = type;
        m.ma.push_back(std::move(md));
    }
    int Mask(const wchar_t* section, const wchar_t* property) const {
        return m.GetMaskIndex(m.GetSkinIndex(section), section, property);
    }
    TsSkinModel m;
};

TEST_F(SkinModelLookups, SectionsByExactNameFirstOneWins) {
    EXPECT_EQ(m.GetSkinIndex(L"BUTTON"), 0);
    EXPECT_EQ(m.GetSkinIndex(L"EDIT"), 1);
    EXPECT_EQ(m.GetSkinIndex(L"button"), -1);
    EXPECT_EQ(m.GetSkinIndex(L""), -1);
}

TEST_F(SkinModelLookups, ImagesFollowTheParentsOnlyWhenAskedTo) {
    EXPECT_EQ(Mask(L"BUTTON", L"BORDERSMASK"), 0);
    EXPECT_EQ(Mask(L"EDIT", L"BORDERSMASK"), 0);      // the parent's
    EXPECT_EQ(Mask(L"COMBOBOX", L"BORDERSMASK"), 0);  // the grandparent's
    EXPECT_EQ(Mask(L"BUTTON", L"bordersmask"), -1);
    EXPECT_EQ(m.GetMaskIndex(L"EDIT", L"BORDERSMASK"), -1);  // no parent fall-back
    EXPECT_EQ(m.GetMaskIndex(-1, L"BUTTON", L"BORDERSMASK"), -1);
    // A section that is its own parent, and two that are each other's, end the walk.
    EXPECT_EQ(Mask(L"SELF", L"BORDERSMASK"), -1);
    EXPECT_EQ(Mask(L"LOOP1", L"BORDERSMASK"), -1);
}

TEST_F(SkinModelLookups, TexturesAndPatternsUpTheChain) {
    // EDIT's own PATTERN is a border image: the texture is the parent's.
    EXPECT_EQ(m.GetTextureIndex(m.GetSkinIndex(L"EDIT"), L"EDIT", L"PATTERN"), 3);
    EXPECT_EQ(m.GetPatternIndex(m.GetSkinIndex(L"COMBOBOX"), L"COMBOBOX", L"PICTURE"), 0);
    EXPECT_EQ(m.GetPatternIndex(m.GetSkinIndex(L"SELF"), L"SELF", L"PICTURE"), -1);
}

}  // namespace
}  // namespace qv
