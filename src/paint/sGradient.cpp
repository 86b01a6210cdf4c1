// Gradient painting.
#include "paint/sGradient.h"

#include "paint/acPixelOps.h"

#include "framework/SysUtils.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace qv {

namespace {

// Nearest integer of num / den (den > 0), ties to even.
std::int64_t RoundDiv(std::int64_t num, std::int64_t den) noexcept {
    std::int64_t q = num / den, r = num % den;
    if (r < 0) {
        q -= 1;
        r += den;
    }
    if (2 * r > den || (2 * r == den && (q & 1))) ++q;
    return q;
}

struct Rgb {
    int R, G, B;
};

Rgb SplitColor(TColor c) noexcept {
    const auto u = static_cast<std::uint32_t>(c);
    return {static_cast<int>(u & 0xFF), static_cast<int>((u >> 8) & 0xFF), static_cast<int>((u >> 16) & 0xFF)};
}

std::uint32_t PixelOf(int r, int g, int b) noexcept {
    return 0xFF000000u | (static_cast<std::uint32_t>(r) << 16) | (static_cast<std::uint32_t>(g) << 8) |
           static_cast<std::uint32_t>(b);
}

void FillPixels(std::uint8_t* p, int count, std::uint32_t value) noexcept {
    pixelops::FillRow(reinterpret_cast<acPixel32*>(p), count, value);
}

// The colours of a linear gradient along one axis, for the positions first..first+size-1
// of that axis (the clipped rectangle). Painted holds the span the pieces wrote.
struct Profile {
    std::vector<std::uint32_t> Colors;
    int First = 0;
    int PaintedLo = 0, PaintedHi = -1;  // inclusive; empty when Hi < Lo
    bool Painted(int pos) const noexcept { return pos >= PaintedLo && pos <= PaintedHi; }
    std::uint32_t At(int pos) const noexcept { return Colors[static_cast<std::size_t>(pos - First)]; }
};

// Positions s..e inclusive from c1 to c2. Each channel is the exact value
// c1 + (c2 − c1) × k / n taken to the nearest integer (ties to even), so the first pixel
// is exactly the start colour and the last exactly the end colour on every target.
void InterpolatePiece(Profile& profile, int s, int e, TColor c1, TColor c2) noexcept {
    const int n = e - s;
    if (n <= 0) return;
    const int lo = profile.First, hi = profile.First + static_cast<int>(profile.Colors.size());
    const Rgb a = SplitColor(c1), b = SplitColor(c2);
    const int from = std::max(s, lo), to = std::min(e, hi - 1);
    for (int pos = from; pos <= to; ++pos) {
        const std::int64_t k = pos - s;
        const int r = static_cast<int>(RoundDiv(std::int64_t{a.R} * n + std::int64_t{b.R - a.R} * k, n));
        const int g = static_cast<int>(RoundDiv(std::int64_t{a.G} * n + std::int64_t{b.G - a.G} * k, n));
        const int bl = static_cast<int>(RoundDiv(std::int64_t{a.B} * n + std::int64_t{b.B - a.B} * k, n));
        profile.Colors[static_cast<std::size_t>(pos - lo)] = PixelOf(r, g, bl);
    }
    if (from <= to) {
        if (profile.PaintedHi < profile.PaintedLo) {
            profile.PaintedLo = from;
            profile.PaintedHi = to;
        } else {
            profile.PaintedLo = std::min(profile.PaintedLo, from);
            profile.PaintedHi = std::max(profile.PaintedHi, to);
        }
    }
}

int ClampPercent(int p) noexcept { return std::clamp(p, 0, 100); }

// Horizontal pieces: each ends Percent × (width / 100) pixels (rounded) after its start;
// the last always ends on the right edge − 1, the others never beyond it.
Profile HorizontalProfile(const TsGradArray& data, TRect r) noexcept {
    Profile profile;
    profile.First = r.Left;
    profile.Colors.assign(static_cast<std::size_t>(r.Width()), 0);
    const double step = r.Width() / 100.0;
    const int lastPos = r.Right - 1;
    int pos = r.Left;
    for (std::size_t i = 0; i < data.size(); ++i) {
        const int s = pos;
        int e;
        if (i + 1 == data.size()) {
            e = lastPos;
        } else {
            const double len = static_cast<double>(ClampPercent(data[i].Percent)) * step;
            e = std::min(s + static_cast<int>(std::nearbyint(len)), lastPos);
        }
        InterpolatePiece(profile, s, e, data[i].Color1, data[i].Color2);
        pos = e;
    }
    return profile;
}

// Vertical pieces: each ends (height + offsetY) × Percent div 100 rows after its start,
// starting at the top + offsetY; the last always ends on the bottom edge − 1.
Profile VerticalProfile(const TsGradArray& data, TRect r, int offsetY) noexcept {
    Profile profile;
    profile.First = r.Top;
    profile.Colors.assign(static_cast<std::size_t>(r.Height()), 0);
    const std::int64_t extent = std::int64_t{r.Height()} + offsetY;
    const int lastPos = r.Bottom - 1;
    std::int64_t pos = std::int64_t{r.Top} + offsetY;
    for (std::size_t i = 0; i < data.size(); ++i) {
        const std::int64_t s = pos;
        std::int64_t e;
        if (i + 1 == data.size()) e = lastPos;
        else e = std::min<std::int64_t>(s + extent * ClampPercent(data[i].Percent) / 100, lastPos);
        // Positions far outside the rectangle paint nothing; keep them in int range.
        if (e - s > 0 && e >= r.Top && s <= lastPos)
            InterpolatePiece(profile, static_cast<int>(std::max<std::int64_t>(s, INT32_MIN / 2)), static_cast<int>(e),
                             data[i].Color1, data[i].Color2);
        pos = e;
    }
    return profile;
}

// Triangle mode: the rectangle's corners and its centre, four triangles filled with
// barycentric interpolation of the vertex colours. Pixels sample at their integer
// coordinates, so the top-left pixel shows V0's colour exactly; each pixel belongs to the
// first triangle (in drawing order) that contains it, and channels are rounded to nearest.
void PaintTriangles(PixelRows bmp, TRect r, const TsGradArray& data) noexcept {
    struct Vertex {
        std::int64_t X, Y;
        Rgb C;
    };
    const int w = r.Width(), h = r.Height();
    Vertex v[5] = {{r.Left, r.Top, {}},
                   {r.Left + w / 2, r.Top + h / 2, {}},
                   {r.Right, r.Top, {}},
                   {r.Right, r.Bottom, {}},
                   {r.Left, r.Bottom, {}}};
    for (std::size_t k = 0; k < 5; ++k) v[k].C = k < data.size() ? SplitColor(data[k].Color1) : v[k - 1].C;

    struct Triangle {
        const Vertex *A, *B, *C;
        std::int64_t Area;  // twice the signed area, made positive by the vertex order
    };
    auto edge = [](const Vertex& a, const Vertex& b, std::int64_t x, std::int64_t y) noexcept {
        return (b.X - a.X) * (y - a.Y) - (b.Y - a.Y) * (x - a.X);
    };
    Triangle tris[4];
    int count = 0;
    const int order[4][3] = {{0, 1, 2}, {1, 2, 3}, {0, 1, 4}, {4, 1, 3}};
    for (const auto& o : order) {
        const Vertex *a = &v[o[0]], *b = &v[o[1]], *c = &v[o[2]];
        std::int64_t area = edge(*a, *b, c->X, c->Y);
        if (area == 0) continue;  // degenerate (a rectangle one pixel high or wide)
        if (area < 0) {
            std::swap(b, c);
            area = -area;
        }
        tris[count++] = {a, b, c, area};
    }
    for (int y = r.Top; y < r.Bottom; ++y) {
        std::uint8_t* row = bmp.Row(y);
        for (int x = r.Left; x < r.Right; ++x) {
            for (int t = 0; t < count; ++t) {
                const Triangle& tri = tris[t];
                const std::int64_t wa = edge(*tri.B, *tri.C, x, y);
                const std::int64_t wb = edge(*tri.C, *tri.A, x, y);
                const std::int64_t wc = edge(*tri.A, *tri.B, x, y);
                if (wa < 0 || wb < 0 || wc < 0) continue;
                auto mix = [&](int ca, int cb, int cc) noexcept {
                    return static_cast<int>(RoundDiv(wa * ca + wb * cb + wc * cc, tri.Area));
                };
                const std::uint32_t px = PixelOf(mix(tri.A->C.R, tri.B->C.R, tri.C->C.R),
                                                 mix(tri.A->C.G, tri.B->C.G, tri.C->C.G),
                                                 mix(tri.A->C.B, tri.B->C.B, tri.C->C.B));
                std::memcpy(row + 4 * x, &px, 4);
                break;
            }
        }
    }
}

}  // namespace

