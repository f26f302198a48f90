// The few GL calls the renderer makes, behind one seam: the real OpenGL 1.x
// backend draws; the null backend counts, so headless tests and benchmarks run.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

// Per-frame figures, the way 2D frameworks expose them.
struct GraphicsStats {
    int drawCalls = 0;
    int vertices = 0;
    int flushesByKind = 0;      // batch kind or surface changed
    int flushesByCapacity = 0;  // batch full
    int flushesByState = 0;     // blend, scissor, pixels, frame end
    int blendChanges = 0;
};

enum class GlFormat { Luminance = 1, LuminanceAlpha = 2, Rgb = 3, Rgba = 4 };

class GlBackend {
  public:
    virtual ~GlBackend() = default;
    // Viewport, orthographic projection, client arrays at `vertices` (stride 20), blend on.
    virtual void BeginFrame(int width, int height, const void* vertices) = 0;
    // The viewport in framebuffer pixels, when they differ from drawing units.
    virtual void SetViewport(int pixelWidth, int pixelHeight) = 0;
    virtual void Clear(float r, float g, float b) = 0;
    virtual void SetBlendAdditive(bool additive) = 0;
    virtual void DisableScissor() = 0;
    virtual void EnableScissor(int x, int y, int w, int h) = 0;  // GL rows, bottom-up
    // kind 1 points, 2 lines, 4 quads (indexed triangles), 5 fan; texture 0 = none.
    virtual void Draw(int kind, int vertexCount, uint32_t texture, const uint16_t* quadIndices) = 0;
    virtual void ReadPixelsBgra(int x, int y, int w, int h, uint8_t* out) = 0;  // GL rows
    // A new texture name, bound, with nearest filtering and clamp to edge.
    virtual uint32_t CreateTexture() = 0;
    virtual void DeleteTexture(uint32_t texture) = 0;
    // Allocates storage; false when GL reports an error (e.g. size refused).
    virtual bool AllocateTexture(uint32_t texture, GlFormat format, int w, int h) = 0;
    // Fills a block of the texture; `bgra` pixels are 4 bytes B, G, R, A.
    virtual void UploadTexture(uint32_t texture, GlFormat format, int x, int y, int w, int h,
                               const void* pixels, bool bgra) = 0;
};

std::unique_ptr<GlBackend> MakeOpenGlBackend();

// Records calls instead of drawing. Test switches make texture sizes fail.
class NullGlBackend : public GlBackend {
  public:
    void BeginFrame(int width, int height, const void* vertices) override {
        frames++;
        frameWidth = width;
        frameHeight = height;
        additiveNow = false;  // GL is set back to alpha blending
    }
    void SetViewport(int pixelWidth, int pixelHeight) override {
        viewportWidth = pixelWidth;
        viewportHeight = pixelHeight;
    }
    void Clear(float r, float g, float b) override { clears++; }
    void SetBlendAdditive(bool additive) override {
        additiveNow = additive;
        blendCalls++;
    }
    void DisableScissor() override { scissorOn = false; }
    void EnableScissor(int x, int y, int w, int h) override {
        scissorOn = true;
        scissorBox[0] = x, scissorBox[1] = y, scissorBox[2] = w, scissorBox[3] = h;
    }
    void Draw(int kind, int vertexCount, uint32_t texture, const uint16_t* quadIndices) override {
        drawCalls++;
        lastKind = kind;
        lastVertexCount = vertexCount;
        lastTexture = texture;
    }
    void ReadPixelsBgra(int x, int y, int w, int h, uint8_t* out) override;
    uint32_t CreateTexture() override { return ++lastTextureName; }
    void DeleteTexture(uint32_t texture) override { deletedTextures++; }
    bool AllocateTexture(uint32_t texture, GlFormat format, int w, int h) override;
    void UploadTexture(uint32_t texture, GlFormat format, int x, int y, int w, int h,
                       const void* pixels, bool bgra) override;

    int frames = 0;
    int frameWidth = 0, frameHeight = 0;
    int viewportWidth = 0, viewportHeight = 0;
    int drawCalls = 0;
    int clears = 0;
    int blendCalls = 0;
    int lastKind = 0;
    int lastVertexCount = 0;
    uint32_t lastTexture = 0;
    uint32_t lastTextureName = 0;
    int deletedTextures = 0;
    bool additiveNow = false;
    bool scissorOn = false;
    int scissorBox[4] = {};
    bool refuseNonPowerOfTwo = false;  // test switch: act like an old GL
    int maxTextureSize = 16384;        // larger sizes are refused, as GL does
    int allocatedWidth = 0, allocatedHeight = 0;
    GlFormat lastFormat = GlFormat::Rgba;
    std::vector<uint8_t> lastUpload;  // bytes of the last UploadTexture (tests read them)
};
