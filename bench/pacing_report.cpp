// The pacing model's figures for the performance report: each frame loop
// against displays of common rates, frames or wake-ups late by 0 to 1 ms,
// sleeps that end exactly or on a timer tick, from evenly spread start phases.
//   pacing_report [--phases N] [--seconds S]
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "pacing/pacing_model.h"

namespace {

struct Loop {
    const char* name;
    PacingLoop loop;
    double tickMs;
    double tolerance;
};

// "Before": the loops as they were, an update only when due, no swap
// interval asked for (so vsync as the driver's default has it) and, on
// Windows, sleeps on the system's default tick. "Now": a quarter-period
// tolerance, a resume that starts the schedule at the pass after it, and
// vsync asked for, which only a driver setting that forces it off undoes.
const Loop kLoops[] = {
    {"browser, before", PacingLoop::Browser, 0, 0},
    {"browser, now", PacingLoop::Browser, 0, 0.25},
    {"desktop, vsync on, Linux, before", PacingLoop::VsyncOn, 0, 0},
    {"desktop, vsync on, Linux, now", PacingLoop::VsyncOn, 0, 0.25},
    {"desktop, vsync on, Windows before (15.625 ms tick)", PacingLoop::VsyncOn, 15.625, 0},
    {"desktop, vsync on, Windows now (1 ms timer period)", PacingLoop::VsyncOn, 1, 0.25},
    {"desktop, driver default without vsync, Windows before (15.625 ms tick)", PacingLoop::VsyncOff,
     15.625, 0},
    {"desktop, vsync forced off by a driver, now (precise sleep)", PacingLoop::VsyncOff, 0, 0.25},
};

PacingCase CaseOf(const Loop& loop, double hz, double jitterMs, double seconds) {
    PacingCase c;
    c.loop = loop.loop;
    c.sleepTickMs = loop.tickMs;
    c.frameTolerance = loop.tolerance;
    c.refreshHz = hz;
    c.jitterMs = jitterMs;
    c.seconds = seconds;
    return c;
}

void SixtyHertz(int phases, double seconds) {
    std::printf(
        "| loop (60 Hz) | jitter ms | exactly one new update, mean | worst start |"
        " starts over 5 %% | longest hold ms | updates/s |\n");
    std::printf("| --- | ---: | ---: | ---: | ---: | ---: | ---: |\n");
    for (const Loop& loop : kLoops)
        for (double jitter : {0.0, 0.5, 1.0}) {
            PacingSweep s = SweepPhases(CaseOf(loop, 60, jitter, seconds), phases);
            std::printf("| %s | %.1f | %.3f %% | %.3f %% | %d of %d | %.1f | %.2f |\n", loop.name,
                        jitter, 100 * s.meanOneShare, 100 * s.worstOneShare, s.startsOver5Percent,
                        phases, s.longestHoldMs, s.minUpdatesPerSecond);
            std::fflush(stdout);
        }
}

void OtherRates(int phases, double seconds) {
    // Only a display near 60 Hz can show one new update every refresh; at the
    // others the holds tell whether the updates come evenly.
    std::printf(
        "\n| loop (jitter 1 ms) | display Hz | refreshes not showing exactly one,"
        " worst start (59.94 Hz) | shortest hold ms | longest hold ms | updates/s |\n");
    std::printf("| --- | ---: | ---: | ---: | ---: | ---: |\n");
    for (const Loop& loop : kLoops)
        for (double hz : {59.94, 75.0, 120.0, 144.0}) {
            PacingSweep s = SweepPhases(CaseOf(loop, hz, 1.0, seconds), phases);
            char hitches[32] = "–";
            if (hz < 61) std::snprintf(hitches, sizeof hitches, "%ld", s.mostHitches);
            std::printf("| %s | %.2f | %s | %.1f | %.1f | %.2f–%.2f |\n", loop.name, hz, hitches,
                        s.shortestHoldMs, s.longestHoldMs, s.minUpdatesPerSecond,
                        s.maxUpdatesPerSecond);
            std::fflush(stdout);
        }
}

}  // namespace

int main(int argc, char** argv) {
    int phases = 64;
    double seconds = 600;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--phases")) phases = std::atoi(argv[i + 1]);
        if (!std::strcmp(argv[i], "--seconds")) seconds = std::atof(argv[i + 1]);
    }
    if (phases < 1 || phases > 10000 || !(seconds >= 10 && seconds <= 36000)) {
        std::fprintf(stderr, "pacing_report: --phases 1..10000, --seconds 10..36000\n");
        return 2;
    }
    std::printf("%d start phases, %.0f simulated seconds each\n\n", phases, seconds);
    SixtyHertz(phases, seconds);
    OtherRates(phases, seconds);
    return 0;
}
