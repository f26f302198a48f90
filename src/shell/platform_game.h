// The platform game: frame loop, time, files, state file, joysticks, decoding.
// The only door to the operating system; tests install their own subclass.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <utility>

#include "shell/install_paths.h"
#include "shell/text.h"

class PlGameDelegate;

// Event codes shared by the platform game, the delegate and the input device.
enum EventCode {
    kEventKeyDown = 1,
    kEventKeyUp = 2,
    kEventChar = 3,
    kEventMouseDown = 4,
    kEventMouseUp = 5,
    kEventMouseMove = 6,
    kEventTouchDown = 7,
    kEventTouchUp = 8,
    kEventTouchMove = 9,
    kEventAccel = 10,
};

constexpr int kCloseKey = 432;

// Closes a FILE* when it leaves scope.
struct FileCloser {
    void operator()(FILE* f) const {
        if (f) fclose(f);
    }
};
using FileHandle = std::unique_ptr<FILE, FileCloser>;

// Malloc'd block released with free(); what decoders hand back.
struct FreeDeleter {
    void operator()(void* p) const;
};
using ByteBlock = std::unique_ptr<uint8_t[], FreeDeleter>;

struct DecodedImage {
    ByteBlock pixels;  // rows top to bottom, components bytes per pixel
    int width = 0;
    int height = 0;
    int components = 0;
};

struct DecodedAudio {
    ByteBlock data;  // interleaved little-endian PCM
    int length = 0;  // sample frames
    int channels = 0;
    int format = 0;  // bytes per sample
    int hertz = 0;
};

class PlGame {
  public:
    PlGame();
    virtual ~PlGame();
    PlGame(const PlGame&) = delete;
    PlGame& operator=(const PlGame&) = delete;

    virtual void SetDelegate(PlGameDelegate* delegate) { delegate_ = delegate; }
    virtual PlGameDelegate* Delegate() { return delegate_; }
    virtual void SetTypingEnabled(int enabled) { typingEnabled_ = enabled; }
    virtual bool TypingEnabled() { return typingEnabled_ != 0; }
    virtual void SetTickRate(int rate) { tickRate_ = rate; }
    virtual int TickRate() { return tickRate_; }
    virtual bool Started() { return started_; }
    virtual bool Suspended() { return suspended_; }
    virtual int ElapsedMs() { return 0; }
    virtual void LocalDateTime(std::span<int> out);
    virtual int WriteStateFile(StringView state);
    virtual String ReadStateFile();
    virtual String ReadTextFile(StringView path);
    virtual bool ReadJoystick(int port, float* x, float* y, float* z, bool* buttons) {
        return false;
    }
    virtual void ShellOpen(StringView target) {}
    virtual void ShowPointer(bool show) {}
    virtual String ResolveResourcePath(StringView path) { return String(); }
    virtual FileHandle OpenFile(StringView path, const char* mode);
    virtual ByteBlock ReadWholeFile(StringView path, int* length);
    [[noreturn]] virtual void ReportUncaught();
    virtual void CollectGarbage() {}

    // Guarded event wrappers: each forwards to the delegate.
    virtual void GameStart();
    virtual void GameSuspend();
    virtual void GameResume();
    virtual void GameUpdate();
    virtual void GameRender();
    virtual void KeyInput(int event, int data);
    virtual void MouseInput(int event, int data, float x, float y);
    virtual void TouchInput(int event, int data, float x, float y);
    virtual void MotionInput(int event, int data, float x, float y, float z);
    virtual void GraphicsLost();

    // Decoding through stb_image / the sample readers, from files opened here.
    virtual bool DecodeImageFile(StringView path, DecodedImage* out);
    virtual bool DecodeAudioFile(StringView path, DecodedAudio* out);

    // Window facts the renderer needs; a headless platform has no GL context.
    virtual bool HasGlContext() { return false; }
    virtual int WindowWidth() { return 0; }
    virtual int WindowHeight() { return 0; }
    virtual void SwapBuffers() {}

    // Where the state file lives ("./.vorlekstate" on the desktop).
    virtual String StateFilePath() { return u"./.vorlekstate"; }

  protected:
    PlGameDelegate* delegate_ = nullptr;
    int typingEnabled_ = 0;
    int tickRate_ = 0;
    bool started_ = false;
    bool suspended_ = false;

  private:
    // Runs one delegate call; anything thrown ends the process.
    template <typename F>
    void Guarded(F&& call);
};

// The process-wide platform game (set by the PlGame constructor).
PlGame* PlatformGame();

// Bare names live in the data folder ("vorlek://data/" in front); names with
// a scheme, or starting with "./" or "/", stay as they are.
String ApplyDataPathRule(StringView path);

// Maps "vorlek://data/" and friends to relative paths; "" for unknown locations.
String MapVorlekPath(StringView path);

// Atomic save: temp file in the same folder, flush, fsync, rename.
// 0 written, -1 cannot be opened, -2 not every byte written (old file kept).
int WriteFileAtomically(const std::string& path, const std::string& bytes);

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
    void SwapBuffers() override;

    // The frame loop.
    virtual void Run();

    void SetWindow(struct GLFWwindow* window) { window_ = window; }
    struct GLFWwindow* Window() {
        return window_;
    }

    bool Iconified() const { return iconified_; }
    double NextTick() const { return nextTick_; }
    double TickPeriod() const { return tickPeriod_; }

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
    bool iconified_ = false;
    double nextTick_ = 0;
    double tickPeriod_ = 0;
};

class PlVorlekGame : public PlGlfwGame {};

// Sleep length the loop asks for: whole milliseconds rounded, at least 1.
int SleepMilliseconds(double seconds);
