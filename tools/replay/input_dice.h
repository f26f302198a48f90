// A small xorshift generator for made-up input, apart from the game's own
// generator so that driving the game never changes what the game draws.
#pragma once

#include <cstdint>

struct InputDice {
    uint32_t state = 2463534242u;
    uint32_t Next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
    float Unit() { return (Next() >> 8) * (1.0f / 16777216.0f); }
};
