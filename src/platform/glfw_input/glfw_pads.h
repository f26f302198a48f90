// Joysticks through GLFW 3 by their raw axes and buttons: the desktop's
// unmapped ones and the browser's (the Gamepad API behind emscripten's GLFW).
#pragma once

// False when no joystick is present at the port (0..15), or it went away
// while being read; else the axes as the game arranges them and up to 32
// buttons.
bool ReadGlfwJoystick(int port, float* x, float* y, float* z, bool* buttons);
