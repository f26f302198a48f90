// Draws exactly what the fixed-function backend draws: vertices in drawing
// units (origin top-left), colour times texel (GL_MODULATE), premultiplied
// blending. ES 2 has no client arrays, so each batch is copied into a buffer.
#include "graphics/gles2_backend.h"

#include <GLES2/gl2.h>

#include <utility>
#include <vector>

#include "core/errors.h"
#include "graphics/gl_textures.h"

namespace {

constexpr char kVertexShader[] = R"(
attribute vec2 position;
attribute vec2 texCoord;
attribute vec4 colour;
uniform vec2 units;
varying vec2 uv;
varying vec4 tint;
void main() {
    gl_Position = vec4(position.x * 2.0 / units.x - 1.0, 1.0 - position.y * 2.0 / units.y, 0.0, 1.0);
    gl_PointSize = 1.0;
    uv = texCoord;
    tint = colour;
}
)";

constexpr char kFragmentShader[] = R"(
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif
uniform sampler2D sheet;
uniform float textured;
varying vec2 uv;
varying vec4 tint;
void main() {
    gl_FragColor = textured > 0.5 ? texture2D(sheet, uv) * tint : tint;
}
)";

constexpr int kStride = 20;

GLuint Compile(GLenum kind, const char* source) {
    GLuint shader = glCreateShader(kind);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint ok = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char log[512] = {};
        glGetShaderInfoLog(shader, sizeof log - 1, nullptr, log);
        Print(log);
    }
    return shader;
}

class Gles2Backend final : public GlTextureBackend {
  public:
    Gles2Backend() { GlCreateObjects(); }

    ~Gles2Backend() override {
        glDeleteBuffers(1, &vertexBuffer_);
        glDeleteBuffers(1, &indexBuffer_);
        glDeleteProgram(program_);
    }

  protected:
    // Also after a lost context: the old objects went with it, nothing to delete.
    void GlCreateObjects() override {
        program_ = glCreateProgram();
        GLuint vs = Compile(GL_VERTEX_SHADER, kVertexShader);
        GLuint fs = Compile(GL_FRAGMENT_SHADER, kFragmentShader);
        glAttachShader(program_, vs);
        glAttachShader(program_, fs);
        glBindAttribLocation(program_, 0, "position");
        glBindAttribLocation(program_, 1, "texCoord");
        glBindAttribLocation(program_, 2, "colour");
        glLinkProgram(program_);
        glDeleteShader(vs);
        glDeleteShader(fs);
        units_ = glGetUniformLocation(program_, "units");
        texturedUniform_ = glGetUniformLocation(program_, "textured");
        glUseProgram(program_);
        glUniform1f(texturedUniform_, 0.0f);
        glUniform1i(glGetUniformLocation(program_, "sheet"), 0);
        glGenBuffers(1, &vertexBuffer_);
        glGenBuffers(1, &indexBuffer_);
        vertexCapacity_ = 0;
        uploadedIndices_ = nullptr;
        uploadedIndexCount_ = 0;
    }

    // Drawing units over the framebuffer's pixels: the shader maps the units.
    void GlViewport(int pixelWidth, int pixelHeight, int width, int height) override {
        glViewport(0, 0, pixelWidth, pixelHeight);
        glUniform2f(units_, static_cast<float>(width), static_cast<float>(height));
    }

