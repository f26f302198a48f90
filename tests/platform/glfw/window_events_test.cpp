// The desktop platform's GLFW callbacks on a real window: the close button
// and the mouse buttons reach the game as the game's own events.
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/delegate.h"
#include "platform/glfw/glfw_game.h"
#include "support/game_harness.h"
#include "support/gl_window.h"

// What the window manager sends when the close button is clicked (X11 kept
// in its own file: its macros clash with the test framework's names).
void ClickCloseButton(GLFWwindow* window);

namespace {

// Records key and mouse events as (event, code) pairs.
struct RecordingDelegate : PlGameDelegate {
    void KeyInput(int event, int code) override { keys.emplace_back(event, code); }
    void MouseInput(int event, int data, float, float) override { mouse.emplace_back(event, data); }
    std::vector<std::pair<int, int>> keys, mouse;
};

class WindowGame : public PlGlfwGame {
  public:
    using PlGlfwGame::InstallCallbacks;
    using PlGlfwGame::PollEvents;
    using PlGlfwGame::WindowOpen;
};

// A started platform game on a real window, recording what its callbacks send.
class WindowEvents : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(window.Ok());
        game.SetDelegate(&delegate);
        game.SetWindow(window.Window());
        game.InstallCallbacks();
        game.GameStart();
    }
    void TearDown() override { game.SetWindow(nullptr); }

    GlTestWindow window;
    WindowGame game;
    RecordingDelegate delegate;
};

TEST_F(WindowEvents, CloseButtonSendsKey432DownAndUpInOnePollAndKeepsTheWindow) {
    game.PollEvents();
    delegate.keys.clear();
    ClickCloseButton(window.Window());
    game.PollEvents();
    EXPECT_EQ(delegate.keys, (std::vector<std::pair<int, int>>{{kEventKeyDown, kCloseKey},
                                                               {kEventKeyUp, kCloseKey}}));
    EXPECT_TRUE(game.WindowOpen());  // the game decides, at its next update
}

TEST_F(WindowEvents, MouseButtonsFollowTheTranslationTable) {
    // The callback GLFW would call, as installed.
    GLFWmousebuttonfun callback = glfwSetMouseButtonCallback(window.Window(), nullptr);
    glfwSetMouseButtonCallback(window.Window(), callback);
    ASSERT_NE(callback, nullptr);
    callback(window.Window(), GLFW_MOUSE_BUTTON_LEFT, GLFW_PRESS, 0);
    callback(window.Window(), GLFW_MOUSE_BUTTON_MIDDLE, GLFW_RELEASE, 0);
    callback(window.Window(), GLFW_MOUSE_BUTTON_4, GLFW_PRESS, 0);      // no such game button
    callback(window.Window(), GLFW_MOUSE_BUTTON_LEFT, GLFW_REPEAT, 0);  // not a button action
    EXPECT_EQ(delegate.mouse,
              (std::vector<std::pair<int, int>>{{kEventMouseDown, 0}, {kEventMouseUp, 2}}));
}

// Each window's callbacks reach the game that holds it, not whichever game
// was made last, and nobody once that game lets it go or is gone.
TEST_F(WindowEvents, CallbacksReachTheGameTheWindowBelongsTo) {
    GLFWmousebuttonfun callback = glfwSetMouseButtonCallback(window.Window(), nullptr);
    glfwSetMouseButtonCallback(window.Window(), callback);
    ASSERT_NE(callback, nullptr);
    RecordingDelegate laterDelegate;
    {
        WindowGame later;
        later.SetDelegate(&laterDelegate);
        later.GameStart();
        callback(window.Window(), GLFW_MOUSE_BUTTON_LEFT, GLFW_PRESS, 0);
    }
    EXPECT_EQ(delegate.mouse, (std::vector<std::pair<int, int>>{{kEventMouseDown, 0}}));
    EXPECT_TRUE(laterDelegate.mouse.empty());
    game.SetWindow(nullptr);
    callback(window.Window(), GLFW_MOUSE_BUTTON_LEFT, GLFW_RELEASE, 0);
    EXPECT_EQ(delegate.mouse.size(), 1u);
}

