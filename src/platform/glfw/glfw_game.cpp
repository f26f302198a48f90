// The desktop platform game on GLFW 3: window facts, joysticks, callbacks
// and the fixed-rate frame loop.
#include "platform/glfw/glfw_game.h"

#include <GLFW/glfw3.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "core/errors.h"
#include "os/os.h"
#include "platform/glfw/glfw_gamepads.h"
#include "platform/glfw_input/glfw_keys.h"
#include "platform/glfw_input/glfw_pads.h"

namespace {

// The game a window belongs to: SetWindow keeps it in the window's user pointer.
PlGlfwGame* GameOf(GLFWwindow* window) {
    return static_cast<PlGlfwGame*>(glfwGetWindowUserPointer(window));
}

void OnKey(GLFWwindow* window, int key, int, int action, int) {
    PlGlfwGame* game = GameOf(window);
    if (!game) return;
    KeyEvent events[2];
    int n = GlfwKeyEvents(key, action, events);
    for (int i = 0; i < n; i++) game->KeyInput(events[i].event, events[i].code);
}

void OnChar(GLFWwindow* window, unsigned int codepoint) {
    if (PlGlfwGame* game = GameOf(window)) game->KeyInput(kEventChar, static_cast<int>(codepoint));
}

void OnMouseButton(GLFWwindow* window, int button, int action, int) {
    int event = GlfwMouseButtonEvent(button, action);
    PlGlfwGame* game = GameOf(window);
    if (event == 0 || !game) return;
    double x = 0, y = 0;
    glfwGetCursorPos(window, &x, &y);
    game->MouseInput(event, button, static_cast<float>(x), static_cast<float>(y));
}

void OnCursor(GLFWwindow* window, double x, double y) {
    if (PlGlfwGame* game = GameOf(window))
        game->MouseInput(kEventMouseMove, -1, static_cast<float>(x), static_cast<float>(y));
}

void OnWindowSize(GLFWwindow* window, int width, int height) {
    if (PlGlfwGame* game = GameOf(window)) game->WindowSized(window, width, height);
}

void OnFramebufferSize(GLFWwindow* window, int width, int height) {
    if (PlGlfwGame* game = GameOf(window)) game->FramebufferSized(window, width, height);
}

// A close request becomes key 432 down and up; the window stays open and the
// application decides.
void OnClose(GLFWwindow* window) {
    glfwSetWindowShouldClose(window, GLFW_FALSE);
    PlGlfwGame* game = GameOf(window);
    if (!game) return;
    game->KeyInput(kEventKeyDown, kCloseKey);
    game->KeyInput(kEventKeyUp, kCloseKey);
}

}  // namespace

int SleepMilliseconds(double seconds) {
    if (seconds <= 0) return 0;
    return std::max(1, static_cast<int>(std::lround(seconds * 1000.0)));
}

PlGlfwGame::PlGlfwGame() {
    // With vsync each swap returns on a refresh, a little late by a varying
    // amount; a tolerance keeps the updates a quarter period clear of the
    // refreshes (and without vsync it costs nothing).
    schedule_.SetFrameTolerance(FrameSchedule::kRefreshTolerance);
}

// The window may outlive the game; its callbacks must not find it then.
PlGlfwGame::~PlGlfwGame() {
    SetWindow(nullptr);
}

void PlGlfwGame::SetTickRate(int rate) {
    tickRate_ = rate;
    schedule_.SetRate(rate, Now());
}

int PlGlfwGame::ElapsedMs() {
    return WrapMilliseconds(Now());
}

// Past 2^31 ms (24.8 days) an int cannot hold the count: it wraps as a 32-bit
// counter does, computed in a range where every conversion is defined.
int WrapMilliseconds(double seconds) {
    double ms = std::trunc(seconds * 1000.0);
    if (!std::isfinite(ms)) return 0;
    ms = std::fmod(ms, 4294967296.0);  // exact for doubles; keeps the sign
    if (ms < 0) ms += 4294967296.0;
    return static_cast<int32_t>(static_cast<uint32_t>(ms));
}

double PlGlfwGame::Now() {
    return glfwGetTime();
}
void PlGlfwGame::PollEvents() {
    glfwPollEvents();
}
void PlGlfwGame::WaitEvents() {
    glfwWaitEvents();
}

// The system's own precise wait: on Windows a plain sleep ends on the 15.6 ms
// system tick, which would hold one frame in about fifteen for 31 ms.
void PlGlfwGame::SleepSeconds(double seconds) {
    os::SleepMs(SleepMilliseconds(seconds));
}

