// The pause icon and panel: opening and closing, the frozen field and clock,
// the sound mode by control and by touch, and quitting.
#include <cmath>

#include "match_fixture.h"

namespace {
constexpr int kEscape = 27, kLeft = 37, kRight = 39, kDown = 40, kZ = 90;
}

class PauseTest : public MatchTest {
  protected:
    // A key pressed for one update, then released for one.
    void Tap(int key) {
        h.KeyDown(key);
        h.Update();
        h.KeyUp(key);
        h.Update();
    }
    // Opens the panel with back and waits until it rests at mid-screen.
    void OpenPanel() {
        Tap(kEscape);
        ASSERT_EQ(App().pause.paused, 1);
        for (int i = 0; i < 20; i++) h.Update();
        ASSERT_GE(App().pause.panelY, 240);
    }
    // Touches a screen point for one update, then lets go.
    void Touch(float x, float y) {
        h.Press(x, y);
        h.Update();
        h.Release();
        h.Update();
    }
    // Draw-list image commands of one image index.
    int CountImages(int image) {
        int n = 0;
        for (int i = 0; i < App().drawList.CommandCount(); i++)
            n += App().drawList.Command(i).kind == static_cast<float>(image);
        return n;
    }
};

TEST_F(PauseTest, BackOpensThePanelAndAgainAfterReleaseClosesIt) {
    Start(2);
    h.KeyDown(kEscape);
    h.Update();
    EXPECT_EQ(App().pause.paused, 1);
    EXPECT_EQ(App().pause.panelDirection, 1);
    h.Update();  // still held: the latch keeps it open
    EXPECT_EQ(App().pause.panelDirection, 1);
    h.KeyUp(kEscape);
    for (int i = 0; i < 20; i++) h.Update();
    EXPECT_EQ(App().pause.panelY, 248);
    Tap(kEscape);
    EXPECT_EQ(App().pause.panelDirection, -1);
    for (int i = 0; i < 20 && App().pause.paused; i++) h.Update();
    EXPECT_EQ(App().pause.paused, 0);
    EXPECT_LT(App().pause.panelY, -32);
    EXPECT_EQ(App().pause.pauseStamp, kNone);
}

TEST_F(PauseTest, TheIconPausesAndTheVeilDarkensWithThePanel) {
    Start(2);
    Touch(16, 16);
    EXPECT_EQ(App().pause.paused, 1);
    EXPECT_EQ(App().pause.panelChoice, 0);
    for (int i = 0; i < 20; i++) h.Update();
    // The veil is the first rectangle after the pause icon: full screen, alpha 248/384.
    bool found = false;
    for (int i = 0; i < App().drawList.CommandCount() && !found; i++) {
        const DrawCommand& c = App().drawList.Command(i);
        if (c.kind == kCmdRect && c.x == 0 && c.sizeX == 640 && c.sizeY == 480) {
            EXPECT_NEAR(c.alpha, 248.0f / 384.0f, 1e-4);
            found = true;
        }
    }
    EXPECT_TRUE(found);
}

TEST_F(PauseTest, WhilePausedSpidersFreezeAndVanishButToothpicksStillAppear) {
    Start(2);
    ClearField();
    App().match.effectRecords.fill(Record{});
    PutSpider(0, 100, 100);
    OpenPanel();
    float x = Field(0).x, y = Field(0).y;
    int spiders = CountField(21);
    for (int i = 0; i < 1500; i++) {
        h.Update();
        ASSERT_EQ(CountImages(kImageSpiders), 0);
    }
    EXPECT_EQ(Field(0).x, x);
    EXPECT_EQ(Field(0).y, y);
    EXPECT_EQ(CountField(21), spiders);
    EXPECT_GT(CountField(1), 0);
}

TEST_F(PauseTest, ATenSecondPauseLeavesTheClockAlone) {
    Start(2);
    h.Update(14500);
    EXPECT_EQ(App().match.secondsLeft, 45);
    Tap(kEscape);
    for (int i = 0; i < 10; i++) h.Update(1000);
    Tap(kEscape);
    for (int i = 0; i < 20 && App().pause.paused; i++) h.Update();
    h.Update();
    EXPECT_EQ(App().pause.paused, 0);
    EXPECT_EQ(App().match.secondsLeft, 45);
}

