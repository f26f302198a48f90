// Small drawing helpers shared by the sheet drawers.
#pragma once

#include <cmath>

#include "canvas.h"
#include "shapes.h"

// A radial highlight from `light` at (hx, hy) fading to `dark` at distance r.
inline auto Sheen(Rgba light, Rgba dark, float hx, float hy, float r) {
    return [=](float x, float y) {
        return Mix(light, dark, std::min(1.0f, std::hypot(x - hx, y - hy) / r));
    };
}

// A vertical gradient from `top` at y0 to `bottom` at y1.
inline auto VerticalGradient(Rgba top, Rgba bottom, float y0, float y1) {
    return [=](float, float y) {
        return Mix(top, bottom, std::clamp((y - y0) / (y1 - y0), 0.0f, 1.0f));
    };
}

// Vertices of a regular polygon around (cx, cy); the first points up (rotated by `turn` degrees).
inline void RegularPolygon(Vec2* out, int n, float cx, float cy, float r, float turn = 0.0f) {
    for (int i = 0; i < n; ++i) out[i] = Along(cx, cy, turn + i * 360.0f / n, r);
}

// A star of n points alternating between outer and inner radius.
inline void StarPolygon(Vec2* out, int points, float cx, float cy, float outer, float inner) {
    for (int i = 0; i < points * 2; ++i)
        out[i] = Along(cx, cy, i * 180.0f / points, i % 2 ? inner : outer);
}

// Draws a shape in `ink` with a darker outline `outlineWidth` units wide around it.
template <class Sdf>
void FillOutlined(Canvas& c, Box box, Sdf sdf, Rgba ink, Rgba outline, float outlineWidth = 1.0f) {
    Box grown{box.x0 - outlineWidth, box.y0 - outlineWidth, box.x1 + outlineWidth,
              box.y1 + outlineWidth};
    c.FillColor(
        grown, [&](float x, float y) { return sdf(x, y) - outlineWidth; }, outline);
    c.FillColor(box, sdf, ink);
}

// Draws a white glyph shape with light-grey shading one unit down-right (for tinted sheets).
template <class Sdf>
void FillTintable(Canvas& c, Box box, Sdf sdf) {
    c.FillColor(
        {box.x0, box.y0, box.x1 + 1, box.y1 + 1},
        [&](float x, float y) { return sdf(x - 1, y - 1); }, Rgb(175, 175, 175));
    c.FillColor(box, sdf, Rgb(255, 255, 255));
}
