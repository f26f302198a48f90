#include "framework/game_delegate.h"

#include "audio/audio.h"
#include "framework/app.h"
#include "graphics/context.h"
#if defined(BW_GLES2)
#include "graphics/gles2_backend.h"
#endif
#include "graphics/renderer.h"
#include "input/input.h"
#include "platform/platform_game.h"

c_GameDelegate::c_GameDelegate(c_App& app, PlGame* platform) : app(app), platform(platform) {}

// The module-wide device references must not outlive the devices.
c_GameDelegate::~c_GameDelegate() {
    if (graphics) {
        // The default font's texture belongs to this renderer.
        GraphicsContext()->font.reset();
        GraphicsContext()->builtinFont.reset();
    }
    if (GraphicsDevice() == graphics.get()) SetGraphicsDevice(nullptr);
    if (AudioDevice() == audio.get()) SetAudioDevice(nullptr);
}

void c_GameDelegate::GameStart() {
    PlGame* game = platform;
    std::unique_ptr<GlBackend> backend;
    if (game && game->HasGlContext())
#if defined(BW_GLES2)
        backend = MakeGles2Backend();  // WebGL has no fixed-function pipeline
#else
        backend = MakeOpenGlBackend();
#endif
    else
        backend = std::make_unique<NullGlBackend>();
    graphics = std::make_unique<PlGraphics>(std::move(backend), game, game);
    SetGraphicsDevice(graphics.get());
    SetDefaultFont();
    audio = std::make_unique<PlAudio>(game);
    SetAudioDevice(audio.get());
    input = std::make_unique<c_InputDevice>(game);
    app.HandleCreate();
}

void c_GameDelegate::GameSuspend() {
    app.HandleSuspend();
    if (audio) audio->Suspend();
}

void c_GameDelegate::GameResume() {
    if (audio) audio->Resume();
    app.HandleResume();
}

void c_GameDelegate::GameUpdate() {
    // Updates go on while iconified, so a lost sound output is followed then too.
    if (audio && platform) audio->KeepOutput(platform->ElapsedMs());
    if (audio) audio->TakeArrivedFiles();
    if (input) input->PrepareUpdate();
    app.HandleUpdate();
    if (input) input->FinishUpdate();
}

void c_GameDelegate::GameRender() {
    if (!graphics) return;
    graphics->FrameBegin();
    BeginRenderState();
    app.HandleRender();
    EndRenderState();
    graphics->FrameEnd();
}

void c_GameDelegate::KeyInput(int event, int data) {
    if (input) input->KeyInput(event, data);
}

void c_GameDelegate::MouseInput(int event, int data, float x, float y) {
    if (input) input->MouseInput(event, data, x, y);
}

void c_GameDelegate::TouchInput(int event, int data, float x, float y) {
    if (input) input->TouchInput(event, data, x, y);
}

void c_GameDelegate::MotionInput(int event, int data, float x, float y, float z) {
    if (input) input->MotionInput(event, data, x, y, z);
}

void c_GameDelegate::GraphicsLost() {
    if (graphics) graphics->GraphicsLost();
}
