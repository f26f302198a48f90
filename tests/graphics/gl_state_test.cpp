// The GL state cache: what reaches GL over whole frames, and that GL holds
// what each request needs through texture creation, deletion with name reuse,
// uploads, pixel reads and frame starts.
#include <random>

#include "graphics_fixture.h"

using GlStateCache = HeadlessGraphics;

TEST_F(GlStateCache, FramesOfTexturedFlushesSetStateOnce) {
    auto surface = graphics.BlankSurface(32, 32);
    ASSERT_TRUE(surface);
    const GlCallCounts before = Null().Calls();
    for (int frame = 0; frame < 3; frame++) {
        graphics.FrameBegin();
        BeginRenderState();
        for (int i = 0; i < 2000; i++) graphics.BlitSurface(surface.get(), i % 640, 100);
        EndRenderState();
        graphics.FrameEnd();
        EXPECT_EQ(graphics.LastFrame().drawCalls, 8);
    }
    const GlCallCounts& now = Null().Calls();
    EXPECT_EQ(now.draw - before.draw, 24);
    EXPECT_EQ(now.texturing - before.texturing, 1);
    EXPECT_EQ(now.bindTexture - before.bindTexture, 0);  // still bound since its upload
    EXPECT_EQ(now.StateChanges() - before.StateChanges(), 1);
    EXPECT_TRUE(Null().texturingOn);
    EXPECT_EQ(Null().lastTexture, surface->texture);
}

TEST_F(GlStateCache, FrameStartTouchesOnlyWhatChanged) {
    graphics.FrameEnd();
    GlCallCounts before = Null().Calls();
    graphics.FrameBegin();
    EXPECT_EQ(Null().Calls().StateChanges(), before.StateChanges());

    platform.windowWidth = 800;  // a resized window gets a new viewport, nothing else
    graphics.FrameBegin();
    EXPECT_EQ(Null().Calls().viewport, before.viewport + 1);
    EXPECT_EQ(Null().Calls().StateChanges(), before.StateChanges() + 1);
    EXPECT_EQ(Null().frameWidth, 800);

    graphics.SetBlend(1);
    Clear(1, 2, 3);
    Clear(1, 2, 3);  // the clear colour is set once
    before = Null().Calls();
    graphics.Backend()->ForgetState();  // e.g. another user of the context
    graphics.FrameBegin();
    const GlCallCounts& now = Null().Calls();
    EXPECT_EQ(now.viewport - before.viewport, 1);
    EXPECT_EQ(now.arrays - before.arrays, 1);
    EXPECT_EQ(now.pointers - before.pointers, 1);
    EXPECT_EQ(now.blending - before.blending, 1);
    EXPECT_EQ(now.blendFunc - before.blendFunc, 1);
    EXPECT_FALSE(Null().additiveNow);
    EXPECT_EQ(Null().Calls().clearColour, before.clearColour);
    Clear(1, 2, 3);
    EXPECT_EQ(Null().Calls().clearColour, before.clearColour + 1);
}

// Random requests straight to the backend, with names of deleted textures
// handed out again as GL does. After each one, the counting backend's idea of
// GL must satisfy it, and a call may reach GL only where GL did not already.
TEST(GlStateCacheRandom, GlHoldsWhatEveryRequestNeedsAndNoMore) {
    NullGlBackend gl;
    gl.reuseTextureNames = true;
    std::mt19937 rng(7);
    std::vector<uint32_t> live;
    uint8_t pixels[16] = {};
    const uint16_t indices[6] = {0, 1, 2, 0, 2, 3};
    int vertices[1] = {};
    gl.BeginFrame(64, 64, 64, 64, vertices);
    gl.Draw(2, 2, 0, indices);  // texturing known to be off from here on
    for (int step = 0; step < 20000; step++) {
        const GlCallCounts before = gl.Calls();
        const bool texturedBefore = gl.texturingOn;
        const uint32_t boundBefore = gl.boundNow;
        const int op = static_cast<int>(rng() % 9);
        const uint32_t some = live.empty() ? 0 : live[rng() % live.size()];
        switch (op) {
            case 0:
                if (live.size() < 6) {
                    live.push_back(gl.CreateTexture());
                    ASSERT_EQ(gl.boundNow, live.back()) << step;
                }
                break;
            case 1:
                if (!live.empty()) {
                    gl.DeleteTexture(some);
                    std::erase(live, some);
                }
                break;
            case 2:
            case 3:
                if (!some) break;
                gl.Draw(4, 4, some, indices);
                ASSERT_EQ(gl.lastTexture, some) << step;
                EXPECT_EQ(gl.Calls().texturing - before.texturing, texturedBefore ? 0 : 1);
                EXPECT_EQ(gl.Calls().bindTexture - before.bindTexture, boundBefore == some ? 0 : 1);
                break;
            case 4:
                gl.Draw(2, 2, 0, indices);
                ASSERT_EQ(gl.lastTexture, 0u) << step;
                EXPECT_EQ(gl.Calls().texturing - before.texturing, texturedBefore ? 1 : 0);
                break;
            case 5:
                if (!some) break;
                gl.UploadTexture(some, GlFormat::Rgba, 0, 0, 2, 2, pixels, true);
                ASSERT_EQ(gl.uploadedTexture, some) << step;
                EXPECT_EQ(gl.Calls().bindTexture - before.bindTexture, boundBefore == some ? 0 : 1);
                break;
            case 6:
                if (!some) break;
                ASSERT_TRUE(gl.AllocateTexture(some, GlFormat::Rgba, 4, 4));
                ASSERT_EQ(gl.allocatedTexture, some) << step;
                break;
            case 7: {
                const bool additive = rng() % 2;
                gl.SetBlendAdditive(additive);
                EXPECT_EQ(gl.additiveNow, additive);
                gl.ReadPixelsBgra(0, 0, 2, 2, pixels);
                break;
            }
            default:
                gl.BeginFrame(64, 64, 64, 64, vertices);
                EXPECT_FALSE(gl.additiveNow);
                EXPECT_EQ(gl.Calls().texturing, before.texturing);
                break;
        }
    }
    // Pixel stores are set once each however often reads and uploads come.
    EXPECT_EQ(gl.Calls().pixelStore, 2);
}
