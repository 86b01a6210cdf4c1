// Image-list glyphs: the alpha list through the alpha glyph copy, the plain list through
// a scratch picture keyed with magenta.
#include "controls/win32/acImgListDraw.h"

#include "framework/win32/Canvas.h"
#include "paint/PixelRows.h"
#include "paint/sAlphaGraph.h"
#include "paint/sCacheInfo.h"
#include "paint/sGlyphDraw.h"
#include "paint/sGlyphEffects.h"
#include "paint/sGraphUtils.h"

#include <algorithm>

namespace qv {

TRect ImgListSubRect(int ImageWidth, int ImageHeight, int SubImage, int NumGlyphs) noexcept {
    NumGlyphs = std::max(1, NumGlyphs);
    const int w = ImageWidth / NumGlyphs;
    const int index = std::clamp(SubImage, 0, NumGlyphs - 1);
    return {index * w, 0, index * w + w, ImageHeight};
}

void DrawAlphaImgList(TImageList* ImgList, TBitmap* DstBmp, TRect R, int Index, int Blend, TColor GrayedColor,
                      int SubImage, int NumGlyphs, bool Reflected) noexcept {
    if (!ImgList || !DstBmp || Index < 0 || Index >= ImgList->Count()) return;
    try {
        TBitmap image;
        if (!ImgList->GetBitmap(Index, image)) return;
        const TRect src = ImgListSubRect(image.Width(), image.Height(), SubImage, NumGlyphs);
        CopyBmp32(R, src, DstBmp, &image, EmptyCI, false, GrayedColor, std::clamp(Blend, 0, 100), Reflected);
    } catch (...) {
        // No memory for the scratch picture: the glyph is left out.
    }
}

void DrawPlainImgList(TImageList* ImgList, TBitmap* DstBmp, TRect R, int Index, int SubImage, int NumGlyphs, bool Gray,
                      double Blend, bool Reflected) noexcept {
    if (!ImgList || !DstBmp || Index < 0 || Index >= ImgList->Count()) return;
    try {
        // Magenta with alpha 0 wherever the system leaves the scratch alone: the key that
        // the grey and blend steps leave out.
        TBitmap scratch(ImgList->Width(), ImgList->Height(), pf32bit);
        for (int y = 0; y < scratch.Height(); ++y) FillLongword(scratch.ScanLine(y), scratch.Width(), KeyPixel);
        ImgList->Draw(scratch.Canvas().Handle(), 0, 0, Index);
        ::GdiFlush();
        if (Gray) GrayScaleTrans(&scratch, clFuchsia);
        const TRect src = ImgListSubRect(scratch.Width(), scratch.Height(), SubImage, NumGlyphs);
        const int w = std::min(R.Width(), src.Width()), h = std::min(R.Height(), src.Height());
        if (w <= 0 || h <= 0) return;
        BlendTransRectangle(DstBmp, R.Left, R.Top, &scratch, {src.Left, src.Top, src.Left + w - 1, src.Top + h - 1},
                            std::clamp(Blend, 0.0, 1.0), clFuchsia);
        if (Reflected)
            DrawKeyedReflection(DstBmp, {R.Left, R.Top, R.Left + w, R.Top + h}, &scratch, src, clFuchsia,
                                static_cast<int>((1.0 - std::clamp(Blend, 0.0, 1.0)) * 255 + 0.5), acNoTint);
    } catch (...) {
        // No memory or no device context for the scratch picture: the glyph is left out.
    }
}

}  // namespace qv
