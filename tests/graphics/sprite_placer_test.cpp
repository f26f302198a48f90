// The sprite placers: the widest one this processor runs writes exactly the
// vertices of the portable one, into the queued quads and nowhere else; and
// the vertices of a frame of sprites are the same bits on every platform.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numeric>
#include <random>
#include <vector>

#include "graphics/context.h"
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

// Hashes every vertex handed to GL (FNV-1a over their bytes).
class HashingBackend final : public NullGlBackend {
  public:
    uint64_t hash = 14695981039346656037u;

  protected:
    void GlArrayPointers(const void* array) override {
        array_ = static_cast<const uint8_t*>(array);
    }
    void GlDraw(int kind, int vertexCount, const uint16_t* quadIndices) override {
        NullGlBackend::GlDraw(kind, vertexCount, quadIndices);
        for (size_t i = 0; array_ && i < static_cast<size_t>(vertexCount) * sizeof(Vertex); i++)
            hash = (hash ^ array_[i]) * 1099511628211u;
    }

  private:
    const uint8_t* array_ = nullptr;
};

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

// Turned, scaled, tinted sprites of whole images and of sheet cells, as a
// frame of the game has them. The hash was taken from the renderer before
// sprites were queued: the vertices, and so the pixels, have not changed
// since, and they are the same on Linux, Windows and in the browser.
TEST(SpritePlacer, AFrameOfSpritesKeepsItsVertices) {
    auto backend = std::make_unique<HashingBackend>();
    HashingBackend* hashing = backend.get();
    PlGraphics graphics(std::move(backend));
    graphics.SetSize(640, 480);
    *GraphicsContext() = c_GraphicsContext{};
    SetGraphicsDevice(&graphics);
    auto whole = std::make_shared<c_Image>()->Init(graphics.BlankSurface(40, 24), 1, CentreHandle);
    auto sheet = std::make_shared<c_Image>()->Init(graphics.BlankSurface(128, 64), 1, 0);
    auto cells = sheet->CutImage(0, 0, 16, 16, 32, CentreHandle);
    graphics.FrameBegin();
    BeginRenderState();
    for (int i = 0; i < 3000; i++) {
        const float f = static_cast<float>(i);
        SetColor(f * 0.37f, 255, 300 - f * 0.1f);
        SetAlpha(i % 7 == 0 ? 0.5f : 1.0f);
        c_Image* image = i % 5 == 0 ? whole.get() : cells.get();
        PaintImage(image, f * 0.213f - 20, f * 0.161f, f * 1.37f - 2000, 0.5f + f * 0.001f,
                   i % 9 == 0 ? -1.0f : 1.25f, i % 5 == 0 ? 0 : i % 32);
    }
    EndRenderState();
    graphics.FrameEnd();
    SetGraphicsDevice(nullptr);
    *GraphicsContext() = c_GraphicsContext{};
    EXPECT_EQ(graphics.LastFrame().vertices, 12000);
    EXPECT_EQ(hashing->hash, 13613571774791940780u) << hashing->hash;
}
