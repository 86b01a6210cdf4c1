// After a load: the cached indexes, the shadow templates of extended borders, and the
// hue and saturation changes applied to the whole skin.
#include "skin/sSkinManagerBase.h"

#include "paint/sGraphUtils.h"
#include "skin/sSkinLoaders.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace qv {

namespace {

// A 32-bit copy of r of source (clipped to it); empty when nothing is left.
void CopyRect32(const TBitmap& source, TRect r, TBitmap& target) {
    r = IntersectRect(r, TRect{0, 0, source.Width(), source.Height()});
    if (r.IsEmpty() || source.PixelFormat() != pf32bit) {
        target.SetSize(0, 0);
        return;
    }
    TBitmap copy(r.Width(), r.Height(), pf32bit);
    for (int y = 0; y < r.Height(); ++y)
        std::memcpy(copy.ScanLine(y), source.ScanLine(r.Top + y) + r.Left * 4, static_cast<std::size_t>(r.Width()) * 4);
    target.TakeFrom(copy);
}

// Puts a copy taken by CopyRect32 back at r's top-left corner.
void PasteRect32(TBitmap& target, const TRect& r, const TBitmap& piece) {
    const TRect clipped = IntersectRect(r, TRect{0, 0, target.Width(), target.Height()});
    if (clipped.IsEmpty() || piece.Empty() || target.PixelFormat() != pf32bit) return;
    const int w = std::min(piece.Width(), clipped.Width());
    const int h = std::min(piece.Height(), clipped.Height());
    for (int y = 0; y < h; ++y)
        std::memcpy(target.ScanLine(clipped.Top + y) + clipped.Left * 4, piece.ScanLine(y),
                    static_cast<std::size_t>(w) * 4);
}

template <class Shift>
void ShiftSectionColours(TsGeneralData& g, Shift shift, bool withProps) {
    g.Color = shift(g.Color);
    g.HotColor = shift(g.HotColor);
    g.GlowColor = shift(g.GlowColor);
    g.HotGlowColor = shift(g.HotGlowColor);
    for (TColor& c : g.FontColor)
        if (c != clNone) c = shift(c);
    for (TColor& c : g.HotFontColor)
        if (c != clNone) c = shift(c);
    for (TsGradArray* pieces : {&g.GradientArray, &g.HotGradientArray})
        for (TsGradPie& p : *pieces) {
            p.Color1 = shift(p.Color1);
            p.Color2 = shift(p.Color2);
        }
    if (!withProps) return;
    for (TsGenState& s : g.Props) {
        for (TColor* c : {&s.Color, &s.GlowColor, &s.FontColor.Color, &s.FontColor.Left, &s.FontColor.Top,
                          &s.FontColor.Right, &s.FontColor.Bottom})
            if (*c != clNone) *c = shift(*c);
    }
}

}  // namespace

void TsSkinManagerBase::InitConstantIndexes() {
    FillConstantSkinData(ConstData, *this);
    TsSkinModel::InitMaskIndexes();
    CheckShadows();
}

void TsSkinManagerBase::CheckShadows() {
    if (!FActive || !ExtendedBordersInEffect()) {
        FormShadowSize = TRect{};
        return;
    }
    const int ex = ConstData.ExBorder;
    if (!IsValidImgIndex(ex)) {
        ShdaTemplate.Assign(acShdaTemplate);
        ShdiTemplate.Assign(acShdiTemplate);
        FormShadowSize = TRect{9, 9, 9, 9};
    } else {
        const TsMaskData& md = ma[static_cast<std::size_t>(ex)];
        const int offs = SkinData.ExContentOffs;
        if (SkinData.ExDrawMode != 0) FormShadowSize = TRect{offs, offs, offs, offs};
        else FormShadowSize = TRect{md.WL - offs, md.WT - offs, md.WR - offs, md.WB - offs};
        const TBitmap& source = md.Bmp ? *md.Bmp : MasterBitmap;
        const int w = WidthOfImage(md), h = HeightOfImage(md);
        const TRect first{md.R.Left, md.R.Top, md.R.Left + w, md.R.Top + h};
        CopyRect32(source, first, ShdiTemplate);
        if (md.ImageCount > 1) CopyRect32(source, OffsetRect(first, w, 0), ShdaTemplate);
        else ShdaTemplate.Assign(ShdiTemplate);
    }
    if (!ShdaTemplate.Empty()) UpdateTransPixels(ShdaTemplate);
    if (!ShdiTemplate.Empty()) UpdateTransPixels(ShdiTemplate);
}

void TsSkinManagerBase::ChangeSkinHue() {
    const int delta = FHueOffset;
    // Title-bar icons the skin wants to keep their colours: rectangles of the master
    // bitmap are copied out and put back after the shift; icons with a bitmap of their
    // own are simply left out.
    std::vector<std::pair<TRect, std::unique_ptr<TBitmap>>> savedRects;
    std::vector<int> untouched;
    if (SkinData.BIKeepHUE != 0) {
        std::vector<String> icons{L"BICONCLOSE", L"SICONCLOSE"};
        if (SkinData.BIKeepHUE == 1)
            icons.insert(icons.end(), {L"BICONMAX", L"BICONMIN", L"BICONNORM", L"BICONHELP", L"SICONMAX", L"SICONMIN",
                                       L"SICONNORM"});
        for (const String& icon : icons) {
            for (const String& name : {icon, icon + L"GLOW0"}) {
                const int i = GetMaskIndex(L"GLOBALINFO", name);
                if (i < 0) continue;
                const TsMaskData& md = ma[static_cast<std::size_t>(i)];
                if (md.Bmp) {
                    untouched.push_back(i);
                } else {
                    savedRects.emplace_back(md.R, std::make_unique<TBitmap>());
                    CopyRect32(MasterBitmap, md.R, *savedRects.back().second);
                }
            }
        }
    }
    ChangeBmpHUE(&MasterBitmap, delta);
    for (const auto& [r, piece] : savedRects) PasteRect32(MasterBitmap, r, *piece);
    for (std::size_t i = 0; i < ma.size(); ++i) {
        if (!ma[i].Bmp) continue;
        if (std::find(untouched.begin(), untouched.end(), static_cast<int>(i)) != untouched.end()) continue;
        ChangeBmpHUE(ma[i].Bmp.get(), delta);
    }
    auto shift = [delta](TColor c) { return ChangeHue(delta, c); };
    for (TsGeneralData& g : gd) ShiftSectionColours(g, shift, true);
    SkinData.Shadow1Color = shift(SkinData.Shadow1Color);
    SkinData.BorderColor = shift(SkinData.BorderColor);
}

void TsSkinManagerBase::ChangeSkinSaturation() {
    const int value = EffectiveSaturation(FSaturation);
    ChangeBmpSaturation(&MasterBitmap, value);
    for (TsMaskData& md : ma)
        if (md.Bmp) ChangeBmpSaturation(md.Bmp.get(), value);
    auto shift = [value](TColor c) { return ChangeSaturation(c, value); };
    for (TsGeneralData& g : gd) ShiftSectionColours(g, shift, false);
    SkinData.Shadow1Color = shift(SkinData.Shadow1Color);
    SkinData.BorderColor = shift(SkinData.BorderColor);
}

}  // namespace qv
