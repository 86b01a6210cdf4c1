// Filtered resampling: contributor lists per axis with 16.16 integer weights, a
// horizontal pass into a scratch buffer, then a vertical pass into the destination.
#include "paint/sGraphUtils.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace qv {

namespace {

constexpr double kSupport[] = {0.51, 1.0, 1.0, 1.5, 2.0, 3.0, 2.0};

double Sinc(double x) noexcept {
    if (x == 0) return 1;
    const double px = x * std::numbers::pi;
    return std::sin(px) / px;
}

// Σ source × weight over 16.16 weights, brought back to a byte.
inline std::uint8_t WeightedByte(std::int32_t sum) noexcept {
    if (sum < 0) return 0;
    if (sum >= 0xFF0001) return 255;
    return static_cast<std::uint8_t>(sum >> 16);
}

template <int Bytes>
void DrawLine(int count, const TCLists& contributes, const std::uint8_t* srcLine, std::uint8_t* dstLine,
              std::ptrdiff_t dstDelta) noexcept {
    for (int i = 0; i < count; ++i) {
        const TCList& list = contributes[static_cast<std::size_t>(i)];
        // |weights| of every filter add up to less than 2 × 65536, so 255 × that fits int32.
        std::int32_t sum[Bytes] = {};
        for (int c = 0; c < list.Count; ++c) {
            const TContributor& con = list.Data[static_cast<std::size_t>(c)];
            const std::uint8_t* s = srcLine + con.Pixel;
            for (int k = 0; k < Bytes; ++k) sum[k] += s[k] * con.Weight;
        }
        std::uint8_t* d = dstLine + i * dstDelta;
        for (int k = 0; k < Bytes; ++k) d[k] = WeightedByte(sum[k]);
    }
}

// The vertical pass a whole row at a time: destination row y is the weighted sum of the
// scratch rows its contributors name, so the inner loop runs along contiguous bytes.
void VerticalPass(const TCLists& contrib, const std::uint8_t* scratch, std::ptrdiff_t scratchDelta, PixelRows dst,
                  int rowBytes, std::vector<std::int32_t>& acc) {
    acc.resize(static_cast<std::size_t>(rowBytes));
    for (int y = 0; y < dst.Height; ++y) {
        std::fill(acc.begin(), acc.end(), 0);
        const TCList& list = contrib[static_cast<std::size_t>(y)];
        for (int c = 0; c < list.Count; ++c) {
            const TContributor& con = list.Data[static_cast<std::size_t>(c)];
            const std::uint8_t* s = scratch + con.Pixel * scratchDelta;
            const std::int32_t w = con.Weight;
            std::int32_t* a = acc.data();
            for (int i = 0; i < rowBytes; ++i) a[i] += s[i] * w;
        }
        std::uint8_t* d = dst.Row(y);
        for (int i = 0; i < rowBytes; ++i) {
            const std::int32_t v = acc[static_cast<std::size_t>(i)];
            d[i] = static_cast<std::uint8_t>(v < 0 ? 0 : v >= 0xFF0001 ? 255 : v >> 16);
        }
    }
}

}  // namespace

double FilterSupport(TFilterType Filter) noexcept {
    const int i = static_cast<int>(Filter);
    return i >= 0 && i <= 6 ? kSupport[i] : 0.0;
}

double FilterValue(TFilterType Filter, double x) noexcept {
    if (Filter == ftBox) return x > -0.5 && x <= 0.5 ? 1.0 : 0.0;
    x = std::fabs(x);
    switch (Filter) {
    case ftTriangle: return x < 1 ? 1 - x : 0;
    case ftHermite: return x < 1 ? (2 * x - 3) * x * x + 1 : 0;
    case ftBell:
        if (x < 0.5) return 0.75 - x * x;
        if (x < 1.5) return 0.5 * (x - 1.5) * (x - 1.5);
        return 0;
    case ftSpline:
        if (x < 1) return x * x * (x / 2 - 1) + 2.0 / 3.0;
        if (x < 2) return (2 - x) * (2 - x) * (2 - x) / 6;
        return 0;
    case ftLanczos3: return x < 3 ? Sinc(x) * Sinc(x / 3) : 0;
    case ftMitchell:
        if (x < 1) return (7.0 / 6.0) * x * x * x - 2 * x * x + 8.0 / 9.0;
        if (x < 2) return -(7.0 / 18.0) * x * x * x + 2 * x * x - (10.0 / 3.0) * x + 16.0 / 9.0;
        return 0;
    default: return 0;
    }
}

