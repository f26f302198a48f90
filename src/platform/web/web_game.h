// The browser platform: the page's canvas through emscripten's GLFW, the
// page's frame callback driving the shared schedule, page visibility as the
// desktop's iconify, and the state file in an IndexedDB-backed folder.
#pragma once

#include <emscripten/html5.h>

#include "platform/frame_schedule.h"
#include "platform/platform_game.h"

struct GLFWwindow;

class PlWebGame : public PlGame {
  public:
    PlWebGame();
    ~PlWebGame() override;

    // The GL context on the page's canvas; false when WebGL is missing (printed).
    bool OpenCanvas();
    // Starts the game and hands the frame loop to the page; returns at once,
    // the page keeps calling back.
    void Run();

    void SetTickRate(int rate) override;
    int ElapsedMs() override;
    bool ReadJoystick(int port, float* x, float* y, float* z, bool* buttons) override;
    void ShellOpen(StringView target) override;
    String ResolveResourcePath(StringView path) override;
    // The page fetched the data into /data and loaded /save from IndexedDB
    // before the program started.
    String StateFilePath() override { return u"/save/.vorlekstate"; }
    // Saves, then copies the folder to IndexedDB.
    int WriteStateFile(StringView state) override;

    bool HasGlContext() override { return window_ != nullptr; }
    // The page's size in CSS pixels (pointer positions come in them too) and
    // the canvas's in device pixels. The page changes them only once the
    // data for the new size's resolution level is in place.
    int WindowWidth() override { return cssWidth_; }
    int WindowHeight() override { return cssHeight_; }
    int FramebufferWidth() override { return pixelWidth_; }
    int FramebufferHeight() override { return pixelHeight_; }
    int PictureLevelLimit() override;
    int LateFileArrivals() override;
    // The browser presents the canvas when the frame callback returns.
    void SwapBuffers() override {}

    void GameUpdate() override;
    void GameRender() override;

    // One animation frame: sizes, then the schedule's pass.
    void Frame();
    // The page went to the background or came back.
    void PageVisibility(bool hidden);
    // The canvas's GL context went away, or a new one came back.
    void ContextLost(bool lost);
    // Input from the browser, in canvas pixels (GLFW) or CSS pixels (touch).
    void PointerMoved(float x, float y, bool deviceScale);
    void PointerButton(int event, int button, bool fromTouch);
    // A changed touch point of a touch event of the given type.
    void Touched(int type, const EmscriptenTouchPoint& touch);
    double Now();

  private:
    void ReadCanvasSize();

    GLFWwindow* window_ = nullptr;
    FrameSchedule schedule_;
    bool pageHidden_ = false;
    bool contextLost_ = false;
    int cssWidth_ = 640, cssHeight_ = 480;
    int pixelWidth_ = 640, pixelHeight_ = 480;
    float pointerX_ = 0, pointerY_ = 0;
    double lastTouchMs_ = -1e9;
    long activeTouch_ = -1;   // the finger that is the pointer, across events
    bool listening_ = false;  // the page's callbacks deliver here
    double updateMs_ = -1;    // the last update's time until a render follows
};
