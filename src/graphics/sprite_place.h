// The body of every sprite placer, for the placer files alone: each compiles
// it for the registers it targets, four lanes (SSE2, the browser's SIMD) or
// eight (AVX2). A group of sprites at a time: their turns, matrices, corners
// and colours lane by lane, then the vertices as whole (x, y, u, v) rows.
#pragma once

#include <cstring>

#include "graphics/sprite_math.h"
#include "graphics/sprite_queue.h"

namespace sprite_place {

using sprite_math::Float4;
using sprite_math::Float8;
using sprite_math::kLanes;

template <typename F>
[[gnu::always_inline]] inline F FieldLanes(const decltype(QueuedSprites::scaleY)& field, int i) {
    F lanes;
    std::memcpy(&lanes, &field[static_cast<size_t>(i)], sizeof lanes);
    return lanes;
}

// Row i, and with eight lanes row i + 4 in the upper half.
template <typename F>
[[gnu::always_inline]] inline F RowLanes(const QueuedSprites::Rows& rows, int i) {
    Float4 low;
    std::memcpy(&low, &rows[static_cast<size_t>(i)], sizeof low);
    if constexpr (kLanes<F> == 4) {
        return low;
    } else {
        Float4 high;
        std::memcpy(&high, &rows[static_cast<size_t>(i) + 4], sizeof high);
        return sprite_math::Lanes<Float8>::Join(low, high);
    }
}

// Four rows from `first` on (eight with eight lanes) as four columns:
// columns[c][lane] is rows[first + lane][c]. A four-by-four transpose, in
// each half of the register with eight lanes.
template <typename F>
[[gnu::always_inline]] inline void Columns(const QueuedSprites::Rows& rows, int first,
                                           F columns[4]) {
    const F a = RowLanes<F>(rows, first), b = RowLanes<F>(rows, first + 1);
    const F c = RowLanes<F>(rows, first + 2), d = RowLanes<F>(rows, first + 3);
    if constexpr (kLanes<F> == 4) {
        const F abLow = __builtin_shufflevector(a, b, 0, 4, 1, 5);
        const F abHigh = __builtin_shufflevector(a, b, 2, 6, 3, 7);
        const F cdLow = __builtin_shufflevector(c, d, 0, 4, 1, 5);
        const F cdHigh = __builtin_shufflevector(c, d, 2, 6, 3, 7);
        columns[0] = __builtin_shufflevector(abLow, cdLow, 0, 1, 4, 5);
        columns[1] = __builtin_shufflevector(abLow, cdLow, 2, 3, 6, 7);
        columns[2] = __builtin_shufflevector(abHigh, cdHigh, 0, 1, 4, 5);
        columns[3] = __builtin_shufflevector(abHigh, cdHigh, 2, 3, 6, 7);
    } else {
        const F abLow = __builtin_shufflevector(a, b, 0, 8, 1, 9, 4, 12, 5, 13);
        const F abHigh = __builtin_shufflevector(a, b, 2, 10, 3, 11, 6, 14, 7, 15);
        const F cdLow = __builtin_shufflevector(c, d, 0, 8, 1, 9, 4, 12, 5, 13);
        const F cdHigh = __builtin_shufflevector(c, d, 2, 10, 3, 11, 6, 14, 7, 15);
        columns[0] = __builtin_shufflevector(abLow, cdLow, 0, 1, 8, 9, 4, 5, 12, 13);
        columns[1] = __builtin_shufflevector(abLow, cdLow, 2, 3, 10, 11, 6, 7, 14, 15);
        columns[2] = __builtin_shufflevector(abHigh, cdHigh, 0, 1, 8, 9, 4, 5, 12, 13);
        columns[3] = __builtin_shufflevector(abHigh, cdHigh, 2, 3, 10, 11, 6, 7, 14, 15);
    }
}

// PackColour, lane by lane: the same comparisons (NaN goes the same way) and
// the same truncation.
template <typename F, typename I = typename sprite_math::Lanes<F>::Int>
[[gnu::always_inline]] inline I PackColours(F r, F g, F b, F alpha) {
    const F zero{}, one = zero + 1.0f, full = zero + 255.0f;
    F a = alpha > zero ? alpha : zero;
    a = a < one ? a : one;
    auto byte = [&](F c) {
        c = (c < full ? c : full) * a;
        c = c > zero ? c : zero;
        return __builtin_convertvector(c < full ? c : full, I);
    };
    return byte(full) << 24 | byte(b) << 16 | byte(g) << 8 | byte(r);
}

// Corner k of four sprites, as rows into their quads.
[[gnu::always_inline]] inline void WriteCorner(Vertex* const quads[4], const uint32_t colour[4],
                                               int k, Float4 x, Float4 y, Float4 u, Float4 v) {
    const Float4 xyLow = __builtin_shufflevector(x, y, 0, 4, 1, 5);
    const Float4 xyHigh = __builtin_shufflevector(x, y, 2, 6, 3, 7);
    const Float4 uvLow = __builtin_shufflevector(u, v, 0, 4, 1, 5);
    const Float4 uvHigh = __builtin_shufflevector(u, v, 2, 6, 3, 7);
    const Float4 rows[4] = {__builtin_shufflevector(xyLow, uvLow, 0, 1, 4, 5),
                            __builtin_shufflevector(xyLow, uvLow, 2, 3, 6, 7),
                            __builtin_shufflevector(xyHigh, uvHigh, 0, 1, 4, 5),
                            __builtin_shufflevector(xyHigh, uvHigh, 2, 3, 6, 7)};
    for (int lane = 0; lane < 4; lane++) {
        std::memcpy(&quads[lane][k].x, &rows[lane], sizeof(Float4));
        quads[lane][k].colour = colour[lane];
    }
}

// Corner k of every lane's sprite, four lanes at a time.
template <typename F>
[[gnu::always_inline]] inline void WriteCorners(Vertex* const quads[], const uint32_t colour[],
                                                int k, F x, F y, F u, F v) {
    if constexpr (kLanes<F> == 4) {
        WriteCorner(quads, colour, k, x, y, u, v);
    } else {
        using L = sprite_math::Lanes<Float8>;
        WriteCorner(quads, colour, k, L::Low(x), L::Low(y), L::Low(u), L::Low(v));
        WriteCorner(quads + 4, colour + 4, k, L::High(x), L::High(y), L::High(u), L::High(v));
    }
}

// One group of queued sprites from `first` on, as many as F has lanes.
template <typename F>
[[gnu::always_inline]] inline void PlaceGroup(const QueuedSprites& q, int first, Vertex* vertices) {
    constexpr int kN = kLanes<F>;
    static constexpr sprite_math::Placement<float> kIdentity{1, 0, 0, 1, 0, 0};
    F where[4], block[4], texture[4], colour[4];
    Columns(q.where, first, where);
    Columns(q.block, first, block);
    Columns(q.texture, first, texture);
    Columns(q.colour, first, colour);
    F c, s;
    sprite_math::TurnFactors(where[2], &c, &s);
    const sprite_math::Placement<F> m =
        sprite_math::Compose(kIdentity, where[0], where[1], c, s, where[3],
                             FieldLanes<F>(q.scaleY, first), block[0], block[1]);
    F xs[4], ys[4];
    sprite_math::Corners(m, block[2], block[3], xs, ys);
    const auto colours = PackColours(colour[0], colour[1], colour[2], colour[3]);
    const F u0 = texture[0], v0 = texture[1], u1 = texture[2], v1 = texture[3];
    const F us[4] = {u0, u1, u1, u0}, vs[4] = {v0, v0, v1, v1};
    // Lanes past the last sprite write into a spare quad.
    Vertex spare[4];
    Vertex* quads[kN];
    uint32_t packed[kN];
    for (int lane = 0; lane < kN; lane++) {
        const bool real = first + lane < q.count;
        quads[lane] = real ? &vertices[static_cast<size_t>(q.quad[first + lane]) * 4] : spare;
        packed[lane] = static_cast<uint32_t>(colours[lane]);
    }
    for (int k = 0; k < 4; k++) WriteCorners(quads, packed, k, xs[k], ys[k], us[k], vs[k]);
}

// Every queued sprite; the lanes past the last work on zeros and are thrown away.
template <typename F>
[[gnu::always_inline]] inline void PlaceAll(QueuedSprites& q, Vertex* vertices) {
    for (int i = q.count; i % kLanes<F> != 0; i++) {
        const QueuedSprites::Row zero{};
        q.where[i] = zero, q.block[i] = zero, q.texture[i] = zero, q.colour[i] = zero;
        q.scaleY[i] = 0;
    }
    for (int i = 0; i < q.count; i += kLanes<F>) PlaceGroup<F>(q, i, vertices);
}

// Four lanes: every SIMD unit the build targets holds them.
inline void PlaceFour(QueuedSprites& q, Vertex* vertices) {
    PlaceAll<Float4>(q, vertices);
}

}  // namespace sprite_place
