// The glyph of a skinned push button, drawn into its cache at the layout's glyph
// rectangle: a 32-bit glyph with its own alpha, another bitmap by its transparent
// colour, or an image of the button's image list.
#include "controls/win32/sBitBtn.h"

#include <algorithm>

namespace qv {

void TsBitBtn::DrawGlyph() {
    TBitmap* cache = FCommonData->FCacheBmp.get();
    const TRect r = ImgRect();
    if (r.IsEmpty()) return;
    const int s = CurrentState();
    HDC dc = cache->Canvas().Handle();
    if (!Glyph().Empty()) {
        TBitmap& g = Glyph();
        const int index = std::min(s, std::max(1, NumGlyphs()) - 1);
        const int w = r.Width();
        if (g.PixelFormat() == pf32bit) {
            // Alpha glyph: each pixel blended by its own alpha, faded by Blend in the
            // normal state.
            const int blend = s == 0 ? FBlend : 0;
            for (int y = 0; y < r.Height() && y < g.Height(); ++y) {
                const int dy = r.Top + y;
                if (dy < 0 || dy >= cache->Height()) continue;
                const int sy = FReflected ? y : y;
                const std::uint8_t* src = g.ScanLine(sy) + index * w * 4;
                std::uint8_t* dst = cache->ScanLine(dy);
                for (int x = 0; x < w; ++x) {
                    const int dx = r.Left + x;
                    if (dx < 0 || dx >= cache->Width()) continue;
                    const int a = src[x * 4 + 3] * (100 - blend) / 100;
                    for (int ch = 0; ch < 3; ++ch)
                        dst[dx * 4 + ch] = static_cast<std::uint8_t>((src[x * 4 + ch] * a + dst[dx * 4 + ch] * (255 - a)) / 255);
                }
            }
        } else {
            const TColor trans = static_cast<TColor>(::GetPixel(g.Canvas().Handle(), 0, g.Height() - 1));
            ::TransparentBlt(dc, r.Left, r.Top, w, r.Height(), g.Canvas().Handle(), index * w, 0, w, r.Height(),
                             static_cast<UINT>(trans));
        }
    } else if (UsableImages()) {
        FImages->Draw(dc, r.Left, r.Top, FImageIndex, Enabled());
    }
}

}  // namespace qv
