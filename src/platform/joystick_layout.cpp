#include "platform/joystick_layout.h"

#include <algorithm>

namespace {

// GLFW's gamepad button order, index by index, as the game's pad buttons.
constexpr std::array<int, GamepadState::kButtons> kGamepadToPad = {
    kPadA,
    kPadB,
    kPadX,
    kPadY,
    kPadLeftShoulder,
    kPadRightShoulder,
    kPadBack,
    kPadStart,
    kPadGuide,
    kPadLeftStickPress,
    kPadRightStickPress,
    kPadUp,
    kPadRight,
    kPadDown,
    kPadLeft,
};

// The standard mapping's buttons 0..16 in GLFW's gamepad order; its 6 and 7
// are the triggers, which GLFW has as axes.
constexpr int kNotAButton = -1;
constexpr std::array<int, StandardPad::kButtons> kStandardToGamepad = {
    0, 1, 2, 3, 4, 5, kNotAButton, kNotAButton, 6, 7, 9, 10, 11, 13, 14, 12, 8,
};
constexpr int kStandardLeftTrigger = 6, kStandardRightTrigger = 7;
constexpr int kLeftTriggerAxis = 4, kRightTriggerAxis = 5;

// A trigger from GLFW's -1..1 to 0..1, so a released one reads 0 as a
// centred stick does. Out-of-range readings are held to the range.
float TriggerPull(float v) {
    return std::clamp((v + 1) * 0.5f, 0.0f, 1.0f);
}

}  // namespace

GamepadState FromStandardPad(const StandardPad& pad) {
    GamepadState out;
    for (int i = 0; i < StandardPad::kButtons; i++) {
        int to = kStandardToGamepad[i];
        if (to != kNotAButton) out.buttons[to] = pad.pressed[i];
    }
    for (int i = 0; i < StandardPad::kAxes; i++) out.axes[i] = pad.axes[i];
    out.axes[kLeftTriggerAxis] = pad.values[kStandardLeftTrigger] * 2 - 1;
    out.axes[kRightTriggerAxis] = pad.values[kStandardRightTrigger] * 2 - 1;
    return out;
}

void ArrangeGamepad(const GamepadState& pad, float* x, float* y, float* z, bool* buttons) {
    x[0] = pad.axes[0];
    y[0] = pad.axes[1];
    x[1] = pad.axes[2];
    y[1] = pad.axes[3];
    z[0] = TriggerPull(pad.axes[kLeftTriggerAxis]);
    z[1] = TriggerPull(pad.axes[kRightTriggerAxis]);
    std::fill_n(buttons, 32, false);
    for (int i = 0; i < GamepadState::kButtons; i++) buttons[kGamepadToPad[i]] = pad.buttons[i];
}

void RearrangePadAxes(int count, const float* raw, float* x, float* y, float* z) {
    float v[6] = {0, 0, 0, 0, 0, 0};
    for (int i = 0; raw && i < count && i < 6; i++) v[i] = raw[i];
    if (count == 4) {
        v[4] = v[2];
        v[2] = 0;
    } else if (count == 5) {
        float t = v[3];
        v[3] = v[4];
        v[4] = t;
    }
    x[0] = v[0];
    x[1] = v[3];
    y[0] = v[1];
    y[1] = v[4];
    z[0] = v[2];
    z[1] = v[5];
}
