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
    int rectsAsClears = 0;  // opaque whole-window rectangles drawn as clears
};

enum class GlFormat { Luminance = 1, LuminanceAlpha = 2, Rgb = 3, Rgba = 4 };

// What the backend knows the GL context to hold. Unknown entries make the next
// request reach GL, so a new backend, or one told to forget, sets each once.
struct GlState {
    int viewportWidth = -1, viewportHeight = -1;  // framebuffer pixels; -1: unknown
    int unitsWidth = -1, unitsHeight = -1;        // what the projection spans
    bool arraysEnabled = false;                   // vertex, texcoord and colour arrays
    const void* arrays = nullptr;                 // where they point; null: unknown
    int blending = -1;                            // -1 unknown, 0 off, 1 on (so below)
    int additive = -1;
    int texturing = -1;
    bool boundKnown = false;
    uint32_t boundTexture = 0;
    int scissorTest = -1;
    bool scissorBoxKnown = false;
    int scissorBox[4] = {};
    bool clearColourKnown = false;
    float clearColour[3] = {};
    int packAlignment = 0, unpackAlignment = 0;  // 0: unknown
};

// The GL calls that got past the state cache, by kind; both backends count
// the same, so the counting backend shows what real GL would receive.
struct GlCallCounts {
    int viewport = 0, arrays = 0, pointers = 0, blending = 0, blendFunc = 0;
    int texturing = 0, bindTexture = 0, scissorTest = 0, scissorBox = 0;
    int clearColour = 0, clear = 0, draw = 0, pixelStore = 0, readPixels = 0;
    int genTexture = 0, deleteTexture = 0, texImage = 0, texSubImage = 0;
    int contextsReplaced = 0;
    int StateChanges() const {
        return viewport + arrays + pointers + blending + blendFunc + texturing + bindTexture +
               scissorTest + scissorBox + clearColour + pixelStore;
    }
};

// The renderer's requests go through a cache of the context's state: GL is
// touched only where a request differs from what it holds. The cache assumes
// this backend is the only one changing its context; ForgetState() is for
// when something else did.
class GlBackend {
  public:
    virtual ~GlBackend() = default;
    // Viewport over the framebuffer's pixels, an orthographic projection over
    // the window's units (the two differ on a scaled desktop), client arrays at
    // `vertices` (stride 20), alpha blending on.
    void BeginFrame(int width, int height, int pixelWidth, int pixelHeight, const void* vertices);
    void Clear(float r, float g, float b);
    void SetBlendAdditive(bool additive);
    void DisableScissor();
    void EnableScissor(int x, int y, int w, int h);  // GL rows, bottom-up
    // kind 1 points, 2 lines, 4 quads (indexed triangles), 5 fan; texture 0 = none.
    void Draw(int kind, int vertexCount, uint32_t texture, const uint16_t* quadIndices);
    void ReadPixelsBgra(int x, int y, int w, int h, uint8_t* out);  // GL rows
    // A new texture name, bound, with nearest filtering and clamp to edge.
    uint32_t CreateTexture();
    void DeleteTexture(uint32_t texture);
    // Allocates storage; false when GL reports an error (e.g. size refused).
    bool AllocateTexture(uint32_t texture, GlFormat format, int w, int h);
    // Fills a block of the texture; `bgra` pixels are 4 bytes B, G, R, A.
    void UploadTexture(uint32_t texture, GlFormat format, int x, int y, int w, int h,
                       const void* pixels, bool bgra);

    // The largest texture side GL takes, in pixels.
    int MaxTextureSize() { return GlMaxTextureSize(); }

    void ForgetState() { state_ = GlState{}; }
    // The context was replaced by an empty one: what the backend made in the
    // old one (programs, buffers) is made again, and nothing is assumed set.
    void ContextReplaced() {
        state_ = GlState{};
        GlCreateObjects();
        calls_.contextsReplaced++;
    }
    const GlState& State() const { return state_; }
    const GlCallCounts& Calls() const { return calls_; }

