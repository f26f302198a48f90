// The loading screen: the loader's progress through its steps and the spinner
// that turns while the files come in. It decides which step is due and draws
// the picture; the loader above it reads the files the step names.
#pragma once

#include "game/play/frame.h"

// What the loader must do after the loading screen's update.
struct LoadingReport {
    int step = 0;           // the loader step to carry out now, 1..kLastStep; 0 for none
    bool finished = false;  // that step is the last: the screens run again from the next update
};

struct LoadingScreen {
    static constexpr int kLastStep = 21;  // loads nothing; ends the loading
    static constexpr int kSpinnerStep = 16;

    int loadStep = 0;      // the next step; 0 once everything is loaded
    int spinnerAngle = 0;  // degrees; never reset, not even by a reload

    // Every step again from the first, at the next update.
    void Restart() { loadStep = 1; }
    bool Loading() const { return loadStep > 0; }
    // Takes the due step, moves on (or ends after the last one) and draws the
    // screen, the last step's too. Nothing is due while nothing loads.
    LoadingReport Update(Frame& frame);
    // The picture at the current spinner angle; changes nothing.
    void Draw(Frame& frame) const;
};
