// The pause panel and the shared sound toggle on a Frame without a game.
#include "game/play/pause.h"
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

}  // namespace
