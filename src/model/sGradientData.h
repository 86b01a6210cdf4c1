// The gradient of a skin section as data: its pieces and the parsing of the gradient
// text of the options file. Painting it is the painting layer's work. Portable.
#pragma once
#include "framework/Types.h"

#include <vector>

namespace qv {

// One piece of a gradient.
struct TsGradPie {
    TColor Color1 = 0;  // colour at the start of the piece
    TColor Color2 = 0;  // colour at the end of the piece
    int Percent = 0;    // share of the painted extent, 0..100
    int Mode1 = 0;      // 0 vertical, 1 horizontal, 2 triangles (the first piece decides)
    int Mode2 = 0;      // never set
};

using TsGradArray = std::vector<TsGradPie>;

// Replaces GradArray by the pieces of GradientStr (groups of five ";"-separated integers).
// Throws EConvertError for a word that is not an integer.
void PrepareGradArray(const String& GradientStr, TsGradArray& GradArray);

}  // namespace qv
