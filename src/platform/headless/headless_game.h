// A platform game without a window: a millisecond clock its owner advances,
// data files from a chosen folder, the state file at a chosen path, scripted
// joysticks and a pretend window size. Tests and the replay tool run the
// real game on it.
#pragma once

#include <array>
#include <string>

#include "platform/joystick_layout.h"
#include "platform/platform_game.h"

// One joystick as the platform would see it: its raw axes and buttons, and,
// when a mapping knows the pad, its state by that mapping, which is then what
// the game reads.
struct ScriptedJoystick {
    bool present = false;
    int axisCount = 0;
    std::array<float, 6> axes{};
    int buttonCount = 0;
    std::array<bool, 32> buttons{};
    bool mapped = false;
    GamepadState gamepad{};
};

class PlHeadlessGame : public PlGame {
  public:
    PlHeadlessGame(std::string dataFolder, std::string stateFile)
        : dataDir(std::move(dataFolder)), stateFile_(std::move(stateFile)) {}

    int ElapsedMs() override { return nowMs; }
    String ResolveResourcePath(StringView path) override;
    String StateFilePath() override;
    bool ReadJoystick(int port, float* x, float* y, float* z, bool* buttons) override;
    int WindowWidth() override { return windowWidth; }
    int WindowHeight() override { return windowHeight; }
    int FramebufferWidth() override {
        return framebufferWidth > 0 ? framebufferWidth : windowWidth;
    }
    int FramebufferHeight() override {
        return framebufferHeight > 0 ? framebufferHeight : windowHeight;
    }
    bool HasGlContext() override { return glContext; }
    int PictureLevelLimit() override { return pictureLevelLimit; }
    int LateFileArrivals() override { return lateFileArrivals; }

    void Advance(int ms) { nowMs += ms; }
    const std::string& StateFile() const { return stateFile_; }

    int nowMs = 0;
    int windowWidth = 640;
    int windowHeight = 480;
    int framebufferWidth = 0;  // pixels; 0 means as many as the window has units
    int framebufferHeight = 0;
    bool glContext = false;
    int pictureLevelLimit = 4;
    int lateFileArrivals = -1;  // as a page that fetches files late counts them
    std::string dataDir;        // "vorlek://data/" maps here
    std::array<ScriptedJoystick, 16> joysticks{};
    int joystickReads = 0;

  protected:
    std::string stateFile_;
};
