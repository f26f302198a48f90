// The game's window as the entry opens it: 640 × 480 in the desktop's units,
// sized and centred before it is first shown, never moved afterwards.
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include "platform/glfw/entry.h"
#include "support/gl_window.h"
#include "top_level_watch.h"

namespace {

void ExpectShownCentredAt(int dpi, int width, int height) {
    PinGlDrivers();
    TopLevelWatch watch(dpi);
    ASSERT_TRUE(watch.Ok());
    PlDesktopWindow window;
    ASSERT_TRUE(window.Ok());
    window.Show();
    glfwPollEvents();
    SyncGlfwDisplay();
    const TopLevelHistory seen = watch.FirstShown();
    const GLFWvidmode* desktop = glfwGetVideoMode(glfwGetPrimaryMonitor());
    ASSERT_NE(desktop, nullptr);

    ASSERT_TRUE(seen.mapped);
    EXPECT_EQ(seen.width, width);
    EXPECT_EQ(seen.height, height);
    EXPECT_EQ(seen.mappedX, (desktop->width - width) / 2);
    EXPECT_EQ(seen.mappedY, (desktop->height - height) / 2);
    EXPECT_EQ(seen.movesAfterMap, 0);
    // The art follows the pixels the window has.
    int pixelWidth = 0, pixelHeight = 0;
    glfwGetFramebufferSize(window.Window(), &pixelWidth, &pixelHeight);
    EXPECT_EQ(pixelWidth, width);
    EXPECT_EQ(pixelHeight, height);
}

TEST(DesktopWindow, ShownOnceCentredAtTheDesignSize) {
    ExpectShownCentredAt(0, 640, 480);
}

TEST(DesktopWindow, OnADesktopScaledTo200PercentShownAtTwiceThePixels) {
    ExpectShownCentredAt(192, 1280, 960);
}

}  // namespace
