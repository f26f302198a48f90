// Joysticks through GLFW 3: the desktop's and the browser's (the Gamepad API
// behind emscripten's GLFW) read the same way.
#pragma once

// False when no joystick is present at the port (0..15); else the first
// three axes as the game arranges them and up to 32 buttons.
bool ReadGlfwJoystick(int port, float* x, float* y, float* z, bool* buttons);
