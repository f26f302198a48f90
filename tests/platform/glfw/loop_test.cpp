// The frame loop's schedule with a fake clock and a scripted window.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <string>

#include "platform/delegate.h"
#include "platform/glfw/glfw_game.h"

namespace {

// Logs every delegate call as one letter: S start, U update, R render,
// P suspend (pause), M resume, K key.
struct LogDelegate : PlGameDelegate {
    void GameStart() override { log += 'S'; }
    void GameSuspend() override { log += 'P'; }
    void GameResume() override { log += 'M'; }
    void GameUpdate() override {
        log += 'U';
        if (onUpdate) onUpdate();
    }
    void GameRender() override { log += 'R'; }
    void KeyInput(int, int) override { log += 'K'; }
    std::string log;
    std::function<void()> onUpdate;
};

class FakeLoop : public PlGlfwGame {
  public:
    FakeLoop() { SetDelegate(&delegate); }
    double Now() override { return now; }
    void PollEvents() override { polls++; }
    void WaitEvents() override {
        waits++;
        now += 0.05;
    }
    void SleepSeconds(double s) override {
        sleeps++;
        longestSleep = std::max(longestSleep, s);
        now += SleepMilliseconds(s) / 1000.0;
    }
    bool WindowOpen() override { return open; }
    bool WindowIconified() override { return iconifiedNow; }
    bool WindowActive() override { return activeNow; }
    void InstallCallbacks() override {}

    // Starts the game as Run does, without entering the endless loop.
    void Start() {
        GameStart();
        GameRender();
    }
    void Pass() { LoopPass(); }
    // Started at 60 updates a second; the rate set between passes takes the
    // next pass as its start, so the first update is due a period after it.
    void StartAtSixty() {
        Start();
        SetTickRate(60);
        Pass();
        delegate.log.clear();
    }
    using PlGlfwGame::LoopPass;

