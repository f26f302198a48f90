// The drawing state: composing transforms, the lazy matrix, the bounded
// matrix stack, the per-render reset, and batching through the free functions.
#include <cmath>
#include <vector>

#include "graphics/image.h"
#include "graphics_fixture.h"

using Context = HeadlessGraphics;

namespace {

std::array<float, 6> Matrix() {
    const c_GraphicsContext* c = GraphicsContext();
    return {c->ix, c->iy, c->jx, c->jy, c->tx, c->ty};
}

}  // namespace

TEST_F(Context, TranslateThenRotatePlacesTheCorner) {
    Translate(100, 50);
    Rotate(90);
    DrawRect(0, 0, 10, 1);
    EXPECT_NEAR(graphics.VertexAt(1).x, 100, 1e-4);
    EXPECT_NEAR(graphics.VertexAt(1).y, 40, 1e-4);
}

TEST_F(Context, MatrixReachesTheRendererOnlyWhenDrawing) {
    Translate(5, 5);
    Clear(0, 0, 0);
    EXPECT_FALSE(graphics.HasTransform());
    EXPECT_EQ(GraphicsContext()->matrixDirty, 1);
    DrawLine(0, 0, 1, 1);
    EXPECT_TRUE(graphics.HasTransform());
    EXPECT_EQ(GraphicsContext()->matrixDirty, 0);
    SetMatrix(1, 0, 0, 1, 0, 0);
    EXPECT_EQ(GraphicsContext()->hasTransform, 0);
    SetMatrix(1, 0, 0, 1, 0.5f, 0);
    EXPECT_EQ(GraphicsContext()->hasTransform, 1);
}

TEST_F(Context, PopRestoresExactlyAndMarksDirty) {
    SetMatrix(0.5f, 0.25f, -0.25f, 0.5f, 3, 4);
    const auto before = Matrix();
    PushMatrix();
    Scale(3, 3);
    Rotate(33);
    DrawRect(0, 0, 1, 1);  // sync, so the pop must mark it dirty again
    PopMatrix();
    EXPECT_EQ(Matrix(), before);
    EXPECT_EQ(GraphicsContext()->matrixDirty, 1);
}

TEST_F(Context, MatrixStackNeverLeavesItsThirtyTwoEntries) {
    for (int i = 0; i < 40; i++) {
        SetMatrix(1, 0, 0, 1, static_cast<float>(i), 0);
        PushMatrix();
    }
    EXPECT_EQ(GraphicsContext()->matrixDepth, 32 * 6);
    EXPECT_EQ(GraphicsContext()->matrixStack.back(), 0);  // ty of push 31
    EXPECT_EQ(GraphicsContext()->matrixStack[31 * 6 + 4], 31);
    for (int i = 31; i >= 0; i--) {
        PopMatrix();
        EXPECT_EQ(GraphicsContext()->tx, i);
    }
    SetMatrix(2, 0, 0, 2, 9, 9);
    PopMatrix();  // one more than pushed: the identity, not what lies before the stack
    EXPECT_EQ(Matrix(), (std::array<float, 6>{1, 0, 0, 1, 0, 0}));
    EXPECT_EQ(GraphicsContext()->matrixDepth, 0);
}

TEST_F(Context, EveryRenderStartsFromTheSameState) {
    SetColor(10, 20, 30);
    SetAlpha(0.25f);
    SetBlend(1);
    SetScissor(5, 5, 50, 50);
    Translate(9, 9);
    PushMatrix();
    EndRenderState();
    graphics.FrameEnd();

    graphics.FrameBegin();
    BeginRenderState();
    const c_GraphicsContext* c = GraphicsContext();
    EXPECT_EQ(RenderDevice(), &graphics);
    EXPECT_EQ(graphics.PackedColour(), 0xFFFFFFFFu);
    EXPECT_EQ(c->blend, 0);
    EXPECT_FALSE(Null().additiveNow);
    EXPECT_FALSE(Null().scissorOn);
    EXPECT_EQ(c->scissorWidth, 640);
    EXPECT_EQ(c->matrixDepth, 0);
    EXPECT_EQ(Matrix(), (std::array<float, 6>{1, 0, 0, 1, 0, 0}));
    EXPECT_EQ(DisplayWidth(), 640);
    EXPECT_EQ(DisplayHeight(), 480);
}

