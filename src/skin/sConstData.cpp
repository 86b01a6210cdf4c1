#include "skin/sConstData.h"

namespace qv {

// NOLINTNEXTLINE(readability-function-size): a table of section lookups, one a line
void FillConstantSkinData(TConstantSkinData& d, const TsSkinModel& m) noexcept {
    d = TConstantSkinData{};
    // Images with parent fallback, looked up with the section's own index.
    auto image = [&](int index, const wchar_t* section, const wchar_t* name) {
        return m.GetMaskIndex(index, section, name);
    };

    d.IndexGLobalInfo = m.GetSkinIndex(L"GLOBALINFO");
    if (d.IndexGLobalInfo >= 0) {
        const int g = d.IndexGLobalInfo;
        d.CheckBoxChecked = image(g, L"GLOBALINFO", L"BOXCHECKED");
        d.CheckBoxUnChecked = image(g, L"GLOBALINFO", L"BOXUNCHECKED");
        d.CheckBoxGrayed = image(g, L"GLOBALINFO", L"BOXGRAYED");
        d.RadioButtonChecked = image(g, L"GLOBALINFO", L"RADIOCHECKED");
        d.RadioButtonUnChecked = image(g, L"GLOBALINFO", L"RADIOUNCHECKED");
        d.RadioButtonGrayed = image(g, L"GLOBALINFO", L"RADIOGRAYED");
        d.SmallCheckBoxChecked = image(g, L"GLOBALINFO", L"SMALLCHECKED");
        d.SmallCheckBoxUnChecked = image(g, L"GLOBALINFO", L"SMALLUNCHECKED");
        d.SmallCheckBoxGrayed = image(g, L"GLOBALINFO", L"SMALLGRAYED");
        d.ExBorder = image(g, L"GLOBALINFO", L"EXBORDER");
        d.GripRightBottom = image(g, L"GLOBALINFO", L"GRIPIMAGE");
        d.GripHorizontal = image(g, L"GLOBALINFO", L"GRIPHORZ");
        d.GripVertical = image(g, L"GLOBALINFO", L"GRIPVERT");
    }

    d.ComboBtnIndex = m.GetSkinIndex(L"COMBOBTN");
    d.ComboBtnBorder = m.GetMaskIndex(L"COMBOBTN", L"BORDERSMASK");
    d.ComboBtnBG = m.GetTextureIndex(d.ComboBtnIndex, L"COMBOBTN", L"PATTERN");
    d.ComboBtnBGHot = m.GetTextureIndex(d.ComboBtnIndex, L"COMBOBTN", L"HOTPATTERN");
    d.ComboGlyph = m.GetMaskIndex(L"COMBOBOX", L"GLYPHMASK");

    struct Tab {
        const wchar_t* Section;
        int* Index;
        int* Mask;
    };
    for (const Tab& t :
         {Tab{L"TABTOP", &d.IndexTabTop, &d.MaskTabTop}, Tab{L"TABBOTTOM", &d.IndexTabBottom, &d.MaskTabBottom},
          Tab{L"TABLEFT", &d.IndexTabLeft, &d.MaskTabLeft}, Tab{L"TABRIGHT", &d.IndexTabRight, &d.MaskTabRight}}) {
        *t.Index = m.GetSkinIndex(t.Section);
        *t.Mask = image(*t.Index, t.Section, L"BORDERSMASK");
    }

    struct Scroll {
        const wchar_t* Section;
        int* Index;
        int* Mask;
        int* Glyph;
        int* BG;
        int* BGHot;
    };
    for (const Scroll& s : {Scroll{L"SCROLLBTNTOP", &d.IndexScrollTop, &d.MaskScrollTop, &d.MaskArrowTop,
                                   &d.IndexBGScrollTop, &d.IndexBGHotScrollTop},
                            Scroll{L"SCROLLBTNBOTTOM", &d.IndexScrollBottom, &d.MaskScrollBottom, &d.MaskArrowBottom,
                                   &d.IndexBGScrollBottom, &d.IndexBGHotScrollBottom},
                            Scroll{L"SCROLLBTNLEFT", &d.IndexScrollLeft, &d.MaskScrollLeft, &d.MaskArrowLeft,
                                   &d.IndexBGScrollLeft, &d.IndexBGHotScrollLeft},
                            Scroll{L"SCROLLBTNRIGHT", &d.IndexScrollRight, &d.MaskScrollRight, &d.MaskArrowRight,
                                   &d.IndexBGScrollRight, &d.IndexBGHotScrollRight},
                            Scroll{L"SCROLLSLIDERV", &d.IndexSliderVert, &d.MaskSliderVert, &d.MaskSliderGlyphVert,
                                   &d.ScrollSliderBGVert, &d.ScrollSliderBGHotVert},
                            Scroll{L"SCROLLSLIDERH", &d.IndexSliderHorz, &d.MaskSliderHorz, &d.MaskSliderGlyphHorz,
                                   &d.ScrollSliderBGHorz, &d.ScrollSliderBGHotHorz}}) {
        *s.Index = m.GetSkinIndex(s.Section);
        *s.Mask = image(*s.Index, s.Section, L"BORDERSMASK");
        *s.Glyph = image(*s.Index, s.Section, L"GLYPHMASK");
        *s.BG = image(*s.Index, s.Section, L"PATTERN");
        *s.BGHot = image(*s.Index, s.Section, L"HOTPATTERN");
    }

    struct Bar {
        const wchar_t* Section;
        int* Index;
        int* Mask;
        int* BG;
        int* BGHot;
    };
    for (const Bar& b :
         {Bar{L"SCROLLBAR1H", &d.IndexScrollBar1H, &d.MaskScrollBar1H, &d.BGScrollBar1H, &d.BGHotScrollBar1H},
          Bar{L"SCROLLBAR1V", &d.IndexScrollBar1V, &d.MaskScrollBar1V, &d.BGScrollBar1V, &d.BGHotScrollBar1V},
          Bar{L"SCROLLBAR2H", &d.IndexScrollBar2H, &d.MaskScrollBar2H, &d.BGScrollBar2H, &d.BGHotScrollBar2H},
          Bar{L"SCROLLBAR2V", &d.IndexScrollBar2V, &d.MaskScrollBar2V, &d.BGScrollBar2V, &d.BGHotScrollBar2V}}) {
        *b.Index = m.GetSkinIndex(b.Section);
        *b.Mask = image(*b.Index, b.Section, L"BORDERSMASK");
        *b.BG = image(*b.Index, b.Section, L"PATTERN");
        *b.BGHot = image(*b.Index, b.Section, L"HOTPATTERN");
    }

    d.IndexWebBtn = m.GetSkinIndex(L"WEBBUTTON");
}

}  // namespace qv