    LogDelegate delegate;
    double now = 10.0;
    bool open = true, iconifiedNow = false, activeNow = true;
    int polls = 0, waits = 0, sleeps = 0;
    double longestSleep = 0;
};

TEST(FrameLoop, FirstRenderComesBeforeFirstUpdate) {
    FakeLoop loop;
    loop.SetTickRate(60);
    loop.Start();
    for (int i = 0; i < 3; i++) loop.Pass();  // sleep, then one update and render
    EXPECT_EQ(loop.delegate.log.substr(0, 4), "SRUR");
}

TEST(FrameLoop, SteadyPassesUpdateRenderAndSleep) {
    FakeLoop loop;
    loop.StartAtSixty();
    for (int i = 0; i < 120; i++) loop.Pass();
    EXPECT_EQ(loop.delegate.log.substr(0, 6), "URURUR");
    EXPECT_EQ(loop.delegate.log.find("UU"), std::string::npos);
    EXPECT_GE(loop.sleeps, 50);
    EXPECT_LE(loop.longestSleep, 1.0 / 60 + 1e-9);
    EXPECT_GT(loop.longestSleep, 0.010);
}

TEST(FrameLoop, OneSecondStallRunsFourUpdatesAndDropsTheBacklog) {
    FakeLoop loop;
    loop.StartAtSixty();
    loop.now = loop.NextTick() + 1.0;
    loop.Pass();
    EXPECT_EQ(loop.delegate.log, "UUUUR");
    EXPECT_DOUBLE_EQ(loop.NextTick(), loop.now);
    loop.delegate.log.clear();
    loop.now += 0.5 / 60;
    loop.Pass();
    EXPECT_EQ(loop.delegate.log, "UR");
}

TEST(FrameLoop, TwoAndAHalfPeriodsRunThreeUpdatesWithoutReset) {
    FakeLoop loop;
    loop.StartAtSixty();
    double due = loop.NextTick();
    loop.now = due + 2.5 / 60;
    loop.Pass();
    EXPECT_EQ(loop.delegate.log, "UUUR");
    EXPECT_NEAR(loop.NextTick(), due + 3.0 / 60, 1e-9);
}

TEST(FrameLoop, RateZeroDuringAnUpdateStopsTheCatchUp) {
    FakeLoop loop;
    loop.StartAtSixty();
    loop.delegate.onUpdate = [&] { loop.SetTickRate(0); };
    loop.now = loop.NextTick() + 1.0;
    loop.Pass();
    EXPECT_EQ(loop.delegate.log, "UR");
    loop.delegate.log.clear();
    loop.Pass();
    loop.Pass();
    EXPECT_EQ(loop.delegate.log, "RR");  // renders once per batch of events
    EXPECT_EQ(loop.waits, 2);
}

TEST(FrameLoop, IconifySuspendsAndRestoreResumesOnSchedule) {
    FakeLoop loop;
    loop.StartAtSixty();
    loop.iconifiedNow = true;
    loop.activeNow = false;
    for (int i = 0; i < 5; i++) loop.Pass();
    EXPECT_EQ(loop.delegate.log, "P");  // suspended once, nothing rendered
    EXPECT_TRUE(loop.Iconified());
    EXPECT_EQ(loop.waits, 5);  // blocks instead of spinning
    loop.iconifiedNow = false;
    loop.Pass();  // not yet active: still suspended, may render
    loop.delegate.log.clear();
    loop.activeNow = true;
    loop.Pass();
    // The event that woke the loop came at any point of a refresh: the
    // resume shows the game, and the schedule starts half a period after the
    // next pass, which follows the swap.
    EXPECT_EQ(loop.delegate.log, "MR");
    loop.delegate.log.clear();
    double anchor = loop.now;
    loop.Pass();
    EXPECT_EQ(loop.delegate.log, "");
    EXPECT_DOUBLE_EQ(loop.NextTick(), anchor + 0.5 / 60);
    // The loop wakes once the update is within a quarter period.
    for (int i = 0; i < 10 && loop.delegate.log.empty(); i++) loop.Pass();
    EXPECT_EQ(loop.delegate.log, "UR");
    EXPECT_GE(loop.now, anchor + 0.25 / 60 - 1e-9);
    EXPECT_LE(loop.now, anchor + 0.5 / 60);
}

TEST(FrameLoop, LosingFocusAloneKeepsPlaying) {
    FakeLoop loop;
    loop.Start();
    loop.SetTickRate(60);
    loop.activeNow = false;
    loop.delegate.log.clear();
    for (int i = 0; i < 10; i++) loop.Pass();
    EXPECT_NE(loop.delegate.log.find("UR"), std::string::npos);
    EXPECT_EQ(loop.delegate.log.find('P'), std::string::npos);
}

TEST(FrameLoop, ClosedWindowEndsTheLoopAndEarlyEventsAreDropped) {
    FakeLoop loop;
    loop.KeyInput(kEventKeyDown, 65);  // before GameStart
    loop.GameUpdate();
    EXPECT_EQ(loop.delegate.log, "");
    loop.Start();
    loop.KeyInput(kEventKeyDown, 65);
    EXPECT_EQ(loop.delegate.log, "SRK");
    loop.open = false;
    EXPECT_FALSE(loop.LoopPass());
}

TEST(FrameLoop, SleepRoundsToWholeMilliseconds) {
    EXPECT_EQ(SleepMilliseconds(0.0001), 1);
    EXPECT_EQ(SleepMilliseconds(0.0166), 17);
    EXPECT_EQ(SleepMilliseconds(0.0164), 16);
    EXPECT_EQ(SleepMilliseconds(0), 0);
}

}  // namespace

namespace {

TEST(FrameLoop, ElapsedMillisecondsWrapLikeA32BitCounter) {
    FakeLoop loop;
    auto at = [&](double seconds) {
        loop.now = seconds;
        return loop.ElapsedMs();
    };
    EXPECT_EQ(at(1.5), 1500);
    EXPECT_EQ(at(2147483.5), 2147483500);
    // Past 2^31 ms (24.8 days) the count goes on from -2^31...
    EXPECT_EQ(at(2147484.0), 2147484000 - 4294967296);
    EXPECT_EQ(at(4294967.5), 204);  // ...and past 2^32 ms from 0 again
    EXPECT_EQ(at(-0.25), -250);
    // Differences across the wrap stay right, as the game's clock uses them.
    int before = at(2147483.0), after = at(2147484.0);
    EXPECT_EQ(static_cast<int>(static_cast<unsigned>(after) - static_cast<unsigned>(before)), 1000);
    // A clock far beyond any real run, or broken, still gives a defined count.
    EXPECT_EQ(at(1e300), WrapMilliseconds(1e300));
    EXPECT_EQ(at(std::numeric_limits<double>::infinity()), 0);
    EXPECT_EQ(at(std::nan("")), 0);
}

}  // namespace
