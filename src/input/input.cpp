// The input state between two updates, fed by platform events.
#include "input/input.h"

#include <algorithm>

#include "platform/platform_game.h"
#include "platform/views.h"

namespace {

bool ValidKey(int code) {
    return code >= 0 && code < c_InputDevice::kKeys;
}
bool QueryableKey(int code) {
    return code >= 1 && code < c_InputDevice::kKeys;
}
}  // namespace

// Pad buttons become keys; a press counts once however long it is held.
int c_InputDevice::PrepareUpdate() {
    PadReader* pads = pads_;
    if (!pads) return 0;
    for (int port = 0; port < kPorts; ++port) {
        c_JoyState& stick = sticks[port];
        // A gap in the ports hides the pads after it, as the platform numbers them.
        if (!pads->ReadJoystick(port, stick.axisX.data(), stick.axisY.data(), stick.axisZ.data(),
                                stick.buttons.data())) {
            ReleasePorts(port);
            break;
        }
        for (int b = 0; b < kKeyPadButtons; ++b) {
            int key = kKeyPadBase + kKeyPadButtons * port + b;
            if (!stick.buttons[b]) {
                heldKeys[key] = false;
            } else if (!heldKeys[key]) {
                heldKeys[key] = true;
                ++pressCounts[key];
            }
        }
    }
    return 0;
}

// A pad that is gone, or hidden behind one that is, holds nothing: its
// buttons are up and its sticks centred, so no control stays on by itself.
void c_InputDevice::ReleasePorts(int firstPort) {
    for (int port = firstPort; port < kPorts; ++port) {
        sticks[port] = c_JoyState{};
        int first = kKeyPadBase + kKeyPadButtons * port;
        std::fill_n(heldKeys.begin() + first, kKeyPadButtons, false);
    }
}

// Hits and typed characters last one update.
int c_InputDevice::FinishUpdate() {
    pressCounts.fill(0);
    typedRead = 0;
    typedWrite = 0;
    return 0;
}

int c_InputDevice::KeyInput(int event, int code) {
    switch (event) {
        case kEventKeyDown:
            if (!ValidKey(code)) return 0;
            heldKeys[code] = true;
            ++pressCounts[code];
            // The left button and touch 0 are one pointer.
            if (code == kKeyMouseLeft || code == kKeyTouchBase) {
                int mirror = code == kKeyMouseLeft ? kKeyTouchBase : kKeyMouseLeft;
                heldKeys[mirror] = true;
                ++pressCounts[mirror];
            }
            break;
        case kEventKeyUp:
            if (!ValidKey(code)) return 0;
            heldKeys[code] = false;
            if (code == kKeyMouseLeft) heldKeys[kKeyTouchBase] = false;
            if (code == kKeyTouchBase) heldKeys[kKeyMouseLeft] = false;
            break;
        case kEventChar:
            if (typedWrite < kTypedChars) typedChars[typedWrite++] = code;
            break;
        default:
            break;
    }
    return 0;
}

int c_InputDevice::MouseInput(int event, int button, float x, float y) {
    switch (event) {
        case kEventMouseDown:
            KeyInput(kEventKeyDown, button + 1);
            UpdateMousePosition(x, y);
            break;
        case kEventMouseUp:
            KeyInput(kEventKeyUp, button + 1);
            break;
        case kEventMouseMove:
            UpdateMousePosition(x, y);
            break;
        default:
            break;
    }
    return 0;
}

int c_InputDevice::TouchInput(int event, int index, float x, float y) {
    if (index < 0 || index >= kTouches) return 0;
    switch (event) {
        case kEventTouchDown:
            KeyInput(kEventKeyDown, kKeyTouchBase + index);
            UpdateTouchPosition(index, x, y);
            break;
        case kEventTouchUp:
            KeyInput(kEventKeyUp, kKeyTouchBase + index);
            break;
        case kEventTouchMove:
            UpdateTouchPosition(index, x, y);
            break;
        default:
            break;
    }
    return 0;
}

int c_InputDevice::MotionInput(int event, int data, float x, float y, float z) {
    if (event != kEventAccel) return 0;
    accelX = x;
    accelY = y;
    accelZ = z;
    return 0;
}

int c_InputDevice::SetTypingEnabled(int enabled) {
    if (pads_) pads_->SetTypingEnabled(enabled);
    return 1;
}

// Next typed character of this update, 0 when none is left.
int c_InputDevice::NextChar() {
    if (typedRead >= typedWrite) return 0;
    return typedChars[typedRead++];
}

int c_InputDevice::KeyPresses(int code) const {
    return QueryableKey(code) ? pressCounts[code] : 0;
}

float c_InputDevice::TouchPosX(int index) const {
    return index >= 0 && index < kTouches ? touchX[index] : 0;
}

float c_InputDevice::TouchPosY(int index) const {
    return index >= 0 && index < kTouches ? touchY[index] : 0;
}

float c_InputDevice::StickY(int axis, int port) const {
    if (axis < 0 || axis > 1 || port < 0 || port >= kPorts) return 0;
    return sticks[port].axisY[axis];
}

float c_InputDevice::StickX(int axis, int port) const {
    if (axis < 0 || axis > 1 || port < 0 || port >= kPorts) return 0;
    return sticks[port].axisX[axis];
}

// The mouse is touch 0 as well.
void c_InputDevice::UpdateMousePosition(float x, float y) {
    mouseX = x;
    mouseY = y;
    touchX[0] = x;
    touchY[0] = y;
}

void c_InputDevice::UpdateTouchPosition(int index, float x, float y) {
    touchX[index] = x;
    touchY[index] = y;
    if (index == 0) {
        mouseX = x;
        mouseY = y;
    }
}
