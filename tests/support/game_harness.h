// Runs the real game object headless: a TestPlatform with a controllable
// clock, the real delegate with a counting (null) GL backend, the real input
// device and OpenAL Soft's null device. Tests drive updates and renders and
// inspect the draw list, fields, input state and saved files.
#pragma once

#include <memory>
#include <string>

#include "game/screens/my_app.h"
#include "graphics/gl_backend.h"
#include "input/input.h"
#include "support/test_platform.h"

class GameHarness {
  public:
    // Starts the game (GameStart → HandleCreate, then the first render).
    // Process-wide game values and the generator start afresh for each harness.
    // An empty dataDir uses the build's data folder; a stateFile names a state
    // file of the test's own instead of one in the platform's private folder.
    explicit GameHarness(int windowWidth = 640, int windowHeight = 480,
                         const std::string& stateBytes = "", const std::string& dataDir = "",
                         const std::string& stateFile = "");
    ~GameHarness();

    // One fixed update (joystick poll, HandleUpdate, hits cleared), clock +ms.
    void Update(int ms = 17);
    void Render();
    // Update then render, n times.
    void Step(int n = 1);
    // Steps until assets have loaded (loadStep back to 0).
    void FinishLoading();
    // Changes the pretend window; the next render notices it.
    void Resize(int width, int height);

    // Pointer and keys, delivered like the platform's events.
    void MoveTo(float x, float y);  // device pixels
    void Press(float x, float y);   // left button down at a position
    void Release();
    void KeyDown(int code);
    void KeyUp(int code);
    // Scripts joystick 0 (present from now on).
    void SetStick(float x, float y);
    void SetPadButton(int button, bool down);

    // Draw-list access.
    int CommandCount() const;
    const DrawCommand& Command(int i) const;
    int CountKind(float kind) const;  // commands of one kind (image index or shape marker)

    c_MyApp& App() { return *app; }
    c_InputDevice& Input();
    NullGlBackend* Backend();  // null when a real GL context is in use

    TestPlatform platform;
    std::unique_ptr<c_MyApp> app;
};
