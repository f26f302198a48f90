// The placer for processors with one kind of vector register: the compiler's
// own lowering of the eight lanes.
#include "graphics/sprite_place.h"

namespace {

void Place(QueuedSprites& queue, Vertex* vertices) {
    sprite_place::PlaceAll(queue, vertices);
}

}  // namespace

SpritePlacer PortableSpritePlacer() {
    return Place;
}
SpritePlacer FastestSpritePlacer() {
    return Place;
}
