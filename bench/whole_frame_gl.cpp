// Whole frames on real GL: the shared sprite workload through the real
// renderer into a real 64×64 GLFW window (Mesa under Xvfb here). Most sprites
// land outside the window, so what is measured is the drawing thread's CPU
// path: submission, batching, GL state and draw calls, swap. Beside it, the
// same frames on the counting backend.
#include <GLFW/glfw3.h>
#include <benchmark/benchmark.h>

#include <memory>

#include "graphics/context.h"
#include "graphics/image.h"
#include "graphics/renderer.h"
#include "platform/glfw/glfw_game.h"
#include "sprite_workload.h"

namespace {

using namespace sprite_workload;

// Runs the frames and sets the counters; the platform decides where they go.
void RunFrames(benchmark::State& state, PlGraphics& graphics) {
    SetGraphicsDevice(&graphics);
    auto surface = graphics.BlankSurface(kTextureSize, kTextureSize);
    const auto pixels = TexturePixels();
    graphics.WritePixels(surface.get(),
                         {reinterpret_cast<const int32_t*>(pixels.data()), pixels.size()}, 0, 0,
                         kTextureSize, kTextureSize, 0, kTextureSize);
    auto image = std::make_shared<c_Image>()->Init(surface, 1, CentreHandle);
    c_Image* sprite = image.get();
    const auto& sprites = Sprites();
    const GlCallCounts callsBefore = graphics.Backend()->Calls();

    FrameTimes times;
    for (auto _ : state) {
        const double t0 = ThreadCpuNs();
        graphics.FrameBegin();
        BeginRenderState();
        Clear(0, 0, 0);
        const double t1 = ThreadCpuNs();
        for (const Sprite& s : sprites) {
            SetColor(s.r, s.g, s.b);
            SetAlpha(s.alpha);
            PaintImage(sprite, s.x, s.y, s.rotation, s.scale, s.scale, 0);
        }
        const double t2 = ThreadCpuNs();
        EndRenderState();
        graphics.FrameEnd();
        const double t3 = ThreadCpuNs();
        times.frameNs += t3 - t0;
        times.submitNs += t2 - t1;
        times.frames++;
        state.SetIterationTime((t3 - t0) * 1e-9);
    }
    state.counters["perSprite"] = times.PerSprite();
    state.counters["submitPerSprite"] = times.SubmitPerSprite();
    state.counters["drawCalls"] = graphics.LastFrame().drawCalls;
    const GlCallCounts& calls = graphics.Backend()->Calls();
    if (times.frames > 0) {
        state.counters["stateChangesPerFrame"] =
            static_cast<double>(calls.StateChanges() - callsBefore.StateChanges()) /
            static_cast<double>(times.frames);
    }
    SetGraphicsDevice(nullptr);
}

void BM_WholeFrameGl(benchmark::State& state) {
    if (!glfwInit()) {
        state.SkipWithError("no display: run under Xvfb");
        return;
    }
    glfwWindowHint(GLFW_RESIZABLE, GLFW_FALSE);
    GLFWwindow* window = glfwCreateWindow(kWindowSize, kWindowSize, "bench", nullptr, nullptr);
    if (!window) {
        glfwTerminate();
        state.SkipWithError("no GL window");
        return;
    }
    glfwMakeContextCurrent(window);
    glfwSwapInterval(0);
    {
        PlGlfwGame platform;
        platform.SetWindow(window);
        PlGraphics graphics(MakeOpenGlBackend(), &platform);
        RunFrames(state, graphics);
    }
    glfwDestroyWindow(window);
    glfwTerminate();
}
BENCHMARK(BM_WholeFrameGl)->UseManualTime()->Unit(benchmark::kMicrosecond);

// The same frames on the counting backend: the renderer's own CPU path, without
// Mesa's vertex work inside the draw calls or the swap.
void BM_WholeFrameNull(benchmark::State& state) {
    PlGraphics graphics(std::make_unique<NullGlBackend>());
    graphics.SetSize(kWindowSize, kWindowSize);
    RunFrames(state, graphics);
}
BENCHMARK(BM_WholeFrameNull)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
