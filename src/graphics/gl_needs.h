// What the desktop renderer asks of the graphics driver, checked at start so
// that a driver without it gets a message naming what is missing instead of a
// black window.
#pragma once

#include <string>

struct GlDriver {
    std::string version;   // GL_VERSION as the driver gives it; empty when none
    std::string renderer;  // GL_RENDERER, to name the driver in a message
    int maxTextureSize = 0;
};

// The driver of the current GL context.
GlDriver CurrentGlDriver();

// What the renderer needs and the driver lacks, as one line for the player;
// empty when nothing is missing. `largestSheet` is the larger side of the
// largest picture the game must load at its smallest level (0: not known).
std::string MissingGlNeeds(const GlDriver& driver, int largestSheet);
