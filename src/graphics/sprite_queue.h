// Sprites whose corners wait until their batch goes out, and the vertices they
// are placed into. Placing them together lets the arithmetic run lane-wide.
#pragma once

#include <array>
#include <cstdint>

struct Vertex {
    float x, y, u, v;
    uint32_t colour;  // R, G, B, A bytes in memory order, premultiplied
};
static_assert(sizeof(Vertex) == 20);

// A batch's sprites as the drawing calls hand them over, four floats a row,
// so that a sprite is queued with few stores: where it goes (x, y turned by
// `rotation` degrees about the handle hx, hy and scaled), its source block
// (w × h, texture corners u0 v0 and u1 v1), its colour and the quad it fills.
// The placers turn four or eight rows at a time into lanes.
struct QueuedSprites {
    static constexpr int kCapacity = 256;
    using Row = std::array<float, 4>;
    using Rows = std::array<Row, kCapacity>;
    alignas(16) Rows where;    // x, y, rotation, scaleX
    alignas(16) Rows block;    // hx, hy, w, h
    alignas(16) Rows texture;  // u0, v0, u1, v1
    alignas(16) Rows colour;   // r, g, b, alpha
    alignas(16) std::array<float, kCapacity> scaleY;
    std::array<uint16_t, kCapacity> quad;
    int count = 0;
};

// Writes the four vertices of every queued sprite into its quad of
// `vertices` (four vertices a quad); leaves the queue's count alone.
using SpritePlacer = void (*)(QueuedSprites& queue, Vertex* vertices);

// Runs on every processor the build targets.
SpritePlacer PortableSpritePlacer();
// The widest this processor runs; the same vertices to the bit.
SpritePlacer FastestSpritePlacer();
