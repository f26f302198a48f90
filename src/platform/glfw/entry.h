// The desktop's one window: GLFW opened, a resizable window of 640×480 in the
// desktop's units (times the monitor's scale in pixels), centred on the
// screen while still hidden, with its GL context current; Show() shows it.
// Closing GLFW waits for the owner, so whatever holds GL objects can go first.
#pragma once

struct GLFWwindow;

// The window's size at a scale of 1, in the desktop's units.
constexpr int kDesignWidth = 640;
constexpr int kDesignHeight = 480;

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
    // Shows the window where it was placed.
    void Show();

  private:
    const char* failure_ = "";
    bool glfwOpen_ = false;
    GLFWwindow* window_ = nullptr;
};
