// The whole-frame workload shared by our renderer's benchmark and the peer
// programs: 10 000 rotated, scaled, tinted sprites of one 32×32 texture spread
// over 640×480, drawn into a 64×64 window so that the figure is the CPU path.
#pragma once

#include <time.h>

#include <array>
#include <cstdint>

namespace sprite_workload {

constexpr int kSprites = 10000;
constexpr int kTextureSize = 32;
constexpr int kWindowSize = 64;

struct Sprite {
    float x, y, rotation, scale;
    float r, g, b;  // 0..255, green dominant
    float alpha;    // 0.5 or 1
};

// The same list for every program: a fixed linear congruential sequence.
inline const std::array<Sprite, kSprites>& Sprites() {
    static const std::array<Sprite, kSprites> list = [] {
        std::array<Sprite, kSprites> out{};
        uint32_t seed = 12345;
        auto next = [&seed] {  // 0 ≤ value < 1
            seed = seed * 1664525u + 1013904223u;
            return static_cast<float>(seed >> 8) / 16777216.0f;
        };
        for (int i = 0; i < kSprites; i++) {
            Sprite& s = out[i];
            s.x = next() * 640;
            s.y = next() * 480;
            s.rotation = next() * 360;
            s.scale = 1 + next();
            s.r = static_cast<float>(static_cast<int>(next() * 128));
            s.g = 255;
            s.b = static_cast<float>(static_cast<int>(next() * 128));
            s.alpha = i % 3 == 0 ? 0.5f : 1.0f;
        }
        return out;
    }();
    return list;
}

// The pixels of the one texture: an opaque ring on a transparent square.
inline std::array<uint32_t, kTextureSize * kTextureSize> TexturePixels() {
    std::array<uint32_t, kTextureSize * kTextureSize> px{};
    for (int y = 0; y < kTextureSize; y++) {
        for (int x = 0; x < kTextureSize; x++) {
            const int dx = 2 * x - kTextureSize + 1, dy = 2 * y - kTextureSize + 1;
            const int d = dx * dx + dy * dy;
            const bool ring =
                d < kTextureSize * kTextureSize && d > kTextureSize * kTextureSize / 3;
            px[y * kTextureSize + x] = ring ? 0xFFFFFFFFu : 0u;
        }
    }
    return px;
}

// CPU time of the calling thread: the drawing thread alone, not Mesa's
// rasterizer threads.
inline double ThreadCpuNs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1e9 + static_cast<double>(ts.tv_nsec);
}

// Sums of one run, turned into the two per-sprite figures every program reports.
struct FrameTimes {
    double frameNs = 0;   // clear to swap
    double submitNs = 0;  // the drawing calls alone
    long frames = 0;
    double PerSprite() const { return frames ? frameNs / frames / kSprites : 0; }
    double SubmitPerSprite() const { return frames ? submitNs / frames / kSprites : 0; }
    // One frame: its start (t0), its drawing calls (t1 to t2) and its end (t3).
    // Returns the frame's seconds, as a benchmark's iteration time.
    double Add(double t0, double t1, double t2, double t3) {
        frameNs += t3 - t0;
        submitNs += t2 - t1;
        frames++;
        return (t3 - t0) * 1e-9;
    }
};

}  // namespace sprite_workload
