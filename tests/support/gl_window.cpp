#include "support/gl_window.h"

#include <GLFW/glfw3.h>

GlTestWindow::GlTestWindow(int width, int height) {
    if (!glfwInit()) return;
    glfwWindowHint(GLFW_RESIZABLE, GLFW_FALSE);
    window_ = glfwCreateWindow(width, height, "Brindlewick test", nullptr, nullptr);
    if (window_) glfwMakeContextCurrent(window_);
}

GlTestWindow::~GlTestWindow() {
    if (window_) glfwDestroyWindow(window_);
    glfwTerminate();
}
