// What happened to the display's top-level windows, seen from an X connection
// of the test's own (X11 kept out of the test's file: its macros clash with
// the test framework's names).
#pragma once

#include <map>
#include <memory>

struct TopLevelHistory {
    bool mapped = false;
    int mappedX = 0, mappedY = 0;  // where it was when first shown
    int width = 0, height = 0;     // its size when first shown
    int movesAfterMap = 0;         // position changes once shown
    int lastX = 0, lastY = 0;
};

class TopLevelWatch {
  public:
    // Starts watching; a desktop `dpi` other than 0 is published for programs
    // that connect afterwards (Xft.dpi, as desktops set it for a scaled screen).
    explicit TopLevelWatch(int dpi = 0);
    ~TopLevelWatch();
    TopLevelWatch(const TopLevelWatch&) = delete;
    TopLevelWatch& operator=(const TopLevelWatch&) = delete;
    bool Ok() const;
    // The first top-level window shown since the watch began, as far as the
    // server has gone (GLFW makes hidden helper windows too).
    TopLevelHistory FirstShown();

  private:
    struct Connection;
    std::unique_ptr<Connection> x_;
    std::map<unsigned long, TopLevelHistory> windows_;
    unsigned long firstShown_ = 0;
};

// Waits until the X server has carried out every request GLFW made so far.
void SyncGlfwDisplay();
