// A desktop scaled to 200 %: the framebuffer has twice the window's pixels
// each way, while pointer positions arrive in window units. The game lays out
// and hit-tests in window units; only GL sees the framebuffer.
#include <gtest/gtest.h>

#include "frontend_helpers.h"

namespace {

TEST(ScaledDesktop, APressOnADrawnTitleButtonHitsIt) {
    GameHarness h;
    h.platform.framebufferWidth = 1280;
    h.platform.framebufferHeight = 960;
    SettleTitle(h);
    c_MyApp& app = h.App();
    EXPECT_FLOAT_EQ(app.screen.screenScaleX, 1);
    EXPECT_FLOAT_EQ(app.screen.screenWidth, 640);
    ASSERT_NE(h.Backend(), nullptr);
    EXPECT_EQ(h.Backend()->viewportWidth, 1280);
    EXPECT_EQ(h.Backend()->frameWidth, 640);

    // The sound toggle is drawn at (32, 240) in screen units, which here are
    // window units: that is where the pointer must be to hit it.
    std::vector<DrawCommand> toggle = Images(app, kImageIcons);
    ASSERT_FALSE(toggle.empty());
    ASSERT_FLOAT_EQ(toggle.front().x, 32);
    ASSERT_FLOAT_EQ(toggle.front().y, 240);
    int before = app.saved.SoundMode();
    Tap(h, 32, 240);
    EXPECT_NE(app.saved.SoundMode(), before);

    // A difficulty button starts its match when pressed where it is drawn.
    std::vector<DrawCommand> buttons = Images(app, kImageButtons);
    ASSERT_FALSE(buttons.empty());
    Tap(h, buttons.front().x, buttons.front().y);
    h.Step(3);
    EXPECT_EQ(app.mode, kModeMatch);
}

}  // namespace
