// The arithmetic that places a turned, scaled sprite, written once for one
// sprite (float) and for four at a time (Float4): the same operations in the
// same order, so both give the same vertices to the bit.
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

using Float4 = float __attribute__((vector_size(16)));
using Double2 = double __attribute__((vector_size(16)));
using Long2 = int64_t __attribute__((vector_size(16)));

// Sine and cosine in double precision of two angles in radians, from IEEE
// operations only: the C libraries' sinf differ between Linux, Windows and
// the browser, this gives every platform the same bits. Beyond kTurnLimit
// the reduction below loses accuracy; callers take the library there.
constexpr double kTurnLimit = 65536.0;
inline void SinCos2(Double2 r, Double2* sinOut, Double2* cosOut) {
    constexpr double kShift = 0x1.8p52;  // adding it rounds to an integer
    constexpr double kTwoOverPi = 0x1.45f306dc9c883p-1;
    constexpr double kHalfPiHi = 0x1.921fb544p0;  // 33 bits: n·hi is exact
    constexpr double kHalfPiLo = 0x1.0b4611a626331p-34;
    const Double2 shifted = r * kTwoOverPi + kShift;
    const Long2 quadrant = BitCast<Long2>(shifted);  // n in the low bits
    const Double2 n = shifted - kShift;
    const Double2 y = (r - n * kHalfPiHi) - n * kHalfPiLo;  // |y| ≤ π/4 or a hair over
    const Double2 y2 = y * y;
    // Taylor series to y¹³ and y¹⁴: the first term left out is under 1e-14.
    const Double2 sinY =
        y + y * y2 *
                (-1.0 / 6 +
                 y2 * (1.0 / 120 +
                       y2 * (-1.0 / 5040 + y2 * (1.0 / 362880 + y2 * (-1.0 / 39916800 +
                                                                      y2 * (1.0 / 6227020800))))));
    const Double2 cosY =
        1.0 +
        y2 * (-0.5 + y2 * (1.0 / 24 +
                           y2 * (-1.0 / 720 +
                                 y2 * (1.0 / 40320 +
                                       y2 * (-1.0 / 3628800 +
                                             y2 * (1.0 / 479001600 - y2 * (1.0 / 87178291200)))))));
    // Quadrant n: sin is sinY, cosY, -sinY, -cosY; cos is cosY, -sinY, -cosY, sinY.
    // Shifts and sums only: SSE2 has no 64-bit lane comparisons.
    const Long2 swap = -(quadrant & 1);  // all ones in quadrants 1 and 3
    const Long2 sinBits = BitCast<Long2>(sinY);
    const Long2 cosBits = BitCast<Long2>(cosY);
    const Long2 a = (swap & cosBits) | (~swap & sinBits);
    const Long2 b = (swap & sinBits) | (~swap & cosBits);
    const Long2 sinR = a ^ ((quadrant & 2) << 62);
    const Long2 cosR = b ^ (((quadrant + 1) & 2) << 62);
    *sinOut = BitCast<Double2>(sinR);
    *cosOut = BitCast<Double2>(cosR);
}

// Huge turns, infinities and NaN: the library's sine and cosine, lane by
// lane. Rare, and kept out of line so that the usual path keeps its registers.
[[gnu::noinline, gnu::cold]] inline void TurnFarLanes(Float4 radians,
                                                      int32_t __attribute__((vector_size(16))) far,
                                                      Float4* sinR, Float4* cosR) {
    for (int i = 0; i < 4; i++) {
        if (far[i]) (*sinR)[i] = std::sin(radians[i]), (*cosR)[i] = std::cos(radians[i]);
    }
}

// The cosine and sine that turn a sprite by `degrees`: degrees · 0.017453292
// rounded to float, then sine and cosine rounded to float; no turn gives
// exactly 1 and +0.
inline void TurnFactors(Float4 degrees, Float4* cosOut, Float4* sinOut) {
    using Int4 = int32_t __attribute__((vector_size(16)));
    const Float4 radians = degrees * 0.017453292f;
    using Float2 = float __attribute__((vector_size(8)));
    Double2 s[2], c[2];
    SinCos2(__builtin_convertvector(__builtin_shufflevector(radians, radians, 0, 1), Double2),
            &s[0], &c[0]);
    SinCos2(__builtin_convertvector(__builtin_shufflevector(radians, radians, 2, 3), Double2),
            &s[1], &c[1]);
    const Float2 s0 = __builtin_convertvector(s[0], Float2),
                 s1 = __builtin_convertvector(s[1], Float2);
    const Float2 c0 = __builtin_convertvector(c[0], Float2),
                 c1 = __builtin_convertvector(c[1], Float2);
    Float4 sinR = __builtin_shufflevector(s0, s1, 0, 1, 2, 3);
    Float4 cosR = __builtin_shufflevector(c0, c1, 0, 1, 2, 3);
    const Int4 magnitudeBits = BitCast<Int4>(radians) & INT32_MAX;
    const Int4 far = ~(BitCast<Float4>(magnitudeBits) < float{kTurnLimit});
    if ((far[0] | far[1] | far[2] | far[3]) != 0) TurnFarLanes(radians, far, &sinR, &cosR);
    const Int4 still = degrees == 0.0f;
    const Float4 one = Float4{} + 1.0f;
    *sinOut = BitCast<Float4>(BitCast<Int4>(sinR) & ~still);
    const Int4 cosBits = BitCast<Int4>(cosR);
    *cosOut = BitCast<Float4>((still & BitCast<Int4>(one)) | (~still & cosBits));
}

inline void TurnFactors(float degrees, float* cosOut, float* sinOut) {
    Float4 c, s;
    TurnFactors(Float4{} + degrees, &c, &s);
    *cosOut = c[0], *sinOut = s[0];
}

// An affine matrix of one sprite or of four: (x, y) goes to
// (x·ix + y·jx + tx, x·iy + y·jy + ty).
template <typename T>
struct Placement {
    T ix, iy, jx, jy, tx, ty;
};

// Translate (x, y), turn by (c, s), scale, translate (-hx, -hy), composed
// onto the matrix m term by term.
template <typename T, typename M>
Placement<T> Compose(const M& m, T x, T y, T c, T s, T scaleX, T scaleY, T hx, T hy) {
    const T tx = x * m.ix + y * m.jx + m.tx, ty = x * m.iy + y * m.jy + m.ty;
    const T ix = scaleX * (c * m.ix + -s * m.jx), iy = scaleX * (c * m.iy + -s * m.jy);
    const T jx = scaleY * (s * m.ix + c * m.jx), jy = scaleY * (s * m.iy + c * m.jy);
    return {ix, iy, jx, jy, -hx * ix + -hy * jx + tx, -hx * iy + -hy * jy + ty};
}

// The corners (0, 0), (w, 0), (w, h), (0, h) under p, as a matrix in force
// would place them (the zero terms kept, for the bits of -0 and of NaN).
template <typename T>
void Corners(const Placement<T>& p, T w, T h, T xs[4], T ys[4]) {
    const T zero = T{} + 0.0f;
    xs[0] = zero * p.ix + zero * p.jx + p.tx, ys[0] = zero * p.iy + zero * p.jy + p.ty;
    xs[1] = w * p.ix + zero * p.jx + p.tx, ys[1] = w * p.iy + zero * p.jy + p.ty;
    xs[2] = w * p.ix + h * p.jx + p.tx, ys[2] = w * p.iy + h * p.jy + p.ty;
    xs[3] = zero * p.ix + h * p.jx + p.tx, ys[3] = zero * p.iy + h * p.jy + p.ty;
}

}  // namespace sprite_math
