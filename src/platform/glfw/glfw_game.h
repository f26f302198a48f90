// The desktop platform game on GLFW 3: the window, its callbacks, joysticks
// and the fixed-rate frame loop.
#pragma once

#include <utility>

#include "platform/frame_schedule.h"
#include "platform/glfw/install_paths.h"
#include "platform/platform_game.h"

struct GLFWwindow;

class PlGlfwGame : public PlGame {
  public:
    PlGlfwGame();
    ~PlGlfwGame() override;

    void SetTickRate(int rate) override;
    int ElapsedMs() override;
    bool ReadJoystick(int port, float* x, float* y, float* z, bool* buttons) override;
    void ShellOpen(StringView target) override;
    void ShowPointer(bool show) override;
    String ResolveResourcePath(StringView path) override;
    // Creates the per-user state folder on the first save.
    int WriteStateFile(StringView state) override;

    // Where data and saves live; "./data/" and the current folder until set.
    void UseInstallPaths(InstallPaths paths) { paths_ = std::move(paths); }
    const InstallPaths& Paths() const { return paths_; }

    bool HasGlContext() override { return window_ != nullptr; }
    int WindowWidth() override;
    int WindowHeight() override;
    int FramebufferWidth() override;
    int FramebufferHeight() override;
    void SwapBuffers() override;

    // The frame loop.
    virtual void Run();

    void SetWindow(struct GLFWwindow* window) { window_ = window; }
    struct GLFWwindow* Window() {
        return window_;
    }

    bool Iconified() const { return schedule_.Hidden(); }
    double NextTick() const { return schedule_.NextTick(); }
    double TickPeriod() const { return schedule_.Period(); }

  protected:
    // The loop's few contacts with GLFW, replaced by tests with a fake clock.
    virtual double Now();
    virtual void PollEvents();
    virtual void WaitEvents();
    virtual void SleepSeconds(double seconds);
    virtual bool WindowOpen();
    virtual bool WindowIconified();
    virtual bool WindowActive();
    virtual void InstallCallbacks();

    // One pass of the loop; false when the window has closed.
    bool LoopPass();

    struct GLFWwindow* window_ = nullptr;
    InstallPaths paths_;
    bool saveFolderReported_ = false;
    FrameSchedule schedule_;
};

class PlVorlekGame : public PlGlfwGame {};

// Sleep length the loop asks for: whole milliseconds rounded, at least 1.
int SleepMilliseconds(double seconds);

// Whole milliseconds of a clock in seconds, wrapped to 32 bits as a counter
// does (after 2^31 ms it goes on from -2^31).
int WrapMilliseconds(double seconds);
