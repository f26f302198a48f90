// The application base: empty event handlers the game overrides.
#pragma once

#include <memory>

class PlGame;
class PlGraphics;
class PlAudio;
class c_InputDevice;
class c_GameDelegate;

class c_App {
  public:
    // Installs its delegate in `platform` (none without one: tests of the
    // state alone); a second application is a runtime error.
    explicit c_App(PlGame* platform);
    virtual ~c_App();
    c_App(const c_App&) = delete;
    c_App& operator=(const c_App&) = delete;

    virtual int HandleCreate() { return 0; }
    virtual int HandleSuspend() { return 0; }
    virtual int HandleResume() { return 0; }
    virtual int HandleUpdate() { return 0; }
    virtual int HandleRender() { return 0; }

    // The platform game the application was made on (null without one).
    PlGame* Platform() const { return platform_; }
    // The delegate this application installed; it owns the devices.
    c_GameDelegate& Delegate() const { return *delegate_; }
    // The devices the delegate made at the game's start (null before it).
    PlGraphics* Graphics() const;
    PlAudio* Audio() const;
    c_InputDevice* Input() const;
    // The window in its own units and the framebuffer in device pixels, as
    // the renderer last saw them (all 0 before the start).
    struct DisplaySize {
        int width = 0, height = 0, pixelWidth = 0, pixelHeight = 0;
    };
    DisplaySize Display() const;

    // The framework's update-rate operation: remembers the rate, tells the platform.
    void SetUpdateRate(int rate);
    int UpdateRate() const { return updateRate_; }

  private:
    PlGame* platform_ = nullptr;
    std::unique_ptr<c_GameDelegate> delegate_;
    int updateRate_ = 0;
};

// The one application of the process (null when there is none).
c_App* Application();
