// The nine abstract controls: keys, pad buttons of port 0 and its first stick.
#include "game/controls.h"

#include <iterator>

#include "input/input.h"

namespace {

constexpr float kStickThreshold = 0.4f;

struct ControlKeys {
    int code;
    int keys[4];  // 0 ends the list
    int padButton;
};

constexpr ControlKeys kControlKeys[] = {
    {kControlUp, {38, 87}, 9},         // Up arrow, W
    {kControlLeft, {37, 65}, 8},       // Left arrow, A
    {kControlRight, {39, 68}, 10},     // Right arrow, D
    {kControlDown, {40, 83}, 11},      // Down arrow, S
    {kControlA, {90, 74, 32, 13}, 0},  // Z, J, Space, Enter
    {kControlB, {88, 75, 17}, 1},      // X, K, Control
    {kControlC, {67, 76, 16}, 2},      // C, L, Shift
    {kControlD, {86, 73}, 3},          // V, I
    {kControlBack, {27, 46, 8}, 7},    // Escape, Delete, Backspace
};

// Directions also answer to the first stick, beyond the threshold only.
bool StickPushed(const c_InputDevice& input, int code) {
    switch (code) {
        case kControlUp:
            return input.StickY(0, 0) < -kStickThreshold;
        case kControlLeft:
            return input.StickX(0, 0) < -kStickThreshold;
        case kControlRight:
            return input.StickX(0, 0) > kStickThreshold;
        case kControlDown:
            return input.StickY(0, 0) > kStickThreshold;
        default:
            return false;
    }
}

bool Held(const c_InputDevice& device, const ControlKeys& control) {
    for (int key : control.keys) {
        if (key != 0 && device.KeyHeld(key)) return true;
    }
    if (device.KeyHeld(kKeyPadBase + control.padButton)) return true;
    return StickPushed(device, control.code);
}

// The snapshot's bits follow the table's order.
constexpr bool SameOrder() {
    for (size_t i = 0; i < kControls.size(); i++) {
        if (kControlKeys[i].code != kControls[i]) return false;
    }
    return std::size(kControlKeys) == kControls.size();
}
static_assert(SameOrder());

}  // namespace

int ControlDown(const c_InputDevice& device, int code) {
    for (const ControlKeys& control : kControlKeys) {
        if (control.code == code) return Held(device, control) ? 1 : 0;
    }
    return 0;
}

void SampleControls(InputSnapshot& input, const c_InputDevice* device) {
    uint32_t held = 0;
    for (size_t i = 0; device && i < kControls.size(); i++) {
        if (Held(*device, kControlKeys[i])) held |= 1u << i;
    }
    input.controlsHeld = held;
}
