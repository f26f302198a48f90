// The title screen through the headless game: slide, sound toggle, score
// lists, difficulty buttons and controls, the credits button, the latches.
#include <gtest/gtest.h>

#include <string>

#include "frontend_helpers.h"

namespace {

constexpr int kKeyUp = 38, kKeyLeft = 37, kKeyRight = 39, kKeyDown = 40, kKeyZ = 90;

// The first image command of one sheet in the current draw list.
DrawCommand FirstImage(const c_MyApp& app, int image) {
    std::vector<DrawCommand> found = Images(app, image);
    return found.empty() ? DrawCommand{} : found.front();
}

// Holds a key over one update and releases it over the next.
void TapKey(GameHarness& h, int code) {
    h.KeyDown(code);
    h.Step();
    h.KeyUp(code);
    h.Step();
}

}  // namespace

TEST(Title, SoundToggleClicksOnlyWhenSwitchingOn) {
    GameHarness h;
    SettleTitle(h);
    c_MyApp& app = h.App();
    EXPECT_EQ(FirstImage(app, kImageIcons).frame, 4);
    EXPECT_FLOAT_EQ(FirstImage(app, kImageIcons).x, 32);
    EXPECT_FLOAT_EQ(FirstImage(app, kImageIcons).y, 240);

    int channel = app.media.sfxChannel;
    h.Press(32, 240);
    h.Step(5);  // held: acts once
    EXPECT_EQ(app.saved.SoundMode(), 0);
    EXPECT_EQ(app.media.sfxChannel, channel);  // no click when switching off
    EXPECT_EQ(FirstImage(app, kImageIcons).frame, 5);
    h.Release();
    h.Step();

    Tap(h, 32, 240);
    EXPECT_EQ(app.saved.SoundMode(), 1);
    EXPECT_EQ(app.media.sfxChannel, (channel + 1) % 24);
    EXPECT_EQ(FirstImage(app, kImageIcons).frame, 4);

    // Mode 2 (as a saved state may hold) shows "on" and its first press turns it off.
    app.saved.SoundMode() = 2;
    h.Step();
    EXPECT_EQ(FirstImage(app, kImageIcons).frame, 4);
    channel = app.media.sfxChannel;
    Tap(h, 32, 240);
    EXPECT_EQ(app.saved.SoundMode(), 0);
    EXPECT_EQ(app.media.sfxChannel, channel);
}

TEST(Title, DirectionsStepTheDifficultyWithinItsRange) {
    GameHarness h;
    SettleTitle(h);
    c_MyApp& app = h.App();
    EXPECT_EQ(app.title.difficulty, 2);
    int channel = app.media.sfxChannel;

    TapKey(h, kKeyUp);
    EXPECT_EQ(app.title.difficulty, 1);
    TapKey(h, kKeyUp);
    TapKey(h, kKeyLeft);
    EXPECT_EQ(app.title.difficulty, 1);
    EXPECT_EQ(app.media.sfxChannel, (channel + 1) % 24);  // only the real step clicked

    h.KeyDown(kKeyRight);  // held: one step only
    h.Step(20);
    EXPECT_EQ(app.title.difficulty, 2);
    h.KeyUp(kKeyRight);
    h.Step();
    TapKey(h, kKeyDown);
    EXPECT_EQ(app.title.difficulty, 3);
    channel = app.media.sfxChannel;
    TapKey(h, kKeyRight);
    TapKey(h, kKeyDown);
    EXPECT_EQ(app.title.difficulty, 3);
    EXPECT_EQ(app.media.sfxChannel, channel);
    EXPECT_EQ(app.mode, kModeTitle);

    // The selection mark follows the difficulty: frame 15 at button 3.
    std::vector<DrawCommand> buttons = Images(app, kImageButtons);
    ASSERT_EQ(buttons.size(), 4u);
    EXPECT_EQ(buttons[3].frame, 15);
    EXPECT_FLOAT_EQ(buttons[3].x, buttons[2].x);
    EXPECT_FLOAT_EQ(buttons[3].alpha, 0.75f);
}

TEST(Title, HeldActionKeyStartsExactlyOneMatch) {
    GameHarness h;
    SettleTitle(h);
    c_MyApp& app = h.App();
    h.KeyDown(kKeyZ);
    int starts = 0, previous = app.mode, updates = 0;
    bool backOnTitle = false;
    // Through the whole match and well past its return to the title screen.
    for (; updates < 6000; updates++) {
        h.Step();
        if (app.mode == kModeMatch && previous != kModeMatch) starts++;
        if (previous == kModeRecord && app.mode == kModeTitle) backOnTitle = true;
        previous = app.mode;
        if (backOnTitle && updates > 200 && app.mode == kModeTitle && app.timeUp.timeUpTimer == 0)
            break;
    }
    h.Step(120);
    EXPECT_TRUE(backOnTitle);
    EXPECT_EQ(starts, 1);
    EXPECT_EQ(app.mode, kModeTitle);
    EXPECT_EQ(app.title.difficulty, 2);
}