TEST_F(Context, DrawingOutsideARenderDoesNothing) {
    EndRenderState();
    DrawRect(0, 0, 5, 5);
    DrawEllipse(3, 3, 2, 2);
    SetColor(1, 2, 3);
    EXPECT_EQ(graphics.BatchCount(), 0);
    EXPECT_EQ(Null().drawCalls, 0);
    EXPECT_EQ(GraphicsContext()->colorR, 1);

    BeginRenderState();
    SetScissor(-1e30f, 1e30f, std::nanf(""), 1e12f);  // no int holds these: held at the ends
    EXPECT_EQ(Null().scissorBox[2], 0);
    EXPECT_EQ(Null().scissorBox[3], INT32_MAX);
}

// The renderer going (its delegate is destroyed) unbinds it from the drawing
// state, also mid-render; a new one draws only from the next render on.
TEST_F(Context, ARendererThatGoesTakesItsDrawingWithIt) {
    SetGraphicsDevice(nullptr);
    EXPECT_EQ(RenderDevice(), nullptr);
    DrawRect(0, 0, 5, 5);
    EXPECT_EQ(graphics.BatchCount(), 0);
    EXPECT_EQ(DisplayWidth(), 0);
    EXPECT_EQ(MaxTextureSize(), 0);
    EXPECT_EQ(OpenImage(u"anything.png", 1, 0), nullptr);

    SetGraphicsDevice(&graphics);
    EXPECT_EQ(GraphicsDevice(), &graphics);
    EXPECT_EQ(RenderDevice(), nullptr);
    DrawRect(0, 0, 5, 5);
    EXPECT_EQ(graphics.BatchCount(), 0);
    BeginRenderState();
    DrawRect(0, 0, 5, 5);
    EXPECT_EQ(graphics.BatchCount(), 1);
}

TEST_F(Context, ScaledDesktopDrawsInWindowUnitsOverFramebufferPixels) {
    platform.framebufferWidth = 1280;  // a desktop scaled to 200 %
    platform.framebufferHeight = 960;
    graphics.FrameBegin();
    BeginRenderState();
    EXPECT_EQ(DisplayWidth(), 640);
    EXPECT_EQ(Null().frameWidth, 640);  // the projection spans the window's units
    EXPECT_EQ(Null().frameHeight, 480);
    EXPECT_EQ(Null().viewportWidth, 1280);  // the viewport every pixel
    EXPECT_EQ(Null().viewportHeight, 960);
    EXPECT_EQ(graphics.PixelWidth(), 1280);
    SetScissor(10, 20, 100, 50);
    ASSERT_TRUE(Null().scissorOn);
    EXPECT_EQ(std::vector<int>(Null().scissorBox, Null().scissorBox + 4),
              (std::vector<int>{20, 960 - 140, 200, 100}));
    SetScissor(0, 0, 640, 480);  // the whole window, in its units
    EXPECT_FALSE(Null().scissorOn);
}

TEST_F(Context, AThousandSpritesOfOneSheetTakeFourDrawCalls) {
    auto sheet = std::make_shared<c_Image>()->Init(graphics.BlankSurface(128, 128), 1, 0);
    auto cells = sheet->CutImage(0, 0, 16, 16, 64, CentreHandle);
    for (int i = 0; i < 1000; i++) {
        SetAlpha(i % 2 ? 1.0f : 0.5f);
        SetColor(255, static_cast<float>(i % 256), 0);
        SetBlend(0);
        PaintImage(cells.get(), static_cast<float>(i % 640), 100, static_cast<float>(i), 1.5f, 1.5f,
                   i % 64);
    }
    EndRenderState();
    graphics.FrameEnd();
    EXPECT_EQ(graphics.LastFrame().drawCalls, 4);
    EXPECT_EQ(graphics.LastFrame().vertices, 4000);
    EXPECT_EQ(graphics.LastFrame().blendChanges, 0);
}

TEST_F(Context, SpriteTransformMatchesTheFourStepsExactly) {
    const float cases[][7] = {{100, 50, 37, 1.5f, 0.75f, 15.5f, 8},
                              {3, -7, 0, 2, 2, 16, 16},
                              {-20, 9, -271, -1, 3, 0.25f, 31}};
    for (const auto& k : cases) {
        SetMatrix(0.8f, 0.3f, -0.2f, 1.1f, 12.5f, -4);
        Translate(k[0], k[1]);
        Rotate(k[2]);
        Scale(k[3], k[4]);
        Translate(-k[5], -k[6]);
        const auto stepwise = Matrix();
        SetMatrix(0.8f, 0.3f, -0.2f, 1.1f, 12.5f, -4);
        TransformSprite(k[0], k[1], k[2], k[3], k[4], k[5], k[6]);
        EXPECT_EQ(Matrix(), stepwise) << k[2];
    }
}
