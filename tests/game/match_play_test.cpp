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
        App().match.heldCharge = 1;
        h.Release();
        return UpdateHearing();
    }
    Record* FirstFlying() {
        for (int k = 0; k < kRecords; k++) {
            if (Field(k).state == 11) return &Field(k);
        }
        return nullptr;
    }
};

TEST_F(ThrowTest, SpeedGrowsFromSixAtTheCentreToSixteenFromSeventyOn) {
    const int dxs[] = {0, 12, 40, 70, 95};
    const float speeds[] = {6, 7, 12, 16, 16};
    for (int i = 0; i < 5; i++) {
        EXPECT_TRUE(Heard(ReleaseAt(320 + dxs[i], 240), 2));
        Record* r = FirstFlying();
        ASSERT_NE(r, nullptr) << dxs[i];
        EXPECT_NEAR(std::hypot(r->velX, r->velY), speeds[i], 1e-3) << dxs[i];
        EXPECT_EQ(App().match.heldCharge, 0);
        // Launched from the pointer back toward the centre, then one step flown.
        if (dxs[i] > 0) {
            EXPECT_NEAR(r->x, 320 + dxs[i] - speeds[i], 1e-3);
        }
    }
}

TEST_F(ThrowTest, ReleaseFromNinetySixOnDropsWhereThePointerIs) {
    std::vector<int> heard = ReleaseAt(320, 240 + 96);
    EXPECT_TRUE(Heard(heard, kSfxDrop));
    EXPECT_EQ(FirstFlying(), nullptr);
    int dropped = 0;
    for (int k = 0; k < kRecords; k++) {
        dropped += Field(k).state == 1 && Field(k).x == 320 && Field(k).y == 336;
    }
    EXPECT_EQ(dropped, 1);
}

TEST_F(ThrowTest, FreeSlotIsTheHighestFreeRecordAndAFullFieldKeepsTheToothpickInHand) {
    Start(2);
    ClearField();
    EXPECT_EQ(HighestFree(App().match.fieldRecords), RecordStart(200));
    Field(200).state = 21, Field(199).state = 22, Field(150).state = 1;
    EXPECT_EQ(HighestFree(App().match.fieldRecords), RecordStart(198));
    for (int k = 0; k < kRecords; k++) PutSpider(k, -200, -200, 5);  // lying, off screen
    EXPECT_EQ(HighestFree(App().match.fieldRecords), -1);
    h.Press(330, 240);
    h.Update();
    App().match.heldCharge = 1;
    h.Release();
    h.Update();
    EXPECT_EQ(App().match.heldCharge, 1);
    EXPECT_EQ(CountField(5), kRecords);
}

TEST_F(MatchTest, OnlyOneToothpickUnderThePointerIsPickedUp) {
    Start(2);
    ClearField();
    PutSpider(3, 100, 100, 1);
    PutSpider(4, 110, 100, 1);
    h.Press(105, 100);
    EXPECT_TRUE(Heard(UpdateHearing(), kSfxPickUp));
    EXPECT_EQ(App().match.heldCharge, 1);
    EXPECT_EQ(Field(3).state + Field(4).state, 1);
    EXPECT_EQ(App().match.toothpickCount, 2);  // the one in hand and the one left
}

TEST_F(MatchTest, OneToothpickThroughThreeSpidersScoresSeventy) {
    Start(2);
    ClearField();
    App().match.effectRecords.fill(Record{});
    Record& pick = Field(0);
    pick.state = 11, pick.x = 300, pick.y = 300, pick.velY = -10, pick.angle = 180, pick.extra = 1;
    PutSpider(5, 310, 290);
    PutSpider(6, 290, 280);
    PutSpider(7, 300, 300);
    PutSpider(8, 300, 100);  // off its path this update
    std::vector<int> heard = UpdateHearing();
    EXPECT_EQ(App().match.score, 70);
    EXPECT_EQ(pick.extra, 8);
    EXPECT_EQ(CountField(22), 3);
    EXPECT_EQ(Field(8).state, 21);
    EXPECT_EQ(Field(5).velY, -10);  // flung along the toothpick's path
    EXPECT_EQ(std::count(heard.begin(), heard.end(), 3), 3);
    int debris = 0;
    for (int k = 0; k < kRecords; k++) debris += Effect(k).state == 10;
    EXPECT_GE(debris, 12);
    EXPECT_LE(debris, 18);
}

