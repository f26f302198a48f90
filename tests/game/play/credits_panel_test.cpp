// The credits panel on a Frame without a game: its slide, closing by touch,
// and drawing only over the title.
#include "game/play/credits_panel.h"

#include "play_table.h"

namespace {

class CreditsRules : public PlayTable {
  protected:
    CreditsReport Step(bool onTitle = true) { return panel.Update(onTitle, readouts, frame); }
    void Settle(int updates) {
        for (int i = 0; i < updates; i++) Step();
        Cued();
    }

    CreditsPanel panel;
    CreditsReadouts readouts{1280, 960, 60, 59};
};

TEST_F(CreditsRules, SlidesInToItsLengthAndOutToNothing) {
    panel.Open();
    Settle(CreditsPanel::kSlideLength + 5);
    EXPECT_EQ(panel.menuPanelSlide, CreditsPanel::kSlideLength);
    panel.Close();
    Step();
    EXPECT_EQ(panel.menuPanelSlide, CreditsPanel::kSlideLength - 1);
    EXPECT_TRUE(panel.Visible());
    Settle(CreditsPanel::kSlideLength + 5);
    EXPECT_EQ(panel.menuPanelSlide, 0);
    EXPECT_FALSE(panel.Visible());
    list.drawCount = 0;
    Step();
    EXPECT_EQ(list.CommandCount(), 0);  // closed and gone: nothing drawn
}

TEST_F(CreditsRules, AFreshTouchClosesItOnceWithAClick) {
    panel.Open();
    Settle(CreditsPanel::kSlideLength);
    input.pointerLatch = 1;  // the press that opened it
    Touch(10, 10);
    EXPECT_FALSE(Step().closed);
    EXPECT_EQ(panel.menuPanelOpen, 1);
    input.pointerLatch = 0;
    EXPECT_TRUE(Step().closed);
    EXPECT_EQ(panel.menuPanelOpen, 0);
    EXPECT_EQ(Cued(), std::vector<int>{kSfxPanel});
    panel.Open();  // the same held touch does not close it again
    EXPECT_FALSE(Step().closed);
    EXPECT_TRUE(Cued().empty());
}

TEST_F(CreditsRules, AwayFromTheTitleItNeitherDrawsNorScrollsNorClosesButStillSlides) {
    panel.Open();
    Touch(10, 10);
    for (int i = 0; i < 3; i++) EXPECT_FALSE(Step(false).closed);
    EXPECT_EQ(panel.menuPanelOpen, 1);
    EXPECT_EQ(panel.menuPanelSlide, 3);
    EXPECT_EQ(panel.creditScroll, 0);
    EXPECT_EQ(list.CommandCount(), 0);
    EXPECT_EQ(input.pointerLatch, 0);
}

TEST_F(CreditsRules, DrawingLeavesTheScrollerWhereItIsAndRepeatsExactly) {
    panel.Open();
    Settle(40);
    const float scroll = panel.creditScroll;
    const int line = panel.creditLine;
    list.drawCount = 0;
    panel.Draw(readouts, frame);
    const int count = list.CommandCount();
    ASSERT_GT(count, 0);
    std::vector<DrawCommand> first(count);
    for (int i = 0; i < count; i++) first[i] = list.Command(i);
    list.drawCount = 0;
    panel.Draw(readouts, frame);
    ASSERT_EQ(list.CommandCount(), count);
    for (int i = 0; i < count; i++) {
        EXPECT_EQ(list.Command(i).x, first[i].x);
        EXPECT_EQ(list.Command(i).kind, first[i].kind);
    }
    EXPECT_EQ(panel.creditScroll, scroll);
    EXPECT_EQ(panel.creditLine, line);
}

TEST_F(CreditsRules, TheScrollerStepsOneLinePerSpacing) {
    panel.creditLine = 37;
    for (int i = 0; i < 54; i++) panel.Scroll();  // 0.3 a step: past one spacing of 16
    EXPECT_EQ(panel.creditLine, 38);
    EXPECT_GT(panel.creditScroll, -16);
    EXPECT_LE(panel.creditScroll, 0);
}

}  // namespace