void PaintGrad(PixelRows bmp, TRect aRect, const TsGradArray& Data, int /*OffsetX*/, int OffsetY) noexcept {
    if (bmp.Empty() || aRect.IsEmpty() || Data.empty()) return;
    const TRect r = ClipRect(aRect, bmp.Width, bmp.Height);
    if (r.IsEmpty()) return;
    try {
        switch (Data[0].Mode1) {
        case 1: {
            // One row is computed and copied onto every further row.
            const Profile profile = HorizontalProfile(Data, r);
            if (profile.PaintedHi < profile.PaintedLo) return;
            const int lo = profile.PaintedLo, n = profile.PaintedHi - lo + 1;
            std::uint8_t* top = bmp.Row(r.Top) + 4 * lo;
            std::memcpy(top, &profile.Colors[static_cast<std::size_t>(lo - profile.First)],
                        static_cast<std::size_t>(n) * 4);
            for (int y = r.Top + 1; y < r.Bottom; ++y)
                std::memcpy(bmp.Row(y) + 4 * lo, top, static_cast<std::size_t>(n) * 4);
            return;
        }
        case 0: {
            const Profile profile = VerticalProfile(Data, r, OffsetY);
            const int width = r.Width();
            for (int y = std::max(r.Top, profile.PaintedLo); y <= profile.PaintedHi; ++y)
                FillPixels(bmp.Row(y) + 4 * r.Left, width, profile.At(y));
            return;
        }
        case 2: PaintTriangles(bmp, r, Data); return;
        default: return;
        }
    } catch (...) {
        // Only the scratch row can fail (out of memory): painting then leaves the bitmap.
    }
}

