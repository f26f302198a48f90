// The input state: held keys and hit counts over one key-code space,
// typed characters, pointer, touches, tilt and joysticks.
#pragma once

#include <array>
#include <cstdint>

struct c_JoyState {
    std::array<float, 2> axisX{};
    std::array<float, 2> axisY{};
    std::array<float, 2> axisZ{};
    std::array<bool, 32> buttons{};
};

class PadReader;

// The key-code space: keyboard codes below 256 (code 1 is the left mouse
// button), then pad buttons by port, then touches.
constexpr int kKeyMouseLeft = 1;
constexpr int kKeyPadBase = 256;
constexpr int kKeyPadButtons = 32;  // per port: button b of port p is kKeyPadBase + 32p + b
constexpr int kKeyTouchBase = 384;

class c_InputDevice {
  public:
    static constexpr int kKeys = 512;
    static constexpr int kTypedChars = 32;
    static constexpr int kTouches = 32;
    static constexpr int kPorts = 4;

    // Joysticks and the typing switch go through the pad reader; without one
    // (tests) there are no pads.
    explicit c_InputDevice(PadReader* pads = nullptr) : pads_(pads) {}
    virtual ~c_InputDevice() = default;

    // Polls joysticks through the platform into sticks and keys 256..383.
    // An absent port, and every port after it, reads released and centred.
    int PrepareUpdate();
    int FinishUpdate();
    // Codes outside 0..511 are ignored.
    int KeyInput(int event, int code);
    int MouseInput(int event, int button, float x, float y);
    int TouchInput(int event, int index, float x, float y);
    int MotionInput(int event, int data, float x, float y, float z);
    int SetTypingEnabled(int enabled);
    int NextChar();
    int KeyPresses(int code) const;
    float PointerX() const { return mouseX; }
    float PointerY() const { return mouseY; }
    // Inline: the controls ask for a few dozen keys every update.
    bool KeyHeld(int code) const { return code >= 1 && code < kKeys && heldKeys[code]; }
    float TouchPosX(int index) const;
    float TouchPosY(int index) const;
    float StickY(int axis, int port) const;
    float StickX(int axis, int port) const;
    float TiltX() const { return accelX; }
    float TiltY() const { return accelY; }

    std::array<c_JoyState, kPorts> sticks{};
    std::array<bool, kKeys> heldKeys{};
    std::array<int32_t, kKeys> pressCounts{};
    int typedRead = 0;
    int typedWrite = 0;
    std::array<int32_t, kTypedChars> typedChars{};
    float mouseX = 0, mouseY = 0;
    std::array<float, kTouches> touchX{};
    std::array<float, kTouches> touchY{};
    float accelX = 0, accelY = 0, accelZ = 0;

  private:
    PadReader* pads_ = nullptr;
    void ReleasePorts(int firstPort);
    void UpdateMousePosition(float x, float y);
    void UpdateTouchPosition(int index, float x, float y);
};
