// Every OpenGL call of the program: legacy GL 1.x with client-side arrays.
#include "graphics/gl_backend.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <cstring>

namespace {

GLenum FormatEnum(GlFormat format) {
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

int BytesPerPixel(GlFormat format) {
    return static_cast<int>(format);
}

class OpenGlBackend final : public GlBackend {
  public:
    // Pixel coordinates, origin top-left, y down; premultiplied alpha blending.
    void BeginFrame(int width, int height, const void* vertices) override {
        glViewport(0, 0, width, height);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, width, height, 0, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        const auto* base = static_cast<const uint8_t*>(vertices);
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glEnableClientState(GL_COLOR_ARRAY);
        glVertexPointer(2, GL_FLOAT, 20, base);
        glTexCoordPointer(2, GL_FLOAT, 20, base + 8);
        glColorPointer(4, GL_UNSIGNED_BYTE, 20, base + 16);
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
        glDisable(GL_TEXTURE_2D);
    }

    void SetViewport(int pixelWidth, int pixelHeight) override {
        glViewport(0, 0, pixelWidth, pixelHeight);
    }

    void Clear(float r, float g, float b) override {
        glClearColor(r / 255.0f, g / 255.0f, b / 255.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }

    void SetBlendAdditive(bool additive) override {
        glBlendFunc(GL_ONE, additive ? GL_ONE : GL_ONE_MINUS_SRC_ALPHA);
    }

    void DisableScissor() override { glDisable(GL_SCISSOR_TEST); }

    void EnableScissor(int x, int y, int w, int h) override {
        glEnable(GL_SCISSOR_TEST);
        glScissor(x, y, w, h);
    }

    void Draw(int kind, int vertexCount, uint32_t texture, const uint16_t* quadIndices) override {
        if (texture) {
            glEnable(GL_TEXTURE_2D);
            glBindTexture(GL_TEXTURE_2D, texture);
        }
        switch (kind) {
            case 1:
                glDrawArrays(GL_POINTS, 0, vertexCount);
                break;
            case 2:
                glDrawArrays(GL_LINES, 0, vertexCount);
                break;
            case 4:
                glDrawElements(GL_TRIANGLES, vertexCount / 4 * 6, GL_UNSIGNED_SHORT, quadIndices);
                break;
            case 5:
                glDrawArrays(GL_TRIANGLE_FAN, 0, vertexCount);
                break;
            default:
                break;
        }
        if (texture) glDisable(GL_TEXTURE_2D);
    }

    void ReadPixelsBgra(int x, int y, int w, int h, uint8_t* out) override {
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        glReadPixels(x, y, w, h, GL_BGRA, GL_UNSIGNED_BYTE, out);
    }

    uint32_t CreateTexture() override {
        GLuint name = 0;
        glGenTextures(1, &name);
        glBindTexture(GL_TEXTURE_2D, name);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        return name;
    }

    void DeleteTexture(uint32_t texture) override {
        GLuint name = texture;
        glDeleteTextures(1, &name);
    }

    bool AllocateTexture(uint32_t texture, GlFormat format, int w, int h) override {
        // Drain stale errors so only this allocation's verdict counts.
        for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; i++) {
        }
        const GLenum f = FormatEnum(format);
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexImage2D(GL_TEXTURE_2D, 0, f, w, h, 0, f, GL_UNSIGNED_BYTE, nullptr);
        return glGetError() == GL_NO_ERROR;
    }

    void UploadTexture(uint32_t texture, GlFormat format, int x, int y, int w, int h,
                       const void* pixels, bool bgra) override {
        glBindTexture(GL_TEXTURE_2D, texture);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexSubImage2D(GL_TEXTURE_2D, 0, x, y, w, h, bgra ? GL_BGRA : FormatEnum(format),
                        GL_UNSIGNED_BYTE, pixels);
    }
};

bool IsPowerOfTwo(int v) {
    return v > 0 && (v & (v - 1)) == 0;
}

}  // namespace

std::unique_ptr<GlBackend> MakeOpenGlBackend() {
    return std::make_unique<OpenGlBackend>();
}

void NullGlBackend::ReadPixelsBgra(int x, int y, int w, int h, uint8_t* out) {
    std::memset(out, 0, static_cast<size_t>(w) * static_cast<size_t>(h) * 4);
}

bool NullGlBackend::AllocateTexture(uint32_t texture, GlFormat format, int w, int h) {
    if (w < 0 || h < 0 || w > maxTextureSize || h > maxTextureSize) return false;
    if (refuseNonPowerOfTwo && (!IsPowerOfTwo(w) || !IsPowerOfTwo(h))) return false;
    allocatedWidth = w;
    allocatedHeight = h;
    return true;
}

void NullGlBackend::UploadTexture(uint32_t texture, GlFormat format, int x, int y, int w, int h,
                                  const void* pixels, bool bgra) {
    lastFormat = format;
    const size_t bytes = static_cast<size_t>(w) * static_cast<size_t>(h) *
                         static_cast<size_t>(bgra ? 4 : BytesPerPixel(format));
    const auto* p = static_cast<const uint8_t*>(pixels);
    lastUpload.assign(p, p + bytes);
}
