// The arithmetic that places a turned, scaled sprite, written once for one
// sprite (float) and for four or eight at a time (Float4, Float8): the same
// operations in the same order, so all give the same vertices to the bit.
#pragma once

#include <cmath>
#include <cstdint>

namespace sprite_math {

// The same bytes as another type (the browser's library has no std::bit_cast).
template <typename To, typename From>
To BitCast(const From& from) {
    static_assert(sizeof(To) == sizeof(From));
    return __builtin_bit_cast(To, from);
}

using Float2 = float __attribute__((vector_size(8)));
using Float4 = float __attribute__((vector_size(16)));
using Float8 = float __attribute__((vector_size(32)));
using Int4 = int32_t __attribute__((vector_size(16)));
using Int8 = int32_t __attribute__((vector_size(32)));
using Double2 = double __attribute__((vector_size(16)));
using Double4 = double __attribute__((vector_size(32)));
using Long2 = int64_t __attribute__((vector_size(16)));
using Long4 = int64_t __attribute__((vector_size(32)));

// Lanes in a vector of floats.
template <typename F>
constexpr int kLanes = static_cast<int>(sizeof(F) / sizeof(float));

// Four lanes or eight: their halves, the same lanes in double precision and
// as integers. Always inlined, so that a caller built for wider registers
// keeps them in its own.
template <typename F>
struct Lanes;
template <>
struct Lanes<Float4> {
    using Half = Float2;
    using Int = Int4;
    using Long = Long2;
    using Double = Double2;
    [[gnu::always_inline]] static Half Low(Float4 v) { return __builtin_shufflevector(v, v, 0, 1); }
    [[gnu::always_inline]] static Half High(Float4 v) {
        return __builtin_shufflevector(v, v, 2, 3);
    }
    [[gnu::always_inline]] static Float4 Join(Half a, Half b) {
        return __builtin_shufflevector(a, b, 0, 1, 2, 3);
    }
};
template <>
struct Lanes<Float8> {
    using Half = Float4;
    using Int = Int8;
    using Long = Long4;
    using Double = Double4;
    [[gnu::always_inline]] static Half Low(Float8 v) {
        return __builtin_shufflevector(v, v, 0, 1, 2, 3);
    }
    [[gnu::always_inline]] static Half High(Float8 v) {
        return __builtin_shufflevector(v, v, 4, 5, 6, 7);
    }
    [[gnu::always_inline]] static Float8 Join(Half a, Half b) {
        return __builtin_shufflevector(a, b, 0, 1, 2, 3, 4, 5, 6, 7);
    }
};

// Sine and cosine in double precision of two or four angles in radians, from
// IEEE operations only: the C libraries' sinf differ between Linux, Windows
// and the browser, this gives every platform the same bits. Beyond kTurnLimit
// the reduction below loses accuracy; callers take the library there.
constexpr double kTurnLimit = 65536.0;
template <typename D, typename L>
[[gnu::always_inline]] inline void SinCos(D r, D* sinOut, D* cosOut) {
    constexpr double kShift = 0x1.8p52;  // adding it rounds to an integer
    constexpr double kTwoOverPi = 0x1.45f306dc9c883p-1;
    constexpr double kHalfPiHi = 0x1.921fb544p0;  // 33 bits: n·hi is exact
    constexpr double kHalfPiLo = 0x1.0b4611a626331p-34;
    const D shifted = r * kTwoOverPi + kShift;
    const L quadrant = BitCast<L>(shifted);  // n in the low bits
    const D n = shifted - kShift;
    const D y = (r - n * kHalfPiHi) - n * kHalfPiLo;  // |y| ≤ π/4 or a hair over
    const D y2 = y * y;
    // Taylor series to y¹³ and y¹⁴: the first term left out is under 1e-14.
    const D sinY =
        y + y * y2 *
                (-1.0 / 6 +
                 y2 * (1.0 / 120 +
                       y2 * (-1.0 / 5040 + y2 * (1.0 / 362880 + y2 * (-1.0 / 39916800 +
                                                                      y2 * (1.0 / 6227020800))))));
    const D cosY =
        1.0 +
        y2 * (-0.5 + y2 * (1.0 / 24 +
                           y2 * (-1.0 / 720 +
                                 y2 * (1.0 / 40320 +
                                       y2 * (-1.0 / 3628800 +
                                             y2 * (1.0 / 479001600 - y2 * (1.0 / 87178291200)))))));
    // Quadrant n: sin is sinY, cosY, -sinY, -cosY; cos is cosY, -sinY, -cosY, sinY.
    // Shifts and sums only: SSE2 has no 64-bit lane comparisons.
    const L swap = -(quadrant & 1);  // all ones in quadrants 1 and 3
    const L sinBits = BitCast<L>(sinY);
    const L cosBits = BitCast<L>(cosY);
    const L a = (swap & cosBits) | (~swap & sinBits);
    const L b = (swap & sinBits) | (~swap & cosBits);
    *sinOut = BitCast<D>(a ^ ((quadrant & 2) << 62));
    *cosOut = BitCast<D>(b ^ (((quadrant + 1) & 2) << 62));
}

// Huge turns, infinities and NaN: the library's sine and cosine, lane by
// lane. Rare, and kept out of line so that the usual path keeps its registers.
template <typename F, typename I>
[[gnu::noinline, gnu::cold]] void TurnFarLanes(const F& radians, const I& far, F* sinR, F* cosR) {
    for (int i = 0; i < kLanes<F>; i++) {
        if (far[i]) (*sinR)[i] = std::sin(radians[i]), (*cosR)[i] = std::cos(radians[i]);
    }
}

// The cosine and sine that turn a sprite by `degrees`: degrees · 0.017453292
// rounded to float, then sine and cosine rounded to float; no turn gives
// exactly 1 and +0. Four or eight lanes, each the same bits as alone.
template <typename F>
[[gnu::always_inline]] inline void TurnFactors(F degrees, F* cosOut, F* sinOut) {
    using L = Lanes<F>;
    using Half = typename L::Half;
    using D = typename L::Double;
    const F radians = degrees * 0.017453292f;
    D s[2], c[2];
    SinCos<D, typename L::Long>(__builtin_convertvector(L::Low(radians), D), &s[0], &c[0]);
    SinCos<D, typename L::Long>(__builtin_convertvector(L::High(radians), D), &s[1], &c[1]);
    F sinR = L::Join(__builtin_convertvector(s[0], Half), __builtin_convertvector(s[1], Half));
    F cosR = L::Join(__builtin_convertvector(c[0], Half), __builtin_convertvector(c[1], Half));
    using I = typename L::Int;
    const I magnitudeBits = BitCast<I>(radians) & INT32_MAX;
    const I far = ~(BitCast<F>(magnitudeBits) < float{kTurnLimit});
    bool anyFar = false;
    for (int i = 0; i < kLanes<F>; i++) anyFar |= far[i] != 0;
    if (anyFar) TurnFarLanes(radians, far, &sinR, &cosR);
    const I still = degrees == 0.0f;
    const F one = F{} + 1.0f;
    *sinOut = BitCast<F>(BitCast<I>(sinR) & ~still);
    *cosOut = BitCast<F>((still & BitCast<I>(one)) | (~still & BitCast<I>(cosR)));
}

inline void TurnFactors(float degrees, float* cosOut, float* sinOut) {
    Float4 c, s;
    TurnFactors(Float4{} + degrees, &c, &s);
    *cosOut = c[0], *sinOut = s[0];
}

// An affine matrix of one sprite or of several: (x, y) goes to
// (x·ix + y·jx + tx, x·iy + y·jy + ty).
template <typename T>
struct Placement {
    T ix, iy, jx, jy, tx, ty;
};

// Translate (x, y), turn by (c, s), scale, translate (-hx, -hy), composed
// onto the matrix m term by term.
template <typename T, typename M>
[[gnu::always_inline]] inline Placement<T> Compose(const M& m, T x, T y, T c, T s, T scaleX,
                                                   T scaleY, T hx, T hy) {
    const T tx = x * m.ix + y * m.jx + m.tx, ty = x * m.iy + y * m.jy + m.ty;
    const T ix = scaleX * (c * m.ix + -s * m.jx), iy = scaleX * (c * m.iy + -s * m.jy);
    const T jx = scaleY * (s * m.ix + c * m.jx), jy = scaleY * (s * m.iy + c * m.jy);
    return {ix, iy, jx, jy, -hx * ix + -hy * jx + tx, -hx * iy + -hy * jy + ty};
}

// The corners (0, 0), (w, 0), (w, h), (0, h) under p, as a matrix in force
// would place them (the zero terms kept, for the bits of -0 and of NaN).
template <typename T>
[[gnu::always_inline]] inline void Corners(const Placement<T>& p, T w, T h, T xs[4], T ys[4]) {
    const T zero = T{} + 0.0f;
    xs[0] = zero * p.ix + zero * p.jx + p.tx, ys[0] = zero * p.iy + zero * p.jy + p.ty;
    xs[1] = w * p.ix + zero * p.jx + p.tx, ys[1] = w * p.iy + zero * p.jy + p.ty;
    xs[2] = w * p.ix + h * p.jx + p.tx, ys[2] = w * p.iy + h * p.jy + p.ty;
    xs[3] = zero * p.ix + h * p.jx + p.tx, ys[3] = zero * p.iy + h * p.jy + p.ty;
}

}  // namespace sprite_math
