// The placer for processors with one kind of vector register: four lanes,
// which every SIMD unit we target holds.
#include "graphics/sprite_place.h"

namespace {

void Place(QueuedSprites& queue, Vertex* vertices) {
    sprite_place::PlaceAll<sprite_math::Float4>(queue, vertices);
}

}  // namespace

SpritePlacer PortableSpritePlacer() {
    return Place;
}
SpritePlacer FastestSpritePlacer() {
    return Place;
}
