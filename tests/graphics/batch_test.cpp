// The batcher's figures: draw calls per capacity, kind changes, fans, blend
// caching, colour packing, matrix application and pixel block bounds.
#include <array>
#include <cmath>
#include <limits>
#include <random>

#include "graphics_fixture.h"

using Batch = HeadlessGraphics;

TEST_F(Batch, CapacityDecidesDrawCalls) {
    struct Case {
        int count;
        void (*draw)(PlGraphics&);
    } cases[] = {
        {257, [](PlGraphics& g) { g.DrawRect(1, 1, 2, 2); }},
        {1025, [](PlGraphics& g) { g.DrawPoint(3, 3); }},
        {513, [](PlGraphics& g) { g.DrawLine(0, 0, 5, 5); }},
    };
    for (const Case& c : cases) {
        graphics.FrameBegin();
        for (int i = 0; i < c.count; i++) c.draw(graphics);
        graphics.FrameEnd();
        EXPECT_EQ(graphics.LastFrame().drawCalls, 2) << c.count;
        EXPECT_EQ(graphics.LastFrame().flushesByCapacity, 1) << c.count;
    }
}

TEST_F(Batch, TextureChangesFlushEveryTime) {
    auto surface = graphics.BlankSurface(16, 16);
    ASSERT_TRUE(surface);
    graphics.FrameBegin();
    for (int i = 0; i < 5; i++) {
        graphics.DrawRect(0, 0, 4, 4);
        graphics.BlitSurface(surface.get(), 0, 0);
    }
    graphics.FrameEnd();
    EXPECT_EQ(graphics.LastFrame().drawCalls, 10);
    EXPECT_EQ(graphics.LastFrame().flushesByKind, 9);
    EXPECT_EQ(Null().lastTexture, surface->texture);
}

TEST_F(Batch, OvalPointCountFollowsOnScreenSize) {
    struct Case {
        float w, h, scale;
        int points;
    } cases[] = {{20, 20, 1, 20}, {6, 6, 1, 12},   {2000, 2000, 1, 1024},
                 {30, 20, 1, 24}, {20, 20, 2, 40}, {0, 0, 1, 12}};
    for (const Case& c : cases) {
        graphics.SetMatrix(c.scale, 0, 0, c.scale, 0, 0);
        graphics.DrawOval(10, 10, c.w, c.h);
        EXPECT_EQ(Null().lastKind, 5);
        EXPECT_EQ(Null().lastVertexCount, c.points) << c.w << "x" << c.h << " scale " << c.scale;
    }
    // The first point is the rightmost one; the second goes up the screen (counter-clockwise).
    graphics.SetMatrix(1, 0, 0, 1, 0, 0);
    graphics.DrawOval(0, 0, 20, 20);
    EXPECT_FLOAT_EQ(graphics.VertexAt(0).x, 20);
    EXPECT_FLOAT_EQ(graphics.VertexAt(0).y, 10);
    EXPECT_LT(graphics.VertexAt(1).y, 10);
}

TEST_F(Batch, PolygonsOutsideThreeTo1024PointsDrawNothing) {
    std::vector<float> points(2050, 1.0f);
    graphics.DrawRect(0, 0, 1, 1);
    const int before = Null().drawCalls;
    graphics.DrawPoly(std::span(points).first(4));
    graphics.DrawPoly(std::span(points).first(2050));
    EXPECT_EQ(Null().drawCalls, before);
    EXPECT_EQ(graphics.BatchCount(), 1);            // the pending rectangle was not flushed either
    graphics.DrawPoly(std::span(points).first(7));  // odd length: 3 points
    EXPECT_EQ(Null().drawCalls, before + 2);
    EXPECT_EQ(Null().lastVertexCount, 3);
}

