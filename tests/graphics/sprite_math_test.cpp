// The sprite turn's own sine and cosine: correctly rounded where the C
// libraries are not always, lanes equal to single calls, and the
// edges (no turn, huge turns, infinities, NaN) as the library has them.
#include "graphics/sprite_math.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>

using sprite_math::Float4;
using sprite_math::TurnFactors;

namespace {

// The float nearest to sin/cos of the float angle, from long double.
void Reference(float degrees, float* c, float* s) {
    const float radians = degrees * 0.017453292f;
    *c = static_cast<float>(std::cos(static_cast<long double>(radians)));
    *s = static_cast<float>(std::sin(static_cast<long double>(radians)));
}

bool SameBits(float a, float b) {
    return sprite_math::BitCast<uint32_t>(a) == sprite_math::BitCast<uint32_t>(b);
}

}  // namespace

TEST(SpriteTurn, CorrectlyRoundedOverEveryQuadrant) {
    std::mt19937 rng(5);
    std::uniform_real_distribution<float> any(-3600, 3600);
    for (int i = 0; i < 400000; i++) {
        // Quarter steps hit the quadrant edges; the rest fall anywhere.
        const float degrees = i < 28800 ? static_cast<float>(i - 14400) * 0.25f : any(rng);
        if (degrees == 0) continue;
        float c, s, wantC, wantS;
        TurnFactors(degrees, &c, &s);
        Reference(degrees, &wantC, &wantS);
        ASSERT_TRUE(SameBits(c, wantC) && SameBits(s, wantS))
            << degrees << ": " << c << ", " << s << " against " << wantC << ", " << wantS;
    }
}

// Each lane of four or of eight gives what the angle gives alone.
template <typename F>
void ExpectLanesAreSingleTurns(F degrees) {
    F c, s;
    TurnFactors(degrees, &c, &s);
    for (int lane = 0; lane < static_cast<int>(sizeof(F) / sizeof(float)); lane++) {
        float oneC, oneS;
        TurnFactors(degrees[lane], &oneC, &oneS);
        EXPECT_TRUE(SameBits(c[lane], oneC) && SameBits(s[lane], oneS)) << degrees[lane];
    }
}

TEST(SpriteTurn, LanesAreSingleTurns) {
    const float inf = INFINITY, nan = NAN;
    const Float4 batches[] = {{0.0f, -0.0f, 90, -270},
                              {1e-40f, 33.3f, 1e9f, -1e9f},  // a subnormal, two huge turns
                              {inf, -inf, nan, 719.99f}};
    for (const Float4& degrees : batches) ExpectLanesAreSingleTurns(degrees);
    ExpectLanesAreSingleTurns(sprite_math::Float8{-0.0f, 45, 1e9f, 180, nan, 1e-40f, -90, 3600});
    float c, s;
    TurnFactors(-0.0f, &c, &s);  // no turn at all: exactly 1 and +0
    EXPECT_TRUE(SameBits(c, 1.0f) && SameBits(s, 0.0f));
    TurnFactors(1e9f, &c, &s);  // past the reduction's range: the library's values
    EXPECT_TRUE(SameBits(c, std::cos(1e9f * 0.017453292f)));
}
