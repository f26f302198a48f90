// The platform game: time, files, the state file, the window and joysticks.
// The only door to the operating system; each platform folder implements it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <utility>

#include "core/byte_block.h"
#include "core/text.h"
#include "platform/views.h"

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

// Each device is handed only its view of this (platform/views.h).
class PlGame : public FileOpener,
               public Presenter,
               public PadReader,
               public GameClock,
               public ScheduledGame {
  public:
    PlGame();
    virtual ~PlGame();
    PlGame(const PlGame&) = delete;
    PlGame& operator=(const PlGame&) = delete;

    virtual void SetDelegate(PlGameDelegate* delegate) { delegate_ = delegate; }
    virtual PlGameDelegate* Delegate() { return delegate_; }
    void SetTypingEnabled(int enabled) override { typingEnabled_ = enabled; }
    virtual bool TypingEnabled() { return typingEnabled_ != 0; }
    virtual void SetTickRate(int rate) { tickRate_ = rate; }
    int TickRate() override { return tickRate_; }
    virtual bool Started() { return started_; }
    bool Suspended() override { return suspended_; }
    int ElapsedMs() override { return 0; }
    virtual void LocalDateTime(std::span<int> out);
    virtual int WriteStateFile(StringView state);
    virtual String ReadStateFile();
    virtual String ReadTextFile(StringView path);
    bool ReadJoystick(int port, float* x, float* y, float* z, bool* buttons) override {
        return false;
    }
    virtual void ShellOpen(StringView target) {}
    virtual void ShowPointer(bool show) {}
    virtual String ResolveResourcePath(StringView path) { return String(); }
    FileHandle OpenFile(StringView path, const char* mode) override;
    // Null when the file cannot be opened or its size does not fit `length`.
    virtual ByteBlock ReadWholeFile(StringView path, int* length);
    // As ReadWholeFile up to `limit` bytes: a longer file is refused (null)
    // or cut at the limit.
    enum class Oversize { Refuse, Truncate };
    ByteBlock ReadFileUpTo(StringView path, size_t limit, Oversize oversize, int* length);
    // Only the first this many bytes of the state file are read.
    static constexpr size_t kMaxStateFileBytes = 64 * 1024;
    [[noreturn]] virtual void ReportUncaught();
    virtual void CollectGarbage() {}

    // Guarded event wrappers: each forwards to the delegate.
    virtual void GameStart();
    void GameSuspend() override;
    void GameResume() override;
    void GameUpdate() override;
    void GameRender() override;
    virtual void KeyInput(int event, int data);
    virtual void MouseInput(int event, int data, float x, float y);
    virtual void TouchInput(int event, int data, float x, float y);
    virtual void MotionInput(int event, int data, float x, float y, float z);
    virtual void GraphicsLost();

    // Window facts the renderer needs; a headless platform has no GL context.
    // The window size is in the units pointer positions come in, and so is
    // the game's logical size; the framebuffer counts pixels, more of them
    // than the window on a scaled (HiDPI) desktop.
    bool HasGlContext() override { return false; }
    int WindowWidth() override { return 0; }
    int WindowHeight() override { return 0; }
    int FramebufferWidth() override { return WindowWidth(); }
    int FramebufferHeight() override { return WindowHeight(); }
    void SwapBuffers() override {}
    // The sharpest picture level (1, 2 or 4) whose files are at hand. A page
    // that fetches its data starts small and raises it once sharper ones are in.
    virtual int PictureLevelLimit() { return 4; }
    int LateFileArrivals() override { return -1; }

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

// Bare names live in the data folder ("vorlek://data/" in front); names with
// a scheme, or starting with "./" or "/", stay as they are.
String ApplyDataPathRule(StringView path);

// Maps "vorlek://data/" and friends to relative paths; "" for unknown locations.
String MapVorlekPath(StringView path);
