#include "platform/glfw/glfw_gamepads.h"

#include <GLFW/glfw3.h>

#include <string>

#include "platform/joystick_layout.h"

bool ReadGlfwGamepad(int port, float* x, float* y, float* z, bool* buttons) {
    if (port < 0 || port > GLFW_JOYSTICK_LAST - GLFW_JOYSTICK_1) return false;
    int jid = GLFW_JOYSTICK_1 + port;
    GLFWgamepadstate state;
    if (!glfwJoystickIsGamepad(jid) || !glfwGetGamepadState(jid, &state)) return false;
    GamepadState pad;
    for (int i = 0; i < GamepadState::kButtons; i++)
        pad.buttons[i] = state.buttons[i] == GLFW_PRESS;
    for (int i = 0; i < GamepadState::kAxes; i++) pad.axes[i] = state.axes[i];
    ArrangeGamepad(pad, x, y, z, buttons);
    return true;
}

bool AddGamepadMappings(const char* text, size_t length) {
    if (!text || length == 0) return false;
    // GLFW reads up to a terminating zero; the file's bytes need not have one.
    std::string terminated(text, length);
    return glfwUpdateGamepadMappings(terminated.c_str()) == GLFW_TRUE;
}
