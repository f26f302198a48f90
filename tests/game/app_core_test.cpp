// The game object's life cycle, input sampling, latches, mode machine and services.
#include <gtest/gtest.h>

#include <cmath>

#include "audio/audio.h"
#include "core/random.h"
#include "framework/app.h"
#include "support/game_harness.h"

namespace {

constexpr int kZ = 90, kEscape = 27, kF10 = 121;

TEST(GameObject, CreateGivesTheStartValues) {
    GameHarness h;
    c_MyApp& app = h.App();
    EXPECT_EQ(MyApp(), &app);
    EXPECT_EQ(app.mode, kModeTitle);
    EXPECT_EQ(h.platform.TickRate(), 60);
    EXPECT_EQ(app.UpdateRate(), 60);
    EXPECT_EQ(app.title.difficulty, 2);
    EXPECT_EQ(app.title.titleSlide, -32);
    EXPECT_EQ(app.pause.paused, 0);
    EXPECT_EQ(app.pause.panelDirection, -1);
    EXPECT_EQ(app.pause.panelY, -64);
    EXPECT_EQ(app.saved.settings[5], 1);
    EXPECT_EQ(app.loading.loadStep, 1);
    EXPECT_NE(app.media.tunePlayer, nullptr);
    EXPECT_EQ(Globals().musicSwitch, 0);
    for (int i = 0; i < 33; i++) EXPECT_EQ(app.media.channelIds[i], i);
}

TEST(GameObjectDeathTest, CloseKeyEndsTheProcessWithStatusZero) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            GameHarness h;
            h.KeyDown(kCloseKey);
            h.Update();
            std::exit(3);  // only reached when the close key was ignored
        },
        testing::ExitedWithCode(0), "");
}

TEST(GameObject, F10TogglesTheDebugLineOncePerUpdate) {
    GameHarness h;
    h.FinishLoading();
    // Two presses before one update: hit count 2, still one toggle.
    h.KeyDown(kF10), h.KeyUp(kF10), h.KeyDown(kF10), h.KeyUp(kF10);
    h.Update();
    EXPECT_EQ(Globals().debugOverlay, 1);
    h.Update();
    EXPECT_EQ(Globals().debugOverlay, 1);  // nothing pressed since
    h.KeyDown(kF10);
    h.Update();
    EXPECT_EQ(Globals().debugOverlay, 0);
}

TEST(GameObject, DebugLineShowsRenderRateAndScale) {
    GameHarness h(1280, 960);
    h.FinishLoading();
    h.KeyDown(kF10);
    h.Update();
    c_MyApp& app = h.App();
    // "<fps>:2,2" left-aligned at (16, screenHeight - 16), glyph frames = code - 32.
    std::u16string expected = IntToString(app.timing.renderFpsAvg) + u":2,2";
    int first = h.CommandCount() - static_cast<int>(expected.size());
    ASSERT_GE(first, 0);
    for (size_t i = 0; i < expected.size(); i++) {
        DrawCommand c = h.Command(first + static_cast<int>(i));
        EXPECT_EQ(c.kind, 90);
        EXPECT_EQ(c.frame, expected[i] - 32);
        EXPECT_FLOAT_EQ(c.x, 16 + 7 * static_cast<float>(i));
        EXPECT_FLOAT_EQ(c.y, 480 - 16 + 5);  // alignY 0 moves the line down half a line
    }
}

TEST(GameObject, PointerIsSampledInScreenUnitsWithoutJumpOnPress) {
    GameHarness h(1280, 960);  // 2 pixels per unit
    h.MoveTo(100, 60);
    h.Update();
    EXPECT_EQ(h.App().input.pointerX, 50);
    EXPECT_EQ(h.App().input.pointerY, 30);
    h.Press(401, 201);
    h.Update();
    c_MyApp& app = h.App();
    EXPECT_EQ(app.input.pointerX, 200);
    EXPECT_EQ(app.input.pointerY, 100);
    EXPECT_EQ(app.input.pointerPrevX, app.input.pointerX);  // fresh press: no jump
    EXPECT_EQ(app.input.pointerPrevY, app.input.pointerY);
    EXPECT_EQ(app.input.pointerDown, 1);
    EXPECT_EQ(app.input.clickHits, 1);
    h.MoveTo(420, 220);
    h.Update();
    EXPECT_EQ(app.input.pointerPrevX, 200);  // held: the previous position is kept
    EXPECT_EQ(app.input.pointerX, 210);
    EXPECT_EQ(app.input.clickHits, 0);
}

