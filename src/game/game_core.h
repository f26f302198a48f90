// The game's core: the game's state in named parts, allocated once by the
// constructor, and the order of things (the mode machine, when to draw what,
// playing what the play layer cues). The rules of the match, the pause panel,
// the title, the time-up overlay and the credits live in the play layer below;
// the asset loader and the saves above are reached through the hooks.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "core/text.h"
#include "framework/app.h"
#include "game/game_state.h"
#include "game/play/credits_panel.h"
#include "game/play/draw_list.h"
#include "game/play/frame.h"
#include "game/play/loading_screen.h"
#include "game/play/match.h"
#include "game/play/pause.h"
#include "game/play/records.h"
#include "game/play/text_buffer.h"
#include "game/play/time_up.h"
#include "game/play/title_screen.h"

// Modes of the mode machine.
enum GameMode { kModeTitle = 1, kModeRecord = 2, kModeMatch = 10, kModeStartMatch = 11 };

class c_GameCore : public c_App {
  public:
    explicit c_GameCore(PlGame* platform);
    ~c_GameCore() override;

    // --- application events (app_core.cpp) ---
    int HandleCreate() override;
    int HandleSuspend() override;
    int HandleResume() override;
    int HandleUpdate() override;
    int HandleRender() override;  // draw list replay

    // --- the hooks: what the core asks of the loader and the saves above it ---
    virtual int BeginLoading() = 0;
    virtual int AssetLoadStep() = 0;
    virtual int LoadSaves() = 0;
    virtual int SaveAll() = 0;

    // --- core services (app_core.cpp) ---
    int NowMs() const;  // the platform clock, 0 without a platform
    int SetTextEntry(int on);
    int ControlDown(int code);  // controls.cpp, from the devices
    void SampleControls();      // controls.cpp, into the input snapshot
    // Plays an effect now, after whatever the update has cued before it.
    int PlaySfx(int id, float rate, float volume, float pan);
    // Plays the cued effects in order over the rotating effect channels.
    void PlayCues();
    // The update's frame with its clock read now.
    Frame& PlayFrame();
    // Steps of HandleUpdate / HandleRender / HandleResume.
    void ApplySuspendPause();
    void TakeTimeAway();
    void MeasureRate(int& stamp, int& fps, int& average);
    void UpdateLatches();
    void RunModeMachine();
    int PlatformLevelLimit() const;
    void TakeUpSharperPictures();
    void UpdateTitle();
    void UpdateCreditsPanel();
    void UpdateTimeUp();
    // The last match's score into the chosen difficulty's tables, then saved.
    void RecordScore();
    void QueueDebugLine();
    void ReplayDrawList();

    // --- the pen under the game's names: the screens draw with these ---
    int ResetDrawState() {
        frame.pen.ResetState();
        return 0;
    }
    int BeginDrawList(float r, float g, float b, float a) {
        frame.pen.Begin(r, g, b, a);
        return 0;
    }
    int SetDrawScale(float sx, float sy = kNoneF) {
        frame.pen.SetScale(sx, sy);
        return 0;
    }
    int SetDrawRotation(float degrees) {
        frame.pen.SetRotation(degrees);
        return 0;
    }
    int SetDrawAlpha(float a) {
        frame.pen.SetAlpha(a);
        return 0;
    }
    int SetDrawColor(float r, float g, float b, float a = kNoneF) {
        frame.pen.SetColor(r, g, b, a);
        return 0;
    }
    int QueueImage(int image, float x, float y, float frameIndex) {
        frame.pen.QueueImage(image, x, y, frameIndex);
        return 0;
    }
    int QueueRect(float x, float y, float w, float h) {
        frame.pen.QueueRect(x, y, w, h);
        return 0;
    }
    int QueueEllipse(float cx, float cy, float rx, float ry) {
        frame.pen.QueueEllipse(cx, cy, rx, ry);
        return 0;
    }
    int QueueLine(float x1, float y1, float x2, float y2) {
        frame.pen.QueueLine(x1, y1, x2, y2);
        return 0;
    }
    int QueueText(float x, float y, StringView text, float alignX, float alignY) {
        frame.pen.QueueText(x, y, text, alignX, alignY);
        return 0;
    }
    int QueueButton(int image, float x, float y, int frameIndex) {
        return frame.pen.QueueButton(image, x, y, frameIndex) ? 1 : 0;
    }
    static TextBuffer PadNumber(int n, int width, StringView pad) {
        return ::PadNumber(n, width, pad);
    }
    int DrawCount() const { return drawList.drawCount; }

    // --- the match and the pause panel, run on the play layer (app_core.cpp) ---
    int StartMatch();
    int UpdateMatch();
    int UpdatePauseButton();
    // A match has ended: the music stops.
    void StopMatchMusic();

    // ================= state, by owner and lifetime =================
    int mode = 0;           // GameMode; kModeTitle after HandleCreate
    ScreenFit screen;       // refitted by every render
    Media media;            // reloaded whenever the window size changes
    LoadingScreen loading;  // the loader's next step and the spinner
    SavedData saved;        // loaded at start, written by SaveAll
    InputSnapshot input;    // sampled at the start of every update
    FrameTiming timing;     // measured by every update and render
    DrawList drawList;      // rebuilt by every update, replayed by every render
    TitleState title;       // the title screen and the chosen difficulty
    CreditsPanel credits;   // the credits panel over the title
    MatchState match;       // cleared by StartMatch
    PausePanel pause;       // the pause panel over a match
    TimeUpState timeUp;     // the overlay as a match ends
    // The pen, cues, input, screen and clock handed to the play layer; made
    // over the parts above, so it comes last.
    Frame frame;

  private:
    void PlayEffect(const SoundCue& cue);
};
