// Draw-list commands, text layout, button hit test, number padding and the replay.
#include <gtest/gtest.h>

#include "graphics/context.h"
#include "graphics/renderer.h"
#include "support/game_harness.h"

namespace {

std::u16string Padded(int n, int width, std::u16string_view pad) {
    return std::u16string(c_MyApp::PadNumber(n, width, pad).View());
}

TEST(DrawState, SettersAndMarkers) {
    GameHarness h;
    c_MyApp& app = h.App();
    app.SetDrawScale(2, kNoneF);
    EXPECT_EQ(app.drawList.drawScaleX, 2);
    EXPECT_EQ(app.drawList.drawScaleY, 2);
    app.SetDrawScale(2, 3);
    EXPECT_EQ(app.drawList.drawScaleY, 3);
    app.SetDrawAlpha(0.25f);
    app.SetDrawColor(255, 0, 0, kNoneF);
    EXPECT_EQ(app.drawList.drawAlpha, 0.25f);
    EXPECT_EQ(app.drawList.drawColorR, 255);
    EXPECT_EQ(app.drawList.drawColorG, 0);
    app.SetDrawColor(1, 2, 3, 0.5f);
    EXPECT_EQ(app.drawList.drawAlpha, 0.5f);
    app.SetDrawRotation(30);
    EXPECT_EQ(app.drawList.drawRotation, -30);

    app.BeginDrawList(10, 20, 30, 0.5f);
    EXPECT_EQ(app.screen.backgroundColor, (std::array<float, 4>{10, 20, 30, 0.5f}));
    EXPECT_EQ(app.drawList.drawCount, 0);
    EXPECT_EQ(app.drawList.drawScaleX, 1);
    EXPECT_EQ(app.drawList.drawRotation, 0);
    EXPECT_EQ(app.drawList.drawColorB, 255);
    EXPECT_EQ(app.drawList.drawAlpha, 1);
    EXPECT_EQ(app.drawList.drawBlend, 1);
    app.BeginDrawList(kNoneF, 0, 0, 0);  // left out: the background stays
    EXPECT_EQ(app.screen.backgroundColor[0], 10);
}

TEST(DrawList, CommandsCarryTheDrawState) {
    GameHarness h;
    c_MyApp& app = h.App();
    app.BeginDrawList(0, 0, 0, 1);
    app.drawList.commands[0].unwritten8 = 77;  // entries a command does not write keep their values
    app.SetDrawColor(10, 20, 30, 0.5f);
    app.SetDrawScale(2, 3);
    app.SetDrawRotation(45);
    app.drawList.drawBlend = 3;
    app.QueueImage(97, 100, 50, 4);
    app.QueueRect(1, 2, 3, 4);
    app.QueueEllipse(5, 6, 7, 8);
    app.QueueLine(9, 10, 11, 12);
    ASSERT_EQ(h.CommandCount(), 4);
    DrawCommand image = h.Command(0);
    EXPECT_EQ(image.kind, 97);
    EXPECT_EQ(image.x, 100);
    EXPECT_EQ(image.y, 50);
    EXPECT_EQ(image.rotation, -45);
    EXPECT_EQ(image.sizeX, 2);
    EXPECT_EQ(image.sizeY, 3);
    EXPECT_EQ(image.frame, 4);
    EXPECT_EQ(image.alpha, 0.5f);
    EXPECT_EQ(image.red, 10);
    EXPECT_EQ(image.green, 20);
    EXPECT_EQ(image.blue, 30);
    EXPECT_EQ(image.blend, 3);
    EXPECT_EQ(app.drawList.Command(0).unwritten8, 77);
    DrawCommand rect = h.Command(1), ellipse = h.Command(2), line = h.Command(3);
    EXPECT_EQ(rect.kind, kCmdRect);
    EXPECT_EQ(ellipse.kind, kCmdEllipse);
    EXPECT_EQ(line.kind, kCmdLine);
    EXPECT_EQ(rect.sizeX, 3);
    EXPECT_EQ(rect.sizeY, 4);
    EXPECT_EQ(ellipse.sizeY, 8);
    EXPECT_EQ(line.x, 9);
    EXPECT_EQ(line.sizeX, 11);
    EXPECT_EQ(line.sizeY, 12);
    EXPECT_EQ(line.frame, 0);
}

TEST(DrawList, HoldsAtMost2499Commands) {
    GameHarness h;
    c_MyApp& app = h.App();
    app.BeginDrawList(0, 0, 0, 1);
    for (int i = 0; i < 2499; i++) app.QueueRect(static_cast<float>(i), 0, 1, 1);
    EXPECT_EQ(app.drawList.drawCount, 37485);
    app.QueueRect(-5, -5, 1, 1);
    app.QueueImage(1, -5, -5, 0);
    app.QueueText(0, 0, u"ABC", 0, 0);
    EXPECT_EQ(app.drawList.drawCount, 37485);
    EXPECT_EQ(h.Command(2498).x, 2498);
    EXPECT_EQ(app.drawList.Command(2499).kind, 0);  // nothing written past the limit
}

TEST(PadNumber, KeepsTheLastWidthCharacters) {
    EXPECT_EQ(Padded(42, 8, u"0"), u"00000042");
    EXPECT_EQ(Padded(123456789, 8, u"0"), u"23456789");
    EXPECT_EQ(Padded(7, 3, u"ab"), u"ab7");
    EXPECT_EQ(Padded(-5, 4, u"0"), u"00-5");
    EXPECT_EQ(Padded(12, 0, u"0"), u"");
    EXPECT_EQ(Padded(12, 4, u""), u"12");
    EXPECT_EQ(c_MyApp::PadNumber(1, 10000, u"0").Length(), TextBuffer::kCapacity);
}

class TextLayout : public testing::Test {
  protected:
    void SetUp() override {
        h.Update();  // the first loader step reads the font
        app.BeginDrawList(0, 0, 0, 1);
        app.media.currentFont = 90;  // advance 7, line height 10
    }
    GameHarness h;
    c_MyApp& app = h.App();
};

TEST_F(TextLayout, CentredTextStepsOverSpaces) {
    app.QueueText(100, 50, u"A B", 1, 1);
    ASSERT_EQ(h.CommandCount(), 2);
    EXPECT_EQ(h.Command(0).kind, 90);
    EXPECT_EQ(h.Command(0).frame, 33);
    EXPECT_FLOAT_EQ(h.Command(0).x, 93);
    EXPECT_FLOAT_EQ(h.Command(0).y, 50);
    EXPECT_EQ(h.Command(1).frame, 34);
    EXPECT_FLOAT_EQ(h.Command(1).x, 107);
}

TEST_F(TextLayout, AlignmentAndScale) {
    app.SetDrawScale(2, kNoneF);
    app.QueueText(100, 50, u"AB", 0, 0);  // starts at x, half a line lower
    EXPECT_FLOAT_EQ(h.Command(0).x, 100);
    EXPECT_FLOAT_EQ(h.Command(0).y, 60);
    EXPECT_FLOAT_EQ(h.Command(1).x, 114);
    app.BeginDrawList(kNoneF, 0, 0, 0);
    app.QueueText(100, 50, u"AB", 2, 1);  // right-aligned: the last glyph sits on x
    EXPECT_FLOAT_EQ(h.Command(1).x, 100);
}

TEST_F(TextLayout, BackslashNBreaksTheLineAndCountsForCentring) {
    app.QueueText(100, 50, u"A\\nB", 1, 1);
    ASSERT_EQ(h.CommandCount(), 2);
    float x0 = 100 - 3 * 7 * 0.5f;  // all four characters count
    EXPECT_FLOAT_EQ(h.Command(0).x, x0);
    EXPECT_FLOAT_EQ(h.Command(1).x, x0);
    EXPECT_FLOAT_EQ(h.Command(1).y, 60);
    EXPECT_EQ(h.Command(1).frame, 34);
}

TEST_F(TextLayout, RotatedTextRunsAlongTheHeading) {
    app.SetDrawRotation(90);  // clockwise a quarter turn: the line runs down the screen
    app.QueueText(100, 50, u"AB", 0, 1);
    EXPECT_NEAR(h.Command(0).x, 100, 1e-4);
    EXPECT_NEAR(h.Command(1).x, 100, 1e-4);
    EXPECT_NEAR(h.Command(1).y, 57, 1e-4);
    EXPECT_EQ(h.Command(1).rotation, -90);
}

TEST_F(TextLayout, OnlyCodes33To159AreDrawn) {
    app.QueueText(0, 0, std::u16string{u'~', char16_t(159), char16_t(160), u' ', u'!'}, 0, 1);
    ASSERT_EQ(h.CommandCount(), 3);
    EXPECT_EQ(h.Command(1).frame, 127);
    EXPECT_FLOAT_EQ(h.Command(2).x, 28);  // the undrawn ones still advanced the pen
}

TEST(Button, HitTestIsStrictAndNeedsAHeldTouch) {
    GameHarness h;
    c_MyApp& app = h.App();
    app.media.imageGeometry[3 * kImageIcons] = 64;  // a level-2 icon: 32 units on screen
    app.media.imageGeometry[3 * kImageIcons + 1] = 64;
    app.media.resScale = 0.5f;
    app.ResetDrawState();
    app.input.touchX.fill(kNone);
    app.input.touchY.fill(kNone);
    app.input.pointerDown = 1;
    EXPECT_EQ(app.QueueButton(kImageIcons, 100, 100, 3), 0);  // no touch held
    EXPECT_EQ(h.Command(h.CommandCount() - 1).frame, 3);
    app.input.touchX[5] = 115, app.input.touchY[5] = 84 + 1;
    EXPECT_EQ(app.QueueButton(kImageIcons, 100, 100, 3), 1);
    app.input.touchX[5] = 116;  // on the edge: outside
    EXPECT_EQ(app.QueueButton(kImageIcons, 100, 100, 3), 0);
    app.SetDrawScale(2, kNoneF);  // a bigger drawing hits further out
    EXPECT_EQ(app.QueueButton(kImageIcons, 100, 100, 3), 1);
    app.input.pointerDown = 0;
    EXPECT_EQ(app.QueueButton(kImageIcons, 100, 100, 3), 0);
    app.input.pointerDown = 1;
    EXPECT_EQ(app.QueueButton(500, 100, 100, 3), 0);  // no such image: nothing to hit
}

struct ScaleCase {
    int width, height;
    float scale, screenWidth, screenHeight;
    int landscape;
};

class ScreenFitTest : public testing::TestWithParam<ScaleCase> {};

TEST_P(ScreenFitTest, UsesTheLargerFactorForBothAxes) {
    const ScaleCase& c = GetParam();
    GameHarness h(c.width, c.height);
    EXPECT_FLOAT_EQ(h.App().screen.screenScaleX, c.scale);
    EXPECT_FLOAT_EQ(h.App().screen.screenScaleY, c.scale);
    EXPECT_FLOAT_EQ(h.App().screen.screenWidth, c.screenWidth);
    EXPECT_FLOAT_EQ(h.App().screen.screenHeight, c.screenHeight);
    EXPECT_EQ(h.App().screen.landscape, c.landscape);
}

INSTANTIATE_TEST_SUITE_P(Windows, ScreenFitTest,
                         testing::Values(ScaleCase{1280, 960, 2, 640, 480, 1},
                                         ScaleCase{1280, 720, 2, 640, 360, 1},
                                         ScaleCase{800, 480, 1.25f, 640, 384, 1},
                                         ScaleCase{640, 480, 1, 640, 480, 1},
                                         ScaleCase{480, 800, 800.0f / 480, 288, 480, 0}));

TEST(Render, ZeroSizedWindowKeepsTheLastFit) {
    GameHarness h(1280, 960);
    h.Resize(0, 0);
    h.Render();
    EXPECT_FLOAT_EQ(h.App().screen.screenScaleX, 2);
    EXPECT_FLOAT_EQ(h.App().screen.screenWidth, 640);
}

// A list with one image command, replayed: where its quad lands in device pixels.
TEST(Render, ImagesAreScaledByScreenAndResolution) {
    GameHarness h(1280, 960);
    h.FinishLoading();
    c_MyApp& app = h.App();
    ASSERT_EQ(app.media.resLevel, 4);
    ASSERT_NE(app.media.imageTable[97], nullptr);
    app.BeginDrawList(0, 0, 0, 1);
    app.QueueImage(97, 100, 50, 0);  // 32 x 32 units, 128 x 128 pixels in the sheet
    h.Render();
    PlGraphics& g = *GraphicsDevice();
    float minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f;
    for (int i = 0; i < 4; i++) {
        minX = std::min(minX, g.VertexAt(i).x), maxX = std::max(maxX, g.VertexAt(i).x);
        minY = std::min(minY, g.VertexAt(i).y), maxY = std::max(maxY, g.VertexAt(i).y);
    }
    // Screen scale 2: 64 device pixels wide, centred on (200, 100).
    EXPECT_NEAR(minX, 168, 0.01);
    EXPECT_NEAR(maxX, 232, 0.01);
    EXPECT_NEAR(minY, 68, 0.01);
    EXPECT_NEAR(maxY, 132, 0.01);
}

TEST(Render, BlendThreeIsAdditiveAndEmptySlotsAreSkipped) {
    GameHarness h;
    c_MyApp& app = h.App();
    NullGlBackend* backend = h.Backend();
    ASSERT_NE(backend, nullptr);
    app.BeginDrawList(0, 0, 0, 1);
    app.QueueRect(0, 0, 10, 10);
    h.Render();
    EXPECT_FALSE(backend->additiveNow);
    int drawsForOneRect = GraphicsDevice()->LastFrame().vertices;

    app.media.imageTable[5] = nullptr;
    app.QueueImage(5, 10, 10, 0);  // empty slot: nothing drawn
    h.Render();
    EXPECT_EQ(GraphicsDevice()->LastFrame().vertices, drawsForOneRect);

    app.drawList.drawBlend = 3;
    app.QueueRect(0, 0, 10, 10);
    h.Render();
    EXPECT_TRUE(backend->additiveNow);
    EXPECT_GT(GraphicsDevice()->LastFrame().vertices, drawsForOneRect);
}

TEST(Render, RepeatedRenderDrawsTheSamePicture) {
    GameHarness h;
    h.FinishLoading();
    h.Update();
    h.Render();
    GraphicsStats first = GraphicsDevice()->LastFrame();
    h.Render();
    GraphicsStats second = GraphicsDevice()->LastFrame();
    EXPECT_GT(first.vertices, 0);
    EXPECT_EQ(first.vertices, second.vertices);
    EXPECT_EQ(first.drawCalls, second.drawCalls);
}

TEST(Render, ResizeReloadsAssetsKeepingModeAndScores) {
    GameHarness h;
    h.FinishLoading();
    c_MyApp& app = h.App();
    app.match.score = 120;
    app.saved.highscores[0] = 900;
    app.title.difficulty = 3;
    int spinner = app.loading.spinnerAngle;
    h.Resize(1280, 720);
    h.Render();
    EXPECT_EQ(app.loading.loadStep, 1);
    EXPECT_EQ(app.screen.knownWidth, 1280);
    EXPECT_EQ(app.screen.knownHeight, 720);
    h.Update();
    EXPECT_EQ(h.Command(0).kind, kCmdEllipse);  // the loading screen shows
    h.FinishLoading();
    EXPECT_EQ(app.media.resLevel, 4);
    EXPECT_EQ(app.mode, kModeTitle);
    EXPECT_EQ(app.match.score, 120);
    EXPECT_EQ(app.saved.highscores[0], 900);
    EXPECT_EQ(app.title.difficulty, 3);
    EXPECT_EQ(app.loading.spinnerAngle, spinner + 21 * 16);  // never reset by a reload
}

}  // namespace
