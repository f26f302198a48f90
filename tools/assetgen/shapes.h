// Signed distance functions in design units: negative inside, positive outside.
#pragma once

#include <algorithm>
#include <cmath>

constexpr float kPi = 3.14159265358979f;
constexpr float kDeg = kPi / 180.0f;

struct Vec2 {
    float x, y;
};

// Distance to a circle's edge.
inline float SdCircle(float x, float y, float cx, float cy, float r) {
    return std::hypot(x - cx, y - cy) - r;
}

// Distance to a rectangle centred at (cx, cy) with half sizes hw, hh and corner radius r.
inline float SdRoundBox(float x, float y, float cx, float cy, float hw, float hh, float r = 0.0f) {
    float qx = std::abs(x - cx) - hw + r;
    float qy = std::abs(y - cy) - hh + r;
    float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
    return outside + std::min(std::max(qx, qy), 0.0f) - r;
}

// Rectangle given by its corner and size.
inline float SdRect(float x, float y, float left, float top, float w, float h, float r = 0.0f) {
    return SdRoundBox(x, y, left + w * 0.5f, top + h * 0.5f, w * 0.5f, h * 0.5f, r);
}

// Approximate distance to an ellipse; exact enough for one-pixel antialiasing.
inline float SdEllipse(float x, float y, float cx, float cy, float rx, float ry) {
    float nx = (x - cx) / rx;
    float ny = (y - cy) / ry;
    float len = std::hypot(nx, ny);
    if (len < 1e-6f) return -std::min(rx, ry);
    // Scale the normalised distance by the local radius along the ray.
    float gx = nx / rx, gy = ny / ry;
    float grad = std::hypot(gx, gy) / len;
    return (len - 1.0f) / std::max(grad, 1e-6f);
}

// Distance to a segment from a to b, minus r: a capsule (a stroked line).
inline float SdCapsule(float x, float y, float ax, float ay, float bx, float by, float r) {
    float px = x - ax, py = y - ay, dx = bx - ax, dy = by - ay;
    float len2 = dx * dx + dy * dy;
    float t = len2 > 0 ? std::clamp((px * dx + py * dy) / len2, 0.0f, 1.0f) : 0.0f;
    return std::hypot(px - dx * t, py - dy * t) - r;
}

// A stick that tapers to points at both ends (a toothpick seen from above).
inline float SdToothpick(float x, float y, float ax, float ay, float bx, float by, float r,
                         float tipFraction) {
    float px = x - ax, py = y - ay, dx = bx - ax, dy = by - ay;
    float len2 = dx * dx + dy * dy;
    float t = std::clamp((px * dx + py * dy) / len2, 0.0f, 1.0f);
    float edge = std::min(t, 1.0f - t) / tipFraction;
    float radius = r * std::min(1.0f, std::sqrt(std::max(edge, 0.0f)));
    return std::hypot(px - dx * t, py - dy * t) - radius;
}

// Distance to a closed polygon (any simple shape), after the well-known winding method.
inline float SdPolygon(float x, float y, const Vec2* v, int n) {
    float d = (x - v[0].x) * (x - v[0].x) + (y - v[0].y) * (y - v[0].y);
    float s = 1.0f;
    for (int i = 0, j = n - 1; i < n; j = i, ++i) {
        float ex = v[j].x - v[i].x, ey = v[j].y - v[i].y;
        float wx = x - v[i].x, wy = y - v[i].y;
        float t = std::clamp((wx * ex + wy * ey) / (ex * ex + ey * ey), 0.0f, 1.0f);
        float bx = wx - ex * t, by = wy - ey * t;
        d = std::min(d, bx * bx + by * by);
        bool c1 = y >= v[i].y, c2 = y<v[j].y, c3 = ex * wy> ey * wx;
        if ((c1 && c2 && c3) || (!c1 && !c2 && !c3)) s = -s;
    }
    return s * std::sqrt(d);
}

// A ring of radius r and the given half width.
inline float SdRing(float x, float y, float cx, float cy, float r, float halfWidth) {
    return std::abs(SdCircle(x, y, cx, cy, r)) - halfWidth;
}

// Boolean operations on distances.
inline float SdUnion(float a, float b) {
    return std::min(a, b);
}
inline float SdIntersect(float a, float b) {
    return std::max(a, b);
}
inline float SdSubtract(float a, float b) {
    return std::max(a, -b);
}

// Point at distance len along a heading (0 up, clockwise, degrees) from (x, y).
inline Vec2 Along(float x, float y, float headingDeg, float len) {
    return {x + len * std::sin(headingDeg * kDeg), y - len * std::cos(headingDeg * kDeg)};
}
