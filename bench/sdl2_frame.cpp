// The peer figure: the shared sprite workload drawn by SDL2's own renderer
// (its OpenGL driver), each sprite with SDL_RenderCopyExF after setting the
// texture's colour and alpha modulation, into a 64×64 window. Reports the same
// counters as BM_WholeFrameGl, measured the same way.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include "sprite_workload.h"

namespace {

using namespace sprite_workload;

void BM_WholeFrameSdl2(benchmark::State& state) {
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "opengl");
    SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
    // Naming a driver turns SDL's command batching off unless asked for: the
    // peer is measured at its best, batched like ours.
    SDL_SetHint(SDL_HINT_RENDER_BATCHING, "1");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        state.SkipWithError(SDL_GetError());
        return;
    }
    SDL_Window* window = SDL_CreateWindow("bench", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                                          kWindowSize, kWindowSize, 0);
    SDL_Renderer* renderer =
        window ? SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED) : nullptr;
    SDL_RendererInfo info{};
    if (!renderer || SDL_GetRendererInfo(renderer, &info) != 0 ||
        SDL_strcmp(info.name, "opengl") != 0) {
        state.SkipWithError("no SDL2 opengl renderer");
        if (renderer) SDL_DestroyRenderer(renderer);
        if (window) SDL_DestroyWindow(window);
        SDL_Quit();
        return;
    }
    SDL_Texture* texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888,
                                             SDL_TEXTUREACCESS_STATIC, kTextureSize, kTextureSize);
    const auto pixels = TexturePixels();
    SDL_UpdateTexture(texture, nullptr, pixels.data(), kTextureSize * 4);
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
    const auto& sprites = Sprites();

    FrameTimes times;
    for (auto _ : state) {
        const double t0 = ThreadCpuNs();
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
        SDL_RenderClear(renderer);
        const double t1 = ThreadCpuNs();
        for (const Sprite& s : sprites) {
            const float half = kTextureSize * 0.5f * s.scale;
            const SDL_FRect dst{s.x - half, s.y - half, 2 * half, 2 * half};
            const SDL_FPoint centre{half, half};
            SDL_SetTextureColorMod(texture, static_cast<Uint8>(s.r), static_cast<Uint8>(s.g),
                                   static_cast<Uint8>(s.b));
            SDL_SetTextureAlphaMod(texture, static_cast<Uint8>(s.alpha * 255));
            // SDL turns clockwise, the framework counter-clockwise: the same picture.
            SDL_RenderCopyExF(renderer, texture, nullptr, &dst, -s.rotation, &centre,
                              SDL_FLIP_NONE);
        }
        const double t2 = ThreadCpuNs();
        SDL_RenderPresent(renderer);
        const double t3 = ThreadCpuNs();
        state.SetIterationTime(times.Add(t0, t1, t2, t3));
    }
    state.counters["perSprite"] = times.PerSprite();
    state.counters["submitPerSprite"] = times.SubmitPerSprite();

    SDL_DestroyTexture(texture);
    SDL_DestroyRenderer(renderer);
    SDL_DestroyWindow(window);
    SDL_Quit();
}
BENCHMARK(BM_WholeFrameSdl2)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