TEST_F(Batch, ColoursArePremultipliedAndClamped) {
    EXPECT_EQ(PackColour(255, 128, 0, 0.5f), 0x7F00407Fu);
    EXPECT_EQ(PackColour(255, 255, 255, 1), 0xFFFFFFFFu);
    EXPECT_EQ(PackColour(300, 255, 10, 2), 0xFF0AFFFFu);  // no byte spills into the next
    EXPECT_EQ(PackColour(-5, 10, 10, -1), 0u);
    EXPECT_EQ(PackColour(-5, 10, 10, 1), 0xFF0A0A00u);
    graphics.SetColor(255, 128, 0);
    graphics.SetAlpha(0.5f);
    graphics.DrawPoint(0, 0);
    const auto* bytes = reinterpret_cast<const uint8_t*>(&graphics.VertexAt(0).colour);
    EXPECT_EQ((std::array<int, 4>{bytes[0], bytes[1], bytes[2], bytes[3]}),
              (std::array<int, 4>{127, 64, 0, 127}));
}

// Packing byte by byte in scalar code, as an oracle for the packed one:
// clamps, truncation and NaN must come out alike for any input.
TEST(PackColourOracle, AgreesWithBytewisePacking) {
    auto byte = [](float v) {
        v = v > 0.0f ? v : 0.0f;
        v = v < 255.0f ? v : 255.0f;
        return static_cast<uint32_t>(static_cast<int>(v));
    };
    auto reference = [&byte](float r, float g, float b, float alpha) {
        float a = alpha > 0.0f ? alpha : 0.0f;
        a = a < 1.0f ? a : 1.0f;
        r = r < 255.0f ? r : 255.0f, g = g < 255.0f ? g : 255.0f, b = b < 255.0f ? b : 255.0f;
        return byte(a * 255.0f) << 24 | byte(b * a) << 16 | byte(g * a) << 8 | byte(r * a);
    };
    const float special[] = {0.0f,
                             -0.0f,
                             1.0f,
                             254.999f,
                             255.0f,
                             255.5f,
                             -1.0f,
                             1e30f,
                             -1e30f,
                             std::numeric_limits<float>::infinity(),
                             -std::numeric_limits<float>::infinity(),
                             std::nanf("")};
    const float alphas[] = {0.0f,   0.5f,   1.0f,          1.5f,
                            -0.25f, 0.999f, std::nanf(""), std::numeric_limits<float>::infinity()};
    std::mt19937 rng(11);
    std::uniform_real_distribution<float> colour(-20.0f, 280.0f), alpha(-0.2f, 1.2f);
    for (int i = 0; i < 100000; i++) {
        float c[3];
        for (float& v : c) v = rng() % 4 == 0 ? special[rng() % 12] : colour(rng);
        const float a = rng() % 4 == 0 ? alphas[rng() % 8] : alpha(rng);
        ASSERT_EQ(PackColour(c[0], c[1], c[2], a), reference(c[0], c[1], c[2], a))
            << c[0] << " " << c[1] << " " << c[2] << " " << a;
    }
}

TEST_F(Batch, SettingTheBlendInForceIsFree) {
    const int calls = Null().blendCalls;
    for (int i = 0; i < 300; i++) {
        graphics.SetBlend(0);
        graphics.DrawRect(0, 0, 1, 1);
    }
    EXPECT_EQ(Null().blendCalls, calls);
    EXPECT_EQ(Null().drawCalls, 1);  // only the capacity flush at 256
    graphics.SetBlend(1);
    EXPECT_TRUE(Null().additiveNow);
    EXPECT_EQ(Null().drawCalls, 2);
    graphics.SetBlend(7);  // any other value is alpha blending
    EXPECT_FALSE(Null().additiveNow);
    graphics.SetBlend(1);
    graphics.FrameBegin();  // GL is set back to alpha blending (one call), and so is the cache
    EXPECT_EQ(Null().blendCalls, calls + 4);
    graphics.SetBlend(0);
    EXPECT_EQ(Null().blendCalls, calls + 4);
    graphics.SetBlend(1);
    EXPECT_EQ(Null().blendCalls, calls + 5);
}

TEST_F(Batch, ClearDropsPendingPrimitives) {
    graphics.DrawRect(0, 0, 10, 10);
    graphics.DrawRect(0, 0, 10, 10);
    graphics.Clear(0, 0, 0);
    graphics.FrameEnd();
    EXPECT_EQ(graphics.LastFrame().drawCalls, 0);
}

