#include "platform/glfw_input/glfw_pads.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include "platform/joystick_layout.h"

bool ReadGlfwJoystick(int port, float* x, float* y, float* z, bool* buttons) {
    if (port < 0 || port > 15 || !glfwJoystickPresent(GLFW_JOYSTICK_1 + port)) return false;
    int jid = GLFW_JOYSTICK_1 + port;
    int axisCount = 0, buttonCount = 0;
    const float* axes = glfwGetJoystickAxes(jid, &axisCount);
    const unsigned char* states = glfwGetJoystickButtons(jid, &buttonCount);
    // GLFW answers with nothing for a pad unplugged between the calls (or
    // one without axes or buttons).
    if ((!axes || !states) && !glfwJoystickPresent(jid)) return false;
    RearrangePadAxes(axes ? axisCount : 0, axes, x, y, z);
    for (int i = 0; states && i < buttonCount && i < 32; i++) buttons[i] = states[i] == GLFW_PRESS;
    return true;
}
