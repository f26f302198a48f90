// The game object's life cycle, the per-update input sampling, the mode
// machine and the shared services (effects, text entry).
#include <algorithm>
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
constexpr int kEffectChannels = 24;
constexpr int kMenuPanelSlideEnd = 30;
constexpr int kMusicBaseChannel = 32;

// The controls whose release clears the control latch.
constexpr int kLatchControls[] = {kControlUp, kControlLeft, kControlRight, kControlDown, kControlA,
                                  kControlB,  kControlC,    kControlD,     kControlBack};

GameGlobals globals;

}  // namespace

GameGlobals& Globals() {
    return globals;
}

// Every array is a fixed member; only the music player lives on the heap.
c_GameCore::c_GameCore() {
    media.tunePlayer = std::make_unique<c_TunePlayer>(Platform());
}

c_GameCore::~c_GameCore() = default;

int c_GameCore::HandleCreate() {
    mode = kModeTitle;
    SetUpdateRate(60);
    screen.knownWidth = DisplayPixelWidth();
    screen.knownHeight = DisplayPixelHeight();
    BeginLoading();
    title.difficulty = 2;
    title.titleSlide = -32;
    title.titleValue = 50;
    pause.paused = 0;
    pause.panelDirection = -1;
    pause.panelY = -64;
    saved.badgeQueueA.fill(0);
    saved.badgeQueueB.fill(0);
    // Only the first half of the badge flags and the highscores through the
    // first recent entry are cleared here; the rest stay as they were.
    std::fill_n(saved.badgeFlags.begin(), SavedData::kBadges / 2, false);
    saved.settings.fill(0);
    saved.SoundMode() = 1;
    std::fill_n(saved.highscores.begin(), SavedData::kRecentOffset + 1, 0);
    LoadSaves();
    for (int i = 0; i < Media::kChannels; i++) media.channelIds[i] = i;
    if (Globals().musicSwitch == 1) media.tunePlayer->Configure(kMusicBaseChannel, 4, 3, 3, 4);
    return 0;
}

// A running or starting match comes back paused with the panel open.
void c_GameCore::ApplySuspendPause() {
    if (mode > 9) {
        pause.paused = 1;
        pause.panelDirection = 1;
        pause.panelY = static_cast<int>(screen.screenHeight * 0.5f);
    } else {
        pause.paused = 0;
        pause.panelDirection = 0;
        pause.panelY = 0;
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
    if (c_InputDevice* device = InputDevice()) device->SetTypingEnabled(on);
    return 0;
}

// Frames per second from the time since the last stamp, smoothed over ~10 frames.
void c_GameCore::MeasureRate(int& stamp, int& fps, int& average) {
    int t = NowMs();
    if (t - stamp > 0) fps = 1000 / (t - stamp);
    average = (average * 9 + fps) / 10;
    stamp = NowMs();
}

// One action per press: the latch clears once every control is released.
void c_GameCore::UpdateLatches() {
    bool anyControl = false;
    for (int code : kLatchControls) anyControl = anyControl || ControlDown(code) != 0;
    if (!anyControl) input.controlLatch = 0;
    if (input.controlLatch == 0 && input.pointerLatch == 0 && ControlDown(kControlBack) &&
        mode == kModeTitle && credits.menuPanelOpen == 1) {
        credits.menuPanelOpen = 0;
        input.controlLatch = 1;
        input.pointerLatch = 1;
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
    if (mode == kModeMatch && match.matchOver > 0) DrawTimeUp();
    if (mode == kModeTitle || mode == kModeRecord) DrawTimeUp();
    if (mode == kModeTitle && (credits.menuPanelOpen == 1 || credits.menuPanelSlide > 0))
        DrawCreditsPanel();
    if (credits.menuPanelOpen == 1 && credits.menuPanelSlide < kMenuPanelSlideEnd)
        credits.menuPanelSlide++;
    if (credits.menuPanelOpen == 0 && credits.menuPanelSlide > 0) credits.menuPanelSlide--;
}

// "renderFpsAvg:scaleX,scaleY" in the bottom-left corner.
void c_GameCore::QueueDebugLine() {
    ResetDrawState();
    TextBuffer line;
    line.AppendInt(timing.renderFpsAvg).Append(u':').AppendFloat(screen.screenScaleX);
    line.Append(u',').AppendFloat(screen.screenScaleY);
    QueueText(16, screen.screenHeight - 16, line.View(), 0, 0);
}

int c_GameCore::HandleUpdate() {
    c_InputDevice* device = InputDevice();
    if (!device) return 0;
    // The window's close button: end the process with status 0.
    if (device->KeyPresses(kCloseKey) != 0) Error(u"");
    if (device->KeyPresses(kF10) != 0) Globals().debugOverlay = 1 - Globals().debugOverlay;
    MeasureRate(timing.updateStamp, timing.updateFps, timing.updateFpsAvg);
    input.Sample(*device, screen);
    UpdateLatches();
    if (media.loadStep == 0) RunModeMachine();
    if (media.loadStep > 0) AssetLoadStep();
    if (Globals().debugOverlay == 1) QueueDebugLine();
    if (Globals().musicSwitch == 1) {
        int music = saved.SoundMode();
        media.tunePlayer->Update(pause.paused, music == 1 || music == 3 ? 1 : 0);
    }
    return 0;
}

// Effects rotate over channels 0..23, so a new one cuts off the oldest.
int c_GameCore::PlaySfx(int id, float rate, float volume, float pan) {
    int soundMode = saved.SoundMode();
    if (soundMode != 1 && soundMode != 2) return 0;
    media.sfxChannel = (media.sfxChannel + 1) % kEffectChannels;
    if (media.sfxChannel < 0 || media.sfxChannel > 31) media.sfxChannel = 0;
    PlAudio* audio = AudioDevice();
    if (!audio) return 0;
    int channel = media.channelIds[media.sfxChannel];
    audio->StopChannel(channel);
    c_Sound* sound = id >= 0 && id < Media::kSounds ? media.soundTable[id].get() : nullptr;
    if (sound && sound->sample) audio->StartSample(sound->sample, channel, 0);
    audio->SetRate(channel, rate);
    audio->SetVolume(channel, volume);
    audio->SetPan(channel, pan);
    return 0;
}
