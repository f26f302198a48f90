// An RGBA drawing surface addressed in design units, rendered at a resolution level.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "png_pack.h"

// Straight (not premultiplied) colour, each channel 0..1.
struct Rgba {
    float r = 0, g = 0, b = 0, a = 0;
};

// Colour from 0..255 channels and a 0..1 alpha.
inline Rgba Rgb(int r, int g, int b, float a = 1.0f) {
    return {r / 255.0f, g / 255.0f, b / 255.0f, a};
}
// Linear mix of two colours, t in 0..1.
inline Rgba Mix(Rgba p, Rgba q, float t) {
    return {p.r + (q.r - p.r) * t, p.g + (q.g - p.g) * t, p.b + (q.b - p.b) * t,
            p.a + (q.a - p.a) * t};
}
// The same colour with a new alpha.
inline Rgba WithAlpha(Rgba c, float a) {
    return {c.r, c.g, c.b, a};
}
// Each channel times k (alpha kept); used for shading a base colour.
inline Rgba Shade(Rgba c, float k) {
    return {std::min(1.0f, c.r * k), std::min(1.0f, c.g * k), std::min(1.0f, c.b * k), c.a};
}

// Axis-aligned rectangle in design units.
struct Box {
    float x0, y0, x1, y1;
};

// A sheet being drawn. Shapes are given in design units relative to the current frame;
// at level L one unit covers L x L pixels, so the same drawing code serves every level.
class Canvas {
  public:
    Canvas(int widthUnits, int heightUnits, int level);

    int Level() const { return level_; }
    int PixelWidth() const { return width_; }
    int PixelHeight() const { return height_; }

    // Selects the frame cell that later drawing goes into (and is clipped to).
    void SetFrame(float x, float y, float w, float h);

    // Fills every pixel where sdf(x, y) < 0 with the paint's colour, antialiased over one
    // pixel plus `soft` units; sdf is a signed distance in units, paint(x, y) gives Rgba.
    template <class Sdf, class Paint>
    void Fill(Box box, Sdf sdf, Paint paint, float soft = 0.0f);

    // Fills with one colour.
    template <class Sdf>
    void FillColor(Box box, Sdf sdf, Rgba colour, float soft = 0.0f) {
        Fill(
            box, sdf, [colour](float, float) { return colour; }, soft);
    }

    // Composites a straight colour over pixel (px, py) of the whole sheet with coverage k.
    void Blend(int px, int py, Rgba c, float k);

    // The pixel at (px, py) of the whole sheet as straight-alpha colour.
    Rgba PixelAt(int px, int py) const;

    // Writes the sheet as the smallest PNG that decodes to exactly its 8-bit
    // straight-alpha pixels; false on failure.
    bool WritePng(const std::string& path, PngEffort effort = PngEffort::Best) const;
    // The sheet as an RGBA PNG file's bytes (for icon files); empty on failure.
    std::vector<uint8_t> PngBytes() const;

    // 8-bit straight-alpha RGBA, rows from the top: what the files decode to.
    std::vector<uint8_t> Rgba8() const;

  private:
    int level_;
    int width_;
    int height_;
    float frameX_ = 0, frameY_ = 0;                          // current frame origin, units
    int clipX0_ = 0, clipY0_ = 0, clipX1_ = 0, clipY1_ = 0;  // current frame, pixels
    std::vector<float> premul_;  // premultiplied RGBA, 4 floats per pixel
};

template <class Sdf, class Paint>
void Canvas::Fill(Box box, Sdf sdf, Paint paint, float soft) {
    const float inv = 1.0f / level_;
    const float ramp = inv + soft;
    const float grow = ramp + 0.01f;
    int px0 = std::max(clipX0_, int(std::floor((frameX_ + box.x0 - grow) * level_)));
    int py0 = std::max(clipY0_, int(std::floor((frameY_ + box.y0 - grow) * level_)));
    int px1 = std::min(clipX1_, int(std::ceil((frameX_ + box.x1 + grow) * level_)));
    int py1 = std::min(clipY1_, int(std::ceil((frameY_ + box.y1 + grow) * level_)));
    for (int py = py0; py < py1; ++py) {
        float y = (py + 0.5f) * inv - frameY_;
        for (int px = px0; px < px1; ++px) {
            float x = (px + 0.5f) * inv - frameX_;
            float d = sdf(x, y);
            float k = std::clamp(0.5f - d / ramp, 0.0f, 1.0f);
            if (k > 0.0f) Blend(px, py, paint(x, y), k);
        }
    }
}
