// The web toolchain's C++ library has no floating-point to_chars, so there
// AppendFloat prints through "%.6g". Both builds must print the same text:
// here the desktop's path is held to "%.6g" over every kind of float.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "game/play/text_buffer.h"

namespace {

std::string Printed(float value) {
    TextBuffer text;
    text.AppendFloat(value);
    std::string out;
    for (char16_t c : text.View()) out += static_cast<char>(c);
    return out;
}

std::string Printf(float value) {
    char digits[64];
    std::snprintf(digits, sizeof digits, "%.6g", static_cast<double>(value));
    return digits;
}

TEST(FloatText, EveryKindOfFloatPrintsAsPercentG) {
    const float special[] = {1.25f,
                             0.5f,
                             -0.0f,
                             0.0f,
                             std::numeric_limits<float>::min(),
                             std::numeric_limits<float>::denorm_min(),
                             std::numeric_limits<float>::max(),
                             std::numeric_limits<float>::infinity(),
                             -std::numeric_limits<float>::infinity(),
                             999999.5f,
                             9999995.0f,
                             0.000099999994f,
                             1e-5f,
                             123456.5f};
    for (float v : special) EXPECT_EQ(Printed(v), Printf(v)) << v;
    // Random bit patterns cover every exponent; rounding at the sixth digit
    // is where two formatters would part.
    std::mt19937 bits(20261208);
    for (int i = 0; i < 200000; i++) {
        uint32_t pattern = bits();
        float v;
        std::memcpy(&v, &pattern, sizeof v);
        if (std::isnan(v)) continue;
        ASSERT_EQ(Printed(v), Printf(v)) << "bits " << pattern;
    }
}

}  // namespace
