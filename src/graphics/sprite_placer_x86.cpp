// x86-64: SSE2 everywhere, and the same code in 256-bit registers where the
// processor has AVX2, chosen once at run time. No fused multiply-adds in
// either (AVX2 alone has none), so both round alike.
#include "graphics/sprite_place.h"

namespace {

void PlaceSse2(QueuedSprites& queue, Vertex* vertices) {
    sprite_place::PlaceAll(queue, vertices);
}

[[gnu::target("avx2")]] void PlaceAvx2(QueuedSprites& queue, Vertex* vertices) {
    sprite_place::PlaceAll(queue, vertices);
}

}  // namespace

SpritePlacer PortableSpritePlacer() {
    return PlaceSse2;
}

SpritePlacer FastestSpritePlacer() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") ? PlaceAvx2 : PlaceSse2;
}
