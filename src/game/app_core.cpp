// The game object's life cycle and the order of one frame: the update
// (input sampling, latches, the mode machine running the play layer and the
// screens, the cued effects) and the render that replays its draw list.
#include <algorithm>
#include <cmath>

#include "audio/audio.h"
#include "core/errors.h"
#include "game/game_core.h"
#include "graphics/context.h"
#include "graphics/image.h"
#include "input/input.h"
#include "music/tune_player.h"
#include "platform/platform_game.h"

namespace {

constexpr int kF10 = 121;
constexpr int kEffectChannels = 24;
constexpr int kMusicBaseChannel = 32;

GameGlobals globals;

}  // namespace

GameGlobals& Globals() {
    return globals;
}

// Every array is a fixed member; only the music player lives on the heap.
c_GameCore::c_GameCore(PlGame* platform)
    : c_App(platform), frame(drawList, screen, media, input, saved.SoundMode()) {
    media.tunePlayer = std::make_unique<c_TunePlayer>(Platform());
}

c_GameCore::~c_GameCore() = default;

int c_GameCore::HandleCreate() {
    mode = kModeTitle;
    SetUpdateRate(60);
    screen.knownWidth = Display().pixelWidth;
    screen.knownHeight = Display().pixelHeight;
    BeginLoading();
    title.difficulty = 2;
    title.Reassemble();
    pause.paused = 0;
    pause.panelDirection = -1;
    pause.panelY = -64;
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

// The time away is paused time: measured from the suspend, unless the open
// panel already measures it.
int c_GameCore::HandleSuspend() {
    SetTextEntry(0);
    ApplySuspendPause();
    if (pause.paused == 1) pause.StartMeasuring(NowMs());
    SetUpdateRate(5);
    SaveAll();
    return 0;
}

int c_GameCore::HandleResume() {
    ApplySuspendPause();
    TakeTimeAway();
    SetUpdateRate(60);
    SetTextEntry(0);
    return 0;
}

// The whole time away leaves a running match's clock now, before the next
// update's match reads it. A finished match's clock stays where it ended.
void c_GameCore::TakeTimeAway() {
    if (mode != kModeMatch || pause.paused != 1) return;
    int away = pause.TakePausedTime(NowMs());
    if (match.matchOver == 0) match.matchStart += away;
}

int c_GameCore::NowMs() const {
    return Platform() ? Platform()->ElapsedMs() : 0;
}

int c_GameCore::SetTextEntry(int on) {
    if (c_InputDevice* device = Input()) device->SetTypingEnabled(on);
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
// Back closes the credits panel over the title, consuming both latches.
void c_GameCore::UpdateLatches() {
    if (input.controlsHeld == 0) input.controlLatch = 0;
    if (mode == kModeTitle && credits.menuPanelOpen == 1 && input.pointerLatch == 0 &&
        input.TakeControl(kControlBack)) {
        credits.Close();
        input.pointerLatch = 1;
    }
}

// The screen of the current mode, then the overlays that follow it.
void c_GameCore::RunModeMachine() {
    switch (mode) {
        case kModeTitle:
            UpdateTitle();
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
    // A finished overlay turns to recording, which the second call fades over.
    if (mode == kModeMatch && match.matchOver > 0) UpdateTimeUp();
    if (mode == kModeTitle || mode == kModeRecord) UpdateTimeUp();
    UpdateCreditsPanel();
    PlayCues();  // whatever the screens cued, in the order they cued it
}

int c_GameCore::PlatformLevelLimit() const {
    return Platform() ? Platform()->PictureLevelLimit() : 4;
}

// Sharper pictures that arrive later (a page fetching them in the background)
// are loaded only at the title at rest: the loading screen never cuts into a
// match, the time-up sequence or the credits panel.
void c_GameCore::TakeUpSharperPictures() {
    int limit = PlatformLevelLimit();
    if (limit == media.levelLimit || mode != kModeTitle || timeUp.timeUpTimer > 0 ||
        credits.menuPanelOpen != 0 || credits.menuPanelSlide > 0)
        return;
    int loaded = media.resLevel;
    media.levelLimit = limit;
    media.ChooseResolution(Display().pixelWidth, Display().pixelHeight);
    if (media.resLevel != loaded) loading.Restart();
}

// A chosen match starts at once: no overlay or panel over the title this update.
void c_GameCore::UpdateTitle() {
    const int table = SavedData::TableFor(title.difficulty);
    TitleView view{saved.SoundMode(), saved.Best(table), saved.Recent(table),
                   credits.menuPanelOpen != 0, media.Geometry(media.currentFont, 1)};
    TitleReport report = title.Update(view, PlayFrame());
    if (report.startMatch) mode = kModeStartMatch;
    if (report.openCredits) credits.Open();
}

// The panel draws over the title only, but slides toward its state everywhere.
void c_GameCore::UpdateCreditsPanel() {
    CreditsReadouts readouts{Display().pixelWidth, Display().pixelHeight, timing.updateFpsAvg,
                             timing.renderFpsAvg};
    credits.Update(mode == kModeTitle, readouts, PlayFrame());
}

void c_GameCore::UpdateTimeUp() {
    const int32_t* best = saved.Best(SavedData::TableFor(title.difficulty));
    TimeUpReport report = timeUp.Update(mode == kModeMatch, match.score, best, PlayFrame());
    if (report.finished) mode = kModeRecord;
}

void c_GameCore::RecordScore() {
    const int table = SavedData::TableFor(title.difficulty);
    EnterScore(match.score, saved.Best(table), saved.Recent(table));
    SaveAll();
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
    c_InputDevice* device = Input();
    if (!device) return 0;
    // The window's close button: end the process with status 0.
    if (device->KeyPresses(kCloseKey) != 0) Error(u"");
    if (device->KeyPresses(kF10) != 0) Globals().debugOverlay = 1 - Globals().debugOverlay;
    MeasureRate(timing.updateStamp, timing.updateFps, timing.updateFpsAvg);
    SampleInput(input, *device, screen);
    SampleControls();
    UpdateLatches();
    if (!loading.Loading()) TakeUpSharperPictures();
    if (!loading.Loading()) RunModeMachine();
    if (loading.Loading()) AssetLoadStep();
    if (Globals().debugOverlay == 1) QueueDebugLine();
    if (Globals().musicSwitch == 1) {
        int music = saved.SoundMode();
        media.tunePlayer->Update(pause.paused, music == 1 || music == 3 ? 1 : 0);
    }
    return 0;
}

// --- the render: the list the last update built, in device pixels ---

// Each command becomes one framework call, in list order, so the batcher can merge.
void c_GameCore::ReplayDrawList() {
    float sx = screen.screenScaleX, sy = screen.screenScaleY;
    for (int i = 0; i < drawList.CommandCount(); i++) {
        const DrawCommand& c = drawList.Command(i);
        SetAlpha(c.alpha);
        SetColor(c.red, c.green, c.blue);
        SetBlend(c.blend == kAdditiveBlend ? 1 : 0);
        if (c.kind == kCmdRect) {
            DrawRect(c.x * sx, c.y * sy, c.sizeX * sx, c.sizeY * sy);
        } else if (c.kind == kCmdEllipse) {
            DrawEllipse(c.x * sx, c.y * sy, c.sizeX * sx, c.sizeY * sy);
        } else if (c.kind == kCmdLine) {
            DrawLine(c.x * sx, c.y * sy, c.sizeX * sx, c.sizeY * sy);
        } else if (c.kind > -1 && c.kind < Media::kImages) {
            c_Image* image = media.imageTable[static_cast<int>(c.kind)].get();
            if (!image) continue;
            PaintImage(image, c.x * sx, c.y * sy, c.rotation, c.sizeX * sx * media.resScale,
                       c.sizeY * sy * media.resScale, static_cast<int>(c.frame));
        }
    }
}

int c_GameCore::HandleRender() {
    if (Globals().musicSwitch == 1) media.tunePlayer->RenderLoading();
    MeasureRate(timing.renderStamp, timing.renderFps, timing.renderFpsAvg);
    const DisplaySize display = Display();
    int width = display.width, height = display.height;
    SetColor(screen.backgroundColor[0], screen.backgroundColor[1], screen.backgroundColor[2]);
    SetAlpha(screen.backgroundColor[3]);
    DrawRect(-1, -1, static_cast<float>(width + 2), static_cast<float>(height + 2));
    SetColor(255, 255, 255);
    SetAlpha(1);
    // A new framebuffer size (a resize, or a move to a screen of another
    // scale) reloads every asset at the level that suits it.
    int pixelWidth = display.pixelWidth, pixelHeight = display.pixelHeight;
    if (pixelWidth != screen.knownWidth || pixelHeight != screen.knownHeight) {
        loading.Restart();
        media.levelLimit = PlatformLevelLimit();
        screen.knownWidth = pixelWidth;
        screen.knownHeight = pixelHeight;
    }
    screen.Fit(width, height);
    ReplayDrawList();
    SetAlpha(0.5f);
    SetColor(255, 255, 255);
    return 0;
}

// --- sound effects: cued by the play layer and the screens, played in order ---

// Through the cues, so an effect played on the spot never overtakes one cued before it.
int c_GameCore::PlaySfx(int id, float rate, float volume, float pan) {
    frame.sounds.Cue(id, rate, volume, pan);
    PlayCues();
    return 0;
}

void c_GameCore::PlayCues() {
    for (int i = 0; i < frame.sounds.Count(); i++) PlayEffect(frame.sounds[i]);
    frame.sounds.Clear();
}

// Effects rotate over channels 0..23, so a new one cuts off the oldest.
void c_GameCore::PlayEffect(const SoundCue& cue) {
    media.sfxChannel = (media.sfxChannel + 1) % kEffectChannels;
    if (media.sfxChannel < 0 || media.sfxChannel > 31) media.sfxChannel = 0;
    PlAudio* audio = Audio();
    if (!audio) return;
    int channel = media.channelIds[media.sfxChannel];
    audio->StopChannel(channel);
    int id = cue.id;
    c_Sound* sound = id >= 0 && id < Media::kSounds ? media.soundTable[id].get() : nullptr;
    if (sound && sound->sample) audio->StartSample(sound->sample, channel, 0);
    audio->SetRate(channel, cue.rate);
    audio->SetVolume(channel, cue.volume);
    audio->SetPan(channel, cue.pan);
}

// --- the match and the pause panel: the play layer keeps the rules, the core
// plays their cues and does what they report ---

Frame& c_GameCore::PlayFrame() {
    frame.nowMs = NowMs();
    return frame;
}

int c_GameCore::StartMatch() {
    pause.paused = 0;
    pause.pauseStamp = kNone;  // no pause of an earlier match carries over
    timeUp.timeUpTimer = 0;
    mode = kModeMatch;
    match.Start(title.difficulty, PlayFrame());
    return 0;
}

int c_GameCore::UpdateMatch() {
    MatchReport report = match.Update(pause.paused != 0, PlayFrame());
    PlayCues();
    if (report.ended) StopMatchMusic();
    return 0;
}

int c_GameCore::UpdatePauseButton() {
    title.Reassemble();  // after the match
    PauseReport report = pause.Update(saved.SoundMode(), PlayFrame());
    PlayCues();
    match.matchStart += report.clockShiftMs;
    if (report.quit && match.Quit()) StopMatchMusic();
    return 0;
}

// Stops the music as a match ends, a second time when the music switch is on.
void c_GameCore::StopMatchMusic() {
    if (!media.tunePlayer) return;
    media.tunePlayer->StopAll(1);
    if (Globals().musicSwitch == 1) media.tunePlayer->StopAll(1);
}
