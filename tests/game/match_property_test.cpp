// Long runs of random pointer play on every difficulty keep the pools sound.
#include <algorithm>
#include <cmath>
#include <random>

#include "match_fixture.h"

namespace {

bool KnownFieldState(float s) {
    if (s != std::floor(s)) return false;
    return s == 0 || (s >= 1 && s <= 9) || (s >= 11 && s <= 19) || s == 21 || s == 22;
}

// The pool is exactly its records: there is no tail past the last one to write into.
static_assert(sizeof(RecordPool) == kRecords * 10 * sizeof(float));

// Checks one pool: known states and finite live records.
void CheckPool(const RecordPool& pool, bool field, int update) {
    for (int k = 0; k < kRecords; k++) {
        const Record& r = pool[static_cast<size_t>(k)];
        if (field) {
            ASSERT_TRUE(KnownFieldState(r.state))
                << "field " << k << " state " << r.state << " @" << update;
        } else {
            ASSERT_TRUE(r.state == 0 || r.state == 1 || r.state == 10)
                << "effect " << k << " @" << update;
        }
        if (r.state == 0) continue;
        ASSERT_TRUE(AllFinite(r)) << k << " @" << update;
    }
}

}  // namespace

class MatchPropertyTest : public MatchTest, public ::testing::WithParamInterface<int> {
  protected:
    // A player who mostly grabs toothpicks and flings them, sometimes flails about.
    void RandomInput(std::mt19937& rng) {
        std::uniform_real_distribution<float> x(-40, 680), y(-40, 520), ring(-90, 90);
        int roll = static_cast<int>(rng() % 100);
        c_MyApp& app = App();
        if (roll < 10) {
            for (int k = 0; k < kRecords; k++) {
                const Record& r = app.match.fieldRecords[static_cast<size_t>(k)];
                if (r.state > 0 && r.state < 10) {
                    h.Press(r.x, r.y);
                    return;
                }
            }
        } else if (roll < 30) {
            h.MoveTo(320 + ring(rng), 240 + ring(rng));
        } else if (roll < 40) {
            h.Release();
        } else if (roll < 45) {
            h.Press(x(rng), y(rng));
        } else if (roll < 47) {
            h.Press(16, 16);  // the pause icon
        } else if (roll < 49) {
            int key = (rng() % 2) ? 27 : 90;
            h.KeyDown(key);
            h.Update();
            h.KeyUp(key);
        } else if (roll < 70) {
            h.MoveTo(x(rng), y(rng));
        }
    }
};

TEST_P(MatchPropertyTest, RandomPlayNeverBreaksThePools) {
    const int difficulty = GetParam();
    std::mt19937 rng(1000 + difficulty);
    h.platform.nowMs = 5000 * difficulty;
    Start(difficulty);
    int matches = 1, bestScore = 0, mostSpiders = 0;
    for (int update = 0; update < 6000; update++) {
        c_MyApp& app = App();
        if (app.mode == kModeTitle) {
            app.title.difficulty = difficulty;
            app.mode = kModeStartMatch;
            matches++;
        }
        RandomInput(rng);
        h.Update(update % 3 == 0 ? 40 : 17);
        if (app.mode != kModeMatch) continue;
        CheckPool(app.match.fieldRecords, true, update);
        CheckPool(app.match.effectRecords, false, update);
        ASSERT_LE(app.match.spiderCap, difficulty == 1 ? 3 : 150);
        ASSERT_GE(app.match.heldCharge, 0);
        ASSERT_LE(app.match.heldCharge, 9);
        ASSERT_GE(app.match.secondsLeft, 0);
        ASSERT_GE(app.match.score, 0);
        ASSERT_EQ(app.drawList.drawCount % 15, 0);
        ASSERT_LE(app.drawList.drawCount, DrawList::kLimit);
        bestScore = std::max(bestScore, app.match.score);
        mostSpiders = std::max(mostSpiders, app.match.spiderCount);
        if (app.match.matchOver) {
            ASSERT_EQ(app.match.heldCharge, 0);
        }
    }
    // The random player really plays: whole matches, kills, and a crowd on the harder levels.
    EXPECT_GE(matches, 2);
    EXPECT_GT(bestScore, 0);
    EXPECT_GE(mostSpiders, difficulty == 1 ? 3 : 4);
}

INSTANTIATE_TEST_SUITE_P(EveryDifficulty, MatchPropertyTest, ::testing::Values(1, 2, 3));