bool PlGlfwGame::WindowOpen() {
    return window_ && !glfwWindowShouldClose(window_);
}
bool PlGlfwGame::WindowIconified() {
    return window_ && glfwGetWindowAttrib(window_, GLFW_ICONIFIED);
}
bool PlGlfwGame::WindowActive() {
    return window_ && glfwGetWindowAttrib(window_, GLFW_FOCUSED);
}

// Asking GLFW for a size is a round trip to the X server, four of them a
// frame: the sizes are asked once and then follow GLFW's size callbacks,
// which the event polls before each update and render deliver.
void PlGlfwGame::SetWindow(GLFWwindow* window) {
    if (window_ && GameOf(window_) == this) glfwSetWindowUserPointer(window_, nullptr);
    window_ = window;
    windowSize_ = framebufferSize_ = Size{};
    if (!window_) return;
    glfwSetWindowUserPointer(window_, this);
    glfwGetWindowSize(window_, &windowSize_.width, &windowSize_.height);
    glfwGetFramebufferSize(window_, &framebufferSize_.width, &framebufferSize_.height);
    glfwSetWindowSizeCallback(window_, OnWindowSize);
    glfwSetFramebufferSizeCallback(window_, OnFramebufferSize);
}

void PlGlfwGame::WindowSized(GLFWwindow* window, int width, int height) {
    if (window == window_) windowSize_ = {width, height};
}

void PlGlfwGame::FramebufferSized(GLFWwindow* window, int width, int height) {
    if (window == window_) framebufferSize_ = {width, height};
}

void PlGlfwGame::SwapBuffers() {
    if (window_) glfwSwapBuffers(window_);
}

String PlGlfwGame::ResolveResourcePath(StringView path) {
    return ResolveInstalledPath(paths_, path, StateFilePath());
}

int PlGlfwGame::WriteStateFile(StringView state) {
    if (!paths_.stateFolder.empty() && !os::MakeFolders(paths_.stateFolder)) {
        // The game plays on; the player hears once why nothing is kept.
        if (!saveFolderReported_) {
            std::string message = "Cannot create the save folder " + paths_.stateFolder +
                                  ": playing on without saving";
            Print(message.c_str());
            saveFolderReported_ = true;
        }
        return -1;
    }
    return PlGame::WriteStateFile(state);
}

void PlGlfwGame::ShellOpen(StringView target) {
    os::ShellOpen(EncodeUtf8(target));
}

void PlGlfwGame::ShowPointer(bool show) {
    if (window_)
        glfwSetInputMode(window_, GLFW_CURSOR, show ? GLFW_CURSOR_NORMAL : GLFW_CURSOR_DISABLED);
}

// A pad GLFW has a mapping for by that mapping, any other by its raw order.
bool PlGlfwGame::ReadJoystick(int port, float* x, float* y, float* z, bool* buttons) {
    return ReadGlfwGamepad(port, x, y, z, buttons) || ReadGlfwJoystick(port, x, y, z, buttons);
}

void PlGlfwGame::InstallCallbacks() {
    if (!window_) return;
    glfwSetKeyCallback(window_, OnKey);
    glfwSetCharCallback(window_, OnChar);
    glfwSetMouseButtonCallback(window_, OnMouseButton);
    glfwSetCursorPosCallback(window_, OnCursor);
    glfwSetWindowCloseCallback(window_, OnClose);
}

bool PlGlfwGame::LoadGamepadMappings() {
    int length = 0;
    ByteBlock text =
        ReadFileUpTo(kGamepadMappingsFile, kMaxGamepadMappingsBytes, Oversize::Refuse, &length);
    return text && AddGamepadMappings(reinterpret_cast<const char*>(text.get()),
                                      static_cast<size_t>(length));
}

void PlGlfwGame::Run() {
    if (window_) LoadGamepadMappings();
    InstallCallbacks();  // GLFW 3 reports held keys as repeat actions by itself
    GameStart();
    GameRender();  // the first frame comes before the first update
    while (LoopPass()) {
    }
}

bool PlGlfwGame::LoopPass() {
    PollEvents();
    if (!WindowOpen()) return false;
    FrameSchedule::Pass pass = schedule_.Step(*this, WindowIconified(), WindowActive(), afterSwap_,
                                              [this] { return Now(); });
    // A pass that rendered swapped: with vsync the next one comes on a refresh.
    afterSwap_ = pass.outcome == FrameSchedule::Outcome::Ran;
    if (pass.outcome == FrameSchedule::Outcome::WaitForEvents)
        WaitEvents();
    else if (pass.outcome == FrameSchedule::Outcome::WaitUntilDue)
        SleepSeconds(pass.delay);
    return true;
}
