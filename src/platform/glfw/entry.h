// The desktop's one window: GLFW opened, a 640×480 resizable window centred
// on the screen with its GL context current. Closing GLFW waits for the
// owner, so whatever holds GL objects can go first.
#pragma once

struct GLFWwindow;

class PlDesktopWindow {
  public:
    PlDesktopWindow();
    ~PlDesktopWindow();
    PlDesktopWindow(const PlDesktopWindow&) = delete;
    PlDesktopWindow& operator=(const PlDesktopWindow&) = delete;

    // False when GLFW or the window could not be opened (already printed).
    bool Ok() const { return window_ != nullptr; }
    // What went wrong when not Ok.
    const char* Failure() const { return failure_; }
    GLFWwindow* Window() { return window_; }

  private:
    const char* failure_ = "";
    bool glfwOpen_ = false;
    GLFWwindow* window_ = nullptr;
};
