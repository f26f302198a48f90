// The parts of the game's state on their own: record pools, the input
// snapshot, the highscore tables and the two degree conversions.
#include <gtest/gtest.h>

#include "core/degree_math.h"
#include "game/game_core.h"
#include "input/input.h"
#include "platform/platform_game.h"

TEST(RecordPool, ATakenRecordStartsCleanAndTheSearchRunsFromTheTop) {
    RecordPool pool{};
    for (Record& r : pool) r = {21, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    EXPECT_EQ(HighestFree(pool), -1);
    pool[37].state = 0;
    pool[12].state = 0;
    ASSERT_EQ(HighestFree(pool), RecordStart(37));
    Record& r = TakeRecord(pool, HighestFree(pool));
    EXPECT_EQ(&r, &pool[37]);
    EXPECT_EQ(r, Record{});  // nothing of the last occupant is left
    EXPECT_EQ(pool[36].unused, 9);
    EXPECT_EQ(pool[38].state, 21);
}

TEST(InputSnapshot, SamplesPointerAndTouchesInScreenUnits) {
    c_InputDevice device;
    ScreenFit screen;
    InputSnapshot input;
    device.MouseInput(kEventMouseMove, -1, 100, 60);
    input.Sample(device, screen);  // not measured yet: pixels count as units
    EXPECT_EQ(input.pointerX, 100);
    EXPECT_EQ(input.pointerDown, 0);

    screen.Fit(1280, 960);
    device.MouseInput(kEventMouseDown, 0, 300, 200);
    device.TouchInput(kEventTouchDown, 3, 41, 81);
    input.pointerLatch = 1;
    input.Sample(device, screen);
    EXPECT_EQ(input.pointerX, 150);
    EXPECT_EQ(input.pointerY, 100);
    // A fresh press starts where it is, not where the pointer last rested.
    EXPECT_EQ(input.pointerPrevX, 150);
    EXPECT_EQ(input.pointerDown, 1);
    EXPECT_EQ(input.touchDown[3], 1);
    EXPECT_EQ(input.touchX[3], 20);
    EXPECT_EQ(input.touchY[3], 40);
    EXPECT_EQ(input.touchX[2], kNone);
    EXPECT_EQ(input.pointerLatch, 1);

    device.MouseInput(kEventMouseUp, 0, 0, 0);
    device.TouchInput(kEventTouchUp, 3, 0, 0);
    input.Sample(device, screen);
    EXPECT_EQ(input.pointerDown, 0);
    EXPECT_EQ(input.touchX[3], kNone);
    EXPECT_EQ(input.pointerLatch, 0);  // released: the next press acts again
}

TEST(SavedData, EachDifficultyHasItsOwnBestAndRecentTable) {
    SavedData saved;
    saved.Best(1)[9] = 5;
    saved.Recent(2)[0] = 7;
    EXPECT_EQ(saved.highscores[19], 5);
    EXPECT_EQ(saved.highscores[50], 7);
    EXPECT_EQ(SavedData::TableFor(1), 0);
    EXPECT_EQ(SavedData::TableFor(3), 2);
    // Out-of-range difficulties use the nearest table rather than another list.
    EXPECT_EQ(SavedData::TableFor(0), 0);
    EXPECT_EQ(SavedData::TableFor(7), 2);
}

// Recorded matches depend on every bit of the match's trigonometry, so its
// conversion must not be folded into the drawing one.
TEST(DegreeMath, TheTwoConversionsAgreeInValueButNotInEveryBit) {
    int differ = 0;
    for (int a = 0; a < 360; a++) {
        auto d = static_cast<float>(a);
        EXPECT_NEAR(SinDeg(d), SinDegFactor(d), 1e-6f) << a;
        EXPECT_NEAR(CosDeg(d), CosDegFactor(d), 1e-6f) << a;
        differ += SinDeg(d) != SinDegFactor(d);
    }
    EXPECT_GT(differ, 0);
    EXPECT_FLOAT_EQ(SinDeg(90), 1);
    EXPECT_FLOAT_EQ(CosDegFactor(180), -1);
}