TEST(WindowGameLife, AWindowOutlivingItsGameKeepsNoWayToIt) {
    GlTestWindow window;
    ASSERT_TRUE(window.Ok());
    RecordingDelegate delegate;
    {
        WindowGame game;
        game.SetDelegate(&delegate);
        game.SetWindow(window.Window());
        game.InstallCallbacks();
        game.GameStart();
        EXPECT_EQ(glfwGetWindowUserPointer(window.Window()), &game);
    }
    EXPECT_EQ(glfwGetWindowUserPointer(window.Window()), nullptr);
    GLFWcursorposfun callback = glfwSetCursorPosCallback(window.Window(), nullptr);
    ASSERT_NE(callback, nullptr);
    callback(window.Window(), 10, 20);  // delivered to nobody
    EXPECT_TRUE(delegate.mouse.empty());
}

// The sizes the renderer reads each frame come from GLFW's size callbacks,
// delivered by the event polls, not from a query to the display each time.
TEST_F(WindowEvents, SizesFollowTheWindowThroughThePolls) {
    EXPECT_EQ(game.WindowWidth(), 640);
    EXPECT_EQ(game.FramebufferHeight(), 480);
    glfwSetWindowSize(window.Window(), 320, 200);
    for (int i = 0; i < 200 && game.WindowWidth() != 320; i++) {
        game.PollEvents();
        usleep(10000);
    }
    EXPECT_EQ(game.WindowWidth(), 320);
    EXPECT_EQ(game.WindowHeight(), 200);
    EXPECT_EQ(game.FramebufferWidth(), 320);
    EXPECT_EQ(game.FramebufferHeight(), 200);
}

TEST(WindowClose, CloseButtonEndsTheGameAtItsNextUpdateWithStatusZero) {
    pid_t pid = fork();
    if (pid == 0) {
        GlTestWindow window;
        if (!window.Ok()) _exit(5);
        // The window's events reach the real game running on the headless
        // platform, as the desktop platform would hand them on.
        struct Forward : PlGameDelegate {
            void KeyInput(int event, int code) override { target->KeyInput(event, code); }
            PlGame* target = nullptr;
        } forward;
        WindowGame game;
        game.SetDelegate(&forward);
        game.SetWindow(window.Window());
        GameHarness harness;
        forward.target = &harness.platform;
        harness.FinishLoading();
        game.InstallCallbacks();
        game.GameStart();
        ClickCloseButton(window.Window());
        game.PollEvents();
        if (!game.WindowOpen()) _exit(6);
        harness.Update();  // ends the process here
        _exit(7);
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "5: no window, 6: window closed, 7: game went on";
}

// A player's own pad mappings sit in the data folder; without the file, or
// with one far too large to be mappings, GLFW keeps its built-in ones.
TEST_F(WindowEvents, PadMappingsAreTakenFromTheDataFolderWhenThere) {
    std::string dir = MakeTempDir();
    InstallPaths paths;
    paths.dataFolder = dir + "/";
    game.UseInstallPaths(paths);
    EXPECT_FALSE(game.LoadGamepadMappings());

    const std::string file = dir + "/gamecontrollerdb.txt";
    const std::string mappings =
        "# a pad made up for this test\n"
        "0300000012340000cdab000001000000,Made-up Pad,a:b0,b:b1,x:b2,y:b3,back:b6,"
        "start:b7,guide:b8,leftshoulder:b4,rightshoulder:b5,leftstick:b9,rightstick:b10,"
        "dpup:h0.1,dpright:h0.2,dpdown:h0.4,dpleft:h0.8,leftx:a0,lefty:a1,rightx:a3,"
        "righty:a4,lefttrigger:a2,righttrigger:a5,platform:Linux,\n";
    std::ofstream(file, std::ios::binary) << mappings;
    EXPECT_TRUE(game.LoadGamepadMappings());

    std::ofstream(file, std::ios::binary)
        << std::string(PlGlfwGame::kMaxGamepadMappingsBytes + 1, '#');
    EXPECT_FALSE(game.LoadGamepadMappings());
    RemoveTree(dir);
}

}  // namespace
