// The two degree conversions the game keeps apart.
#include <gtest/gtest.h>

#include "core/degree_math.h"

// Recorded matches depend on every bit of the match's trigonometry, so its
// conversion must not be folded into the drawing one.
TEST(DegreeMath, TheTwoConversionsAgreeInValueButNotInEveryBit) {
    int differ = 0;
    for (int a = 0; a < 360; a++) {
        auto d = static_cast<float>(a);
        EXPECT_NEAR(SinDeg(d), SinDegFactor(d), 1e-6f) << a;
        EXPECT_NEAR(CosDeg(d), CosDegFactor(d), 1e-6f) << a;
        differ += SinDeg(d) != SinDegFactor(d);
    }
    EXPECT_GT(differ, 0);
    EXPECT_FLOAT_EQ(SinDeg(90), 1);
    EXPECT_FLOAT_EQ(CosDegFactor(180), -1);
}
