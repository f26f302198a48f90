// Texture upload: premultiply, allocate (power-of-two fallback), fill.
#include "graphics/surface.h"

#include <cstdlib>

namespace {

// The GL format for a depth; depth 1..4 maps straight onto the enum.
bool FormatForDepth(int depth, GlFormat* format) {
    if (depth < 1 || depth > 4) return false;
    *format = static_cast<GlFormat>(depth);
    return true;
}

}  // namespace

void PremultiplyPixels(uint8_t* data, size_t pixelCount, int depth) {
    if (depth == 2) {
        for (size_t i = 0; i < pixelCount; i++, data += 2) data[0] = data[0] * data[1] / 255;
    } else if (depth == 4) {
        for (size_t i = 0; i < pixelCount; i++, data += 4) {
            const unsigned a = data[3];
            data[0] = data[0] * a / 255;
            data[1] = data[1] * a / 255;
            data[2] = data[2] * a / 255;
        }
    }
}

int NextPowerOfTwo(int v) {
    int p = 1;
    while (p < v) {
        if (p > (1 << 29)) return 0;
        p <<= 1;
    }
    return p;
}

int PlSurface::Discard() {
    if (texture != 0) {
        if (backend_) backend_->DeleteTexture(texture);
        texture = 0;
    }
    data.reset();
    return 0;
}

bool PlSurface::Upload() {
    GlFormat format;
    if (!FormatForDepth(depth, &format)) std::exit(-1);  // no decoder yields such a depth
    if (width <= 0 || height <= 0 || !backend_) {
        // Nothing to sample from an empty image: refuse rather than divide by zero.
        data.reset();
        return false;
    }
    if (data) PremultiplyPixels(data.get(), static_cast<size_t>(width) * height, depth);

    if (texture == 0) texture = backend_->CreateTexture();
    int tw = width, th = height;
    if (!backend_->AllocateTexture(texture, format, tw, th)) {
        tw = NextPowerOfTwo(width);
        th = NextPowerOfTwo(height);
        if (tw == 0 || th == 0 || !backend_->AllocateTexture(texture, format, tw, th)) {
            data.reset();
            return false;
        }
    }
    if (data) backend_->UploadTexture(texture, format, 0, 0, width, height, data.get(), false);
    texScaleU = 1.0f / static_cast<float>(tw);
    texScaleV = 1.0f / static_cast<float>(th);
    data.reset();
    return true;
}
