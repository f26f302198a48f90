// The one program-wide random generator (a 32-bit linear congruence).
#pragma once

#include <cstdint>

// The seed itself; 1234 at start. Matches re-seed it.
int32_t& RandomSeed();
void SeedRandom(int32_t seed);

// [0, 1), [0, range), [low, high).
float RandomFloat();
float RandomFloat(float range);
float RandomFloat(float low, float high);
// Both ends can occur: floor(low + (high + 0.99 - low) * r).
int RandomInt(float low, float high);
