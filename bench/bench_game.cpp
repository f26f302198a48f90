// The game core's per-frame CPU cost on the headless harness: one update of
// the loaded title screen, and the replay of a full draw list (2499 commands)
// with GL submission stubbed out by the counting backend.
#include <benchmark/benchmark.h>

#include <memory>

#include "full_draw_list.h"
#include "support/game_harness.h"

namespace {

// A loaded game on the title screen.
std::unique_ptr<GameHarness> LoadedGame() {
    auto h = std::make_unique<GameHarness>();
    h->FinishLoading();
    h->Step(40);
    return h;
}

void BM_TitleUpdate(benchmark::State& state) {
    auto h = LoadedGame();
    for (auto _ : state) h->Update();
    state.SetLabel("HandleUpdate, title mode, loaded");
}
BENCHMARK(BM_TitleUpdate)->Unit(benchmark::kMicrosecond);

void BM_FillDrawList(benchmark::State& state) {
    auto h = LoadedGame();
    for (auto _ : state) {
        FillFullDrawList(h->App());
        benchmark::DoNotOptimize(h->App().drawList.commands.data());
    }
    state.counters["commands"] = h->App().drawList.CommandCount();
}
BENCHMARK(BM_FillDrawList)->Unit(benchmark::kMicrosecond);

void BM_ReplayFullDrawList(benchmark::State& state) {
    auto h = LoadedGame();
    FillFullDrawList(h->App());
    for (auto _ : state) h->Render();
    state.counters["commands"] = h->App().drawList.CommandCount();
}
BENCHMARK(BM_ReplayFullDrawList)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
