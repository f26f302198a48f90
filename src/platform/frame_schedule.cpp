#include "platform/frame_schedule.h"

#include "platform/platform_game.h"

void FrameSchedule::SetRate(int rate, double now) {
    if (rate == 0) return;
    period_ = 1.0 / rate;
    nextTick_ = now + period_;
}

void FrameSchedule::RunBatch(PlGame& game, const std::function<double()>& now) {
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

FrameSchedule::Pass FrameSchedule::Step(PlGame& game, bool hidden, bool active,
                                        const std::function<double()>& now) {
    if (hidden) {
        if (!game.Suspended()) {
            hidden_ = true;
            game.GameSuspend();
        }
    } else if (active && game.Suspended()) {
        hidden_ = false;
        game.GameResume();
        Restart(now());
    }
    if (game.TickRate() == 0 || game.Suspended()) {
        if (!hidden_) game.GameRender();
        return {Outcome::WaitForEvents};
    }
    double delay = Delay(now());
    if (delay > 0) return {Outcome::WaitUntilDue, delay};
    RunBatch(game, now);
    return {Outcome::Ran};
}
