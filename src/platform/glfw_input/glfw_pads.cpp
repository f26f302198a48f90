#include "platform/glfw_input/glfw_pads.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include "platform/joystick_layout.h"

bool ReadGlfwJoystick(int port, float* x, float* y, float* z, bool* buttons) {
    if (port < 0 || port > 15 || !glfwJoystickPresent(GLFW_JOYSTICK_1 + port)) return false;
    int axisCount = 0, buttonCount = 0;
    const float* axes = glfwGetJoystickAxes(GLFW_JOYSTICK_1 + port, &axisCount);
    const unsigned char* states = glfwGetJoystickButtons(GLFW_JOYSTICK_1 + port, &buttonCount);
    RearrangePadAxes(axes ? axisCount : 0, axes, x, y, z);
    for (int i = 0; states && i < buttonCount && i < 32; i++) buttons[i] = states[i] == GLFW_PRESS;
    return true;
}
