// The parts of the platform a device is handed when it is made. Each device
// sees only what it uses; the whole PlGame stays with the entry point and the
// frame loop. PlGame implements every one of them.
#pragma once

#include <cstdio>
#include <memory>

#include "core/text.h"

// Closes a FILE* when it leaves scope.
struct FileCloser {
    void operator()(FILE* f) const {
        if (f) fclose(f);
    }
};
using FileHandle = std::unique_ptr<FILE, FileCloser>;

// Opens files by the game's names (data files, "vorlek://" locations).
class FileOpener {
  public:
    virtual FileHandle OpenFile(StringView path, const char* mode) = 0;
    // Where data files arrive while the game runs (a page fetches its sounds
    // after the start): a count raised as each batch lands. -1 where every
    // file is there from the start.
    virtual int LateFileArrivals() = 0;

  protected:
    ~FileOpener() = default;
};

// Where the renderer draws: the window's size in pointer units, the
// framebuffer's in pixels, and the swap that shows a finished frame.
class Presenter {
  public:
    virtual bool HasGlContext() = 0;
    virtual int WindowWidth() = 0;
    virtual int WindowHeight() = 0;
    virtual int FramebufferWidth() = 0;
    virtual int FramebufferHeight() = 0;
    virtual void SwapBuffers() = 0;

  protected:
    ~Presenter() = default;
};

// The input device's side: the pads' state by port, and whether typed
// characters are wanted (an on-screen keyboard, text events).
class PadReader {
  public:
    // False when no pad is at `port` (nor at any port after it).
    virtual bool ReadJoystick(int port, float* x, float* y, float* z, bool* buttons) = 0;
    virtual void SetTypingEnabled(int enabled) = 0;

  protected:
    ~PadReader() = default;
};

// Milliseconds since the game started: the music player's time base.
class GameClock {
  public:
    virtual int ElapsedMs() = 0;

  protected:
    ~GameClock() = default;
};

// What the frame schedule drives: the game's events and the rate it asked for.
class ScheduledGame {
  public:
    virtual void GameUpdate() = 0;
    virtual void GameRender() = 0;
    virtual void GameSuspend() = 0;
    virtual void GameResume() = 0;
    virtual int TickRate() = 0;
    virtual bool Suspended() = 0;

  protected:
    ~ScheduledGame() = default;
};
