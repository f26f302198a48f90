// The receiver of platform events; the base does nothing.
#pragma once

class PlGameDelegate {
  public:
    virtual ~PlGameDelegate() = default;
    virtual void GameStart() {}
    virtual void GameSuspend() {}
    virtual void GameResume() {}
    virtual void GameUpdate() {}
    virtual void GameRender() {}
    virtual void KeyInput(int event, int data) {}
    virtual void MouseInput(int event, int data, float x, float y) {}
    virtual void TouchInput(int event, int data, float x, float y) {}
    virtual void MotionInput(int event, int data, float x, float y, float z) {}
    virtual void GraphicsLost() {}
};
