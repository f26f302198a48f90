// Match play: throws and drops, kills and their score, the centre penalty,
// the spider cap, the clock and countdown, and the score display.
#include <algorithm>
#include <climits>
#include <cmath>

#include "match_fixture.h"

class ThrowTest : public MatchTest {
  protected:
    // Holds a toothpick at (x, y), lets go, and returns what the release played.
    std::vector<int> ReleaseAt(int x, int y) {
        Start(2);
        ClearField();
        h.Press(x, y);
        h.Update();
        App().heldCharge = 1;
        h.Release();
        return UpdateHearing();
    }
    float* FirstFlying() {
        for (int k = 0; k < 201; k++) {
            if (Field(k)[0] == 11) return Field(k);
        }
        return nullptr;
    }
};

TEST_F(ThrowTest, SpeedGrowsFromSixAtTheCentreToSixteenFromSeventyOn) {
    const int dxs[] = {0, 12, 40, 70, 95};
    const float speeds[] = {6, 7, 12, 16, 16};
    for (int i = 0; i < 5; i++) {
        EXPECT_TRUE(Heard(ReleaseAt(320 + dxs[i], 240), 2));
        float* r = FirstFlying();
        ASSERT_NE(r, nullptr) << dxs[i];
        EXPECT_NEAR(std::hypot(r[3], r[4]), speeds[i], 1e-3) << dxs[i];
        EXPECT_EQ(App().heldCharge, 0);
        // Launched from the pointer back toward the centre, then one step flown.
        if (dxs[i] > 0) {
            EXPECT_NEAR(r[1], 320 + dxs[i] - speeds[i], 1e-3);
        }
    }
}

TEST_F(ThrowTest, ReleaseFromNinetySixOnDropsWhereThePointerIs) {
    std::vector<int> heard = ReleaseAt(320, 240 + 96);
    EXPECT_TRUE(Heard(heard, 4));
    EXPECT_EQ(FirstFlying(), nullptr);
    int dropped = 0;
    for (int k = 0; k < 201; k++) {
        dropped += Field(k)[0] == 1 && Field(k)[1] == 320 && Field(k)[2] == 336;
    }
    EXPECT_EQ(dropped, 1);
}

TEST_F(ThrowTest, FreeSlotIsTheHighestFreeRecordAndAFullFieldKeepsTheToothpickInHand) {
    Start(2);
    ClearField();
    EXPECT_EQ(App().FreeFieldSlot(), 2000);
    Field(200)[0] = 21, Field(199)[0] = 22, Field(150)[0] = 1;
    EXPECT_EQ(App().FreeFieldSlot(), 1980);
    for (int k = 0; k < 201; k++) PutSpider(k, -200, -200, 5);  // lying, off screen
    EXPECT_EQ(App().FreeFieldSlot(), -1);
    h.Press(330, 240);
    h.Update();
    App().heldCharge = 1;
    h.Release();
    h.Update();
    EXPECT_EQ(App().heldCharge, 1);
    EXPECT_EQ(CountField(5), 201);
}

TEST_F(MatchTest, OnlyOneToothpickUnderThePointerIsPickedUp) {
    Start(2);
    ClearField();
    PutSpider(3, 100, 100, 1);
    PutSpider(4, 110, 100, 1);
    h.Press(105, 100);
    EXPECT_TRUE(Heard(UpdateHearing(), 5));
    EXPECT_EQ(App().heldCharge, 1);
    EXPECT_EQ(Field(3)[0] + Field(4)[0], 1);
    EXPECT_EQ(App().toothpickCount, 2);  // the one in hand and the one left
}

TEST_F(MatchTest, OneToothpickThroughThreeSpidersScoresSeventy) {
    Start(2);
    ClearField();
    App().effectRecords.fill(0);
    float* pick = Field(0);
    pick[0] = 11, pick[1] = 300, pick[2] = 300, pick[4] = -10, pick[5] = 180, pick[8] = 1;
    PutSpider(5, 310, 290);
    PutSpider(6, 290, 280);
    PutSpider(7, 300, 300);
    PutSpider(8, 300, 100);  // off its path this update
    std::vector<int> heard = UpdateHearing();
    EXPECT_EQ(App().score, 70);
    EXPECT_EQ(pick[8], 8);
    EXPECT_EQ(CountField(22), 3);
    EXPECT_EQ(Field(8)[0], 21);
    EXPECT_EQ(Field(5)[4], -10);  // flung along the toothpick's path
    EXPECT_EQ(std::count(heard.begin(), heard.end(), 3), 3);
    int debris = 0;
    for (int k = 0; k < 201; k++) debris += Effect(k)[0] == 10;
    EXPECT_GE(debris, 12);
    EXPECT_LE(debris, 18);
}