TEST_F(Batch, VerticesAreTransformedAndTexturedFromPixels) {
    auto surface = graphics.BlankSurface(256, 128);
    ASSERT_TRUE(surface);
    graphics.SetMatrix(2, 0, 0, 3, 10, 20);
    graphics.BlitSurfaceRegion(surface.get(), 1, 1, 32, 64, 16, 8);
    const Vertex& a = graphics.VertexAt(0);
    const Vertex& c = graphics.VertexAt(2);
    EXPECT_EQ((std::array<float, 4>{a.x, a.y, a.u, a.v}),
              (std::array<float, 4>{12, 23, 32 / 256.0f, 64 / 128.0f}));
    EXPECT_EQ((std::array<float, 4>{c.x, c.y, c.u, c.v}),
              (std::array<float, 4>{12 + 32, 23 + 24, 48 / 256.0f, 72 / 128.0f}));
}

TEST_F(Batch, PixelBlocksMustFitTheirArray) {
    std::vector<int32_t> pixels(16, 0x12345678);
    graphics.ReadPixels(pixels, 0, 0, 4, 4, 1, 4);   // one element short
    graphics.ReadPixels(pixels, 0, 0, 4, 4, 0, 5);   // pitch runs past the end
    graphics.ReadPixels(pixels, 0, 0, 4, 2, 2, -4);  // second row before the start
    graphics.ReadPixels(pixels, 0, 0, -1, 4, 0, 4);
    EXPECT_EQ(pixels, std::vector<int32_t>(16, 0x12345678));
    graphics.ReadPixels(pixels, 0, 0, 2, 2, 10, 4);  // fits: rows at 10 and 14
    EXPECT_EQ(pixels[9], 0x12345678);
    EXPECT_EQ(pixels[10], 0);
    EXPECT_EQ(pixels[15], 0);
}

TEST_F(Batch, WritePixelsPremultipliesIntoBgra) {
    auto surface = graphics.BlankSurface(4, 4);
    ASSERT_TRUE(surface);
    const std::vector<int32_t> pixels = {int32_t(0x80C86432u), int32_t(0x00FFFFFFu),
                                         int32_t(0xFF0A141Eu)};
    graphics.WritePixels(surface.get(), pixels, 0, 0, 3, 1, 0, 3);
    EXPECT_EQ(Null().lastUpload,
              (std::vector<uint8_t>{25, 50, 100, 128, 0, 0, 0, 0, 30, 20, 10, 255}));
    graphics.WritePixels(surface.get(), pixels, 0, 0, 3, 2, 0, 3);  // needs 6 ints
    EXPECT_EQ(Null().lastUpload.size(), 12u);
}

// Only an opaque, untransformed, normally blended rectangle over the whole
// window becomes a clear; any other keeps its triangles.
TEST_F(Batch, OnlyOpaqueWindowCoveringRectanglesBecomeClears) {
    struct Case {
        float x, y, w, h, alpha;
        int blend;
        bool turned;
        bool clear;
    };
    const Case cases[] = {
        {0, 0, 640, 480, 1, 0, false, true},      {-1, -1, 642, 482, 1, 0, false, true},
        {0, 0, 640, 479, 1, 0, false, false},     {1, 0, 640, 480, 1, 0, false, false},
        {0, 0, 640, 480, 0.99f, 0, false, false}, {0, 0, 640, 480, 1, 1, false, false},
        {0, 0, 640, 480, 1, 0, true, false},
    };
    for (const Case& c : cases) {
        graphics.FrameBegin();
        BeginRenderState();
        SetAlpha(c.alpha);
        SetBlend(c.blend);
        if (c.turned) Rotate(180);
        const int clears = Null().clears;
        DrawRect(c.x, c.y, c.w, c.h);
        EndRenderState();
        graphics.FrameEnd();
        EXPECT_EQ(Null().clears - clears, c.clear ? 1 : 0) << c.x << " " << c.h << " " << c.alpha;
        EXPECT_EQ(graphics.LastFrame().drawCalls, c.clear ? 0 : 1);
    }
}
