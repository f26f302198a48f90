// Program entry's desktop side: GLFW and the one window.
#include "platform/glfw/entry.h"

#include <GLFW/glfw3.h>

#include "core/errors.h"

PlDesktopWindow::PlDesktopWindow() {
    if (!glfwInit()) {
        failure_ = "glfwInit failed";
        Print(failure_);
        return;
    }
    glfwOpen_ = true;
    int desktopWidth = 640, desktopHeight = 480;
    if (const GLFWvidmode* mode = glfwGetVideoMode(glfwGetPrimaryMonitor())) {
        desktopWidth = mode->width;
        desktopHeight = mode->height;
    }
    glfwWindowHint(GLFW_RESIZABLE, GLFW_TRUE);
    window_ = glfwCreateWindow(640, 480, "Brindlewick", nullptr, nullptr);
    if (!window_) {
        failure_ = "glfwOpenWindow failed";
        Print(failure_);
        return;
    }
    glfwSetWindowPos(window_, (desktopWidth - 640) / 2, (desktopHeight - 480) / 2);
    glfwSetWindowTitle(window_, "Brindlewick");
    glfwMakeContextCurrent(window_);
}

PlDesktopWindow::~PlDesktopWindow() {
    if (glfwOpen_) glfwTerminate();
}
