// The start check of the graphics driver: when it lets the game start, and
// what it names as missing when not.
#include "graphics/gl_needs.h"

#include <gtest/gtest.h>

namespace {

GlDriver Driver(const char* version, int maxTexture = 4096) {
    return GlDriver{version, "Test Renderer", maxTexture};
}

const char kNeeds[] = "; the game needs OpenGL 1.2 (BGRA pixels, clamped texture edges).";

TEST(GlNeeds, DriversOfOpenGl12OrLaterStart) {
    for (const char* version : {"1.2 Mesa", "1.5.0", "2.1.0 - Build 8.15.10.2900",
                                "4.5 (Compatibility Profile) Mesa 22.3.6", "10.0"})
        EXPECT_EQ(MissingGlNeeds(Driver(version), 1024), "") << version;
}

TEST(GlNeeds, AnOlderOrUnknownVersionIsNamed) {
    // Windows' own software renderer when no driver is installed.
    EXPECT_EQ(MissingGlNeeds(Driver("1.1.0"), 0),
              std::string("The graphics driver (Test Renderer) offers OpenGL 1.1") + kNeeds);
    EXPECT_EQ(MissingGlNeeds(Driver("0.9"), 0),
              std::string("The graphics driver (Test Renderer) offers OpenGL 0.9") + kNeeds);
    for (const char* version : {"", "OpenGL ES 2.0", "garbage", "2"}) {
        GlDriver driver = Driver(version);
        driver.renderer.clear();
        EXPECT_EQ(MissingGlNeeds(driver, 0),
                  std::string("The graphics driver reports no OpenGL version") + kNeeds)
            << version;
    }
}

TEST(GlNeeds, TexturesTooSmallForTheSmallestPictures) {
    EXPECT_EQ(MissingGlNeeds(Driver("2.1", 256), 512),
              "The graphics driver (Test Renderer) takes textures of at most 256 pixels a side; "
              "the game's pictures need 512.");
    EXPECT_EQ(MissingGlNeeds(Driver("2.1", 512), 512), "");
    // No pictures found: nothing to weigh the driver against.
    EXPECT_EQ(MissingGlNeeds(Driver("2.1", 64), 0), "");
}

}  // namespace
