// The pause icon and the pause panel over a running match: quit, resume and
// sound, worked with the pointer or the controls.
#pragma once

#include <cstdint>

#include "game/play/frame.h"

// What the core must act on after the panel's update.
struct PauseReport {
    bool quit = false;     // the match ends with the score so far
    int clockShiftMs = 0;  // paused time to push the match's start past
};

struct PausePanel {
    int paused = 0, panelDirection = 0, panelY = 0, panelChoice = 0;
    int pauseStamp = kNone;  // the clock at the last paused moment measured

    // The pause icon every update of a match, then the panel while paused.
    PauseReport Update(int32_t& soundMode, Frame& frame);
    // Paused time is measured from now on, unless it already is.
    void StartMeasuring(int nowMs);
    // Paused time since the last measure (0 when none is running), measured
    // again from now: what the match clock must be pushed past.
    int TakePausedTime(int nowMs);
};
