// The end of a match: the "TIME UP" overlay with the rank the score would
// take, and the score's entry into its difficulty's tables.
#pragma once

#include <cstdint>

#include "core/text.h"
#include "game/play/frame.h"

// What the core must act on after the overlay's update.
struct TimeUpReport {
    bool finished = false;  // the overlay ran its length: the score is to be recorded
};

struct TimeUpState {
    static constexpr int kLength = 90;     // updates of the overlay in a finished match
    static constexpr int kFadeStart = 75;  // where the fade over the title screen begins
    static constexpr int kFadeStep = 2;

    int timeUpTimer = 0;
    int rankPosition = 0;  // 1..10 in the best list, 0 for none
    int bandHeight = 0;

    // Grows while the finished match is shown, then fades over the title; the
    // update that reaches the overlay's length reports it and starts the fade.
    // `best` is the best list of ten the score is ranked against.
    TimeUpReport Update(bool matchShown, int score, const int32_t* best, Frame& frame);
    // The overlay at the current step; nothing once the timer is 0.
    void Draw(Frame& frame) const;
};

// The place (1..10) `score` would take in a best list of ten, ties ranking
// above; 0 when it beats none.
int RankOf(int score, const int32_t* best);
// "1st!", "2nd" .. "10th"; empty for 0 or anything out of range.
StringView RankLabel(int rank);
// Enters the score into the best list of ten (only when strictly greater than
// an entry) and always at the head of the recent list of ten.
void EnterScore(int score, int32_t* best, int32_t* recent);
