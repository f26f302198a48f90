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
    int WindowWidth() override { return windowSize_.width; }
    int WindowHeight() override { return windowSize_.height; }
    int FramebufferWidth() override { return framebufferSize_.width; }
    int FramebufferHeight() override { return framebufferSize_.height; }
    void SwapBuffers() override;

    // The frame loop.
    virtual void Run();

    // Mappings for pads GLFW does not know, from the data folder when the
    // player put the file there; called by Run. False when there is none or
    // it cannot be read (the built-in mappings stay as they are).
    bool LoadGamepadMappings();
    static constexpr const char16_t* kGamepadMappingsFile = u"vorlek://data/gamecontrollerdb.txt";
    static constexpr size_t kMaxGamepadMappingsBytes = 4 * 1024 * 1024;

    void SetWindow(struct GLFWwindow* window);
    struct GLFWwindow* Window() {
        return window_;
    }
    // GLFW's size callbacks report here; other windows' sizes are ignored.
    void WindowSized(struct GLFWwindow* window, int width, int height);
    void FramebufferSized(struct GLFWwindow* window, int width, int height);

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
    struct Size {
        int width = 0, height = 0;
    };
    Size windowSize_, framebufferSize_;  // as GLFW last reported them
    InstallPaths paths_;
    bool saveFolderReported_ = false;
    FrameSchedule schedule_;
    bool afterSwap_ = true;  // the first pass follows the first render
};

class PlVorlekGame : public PlGlfwGame {};

// Sleep length the loop asks for: whole milliseconds rounded, at least 1.
int SleepMilliseconds(double seconds);

// Whole milliseconds of a clock in seconds, wrapped to 32 bits as a counter
// does (after 2^31 ms it goes on from -2^31).
int WrapMilliseconds(double seconds);