void CreateContributors(TCLists& Contrib, int Size, int MaxSize, TFilterType Filter, int Delta) {
    Contrib.assign(static_cast<std::size_t>(std::max(Size, 0)), TCList{});
    if (Size <= 0 || MaxSize <= 0) return;
    const double n = MaxSize, m = Size;
    const double scale = m < n ? m / n : 1.0;
    const double support = FilterSupport(Filter);
    const double radius = support / scale;
    for (int i = 0; i < Size; ++i) {
        TCList& list = Contrib[static_cast<std::size_t>(i)];
        const double c = n * i / m;
        const int first = static_cast<int>(std::floor(c - radius));
        const int last = static_cast<int>(std::ceil(c + radius));
        list.Data.reserve(static_cast<std::size_t>(last) - static_cast<std::size_t>(first) + 1);
        for (int j = first; j <= last; ++j) {
            const double d = (c - j) * scale;
            if (std::fabs(d) >= support) continue;
            const double value = FilterValue(Filter, d);
            if (value == 0) continue;
            // Positions beyond the ends are mirrored back into the line. When a strong
            // reduction reaches further than the line is long, the mirrored position is
            // still outside it; it is held at the nearest end rather than read out of bounds.
            int pixel = j < 0 ? -j : j >= MaxSize ? 2 * MaxSize - 1 - j : j;
            pixel = std::clamp(pixel, 0, MaxSize - 1);
            list.Data.push_back({pixel * Delta, static_cast<int>(std::nearbyint(value * scale * 65536.0))});
        }
        list.Count = static_cast<int>(list.Data.size());
    }
}

void FreeContributors(TCLists& Contrib) noexcept {
    Contrib.clear();
    Contrib.shrink_to_fit();
}

void DRAWLINE24PAS(int Count, const TCLists& Contributes, const std::uint8_t* srcLine, std::uint8_t* dstLine,
                   std::ptrdiff_t dstDelta) noexcept {
    DrawLine<3>(Count, Contributes, srcLine, dstLine, dstDelta);
}

void DRAWLINE32PAS(int Count, const TCLists& Contributes, const std::uint8_t* srcLine, std::uint8_t* dstLine,
                   std::ptrdiff_t dstDelta) noexcept {
    DrawLine<4>(Count, Contributes, srcLine, dstLine, dstDelta);
}

void Stretch(TBitmap* Src, TBitmap* Dst, int Width, int Height, TFilterType Filter, double /*Param*/) {
    if (Height <= 0 || Width <= 0 || !Dst) return;
    if (!Src || Src->Width() < 2 || Src->Height() < 2) throw EInvalidGraphic(L"Source bitmap is too small");

    // Work on a copy when the source is not 24 or 32 bits, or is the destination itself.
    TBitmap copy;
    TBitmap* source = Src;
    const bool wide = Src->PixelFormat() == pf32bit;
    if (Src == Dst || (!wide && Src->PixelFormat() != pf24bit)) {
        copy.Assign(*Src);
        if (!wide) copy.SetPixelFormat(pf24bit);
        source = &copy;
    }
    const TPixelFormat format = wide ? pf32bit : pf24bit;
    const int bpp = wide ? 4 : 3;
    const int srcW = source->Width(), srcH = source->Height();

    if (Dst->PixelFormat() != format) Dst->SetPixelFormat(format);
    Dst->SetSize(Width, Height);
    const PixelRows in = RowsOf(source), out = RowsOf(Dst);
    if (in.Empty() || out.Empty()) return;
    if (Width == srcW && Height == srcH) {
        for (int y = 0; y < Height; ++y) std::memcpy(out.Row(y), in.Row(y), static_cast<std::size_t>(Width) * bpp);
        return;
    }

    // Horizontal pass into a top-down scratch buffer Width wide and as high as the source.
    TCLists contrib;
    CreateContributors(contrib, Width, srcW, Filter, bpp);
    const std::ptrdiff_t scratchDelta = static_cast<std::ptrdiff_t>(Width) * bpp;
    std::vector<std::uint8_t> scratch(static_cast<std::size_t>(scratchDelta) * srcH);
    for (int y = 0; y < srcH; ++y) {
        std::uint8_t* line = scratch.data() + y * scratchDelta;
        if (wide) DRAWLINE32PAS(Width, contrib, in.Row(y), line, bpp);
        else DRAWLINE24PAS(Width, contrib, in.Row(y), line, bpp);
    }

    // Vertical pass: contributors name scratch rows.
    CreateContributors(contrib, Height, srcH, Filter, 1);
    std::vector<std::int32_t> acc;
    VerticalPass(contrib, scratch.data(), scratchDelta, out, Width * bpp, acc);
}

}  // namespace qv
