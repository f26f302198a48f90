#include "canvas.h"

#include <cstdint>
#include <fstream>

Canvas::Canvas(int widthUnits, int heightUnits, int level)
    : level_(level),
      width_(widthUnits * level),
      height_(heightUnits * level),
      premul_(size_t(width_) * height_ * 4, 0.0f) {
    SetFrame(0, 0, float(widthUnits), float(heightUnits));
}

void Canvas::SetFrame(float x, float y, float w, float h) {
    frameX_ = x;
    frameY_ = y;
    clipX0_ = std::max(0, int(std::lround(x * level_)));
    clipY0_ = std::max(0, int(std::lround(y * level_)));
    clipX1_ = std::min(width_, int(std::lround((x + w) * level_)));
    clipY1_ = std::min(height_, int(std::lround((y + h) * level_)));
}

void Canvas::Blend(int px, int py, Rgba c, float k) {
    if (px < 0 || py < 0 || px >= width_ || py >= height_) return;
    float a = std::clamp(c.a, 0.0f, 1.0f) * k;
    float* p = &premul_[(size_t(py) * width_ + px) * 4];
    p[0] = c.r * a + p[0] * (1.0f - a);
    p[1] = c.g * a + p[1] * (1.0f - a);
    p[2] = c.b * a + p[2] * (1.0f - a);
    p[3] = a + p[3] * (1.0f - a);
}

Rgba Canvas::PixelAt(int px, int py) const {
    const float* p = &premul_[(size_t(py) * width_ + px) * 4];
    if (p[3] <= 0.0f) return {0, 0, 0, 0};
    return {p[0] / p[3], p[1] / p[3], p[2] / p[3], p[3]};
}

// Rounds a 0..1 channel to a byte.
static uint8_t ToByte(float v) {
    return uint8_t(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
}

std::vector<uint8_t> Canvas::Rgba8() const {
    std::vector<uint8_t> bytes(size_t(width_) * height_ * 4);
    for (int py = 0; py < height_; ++py) {
        for (int px = 0; px < width_; ++px) {
            Rgba c = PixelAt(px, py);
            uint8_t* out = &bytes[(size_t(py) * width_ + px) * 4];
            out[3] = ToByte(c.a);
            // Fully transparent pixels carry no colour, which keeps the files small and exact.
            bool clear = out[3] == 0;
            out[0] = clear ? 0 : ToByte(c.r);
            out[1] = clear ? 0 : ToByte(c.g);
            out[2] = clear ? 0 : ToByte(c.b);
        }
    }
    return bytes;
}

bool Canvas::WritePng(const std::string& path, PngEffort effort) const {
    std::vector<uint8_t> png =
        PackPng(Rgba8().data(), width_, height_, PngColours::Smallest, effort);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
    return !png.empty() && file.good();
}

std::vector<uint8_t> Canvas::PngBytes() const {
    return PackPng(Rgba8().data(), width_, height_, PngColours::Rgba);
}
