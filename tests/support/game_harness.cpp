#include "support/game_harness.h"

#include "core/random.h"
#include "graphics/context.h"
#include "graphics/renderer.h"
#include "platform/platform_game.h"

GameHarness::GameHarness(int windowWidth, int windowHeight, const std::string& stateBytes,
                         const std::string& dataDir, const std::string& stateFile) {
    if (!stateFile.empty()) platform.UseStateFile(stateFile);
    platform.windowWidth = windowWidth;
    platform.windowHeight = windowHeight;
    if (!dataDir.empty()) platform.dataDir = dataDir;
    if (!stateBytes.empty()) platform.WriteStateBytes(stateBytes);
    Globals() = GameGlobals{};
    SeedRandom(1234);
    app = std::make_unique<c_MyApp>(&platform);
    platform.GameStart();
    platform.GameRender();
}

GameHarness::~GameHarness() {
    app.reset();
}

void GameHarness::Update(int ms) {
    platform.Advance(ms);
    platform.GameUpdate();
}

void GameHarness::Render() {
    platform.GameRender();
}

void GameHarness::Step(int n) {
    for (int i = 0; i < n; i++) {
        Update();
        Render();
    }
}

void GameHarness::FinishLoading() {
    for (int i = 0; i < 200 && (app->loading.loadStep != 0 || i == 0); i++) Step();
}

void GameHarness::Resize(int width, int height) {
    platform.windowWidth = width;
    platform.windowHeight = height;
}

void GameHarness::MoveTo(float x, float y) {
    platform.MouseInput(kEventMouseMove, -1, x, y);
}

void GameHarness::Press(float x, float y) {
    MoveTo(x, y);
    platform.MouseInput(kEventMouseDown, 0, x, y);
}

void GameHarness::Release() {
    platform.MouseInput(kEventMouseUp, 0, Input().PointerX(), Input().PointerY());
}

void GameHarness::KeyDown(int code) {
    platform.KeyInput(kEventKeyDown, code);
}
void GameHarness::KeyUp(int code) {
    platform.KeyInput(kEventKeyUp, code);
}

void GameHarness::SetStick(float x, float y) {
    ScriptedJoystick& pad = platform.joysticks[0];
    pad.present = true;
    pad.axisCount = 2;
    pad.axes[0] = x;
    pad.axes[1] = y;
    pad.buttonCount = 12;
}

void GameHarness::SetPadButton(int button, bool down) {
    ScriptedJoystick& pad = platform.joysticks[0];
    pad.present = true;
    if (pad.axisCount < 2) pad.axisCount = 2;
    pad.buttonCount = 12;
    pad.buttons[button] = down;
}

int GameHarness::CommandCount() const {
    return app->drawList.CommandCount();
}

const DrawCommand& GameHarness::Command(int i) const {
    return app->drawList.Command(i);
}

int GameHarness::CountKind(float kind) const {
    int n = 0;
    for (int i = 0; i < CommandCount(); i++) n += Command(i).kind == kind ? 1 : 0;
    return n;
}

c_InputDevice& GameHarness::Input() {
    return *app->Input();
}

NullGlBackend* GameHarness::Backend() {
    PlGraphics* g = GraphicsDevice();
    return g ? dynamic_cast<NullGlBackend*>(g->Backend()) : nullptr;
}