TEST(GameObject, TouchesReadMarkerUntilHeld) {
    GameHarness h(1280, 960);
    h.Update();
    c_MyApp& app = h.App();
    for (int i = 0; i < 10; i++) {
        EXPECT_EQ(app.input.touchDown[i], 0);
        EXPECT_EQ(app.input.touchX[i], kNone);
        EXPECT_EQ(app.input.touchY[i], kNone);
    }
    h.platform.TouchInput(kEventTouchDown, 3, 300, 500);
    h.Update();
    EXPECT_EQ(app.input.touchDown[3], 1);
    EXPECT_EQ(app.input.touchX[3], 150);
    EXPECT_EQ(app.input.touchY[3], 250);
    EXPECT_EQ(app.input.pointerDown, 1);  // a touch alone counts as the pointer
    h.Press(40, 80);                      // the left button is touch 0 as well
    h.Update();
    EXPECT_EQ(app.input.touchX[0], 20);
    EXPECT_EQ(app.input.touchY[0], 40);
}

TEST(GameObject, LatchesClearOnlyWhenEverythingIsReleased) {
    GameHarness h;
    c_MyApp& app = h.App();
    h.Press(10, 10);
    h.KeyDown(kZ);
    h.Update();
    app.input.pointerLatch = 1;
    app.input.controlLatch = 1;
    h.Update();
    EXPECT_EQ(app.input.pointerLatch, 1);
    EXPECT_EQ(app.input.controlLatch, 1);
    h.Release();
    h.Update();
    EXPECT_EQ(app.input.pointerLatch, 0);
    EXPECT_EQ(app.input.controlLatch, 1);  // Z still held
    h.KeyUp(kZ);
    h.Update();
    EXPECT_EQ(app.input.controlLatch, 0);
}

TEST(GameObject, BackClosesTheCreditsPanelOnce) {
    GameHarness h;
    c_MyApp& app = h.App();
    app.credits.menuPanelOpen = 1;
    h.KeyDown(kEscape);
    h.Update();
    EXPECT_EQ(app.credits.menuPanelOpen, 0);
    EXPECT_EQ(app.input.controlLatch, 1);
    EXPECT_EQ(app.input.pointerLatch, 1);
    // Held back with the latch set does not act again.
    app.credits.menuPanelOpen = 1;
    h.Update();
    EXPECT_EQ(app.credits.menuPanelOpen, 1);
}

TEST(GameObject, ModeMachineWaitsForLoading) {
    GameHarness h;
    c_MyApp& app = h.App();
    app.mode = kModeRecord;
    h.Update();  // still loading: no mode work
    EXPECT_EQ(app.mode, kModeRecord);
    EXPECT_GT(app.loading.loadStep, 0);
    h.FinishLoading();
    EXPECT_EQ(app.mode, kModeRecord);  // the last loader step runs no mode work either
    h.Update();
    EXPECT_EQ(app.mode, kModeTitle);  // the recording step returns to the title
}

TEST(GameObject, MenuPanelSlidesTowardItsState) {
    GameHarness h;
    h.FinishLoading();
    c_MyApp& app = h.App();
    app.credits.menuPanelOpen = 1;
    for (int i = 0; i < 40; i++) h.Update();
    EXPECT_EQ(app.credits.menuPanelSlide, 30);
    app.credits.menuPanelOpen = 0;
    h.Update();
    EXPECT_EQ(app.credits.menuPanelSlide, 29);
    for (int i = 0; i < 40; i++) h.Update();
    EXPECT_EQ(app.credits.menuPanelSlide, 0);
}

TEST(GameObject, SuspendDuringMatchPausesWithPanelOpen) {
    GameHarness h;
    c_MyApp& app = h.App();
    h.platform.SetTypingEnabled(1);
    app.mode = kModeMatch;
    h.platform.GameSuspend();
    EXPECT_EQ(app.pause.paused, 1);
    EXPECT_EQ(app.pause.panelDirection, 1);
    EXPECT_EQ(app.pause.panelY, 240);
    EXPECT_EQ(h.platform.TickRate(), 5);
    EXPECT_FALSE(h.platform.TypingEnabled());
    h.platform.GameResume();
    EXPECT_EQ(app.pause.paused, 1);
    EXPECT_EQ(app.pause.panelY, 240);
    EXPECT_EQ(h.platform.TickRate(), 60);

    app.mode = kModeTitle;
    h.platform.GameSuspend();
    EXPECT_EQ(app.pause.paused, 0);
    EXPECT_EQ(app.pause.panelDirection, 0);
    EXPECT_EQ(app.pause.panelY, 0);
}