    // The pointers name the buffer object, so they hold while its storage is
    // refilled batch after batch.
    void GlEnableArrays() override {
        glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer_);
        glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, kStride, nullptr);
        glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, kStride, reinterpret_cast<void*>(8));
        glVertexAttribPointer(2, 4, GL_UNSIGNED_BYTE, GL_TRUE, kStride,
                              reinterpret_cast<void*>(16));
        glEnableVertexAttribArray(0);
        glEnableVertexAttribArray(1);
        glEnableVertexAttribArray(2);
        glActiveTexture(GL_TEXTURE0);
    }

    // ES 2 has no client arrays: each batch is copied from here at its draw.
    void GlArrayPointers(const void* vertices) override {
        vertices_ = static_cast<const uint8_t*>(vertices);
    }

    void GlBlending(bool on) override { on ? glEnable(GL_BLEND) : glDisable(GL_BLEND); }

    // Premultiplied alpha: the source is already multiplied by its alpha.
    void GlBlendFunc(bool additive) override {
        glBlendFunc(GL_ONE, additive ? GL_ONE : GL_ONE_MINUS_SRC_ALPHA);
    }

    void GlTexturing(bool on) override { glUniform1f(texturedUniform_, on ? 1.0f : 0.0f); }

    void GlBindTexture(uint32_t texture) override { glBindTexture(GL_TEXTURE_2D, texture); }

    void GlScissorTest(bool on) override {
        on ? glEnable(GL_SCISSOR_TEST) : glDisable(GL_SCISSOR_TEST);
    }

    void GlScissorBox(int x, int y, int w, int h) override { glScissor(x, y, w, h); }

    void GlClearColour(float r, float g, float b) override { glClearColor(r, g, b, 1.0f); }

    void GlClear() override { glClear(GL_COLOR_BUFFER_BIT); }

    void GlDraw(int kind, int vertexCount, const uint16_t* quadIndices) override {
        if (vertexCount <= 0 || !vertices_) return;
        // The buffer grows only when a batch needs more than it has held.
        const GLsizeiptr bytes = static_cast<GLsizeiptr>(vertexCount) * kStride;
        if (bytes > vertexCapacity_) {
            glBufferData(GL_ARRAY_BUFFER, bytes, vertices_, GL_STREAM_DRAW);
            vertexCapacity_ = bytes;
        } else {
            glBufferSubData(GL_ARRAY_BUFFER, 0, bytes, vertices_);
        }
        switch (kind) {
            case 1:
                glDrawArrays(GL_POINTS, 0, vertexCount);
                break;
            case 2:
                glDrawArrays(GL_LINES, 0, vertexCount);
                break;
            case 4:
                DrawQuads(vertexCount / 4 * 6, quadIndices);
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

    // ES reads RGBA only; the bytes are swapped into the desktop's order.
    void GlReadPixels(int x, int y, int w, int h, uint8_t* out) override {
        glReadPixels(x, y, w, h, GL_RGBA, GL_UNSIGNED_BYTE, out);
        const size_t count = static_cast<size_t>(w) * static_cast<size_t>(h);
        for (size_t i = 0; i < count; i++) std::swap(out[4 * i], out[4 * i + 2]);
    }

    void GlTexSubImage(GlFormat format, int x, int y, int w, int h, const void* pixels,
                       bool bgra) override {
        if (!bgra) {
            glTexSubImage2D(GL_TEXTURE_2D, 0, x, y, w, h, FormatEnum(format), GL_UNSIGNED_BYTE,
                            pixels);
            return;
        }
        // ES takes no BGRA: the rare pixel writes are swapped into RGBA first.
        const auto* in = static_cast<const uint8_t*>(pixels);
        swizzled_.assign(in, in + static_cast<size_t>(w) * static_cast<size_t>(h) * 4);
        for (size_t i = 0; i < swizzled_.size(); i += 4) std::swap(swizzled_[i], swizzled_[i + 2]);
        glTexSubImage2D(GL_TEXTURE_2D, 0, x, y, w, h, GL_RGBA, GL_UNSIGNED_BYTE, swizzled_.data());
    }

  private:
    // The renderer's quad index list never changes: it is uploaded once, and
    // again only when a larger batch needs more of it.
    void DrawQuads(int indexCount, const uint16_t* indices) {
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer_);
        if (indices != uploadedIndices_ || indexCount > uploadedIndexCount_) {
            glBufferData(GL_ELEMENT_ARRAY_BUFFER,
                         static_cast<GLsizeiptr>(indexCount) * sizeof(uint16_t), indices,
                         GL_STATIC_DRAW);
            uploadedIndices_ = indices;
            uploadedIndexCount_ = indexCount;
        }
        glDrawElements(GL_TRIANGLES, indexCount, GL_UNSIGNED_SHORT, nullptr);
    }

    GLuint program_ = 0;
    GLint units_ = -1;
    GLint texturedUniform_ = -1;
    GLsizeiptr vertexCapacity_ = 0;
    GLuint vertexBuffer_ = 0;
    GLuint indexBuffer_ = 0;
    const uint8_t* vertices_ = nullptr;
    const uint16_t* uploadedIndices_ = nullptr;
    int uploadedIndexCount_ = 0;
    std::vector<uint8_t> swizzled_;
};

}  // namespace

std::unique_ptr<GlBackend> MakeGles2Backend() {
    return std::make_unique<Gles2Backend>();
}
