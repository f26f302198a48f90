// The desktop backend: legacy GL 1.x with client-side arrays (its texture
// calls are shared with the browser backend, gl_textures.cpp).
#include "graphics/gl_backend.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <cstring>
#include <utility>

#include "graphics/gl_textures.h"

namespace {

int BytesPerPixel(GlFormat format) {
    return static_cast<int>(format);
}

class OpenGlBackend final : public GlTextureBackend {
  protected:
    // Drawing units, origin top-left, y down, over every framebuffer pixel.
    void GlViewport(int pixelWidth, int pixelHeight, int width, int height) override {
        glViewport(0, 0, pixelWidth, pixelHeight);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, width, height, 0, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }

    void GlEnableArrays() override {
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glEnableClientState(GL_COLOR_ARRAY);
    }

    void GlArrayPointers(const void* vertices) override {
        const auto* base = static_cast<const uint8_t*>(vertices);
        glVertexPointer(2, GL_FLOAT, 20, base);
        glTexCoordPointer(2, GL_FLOAT, 20, base + 8);
        glColorPointer(4, GL_UNSIGNED_BYTE, 20, base + 16);
    }

    void GlBlending(bool on) override { on ? glEnable(GL_BLEND) : glDisable(GL_BLEND); }

    // Premultiplied alpha: the source is already multiplied by its alpha.
    void GlBlendFunc(bool additive) override {
        glBlendFunc(GL_ONE, additive ? GL_ONE : GL_ONE_MINUS_SRC_ALPHA);
    }

    void GlTexturing(bool on) override { on ? glEnable(GL_TEXTURE_2D) : glDisable(GL_TEXTURE_2D); }

    void GlBindTexture(uint32_t texture) override { glBindTexture(GL_TEXTURE_2D, texture); }

    void GlScissorTest(bool on) override {
        on ? glEnable(GL_SCISSOR_TEST) : glDisable(GL_SCISSOR_TEST);
    }

    void GlScissorBox(int x, int y, int w, int h) override { glScissor(x, y, w, h); }

    void GlClearColour(float r, float g, float b) override { glClearColor(r, g, b, 1.0f); }

    void GlClear() override { glClear(GL_COLOR_BUFFER_BIT); }

    void GlDraw(int kind, int vertexCount, const uint16_t* quadIndices) override {
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
    }

    void GlPixelStore(bool pack, int alignment) override {
        glPixelStorei(pack ? GL_PACK_ALIGNMENT : GL_UNPACK_ALIGNMENT, alignment);
    }

    void GlReadPixels(int x, int y, int w, int h, uint8_t* out) override {
        glReadPixels(x, y, w, h, GL_BGRA, GL_UNSIGNED_BYTE, out);
    }

    void GlTexSubImage(GlFormat format, int x, int y, int w, int h, const void* pixels,
                       bool bgra) override {
        glTexSubImage2D(GL_TEXTURE_2D, 0, x, y, w, h, bgra ? GL_BGRA : FormatEnum(format),
                        GL_UNSIGNED_BYTE, pixels);
    }
};

bool IsPowerOfTwo(int v) {
    return v > 0 && (v & (v - 1)) == 0;
}

}  // namespace

// --- the state cache: every request passes here, GL sees only changes ---

void GlBackend::BeginFrame(int width, int height, int pixelWidth, int pixelHeight,
                           const void* vertices) {
    if (pixelWidth != state_.viewportWidth || pixelHeight != state_.viewportHeight ||
        width != state_.unitsWidth || height != state_.unitsHeight) {
        GlViewport(pixelWidth, pixelHeight, width, height);
        calls_.viewport++;
        state_.viewportWidth = pixelWidth, state_.viewportHeight = pixelHeight;
        state_.unitsWidth = width, state_.unitsHeight = height;
    }
    if (!state_.arraysEnabled) {
        GlEnableArrays();
        calls_.arrays++;
        state_.arraysEnabled = true;
    }
    if (vertices != state_.arrays) {
        GlArrayPointers(vertices);
        calls_.pointers++;
        state_.arrays = vertices;
    }
    if (state_.blending != 1) {
        GlBlending(true);
        calls_.blending++;
        state_.blending = 1;
    }
    SetBlendAdditive(false);  // the renderer starts every frame with alpha blending
}

void GlBackend::Clear(float r, float g, float b) {
    const float* c = state_.clearColour;
    if (!state_.clearColourKnown || c[0] != r || c[1] != g || c[2] != b) {
        GlClearColour(r / 255.0f, g / 255.0f, b / 255.0f);
        calls_.clearColour++;
        state_.clearColourKnown = true;
        state_.clearColour[0] = r, state_.clearColour[1] = g, state_.clearColour[2] = b;
    }
    GlClear();
    calls_.clear++;
}

void GlBackend::SetBlendAdditive(bool additive) {
    if (state_.additive == int{additive}) return;
    GlBlendFunc(additive);
    calls_.blendFunc++;
    state_.additive = additive;
}

