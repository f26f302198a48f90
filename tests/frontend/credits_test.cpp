// The credits panel: the test-card grid, flying in and out, closing, and the
// scroller that resumes where it stopped and never shows its last entry.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <utility>

#include "frontend_helpers.h"

namespace {

constexpr int kKeyEscape = 27;

bool Near(float a, float b) {
    return std::fabs(a - b) < 0.01f;
}

// Rectangles of one size: the base squares of the cells, or the edge bars.
std::vector<DrawCommand> RectsSized(const c_MyApp& app, float w, float h) {
    std::vector<DrawCommand> out;
    for (const DrawCommand& c : Rects(app))
        if (Near(c.sizeX, w) && Near(c.sizeY, h)) out.push_back(c);
    return out;
}

// Opens the panel with the maker's logo and lets it fly in completely.
void OpenPanel(GameHarness& h) {
    float w = h.App().screen.screenWidth * h.App().screen.screenScaleX;
    float ht = h.App().screen.screenHeight * h.App().screen.screenScaleY;
    Tap(h, w - 70 * h.App().screen.screenScaleX, ht - 40 * h.App().screen.screenScaleY);
    ASSERT_EQ(h.App().credits.menuPanelOpen, 1);
    h.Step(30);
}

// Scroller progress in units: grows 0.3 per drawn update.
float ScrollProgress(const c_MyApp& app) {
    return app.credits.creditLine * 16 - app.credits.creditScroll;
}

}  // namespace

TEST(Credits, GridOf13By10CellsWithEdgeGradients) {
    GameHarness h;
    SettleTitle(h);
    OpenPanel(h);
    c_MyApp& app = h.App();
    ASSERT_EQ(app.credits.menuPanelSlide, 30);
    const float c = 640.0f / 12;
    std::vector<DrawCommand> cells = RectsSized(app, c + 1, c + 1);
    EXPECT_EQ(cells.size(), 130u);
    std::set<int> xs, ys;
    for (const DrawCommand& cell : cells) {
        xs.insert(static_cast<int>(std::lround(cell.x)));
        ys.insert(static_cast<int>(std::lround(cell.y)));
    }
    EXPECT_EQ(xs.size(), 13u);
    EXPECT_EQ(ys.size(), 10u);

    // Top row runs red to green from the left, bottom row black to white.
    std::vector<DrawCommand> rows = RectsSized(app, c - 16, c);
    ASSERT_EQ(rows.size(), 22u);
    const DrawCommand* topLeft = nullptr;
    const DrawCommand* topRight = nullptr;
    const DrawCommand* bottomLeft = nullptr;
    for (const DrawCommand& r : rows) {
        bool top = r.y < 0;
        const DrawCommand*& first = top ? topLeft : bottomLeft;
        if (!first || r.x < first->x) first = &r;
        if (top && (!topRight || r.x > topRight->x)) topRight = &r;
    }
    ASSERT_TRUE(topLeft && topRight && bottomLeft);
    EXPECT_EQ(topLeft->red, 0);
    EXPECT_EQ(topLeft->green, 255);
    EXPECT_EQ(topRight->red, 255);
    EXPECT_EQ(topRight->green, 0);
    EXPECT_EQ(bottomLeft->red, 0);
    EXPECT_EQ(RectsSized(app, c, c - 16).size(), 16u);  // side columns, 8 each
    EXPECT_FLOAT_EQ(topLeft->alpha, 1);
}

TEST(Credits, FreshTouchClosesWithItsSoundAndThePanelFliesOut) {
    GameHarness h;
    SettleTitle(h);
    OpenPanel(h);
    c_MyApp& app = h.App();
    int channel = app.media.sfxChannel;
    Tap(h, 320, 240);
    EXPECT_EQ(app.credits.menuPanelOpen, 0);
    EXPECT_EQ(app.media.sfxChannel, (channel + 1) % 24);
    EXPECT_FALSE(Images(app, kImageTestCard).empty());  // still flying out
    h.Step(30);
    EXPECT_EQ(app.credits.menuPanelSlide, 0);
    EXPECT_TRUE(Images(app, kImageTestCard).empty());
    EXPECT_NE(GlyphText(app).find("Top10"), std::string::npos);

    OpenPanel(h);
    h.KeyDown(kKeyEscape);
    h.Step();
    EXPECT_EQ(app.credits.menuPanelOpen, 0);
}

