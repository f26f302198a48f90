#include "graphics/gl_textures.h"

// The build picks the GL flavour; these calls and enums mean the same in both.
#if defined(BW_GLES2)
#include <GLES2/gl2.h>
#else
#include <GL/gl.h>
#include <GL/glext.h>
#endif

uint32_t GlTextureBackend::FormatEnum(GlFormat format) {
    switch (format) {
        case GlFormat::Luminance:
            return GL_LUMINANCE;
        case GlFormat::LuminanceAlpha:
            return GL_LUMINANCE_ALPHA;
        case GlFormat::Rgb:
            return GL_RGB;
        case GlFormat::Rgba:
            return GL_RGBA;
    }
    return GL_RGBA;
}

uint32_t GlTextureBackend::GlGenTexture() {
    GLuint name = 0;
    glGenTextures(1, &name);
    return name;
}

// Sheets are drawn pixel for pixel: no smoothing, and no bleeding past the edges.
void GlTextureBackend::GlTextureParameters() {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
}

void GlTextureBackend::GlDeleteTexture(uint32_t texture) {
    GLuint name = texture;
    glDeleteTextures(1, &name);
}

bool GlTextureBackend::GlTexImage(GlFormat format, int w, int h) {
    // Drain stale errors so only this allocation's verdict counts.
    for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; i++) {
    }
    const GLenum f = FormatEnum(format);
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(f), w, h, 0, f, GL_UNSIGNED_BYTE, nullptr);
    return glGetError() == GL_NO_ERROR;
}

int GlTextureBackend::GlMaxTextureSize() {
    GLint size = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
    return size;
}
