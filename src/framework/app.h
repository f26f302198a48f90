// The application base: empty event handlers the game overrides.
#pragma once

#include <memory>

class PlGame;
class PlGameDelegate;

class c_App {
  public:
    // Installs the one delegate in `platform` (none without one: tests of
    // the state alone); a second application is a runtime error.
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

  private:
    PlGame* platform_ = nullptr;
};

// Process-wide references kept by the framework.
c_App* Application();
PlGameDelegate* AppDelegate();

// The framework's update-rate operation: remembers the rate, tells the platform.
void SetUpdateRate(int rate);
int UpdateRate();
