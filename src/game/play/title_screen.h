// The title screen: background and logo sliding into place, the sound toggle,
// the score lists of the chosen difficulty, the difficulty buttons and the
// maker's logo that opens the credits. Every action is one per press.
#pragma once

#include <cstdint>

#include "game/play/frame.h"

// What the title reads of the rest of the game for one update.
struct TitleView {
    int32_t& soundMode;
    const int32_t* best;    // the chosen difficulty's best list of ten
    const int32_t* recent;  // and its ten most recent scores
    bool creditsOpen;       // the panel over it takes the touches and hides the lists
    int fontLineHeight;     // the current font's, 0 while it is unknown
};

// What the core must act on after the title's update.
struct TitleReport {
    bool startMatch = false;   // at the chosen difficulty
    bool openCredits = false;  // the maker's logo was touched
};

struct TitleState {
    static constexpr int kSlideStart = -32;

    int difficulty = 0;  // 1..3
    int titleSlide = 0;  // from kSlideStart up to 0 as the screen assembles
    int listHeight = 0, lineCount = 0;

    // The screen assembles itself again the next time it shows.
    void Reassemble() { titleSlide = kSlideStart; }
    TitleReport Update(const TitleView& view, Frame& frame);

  private:
    void QueueScoreLists(const TitleView& view, float stripX, Frame& frame);
    void UpdateDifficultyButtons(bool panelClosed, TitleReport& report, Frame& frame);
    void TakeControls(TitleReport& report, Frame& frame);
};
