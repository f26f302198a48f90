// Deterministic randomness for the generator: the same bytes on every run and machine.
#pragma once

#include <cmath>
#include <cstdint>

// Small xorshift generator; the generator never uses the library's distributions.
class Rng {
  public:
    explicit Rng(uint32_t seed) : state_(seed ? seed : 0x9E3779B9u) {}
    uint32_t Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    // Uniform in [0, 1).
    float Float() { return (Next() >> 8) * (1.0f / 16777216.0f); }
    // Uniform in [lo, hi).
    float Range(float lo, float hi) { return lo + (hi - lo) * Float(); }
    // Uniform in [-1, 1).
    float Signed() { return Float() * 2.0f - 1.0f; }

  private:
    uint32_t state_;
};

// Hash of a lattice point to [0, 1).
inline float Hash2(int x, int y, uint32_t seed) {
    uint32_t h = uint32_t(x) * 0x8DA6B343u ^ uint32_t(y) * 0xD8163841u ^ seed * 0xCB1AB31Fu;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return (h >> 8) * (1.0f / 16777216.0f);
}

// Smooth value noise in [0, 1).
inline float ValueNoise(float x, float y, uint32_t seed) {
    int ix = int(std::floor(x)), iy = int(std::floor(y));
    float fx = x - ix, fy = y - iy;
    fx = fx * fx * (3 - 2 * fx);
    fy = fy * fy * (3 - 2 * fy);
    float a = Hash2(ix, iy, seed), b = Hash2(ix + 1, iy, seed);
    float c = Hash2(ix, iy + 1, seed), d = Hash2(ix + 1, iy + 1, seed);
    return (a + (b - a) * fx) + ((c + (d - c) * fx) - (a + (b - a) * fx)) * fy;
}

// Several octaves of value noise, result roughly in [0, 1).
inline float FractalNoise(float x, float y, uint32_t seed, int octaves) {
    float sum = 0, amp = 0.5f, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += ValueNoise(x, y, seed + i * 101) * amp;
        norm += amp;
        x *= 2.03f;
        y *= 2.03f;
        amp *= 0.5f;
    }
    return sum / norm;
}
