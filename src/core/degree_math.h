// Sine and cosine of angles in degrees, the two ways the game converts them.
#pragma once

#include <cmath>
#include <numbers>

// Drawing (text layout, loading spinner): degrees · π / 180, two roundings.
inline float SinDeg(float degrees) {
    return std::sin(degrees * std::numbers::pi_v<float> / 180.0f);
}
inline float CosDeg(float degrees) {
    return std::cos(degrees * std::numbers::pi_v<float> / 180.0f);
}

// The match's rules: one multiplication by a fixed factor. For many angles the
// result differs from SinDeg in the last bit, and recorded matches depend on
// every bit, so the two stay distinct.
constexpr float kDegToRad = 0.017453292f;
constexpr float kRadToDeg = 57.29578f;
inline float SinDegFactor(float degrees) {
    return std::sin(degrees * kDegToRad);
}
inline float CosDegFactor(float degrees) {
    return std::cos(degrees * kDegToRad);
}
