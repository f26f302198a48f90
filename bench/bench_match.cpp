// CPU cost of one match update with the play field full, on a headless
// platform (no GL, no audio device: sound calls stop at the missing device).
#include <benchmark/benchmark.h>

#include <array>
#include <memory>

#include "game/screens/my_app.h"
#include "platform/headless/headless_game.h"

namespace {

using Pool = RecordPool;

// A game object in a running match, without devices.
struct MatchBench {
    PlHeadlessGame platform{".", "/dev/null"};
    std::unique_ptr<c_MyApp> app;

    MatchBench() {
        platform.nowMs = 1000;
        app = std::make_unique<c_MyApp>(&platform);
        app->saved.SoundMode() = 1;
        app->title.difficulty = 3;
        // The font's advance and line height.
        app->media.imageGeometry[3 * app->media.currentFont] = 8;
        app->media.imageGeometry[3 * app->media.currentFont + 1] = 8;
        app->StartMatch();
    }
};

// A flying toothpick of charge 1 and a walking spider, as the field holds them.
Record Flying(float x, float y, float velX, float velY, float angle) {
    Record r{};
    r.Set(kFlyingOffset + 1);
    r.x = x, r.y = y, r.velX = velX, r.velY = velY, r.angle = angle, r.extra = 1;
    return r;
}
Record Spider(float x, float y, float angle) {
    Record r{};
    r.Set(kSpider);
    r.x = x, r.y = y, r.angle = angle, r.turn = 1;
    return r;
}

// 101 flying toothpicks along the top, 100 spiders along the bottom: every
// toothpick scans all 201 records and no hit ends the work early.
Pool FullFieldNoHits() {
    Pool pool{};
    for (int k = 0; k < 101; k++) pool[k] = Flying(20.0f + 6 * k, 40, 0.5f, 0, 90);
    for (int k = 101; k < kRecords; k++) pool[k] = Spider(20.0f + 6 * (k - 101), 420, 90);
    return pool;
}

// One toothpick on top of 190 spiders and 10 more toothpicks: every spider dies
// in one update, each kill adding a score and debris until the effect pool is full.
Pool FullFieldAllHits() {
    Pool pool{};
    for (int k = 0; k < 11; k++) pool[k] = Flying(300, 300.0f + k, 0, 6, 180);
    for (int k = 11; k < kRecords; k++) pool[k] = Spider(300, 306, 0);
    return pool;
}

// Restores the field each iteration (an 8 KB copy, counted in the time).
void RunFull(benchmark::State& state, const Pool& field) {
    MatchBench bench;
    c_MyApp& app = *bench.app;
    for (auto _ : state) {
        app.match.fieldRecords = field;
        app.match.effectRecords.fill(Record{});
        app.UpdateMatch();
        benchmark::DoNotOptimize(app.drawList.drawCount);
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
        bench.app->match.fieldRecords = field;
        bench.app->match.effectRecords.fill(Record{});
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
        benchmark::DoNotOptimize(bench.app->drawList.drawCount);
    }
}

}  // namespace

BENCHMARK(BM_UpdateMatchFullFieldNoHits)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UpdateMatchFullFieldAllHits)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RestoreFieldOnly)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UpdateMatchOrdinary)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
