// The title screen on a Frame without a game: what it reports to the core,
// the difficulty it keeps and what the credits panel over it takes away.
#include "game/play/title_screen.h"

#include <array>

#include "play_table.h"

namespace {

class TitleRules : public PlayTable {
  protected:
    TitleRules() {
        for (int image : {kImageButtons, kImageMakerLogo}) {
            sheets.imageGeometry[3 * image] = image == kImageButtons ? 64 : 256;
            sheets.imageGeometry[3 * image + 1] = image == kImageButtons ? 64 : 256;
        }
        title.difficulty = 2;
    }
    TitleReport Step() {
        TitleView view{soundMode, best.data(), recent.data(), creditsOpen, fontLineHeight};
        return title.Update(view, frame);
    }
    // A fresh touch for one update, released after it.
    TitleReport Tap(int x, int y) {
        Touch(x, y);
        TitleReport report = Step();
        input.pointerDown = 0;
        input.touchX[0] = input.touchY[0] = kNone;
        input.pointerLatch = 0;
        return report;
    }
    TitleReport PressKey(int control) {
        Hold(control);
        TitleReport report = Step();
        Hold(-1);
        return report;
    }

    TitleState title;
    std::array<int32_t, 10> best{}, recent{};
    bool creditsOpen = false;
    int fontLineHeight = 10;
};

// Landscape 640 × 480 at rest: the buttons on 0.7 h at 0.2, 0.4 and 0.6 w.
TEST_F(TitleRules, ATouchedButtonStartsAMatchAtItsDifficultyAndLatchesTheControls) {
    TitleReport report = Tap(0.2f * 640, 0.7f * 480);
    EXPECT_TRUE(report.startMatch);
    EXPECT_FALSE(report.openCredits);
    EXPECT_EQ(title.difficulty, 1);
    EXPECT_EQ(input.controlLatch, 1);
    EXPECT_EQ(Cued(), std::vector<int>{kSfxClick});
    EXPECT_FALSE(Tap(0, 0).startMatch);  // away from the buttons
    EXPECT_EQ(title.difficulty, 1);
}

TEST_F(TitleRules, DirectionsStepTheDifficultyWithinItsRangeOncePerPress) {
    EXPECT_FALSE(PressKey(kControlRight).startMatch);
    EXPECT_EQ(title.difficulty, 3);
    PressKey(kControlDown);
    EXPECT_EQ(title.difficulty, 3);  // no fourth
    Hold(kControlLeft);
    for (int i = 0; i < 5; i++) Step();  // held: one step only
    EXPECT_EQ(title.difficulty, 2);
    Hold(-1);
    PressKey(kControlUp);
    PressKey(kControlUp);
    EXPECT_EQ(title.difficulty, 1);
    EXPECT_EQ(Cued().size(), 3u);
    TitleReport report = PressKey(kControlA);
    EXPECT_TRUE(report.startMatch);
    EXPECT_EQ(title.difficulty, 1);
    EXPECT_EQ(input.pointerLatch, 1);  // the press must not also touch a button
}

TEST_F(TitleRules, UnderTheCreditsNothingStartsOrOpensButTheSoundToggleWorks) {
    creditsOpen = true;
    EXPECT_FALSE(Tap(0.4f * 640, 0.7f * 480).startMatch);
    EXPECT_FALSE(PressKey(kControlA).startMatch);
    EXPECT_FALSE(Tap(640 - 70, 480 - 40).openCredits);
    EXPECT_EQ(title.difficulty, 2);
    EXPECT_TRUE(Cued().empty());
    Tap(32, 240);
    EXPECT_EQ(soundMode, 0);
}

}  // namespace
