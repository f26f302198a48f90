#include "graphics/gl_needs.h"

#include <GL/gl.h>

#include <cstdio>

namespace {

// The renderer draws with OpenGL 1.1's fixed function and client arrays and
// uses two things core OpenGL 1.2 added: BGRA pixels and clamped texture edges.
constexpr int kMajor = 1, kMinor = 2;

// "major.minor" at the start of GL_VERSION, as every desktop driver gives it.
bool ReadVersion(const std::string& text, int* major, int* minor) {
    return std::sscanf(text.c_str(), "%d.%d", major, minor) == 2;
}

std::string DriverName(const GlDriver& driver) {
    return driver.renderer.empty() ? "The graphics driver"
                                   : "The graphics driver (" + driver.renderer + ")";
}

std::string Text(const GLubyte* text) {
    return text ? reinterpret_cast<const char*>(text) : "";
}

}  // namespace

GlDriver CurrentGlDriver() {
    GlDriver driver;
    driver.version = Text(glGetString(GL_VERSION));
    driver.renderer = Text(glGetString(GL_RENDERER));
    GLint size = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
    driver.maxTextureSize = size;
    return driver;
}

std::string MissingGlNeeds(const GlDriver& driver, int largestSheet) {
    const std::string needs = "; the game needs OpenGL 1.2 (BGRA pixels, clamped texture edges).";
    int major = 0, minor = 0;
    if (!ReadVersion(driver.version, &major, &minor))
        return DriverName(driver) + " reports no OpenGL version" + needs;
    if (major < kMajor || (major == kMajor && minor < kMinor))
        return DriverName(driver) + " offers OpenGL " + std::to_string(major) + "." +
               std::to_string(minor) + needs;
    if (largestSheet > 0 && driver.maxTextureSize < largestSheet)
        return DriverName(driver) + " takes textures of at most " +
               std::to_string(driver.maxTextureSize) + " pixels a side; the game's pictures need " +
               std::to_string(largestSheet) + ".";
    return "";
}
