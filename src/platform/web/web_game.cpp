#include "platform/web/web_game.h"

#include <GLFW/glfw3.h>
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <cmath>

#include "core/errors.h"
#include "platform/glfw_input/glfw_keys.h"
#include "platform/web/web_pads.h"

namespace {

// Browsers follow a touch with mouse events of their own; those within this
// long of a touch are the same press again.
constexpr double kTouchEchoMs = 800;

// The game a window or a page callback belongs to: the window's user pointer
// and each callback's user data carry it.
PlWebGame* GameOf(GLFWwindow* window) {
    return static_cast<PlWebGame*>(glfwGetWindowUserPointer(window));
}
PlWebGame* GameOf(void* userData) {
    return static_cast<PlWebGame*>(userData);
}

void OnKey(GLFWwindow* window, int key, int, int action, int) {
    PlWebGame* game = GameOf(window);
    if (!game) return;
    KeyEvent events[2];
    int n = GlfwKeyEvents(key, action, events);
    for (int i = 0; i < n; i++) game->KeyInput(events[i].event, events[i].code);
}

void OnChar(GLFWwindow* window, unsigned int codepoint) {
    if (PlWebGame* game = GameOf(window)) game->KeyInput(kEventChar, static_cast<int>(codepoint));
}

void OnMouseButton(GLFWwindow* window, int button, int action, int) {
    int event = GlfwMouseButtonEvent(button, action);
    PlWebGame* game = GameOf(window);
    if (event != 0 && game) game->PointerButton(event, button, false);
}

void OnCursor(GLFWwindow* window, double x, double y) {
    if (PlWebGame* game = GameOf(window))
        game->PointerMoved(static_cast<float>(x), static_cast<float>(y), true);
}

EM_BOOL OnTouch(int type, const EmscriptenTouchEvent* e, void* userData) {
    for (int i = 0; i < e->numTouches; i++) {
        const EmscriptenTouchPoint& t = e->touches[i];
        if (t.isChanged) GameOf(userData)->Touched(type, t);
    }
    return EM_TRUE;  // no scrolling or zooming of the page under the game
}

EM_BOOL OnVisibility(int, const EmscriptenVisibilityChangeEvent* e, void* userData) {
    GameOf(userData)->PageVisibility(e->hidden != 0);
    return EM_FALSE;
}

// The browser may take the GL context away (a GPU reset, a phone short of
// memory) and give a new, empty one back; it does so only when the loss's
// default is prevented.
EM_BOOL OnContextLost(int, const void*, void* userData) {
    GameOf(userData)->ContextLost(true);
    return EM_TRUE;
}

EM_BOOL OnContextRestored(int, const void*, void* userData) {
    GameOf(userData)->ContextLost(false);
    return EM_TRUE;
}

// With no game, each callback is taken off the page.
void ListenToPage(PlWebGame* game) {
    auto touch = game ? OnTouch : nullptr;
    emscripten_set_touchstart_callback("#canvas", game, EM_TRUE, touch);
    emscripten_set_touchmove_callback("#canvas", game, EM_TRUE, touch);
    emscripten_set_touchend_callback("#canvas", game, EM_TRUE, touch);
    emscripten_set_touchcancel_callback("#canvas", game, EM_TRUE, touch);
    emscripten_set_visibilitychange_callback(game, EM_FALSE, game ? OnVisibility : nullptr);
    emscripten_set_webglcontextlost_callback("#canvas", game, EM_FALSE,
                                             game ? OnContextLost : nullptr);
    emscripten_set_webglcontextrestored_callback("#canvas", game, EM_FALSE,
                                                 game ? OnContextRestored : nullptr);
}

void OnFrame(void* game) {
    static_cast<PlWebGame*>(game)->Frame();
}

}  // namespace

PlWebGame::PlWebGame() {
    // Animation frames come on the display's refreshes, each a little late by a
    // varying amount.
    schedule_.SetFrameTolerance(FrameSchedule::kRefreshTolerance);
}

// The page outlives the game; its callbacks must not find it then.
PlWebGame::~PlWebGame() {
    if (!listening_) return;
    ListenToPage(nullptr);
    if (window_) glfwSetWindowUserPointer(window_, nullptr);
}

bool PlWebGame::OpenCanvas() {
    if (!glfwInit()) {
        Print("glfwInit failed");
        return false;
    }
    // Without an alpha channel the page never shows through blended pixels.
    glfwWindowHint(GLFW_ALPHA_BITS, 0);
    ReadCanvasSize();
    window_ = glfwCreateWindow(pixelWidth_, pixelHeight_, "Brindlewick", nullptr, nullptr);
    if (!window_) {
        Print("glfwOpenWindow failed");
        return false;
    }
    glfwMakeContextCurrent(window_);
    return true;
}

void PlWebGame::Run() {
    if (window_) {
        glfwSetWindowUserPointer(window_, this);
        glfwSetKeyCallback(window_, OnKey);
        glfwSetCharCallback(window_, OnChar);
        glfwSetMouseButtonCallback(window_, OnMouseButton);
        glfwSetCursorPosCallback(window_, OnCursor);
    }
    ListenToPage(this);
    listening_ = true;
    EmscriptenVisibilityChangeEvent visibility{};
    if (emscripten_get_visibility_status(&visibility) == EMSCRIPTEN_RESULT_SUCCESS)
        pageHidden_ = visibility.hidden != 0;
    GameStart();
    GameRender();  // the first frame comes before the first update
    EM_ASM({
        // OpenAL's Web Audio context, for the page's note about sound.
        Module.audioContext = function() {
            return typeof AL != "undefined" && AL.currentCtx ? AL.currentCtx.audioCtx : null;
        };
        if (Module.onGameStarted) Module.onGameStarted();
    });
    emscripten_set_main_loop_arg(OnFrame, this, 0, EM_FALSE);
}