TEST_F(MatchTest, AHugeKillStreakStaysFiniteAndNeverWrapsTheScore) {
    Start(2);
    ClearField();
    Record& pick = Field(0);
    pick.state = 11, pick.x = 300, pick.y = 300, pick.velY = 6, pick.extra = 1;
    for (int k = 1; k < kRecords; k++) PutSpider(k, 300, 306);
    h.Update();
    EXPECT_EQ(App().match.score, INT_MAX);
    EXPECT_TRUE(std::isfinite(pick.extra));
    for (const Record& r : App().match.effectRecords) ASSERT_TRUE(AllFinite(r));
}

TEST_F(MatchTest, SpiderInTheCentreCostsOnceThenAgainAfterThirtyUpdates) {
    Start(2);
    ClearField();
    PutSpider(0, 320, 240);
    EXPECT_TRUE(Heard(UpdateHearing(), kSfxSpiderInCentre));
    EXPECT_EQ(App().match.matchLength, 57500);
    for (int i = 1; i <= 30; i++) {
        ASSERT_EQ(App().match.matchLength, 57500) << "update " << i;
        PutSpider(0, 320, 240);
        h.Update();
    }
    EXPECT_EQ(App().match.matchLength, 55000);
}

TEST_F(MatchTest, SpiderCapIsThreeOnEasyStartsAtTwentyFiveOnHardAndStopsAt150) {
    Start(1);
    EXPECT_EQ(App().match.spiderCap, 2);
    for (int k = 0; k < 40; k++) PutSpider(k, -100, 200, 22);  // dying, past the band
    h.Update();
    EXPECT_EQ(App().match.spiderCap, 3);
    Start(3);
    EXPECT_EQ(App().match.spiderCap, 25);
    for (int k = 0; k < kRecords; k++) PutSpider(k, 800, 200, 22);
    h.Update();
    EXPECT_EQ(App().match.spiderCap, 150);
}

TEST_F(MatchTest, TheClockTicksAtTenAndFiveToZeroAndEndsWithTimeUpOnce) {
    Start(2);
    h.Update(0);
    EXPECT_EQ(App().match.secondsLeft, 60);
    h.Update(60000 - 11500);
    std::vector<int> ticksAt;
    int timeUps = 0;
    for (int i = 0; i < 180; i++) {
        bool wasOver = App().match.matchOver;
        int before = App().match.secondsLeft;
        std::vector<int> heard = UpdateHearing(100);
        bool firstZero = App().match.secondsLeft == 0 && before > 0;
        EXPECT_EQ(Heard(heard, kSfxTimeUp), firstZero) << "update " << i;
        EXPECT_EQ(App().match.matchOver != 0, wasOver || firstZero) << "update " << i;
        if (Heard(heard, kSfxTick)) ticksAt.push_back(App().match.secondsLeft);
        timeUps += Heard(heard, kSfxTimeUp);
        EXPECT_EQ(App().match.secondsShown, App().match.secondsLeft);
    }
    EXPECT_EQ(ticksAt, (std::vector<int>{10, 5, 4, 3, 2, 1, 0}));
    EXPECT_EQ(timeUps, 1);
}

TEST_F(MatchTest, APenaltyPastTheEndStopsTheClockAndTheMissedTicksFollowOnePerUpdate) {
    Start(2);
    h.Update(60000 - 1500);
    App().match.heldCharge = 1;
    App().match.matchLength -= 2500;
    std::vector<std::vector<int>> heard;
    for (int i = 0; i < 7; i++) heard.push_back(UpdateHearing());
    EXPECT_EQ(App().match.secondsLeft, 0);
    EXPECT_EQ(App().match.matchOver, 1);
    EXPECT_EQ(App().match.heldCharge, 0);
    // Thresholds 5, 4, 3, 2, 1 and 0 tick in consecutive updates; the last brings time-up.
    for (int i = 0; i < 6; i++) EXPECT_TRUE(Heard(heard[i], 6)) << i;
    for (int i = 0; i < 5; i++) EXPECT_FALSE(Heard(heard[i], 7)) << i;
    EXPECT_TRUE(Heard(heard[5], 7));
    EXPECT_TRUE(heard[6].empty());
}

TEST_F(MatchTest, TheShownScoreRollsDownFromThePreviousMatch) {
    App().match.shownScore = 1000;
    Start(2);
    int previous = 1000, updates = 0;
    for (; App().match.shownScore > 0 && updates < 100; updates++) {
        h.Update();
        ASSERT_LT(App().match.shownScore, previous);
        previous = App().match.shownScore;
    }
    EXPECT_EQ(App().match.shownScore, 0);
    EXPECT_GT(updates, 10);
}

TEST_F(MatchTest, TheSameSeedAndInputReplayTheSameMatch) {
    auto play = [&]() {
        h.platform.nowMs = 777000;
        Start(3);
        for (int i = 0; i < 300; i++) h.Update(17);
        return App().match.fieldRecords;
    };
    EXPECT_EQ(play(), play());
}
