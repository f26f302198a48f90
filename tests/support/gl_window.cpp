#include "support/gl_window.h"

#include <GLFW/glfw3.h>
#include <dlfcn.h>

#include <initializer_list>

void PinGlDrivers() {
    static const bool pinned = [] {
        for (const char* lib :
             {"libGL.so.1", "libGLX.so.0", "libGLX_mesa.so.0", "libXrandr.so.2", "libXcursor.so.1",
              "libXi.so.6", "libXinerama.so.1", "libX11-xcb.so.1", "libXxf86vm.so.1",
              "/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so"})
            dlopen(lib, RTLD_NOW | RTLD_NODELETE);
        return true;
    }();
    (void)pinned;
}

GlTestWindow::GlTestWindow(int width, int height) {
    PinGlDrivers();
    if (!glfwInit()) return;
    glfwWindowHint(GLFW_RESIZABLE, GLFW_FALSE);
    window_ = glfwCreateWindow(width, height, "Brindlewick test", nullptr, nullptr);
    if (window_) glfwMakeContextCurrent(window_);
}

GlTestWindow::~GlTestWindow() {
    if (window_) glfwDestroyWindow(window_);
    glfwTerminate();
}
