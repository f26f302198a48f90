// Exact pixels from a real GL context: premultiplied colours, blend modes,
// scissor, Clear, transforms, images and surfaces read back with ReadPixels.
#include "graphics/image.h"
#include "graphics_fixture.h"
#include "support/gl_window.h"

namespace {

class GlPixels : public ::testing::Test {
  protected:
    // One window for the suite: the X server resets whenever its last client leaves.
    static void SetUpTestSuite() { window = new GlTestWindow(640, 480); }
    static void TearDownTestSuite() {
        delete window;
        window = nullptr;
    }

    void SetUp() override {
        ASSERT_TRUE(window && window->Ok());
        platform.glContext = true;
        graphics = std::make_unique<PlGraphics>(MakeOpenGlBackend(), &platform, &platform);
        *GraphicsContext() = c_GraphicsContext{};
        SetGraphicsDevice(graphics.get());
        graphics->FrameBegin();
        BeginRenderState();
        Clear(0, 0, 0);
    }
    void TearDown() override {
        EndRenderState();
        SetGraphicsDevice(nullptr);
        *GraphicsContext() = c_GraphicsContext{};
    }
    // The red, green and blue bytes at (x, y), y down.
    uint32_t Rgb(int x, int y) {
        int32_t p = 0;
        ReadPixels(std::span(&p, 1), x, y, 1, 1, 0, 1);
        return static_cast<uint32_t>(p) & 0xFFFFFF;
    }

    static GlTestWindow* window;
    TestPlatform platform;
    std::unique_ptr<PlGraphics> graphics;
};

GlTestWindow* GlPixels::window = nullptr;

}  // namespace

TEST_F(GlPixels, ColoursArriveHalfStrengthAtHalfAlpha) {
    SetColor(255, 128, 0);
    SetAlpha(0.5f);
    DrawRect(10, 10, 20, 20);
    EXPECT_EQ(Rgb(15, 15), 0x7F4000u);
    EXPECT_EQ(Rgb(35, 15), 0u);
}

TEST_F(GlPixels, AdditiveKeepsWhatAlphaBlendingCovers) {
    Clear(100, 0, 0);
    SetColor(0, 0, 200);
    SetAlpha(0.5f);
    DrawRect(0, 0, 10, 10);
    SetBlend(1);
    DrawRect(20, 0, 10, 10);
    EXPECT_EQ(Rgb(5, 5), 0x320064u);   // 100·(1 − 127/255) red left, 100 blue
    EXPECT_EQ(Rgb(25, 5), 0x640064u);  // red untouched
}

TEST_F(GlPixels, ScissorKeepsDrawingInsideItsBox) {
    SetScissor(10, 20, 30, 40);
    DrawRect(0, 0, 640, 480);
    EXPECT_EQ(Rgb(10, 20), 0xFFFFFFu);
    EXPECT_EQ(Rgb(39, 59), 0xFFFFFFu);
    EXPECT_EQ(Rgb(9, 20), 0u);
    EXPECT_EQ(Rgb(10, 60), 0u);
    SetScissor(0, 0, 640, 480);
    DrawRect(0, 0, 640, 480);
    EXPECT_EQ(Rgb(600, 400), 0xFFFFFFu);
}

TEST_F(GlPixels, ClearDropsWhatWasPending) {
    DrawRect(0, 0, 100, 100);
    Clear(0, 0, 50);
    EXPECT_EQ(Rgb(50, 50), 0x000032u);
}

TEST_F(GlPixels, RotatedRectangleLandsWhereTheMatrixSays) {
    Translate(100, 50);
    Rotate(90);
    DrawRect(0, 0, 10, 2);  // covers x 100..102, y 40..50 on screen
    EXPECT_EQ(Rgb(100, 40), 0xFFFFFFu);
    EXPECT_EQ(Rgb(101, 49), 0xFFFFFFu);
    EXPECT_EQ(Rgb(100, 38), 0u);
    EXPECT_EQ(Rgb(103, 45), 0u);
    EXPECT_EQ(Rgb(100, 51), 0u);
}

TEST_F(GlPixels, ImagesTurnAndScaleAboutTheirHandle) {
    auto surface = graphics->BlankSurface(2, 2);
    ASSERT_TRUE(surface);
    const int32_t quad[4] = {int32_t(0xFFFF0000u), int32_t(0xFF00FF00u), int32_t(0xFF0000FFu),
                             int32_t(0xFFFFFFFFu)};
    graphics->WritePixels(surface.get(), quad, 0, 0, 2, 2, 0, 2);
    auto image = std::make_shared<c_Image>()->Init(surface, 1, CentreHandle);
    PaintImage(image.get(), 200, 200, 90, 10, 10, 0);
    // A quarter turn counter-clockwise: top-left goes to bottom-left, and so on.
    EXPECT_EQ(Rgb(195, 205), 0xFF0000u);
    EXPECT_EQ(Rgb(195, 195), 0x00FF00u);
    EXPECT_EQ(Rgb(205, 205), 0x0000FFu);
    EXPECT_EQ(Rgb(205, 195), 0xFFFFFFu);
    EXPECT_EQ(Rgb(189, 200), 0u);
    EXPECT_EQ(Rgb(211, 200), 0u);
}

