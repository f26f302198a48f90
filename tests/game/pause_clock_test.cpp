// Time away from a match never counts against its clock: the window
// iconified for minutes with the match running or the panel open, and a
// match whose first update is already paused.
#include "match_fixture.h"

namespace {
constexpr int kEscape = 27;
constexpr int kMinuteAndMore = 75000;
}  // namespace

class PauseClockTest : public MatchTest {
  protected:
    // Iconified for `ms` on the platform's clock, then restored and updated once.
    void AwayFor(int ms) {
        h.platform.GameSuspend();
        ASSERT_TRUE(h.platform.Suspended());
        h.Update(ms);  // suspended: the clock moves, no update runs
        h.platform.GameResume();
        h.Update();
    }
    void Tap(int key) {
        h.KeyDown(key);
        h.Update();
        h.KeyUp(key);
        h.Update();
    }
    // Closes the panel with back and runs until the match is back.
    void Resume() {
        Tap(kEscape);
        for (int i = 0; i < 30 && App().pause.paused; i++) h.Update();
        ASSERT_EQ(App().pause.paused, 0);
    }
    // Plays on until the match ends; the whole seconds that took.
    int SecondsUntilTimeUp() {
        int seconds = 0;
        while (App().match.matchOver == 0 && seconds < 200) {
            for (int i = 0; i < 10; i++) h.Update(100);
            seconds++;
        }
        return seconds;
    }
};

TEST_F(PauseClockTest, IconifyingARunningMatchForOverAMinuteCostsNoTime) {
    Start(2);
    h.Update(14500);
    ASSERT_EQ(App().match.secondsLeft, 45);
    AwayFor(kMinuteAndMore);
    EXPECT_EQ(App().match.matchOver, 0);
    EXPECT_EQ(App().match.secondsLeft, 45);
    EXPECT_EQ(App().pause.paused, 1);
    EXPECT_EQ(App().pause.panelY, 240);  // the panel open at once
    Resume();
    EXPECT_EQ(App().match.secondsLeft, 45);
    int played = SecondsUntilTimeUp();
    EXPECT_GE(played, 45);
    EXPECT_LE(played, 46);
}

TEST_F(PauseClockTest, IconifyingWithThePanelOpenCostsNoTime) {
    Start(2);
    h.Update(14500);
    Tap(kEscape);
    for (int i = 0; i < 20; i++) h.Update(250);
    ASSERT_EQ(App().pause.paused, 1);
    AwayFor(kMinuteAndMore);
    EXPECT_EQ(App().match.matchOver, 0);
    EXPECT_EQ(App().match.secondsLeft, 45);
    // Twice in a row, the second time straight after the first.
    AwayFor(kMinuteAndMore);
    EXPECT_EQ(App().match.secondsLeft, 45);
    Resume();
    EXPECT_EQ(App().match.secondsLeft, 45);
    int played = SecondsUntilTimeUp();
    EXPECT_GE(played, 45);
    EXPECT_LE(played, 46);
}

// An iconify before a match starts, or after it ended, moves no clock.
TEST_F(PauseClockTest, AFinishedMatchKeepsItsClockWhenIconified) {
    Start(2);
    h.Update(61000);
    ASSERT_EQ(App().match.matchOver, 1);
    int start = App().match.matchStart;
    AwayFor(kMinuteAndMore);
    EXPECT_LT(App().match.matchStart - start, 1000);  // only the paused update's own step
    EXPECT_EQ(App().match.secondsLeft, 0);
}

TEST_F(PauseClockTest, AMatchPausedInItsFirstUpdateStartsWithItsFullTime) {
    h.Update(100000);  // the program has run for a while before this match
    Start(2);
    h.KeyDown(kEscape);
    h.Update();
    h.KeyUp(kEscape);
    ASSERT_EQ(App().pause.paused, 1);
    for (int i = 0; i < 20; i++) h.Update();
    Resume();
    EXPECT_EQ(App().match.secondsLeft, 59);
}