TEST(Credits, ReopeningResumesTheScroller) {
    GameHarness h;
    SettleTitle(h);
    c_MyApp& app = h.App();
    OpenPanel(h);
    h.Step(100);
    Tap(h, 320, 240);
    h.Step(40);
    float stopped = ScrollProgress(app);
    EXPECT_GT(stopped, 30);
    h.Step(50);
    EXPECT_FLOAT_EQ(ScrollProgress(app), stopped);  // a closed panel does not scroll

    h.Press(640 - 70, 480 - 40);
    h.Step();
    EXPECT_NEAR(ScrollProgress(app), stopped + 0.3f, 0.01f);
}

TEST(Credits, CyclesThroughTheLinesWithoutTheEnd) {
    GameHarness h;
    SettleTitle(h);
    c_MyApp& app = h.App();
    OpenPanel(h);
    bool sawStart = false, sawTools = false;
    for (int i = 0; i < 38 * 54 + 60; i++) {
        h.Step();
        std::string text = GlyphText(app);
        ASSERT_EQ(text.find("End"), std::string::npos) << "update " << i;
        sawStart = sawStart || text.find("AGameby") != std::string::npos;
        sawTools = sawTools || text.find("washandy!") != std::string::npos;
    }
    EXPECT_TRUE(sawStart);
    EXPECT_TRUE(sawTools);
    EXPECT_GE(app.credits.creditLine, 38);
    EXPECT_EQ(kCreditLines[38], u"End");
}

// Columns and rows of the opened grid: the cells' base squares sit on
// (columns + 1) x (rows + 1) places.
std::pair<int, int> GridCounts(int windowWidth, int windowHeight) {
    GameHarness h(windowWidth, windowHeight);
    SettleTitle(h);
    c_MyApp& app = h.App();
    app.credits.menuPanelOpen = 1;
    h.Step(31);
    const float c = std::max(app.screen.screenWidth, app.screen.screenHeight) / 12;
    std::set<int> xs, ys;
    for (const DrawCommand& cell : RectsSized(app, c + 1, c + 1)) {
        xs.insert(static_cast<int>(std::lround(cell.x)));
        ys.insert(static_cast<int>(std::lround(cell.y)));
    }
    return {static_cast<int>(xs.size()) - 1, static_cast<int>(ys.size()) - 1};
}

TEST(Credits, GridCountsWholeCellsOnly) {
    EXPECT_EQ(GridCounts(640, 480), std::make_pair(12, 9));  // exact fit stays exact
    EXPECT_EQ(GridCounts(480, 640), std::make_pair(9, 12));
    EXPECT_EQ(GridCounts(417, 1001), std::make_pair(4, 12));  // 4.999 columns are 4
    EXPECT_EQ(GridCounts(1001, 417), std::make_pair(12, 4));
    EXPECT_EQ(GridCounts(1280, 960), std::make_pair(12, 9));
}

TEST(Credits, NarrowScreenDrawsOnlyValidColours) {
    GameHarness h(100, 480);  // two columns: the gradient steps divide by zero
    SettleTitle(h);
    c_MyApp& app = h.App();
    app.credits.menuPanelOpen = 1;
    h.Step(31);
    ASSERT_GT(app.drawList.drawCount, 0);
    for (const DrawCommand& c : Commands(app)) {
        for (float v : {c.red, c.green, c.blue}) {
            ASSERT_TRUE(std::isfinite(v));
            ASSERT_GE(v, 0);
            ASSERT_LE(v, 255);
        }
    }
}
