// The game core's per-frame CPU cost on the headless harness: one update of
// the loaded title screen, and the replay of a full draw list (2499 commands)
// with GL submission stubbed out by the counting backend.
#include <benchmark/benchmark.h>

#include <memory>

#include "support/game_harness.h"

namespace {

// A loaded game on the title screen.
std::unique_ptr<GameHarness> LoadedGame() {
    auto h = std::make_unique<GameHarness>();
    h->FinishLoading();
    h->Step(40);
    return h;
}

// A frame as busy as the list allows: sprites of two sheets, text and shapes.
void FillDrawList(c_MyApp& app) {
    app.BeginDrawList(0, 0, 0, 1);
    int i = 0;
    while (app.DrawCount() < c_MyApp::kDrawListLimit) {
        auto x = static_cast<float>(i * 37 % 640), y = static_cast<float>(i * 53 % 480);
        switch (i % 5) {
            case 0:
            case 1:
                app.SetDrawRotation(static_cast<float>(i % 360));
                app.QueueImage(1, x, y, static_cast<float>(i % 8));
                break;
            case 2:
                app.QueueText(x, y, u"SCORE 1234", 0, 0);
                break;
            case 3:
                app.QueueRect(x, y, 20, 10);
                break;
            default:
                app.QueueEllipse(x, y, 8, 8);
                break;
        }
        i++;
    }
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
        FillDrawList(h->App());
        benchmark::DoNotOptimize(h->App().drawList.data());
    }
    state.counters["commands"] = h->App().DrawCount() / c_MyApp::kCommandSize;
}
BENCHMARK(BM_FillDrawList)->Unit(benchmark::kMicrosecond);

void BM_ReplayFullDrawList(benchmark::State& state) {
    auto h = LoadedGame();
    FillDrawList(h->App());
    for (auto _ : state) h->Render();
    state.counters["commands"] = h->App().DrawCount() / c_MyApp::kCommandSize;
}
BENCHMARK(BM_ReplayFullDrawList)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
