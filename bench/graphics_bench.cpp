// Per-sprite CPU cost of rotated, scaled images going into the batch, alone and
// in a full frame replay of the size the game's draw list holds.
#include <benchmark/benchmark.h>

#include <array>
#include <memory>

#include "graphics/context.h"
#include "graphics/image.h"
#include "graphics/renderer.h"

namespace {

constexpr int kFrameCommands = 2499;

// A renderer on the null backend with one 256×256 sheet cut into 64 cells.
struct Scene {
    Scene() : graphics(std::make_unique<NullGlBackend>()) {
        graphics.SetSize(640, 480);
        SetGraphicsDevice(&graphics);
        auto surface = graphics.BlankSurface(256, 256);
        auto whole = std::make_shared<c_Image>()->Init(surface, 1, 0);
        sheet = whole->CutImage(0, 0, 32, 32, 64, CentreHandle);
    }
    ~Scene() {
        EndRenderState();
        SetGraphicsDevice(nullptr);
    }
    PlGraphics graphics;
    std::shared_ptr<c_Image> sheet;
};

// One draw-list command as the game replays it.
struct Command {
    float x, y, rotation, scaleX, scaleY, alpha, r, g, b;
    int frame;
};

std::array<Command, kFrameCommands> MakeCommands() {
    std::array<Command, kFrameCommands> list{};
    for (int i = 0; i < kFrameCommands; i++) {
        list[i] = Command{static_cast<float>(i % 640),
                          static_cast<float>(i * 7 % 480),
                          static_cast<float>(i % 360),
                          1.0f + (i % 5) * 0.25f,
                          1.5f,
                          0.5f + (i % 2) * 0.5f,
                          255,
                          static_cast<float>(i % 256),
                          64,
                          i % 64};
    }
    return list;
}

void BM_PaintImageRotated(benchmark::State& state) {
    Scene scene;
    scene.graphics.FrameBegin();
    BeginRenderState();
    c_Image* image = scene.sheet.get();
    float angle = 0;
    int frame = 0;
    for (auto _ : state) {
        PaintImage(image, 320, 240, angle, 1.5f, 0.75f, frame);
        angle += 1.0f;
        frame = (frame + 1) & 63;
    }
    scene.graphics.FrameEnd();
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PaintImageRotated);

// The same sprites through the matrix: what PaintImage's direct path spares.
void BM_PaintImageThroughMatrix(benchmark::State& state) {
    Scene scene;
    scene.graphics.FrameBegin();
    BeginRenderState();
    c_Image* image = scene.sheet.get();
    float angle = 0;
    int frame = 0;
    for (auto _ : state) {
        PushMatrix();
        TransformSprite(320, 240, angle, 1.5f, 0.75f, image->tx, image->ty);
        PaintImage(image, image->tx, image->ty, frame);
        PopMatrix();
        angle += 1.0f;
        frame = (frame + 1) & 63;
    }
    scene.graphics.FrameEnd();
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PaintImageThroughMatrix);

void BM_FrameReplay(benchmark::State& state) {
    Scene scene;
    static const std::array<Command, kFrameCommands> commands = MakeCommands();
    c_Image* image = scene.sheet.get();
    for (auto _ : state) {
        scene.graphics.FrameBegin();
        BeginRenderState();
        for (const Command& c : commands) {
            SetAlpha(c.alpha);
            SetColor(c.r, c.g, c.b);
            SetBlend(0);
            PaintImage(image, c.x, c.y, c.rotation, c.scaleX, c.scaleY, c.frame);
        }
        EndRenderState();
        scene.graphics.FrameEnd();
    }
    state.SetItemsProcessed(state.iterations() * kFrameCommands);
    state.counters["drawCalls"] = scene.graphics.LastFrame().drawCalls;
    state.counters["perSprite"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kFrameCommands,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_FrameReplay)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
