// Blends of bitmaps into bitmaps or towards a colour, fading, and alpha fill.
#include "paint/sGraphUtils.h"

#include "paint/acPixelOps.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <vector>

namespace qv {

namespace {

inline std::uint32_t Load(const std::uint8_t* p) noexcept {
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

inline std::uint8_t RoundByte(double v) noexcept {
    return static_cast<std::uint8_t>(std::clamp(std::nearbyint(v), 0.0, 255.0));
}

bool SameSize(const PixelRows& a, const PixelRows& b) noexcept { return a.Width == b.Width && a.Height == b.Height; }

// Pixel bytes B, G, R of a colour value.
struct Bgr {
    int B, G, R;
};
Bgr ColorBytes(TColor c) noexcept {
    const auto u = static_cast<std::uint32_t>(c);
    return {static_cast<int>((u >> 16) & 0xFF), static_cast<int>((u >> 8) & 0xFF), static_cast<int>(u & 0xFF)};
}

// Whether (x, y) lies in the rounded rectangle [l, r) × [t, b) whose corners are quarter
// circles of the given radius; pixels are sampled at their centres.
bool InRoundRect(int x, int y, int l, int t, int r, int b, int radius) noexcept {
    if (x < l || x >= r || y < t || y >= b) return false;
    if (radius <= 0) return true;
    // Doubled coordinates keep the pixel centres (x + 0.5) integral.
    const int px = 2 * x + 1, py = 2 * y + 1;
    const int cxl = 2 * (l + radius), cxr = 2 * (r - radius);
    const int cyt = 2 * (t + radius), cyb = 2 * (b - radius);
    int dx = 0, dy = 0;
    if (px < cxl) dx = cxl - px;
    else if (px > cxr) dx = px - cxr;
    if (py < cyt) dy = cyt - py;
    else if (py > cyb) dy = py - cyb;
    if (dx == 0 || dy == 0) return true;
    return dx * dx + dy * dy <= 4 * radius * radius;
}

}  // namespace

void BlendTransRectangle(PixelRows dst, int X, int Y, PixelRows src, TRect SrcRect, double Blend,
                         TColor TransColor) noexcept {
    if (dst.Empty() || src.Empty()) return;
    // SrcRect includes its Right column and Bottom row.
    TRect s{SrcRect.Left, SrcRect.Top, SrcRect.Right + 1, SrcRect.Bottom + 1};
    if (s.IsEmpty()) return;
    // Clipping the source moves the destination with it, so every source pixel still
    // lands where it would have without the clip.
    TRect c = ClipRect(s, src.Width, src.Height);
    if (c.IsEmpty()) return;
    int dx = X + (c.Left - s.Left), dy = Y + (c.Top - s.Top);
    if (dx < 0) {
        c.Left -= dx;
        dx = 0;
    }
    if (dy < 0) {
        c.Top -= dy;
        dy = 0;
    }
    const int w = std::min(c.Width(), dst.Width - dx), h = std::min(c.Height(), dst.Height - dy);
    if (w <= 0 || h <= 0) return;
    const bool keyed = TransColor >= 0;
    const std::uint32_t key = ColorToPixel(TransColor, 0);
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* sp = src.Row(c.Top + y) + 4 * c.Left;
        std::uint8_t* dp = dst.Row(dy + y) + 4 * dx;
        for (int x = 0; x < w; ++x, sp += 4, dp += 4) {
            if (keyed && Load(sp) == key) continue;
            for (int k = 0; k < 3; ++k) dp[k] = RoundByte(sp[k] - (sp[k] - dp[k]) * Blend);
        }
    }
}

void BlendTransRectangle(TBitmap* Dst, int X, int Y, TBitmap* Src, TRect SrcRect, double Blend,
                         TColor TransColor) noexcept {
    BlendTransRectangle(Rows32(Dst), X, Y, Rows32(Src), SrcRect, Blend, TransColor);
}

void BlendTransBitmap(PixelRows bmp, double Blend, TColor Color) noexcept {
    if (bmp.Empty()) return;
    const Bgr c = ColorBytes(Color);
    const int cb[3] = {c.B, c.G, c.R};
    for (int y = 0; y < bmp.Height; ++y) {
        std::uint8_t* p = bmp.Row(y);
        for (int x = 0; x < bmp.Width; ++x, p += 4) {
            if (Load(p) == KeyPixel) continue;
            for (int k = 0; k < 3; ++k) p[k] = RoundByte(Blend * (p[k] - cb[k]) + cb[k]);
        }
    }
}

void BlendTransBitmap(TBitmap* Bmp, double Blend, TColor Color) noexcept {
    BlendTransBitmap(Rows32(Bmp), Blend, Color);
}

void BlendBmpByMask(PixelRows src, PixelRows msk, TColor BlendColor) noexcept {
    if (src.Empty() || msk.Empty() || !SameSize(src, msk)) return;
    const Bgr c = ColorBytes(BlendColor);
    const int cb[3] = {c.B, c.G, c.R};
    for (int y = 0; y < src.Height; ++y) {
        std::uint8_t* p = src.Row(y);
        const std::uint8_t* m = msk.Row(y);
        for (int x = 0; x < src.Width; ++x, p += 4, m += 4)
            for (int k = 0; k < 3; ++k) p[k] = static_cast<std::uint8_t>((cb[k] * (256 - m[k]) + p[k] * m[k]) >> 8);
    }
}

void BlendBmpByMask(TBitmap* SrcBmp, TBitmap* MskBmp, TColor BlendColor) noexcept {
    BlendBmpByMask(Rows32(SrcBmp), Rows32(MskBmp), BlendColor);
}

// The mask is built ring by ring in grey levels: the outermost rounded rectangle white
// (the picture stays), each ring further in closer to Transparency's level, the inside at
// that level. The mask is grey, so one word per pixel in a top-down buffer suffices.
void FadeBmp(PixelRows bmp, TRect aRect, int Transparency, TColor Color, int Blur, int Radius) noexcept {
    if (bmp.Empty()) return;
    const TRect r = ClipRect(aRect, bmp.Width, bmp.Height);
    if (r.IsEmpty()) return;
    const int w = r.Width(), h = r.Height();
    const int half = std::min(w, h) / 2;
    const int e = std::clamp(Blur, 0, half);
    const int radius = std::clamp(Radius, 0, half);
    const int target = std::clamp(Transparency, 0, 100) * 255 / 100;
    try {
        std::vector<std::uint32_t> mask(static_cast<std::size_t>(w) * h, 0xFFFFFFFFu);
        auto fill = [&](int inset, int level) {
            const std::uint32_t grey = 0x010101u * static_cast<std::uint32_t>(level);
            for (int y = inset; y < h - inset; ++y)
                for (int x = inset; x < w - inset; ++x)
                    if (InRoundRect(x, y, inset, inset, w - inset, h - inset, radius))
                        mask[static_cast<std::size_t>(y) * w + x] = grey;
        };
        int level = 255;
        for (int i = 0; i <= e; ++i) {
            fill(i, level);
            level = static_cast<int>(std::nearbyint(target + (255.0 - target) / (e + 1) * (e - i)));
        }
        fill(e, level);
        const PixelRows area{bmp.Row(r.Top) + 4 * r.Left, bmp.Delta, w, h};
        const PixelRows maskRows{reinterpret_cast<std::uint8_t*>(mask.data()), static_cast<std::ptrdiff_t>(w) * 4, w,
                                 h};
        BlendBmpByMask(area, maskRows, Color);
    } catch (...) {
        // No memory for the mask: nothing is faded.
    }
}

void FadeBmp(TBitmap* FadedBmp, TRect aRect, int Transparency, TColor Color, int Blur, int Radius) noexcept {
    FadeBmp(Rows32(FadedBmp), aRect, Transparency, Color, Blur, Radius);
}

void SumBitmaps(PixelRows src, PixelRows other, TColor Color) noexcept {
    if (src.Empty() || other.Empty() || !SameSize(src, other)) return;
    const int a = Color & 0xFF;
    const auto row = pixelops::Kernels().SumRow;
    const std::ptrdiff_t rowBytes = static_cast<std::ptrdiff_t>(src.Width) * 4;
    if (src.Delta == other.Delta && (src.Delta == rowBytes || src.Delta == -rowBytes)) {
        // Rows without padding, in the same order: one pass over the whole block.
        const int last = src.Height - 1;
        std::uint8_t* d = src.Delta < 0 ? src.Row(last) : src.Row(0);
        const std::uint8_t* o = other.Delta < 0 ? other.Row(last) : other.Row(0);
        if (rowBytes * src.Height <= INT_MAX) {
            row(d, o, static_cast<int>(rowBytes * src.Height), a);
            return;
        }
    }
    pixelops::RowsInAddressOrder(src.Delta, src.Height,
                                 [&](int y) { row(src.Row(y), other.Row(y), src.Width * 4, a); });
}

void SumBitmaps(TBitmap* SrcBmp, TBitmap* MskBmp, TColor Color) noexcept {
    SumBitmaps(Rows32(SrcBmp), Rows32(MskBmp), Color);
}

void SumBitmapsByMask(PixelRows result, PixelRows src1, PixelRows src2, PixelRows msk, int Percent) noexcept {
    if (result.Empty() || src1.Empty() || src2.Empty()) return;
    if (!SameSize(result, src1) || !SameSize(result, src2)) return;
    const bool masked = !msk.Empty();
    if (masked && !SameSize(result, msk)) return;
    const int fixed = std::clamp(Percent, 0, 256);
    for (int y = 0; y < result.Height; ++y) {
        std::uint8_t* d = result.Row(y);
        const std::uint8_t* a = src1.Row(y);
        const std::uint8_t* b = src2.Row(y);
        const std::uint8_t* m = masked ? msk.Row(y) : nullptr;
        for (int x = 0; x < result.Width; ++x) {
            for (int k = 0; k < 3; ++k) {
                const int i = 4 * x + k;
                const int w = masked ? m[i] : fixed;
                d[i] = static_cast<std::uint8_t>((b[i] * (256 - w) + a[i] * w) >> 8);
            }
        }
    }
}

void SumBitmapsByMask(TBitmap* ResultBmp, TBitmap* Src1, TBitmap* Src2, TBitmap* MskBmp, int Percent) noexcept {
    // A mask that is given but unusable must not silently turn into the fixed weight.
    if (MskBmp && Rows32(MskBmp).Empty()) return;
    SumBitmapsByMask(Rows32(ResultBmp), Rows32(Src1), Rows32(Src2), Rows32(MskBmp), Percent);
}

void FillAlphaRect(PixelRows bmp, TRect R, std::uint8_t Value, bool SkipFuchsia) noexcept {
    if (bmp.Empty()) return;
    const TRect r = ClipRect(R, bmp.Width, bmp.Height);
    if (r.IsEmpty()) return;
    for (int y = r.Top; y < r.Bottom; ++y) {
        std::uint8_t* p = bmp.Row(y) + 4 * r.Left;
        for (int x = r.Left; x < r.Right; ++x, p += 4)
            if (!SkipFuchsia || Load(p) != KeyPixel) p[3] = Value;
    }
}

void FillAlphaRect(TBitmap* Bmp, TRect R, std::uint8_t Value, bool SkipFuchsia) noexcept {
    FillAlphaRect(Rows32(Bmp), R, Value, SkipFuchsia);
}

}  // namespace qv
