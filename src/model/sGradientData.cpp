// Parsing the gradient text of a skin section.
#include "model/sGradientData.h"

#include "framework/SysUtils.h"

#include <algorithm>

namespace qv {

void PrepareGradArray(const String& GradientStr, TsGradArray& GradArray) {
    // Words are separated by ";"; consecutive separators count as one, as in the word
    // utilities that read every other list of the options file.
    std::vector<String> words;
    std::size_t i = 0;
    while (i < GradientStr.size()) {
        while (i < GradientStr.size() && GradientStr[i] == L';') ++i;
        const std::size_t start = i;
        while (i < GradientStr.size() && GradientStr[i] != L';') ++i;
        if (i > start) words.push_back(GradientStr.substr(start, i - start));
    }
    TsGradArray pieces;
    const std::size_t count = words.size() / 5;
    pieces.reserve(count);
    for (std::size_t p = 0; p < count; ++p) {
        const String* w = &words[p * 5];
        TsGradPie pie;
        pie.Color1 = std::max(StrToInt(w[0]), 0);
        pie.Color2 = std::max(StrToInt(w[1]), 0);
        pie.Percent = std::clamp(StrToInt(w[2]), 0, 100);
        pie.Mode1 = StrToInt(w[3]);
        pieces.push_back(pie);  // the fifth word is reserved and not read
    }
    GradArray = std::move(pieces);
}

}  // namespace qv