void PaintGrad(TBitmap* Bmp, TRect aRect, const TsGradArray& Data, int OffsetX, int OffsetY) noexcept {
    PaintGrad(Rows32(Bmp), aRect, Data, OffsetX, OffsetY);
}

void PaintGradTxt(PixelRows bmp, TRect aRect, const TsGradArray& Data, PixelRows texture, TRect TextureRect,
                  int TextureAlpha) noexcept {
    if (bmp.Empty() || texture.Empty() || aRect.IsEmpty() || Data.empty()) return;
    const int mode = Data[0].Mode1;
    if (mode != 0 && mode != 1) return;
    const TRect r = ClipRect(aRect, bmp.Width, bmp.Height);
    if (r.IsEmpty()) return;
    if (TextureRect.IsEmpty()) TextureRect = texture.Bounds();
    // The tile keeps at least one pixel clear of the texture's right and bottom edges.
    // A tile origin outside the texture, or a tile of no pixels, paints nothing (the
    // modulo below needs a tile of at least one pixel).
    if (TextureRect.Left < 0 || TextureRect.Top < 0) return;
    const int tileW = std::min(TextureRect.Width(), texture.Width - 1 - TextureRect.Left);
    const int tileH = std::min(TextureRect.Height(), texture.Height - 1 - TextureRect.Top);
    if (tileW <= 0 || tileH <= 0) return;
    const int a = std::clamp(TextureAlpha, 0, 255), ga = 256 - a;
    try {
        const Profile profile = mode == 1 ? HorizontalProfile(Data, r) : VerticalProfile(Data, r, 0);
        if (profile.PaintedHi < profile.PaintedLo) return;
        int x0 = r.Left, x1 = r.Right - 1, y0 = r.Top, y1 = r.Bottom - 1;
        if (mode == 1) {
            x0 = profile.PaintedLo;
            x1 = profile.PaintedHi;
        } else {
            y0 = profile.PaintedLo;
            y1 = profile.PaintedHi;
        }
        for (int y = y0; y <= y1; ++y) {
            std::uint8_t* d = bmp.Row(y);
            const std::uint8_t* t = texture.Row(y % tileH + TextureRect.Top) + 4 * TextureRect.Left;
            for (int x = x0; x <= x1; ++x) {
                const std::uint32_t g = profile.At(mode == 1 ? x : y);
                const std::uint8_t* tp = t + 4 * (x % tileW);
                std::uint8_t* p = d + 4 * x;
                p[0] = static_cast<std::uint8_t>(((g & 0xFF) * ga + tp[0] * a) >> 8);
                p[1] = static_cast<std::uint8_t>((((g >> 8) & 0xFF) * ga + tp[1] * a) >> 8);
                p[2] = static_cast<std::uint8_t>((((g >> 16) & 0xFF) * ga + tp[2] * a) >> 8);
                p[3] = 255;
            }
        }
    } catch (...) {
    }
}

void PaintGradTxt(TBitmap* Bmp, TRect aRect, const TsGradArray& Data, TBitmap* TextureBmp, TRect TextureRect,
                  int TextureAlpha) noexcept {
    PaintGradTxt(Rows32(Bmp), aRect, Data, Rows32(TextureBmp), TextureRect, TextureAlpha);
}

}  // namespace qv
