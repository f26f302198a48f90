// The match on a Frame without a game: what it cues, draws and reports.
#include <algorithm>
#include <cmath>

#include "game/play/match.h"
#include "play_table.h"

namespace {

class MatchRules : public PlayTable {
  protected:
    void Start(int difficulty = 2) {
        frame.nowMs = 1000;
        match.Start(difficulty, frame);
        match.fieldRecords.fill(Record{});
    }
    MatchReport Step(int ms = 17, bool paused = false) {
        frame.nowMs += ms;
        return match.Update(paused, frame);
    }
    Record& PutSpider(int k, float x, float y) {
        Record& r = match.fieldRecords[static_cast<size_t>(k)];
        r = Record{};
        r.Set(kSpider);
        r.x = x, r.y = y, r.turn = 1;
        return r;
    }
    int Flying() const {
        return static_cast<int>(std::count_if(match.fieldRecords.begin(), match.fieldRecords.end(),
                                              [](const Record& r) { return IsFlying(r); }));
    }

    MatchState match;
};

TEST_F(MatchRules, AReleaseInTheRingThrowsAndCuesTheThrowUnlessTheSoundIsOff) {
    for (int mode : {1, 0}) {
        soundMode = mode;
        Start();
        match.heldCharge = 1;
        input.pointerX = 340, input.pointerY = 240;  // released 20 units right of the centre
        Step();
        EXPECT_EQ(Flying(), 1) << mode;
        EXPECT_EQ(match.heldCharge, 0);
        std::vector<int> cued = Cued();
        EXPECT_EQ(!cued.empty() && cued[0] == kSfxThrow, mode == 1) << mode;
        EXPECT_EQ(screen.backgroundColor, (std::array<float, 4>{100, 100, 200, 1}));
    }
}

TEST_F(MatchRules, APausedFieldStandsStillAndIsNotDrawnWhileTheCentreStillCosts) {
    Start();
    Record& spider = PutSpider(7, 100, 100);
    Step(17, true);
    EXPECT_EQ(spider.x, 100);
    EXPECT_EQ(CountImages(kImageSpiders), 0);
    PutSpider(8, 320, 240);  // in the ring: only a running field notices
    Step(17, true);
    EXPECT_EQ(match.matchLength, 60000);
    Step();
    EXPECT_EQ(match.matchLength, 57500);
    EXPECT_GT(CountImages(kImageSpiders), 0);
    EXPECT_EQ(Cued(), std::vector<int>{kSfxSpiderInCentre});
}

}  // namespace
