// The row loops of the per-pixel passes, written once over a vector width: T names the
// vector operations (T::N pixels at a time; N == 1 is the plain loop that every wider
// form falls back to for its tail). acPixelOps.cpp instantiates them for SSE2 and the
// plain loop, acPixelOps_Avx2.cpp for AVX2; acPixelOps.h picks one at run time.
//
// This header is included by acPixelOps_Avx2.cpp after it switches the compiler to AVX2,
// so it must not bring in any header that is not already included there, and everything
// here has internal linkage: the linker must never take an AVX2-compiled copy of a shared
// helper for the loops that run on every processor.
#pragma once
#include "paint/acPixelOps.h"

namespace qv::pixelops::kernels {
namespace {

// A missing vector type: the loops below run their plain tail only.
struct Plain {
    static constexpr int N = 1;
};

// The plain forms of one pixel (or one byte), shared by every width's tail.
inline std::uint32_t SumByte(std::uint32_t d, std::uint32_t s, int a) noexcept {
    return (d * static_cast<std::uint32_t>(a) + s * static_cast<std::uint32_t>(255 - a) + 127) >> 8;
}

inline std::uint32_t ColorBlend1(std::uint32_t v, const ColorRowArgs& c) noexcept {
    std::uint32_t out = v & kAlpha;
    for (int ch = 0; ch < 3; ++ch) {
        const std::uint32_t num = ((v >> (8 * ch)) & 0xFF) * static_cast<std::uint32_t>(c.Weight) + c.Add[ch];
        std::uint32_t q = num / 100;
        const std::uint32_t r = num % 100;
        if (r > 50 || (r == 50 && (q & 1))) ++q;
        out |= q << (8 * ch);
    }
    return out;
}

// One pixel of a masked copy by rule R; false when the row ends here.
template <KeyRule R>
inline bool MaskPixel(const MaskRowArgs& a, int i) noexcept {
    const std::uint32_t sv = a.S[i], dv = a.D[i];
    const bool key = sv == KeyPixel;
    if constexpr (R == KeyRule::Blend) {
        a.D[i] = MaskBlend1(sv, dv, a.K[i]) | (dv & kAlpha);
    } else if constexpr (R == KeyRule::Skip) {
        if (!key) a.D[i] = MaskBlend1(sv, dv, a.K[i]) | (dv & kAlpha);
    } else if constexpr (R == KeyRule::Fill) {
        a.D[i] = key ? a.Fill : MaskBlend1(sv, dv, a.K[i]) | (dv & kAlpha);
    } else {
        if (!key) a.D[i] = MaskBlend1(sv, dv, a.K[i]) | kAlpha;
        else if (i >= a.ParentLo && i < a.ParentHi) a.D[i] = a.Parent[a.ParentOffset + i] | kAlpha;
        else a.D[i] = dv | a.KeyOutsideOr;
    }
    return true;
}

template <class T, KeyRule R>
void MaskRow(const MaskRowArgs& a) noexcept {
    int i = 0;
    if constexpr (T::N > 1) {
        using V = typename T::V;
        acPixel32* const d = a.D;
        const acPixel32* const s = a.S;
        const acPixel32* const k = a.K;
        const int n = a.N;
        const V rgb = T::Set1(kRgb), alpha = T::Set1(kAlpha), key = T::Set1(KeyPixel), fill = T::Set1(a.Fill);
        for (; i + T::N <= n; i += T::N) {
            const V sv = T::Load(s + i), kv = T::Load(k + i), dv = T::Load(d + i);
            const V blend = T::MaskBlend(sv, dv, kv);
            V out;
            if constexpr (R == KeyRule::Blend) {
                out = T::Select(rgb, blend, dv);
            } else if constexpr (R == KeyRule::Skip) {
                // A key pixel keeps all of d, any other pixel its A: one selection.
                out = T::Select(T::Or(T::CmpEq32(sv, key), alpha), dv, blend);
            } else {
                out = T::Select(T::CmpEq32(sv, key), fill, T::Select(rgb, blend, dv));
            }
            T::Store(d + i, out);
        }
    }
    for (; i < a.N; ++i) MaskPixel<R>(a, i);
}

// Pixels i up to end of a KeyRule::Parent row whose key pixels all take the parent's
// pixel (FromParent) or all keep d: whole vectors, then single pixels up to end.
template <class T, bool FromParent>
int ParentStretch(const MaskRowArgs& a, int i, int end) noexcept {
    if constexpr (T::N > 1) {
        using V = typename T::V;
        const V alpha = T::Set1(kAlpha), key = T::Set1(KeyPixel), outsideOr = T::Set1(a.KeyOutsideOr);
        const acPixel32* const parent = a.Parent + a.ParentOffset;
        for (; i + T::N <= end; i += T::N) {
            const V sv = T::Load(a.S + i), dv = T::Load(a.D + i);
            const V blend = T::MaskBlend(sv, dv, T::Load(a.K + i));
            V keyed;
            if constexpr (FromParent) keyed = T::Load(parent + i);
            else keyed = T::Or(dv, outsideOr);
            T::Store(a.D + i, T::Or(T::Select(T::CmpEq32(sv, key), keyed, blend), alpha));
        }
    }
    for (; i < end; ++i) MaskPixel<KeyRule::Parent>(a, i);
    return i;
}

// A KeyRule::Parent row in up to three stretches: before the parent's readable columns,
// on them and after them, so that no vector asks where it lies.
template <class T>
void MaskRowParent(const MaskRowArgs& a) noexcept {
    const int n = a.N;
    const int lo = a.ParentLo < 0 ? 0 : (a.ParentLo > n ? n : a.ParentLo);
    const int hi = a.ParentHi < lo ? lo : (a.ParentHi > n ? n : a.ParentHi);
    int i = ParentStretch<T, false>(a, 0, lo);
    i = ParentStretch<T, true>(a, i, hi);
    ParentStretch<T, false>(a, i, n);
}

template <class T>
void SumRowT(std::uint8_t* d, const std::uint8_t* s, int bytes, int a) noexcept {
    int i = 0;
    if constexpr (T::N > 1) {
        const auto w = T::SumWeights(a);
        for (; i + 4 * T::N <= bytes; i += 4 * T::N) T::Store(d + i, T::Sum(T::Load(d + i), T::Load(s + i), w));
    }
    for (; i < bytes; ++i) d[i] = static_cast<std::uint8_t>(SumByte(d[i], s[i], a));
}

template <class T>
void ColorRow(acPixel32* d, int n, const ColorRowArgs& c) noexcept {
    int i = 0;
    if constexpr (T::N > 1) {
        const auto w = T::ColorWeights(c);
        for (; i + T::N <= n; i += T::N) T::Store(d + i, T::ColorBlend(T::Load(d + i), w));
    }
    for (; i < n; ++i) d[i] = ColorBlend1(d[i], c);
}

// One pixel of a keyed copy; see KeyCopyArgs.
template <KeyCopyMode M>
inline void KeyPixel1(const KeyCopyArgs& a, int i) noexcept {
    const std::uint32_t sv = a.S[i];
    if (sv != a.Key) {
        a.D[i] = sv | a.SetOr;
    } else if constexpr (M == KeyCopyMode::Fill) {
        a.D[i] = a.Fill;
    } else if constexpr (M == KeyCopyMode::Parent) {
        if (i >= a.ParentLo && i < a.ParentHi) a.D[i] = a.Parent[a.ParentOffset + i] | kAlpha;
    }
}

template <class T, KeyCopyMode M>
void KeyCopyRow(const KeyCopyArgs& a) noexcept {
    int i = 0;
    if constexpr (T::N > 1) {
        using V = typename T::V;
        acPixel32* const d = a.D;
        const acPixel32* const s = a.S;
        const int n = a.N, lo = a.ParentLo, hi = a.ParentHi;
        const V key = T::Set1(a.Key), setOr = T::Set1(a.SetOr), fill = T::Set1(a.Fill), alpha = T::Set1(kAlpha);
        for (; i + T::N <= n; i += T::N) {
            const V sv = T::Load(s + i), isKey = T::CmpEq32(sv, key);
            V keyed;
            if constexpr (M == KeyCopyMode::Fill) {
                keyed = fill;
            } else if constexpr (M == KeyCopyMode::Skip) {
                keyed = T::Load(d + i);
            } else if (i >= lo && i + T::N <= hi) {
                keyed = T::Or(T::Load(a.Parent + a.ParentOffset + i), alpha);
            } else if (i + T::N <= lo || i >= hi) {
                keyed = T::Load(d + i);
            } else {
                for (int j = 0; j < T::N; ++j) KeyPixel1<M>(a, i + j);
                continue;
            }
            T::Store(d + i, T::Select(isKey, keyed, T::Or(sv, setOr)));
        }
    }
    for (; i < a.N; ++i) KeyPixel1<M>(a, i);
}

// The table of one vector width.
template <class T>
constexpr RowKernels KernelsOf() noexcept {
    return RowKernels{{&MaskRow<T, KeyRule::Blend>, &MaskRow<T, KeyRule::Skip>, &MaskRow<T, KeyRule::Fill>,
                       &MaskRowParent<T>},
                      &SumRowT<T>,
                      &ColorRow<T>,
                      {&KeyCopyRow<T, KeyCopyMode::Skip>, &KeyCopyRow<T, KeyCopyMode::Fill>,
                       &KeyCopyRow<T, KeyCopyMode::Parent>}};
}

}  // namespace
}  // namespace qv::pixelops::kernels
