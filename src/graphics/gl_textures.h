// The texture calls the desktop (GL 1.x) and the browser (ES 2) backends make
// alike: the format table, nearest filtering with clamped edges, and
// allocation with its error drain. Both backends derive from this one.
#pragma once

#include <cstdint>

#include "graphics/gl_backend.h"

class GlTextureBackend : public GlBackend {
  protected:
    uint32_t GlGenTexture() override;
    void GlTextureParameters() override;
    void GlDeleteTexture(uint32_t texture) override;
    bool GlTexImage(GlFormat format, int w, int h) override;
    int GlMaxTextureSize() override;
    // GL's enum for a pixel format (GL_LUMINANCE … GL_RGBA), the same in both.
    static uint32_t FormatEnum(GlFormat format);
};
