// One texture made from one image file (or blank), with its addressing factors.
#pragma once

#include <cstdint>
#include <memory>

#include "graphics/gl_backend.h"
#include "platform/platform_game.h"

class PlSurface {
  public:
    // The backend is shared so a surface that outlives the renderer can still
    // release its texture safely.
    explicit PlSurface(std::shared_ptr<GlBackend> backend) : backend_(std::move(backend)) {}
    ~PlSurface() { Discard(); }
    PlSurface(const PlSurface&) = delete;
    PlSurface& operator=(const PlSurface&) = delete;

    int Discard();
    int Width() const { return width; }
    int Height() const { return height; }
    int IsReady() const { return 1; }
    // Creates the texture from data (premultiplied for depths 2 and 4).
    // False when the size is empty or GL refuses it even at power-of-two size.
    bool Upload();

    ByteBlock data;
    int width = 0;
    int height = 0;
    int depth = 0;
    uint32_t texture = 0;
    float texScaleU = 0;
    float texScaleV = 0;
    // The file the pixels came from ("" for a blank surface): a new GL
    // context gets them from there again.
    String source;

  private:
    std::shared_ptr<GlBackend> backend_;
};

// Premultiplies pixels in place for depth 2 (L·A/255) and 4 (C·A/255).
void PremultiplyPixels(uint8_t* data, size_t pixelCount, int depth);

// Smallest power of two >= v (1 for 0 and 1); 0 when it would not fit in an int.
int NextPowerOfTwo(int v);
