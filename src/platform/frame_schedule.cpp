#include "platform/frame_schedule.h"

#include "platform/views.h"

void FrameSchedule::SetRate(int rate, double now) {
    if (rate == 0) return;
    period_ = 1.0 / rate;
    nextTick_ = now + period_;
    anchorPending_ = tolerance_ > 0 && !inPass_;
    anchorDelay_ = period_;
}

void FrameSchedule::Restart(double now) {
    nextTick_ = now;
    anchorPending_ = tolerance_ > 0 && !inPass_;
    anchorDelay_ = 0;
}

void FrameSchedule::SetFrameTolerance(double fraction) {
    tolerance_ = fraction > 0 && fraction < 1 ? fraction : 0;
    if (tolerance_ == 0) anchorPending_ = false;
}

void FrameSchedule::RunBatch(ScheduledGame& game, const std::function<double()>& now) {
    int count = 0;
    for (;;) {
        nextTick_ += period_;
        game.GameUpdate();
        if (game.TickRate() == 0) break;
        if (nextTick_ - now() > 0) break;
        if (++count == kCatchUpLimit) break;
    }
    game.GameRender();
    // Drop the backlog: the schedule starts again from the present.
    if (game.TickRate() != 0 && count == kCatchUpLimit) nextTick_ = now();
}

FrameSchedule::Pass FrameSchedule::Step(ScheduledGame& game, bool hidden, bool active,
                                        bool onRefresh, const std::function<double()>& now) {
    inPass_ = true;
    Pass pass = RunPass(game, hidden, active, onRefresh, now);
    inPass_ = false;
    return pass;
}

FrameSchedule::Pass FrameSchedule::RunPass(ScheduledGame& game, bool hidden, bool active,
                                           bool onRefresh, const std::function<double()>& now) {
    if (anchorPending_) {
        nextTick_ = now() + anchorDelay_;
        anchorPending_ = false;
    }
    if (hidden) {
        if (!game.Suspended()) {
            hidden_ = true;
            game.GameSuspend();
        }
    } else if (active && game.Suspended()) {
        hidden_ = false;
        game.GameResume();
        Restart(now());
        if (tolerance_ > 0 && !onRefresh) {
            // The event came at any point of a refresh. Half a period after
            // the next pass, which follows this one's swap, an update runs a
            // quarter period after a refresh: clear of both edges at 60 Hz
            // and at 120.
            anchorPending_ = true;
            anchorDelay_ = period_ / 2;
            game.GameRender();
            return {Outcome::Ran};
        }
    }
    if (game.TickRate() == 0 || game.Suspended()) {
        if (!hidden_) game.GameRender();
        return {Outcome::WaitForEvents};
    }
    double delay = Delay(now());
    if (delay > Tolerance()) return {Outcome::WaitUntilDue, delay - Tolerance()};
    RunBatch(game, now);
    return {Outcome::Ran};
}
