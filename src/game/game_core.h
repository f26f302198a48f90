// The game's core: the game's state in named parts, allocated once by the
// constructor, and the order of things (the mode machine, when to draw what,
// playing what the play layer cues). The rules of the match, the pause panel
// and the screens live in the play layer below; the loader, the state file,
// the effects and the clock are parts beside the state, each over the state
// it works on.
#pragma once

#include "core/text.h"
#include "framework/app.h"
#include "game/asset_loader.h"
#include "game/effects.h"
#include "game/game_state.h"
#include "game/play/credits_panel.h"
#include "game/play/draw_list.h"
#include "game/play/frame.h"
#include "game/play/loading_screen.h"
#include "game/play/match.h"
#include "game/play/pause.h"
#include "game/play/text_buffer.h"
#include "game/play/time_up.h"
#include "game/play/title_screen.h"
#include "game/state_file.h"

// Modes of the mode machine.
enum GameMode { kModeTitle = 1, kModeRecord = 2, kModeMatch = 10, kModeStartMatch = 11 };

class c_GameCore : public c_App {
  public:
    explicit c_GameCore(PlGame* platform);

    // --- application events (app_core.cpp) ---
    int HandleCreate() override;
    int HandleSuspend() override;
    int HandleResume() override;
    int HandleUpdate() override;
    int HandleRender() override;  // draw list replay

    // The mode machine: the screen of the current mode, then the overlays
    // that follow it, then the cued effects. Past HandleCreate's first mode,
    // the only writer of `mode`.
    void RunModeMachine();
    // A match on the chosen difficulty, unpaused and without an overlay; the
    // mode machine then runs it.
    int StartMatch();
    // One update of the running match; its end stops the music.
    int UpdateMatch();

    // --- the drawing operations under the game's names, on the frame's pen ---
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
    // over the parts above, so it comes after them.
    Frame frame;

    // ================= parts over the state, each handed what it uses =================
    FrameClock clock;      // the platform's clock
    AssetLoader loader;    // media, on the platform's files
    StateFile stateFile;   // saved, on the platform's state file
    EffectPlayer effects;  // the frame's cues over media's channels and sounds
};
