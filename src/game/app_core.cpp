// The game object's life cycle, the per-update input sampling, the mode
// machine and the shared services (effects, text entry).
#include <cmath>

#include "audio/audio.h"
#include "core/errors.h"
#include "game/game_core.h"
#include "graphics/context.h"
#include "input/input.h"
#include "music/tune_player.h"
#include "platform/platform_game.h"

namespace {

constexpr int kF10 = 121;
constexpr int kLeftButton = 1;
constexpr int kFirstTouchKey = 384;
constexpr int kTouches = 10;
constexpr int kEffectChannels = 24;
constexpr int kChannelCount = 33;
constexpr int kSoundModeSetting = 5;
constexpr int kMenuPanelSlideEnd = 30;
constexpr int kMusicBaseChannel = 32;

// The controls whose release clears the control latch.
constexpr int kLatchControls[] = {kControlUp, kControlLeft, kControlRight, kControlDown, kControlA,
                                  kControlB,  kControlC,    kControlD,     kControlBack};

GameGlobals globals;

// Device pixels to whole screen units. Before the first render has measured
// the window the scale is still 0; pixels then count as units rather than
// dividing by zero.
int ToScreenUnits(float pixels, float scale) {
    return static_cast<int>(scale > 0 ? pixels / scale : pixels);
}

}  // namespace

GameGlobals& Globals() {
    return globals;
}

// Every array is a fixed member; only the music player lives on the heap.
c_GameCore::c_GameCore() : tunePlayer(std::make_unique<c_TunePlayer>(Platform())) {}

c_GameCore::~c_GameCore() = default;

int c_GameCore::HandleCreate() {
    mode = kModeTitle;
    SetUpdateRate(60);
    knownWidth = DisplayWidth();
    knownHeight = DisplayHeight();
    BeginLoading();
    difficulty = 2;
    titleSlide = -32;
    titleValue = 50;
    paused = 0;
    panelDirection = -1;
    panelY = -64;
    badgeQueueA.fill(0);
    badgeQueueB.fill(0);
    for (int i = 0; i < 128; i++) badgeFlags[i] = false;
    settings.fill(0);
    settings[kSoundModeSetting] = 1;
    for (int i = 0; i <= 30; i++) highscores[i] = 0;
    LoadSaves();
    for (int i = 0; i < kChannelCount; i++) channelIds[i] = i;
    if (Globals().musicSwitch == 1) tunePlayer->Configure(kMusicBaseChannel, 4, 3, 3, 4);
    return 0;
}

// A running or starting match comes back paused with the panel open.
void c_GameCore::ApplySuspendPause() {
    if (mode > 9) {
        paused = 1;
        panelDirection = 1;
        panelY = static_cast<int>(Globals().screenHeight * 0.5f);
    } else {
        paused = 0;
        panelDirection = 0;
        panelY = 0;
    }
}

int c_GameCore::HandleSuspend() {
    SetTextEntry(0);
    ApplySuspendPause();
    SetUpdateRate(5);
    SaveAll();
    return 0;
}

int c_GameCore::HandleResume() {
    ApplySuspendPause();
    SetUpdateRate(60);
    SetTextEntry(0);
    return 0;
}

int c_GameCore::NowMs() const {
    return Platform() ? Platform()->ElapsedMs() : 0;
}

int c_GameCore::SetTextEntry(int on) {
    if (c_InputDevice* input = InputDevice()) input->SetTypingEnabled(on);
    return 0;
}

// Frames per second from the time since the last stamp, smoothed over ~10 frames.
void c_GameCore::MeasureRate(int& stamp, int& fps, int& average) {
    int t = NowMs();
    if (t - stamp > 0) fps = 1000 / (t - stamp);
    average = (average * 9 + fps) / 10;
    stamp = NowMs();
}

