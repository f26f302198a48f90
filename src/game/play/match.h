// One timed match on a Frame: the state it keeps between updates and the
// rules that move it. It reports what the core must act on instead of
// reaching into the rest of the game.
#pragma once

#include "game/play/frame.h"
#include "game/play/records.h"

// What the core must act on after a match update.
struct MatchReport {
    bool ended = false;  // the time ran out in this update: the core stops the music
};

// Cleared by Start, except shownScore (which rolls down from the last
// match's score) and the aim, which every update recomputes.
struct MatchState {
    int score = 0, shownScore = 0, secondsLeft = 0, matchStart = 0, matchLength = 0;
    int matchOver = 0, heldCharge = 0, hurtTimer = 0, spiderCap = 0, tickThreshold = 0;
    int toothpickCount = 0, spiderCount = 0, toothpickHalfLength = 0;
    int secondsShown = 0;  // the copy of secondsLeft the time-up overlay reads
    int difficulty = 0;    // 1..3 as chosen for this match; on 1 the spider cap stays at 3
    float aimDistance = 0, aimAngle = 0;
    // While the field loop runs, effect records are only taken, never freed:
    // once the effect pool is found full it stays full until the loop ends.
    bool inFieldLoop = false, effectPoolFull = false;
    RecordPool fieldRecords{};
    RecordPool effectRecords{};

    // A new match on difficulty 1..3: the generator seeded from the clock, the
    // pools cleared, up to five toothpicks away from the centre and the pointer.
    void Start(int chosenDifficulty, Frame& frame);
    // One update: aim, throw, effects, the field (frozen and hidden while
    // paused), new arrivals, the score and the clock.
    MatchReport Update(bool paused, Frame& frame);
    // The match is over and the hand empties; true when it was still running.
    bool End();
    // Ended from the pause panel: as at a real time-up, the countdown falls silent.
    bool Quit();
};
