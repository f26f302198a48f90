// The game object's life cycle and the order of one frame: the update
// (input sampling, latches, the mode machine running the play layer and the
// screens, the cued effects) and the render that replays its draw list.
#include <algorithm>

#include "core/errors.h"
#include "game/controls.h"
#include "game/game_core.h"
#include "graphics/context.h"
#include "graphics/image.h"
#include "input/input.h"
#include "music/tune_player.h"
#include "platform/platform_game.h"

namespace {

constexpr int kF10 = 121;
constexpr int kMusicBaseChannel = 32;

GameGlobals globals;

int SetTextEntry(c_InputDevice* device, int on) {
    if (device) device->SetTypingEnabled(on);
    return 0;
}

// The frame handed to the play layer, with the clock read now.
Frame& Handover(Frame& frame, const FrameClock& clock) {
    frame.nowMs = clock.NowMs();
    return frame;
}

// Starting values of the state the saved file may overwrite. Only the first
// half of the badge flags and the highscores through the first recent entry
// are cleared here; the rest stay as they were.
void ClearSavedData(SavedData& saved) {
    std::fill_n(saved.badgeFlags.begin(), SavedData::kBadges / 2, false);
    saved.settings.fill(0);
    saved.SoundMode() = 1;
    std::fill_n(saved.highscores.begin(), SavedData::kRecentOffset + 1, 0);
}

// A running or starting match comes back paused with the panel open.
void ApplySuspendPause(bool matchOn, float screenHeight, PausePanel& pause) {
    pause.paused = matchOn ? 1 : 0;
    pause.panelDirection = matchOn ? 1 : 0;
    pause.panelY = matchOn ? static_cast<int>(screenHeight * 0.5f) : 0;
}

// The whole time away leaves a running match's clock now, before the next
// update's match reads it. A finished match's clock stays where it ended.
void TakeTimeAway(bool matchRunning, int nowMs, PausePanel& pause, MatchState& match) {
    if (!matchRunning || pause.paused != 1) return;
    int away = pause.TakePausedTime(nowMs);
    if (match.matchOver == 0) match.matchStart += away;
}

// One action per press: the latch clears once every control is released.
// Back closes the credits panel over the title, consuming both latches.
void UpdateLatches(bool onTitle, InputSnapshot& input, CreditsPanel& credits) {
    if (input.controlsHeld == 0) input.controlLatch = 0;
    if (onTitle && credits.menuPanelOpen == 1 && input.pointerLatch == 0 &&
        input.TakeControl(kControlBack)) {
        credits.Close();
        input.pointerLatch = 1;
    }
}

// Sharper pictures that arrive later (a page fetching them in the background)
// are taken up only at the title at rest: the loading screen never cuts into
// a match, the time-up sequence or the credits panel.
bool TitleAtRest(bool onTitle, const TimeUpState& timeUp, const CreditsPanel& credits) {
    return onTitle && timeUp.timeUpTimer <= 0 && credits.menuPanelOpen == 0 &&
           credits.menuPanelSlide <= 0;
}

// "renderFpsAvg:scaleX,scaleY" in the bottom-left corner.
void QueueDebugLine(int renderFps, const ScreenFit& screen, Pen& pen) {
    pen.ResetState();
    TextBuffer line;
    line.AppendInt(renderFps).Append(u':').AppendFloat(screen.screenScaleX);
    line.Append(u',').AppendFloat(screen.screenScaleY);
    pen.QueueText(16, screen.screenHeight - 16, line.View(), 0, 0);
}

// Stops the music as a match ends, a second time when the music switch is on.
void StopMatchMusic(c_TunePlayer* music) {
    if (!music) return;
    music->StopAll(1);
    if (Globals().musicSwitch == 1) music->StopAll(1);
}

// --- the screens' steps of the mode machine: each is handed the parts it
// reads and changes, and returns what the mode machine must act on ---

// True when a match is to start; the panel opens at once.
bool UpdateTitle(TitleState& title, CreditsPanel& credits, SavedData& saved, const Media& media,
                 Frame& frame) {
    const int table = SavedData::TableFor(title.difficulty);
    TitleView view{saved.SoundMode(), saved.Best(table), saved.Recent(table),
                   credits.menuPanelOpen != 0, media.Geometry(media.currentFont, 1)};
    TitleReport report = title.Update(view, frame);
    if (report.openCredits) credits.Open();
    return report.startMatch;
}

// The panel draws over the title only, but slides toward its state everywhere.
void UpdateCreditsPanel(bool onTitle, const c_App::DisplaySize& display, const FrameTiming& timing,
                        CreditsPanel& credits, Frame& frame) {
    CreditsReadouts readouts{display.pixelWidth, display.pixelHeight, timing.updateFpsAvg,
                             timing.renderFpsAvg};
    credits.Update(onTitle, readouts, frame);
}

// True when the overlay has run its length and the score is to be recorded.
bool UpdateTimeUp(bool matchShown, const MatchState& match, int difficulty, const SavedData& saved,
                  TimeUpState& timeUp, Frame& frame) {
    const int32_t* best = saved.Best(SavedData::TableFor(difficulty));
    return timeUp.Update(matchShown, match.score, best, frame).finished;
}

// The last match's score into the chosen difficulty's tables.
void RecordScore(int score, int difficulty, SavedData& saved) {
    const int table = SavedData::TableFor(difficulty);
    EnterScore(score, saved.Best(table), saved.Recent(table));
}

// The pause icon and panel over a running match; the quit ends it.
void UpdatePauseButton(SavedData& saved, PausePanel& pause, MatchState& match, Media& media,
                       Frame& frame, EffectPlayer& effects, PlAudio* audio) {
    PauseReport report = pause.Update(saved.SoundMode(), frame);
    effects.PlayCues(audio);
    match.matchStart += report.clockShiftMs;
    if (report.quit && match.Quit()) StopMatchMusic(media.tunePlayer.get());
}

// Each command becomes one framework call, in list order, so the batcher can merge.
void ReplayDrawList(const DrawList& drawList, const ScreenFit& screen, const Media& media) {
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

// The window's background, the whole of it and a pixel beyond.
void ClearToBackground(const ScreenFit& screen, int width, int height) {
    SetColor(screen.backgroundColor[0], screen.backgroundColor[1], screen.backgroundColor[2]);
    SetAlpha(screen.backgroundColor[3]);
    DrawRect(-1, -1, static_cast<float>(width + 2), static_cast<float>(height + 2));
    SetColor(255, 255, 255);
    SetAlpha(1);
}

}  // namespace

GameGlobals& Globals() {
    return globals;
}

// Every array is a fixed member; only the music player lives on the heap.
c_GameCore::c_GameCore(PlGame* platform)
    : c_App(platform),
      frame(drawList, screen, media, input, saved.SoundMode()),
      clock(platform),
      loader(media, platform),
      stateFile(saved, platform),
      effects(media, frame.sounds) {
    media.tunePlayer = std::make_unique<c_TunePlayer>(Platform());
}

int c_GameCore::HandleCreate() {
    mode = kModeTitle;
    SetUpdateRate(60);
    screen.knownWidth = Display().pixelWidth;
    screen.knownHeight = Display().pixelHeight;
    loader.BeginLoading(Display(), screen, loading);
    title.difficulty = 2;
    title.Reassemble();
    pause.paused = 0;
    pause.panelDirection = -1;
    pause.panelY = -64;
    ClearSavedData(saved);
    stateFile.LoadSaves();
    for (int i = 0; i < Media::kChannels; i++) media.channelIds[i] = i;
    if (Globals().musicSwitch == 1) media.tunePlayer->Configure(kMusicBaseChannel, 4, 3, 3, 4);
    return 0;
}

// The time away is paused time: measured from the suspend, unless the open
// panel already measures it.
int c_GameCore::HandleSuspend() {
    SetTextEntry(Input(), 0);
    ApplySuspendPause(mode > 9, screen.screenHeight, pause);
    if (pause.paused == 1) pause.StartMeasuring(clock.NowMs());
    SetUpdateRate(5);
    stateFile.SaveAll();
    return 0;
}

int c_GameCore::HandleResume() {
    ApplySuspendPause(mode > 9, screen.screenHeight, pause);
    TakeTimeAway(mode == kModeMatch, clock.NowMs(), pause, match);
    SetUpdateRate(60);
    SetTextEntry(Input(), 0);
    return 0;
}

// The screen of the current mode, then the overlays that follow it.
void c_GameCore::RunModeMachine() {
    switch (mode) {
        case kModeTitle:
            if (UpdateTitle(title, credits, saved, media, Handover(frame, clock)))
                mode = kModeStartMatch;
            break;
        case kModeRecord:
            RecordScore(match.score, title.difficulty, saved);
            stateFile.SaveAll();
            mode = kModeTitle;
            break;
        case kModeStartMatch:
            StartMatch();
            mode = kModeMatch;
            break;
        case kModeMatch:
            UpdateMatch();
            title.Reassemble();  // after the match
            UpdatePauseButton(saved, pause, match, media, Handover(frame, clock), effects, Audio());
            break;
        default:
            break;
    }
    // A finished overlay turns to recording, which the second call fades over.
    if (mode == kModeMatch && match.matchOver > 0 &&
        UpdateTimeUp(true, match, title.difficulty, saved, timeUp, Handover(frame, clock)))
        mode = kModeRecord;
    if ((mode == kModeTitle || mode == kModeRecord) &&
        UpdateTimeUp(false, match, title.difficulty, saved, timeUp, Handover(frame, clock)))
        mode = kModeRecord;
    UpdateCreditsPanel(mode == kModeTitle, Display(), timing, credits, Handover(frame, clock));
    effects.PlayCues(Audio());  // whatever the screens cued, in the order they cued it
}

int c_GameCore::HandleUpdate() {
    c_InputDevice* device = Input();
    if (!device) return 0;
    // The window's close button: end the process with status 0.
    if (device->KeyPresses(kCloseKey) != 0) Error(u"");
    if (device->KeyPresses(kF10) != 0) Globals().debugOverlay = 1 - Globals().debugOverlay;
    timing.MeasureUpdate(clock);
    SampleInput(input, *device, screen);
    SampleControls(input, device);
    UpdateLatches(mode == kModeTitle, input, credits);
    if (!loading.Loading() && TitleAtRest(mode == kModeTitle, timeUp, credits) &&
        loader.TakeUpSharperPictures(Display()))
        loading.Restart();
    if (!loading.Loading()) RunModeMachine();
    if (loading.Loading())
        loader.AssetLoadStep(loading.Update(Handover(frame, clock)).step, Display());
    if (Globals().debugOverlay == 1) QueueDebugLine(timing.renderFpsAvg, screen, frame.pen);
    if (Globals().musicSwitch == 1) {
        int music = saved.SoundMode();
        media.tunePlayer->Update(pause.paused, music == 1 || music == 3 ? 1 : 0);
    }
    return 0;
}

// The list the last update built, in device pixels. A new framebuffer size
// (a resize, or a move to a screen of another scale) reloads every asset at
// the level that suits it.
int c_GameCore::HandleRender() {
    if (Globals().musicSwitch == 1) media.tunePlayer->RenderLoading();
    timing.MeasureRender(clock);
    const DisplaySize display = Display();
    int width = display.width, height = display.height;
    ClearToBackground(screen, width, height);
    int pixelWidth = display.pixelWidth, pixelHeight = display.pixelHeight;
    if (pixelWidth != screen.knownWidth || pixelHeight != screen.knownHeight) {
        loading.Restart();
        media.levelLimit = loader.PlatformLevelLimit();
        screen.knownWidth = pixelWidth;
        screen.knownHeight = pixelHeight;
    }
    screen.Fit(width, height);
    ReplayDrawList(drawList, screen, media);
    SetAlpha(0.5f);
    SetColor(255, 255, 255);
    return 0;
}

// --- the match: the play layer keeps the rules, the core plays their cues
// and does what they report ---

int c_GameCore::StartMatch() {
    pause.paused = 0;
    pause.pauseStamp = kNone;  // no pause of an earlier match carries over
    timeUp.timeUpTimer = 0;
    match.Start(title.difficulty, Handover(frame, clock));
    return 0;
}

int c_GameCore::UpdateMatch() {
    MatchReport report = match.Update(pause.paused != 0, Handover(frame, clock));
    effects.PlayCues(Audio());
    if (report.ended) StopMatchMusic(media.tunePlayer.get());
    return 0;
}
