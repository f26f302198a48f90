// The placer where the processor has one width of vector register: four lanes.
#include "graphics/sprite_place.h"

SpritePlacer PortableSpritePlacer() {
    return sprite_place::PlaceFour;
}
SpritePlacer FastestSpritePlacer() {
    return sprite_place::PlaceFour;
}
