// The pause panel and the shared sound toggle on a Frame without a game.
#include "game/play/pause.h"
#include "game/play/sound_toggle.h"
#include "play_table.h"

namespace {

class PauseRules : public PlayTable {
  protected:
    PauseRules() {
        panel.panelY = -64;
        panel.pauseStamp = kNone;
    }
    PauseReport Step(int ms = 17) {
        frame.nowMs += ms;
        return panel.Update(soundMode, frame);
    }
    // Opens the panel with back and lets it come to rest.
    void Open() {
        Hold(kControlBack);
        Step();
        Hold(-1);
        for (int i = 0; i < 20; i++) Step();
        Cued();
    }

    PausePanel panel;
};

TEST_F(PauseRules, PausedUpdatesReportTheTimeSinceTheLastOne) {
    Hold(kControlBack);
    EXPECT_EQ(Step().clockShiftMs, 0);  // the first paused update starts the measure
    EXPECT_EQ(panel.paused, 1);
    EXPECT_EQ(Cued(), std::vector<int>{kSfxClick});
    EXPECT_EQ(Step(250).clockShiftMs, 250);
    EXPECT_EQ(Step(10000).clockShiftMs, 10000);
    Hold(-1);
    Hold(kControlBack);  // a fresh press closes
    for (int i = 0; i < 20 && panel.paused; i++) Step();
    EXPECT_EQ(panel.paused, 0);
    EXPECT_EQ(panel.pauseStamp, kNone);
    EXPECT_EQ(Step().clockShiftMs, 0);
}

TEST_F(PauseRules, ATouchOnQuitIsReportedHidesThePanelAndConsumesThePointer) {
    Open();
    Touch(320 - 140, panel.panelY - 64);
    PauseReport report = Step();
    EXPECT_TRUE(report.quit);
    EXPECT_EQ(panel.paused, 0);
    EXPECT_EQ(panel.panelY, -64);
    EXPECT_EQ(input.pointerLatch, 1);
    ASSERT_EQ(frame.sounds.Count(), 1);
    EXPECT_EQ(frame.sounds[0].rate, 0.5f);
}

TEST_F(PauseRules, TheSoundToggleTurnsEffectsOffOrOnOncePerTouch) {
    soundMode = 2;
    Touch(100, 100);
    EXPECT_TRUE(UpdateSoundToggle(frame, soundMode, 100, 100));
    EXPECT_EQ(soundMode, 0);
    EXPECT_EQ(list.Command(0).frame, kIconSoundOn);  // effects were on (mode 2) when drawn
    EXPECT_TRUE(Cued().empty());  // the click is not heard: the sound is now off
    EXPECT_FALSE(UpdateSoundToggle(frame, soundMode, 100, 100));  // the same press
    Lift();
    Touch(110, 90);
    EXPECT_TRUE(UpdateSoundToggle(frame, soundMode, 100, 100));
    EXPECT_EQ(soundMode, 1);
    EXPECT_EQ(Cued(), std::vector<int>{kSfxClick});
}

}  // namespace
