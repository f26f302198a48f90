// Pads GLFW has a mapping for, on the desktop: read by their named buttons
// and axes. GLFW's built-in mappings can be extended from a file.
#pragma once

#include <cstddef>

// False when the port (0..15) holds no pad GLFW has a mapping for; else both
// sticks and the triggers as the game arranges them and all 32 buttons.
bool ReadGlfwGamepad(int port, float* x, float* y, float* z, bool* buttons);

// Adds pad mappings in the SDL text form (one pad a line) to GLFW's built-in
// ones; GLFW must be initialised. False when the text is not usable.
bool AddGamepadMappings(const char* text, size_t length);