// A pad's d-pad steps the difficulty once per press; pulled out while held,
// it lets go, so the keyboard can step it again at once.
TEST(Title, PadDpadStepsAndAPulledOutPadHoldsNothing) {
    GameHarness h;
    SettleTitle(h);
    c_MyApp& app = h.App();
    ScriptedJoystick& pad = h.platform.joysticks[0];
    pad.present = true;
    pad.mapped = true;
    pad.gamepad.axes = {0, 0, 0, 0, -1, -1};
    pad.gamepad.buttons[14] = true;  // d-pad left, held
    h.Step(10);
    EXPECT_EQ(app.title.difficulty, 1);
    pad.present = false;
    h.Step();
    TapKey(h, kKeyRight);
    EXPECT_EQ(app.title.difficulty, 2);
    EXPECT_EQ(app.mode, kModeTitle);
}

TEST(Title, PortraitPutsToggleAtTopAndButtonsInAColumn) {
    GameHarness h(480, 640);  // scale 4/3: a 360 x 480 screen
    SettleTitle(h);
    c_MyApp& app = h.App();
    ASSERT_EQ(app.screen.landscape, 0);
    EXPECT_FLOAT_EQ(FirstImage(app, kImageIcons).x, 180);
    EXPECT_FLOAT_EQ(FirstImage(app, kImageIcons).y, 32);
    std::vector<DrawCommand> buttons = Images(app, kImageButtons);
    ASSERT_EQ(buttons.size(), 4u);
    const float ys[] = {0.45f * 480, 0.65f * 480, 0.85f * 480};
    for (int k = 0; k < 3; k++) {
        EXPECT_FLOAT_EQ(buttons[k < 2 ? k : 3].x, 0.3f * 360) << k;
        EXPECT_FLOAT_EQ(buttons[k < 2 ? k : 3].y, ys[k]) << k;
    }
}

TEST(Title, ScoreListsFitTheScreenHeight) {
    {
        GameHarness h;
        h.App().saved.Best(1)[0] = 500;
        h.App().saved.Recent(1)[0] = 77;
        SettleTitle(h);
        EXPECT_EQ(h.App().title.lineCount, 10);
        EXPECT_EQ(GlyphText(h.App()),
                  "Top10500" + std::string(9, '0') + "Last1077" + std::string(9, '0'));
    }
    {
        GameHarness h(640, 240);  // 30 units available: two lines
        SettleTitle(h);
        EXPECT_EQ(h.App().title.lineCount, 2);
        EXPECT_NE(GlyphText(h.App()).find("Top200Last200"), std::string::npos);
    }
    {
        GameHarness h(640, 200);
        SettleTitle(h);
        EXPECT_EQ(h.App().title.lineCount, 1);
        EXPECT_NE(GlyphText(h.App()).find("Highscore0Last0"), std::string::npos);
    }
}

TEST(Title, CreditsPanelBlocksEverythingButTheSoundToggle) {
    GameHarness h;
    SettleTitle(h);
    c_MyApp& app = h.App();
    Tap(h, 640 - 70, 480 - 40);
    ASSERT_EQ(app.credits.menuPanelOpen, 1);
    h.Step(30);
    EXPECT_EQ(GlyphText(app).find("Top10"), std::string::npos);

    h.Press(256, 336);  // a difficulty button under the panel: the panel closes instead
    h.Step();
    EXPECT_EQ(app.mode, kModeTitle);
    EXPECT_EQ(app.credits.menuPanelOpen, 0);
    h.Release();
    h.Step(40);

    Tap(h, 640 - 70, 480 - 40);
    ASSERT_EQ(app.credits.menuPanelOpen, 1);
    TapKey(h, kKeyRight);
    TapKey(h, kKeyZ);
    EXPECT_EQ(app.title.difficulty, 2);
    EXPECT_EQ(app.mode, kModeTitle);

    Tap(h, 32, 240);  // the toggle still works and keeps the panel open
    EXPECT_EQ(app.saved.SoundMode(), 0);
    EXPECT_EQ(app.credits.menuPanelOpen, 1);
}
