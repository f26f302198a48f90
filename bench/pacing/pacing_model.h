// The frame loops' rhythm against a display, on a modelled clock: the real
// FrameSchedule (and, for the desktop, the real GLFW loop pass with its sleep
// rule) driven by a display that refreshes at a given rate, frames or wake-ups
// that come a little late by a random amount, and sleeps that end exactly or
// on a timer tick. It counts what each refresh shows: how many new updates
// the picture on screen holds compared with the refresh before.
#pragma once

enum class PacingLoop {
    Browser,   // one pass per animation frame; its picture shows at the next refresh
    VsyncOn,   // the desktop loop; a swap waits for the next refresh
    VsyncOff,  // the desktop loop; a swap returns at once, the picture shows at the next refresh
};

struct PacingCase {
    PacingLoop loop = PacingLoop::Browser;
    double refreshHz = 60;
    // Each animation frame (browser) or each wake-up from a sleep or a swap
    // (desktop) comes late by a uniform random 0..jitterMs.
    double jitterMs = 0;
    // 0: a sleep ends when asked; otherwise on the first tick of this length
    // at or after it (1 ms with a lowered timer period, 15.625 ms Windows' default).
    double sleepTickMs = 0;
    // The loop's frame tolerance, a fraction of the update period (0: an
    // update runs only when due and a window or page shown again restarts
    // the schedule at once).
    double frameTolerance = 0.25;
    // Where inside a refresh the update clock starts, and where it starts
    // again after the window or page was hidden halfway through, 0..1.
    double startPhase = 0;
    double seconds = 600;
    unsigned seed = 1;
};

struct PacingResult {
    long refreshes = 0;   // counted from the first picture with an update, hidden time left out
    long exactlyOne = 0;  // refreshes showing exactly one new update
    long repeats = 0;     // refreshes showing the same picture again
    long jumps = 0;       // refreshes showing two or more new updates
    double longestHoldMs = 0;  // longest time one picture stayed on screen
    double shortestHoldMs = 0;
    double updatesPerSecond = 0;  // while shown

    double OneShare() const { return refreshes ? static_cast<double>(exactlyOne) / refreshes : 0; }
    long Hitches() const { return refreshes - exactlyOne; }
};

PacingResult RunPacing(const PacingCase& c);

// The same case from `phases` start phases spread evenly over a refresh.
struct PacingSweep {
    int phases = 0;
    double meanOneShare = 0;
    double worstOneShare = 1;
    int startsOver5Percent = 0;  // starts where more than 5 % of refreshes hitch
    long mostHitches = 0;        // of the worst start
    double longestHoldMs = 0;
    double shortestHoldMs = 0;
    double minUpdatesPerSecond = 0;
    double maxUpdatesPerSecond = 0;
};

PacingSweep SweepPhases(PacingCase c, int phases);