TEST_F(GlPixels, DecodedSurfacesDrawPremultipliedAtTheirOwnSize) {
    std::vector<uint8_t> px = Fill(100, 50, {200, 100, 50, 128});
    auto surface =
        graphics->SurfaceFromFile(Widen(WritePng(platform.tempDir, "p.png", 100, 50, 4, px)));
    ASSERT_TRUE(surface);
    EXPECT_FLOAT_EQ(surface->texScaleU, 1 / 100.0f);  // Mesa takes any size
    graphics->BlitSurface(surface.get(), 0, 0);
    EXPECT_EQ(Rgb(99, 49), 0x643219u);
    EXPECT_EQ(Rgb(100, 49), 0u);
    EXPECT_FALSE(graphics->BlankSurface(1 << 20, 4));  // beyond any texture size
}

TEST_F(GlPixels, ReadPixelsFlipsRowsAndPutsAlphaOnTop) {
    SetColor(255, 0, 0);
    DrawRect(0, 0, 2, 1);  // top row red, the row below stays black
    std::vector<int32_t> block(2 * 3, 7);
    ReadPixels(block, 0, 0, 2, 2, 0, 3);
    EXPECT_EQ(static_cast<uint32_t>(block[0]) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(static_cast<uint32_t>(block[3]) & 0xFFFFFF, 0u);
    EXPECT_EQ(block[2], 7);  // outside the block
}

// GL keeps texturing and the binding between draws and frames now: an upload
// to another texture between two draws, and an untextured draw in the next
// frame, must still sample what each draw asks for.
TEST_F(GlPixels, CarriedTextureStateStillDrawsWhatIsAsked) {
    auto red = graphics->BlankSurface(2, 2), green = graphics->BlankSurface(2, 2);
    ASSERT_TRUE(red && green);
    const int32_t redPixels[4] = {int32_t(0xFFFF0000u), int32_t(0xFFFF0000u), int32_t(0xFFFF0000u),
                                  int32_t(0xFFFF0000u)};
    const int32_t greenPixels[4] = {int32_t(0xFF00FF00u), int32_t(0xFF00FF00u),
                                    int32_t(0xFF00FF00u), int32_t(0xFF00FF00u)};
    graphics->WritePixels(red.get(), redPixels, 0, 0, 2, 2, 0, 2);
    graphics->BlitSurface(red.get(), 0, 0);
    graphics->WritePixels(green.get(), greenPixels, 0, 0, 2, 2, 0, 2);  // binds green
    graphics->BlitSurface(red.get(), 10, 0);
    EXPECT_EQ(Rgb(1, 1), 0xFF0000u);
    EXPECT_EQ(Rgb(11, 1), 0xFF0000u);
    EndRenderState();
    graphics->FrameEnd();

    graphics->FrameBegin();
    BeginRenderState();
    Clear(0, 0, 0);
    SetColor(0, 0, 255);
    DrawRect(20, 0, 4, 4);  // texturing was left on by the last frame
    SetColor(255, 255, 255);
    graphics->BlitSurface(green.get(), 30, 0);
    EXPECT_EQ(Rgb(21, 1), 0x0000FFu);
    EXPECT_EQ(Rgb(31, 1), 0x00FF00u);
}

// An opaque rectangle over the whole window goes to GL as a clear; the
// pixels, alpha included, are the ones the same rectangle leaves drawn as
// triangles (a quarter pixel in still covers every pixel centre).
TEST_F(GlPixels, WindowCoveringRectangleLeavesWhatItsTrianglesLeave) {
    const float colours[][3] = {{40, 40, 80}, {40.7f, 127.5f, 254.9f}, {255, 0, 1}};
    auto picture = [&](float x, const float* c) {
        SetColor(0, 200, 0);
        SetAlpha(0.5f);
        DrawRect(5, 5, 100, 100);  // pending under the cover
        SetColor(c[0], c[1], c[2]);
        SetAlpha(1);
        DrawRect(x, -1, 642, 482);
        std::vector<int32_t> all(640 * 480);
        ReadPixels(all, 0, 0, 640, 480, 0, 640);
        return all;
    };
    for (const auto& c : colours) {
        const int clears = graphics->Stats().rectsAsClears;
        const std::vector<int32_t> drawn = picture(0.25f, c);
        EXPECT_EQ(graphics->Stats().rectsAsClears, clears);
        const std::vector<int32_t> cleared = picture(-1, c);
        EXPECT_EQ(graphics->Stats().rectsAsClears, clears + 1);
        EXPECT_EQ(drawn, cleared) << c[0] << " " << c[1] << " " << c[2];
    }
}
