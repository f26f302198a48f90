// A desktop scaled to 200 %: the framebuffer has twice the window's pixels
// each way, while pointer positions arrive in window units. The game lays out
// and hit-tests in window units; GL, the choice of picture sheets and the
// credits' size readout see the framebuffer.
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
    // 1280 x 960 device pixels want the sharpest sheets, as a 1280 x 960 window would.
    EXPECT_EQ(app.media.resLevel, 4);
    EXPECT_FLOAT_EQ(app.media.resScale, 0.25f);
    EXPECT_EQ(Narrow(app.loader.SheetFileName(u"title/logo").View()), "title/logo-hd2.png");

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

TEST(ScaledDesktop, CreditsReadOutTheFramebufferAndAMoveToAnotherScaleReloads) {
    GameHarness h;
    h.platform.framebufferWidth = 1280;
    h.platform.framebufferHeight = 960;
    SettleTitle(h);
    c_MyApp& app = h.App();
    app.credits.menuPanelOpen = 1;
    h.Step(31);
    std::string text = GlyphText(app);
    EXPECT_NE(text.find("1280960"), std::string::npos) << text;  // the device disc, in pixels
    EXPECT_NE(text.find("640480"), std::string::npos) << text;   // the screen disc, in units

    // The same window dragged onto an unscaled screen: same units, fewer pixels.
    h.platform.framebufferWidth = 0;
    h.platform.framebufferHeight = 0;
    h.Step();
    EXPECT_NE(app.loading.loadStep, 0);
    h.FinishLoading();
    EXPECT_EQ(app.media.resLevel, 2);
}

}  // namespace
