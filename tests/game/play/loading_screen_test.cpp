// The loading screen on a Frame without a game: the steps it hands the
// loader, when it ends, and its picture.
#include "game/play/loading_screen.h"

#include <cmath>
#include <vector>

#include "play_table.h"

namespace {

class LoadingRules : public PlayTable {
  protected:
    LoadingRules() {
        screen.screenWidth = 640;  // a 1280 x 720 window: m = 360
        screen.screenHeight = 360;
    }
    LoadingScreen loading;
};

TEST_F(LoadingRules, HandsOutEveryStepOnceAndEndsAfterTheLast) {
    EXPECT_EQ(loading.Update(frame).step, 0);  // nothing loads yet: nothing due, nothing drawn
    EXPECT_EQ(list.CommandCount(), 0);
    loading.Restart();
    std::vector<int> steps;
    int finishedAt = 0;
    while (loading.Loading() && steps.size() < 100) {
        LoadingReport report = loading.Update(frame);
        steps.push_back(report.step);
        if (report.finished) finishedAt = report.step;
        ASSERT_EQ(list.CommandCount(), 25) << "step " << report.step;  // drawn on the last too
    }
    ASSERT_EQ(steps.size(), 21u);
    for (int i = 0; i < 21; i++) EXPECT_EQ(steps[i], i + 1);
    EXPECT_EQ(finishedAt, LoadingScreen::kLastStep);
    EXPECT_EQ(loading.spinnerAngle, 21 * 16);
}

TEST_F(LoadingRules, ARestartMidwayBeginsAgainWithoutResettingTheSpinner) {
    loading.Restart();
    for (int i = 0; i < 7; i++) loading.Update(frame);
    loading.Restart();
    EXPECT_EQ(loading.Update(frame).step, 1);
    EXPECT_EQ(loading.spinnerAngle, 8 * 16);
}

TEST_F(LoadingRules, TwoDotRingsHalfATurnApartUnderTheLogo) {
    loading.spinnerAngle = 100;
    loading.Draw(frame);
    EXPECT_EQ(screen.backgroundColor, (std::array<float, 4>{40, 40, 80, 1}));
    ASSERT_EQ(list.CommandCount(), 25);
    const float cx = 320, cy = 180, ring = 90;
    for (int i = 0; i <= 10; i++) {
        const DrawCommand &light = list.Command(i), &dark = list.Command(14 + i);
        const float a = static_cast<float>(100 + 16 * i) * 3.14159265f / 180;
        EXPECT_EQ(light.kind, kCmdEllipse);
        EXPECT_FLOAT_EQ(light.alpha, static_cast<float>(i) / 10);
        EXPECT_EQ(light.red, 250);
        EXPECT_NEAR(light.x, cx - ring * std::sin(a), 1e-3);
        EXPECT_NEAR(light.y, cy + ring * std::cos(a), 1e-3);
        EXPECT_EQ(light.sizeX, 8);
        EXPECT_EQ(dark.kind, kCmdEllipse);
        EXPECT_EQ(dark.red, 50);
        EXPECT_NEAR(dark.x, cx + ring * std::sin(a), 1e-3);
        EXPECT_NEAR(dark.y, cy - ring * std::cos(a), 1e-3);
    }
    EXPECT_EQ(list.Command(13).kind, kImageMakerLogo);  // over the disc and the band
}

// An odd short side: the ring's radius is a whole quarter of it.
TEST_F(LoadingRules, TheRingRadiusIsAWholeQuarterOfTheShortSide) {
    screen.screenWidth = 483;
    screen.screenHeight = 700;
    loading.Draw(frame);
    EXPECT_FLOAT_EQ(list.Command(14).y, 350 - 120);  // the dark ring's first dot, straight up
    EXPECT_FLOAT_EQ(list.Command(11).sizeX, 0.3f * 483);
}

}  // namespace
