// x86-64: four lanes in SSE2 everywhere, eight in 256-bit registers where the
// processor has AVX2, chosen once at run time. No fused multiply-adds in
// either (AVX2 alone has none), so both round alike.
#include "graphics/sprite_place.h"

namespace {

[[gnu::target("avx2")]] void PlaceAvx2(QueuedSprites& queue, Vertex* vertices) {
    sprite_place::PlaceAll<sprite_math::Float8>(queue, vertices);
}

}  // namespace

SpritePlacer PortableSpritePlacer() {
    return sprite_place::PlaceFour;
}

SpritePlacer FastestSpritePlacer() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") ? PlaceAvx2 : sprite_place::PlaceFour;
}
