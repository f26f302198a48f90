// The time-up overlay and the score tables on a Frame without a game.
#include "game/play/time_up.h"

#include <array>

#include "play_table.h"

namespace {

class TimeUpRules : public PlayTable {
  protected:
    TimeUpReport Step(bool matchShown, int score = 0) {
        return overlay.Update(matchShown, score, best.data(), frame);
    }
    int RectsWide(float w) const {
        int n = 0;
        for (int i = 0; i < list.CommandCount(); i++)
            n += list.Command(i).kind == kCmdRect && list.Command(i).sizeX == w;
        return n;
    }

    TimeUpState overlay;
    std::array<int32_t, 10> best{500, 400, 300};
};

TEST_F(TimeUpRules, RanksTiesAboveAndEntersThemBelow) {
    EXPECT_EQ(RankOf(400, best.data()), 2);
    EXPECT_EQ(RankOf(501, best.data()), 1);
    EXPECT_EQ(RankOf(0, best.data()), 4);  // an empty place ties with 0
    std::array<int32_t, 10> recent{7, 0, 0, 0, 0, 0, 0, 0, 0, 9};
    EnterScore(400, best.data(), recent.data());
    EXPECT_EQ(best, (std::array<int32_t, 10>{500, 400, 400, 300}));
    EXPECT_EQ(recent, (std::array<int32_t, 10>{400, 7}));  // the oldest drops off the end
}

TEST_F(TimeUpRules, AFullListKeepsItsTenAndALowScoreGoesOnlyToRecent) {
    for (int i = 0; i < 10; i++) best[i] = 1000 - 10 * i;  // 1000 .. 910
    std::array<int32_t, 10> recent{};
    EXPECT_EQ(RankOf(900, best.data()), 0);
    EnterScore(900, best.data(), recent.data());
    EXPECT_EQ(best[9], 910);
    EnterScore(5000, best.data(), recent.data());
    EXPECT_EQ(best[0], 5000);
    EXPECT_EQ(best[9], 920);
    EXPECT_EQ(recent[0], 5000);
    EXPECT_EQ(recent[1], 900);
}

TEST_F(TimeUpRules, ReportsTheEndOnceThenFadesToNothing) {
    int reports = 0, updates = 0;
    for (; updates < TimeUpState::kLength; updates++) reports += Step(true).finished;
    EXPECT_EQ(reports, 1);
    EXPECT_EQ(overlay.timeUpTimer, TimeUpState::kFadeStart - TimeUpState::kFadeStep);
    for (updates = 0; overlay.timeUpTimer > 0 && updates < 100; updates++)
        EXPECT_FALSE(Step(false).finished);
    EXPECT_EQ(updates, 37);
    list.drawCount = 0;
    Step(false);
    EXPECT_EQ(overlay.timeUpTimer, 0);
    EXPECT_EQ(list.CommandCount(), 0);  // no overlay once the timer is 0
    EXPECT_TRUE(Cued().empty());
}

TEST_F(TimeUpRules, TheNoticeShowsOnlyForARankedScore) {
    overlay.timeUpTimer = 40;
    const float noticeWidth = 0.3f * screen.screenWidth;
    Step(false, 900);
    EXPECT_EQ(overlay.rankPosition, 1);
    EXPECT_EQ(RectsWide(noticeWidth), 1);
    for (int i = 0; i < 10; i++) best[i] = 1000;
    list.drawCount = 0;
    Step(false, 900);
    EXPECT_EQ(overlay.rankPosition, 0);
    EXPECT_EQ(RectsWide(noticeWidth), 0);
    EXPECT_GT(list.CommandCount(), 0);  // the overlay itself still shows
}

}  // namespace