TEST_F(MatchTest, AHugeKillStreakStaysFiniteAndNeverWrapsTheScore) {
    Start(2);
    ClearField();
    float* pick = Field(0);
    pick[0] = 11, pick[1] = 300, pick[2] = 300, pick[4] = 6, pick[8] = 1;
    for (int k = 1; k < 201; k++) PutSpider(k, 300, 306);
    h.Update();
    EXPECT_EQ(App().score, INT_MAX);
    EXPECT_TRUE(std::isfinite(pick[8]));
    for (float v : App().effectRecords) ASSERT_TRUE(std::isfinite(v));
}

TEST_F(MatchTest, SpiderInTheCentreCostsOnceThenAgainAfterThirtyUpdates) {
    Start(2);
    ClearField();
    PutSpider(0, 320, 240);
    EXPECT_TRUE(Heard(UpdateHearing(), 1));
    EXPECT_EQ(App().matchLength, 57500);
    for (int i = 1; i <= 30; i++) {
        ASSERT_EQ(App().matchLength, 57500) << "update " << i;
        PutSpider(0, 320, 240);
        h.Update();
    }
    EXPECT_EQ(App().matchLength, 55000);
}

TEST_F(MatchTest, SpiderCapIsThreeOnEasyStartsAtTwentyFiveOnHardAndStopsAt150) {
    Start(1);
    EXPECT_EQ(App().spiderCap, 2);
    for (int k = 0; k < 40; k++) PutSpider(k, -100, 200, 22);  // dying, past the band
    h.Update();
    EXPECT_EQ(App().spiderCap, 3);
    Start(3);
    EXPECT_EQ(App().spiderCap, 25);
    for (int k = 0; k < 201; k++) PutSpider(k, 800, 200, 22);
    h.Update();
    EXPECT_EQ(App().spiderCap, 150);
}

TEST_F(MatchTest, TheClockTicksAtTenAndFiveToZeroAndEndsWithTimeUpOnce) {
    Start(2);
    h.Update(0);
    EXPECT_EQ(App().secondsLeft, 60);
    h.Update(60000 - 11500);
    std::vector<int> ticksAt;
    int timeUps = 0;
    for (int i = 0; i < 180; i++) {
        bool wasOver = App().matchOver;
        int before = App().secondsLeft;
        std::vector<int> heard = UpdateHearing(100);
        bool firstZero = App().secondsLeft == 0 && before > 0;
        EXPECT_EQ(Heard(heard, 7), firstZero) << "update " << i;
        EXPECT_EQ(App().matchOver != 0, wasOver || firstZero) << "update " << i;
        if (Heard(heard, 6)) ticksAt.push_back(App().secondsLeft);
        timeUps += Heard(heard, 7);
        EXPECT_EQ(App().secondsShown, App().secondsLeft);
    }
    EXPECT_EQ(ticksAt, (std::vector<int>{10, 5, 4, 3, 2, 1, 0}));
    EXPECT_EQ(timeUps, 1);
}

TEST_F(MatchTest, APenaltyPastTheEndStopsTheClockAndTheMissedTicksFollowOnePerUpdate) {
    Start(2);
    h.Update(60000 - 1500);
    App().heldCharge = 1;
    App().matchLength -= 2500;
    std::vector<std::vector<int>> heard;
    for (int i = 0; i < 7; i++) heard.push_back(UpdateHearing());
    EXPECT_EQ(App().secondsLeft, 0);
    EXPECT_EQ(App().matchOver, 1);
    EXPECT_EQ(App().heldCharge, 0);
    // Thresholds 5, 4, 3, 2, 1 and 0 tick in consecutive updates; the last brings time-up.
    for (int i = 0; i < 6; i++) EXPECT_TRUE(Heard(heard[i], 6)) << i;
    for (int i = 0; i < 5; i++) EXPECT_FALSE(Heard(heard[i], 7)) << i;
    EXPECT_TRUE(Heard(heard[5], 7));
    EXPECT_TRUE(heard[6].empty());
}

TEST_F(MatchTest, TheShownScoreRollsDownFromThePreviousMatch) {
    App().shownScore = 1000;
    Start(2);
    int previous = 1000, updates = 0;
    for (; App().shownScore > 0 && updates < 100; updates++) {
        h.Update();
        ASSERT_LT(App().shownScore, previous);
        previous = App().shownScore;
    }
    EXPECT_EQ(App().shownScore, 0);
    EXPECT_GT(updates, 10);
}

TEST_F(MatchTest, TheSameSeedAndInputReplayTheSameMatch) {
    auto play = [&]() {
        h.platform.nowMs = 777000;
        Start(3);
        for (int i = 0; i < 300; i++) h.Update(17);
        return App().fieldRecords;
    };
    EXPECT_EQ(play(), play());
}
