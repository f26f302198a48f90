// The whole-frame workload in a browser: our renderer on its WebGL backend
// beside the WebGL floor, the same calls made with the vertices ready. Each
// has a 64×64 canvas and context of its own; the page's animation callback
// draws one frame of one of them, round after round, and times the frame's
// calls (the browser presents when the callback returns). The results go to
// Module.benchResults for the page's test to read.
#include <GLES2/gl2.h>
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <cstring>
#include <memory>
#include <vector>

#include "../renderer_workload.h"
#include "graphics/gles2_backend.h"

namespace {

using namespace sprite_workload;

constexpr int kRounds = 3;
constexpr int kWarmFrames = 10;
constexpr int kTimedFrames = 60;

// One frame of the workload through the framework, as the game draws.
void DrawFrame(PlGraphics& graphics, c_Image* sprite) {
    SetGraphicsDevice(&graphics);
    graphics.FrameBegin();
    BeginRenderState();
    Clear(0, 0, 0);
    PaintSprites(sprite);
    EndRenderState();
    graphics.FrameEnd();
}

EMSCRIPTEN_WEBGL_CONTEXT_HANDLE OpenContext(const char* canvas) {
    emscripten_set_canvas_element_size(canvas, kWindowSize, kWindowSize);
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.alpha = EM_FALSE;  // as the game's canvas
    attributes.depth = EM_FALSE;
    attributes.stencil = EM_FALSE;
    attributes.antialias = EM_FALSE;
    attributes.majorVersion = 1;
    return emscripten_webgl_create_context(canvas, &attributes);
}

// Ours: the renderer and its sprite on their own canvas.
struct Ours {
    EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = 0;
    std::unique_ptr<PlGraphics> graphics;
    std::shared_ptr<c_Image> sprite;

    bool Open() {
        context = OpenContext("#ours");
        if (context <= 0) return false;
        emscripten_webgl_make_context_current(context);
        graphics = std::make_unique<PlGraphics>(MakeGles2Backend());
        graphics->SetSize(kWindowSize, kWindowSize);
        sprite = SpriteImage(*graphics);
        return true;
    }
    void Frame() {
        emscripten_webgl_make_context_current(context);
        DrawFrame(*graphics, sprite.get());
    }
};

// The floor: one frame through our renderer leaves the context as ours
// keeps it (the shader pair, the buffers, the texture bound, blending); the
// timed frames then make only the calls our backend makes per frame: clear,
// and per batch the vertex upload, the index buffer's binding and the draw.
struct Floor {
    EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = 0;
    std::unique_ptr<PlGraphics> graphics;
    std::shared_ptr<c_Image> sprite;
    std::vector<Vertex> vertices;
    std::vector<int> batchQuads;
    GLuint indexBuffer = 0;

    bool Open() {
        RecordedFrame recorded = RecordWorkload();
        vertices = std::move(recorded.vertices);
        batchQuads = std::move(recorded.batchQuads);
        context = OpenContext("#floor");
        if (context <= 0) return false;
        emscripten_webgl_make_context_current(context);
        graphics = std::make_unique<PlGraphics>(MakeGles2Backend());
        graphics->SetSize(kWindowSize, kWindowSize);
        sprite = SpriteImage(*graphics);
        DrawFrame(*graphics, sprite.get());
        GLint bound = 0;
        glGetIntegerv(GL_ELEMENT_ARRAY_BUFFER_BINDING, &bound);
        indexBuffer = static_cast<GLuint>(bound);
        return true;
    }
    void Frame() {
        emscripten_webgl_make_context_current(context);
        glClear(GL_COLOR_BUFFER_BIT);
        const Vertex* next = vertices.data();
        for (int quads : batchQuads) {
            glBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(sizeof(Vertex)) * 4 * quads,
                            next);
            glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer);
            glDrawElements(GL_TRIANGLES, quads * 6, GL_UNSIGNED_SHORT, nullptr);
            next += 4 * quads;
        }
    }
};

Ours ours;
Floor floorFrame;

// The schedule: per round, ours then the floor, each warmed up first.
struct Run {
    int round = 0;
    bool floorTurn = false;
    int frame = 0;
    double sums[2][kRounds] = {};
};
Run run;

// True when both canvases show the same picture after one more frame each.
bool SamePicture() {
    std::vector<uint8_t> a(kWindowSize * kWindowSize * 4), b(a.size());
    ours.Frame();
    glReadPixels(0, 0, kWindowSize, kWindowSize, GL_RGBA, GL_UNSIGNED_BYTE, a.data());
    floorFrame.Frame();
    glReadPixels(0, 0, kWindowSize, kWindowSize, GL_RGBA, GL_UNSIGNED_BYTE, b.data());
    return a == b;
}

// The figures for the page's test: per round, the summed milliseconds of the
// timed frames. (Commas in the script stand inside parentheses: the macro
// splits its arguments at the others.)
static_assert(kRounds == 3, "Report passes three rounds");

void Report() {
    const bool same = SamePicture();
    const double* o = run.sums[0];
    const double* f = run.sums[1];
    // clang-format off
    EM_ASM({
        Module.benchResults = ({sprites: $0, framesPerRound: $1, oursRounds: ([$2, $3, $4]),
                                floorRounds: ([$5, $6, $7]), samePicture: ($8 != 0)});
    }, kSprites, kTimedFrames, o[0], o[1], o[2], f[0], f[1], f[2], same);
    // clang-format on
}

EM_BOOL OnAnimationFrame(double, void*) {
    const double t0 = emscripten_get_now();
    if (run.floorTurn)
        floorFrame.Frame();
    else
        ours.Frame();
    const double elapsed = emscripten_get_now() - t0;
    if (run.frame >= kWarmFrames) run.sums[run.floorTurn][run.round] += elapsed;
    if (++run.frame < kWarmFrames + kTimedFrames) return EM_TRUE;
    run.frame = 0;
    run.floorTurn = !run.floorTurn;
    if (!run.floorTurn && ++run.round == kRounds) {
        Report();
        return EM_FALSE;
    }
    return EM_TRUE;
}

}  // namespace

int main() {
    if (!ours.Open() || !floorFrame.Open()) {
        // clang-format off
        EM_ASM({ Module.benchResults = {error: "no WebGL context"}; });
        // clang-format on
        return 1;
    }
    emscripten_request_animation_frame_loop(OnAnimationFrame, nullptr);
    return 0;
}
