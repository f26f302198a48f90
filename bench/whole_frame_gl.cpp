// Whole frames on real GL: the shared sprite workload through the real
// renderer into a real 64×64 GLFW window (Mesa under Xvfb here). Most sprites
// land outside the window, so what is measured is the drawing thread's CPU
// path: submission, batching, GL state and draw calls, swap. Beside it, the
// same frames on the counting backend, and the floor: the GL calls alone.
#include <GL/gl.h>
#include <GL/glext.h>
#include <GLFW/glfw3.h>
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

#include "platform/glfw/glfw_game.h"
#include "renderer_workload.h"

namespace {

using namespace sprite_workload;

// Runs the frames and sets the counters; the platform decides where they go.
void RunFrames(benchmark::State& state, PlGraphics& graphics) {
    SetGraphicsDevice(&graphics);
    auto image = SpriteImage(graphics);
    c_Image* sprite = image.get();
    const GlCallCounts callsBefore = graphics.Backend()->Calls();

    FrameTimes times;
    for (auto _ : state) {
        const double t0 = ThreadCpuNs();
        graphics.FrameBegin();
        BeginRenderState();
        Clear(0, 0, 0);
        const double t1 = ThreadCpuNs();
        PaintSprites(sprite);
        const double t2 = ThreadCpuNs();
        EndRenderState();
        graphics.FrameEnd();
        const double t3 = ThreadCpuNs();
        state.SetIterationTime(times.Add(t0, t1, t2, t3));
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

// The benchmark window: 64×64, fixed size, no waiting for the display.
class BenchWindow {
  public:
    explicit BenchWindow(benchmark::State& state) {
        if (!glfwInit()) {
            state.SkipWithError("no display: run under Xvfb");
            return;
        }
        glfwWindowHint(GLFW_RESIZABLE, GLFW_FALSE);
        window_ = glfwCreateWindow(kWindowSize, kWindowSize, "bench", nullptr, nullptr);
        if (!window_) {
            state.SkipWithError("no GL window");
            return;
        }
        glfwMakeContextCurrent(window_);
        glfwSwapInterval(0);
    }
    ~BenchWindow() {
        if (window_) glfwDestroyWindow(window_);
        glfwTerminate();
    }
    BenchWindow(const BenchWindow&) = delete;
    BenchWindow& operator=(const BenchWindow&) = delete;
    GLFWwindow* Get() const { return window_; }

  private:
    GLFWwindow* window_ = nullptr;
};

void BM_WholeFrameGl(benchmark::State& state) {
    BenchWindow window(state);
    if (!window.Get()) return;
    PlGlfwGame platform;
    platform.SetWindow(window.Get());
    PlGraphics graphics(MakeOpenGlBackend(), &platform, &platform);
    RunFrames(state, graphics);
}
BENCHMARK(BM_WholeFrameGl)->UseManualTime()->Unit(benchmark::kMicrosecond);

// The floor: what the platform costs for these frames. The vertices are
// ready; each frame makes only the GL calls our renderer makes in its steady
// state (clear, one glDrawElements per batch of up to 256 quads from the one
// client array, the texture bound once before the frames) and swaps, in the
// same window. Each batch is copied into the array first, as our renderer
// fills it in place.
void BM_WholeFrameGlFloor(benchmark::State& state) {
    BenchWindow window(state);
    if (!window.Get()) return;
    const RecordedFrame frame = RecordWorkload();
    std::vector<Vertex> batch(PlGraphics::kMaxVertices);
    std::vector<uint16_t> indices(PlGraphics::kMaxQuads * 6);
    for (int i = 0; i < PlGraphics::kMaxQuads; i++) {
        const auto base = static_cast<uint16_t>(i * 4);
        const uint16_t quad[6] = {
            base, static_cast<uint16_t>(base + 1), static_cast<uint16_t>(base + 2),
            base, static_cast<uint16_t>(base + 2), static_cast<uint16_t>(base + 3)};
        std::memcpy(&indices[static_cast<size_t>(i) * 6], quad, sizeof quad);
    }

    int width = 0, height = 0;
    glfwGetFramebufferSize(window.Get(), &width, &height);
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, kWindowSize, kWindowSize, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    const auto* base = reinterpret_cast<const uint8_t*>(batch.data());
    glVertexPointer(2, GL_FLOAT, sizeof(Vertex), base);
    glTexCoordPointer(2, GL_FLOAT, sizeof(Vertex), base + 8);
    glColorPointer(4, GL_UNSIGNED_BYTE, sizeof(Vertex), base + 16);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    const auto pixels = TexturePixels();  // opaque or clear: premultiplied as it is
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, kTextureSize, kTextureSize, 0, GL_BGRA,
                 GL_UNSIGNED_BYTE, pixels.data());
    glEnable(GL_TEXTURE_2D);
    glClearColor(0, 0, 0, 1);

    const size_t batches = frame.batchQuads.size();
    auto drawBatch = [&](size_t b, const Vertex* from) {
        const int quads = frame.batchQuads[b];
        std::memcpy(batch.data(), from, sizeof(Vertex) * 4 * static_cast<size_t>(quads));
        glDrawElements(GL_TRIANGLES, quads * 6, GL_UNSIGNED_SHORT, indices.data());
    };
    FrameTimes times;
    for (auto _ : state) {
        const double t0 = ThreadCpuNs();
        glClear(GL_COLOR_BUFFER_BIT);
        const double t1 = ThreadCpuNs();
        // Like ours: a full batch goes out when the next sprite needs room,
        // the last one at the frame's end.
        const Vertex* next = frame.vertices.data();
        for (size_t b = 0; b + 1 < batches; b++) {
            drawBatch(b, next);
            next += 4 * frame.batchQuads[b];
        }
        const double t2 = ThreadCpuNs();
        if (batches > 0) drawBatch(batches - 1, next);
        glfwSwapBuffers(window.Get());
        const double t3 = ThreadCpuNs();
        state.SetIterationTime(times.Add(t0, t1, t2, t3));
    }
    state.counters["perSprite"] = times.PerSprite();
    state.counters["submitPerSprite"] = times.SubmitPerSprite();
    state.counters["drawCalls"] = static_cast<double>(batches);
    glDeleteTextures(1, &texture);
}
BENCHMARK(BM_WholeFrameGlFloor)->UseManualTime()->Unit(benchmark::kMicrosecond);

// The same frames on the counting backend: the renderer's own CPU path, without
// Mesa's vertex work inside the draw calls or the swap.
void BM_WholeFrameNull(benchmark::State& state) {
    PlGraphics graphics(std::make_unique<NullGlBackend>());
    graphics.SetSize(kWindowSize, kWindowSize);
    RunFrames(state, graphics);
}
BENCHMARK(BM_WholeFrameNull)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
