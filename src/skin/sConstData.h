// TConstantSkinData: the indexes of well-known sections and images of the loaded skin,
// looked up once per load so painting code does not search by name. Portable.
#pragma once
#include "model/sSkinModel.h"

namespace qv {

// Every field is -1 when the skin lacks that section or image.
struct TConstantSkinData {
    int IndexGLobalInfo = -1;
    int CheckBoxChecked = -1, CheckBoxUnChecked = -1, CheckBoxGrayed = -1;
    int RadioButtonChecked = -1, RadioButtonUnChecked = -1, RadioButtonGrayed = -1;
    int SmallCheckBoxChecked = -1, SmallCheckBoxUnChecked = -1, SmallCheckBoxGrayed = -1;
    int ExBorder = -1;
    int GripRightBottom = -1, GripHorizontal = -1, GripVertical = -1;

    int ComboBtnIndex = -1, ComboBtnBorder = -1, ComboBtnBG = -1, ComboBtnBGHot = -1, ComboGlyph = -1;

    int IndexTabTop = -1, IndexTabBottom = -1, IndexTabLeft = -1, IndexTabRight = -1;
    int MaskTabTop = -1, MaskTabBottom = -1, MaskTabLeft = -1, MaskTabRight = -1;

    int IndexScrollTop = -1, IndexScrollBottom = -1, IndexScrollLeft = -1, IndexScrollRight = -1;
    int IndexSliderVert = -1, IndexSliderHorz = -1;
    int MaskScrollTop = -1, MaskScrollBottom = -1, MaskScrollLeft = -1, MaskScrollRight = -1;
    int MaskSliderVert = -1, MaskSliderHorz = -1;
    int MaskArrowTop = -1, MaskArrowBottom = -1, MaskArrowLeft = -1, MaskArrowRight = -1;
    int MaskSliderGlyphVert = -1, MaskSliderGlyphHorz = -1;
    int IndexBGScrollTop = -1, IndexBGScrollBottom = -1, IndexBGScrollLeft = -1, IndexBGScrollRight = -1;
    int IndexBGHotScrollTop = -1, IndexBGHotScrollBottom = -1, IndexBGHotScrollLeft = -1, IndexBGHotScrollRight = -1;
    int ScrollSliderBGHorz = -1, ScrollSliderBGHotHorz = -1, ScrollSliderBGVert = -1, ScrollSliderBGHotVert = -1;

    int IndexScrollBar1H = -1, IndexScrollBar1V = -1, IndexScrollBar2H = -1, IndexScrollBar2V = -1;
    int MaskScrollBar1H = -1, MaskScrollBar1V = -1, MaskScrollBar2H = -1, MaskScrollBar2V = -1;
    int BGScrollBar1H = -1, BGScrollBar1V = -1, BGScrollBar2H = -1, BGScrollBar2V = -1;
    int BGHotScrollBar1H = -1, BGHotScrollBar1V = -1, BGHotScrollBar2H = -1, BGHotScrollBar2V = -1;

    int IndexWebBtn = -1;
};

// Fills every field from the model (all -1 for an empty model).
void FillConstantSkinData(TConstantSkinData& data, const TsSkinModel& model) noexcept;

}  // namespace qv