void GlBackend::DisableScissor() {
    if (state_.scissorTest == 0) return;
    GlScissorTest(false);
    calls_.scissorTest++;
    state_.scissorTest = 0;
}

void GlBackend::EnableScissor(int x, int y, int w, int h) {
    if (state_.scissorTest != 1) {
        GlScissorTest(true);
        calls_.scissorTest++;
        state_.scissorTest = 1;
    }
    int* box = state_.scissorBox;
    if (!state_.scissorBoxKnown || box[0] != x || box[1] != y || box[2] != w || box[3] != h) {
        GlScissorBox(x, y, w, h);
        calls_.scissorBox++;
        state_.scissorBoxKnown = true;
        box[0] = x, box[1] = y, box[2] = w, box[3] = h;
    }
}

void GlBackend::Texturing(bool on) {
    if (state_.texturing == int{on}) return;
    GlTexturing(on);
    calls_.texturing++;
    state_.texturing = on;
}

void GlBackend::Bind(uint32_t texture) {
    if (state_.boundKnown && state_.boundTexture == texture) return;
    GlBindTexture(texture);
    calls_.bindTexture++;
    state_.boundKnown = true;
    state_.boundTexture = texture;
}

void GlBackend::PixelStore(bool pack, int alignment) {
    int& known = pack ? state_.packAlignment : state_.unpackAlignment;
    if (known == alignment) return;
    GlPixelStore(pack, alignment);
    calls_.pixelStore++;
    known = alignment;
}

// Texturing stays on from one textured draw to the next: switching it costs
// GL a state validation each time, and an untextured draw turns it off.
void GlBackend::Draw(int kind, int vertexCount, uint32_t texture, const uint16_t* quadIndices) {
    if (texture) {
        Texturing(true);
        Bind(texture);
    } else {
        Texturing(false);
    }
    GlDraw(kind, vertexCount, quadIndices);
    calls_.draw++;
}

void GlBackend::ReadPixelsBgra(int x, int y, int w, int h, uint8_t* out) {
    PixelStore(true, 4);
    GlReadPixels(x, y, w, h, out);
    calls_.readPixels++;
}

uint32_t GlBackend::CreateTexture() {
    const uint32_t name = GlGenTexture();
    calls_.genTexture++;
    Bind(name);
    GlTextureParameters();
    return name;
}

// GL falls back to texture 0 when the bound texture is deleted, and may hand
// the name out again: the cache must not believe the name still bound.
void GlBackend::DeleteTexture(uint32_t texture) {
    if (texture == 0) return;
    GlDeleteTexture(texture);
    calls_.deleteTexture++;
    if (state_.boundKnown && state_.boundTexture == texture) state_.boundTexture = 0;
}

bool GlBackend::AllocateTexture(uint32_t texture, GlFormat format, int w, int h) {
    Bind(texture);
    calls_.texImage++;
    return GlTexImage(format, w, h);
}

void GlBackend::UploadTexture(uint32_t texture, GlFormat format, int x, int y, int w, int h,
                              const void* pixels, bool bgra) {
    Bind(texture);
    PixelStore(false, 1);
    GlTexSubImage(format, x, y, w, h, pixels, bgra);
    calls_.texSubImage++;
}

std::unique_ptr<GlBackend> MakeOpenGlBackend() {
    return std::make_unique<OpenGlBackend>();
}

void NullGlBackend::GlReadPixels(int x, int y, int w, int h, uint8_t* out) {
    std::memset(out, 0, static_cast<size_t>(w) * static_cast<size_t>(h) * 4);
}

uint32_t NullGlBackend::GlGenTexture() {
    if (reuseTextureNames && freedName_ != 0) return std::exchange(freedName_, 0);
    return ++lastTextureName;
}

void NullGlBackend::GlDeleteTexture(uint32_t texture) {
    deletedTextures++;
    if (boundNow == texture) boundNow = 0;
    freedName_ = texture;
}

bool NullGlBackend::GlTexImage(GlFormat format, int w, int h) {
    if (w < 0 || h < 0 || w > maxTextureSize || h > maxTextureSize) return false;
    if (refuseNonPowerOfTwo && (!IsPowerOfTwo(w) || !IsPowerOfTwo(h))) return false;
    allocatedTexture = boundNow;
    allocatedWidth = w;
    allocatedHeight = h;
    return true;
}

void NullGlBackend::GlTexSubImage(GlFormat format, int x, int y, int w, int h, const void* pixels,
                                  bool bgra) {
    uploadedTexture = boundNow;
    lastFormat = format;
    const size_t bytes = static_cast<size_t>(w) * static_cast<size_t>(h) *
                         static_cast<size_t>(bgra ? 4 : BytesPerPixel(format));
    const auto* p = static_cast<const uint8_t*>(pixels);
    lastUpload.assign(p, p + bytes);
}
