// The one delegate: owns the three devices, turns platform events into
// device and application calls in a fixed order.
#pragma once

#include <memory>

#include "platform/delegate.h"

class c_App;
class PlGame;
class PlGraphics;
class PlAudio;
class c_InputDevice;

class c_GameDelegate : public PlGameDelegate {
  public:
    // Made by `app`, whose events it calls, on the platform that calls it.
    c_GameDelegate(c_App& app, PlGame* platform);
    ~c_GameDelegate() override;

    void GameStart() override;
    void GameSuspend() override;
    void GameResume() override;
    void GameUpdate() override;
    void GameRender() override;
    void KeyInput(int event, int data) override;
    void MouseInput(int event, int data, float x, float y) override;
    void TouchInput(int event, int data, float x, float y) override;
    void MotionInput(int event, int data, float x, float y, float z) override;
    void GraphicsLost() override;

    c_App& app;
    PlGame* platform;  // handed to each device it makes
    std::unique_ptr<PlGraphics> graphics;
    std::unique_ptr<PlAudio> audio;
    std::unique_ptr<c_InputDevice> input;
};
