// The application owns its delegate, which owns the devices; the game reaches
// them and the update rate through the application alone.
#include "framework/app.h"

#include <gtest/gtest.h>


#include "audio/audio.h"
#include "framework/game_delegate.h"
#include "graphics/renderer.h"
#include "input/input.h"
#include "support/test_platform.h"

namespace {

// Sets its rate and notes what it could reach when it is created.
class RecordingApp : public c_App {
  public:
    using c_App::c_App;
    int HandleCreate() override {
        devicesAtCreate = Graphics() && Audio() && Input();
        SetUpdateRate(60);
        return 0;
    }
    int HandleSuspend() override { return 0; }
    int HandleResume() override { return 0; }
    int HandleUpdate() override { return 0; }
    int HandleRender() override { return 0; }
    bool devicesAtCreate = false;
};

TEST(Application, ReachesTheDevicesItsDelegateMadeAndNoneBefore) {
    TestPlatform platform;
    platform.windowWidth = 800, platform.windowHeight = 600;
    platform.framebufferWidth = 1600, platform.framebufferHeight = 1200;
    RecordingApp app(&platform);
    EXPECT_EQ(platform.Delegate(), &app.Delegate());
    EXPECT_TRUE(!app.Graphics() && !app.Audio() && !app.Input());
    EXPECT_EQ(app.Display().pixelWidth, 0);

    platform.GameStart();
    EXPECT_TRUE(app.devicesAtCreate);
    EXPECT_EQ(app.Graphics(), app.Delegate().graphics.get());
    EXPECT_EQ(app.Audio(), app.Delegate().audio.get());
    EXPECT_EQ(app.Input(), app.Delegate().input.get());
    platform.GameRender();  // the renderer takes the window's sizes per frame
    const c_App::DisplaySize display = app.Display();
    EXPECT_EQ(display.width, 800);
    EXPECT_EQ(display.height, 600);
    EXPECT_EQ(display.pixelWidth, 1600);
    EXPECT_EQ(display.pixelHeight, 1200);
}

// The rate belongs to the application: it reaches the platform, and the
// next application starts without the last one's.
TEST(Application, KeepsItsUpdateRateAndHandsItToThePlatform) {
    TestPlatform platform;
    {
        RecordingApp app(&platform);
        platform.GameStart();
        EXPECT_EQ(app.UpdateRate(), 60);
        EXPECT_EQ(platform.TickRate(), 60);
        app.SetUpdateRate(5);
        EXPECT_EQ(app.UpdateRate(), 5);
        EXPECT_EQ(platform.TickRate(), 5);
    }
    EXPECT_EQ(platform.Delegate(), nullptr);  // the delegate went with its application
    RecordingApp next(&platform);
    EXPECT_EQ(next.UpdateRate(), 0);
    EXPECT_EQ(Application(), &next);
    EXPECT_EQ(platform.Delegate(), &next.Delegate());
}

}  // namespace
