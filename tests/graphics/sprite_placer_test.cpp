// The sprite placers: the widest one this processor runs writes exactly the
// vertices of the portable one, into the queued quads and nowhere else.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numeric>
#include <random>
#include <vector>

#include "graphics/sprite_queue.h"

namespace {

// A full batch's worth of sprites with everything a game may hand over:
// ordinary values, and edges (no turn, -0, huge turns, infinities, NaN,
// mirrored scales, colours and alphas out of range).
QueuedSprites MixedQueue(int count) {
    QueuedSprites q{};
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> any(-1000, 1000);
    const float edges[] = {0.0f, -0.0f, 1e9f, -INFINITY, NAN, 1e-40f, -1.0f, 300.0f};
    std::vector<uint16_t> slots(QueuedSprites::kCapacity);
    std::iota(slots.begin(), slots.end(), 0);
    std::shuffle(slots.begin(), slots.end(), rng);
    for (int i = 0; i < count; i++) {
        const bool edge = i % 5 == 0;
        const float e = edges[(i / 5) % std::size(edges)];
        const float rotation = edge ? e : any(rng);
        const float scaleX = edge && i % 2 ? -2.0f : any(rng) / 500;
        q.where[i] = {any(rng), any(rng), rotation, scaleX};
        q.scaleY[i] = any(rng) / 500;
        q.block[i] = {16, 8, 32, 16};
        q.texture[i] = {0.25f, 0.5f, 0.75f, 1};
        q.colour[i] = {edge ? e : any(rng), 255, any(rng), edge ? e : any(rng) / 800};
        q.quad[i] = slots[i];
    }
    q.count = count;
    return q;
}

std::vector<Vertex> Place(SpritePlacer placer, QueuedSprites queue) {
    Vertex untouched{};
    std::memset(&untouched, 0xAB, sizeof untouched);
    std::vector<Vertex> vertices(QueuedSprites::kCapacity * 4, untouched);
    placer(queue, vertices.data());
    return vertices;
}

}  // namespace

TEST(SpritePlacer, WidestPlacesWhatThePortableOneDoes) {
    for (const int count : {1, 7, 8, 203, QueuedSprites::kCapacity}) {
        const QueuedSprites queue = MixedQueue(count);
        const std::vector<Vertex> portable = Place(PortableSpritePlacer(), queue);
        const std::vector<Vertex> widest = Place(FastestSpritePlacer(), queue);
        ASSERT_EQ(0, std::memcmp(portable.data(), widest.data(), portable.size() * sizeof(Vertex)))
            << count << " sprites";
        // The slots no sprite took keep what they held, lanes past the last sprite included.
        std::vector<bool> taken(QueuedSprites::kCapacity);
        for (int i = 0; i < count; i++) taken[queue.quad[i]] = true;
        for (int slot = 0; slot < QueuedSprites::kCapacity; slot++) {
            uint8_t first;
            std::memcpy(&first, &portable[static_cast<size_t>(slot) * 4], 1);
            EXPECT_EQ(!taken[slot], first == 0xAB && portable[slot * 4].colour == 0xABABABABu)
                << "slot " << slot << " of " << count;
        }
    }
}
