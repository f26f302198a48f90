// Pads in the layout the game's controls read. A pad with a known mapping
// (GLFW's gamepad mappings, the browser's "standard" mapping) is delivered
// by its named buttons and axes; any other joystick by its raw axes, moved so
// both sticks land in the same places whatever the pad reports.
#pragma once

#include <array>

// The game's pad buttons: a mapped pad's buttons land on these numbers.
enum PadButton {
    kPadA = 0,  // bottom face button
    kPadB = 1,  // right
    kPadX = 2,  // left
    kPadY = 3,  // top
    kPadLeftShoulder = 4,
    kPadRightShoulder = 5,
    kPadBack = 6,  // back or select
    kPadStart = 7,
    kPadLeft = 8,  // the d-pad
    kPadUp = 9,
    kPadRight = 10,
    kPadDown = 11,
    kPadLeftStickPress = 12,
    kPadRightStickPress = 13,
    kPadGuide = 14,
};

// A mapped pad in GLFW's gamepad order (GLFW_GAMEPAD_BUTTON_*, _AXIS_*):
// A, B, X, Y, left and right shoulder, back, start, guide, stick presses,
// d-pad up, right, down, left; axes: left x, y, right x, y, left and right
// trigger. Sticks run -1..1 (up is negative y), triggers -1 at rest to 1.
struct GamepadState {
    static constexpr int kButtons = 15;
    static constexpr int kAxes = 6;
    std::array<bool, kButtons> buttons{};
    std::array<float, kAxes> axes{};
};

// The browser's "standard" gamepad: up to 17 buttons (pressed, and a value
// 0..1 that the triggers use) and up to 4 axes, in that mapping's order.
struct StandardPad {
    static constexpr int kButtons = 17;
    static constexpr int kAxes = 4;
    std::array<bool, kButtons> pressed{};
    std::array<float, kButtons> values{};
    std::array<float, kAxes> axes{};
};

// The standard mapping in GLFW's gamepad order.
GamepadState FromStandardPad(const StandardPad& pad);

// A mapped pad into the game's arrays: both sticks as x and y of sticks 0 and
// 1, the triggers as z of 0 (left) and 1 (right) from 0 at rest to 1, and all
// 32 buttons (those past kPadGuide released).
void ArrangeGamepad(const GamepadState& pad, float* x, float* y, float* z, bool* buttons);

// raw: `count` axis values (at most 6 are used). Writes x, y, z for sticks 0 and 1.
// Values pass through as GLFW 3 reports them: pushing a stick up reads negative y.
void RearrangePadAxes(int count, const float* raw, float* x, float* y, float* z);