// Pointer, button and touches in screen units, once per update.
void c_GameCore::SampleInput() {
    c_InputDevice* input = InputDevice();
    pointerPrevX = pointerX;
    pointerPrevY = pointerY;
    pointerX = ToScreenUnits(input->PointerX(), screenScaleX);
    pointerY = ToScreenUnits(input->PointerY(), screenScaleY);
    bool held = input->KeyHeld(kLeftButton);
    // A fresh press never shows a jump from where the pointer last rested.
    if (mouseWasDown == 0 && held) {
        pointerPrevX = pointerX;
        pointerPrevY = pointerY;
    }
    pointerDown = held ? 1 : 0;
    clickHits = input->KeyPresses(kLeftButton);
    for (int i = 0; i < kTouches; i++) {
        touchDown[i] = 0;
        touchX[i] = kNone;
        touchY[i] = kNone;
        if (!input->KeyHeld(kFirstTouchKey + i)) continue;
        touchDown[i] = 1;
        touchX[i] = ToScreenUnits(input->TouchPosX(i), screenScaleX);
        touchY[i] = ToScreenUnits(input->TouchPosY(i), screenScaleY);
        pointerDown = 1;
    }
    mouseWasDown = held ? 1 : 0;
    if (pointerDown == 0) pointerLatch = 0;
}

// One action per press: the latch clears once every control is released.
void c_GameCore::UpdateLatches() {
    bool anyControl = false;
    for (int code : kLatchControls) anyControl = anyControl || ControlDown(code) != 0;
    if (!anyControl) controlLatch = 0;
    if (controlLatch == 0 && pointerLatch == 0 && ControlDown(kControlBack) && mode == kModeTitle &&
        menuPanelOpen == 1) {
        menuPanelOpen = 0;
        controlLatch = 1;
        pointerLatch = 1;
    }
}

// The screen of the current mode, then the overlays that follow it.
void c_GameCore::RunModeMachine() {
    switch (mode) {
        case kModeTitle:
            DrawTitleScreen();
            break;
        case kModeRecord:
            RecordScore();
            mode = kModeTitle;
            break;
        case kModeStartMatch:
            StartMatch();
            break;
        case kModeMatch:
            UpdateMatch();
            UpdatePauseButton();
            break;
        default:
            break;
    }
    if (mode == kModeMatch && matchOver > 0) DrawTimeUp();
    if (mode == kModeTitle || mode == kModeRecord) DrawTimeUp();
    if (mode == kModeTitle && (menuPanelOpen == 1 || menuPanelSlide > 0)) DrawCreditsPanel();
    if (menuPanelOpen == 1 && menuPanelSlide < kMenuPanelSlideEnd) menuPanelSlide++;
    if (menuPanelOpen == 0 && menuPanelSlide > 0) menuPanelSlide--;
}

// "renderFpsAvg:scaleX,scaleY" in the bottom-left corner.
void c_GameCore::QueueDebugLine() {
    ResetDrawState();
    TextBuffer line;
    line.AppendInt(renderFpsAvg).Append(u':').AppendFloat(screenScaleX);
    line.Append(u',').AppendFloat(screenScaleY);
    QueueText(16, Globals().screenHeight - 16, line.View(), 0, 0);
}

int c_GameCore::HandleUpdate() {
    c_InputDevice* input = InputDevice();
    if (!input) return 0;
    // The window's close button: end the process with status 0.
    if (input->KeyPresses(kCloseKey) != 0) Error(u"");
    if (input->KeyPresses(kF10) != 0) Globals().debugOverlay = 1 - Globals().debugOverlay;
    MeasureRate(updateStamp, updateFps, updateFpsAvg);
    SampleInput();
    UpdateLatches();
    if (loadStep == 0) RunModeMachine();
    if (loadStep > 0) AssetLoadStep();
    if (Globals().debugOverlay == 1) QueueDebugLine();
    if (Globals().musicSwitch == 1) {
        int music = settings[kSoundModeSetting];
        tunePlayer->Update(paused, music == 1 || music == 3 ? 1 : 0);
    }
    return 0;
}

// Effects rotate over channels 0..23, so a new one cuts off the oldest.
int c_GameCore::PlaySfx(int id, float rate, float volume, float pan) {
    int soundMode = settings[kSoundModeSetting];
    if (soundMode != 1 && soundMode != 2) return 0;
    sfxChannel = (sfxChannel + 1) % kEffectChannels;
    if (sfxChannel < 0 || sfxChannel > 31) sfxChannel = 0;
    PlAudio* audio = AudioDevice();
    if (!audio) return 0;
    int channel = channelIds[sfxChannel];
    audio->StopChannel(channel);
    c_Sound* sound = id >= 0 && id < kSounds ? soundTable[id].get() : nullptr;
    if (sound && sound->sample) audio->StartSample(sound->sample, channel, 0);
    audio->SetRate(channel, rate);
    audio->SetVolume(channel, volume);
    audio->SetPan(channel, pan);
    return 0;
}
