// The fixed-rate schedule every platform's frame loop drives: updates fall due
// one period apart, a late frame catches up at most four of them before it
// renders, and a longer stall drops the backlog instead of racing through it.
#pragma once

#include <functional>

class ScheduledGame;

class FrameSchedule {
  public:
    static constexpr int kCatchUpLimit = 4;

    // A new rate restarts the schedule: the first update falls due one period
    // from `now`. Rate 0 stops updates (the period is kept).
    void SetRate(int rate, double now);
    // The next update falls due at once (resuming after a suspend).
    void Restart(double now);

    // For a loop whose passes come on the display's refreshes (the browser's
    // animation frames), whose clock is read a little late by a varying
    // amount: a pass runs the next update when it falls due within `fraction`
    // of a period after the pass, so an update due right at a refresh cannot
    // flip between this frame and the next with each frame's delay. Further
    // updates of the same pass (the catch-up) still run only when due, which
    // keeps a margin on both sides. A rate set or a restart made between
    // passes takes the next pass as its start. 0 (the default) is the plain
    // rule of a loop that sleeps until an update is due. A loop that sleeps
    // with a tolerance wakes when the next update enters it.
    void SetFrameTolerance(double fraction);
    // The tolerance of loops whose passes come on refreshes (animation
    // frames, or swaps that wait for the display).
    static constexpr double kRefreshTolerance = 0.25;

    double NextTick() const { return nextTick_; }
    double Period() const { return period_; }
    // Seconds until the next update is due; <= 0 when one is due now.
    double Delay(double now) const { return nextTick_ - now; }

    // Runs the due updates (at least one, at most kCatchUpLimit) and then one
    // render. The clock is read again after each update: updates take time.
    // An update may change the rate through the game; rate 0 ends the batch.
    void RunBatch(ScheduledGame& game, const std::function<double()>& now);

    // What a pass asks of its loop: block until events come (nothing is due
    // while suspended or stopped), wait `delay` seconds, or nothing (it ran).
    enum class Outcome { WaitForEvents, WaitUntilDue, Ran };
    struct Pass {
        Outcome outcome;
        double delay = 0;
    };
    // One pass of a frame loop after its events: a hidden window (iconified,
    // or a page in a background tab) suspends the game once; the window back
    // and active resumes it and restarts the schedule at that moment. Then
    // the due updates and a render, or a render alone while nothing runs.
    // `onRefresh`: the pass comes on a display refresh (an animation frame,
    // a swap's return), not on an event that woke a waiting loop; with a
    // tolerance, a resume on such an event only shows the game again, and
    // the schedule starts half a period after the next pass.
    Pass Step(ScheduledGame& game, bool hidden, bool active, bool onRefresh,
              const std::function<double()>& now);
    // Whether the last Step saw the window hidden (nothing is rendered then).
    bool Hidden() const { return hidden_; }

  private:
    // How far ahead of its time a pass may run the next update.
    double Tolerance() const { return tolerance_ * period_; }
    Pass RunPass(ScheduledGame& game, bool hidden, bool active, bool onRefresh,
                 const std::function<double()>& now);

    double nextTick_ = 0;
    double period_ = 0;
    bool hidden_ = false;
    double tolerance_ = 0;
    bool inPass_ = false;
    // A start made between passes, waiting for the next pass: the first
    // update falls due this long after it.
    bool anchorPending_ = false;
    double anchorDelay_ = 0;
};
