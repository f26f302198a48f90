#include "core/random.h"

#include <cmath>

namespace {
int32_t seed = 1234;

// Advances the generator and returns a value in [0, 1).
float Next() {
    seed = static_cast<int32_t>(static_cast<uint32_t>(seed) * 1664525u + 1013904223u);
    return static_cast<float>((static_cast<uint32_t>(seed) >> 8) & 0xFFFFFF) * (1.0f / 16777216.0f);
}
}  // namespace

int32_t& RandomSeed() {
    return seed;
}
void SeedRandom(int32_t value) {
    seed = value;
}
float RandomFloat() {
    return Next();
}
float RandomFloat(float range) {
    return Next() * range;
}
float RandomFloat(float low, float high) {
    return low + (high - low) * Next();
}

int RandomInt(float low, float high) {
    float r = Next();
    return static_cast<int>(std::floor(low + ((high + 0.99f) - low) * r));
}
