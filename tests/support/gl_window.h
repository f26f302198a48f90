// A real GLFW window with a current GL context for pixel tests (runs under
// Xvfb with Mesa's software renderer).
#pragma once

struct GLFWwindow;

// GLFW and GLX load GL drivers at run time and unload them at glfwTerminate;
// called before a test opens any GL window, it keeps them loaded, so what Mesa
// still holds at exit stays reachable instead of showing as leaks from an
// unknown module under the leak checker.
void PinGlDrivers();

class GlTestWindow {
  public:
    GlTestWindow(int width = 640, int height = 480);
    ~GlTestWindow();
    bool Ok() const { return window_ != nullptr; }
    GLFWwindow* Window() const { return window_; }

  private:
    GLFWwindow* window_ = nullptr;
};
