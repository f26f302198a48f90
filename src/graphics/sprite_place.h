// The body of every sprite placer, for the placer files alone: each compiles
// it for the registers it targets. Eight sprites at a time: their turns,
// matrices, corners and colours lane by lane, then the vertices as whole
// (x, y, u, v) rows.
#pragma once

#include <cstring>

#include "graphics/sprite_math.h"
#include "graphics/sprite_queue.h"

namespace sprite_place {

using sprite_math::Float4;
using sprite_math::Float8;
using sprite_math::Int8;

[[gnu::always_inline]] inline Float8 Lanes(const std::array<float, QueuedSprites::kCapacity>& field,
                                           int i) {
    Float8 lanes;
    std::memcpy(&lanes, &field[static_cast<size_t>(i)], sizeof lanes);
    return lanes;
}

[[gnu::always_inline]] inline Float8 TwoRows(const QueuedSprites::Rows& rows, int i) {
    Float4 low, high;
    std::memcpy(&low, &rows[static_cast<size_t>(i)], sizeof low);
    std::memcpy(&high, &rows[static_cast<size_t>(i) + 4], sizeof high);
    return sprite_math::Lanes<Float8>::Join(low, high);
}

// Eight rows from `first` on as four lanes of eight: columns[c][lane] is
// rows[first + lane][c]. Two rows share each register, four-by-four
// transposes within its halves.
[[gnu::always_inline]] inline void Columns(const QueuedSprites::Rows& rows, int first,
                                           Float8 columns[4]) {
    const Float8 a = TwoRows(rows, first), b = TwoRows(rows, first + 1);
    const Float8 c = TwoRows(rows, first + 2), d = TwoRows(rows, first + 3);
    const Float8 abLow = __builtin_shufflevector(a, b, 0, 8, 1, 9, 4, 12, 5, 13);
    const Float8 abHigh = __builtin_shufflevector(a, b, 2, 10, 3, 11, 6, 14, 7, 15);
    const Float8 cdLow = __builtin_shufflevector(c, d, 0, 8, 1, 9, 4, 12, 5, 13);
    const Float8 cdHigh = __builtin_shufflevector(c, d, 2, 10, 3, 11, 6, 14, 7, 15);
    columns[0] = __builtin_shufflevector(abLow, cdLow, 0, 1, 8, 9, 4, 5, 12, 13);
    columns[1] = __builtin_shufflevector(abLow, cdLow, 2, 3, 10, 11, 6, 7, 14, 15);
    columns[2] = __builtin_shufflevector(abHigh, cdHigh, 0, 1, 8, 9, 4, 5, 12, 13);
    columns[3] = __builtin_shufflevector(abHigh, cdHigh, 2, 3, 10, 11, 6, 7, 14, 15);
}

// PackColour, lane by lane: the same comparisons (NaN goes the same way) and
// the same truncation.
[[gnu::always_inline]] inline Int8 PackColours(Float8 r, Float8 g, Float8 b, Float8 alpha) {
    const Float8 zero{}, one = zero + 1.0f, full = zero + 255.0f;
    Float8 a = alpha > zero ? alpha : zero;
    a = a < one ? a : one;
    auto byte = [&](Float8 c) {
        c = (c < full ? c : full) * a;
        c = c > zero ? c : zero;
        return __builtin_convertvector(c < full ? c : full, Int8);
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

[[gnu::always_inline]] inline Float4 Low(Float8 v) {
    return sprite_math::Lanes<Float8>::Low(v);
}
[[gnu::always_inline]] inline Float4 High(Float8 v) {
    return sprite_math::Lanes<Float8>::High(v);
}

// Eight queued sprites from `first` on.
[[gnu::always_inline]] inline void PlaceEight(const QueuedSprites& q, int first, Vertex* vertices) {
    static constexpr sprite_math::Placement<float> kIdentity{1, 0, 0, 1, 0, 0};
    Float8 where[4], block[4], texture[4], colour[4];
    Columns(q.where, first, where);
    Columns(q.block, first, block);
    Columns(q.texture, first, texture);
    Columns(q.colour, first, colour);
    Float8 c, s;
    sprite_math::TurnFactors(where[2], &c, &s);
    const sprite_math::Placement<Float8> m = sprite_math::Compose(
        kIdentity, where[0], where[1], c, s, where[3], Lanes(q.scaleY, first), block[0], block[1]);
    Float8 xs[4], ys[4];
    sprite_math::Corners(m, block[2], block[3], xs, ys);
    const Int8 colours = PackColours(colour[0], colour[1], colour[2], colour[3]);
    const Float8 u0 = texture[0], v0 = texture[1], u1 = texture[2], v1 = texture[3];
    const Float8 us[4] = {u0, u1, u1, u0}, vs[4] = {v0, v0, v1, v1};
    // Lanes past the last sprite write into a spare quad.
    Vertex spare[4];
    Vertex* quads[8];
    uint32_t packed[8];
    for (int lane = 0; lane < 8; lane++) {
        const bool real = first + lane < q.count;
        quads[lane] = real ? &vertices[static_cast<size_t>(q.quad[first + lane]) * 4] : spare;
        packed[lane] = static_cast<uint32_t>(colours[lane]);
    }
    for (int k = 0; k < 4; k++) {
        WriteCorner(quads, packed, k, Low(xs[k]), Low(ys[k]), Low(us[k]), Low(vs[k]));
        WriteCorner(quads + 4, packed + 4, k, High(xs[k]), High(ys[k]), High(us[k]), High(vs[k]));
    }
}

// Every queued sprite; the lanes past the last work on zeros and are thrown away.
[[gnu::always_inline]] inline void PlaceAll(QueuedSprites& q, Vertex* vertices) {
    for (int i = q.count; i % 8 != 0; i++) {
        const QueuedSprites::Row zero{};
        q.where[i] = zero, q.block[i] = zero, q.texture[i] = zero, q.colour[i] = zero;
        q.scaleY[i] = 0;
    }
    for (int i = 0; i < q.count; i += 8) PlaceEight(q, i, vertices);
}

}  // namespace sprite_place
