// Program entry's desktop side: GLFW and the one window.
#include "platform/glfw/entry.h"

#include <GLFW/glfw3.h>

#include <algorithm>

#include "core/errors.h"

namespace {

// The window's top-left corner that centres `width` × `height` on the primary
// monitor's desktop, kept on it when the window is the larger.
void CentredPosition(int width, int height, int* x, int* y) {
    int left = 0, top = 0, desktopWidth = kDesignWidth, desktopHeight = kDesignHeight;
    if (GLFWmonitor* monitor = glfwGetPrimaryMonitor()) {
        glfwGetMonitorPos(monitor, &left, &top);
        if (const GLFWvidmode* mode = glfwGetVideoMode(monitor)) {
            desktopWidth = mode->width;
            desktopHeight = mode->height;
        }
    }
    *x = left + std::max(0, (desktopWidth - width) / 2);
    *y = top + std::max(0, (desktopHeight - height) / 2);
}

}  // namespace

PlDesktopWindow::PlDesktopWindow() {
    if (!glfwInit()) {
        failure_ = "glfwInit failed";
        Print(failure_);
        return;
    }
    glfwOpen_ = true;
    glfwWindowHint(GLFW_RESIZABLE, GLFW_TRUE);
    // 640 × 480 in the desktop's units: on a screen scaled to 200 % that is
    // 1280 × 960 pixels, the same share of the screen as at 100 %.
    glfwWindowHint(GLFW_SCALE_TO_MONITOR, GLFW_TRUE);
    // Sized and placed before it is first shown, so it never jumps.
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    window_ = glfwCreateWindow(kDesignWidth, kDesignHeight, "Brindlewick", nullptr, nullptr);
    if (!window_) {
        failure_ = "glfwOpenWindow failed";
        Print(failure_);
        return;
    }
    int width = kDesignWidth, height = kDesignHeight, x = 0, y = 0;
    glfwGetWindowSize(window_, &width, &height);
    CentredPosition(width, height, &x, &y);
    glfwSetWindowPos(window_, x, y);
    glfwMakeContextCurrent(window_);
    // Each picture waits for a refresh: many drivers' default is not to,
    // and then some starts hitch whatever the loop does, as it cannot know
    // where the refreshes fall. In a window on Windows GLFW waits for the
    // compositor, which no driver setting turns off.
    glfwSwapInterval(1);
}

void PlDesktopWindow::Show() {
    if (window_) glfwShowWindow(window_);
}

PlDesktopWindow::~PlDesktopWindow() {
    if (glfwOpen_) glfwTerminate();
}
