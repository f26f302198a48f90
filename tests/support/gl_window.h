// A real GLFW window with a current GL context for pixel tests (runs under
// Xvfb with Mesa's software renderer).
#pragma once

struct GLFWwindow;

class GlTestWindow {
  public:
    GlTestWindow(int width = 640, int height = 480);
    ~GlTestWindow();
    bool Ok() const { return window_ != nullptr; }
    GLFWwindow* Window() const { return window_; }

  private:
    GLFWwindow* window_ = nullptr;
};