TEST_F(PauseTest, ControlsWalkTheButtonsCycleTheSoundAndResume) {
    Start(2);
    OpenPanel();
    Tap(kLeft);
    EXPECT_EQ(App().pause.panelChoice, -1);
    Tap(kDown);
    EXPECT_EQ(App().pause.panelChoice, 0);
    Tap(kRight);
    EXPECT_EQ(App().pause.panelChoice, 1);
    App().saved.SoundMode() = 0;
    std::vector<int> modes;
    for (int i = 0; i < 4; i++) {
        Tap(kZ);
        modes.push_back(App().saved.SoundMode());
    }
    EXPECT_EQ(modes, (std::vector<int>{1, 2, 3, 0}));
    EXPECT_EQ(App().pause.paused, 1);
    Tap(kDown);
    EXPECT_EQ(App().pause.panelChoice, 0);
    Tap(kZ);
    EXPECT_EQ(App().pause.panelDirection, -1);
    EXPECT_EQ(App().match.matchOver, 0);
}

TEST_F(PauseTest, TouchingTheSoundButtonTogglesOnAndOff) {
    Start(2);
    OpenPanel();
    float sx = 320 + 140, sy = App().pause.panelY - 64;
    App().saved.SoundMode() = 2;
    std::vector<int> modes;
    for (int i = 0; i < 3; i++) {
        Touch(sx, sy);
        modes.push_back(App().saved.SoundMode());
    }
    EXPECT_EQ(modes, (std::vector<int>{0, 1, 0}));
}

TEST_F(PauseTest, QuitEndsTheMatchKeepingTheScoreAndSilencesTheCountdown) {
    Start(2);
    h.Update(60000 - 5500);  // 5.5 s left: the next tick would come at 4
    h.Update();
    App().match.score = 120;
    OpenPanel();
    App().match.heldCharge = 1;
    float qx = 320 - 140, qy = App().pause.panelY - 64;
    h.Press(qx, qy);
    std::vector<int> heard = UpdateHearing();
    EXPECT_EQ(App().match.matchOver, 1);
    EXPECT_EQ(App().pause.paused, 0);
    EXPECT_EQ(App().pause.panelY, -64);
    EXPECT_EQ(App().match.heldCharge, 0);
    EXPECT_TRUE(Heard(heard, kSfxClick));
    h.Release();
    for (int i = 0; i < 80; i++) {
        heard = UpdateHearing();
        ASSERT_FALSE(Heard(heard, kSfxTick) || Heard(heard, kSfxTimeUp)) << "update " << i;
    }
    EXPECT_LE(App().match.secondsLeft, 4);
    EXPECT_EQ(App().match.score, 120);
}

TEST_F(PauseTest, QuittingWithActionAConsumesThePointerToo) {
    Start(2);
    OpenPanel();
    Tap(kLeft);
    ASSERT_EQ(App().pause.panelChoice, -1);
    h.Press(600, 450);  // held away from every button while A quits
    h.Update();
    ASSERT_EQ(App().input.pointerLatch, 0);
    h.KeyDown(kZ);
    h.Update();
    EXPECT_EQ(App().match.matchOver, 1);
    EXPECT_EQ(App().input.controlLatch, 1);
    EXPECT_EQ(App().input.pointerLatch, 1);
    h.Update();  // still held: the screen behind must not take it as a fresh touch
    EXPECT_EQ(App().input.pointerLatch, 1);
    h.Release();
    h.KeyUp(kZ);
    h.Update();
    EXPECT_EQ(App().input.pointerLatch, 0);
}

// A window one pixel taller than the design: the screen is 640 · 480 / 481
// units wide, and its centre falls between whole units.
class OddSizePauseTest : public PauseTest {
  protected:
    OddSizePauseTest() { h.Resize(640, 481); }

    // The x of the last drawn icon-sheet image with this frame.
    float IconX(int frame) {
        float x = -1;
        for (int i = 0; i < App().drawList.CommandCount(); i++) {
            const DrawCommand& c = App().drawList.Command(i);
            if (c.kind == static_cast<float>(kImageIcons) && c.frame == static_cast<float>(frame))
                x = c.x;
        }
        return x;
    }
};

TEST_F(OddSizePauseTest, OnlyTheQuitButtonSitsOnWholeUnits) {
    Start(2);
    OpenPanel();
    const float centre = App().screen.screenWidth / 2;
    ASSERT_NE(centre, std::trunc(centre));
    EXPECT_FLOAT_EQ(IconX(1), std::trunc(centre - 140));  // quit
    EXPECT_FLOAT_EQ(IconX(3), centre);                    // resume
    EXPECT_FLOAT_EQ(IconX(4), centre + 140);              // sound, as it is
}
