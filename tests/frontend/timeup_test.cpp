// Ranking, recording and the time-up overlay's sequence.
#include <gtest/gtest.h>

#include <string>

#include "frontend_helpers.h"

namespace {

class TimeUp : public ::testing::Test {
  protected:
    GameHarness harness;
    c_MyApp& app = harness.App();

    int32_t& Best(int t, int i) { return app.saved.Best(t)[i]; }
    int32_t& Recent(int t, int i) { return app.saved.Recent(t)[i]; }
    void SetBest(int t, std::initializer_list<int> scores) {
        int i = 0;
        for (int s : scores) Best(t, i++) = s;
    }
    // The label the overlay would show for the match's score.
    StringView Label() { return RankLabel(RankOf(app.match.score, ChosenBest())); }
    const int32_t* ChosenBest() {
        return app.saved.Best(SavedData::TableFor(app.title.difficulty));
    }
    // One overlay over the title, drawn into an empty list.
    std::string OverlayText() {
        app.BeginDrawList(0, 0, 0, 1);
        app.timeUp.Update(false, app.match.score, ChosenBest(), app.frame);
        return GlyphText(app);
    }
    // The mode machine's recording step, as the overlay's end sets it.
    void RecordScore() {
        app.mode = kModeRecord;
        app.RunModeMachine();
        EXPECT_EQ(app.mode, kModeTitle);
    }
};

}  // namespace

TEST_F(TimeUp, EqualScoreRanksAboveAndIsStoredBelow) {
    app.title.difficulty = 2;
    SetBest(1, {500, 400, 300});
    app.match.score = 400;
    EXPECT_EQ(Label(), u"2nd");

    RecordScore();
    const int expected[10] = {500, 400, 400, 300, 0, 0, 0, 0, 0, 0};
    for (int i = 0; i < 10; i++) EXPECT_EQ(Best(1, i), expected[i]) << i;
    EXPECT_EQ(Recent(1, 0), 400);
    EXPECT_EQ(Label(), u"2nd");  // the label does not change once recorded
}

TEST_F(TimeUp, ZeroScoreOnEmptyTableShowsFirstButStoresNothing) {
    app.title.difficulty = 1;
    app.match.score = 0;
    Recent(0, 0) = 70;
    Recent(0, 9) = 90;
    EXPECT_EQ(Label(), u"1st!");
    app.timeUp.timeUpTimer = 40;
    EXPECT_NE(OverlayText().find("NewHighscore1st!"), std::string::npos);

    RecordScore();
    for (int i = 0; i < 10; i++) EXPECT_EQ(Best(0, i), 0);
    EXPECT_EQ(Recent(0, 0), 0);
    EXPECT_EQ(Recent(0, 1), 70);  // the oldest recent score drops off the end
    for (int i = 2; i < 10; i++) EXPECT_EQ(Recent(0, i), 0);
}

TEST_F(TimeUp, ScoresBelowAndAboveTheWholeList) {
    app.title.difficulty = 3;
    for (int i = 0; i < 10; i++) Best(2, i) = 1000 - 10 * i;  // 1000 .. 910
    app.match.score = 900;
    EXPECT_EQ(Label(), u"");
    app.timeUp.timeUpTimer = 40;
    EXPECT_EQ(OverlayText().find("NewHighscore"), std::string::npos);
    RecordScore();
    EXPECT_EQ(Best(2, 9), 910);
    EXPECT_EQ(Recent(2, 0), 900);

    app.match.score = 5000;
    EXPECT_EQ(Label(), u"1st!");
    RecordScore();
    EXPECT_EQ(Best(2, 0), 5000);
    EXPECT_EQ(Best(2, 9), 920);  // 910 was dropped
    EXPECT_EQ(Recent(2, 0), 5000);
    EXPECT_EQ(Recent(2, 1), 900);
}

TEST_F(TimeUp, DifficultiesKeepSeparateTablesAndEveryRecordSaves) {
    app.title.difficulty = 3;
    app.match.score = 123;
    RecordScore();
    for (int i = 0; i < 60; i++) {
        bool table2 = i == 20 || i == 50;
        EXPECT_EQ(app.saved.highscores[i], table2 ? 123 : 0) << i;
    }
    EXPECT_EQ(harness.platform.ReadStateBytes(), app.stateFile.BuildStateString());

    app.match.score = 0;  // an unranked score still saves (the recent list moved)
    app.title.difficulty = 2;
    Best(1, 0) = 5;  // not yet saved
    RecordScore();
    EXPECT_EQ(harness.platform.ReadStateBytes(), app.stateFile.BuildStateString());
}

// Through the mode machine: the overlay runs 90 updates over the finished
// match, the score is recorded and saved in the next, and the fade over the
// title takes its second step in the very update the overlay ends.
TEST_F(TimeUp, NinetyUpdatesIntoRecordingThenTheFadeOverTheTitle) {
    app.title.difficulty = 1;
    app.mode = kModeStartMatch;
    app.RunModeMachine();
    ASSERT_EQ(app.mode, kModeMatch);
    app.match.End();
    app.match.score = 70;
    for (int i = 1; i < 90; i++) {
        app.RunModeMachine();
        ASSERT_EQ(app.mode, kModeMatch) << i;
        ASSERT_EQ(app.timeUp.timeUpTimer, i);
    }
    app.RunModeMachine();
    EXPECT_EQ(app.mode, kModeRecord);
    EXPECT_EQ(app.timeUp.timeUpTimer, 71);  // set to 75, then faded twice
    EXPECT_EQ(Recent(0, 0), 0);             // not yet recorded

    app.RunModeMachine();
    EXPECT_EQ(app.mode, kModeTitle);
    EXPECT_EQ(Best(0, 0), 70);
    EXPECT_EQ(Recent(0, 0), 70);
    EXPECT_EQ(harness.platform.ReadStateBytes(), app.stateFile.BuildStateString());
    EXPECT_EQ(app.timeUp.timeUpTimer, 69);

    int updates = 0;
    while (app.timeUp.timeUpTimer > 0 && updates < 100) {
        app.RunModeMachine();
        updates++;
    }
    EXPECT_EQ(updates, 35);
    EXPECT_EQ(app.mode, kModeTitle);
    EXPECT_EQ(Best(0, 1), 0);  // recorded once only
}
