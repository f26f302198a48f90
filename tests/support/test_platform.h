// A platform game for headless tests: a millisecond clock the test advances,
// data files from the build's data folder, the state file in a private temp
// folder, scripted joysticks and a pretend window size. No window, no GL.
#pragma once

#include <array>
#include <string>

#include "shell/platform_game.h"

struct ScriptedJoystick {
    bool present = false;
    int axisCount = 0;
    std::array<float, 6> axes{};
    int buttonCount = 0;
    std::array<bool, 32> buttons{};
};

class TestPlatform : public PlGame {
  public:
    TestPlatform();
    ~TestPlatform() override;

    int ElapsedMs() override { return nowMs; }
    String ResolveResourcePath(StringView path) override;
    String StateFilePath() override;
    bool ReadJoystick(int port, float* x, float* y, float* z, bool* buttons) override;
    int WindowWidth() override { return windowWidth; }
    int WindowHeight() override { return windowHeight; }
    bool HasGlContext() override { return glContext; }

    void Advance(int ms) { nowMs += ms; }
    std::string StateFile() const { return tempDir + "/.vorlekstate"; }
    // Writes or reads the state file as raw bytes.
    void WriteStateBytes(const std::string& bytes) const;
    std::string ReadStateBytes() const;

    int nowMs = 0;
    int windowWidth = 640;
    int windowHeight = 480;
    bool glContext = false;
    std::string dataDir = BW_DATA_DIR;  // "vorlek://data/" maps here
    std::string tempDir;                // private, removed at the end
    std::array<ScriptedJoystick, 16> joysticks{};
    int joystickReads = 0;
};

// A fresh empty temporary directory (removed by the caller or at exit).
std::string MakeTempDir();
void RemoveTree(const std::string& path);