TEST(GameObject, UpdateRateIsMeasuredAndSmoothed) {
    GameHarness h;
    c_MyApp& app = h.App();
    for (int i = 0; i < 100; i++) h.Update(20);
    EXPECT_EQ(app.timing.updateFps, 50);
    EXPECT_EQ(app.timing.updateFpsAvg, 41);  // integer smoothing settles just above 4/5 of the rate
    h.Update(0);                             // no time passed: the last rate stands
    EXPECT_EQ(app.timing.updateFps, 50);
}

TEST(SoundEffects, PlayOnlyInModesOneAndTwoRotatingOver24Channels) {
    GameHarness h;
    h.FinishLoading();
    c_MyApp& app = h.App();
    ASSERT_NE(app.media.soundTable[98], nullptr);
    PlAudio* audio = AudioDevice();

    app.saved.settings[5] = 0;
    app.effects.PlaySfx(audio, 98, 1, 0.5f, 0);
    EXPECT_EQ(app.media.sfxChannel, 0);
    EXPECT_EQ(audio->ChannelStatus(1), 0);
    app.saved.settings[5] = 3;
    app.effects.PlaySfx(audio, 98, 1, 0.5f, 0);
    EXPECT_EQ(app.media.sfxChannel, 0);

    app.saved.settings[5] = 1;
    app.effects.PlaySfx(audio, 98, 1, 0.5f, 0);
    EXPECT_EQ(app.media.sfxChannel, 1);
    EXPECT_EQ(audio->ChannelStatus(1), 1);
    app.saved.settings[5] = 2;
    for (int i = 0; i < 23; i++) app.effects.PlaySfx(audio, 98, 1, 0.5f, 0);
    EXPECT_EQ(app.media.sfxChannel, 0);  // wrapped after channel 23
    for (int c = 24; c < 33; c++) EXPECT_EQ(audio->ChannelStatus(c), 0);

    app.media.sfxChannel = -7;  // out of range: starts again at 0
    app.effects.PlaySfx(audio, 98, 1, 0.5f, 0);
    EXPECT_EQ(app.media.sfxChannel, 0);
    app.effects.PlaySfx(audio, 42, 1, 0.5f, 0);  // no such sound: the channel only stops
    EXPECT_EQ(app.media.sfxChannel, 1);
    EXPECT_EQ(audio->ChannelStatus(1), 0);
}

TEST(Random, FirstValuesFollowTheGeneratorFromSeed1234) {
    SeedRandom(1234);
    uint32_t seed = 1234;
    for (int i = 0; i < 5; i++) {
        seed = seed * 1664525u + 1013904223u;
        float expected = static_cast<float>((seed >> 8) & 0xFFFFFF) / 16777216.0f;
        EXPECT_FLOAT_EQ(RandomFloat(), expected) << "value " << i;
    }
    SeedRandom(1234);
    float r = RandomFloat();
    SeedRandom(1234);
    EXPECT_FLOAT_EQ(RandomFloat(10), r * 10);
    SeedRandom(1234);
    EXPECT_FLOAT_EQ(RandomFloat(5, 7), 5 + 2 * r);
    SeedRandom(1234);
    EXPECT_EQ(RandomInt(5, 7), static_cast<int>(std::floor(5 + ((7 + 0.99f) - 5) * r)));
}

TEST(Random, RandomIntCoversBothEndsOnly) {
    SeedRandom(1234);
    int counts[3] = {};
    int ones = 0;
    const int draws = 20000;
    for (int i = 0; i < draws; i++) {
        int v = RandomInt(5, 7);
        ASSERT_GE(v, 5);
        ASSERT_LE(v, 7);
        counts[v - 5]++;
        ones += RandomInt(0, 1);
    }
    for (int c : counts) EXPECT_GT(c, draws / 4);
    EXPECT_NEAR(static_cast<double>(ones) / draws, 0.99 / 1.99, 0.02);
}

}  // namespace
