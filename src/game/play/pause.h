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
    int paused = 0, panelDirection = 0, panelY = 0, panelChoice = 0, pauseStamp = 0;

    // The pause icon every update of a match, then the panel while paused.
    PauseReport Update(int32_t& soundMode, Frame& frame);
};