double PlWebGame::Now() {
    return emscripten_get_now() / 1000.0;
}

void PlWebGame::SetTickRate(int rate) {
    tickRate_ = rate;
    schedule_.SetRate(rate, Now());
}

int PlWebGame::ElapsedMs() {
    return static_cast<int>(std::fmod(emscripten_get_now(), 2147483648.0));
}

void PlWebGame::ReadCanvasSize() {
    // Set by the page: CSS width and height, canvas width and height.
    int size[4];
    for (int i = 0; i < 4; i++)
        size[i] = EM_ASM_INT({ return Module.gameSize ? Module.gameSize[$0] | 0 : 0; }, i);
    if (size[0] <= 0 || size[1] <= 0 || size[2] <= 0 || size[3] <= 0) return;
    cssWidth_ = size[0];
    cssHeight_ = size[1];
    pixelWidth_ = size[2];
    pixelHeight_ = size[3];
}

// Set by the page as each level's files arrive; a page that sets none holds them all.
int PlWebGame::PictureLevelLimit() {
    return EM_ASM_INT({ return Module.pictureLevelLimit > 0 ? Module.pictureLevelLimit | 0 : 4; });
}

// Raised by the page as each batch of files it fetches after the start lands.
int PlWebGame::LateFileArrivals() {
    return EM_ASM_INT({ return Module.lateFileArrivals | 0; });
}

void PlWebGame::Frame() {
    ReadCanvasSize();
    // The page calls again next frame whatever the pass asks: nothing to wait for.
    schedule_.Step(*this, pageHidden_, true, true, [this] { return Now(); });
}

// The page stops frame callbacks while hidden, so the suspend (and its save)
// happens here rather than at a next frame that may never come.
// The processor time of each update and each render, for the page's frame
// figures (an update plus the render after it).
void PlWebGame::GameUpdate() {
    double began = emscripten_get_now();
    PlGame::GameUpdate();
    updateMs_ = emscripten_get_now() - began;
}

void PlWebGame::GameRender() {
    if (contextLost_) return;  // nothing to draw into; updates go on
    double began = emscripten_get_now();
    PlGame::GameRender();
    if (updateMs_ < 0) return;
    double render = emscripten_get_now() - began;
    double cost = updateMs_ + render;
    updateMs_ = -1;
    EM_ASM(
        {
            if (Module.frameCosts && Module.frameCosts.length < 100000) {
                Module.frameCosts.push($0);
                Module.renderCosts.push($1);
            }
        },
        cost, render);
}

void PlWebGame::PageVisibility(bool hidden) {
    pageHidden_ = hidden;
    // Shown again, the game resumes on the next frame, so the schedule starts
    // on a frame rather than at whatever moment the event came.
    if (hidden) schedule_.Step(*this, pageHidden_, true, true, [this] { return Now(); });
}

void PlWebGame::ContextLost(bool lost) {
    contextLost_ = lost;
    if (!lost) GraphicsLost();  // rebuilt before the next frame draws
}

void PlWebGame::PointerMoved(float x, float y, bool deviceScale) {
    // GLFW reports canvas pixels; the game takes CSS pixels, like window units.
    if (deviceScale && pixelWidth_ > 0 && pixelHeight_ > 0) {
        x *= static_cast<float>(cssWidth_) / static_cast<float>(pixelWidth_);
        y *= static_cast<float>(cssHeight_) / static_cast<float>(pixelHeight_);
    }
    pointerX_ = x;
    pointerY_ = y;
    MouseInput(kEventMouseMove, -1, x, y);
}

// One finger is the pointer: the first touch of a gesture moves and presses
// it, the others are ignored until it lifts.
void PlWebGame::Touched(int type, const EmscriptenTouchPoint& t) {
    const bool start = type == EMSCRIPTEN_EVENT_TOUCHSTART && activeTouch_ < 0;
    if (!start && t.identifier != activeTouch_) return;
    if (start) activeTouch_ = t.identifier;
    PointerMoved(static_cast<float>(t.targetX), static_cast<float>(t.targetY), false);
    if (start) {
        PointerButton(kEventMouseDown, 0, true);
    } else if (type == EMSCRIPTEN_EVENT_TOUCHEND || type == EMSCRIPTEN_EVENT_TOUCHCANCEL) {
        PointerButton(kEventMouseUp, 0, true);
        activeTouch_ = -1;
    }
}

void PlWebGame::PointerButton(int event, int button, bool fromTouch) {
    double now = emscripten_get_now();
    if (fromTouch)
        lastTouchMs_ = now;
    else if (now - lastTouchMs_ < kTouchEchoMs)
        return;
    MouseInput(event, button, pointerX_, pointerY_);
}

bool PlWebGame::ReadJoystick(int port, float* x, float* y, float* z, bool* buttons) {
    return ReadBrowserPad(port, x, y, z, buttons);
}

void PlWebGame::ShellOpen(StringView target) {
    std::string narrow = Narrow(target);
    EM_ASM({ window.open(UTF8ToString($0), "_blank", "noopener"); }, narrow.c_str());
}

String PlWebGame::ResolveResourcePath(StringView path) {
    String mapped = MapVorlekPath(path);
    static constexpr StringView kData = u"./data/";
    if (mapped.size() >= kData.size() && StringView(mapped).substr(0, kData.size()) == kData)
        return u"/data/" + mapped.substr(kData.size());
    return mapped;
}

int PlWebGame::WriteStateFile(StringView state) {
    int result = PlGame::WriteStateFile(state);
    EM_ASM({
        if (Module.syncSaves) Module.syncSaves();
    });
    return result;
}
