#include "top_level_watch.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <string>

struct TopLevelWatch::Connection {
    Display* display = nullptr;
    Window root = 0;
    bool publishedDpi = false;
};

TopLevelWatch::TopLevelWatch(int dpi) : x_(std::make_unique<Connection>()) {
    x_->display = XOpenDisplay(nullptr);
    if (!x_->display) return;
    x_->root = DefaultRootWindow(x_->display);
    XSelectInput(x_->display, x_->root, SubstructureNotifyMask);
    if (dpi > 0) {
        const std::string resources = "Xft.dpi:\t" + std::to_string(dpi) + "\n";
        XChangeProperty(x_->display, x_->root, XA_RESOURCE_MANAGER, XA_STRING, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(resources.data()),
                        static_cast<int>(resources.size()));
        x_->publishedDpi = true;
    }
    XSync(x_->display, False);
}

TopLevelWatch::~TopLevelWatch() {
    if (!x_->display) return;
    if (x_->publishedDpi) XDeleteProperty(x_->display, x_->root, XA_RESOURCE_MANAGER);
    XCloseDisplay(x_->display);
}

bool TopLevelWatch::Ok() const {
    return x_->display != nullptr;
}

TopLevelHistory TopLevelWatch::FirstShown() {
    if (!x_->display) return {};
    XSync(x_->display, False);
    while (XPending(x_->display)) {
        XEvent e;
        XNextEvent(x_->display, &e);
        if (e.type == CreateNotify) {
            TopLevelHistory& w = windows_[e.xcreatewindow.window];
            w.lastX = e.xcreatewindow.x, w.lastY = e.xcreatewindow.y;
            w.width = e.xcreatewindow.width, w.height = e.xcreatewindow.height;
        } else if (e.type == ConfigureNotify && windows_.count(e.xconfigure.window)) {
            TopLevelHistory& w = windows_[e.xconfigure.window];
            bool moved = e.xconfigure.x != w.lastX || e.xconfigure.y != w.lastY;
            if (w.mapped && moved) w.movesAfterMap++;
            w.lastX = e.xconfigure.x, w.lastY = e.xconfigure.y;
            if (!w.mapped) w.width = e.xconfigure.width, w.height = e.xconfigure.height;
        } else if (e.type == MapNotify && windows_.count(e.xmap.window)) {
            TopLevelHistory& w = windows_[e.xmap.window];
            if (w.mapped) continue;
            w.mapped = true;
            w.mappedX = w.lastX, w.mappedY = w.lastY;
            if (firstShown_ == 0) firstShown_ = e.xmap.window;
        }
    }
    return firstShown_ ? windows_[firstShown_] : TopLevelHistory{};
}

// GLFW's requests, flushed and answered: the server has carried them all out.
#define GLFW_EXPOSE_NATIVE_X11
#include <GLFW/glfw3.h>
#include <GLFW/glfw3native.h>

void SyncGlfwDisplay() {
    if (Display* display = glfwGetX11Display()) XSync(display, False);
}