  protected:
    // One change of context state or one command each, made unconditionally.
    // The viewport in pixels, with a projection spanning width × height units.
    virtual void GlViewport(int pixelWidth, int pixelHeight, int width, int height) = 0;
    virtual void GlEnableArrays() = 0;
    virtual void GlArrayPointers(const void* vertices) = 0;
    virtual void GlBlending(bool on) = 0;
    virtual void GlBlendFunc(bool additive) = 0;
    virtual void GlTexturing(bool on) = 0;
    virtual void GlBindTexture(uint32_t texture) = 0;
    virtual void GlScissorTest(bool on) = 0;
    virtual void GlScissorBox(int x, int y, int w, int h) = 0;
    virtual void GlClearColour(float r, float g, float b) = 0;  // 0..1
    virtual void GlClear() = 0;
    virtual void GlDraw(int kind, int vertexCount, const uint16_t* quadIndices) = 0;
    virtual void GlPixelStore(bool pack, int alignment) = 0;
    virtual void GlReadPixels(int x, int y, int w, int h, uint8_t* out) = 0;
    virtual uint32_t GlGenTexture() = 0;
    virtual void GlTextureParameters() = 0;  // of the bound texture
    virtual void GlDeleteTexture(uint32_t texture) = 0;
    virtual bool GlTexImage(GlFormat format, int w, int h) = 0;  // into the bound texture
    virtual void GlTexSubImage(GlFormat format, int x, int y, int w, int h, const void* pixels,
                               bool bgra) = 0;
    // The backend's own GL objects; the fixed-function one has none.
    virtual void GlCreateObjects() {}
    virtual int GlMaxTextureSize() = 0;

  private:
    void Texturing(bool on);
    void Bind(uint32_t texture);
    void PixelStore(bool pack, int alignment);

    GlState state_;
    GlCallCounts calls_;
};

std::unique_ptr<GlBackend> MakeOpenGlBackend();

// Records calls instead of drawing, and keeps what GL would hold after them,
// so tests see what the cache let through. Test switches make texture sizes
// fail and names of deleted textures come back, as GL's do.
class NullGlBackend : public GlBackend {
  public:
    int frameWidth = 0, frameHeight = 0;        // the projection, in window units
    int viewportWidth = 0, viewportHeight = 0;  // the viewport, in framebuffer pixels
    int drawCalls = 0;
    int clears = 0;
    int blendCalls = 0;
    int lastKind = 0;
    int lastVertexCount = 0;
    uint32_t lastTexture = 0;  // what the last draw sampled: 0 with texturing off
    uint32_t lastTextureName = 0;
    int deletedTextures = 0;
    bool additiveNow = false;
    bool scissorOn = false;
    int scissorBox[4] = {};
    bool texturingOn = false;
    uint32_t boundNow = 0;
    bool reuseTextureNames = false;    // test switch: a deleted name is handed out next
    bool refuseNonPowerOfTwo = false;  // test switch: act like an old GL
    int maxTextureSize = 16384;        // larger sizes are refused, as GL does
    int allocatedWidth = 0, allocatedHeight = 0;
    uint32_t allocatedTexture = 0, uploadedTexture = 0;
    GlFormat lastFormat = GlFormat::Rgba;
    std::vector<uint8_t> lastUpload;  // bytes of the last UploadTexture (tests read them)

  protected:
    void GlViewport(int pixelWidth, int pixelHeight, int width, int height) override {
        viewportWidth = pixelWidth, viewportHeight = pixelHeight;
        frameWidth = width, frameHeight = height;
    }
    void GlEnableArrays() override {}
    void GlArrayPointers(const void* vertices) override {}
    void GlBlending(bool on) override {}
    void GlBlendFunc(bool additive) override {
        additiveNow = additive;
        blendCalls++;
    }
    void GlTexturing(bool on) override { texturingOn = on; }
    void GlBindTexture(uint32_t texture) override { boundNow = texture; }
    void GlScissorTest(bool on) override { scissorOn = on; }
    void GlScissorBox(int x, int y, int w, int h) override {
        scissorBox[0] = x, scissorBox[1] = y, scissorBox[2] = w, scissorBox[3] = h;
    }
    void GlClearColour(float r, float g, float b) override {}
    void GlClear() override { clears++; }
    void GlDraw(int kind, int vertexCount, const uint16_t* quadIndices) override {
        drawCalls++;
        lastKind = kind;
        lastVertexCount = vertexCount;
        lastTexture = texturingOn ? boundNow : 0;
    }
    void GlPixelStore(bool pack, int alignment) override {}
    void GlReadPixels(int x, int y, int w, int h, uint8_t* out) override;
    uint32_t GlGenTexture() override;
    void GlTextureParameters() override {}
    void GlDeleteTexture(uint32_t texture) override;
    bool GlTexImage(GlFormat format, int w, int h) override;
    void GlTexSubImage(GlFormat format, int x, int y, int w, int h, const void* pixels,
                       bool bgra) override;
    int GlMaxTextureSize() override { return maxTextureSize; }

  private:
    uint32_t freedName_ = 0;
};
