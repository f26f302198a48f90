// CPU cost of one match update with the play field full, on a headless
// platform (no GL, no audio device: sound calls stop at the missing device).
#include <benchmark/benchmark.h>

#include <array>
#include <memory>

#include "game/screens/my_app.h"
#include "platform/headless/headless_game.h"

namespace {

using Pool = std::array<float, c_MyApp::kPoolSize>;

// A game object in a running match, without devices.
struct MatchBench {
    PlHeadlessGame platform{".", "/dev/null"};
    std::unique_ptr<c_MyApp> app;

    MatchBench() {
        platform.nowMs = 1000;
        app = std::make_unique<c_MyApp>();
        app->settings[5] = 1;
        app->difficulty = 3;
        app->imageGeometry[3 * app->currentFont] = 8;  // the font's advance and line height
        app->imageGeometry[3 * app->currentFont + 1] = 8;
        app->StartMatch();
    }
};

void PutRecord(Pool& pool, int k, std::initializer_list<float> entries) {
    int i = 10 * k;
    for (float v : entries) pool[i++] = v;
}

// 101 flying toothpicks along the top, 100 spiders along the bottom: every
// toothpick scans all 201 records and no hit ends the work early.
Pool FullFieldNoHits() {
    Pool pool{};
    for (int k = 0; k < 101; k++) PutRecord(pool, k, {11, 20.0f + 6 * k, 40, 0.5f, 0, 90, 0, 0, 1});
    for (int k = 101; k < 201; k++) {
        PutRecord(pool, k, {21, 20.0f + 6 * (k - 101), 420, 0, 0, 90, 1, 0, 0});
    }
    return pool;
}

// One toothpick on top of 190 spiders and 10 more toothpicks: every spider dies
// in one update, each kill adding a score and debris until the effect pool is full.
Pool FullFieldAllHits() {
    Pool pool{};
    for (int k = 0; k < 11; k++) PutRecord(pool, k, {11, 300, 300.0f + k, 0, 6, 180, 0, 0, 1});
    for (int k = 11; k < 201; k++) PutRecord(pool, k, {21, 300, 306, 0, 0, 0, 1, 0, 0});
    return pool;
}

// Restores the field each iteration (an 8 KB copy, counted in the time).
void RunFull(benchmark::State& state, const Pool& field) {
    MatchBench bench;
    c_MyApp& app = *bench.app;
    for (auto _ : state) {
        app.fieldRecords = field;
        app.effectRecords.fill(0);
        app.UpdateMatch();
        benchmark::DoNotOptimize(app.drawCount);
    }
}

void BM_UpdateMatchFullFieldNoHits(benchmark::State& state) {
    RunFull(state, FullFieldNoHits());
}
void BM_UpdateMatchFullFieldAllHits(benchmark::State& state) {
    RunFull(state, FullFieldAllHits());
}

// The pool copy alone, to subtract from the figures above.
void BM_RestoreFieldOnly(benchmark::State& state) {
    MatchBench bench;
    Pool field = FullFieldAllHits();
    for (auto _ : state) {
        bench.app->fieldRecords = field;
        bench.app->effectRecords.fill(0);
        benchmark::ClobberMemory();
    }
}

// A plain match: the field as play leaves it after a few seconds.
void BM_UpdateMatchOrdinary(benchmark::State& state) {
    MatchBench bench;
    for (int i = 0; i < 300; i++) {
        bench.platform.Advance(17);
        bench.app->UpdateMatch();
    }
    for (auto _ : state) {
        bench.app->UpdateMatch();
        benchmark::DoNotOptimize(bench.app->drawCount);
    }
}

}  // namespace

BENCHMARK(BM_UpdateMatchFullFieldNoHits)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UpdateMatchFullFieldAllHits)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RestoreFieldOnly)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UpdateMatchOrdinary)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
