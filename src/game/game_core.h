// The game's core: the game's state in named parts, allocated once by the
// constructor, and the operations of the core itself (mode machine, draw
// list, controls, match, pause). The screens above it (assets, saves, title,
// time-up, credits) are reached only through the hooks below.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "core/text.h"
#include "framework/app.h"
#include "game/draw_list.h"
#include "game/game_state.h"
#include "game/records.h"
#include "game/text_buffer.h"

// Modes of the mode machine.
enum GameMode { kModeTitle = 1, kModeRecord = 2, kModeMatch = 10, kModeStartMatch = 11 };

// Abstract controls.
enum Control {
    kControlUp = 0,
    kControlLeft = 3,
    kControlRight = 5,
    kControlDown = 8,
    kControlA = 10,
    kControlB = 11,
    kControlC = 12,
    kControlD = 13,
    kControlBack = 99,
};

class c_GameCore : public c_App {
  public:
    c_GameCore();
    ~c_GameCore() override;

    // --- application events (core) ---
    int HandleCreate() override;
    int HandleSuspend() override;
    int HandleResume() override;
    int HandleUpdate() override;
    int HandleRender() override;  // draw list replay

    // --- the screens' hooks: what the core asks of the layer above it ---
    virtual int BeginLoading() = 0;
    virtual int AssetLoadStep() = 0;
    virtual int LoadSaves() = 0;
    virtual int SaveAll() = 0;
    virtual int DrawTitleScreen() = 0;
    virtual int RecordScore() = 0;
    virtual int DrawTimeUp() = 0;
    virtual int DrawCreditsPanel() = 0;

    // --- core services (app_core.cpp) ---
    int NowMs() const;  // the platform clock, 0 without a platform
    int SetTextEntry(int on);
    int ControlDown(int code);  // controls.cpp
    int PlaySfx(int id, float rate, float volume, float pan);
    // Steps of HandleUpdate / HandleResume.
    void ApplySuspendPause();
    void MeasureRate(int& stamp, int& fps, int& average);
    void UpdateLatches();
    void RunModeMachine();
    void QueueDebugLine();

    // --- draw list (draw_list.cpp) ---
    int ResetDrawState();
    int BeginDrawList(float r, float g, float b, float a);
    int SetDrawScale(float sx, float sy = kNoneF);
    int SetDrawRotation(float degrees);
    int SetDrawAlpha(float a);
    int SetDrawColor(float r, float g, float b, float a = kNoneF);
    int QueueImage(int image, float x, float y, float frame);
    int QueueRect(float x, float y, float w, float h);
    int QueueEllipse(float cx, float cy, float rx, float ry);
    int QueueLine(float x1, float y1, float x2, float y2);
    int QueueText(float x, float y, StringView text, float alignX, float alignY);
    int QueueButton(int image, float x, float y, int frame);
    static TextBuffer PadNumber(int n, int width, StringView pad);
    int DrawCount() const { return drawList.drawCount; }
    void ReplayDrawList();

    // --- match (match.cpp) ---
    int StartMatch();
    int UpdateMatch();
    int FreeFieldSlot();
    int FreeEffectSlot();
    int AddScore(int points, int x, int y);
    int SpawnDebris(float x, float y, float angle);
    // The match ends: the hand empties and the music stops once.
    void EndMatch();

    // --- pause (pause.cpp) ---
    int UpdatePauseButton();
    int UpdatePausePanel();

    // ================= state, by owner and lifetime =================
    int mode = 0;          // GameMode; kModeTitle after HandleCreate
    ScreenFit screen;      // refitted by every render
    Media media;           // reloaded whenever the window size changes
    SavedData saved;       // loaded at start, written by SaveAll
    InputSnapshot input;   // sampled at the start of every update
    FrameTiming timing;    // measured by every update and render
    DrawList drawList;     // rebuilt by every update, replayed by every render
    TitleState title;      // the title screen and the chosen difficulty
    CreditsPanel credits;  // the credits panel over the title
    MatchState match;      // cleared by StartMatch
    PausePanel pause;      // the pause panel over a match
    TimeUpState timeUp;    // the overlay as a match ends
};
