// The batched renderer: one fixed vertex array, primitives of one kind and
// texture merged into as few draw calls as capacity allows.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <vector>

#include "core/text.h"
#include "graphics/gl_backend.h"
#include "graphics/sprite_math.h"
#include "graphics/sprite_queue.h"
#include "graphics/surface.h"

// Premultiplied colour as R, G, B, A bytes (A<<24 | B<<16 | G<<8 | R). Alpha is
// kept to 0..1 and colours to 0..255, so no byte spills into its neighbour and
// no colour byte exceeds the alpha byte.
uint32_t PackColour(float r, float g, float b, float alpha);

// An affine matrix: a point (x, y) goes to (x·ix + y·jx + tx, x·iy + y·jy + ty).
using Affine = sprite_math::Placement<float>;

// A sprite's place without a matrix: its handle (hx, hy) lands on (x, y),
// turned by `rotation` degrees about it and scaled.
struct SpritePlace {
    float x, y, rotation, scaleX, scaleY, hx, hy;
};

// Primitive kinds, as the backend's Draw takes them.
constexpr int kKindPoints = 1;
constexpr int kKindLines = 2;
constexpr int kKindQuads = 4;  // indexed triangles, two a quad
constexpr int kKindFan = 5;

// Why the pending batch was submitted (GraphicsStats keeps one count each).
enum class FlushCause { Kind, Capacity, State };

class FileOpener;
class Presenter;

class PlGraphics {
  public:
    static constexpr int kMaxVertices = 1024;
    static constexpr int kMaxQuads = QueuedSprites::kCapacity;

    // The presenter gives the window size and shows frames; the opener reads
    // the picture files. Without a presenter (tests) the size is set by hand.
    explicit PlGraphics(std::unique_ptr<GlBackend> backend, Presenter* presenter = nullptr,
                        FileOpener* files = nullptr);
    virtual ~PlGraphics() = default;
    PlGraphics(const PlGraphics&) = delete;
    PlGraphics& operator=(const PlGraphics&) = delete;

    // The window in its own units, which drawing and scissor boxes use.
    int Width() const { return width_; }
    int Height() const { return height_; }
    // The framebuffer in pixels, which pixel reads use (more than the window's
    // units on a scaled desktop).
    int PixelWidth() const { return pixelWidth_; }
    int PixelHeight() const { return pixelHeight_; }
    void FrameBegin();
    int FrameEnd();
    // The GL context was lost and a new, empty one is in its place: the
    // backend's state and the texture of every surface still in use are made
    // again, pictures from their files, so the next frame looks as before.
    int GraphicsLost();
    std::shared_ptr<PlSurface> SurfaceFromFile(StringView path);
    std::shared_ptr<PlSurface> DecodeIntoSurface(std::shared_ptr<PlSurface> surface,
                                                 StringView path);
    std::shared_ptr<PlSurface> BlankSurface(int width, int height);
    int Clear(float r, float g, float b);
    // Set before every sprite, so inline; the colour is packed when used.
    int SetAlpha(float alpha) {
        colour_[3] = alpha;
        colourDirty_ = true;
        return 0;
    }
    int SetColor(float r, float g, float b) {
        colour_[0] = r, colour_[1] = g, colour_[2] = b;
        colourDirty_ = true;
        return 0;
    }
    // Setting the mode already in force neither flushes nor reaches GL.
    int SetBlend(int blend);
    int SetScissor(int x, int y, int width, int height);
    int SetMatrix(float ix, float iy, float jx, float jy, float tx, float ty);
    int DrawPoint(float x, float y);
    int DrawRect(float x, float y, float width, float height);
    int DrawLine(float x1, float y1, float x2, float y2);
    int DrawOval(float x, float y, float width, float height);
    int DrawPoly(std::span<const float> vertices);
    int BlitSurface(PlSurface* surface, float x, float y);
    int BlitSurfaceRegion(PlSurface* surface, float x, float y, int srcX, int srcY, int srcWidth,
                          int srcHeight);
    // A blit placed by its own matrix rather than the current one: the vertices
    // BlitSurface or BlitSurfaceRegion at (0, 0) give with `m` as the matrix.
    int DrawSprite(PlSurface* surface, const Affine& m);
    int DrawSpriteRegion(PlSurface* surface, const Affine& m, int srcX, int srcY, int srcWidth,
                         int srcHeight);
    // The same with the matrix ComposeSprite makes from `place` and the
    // identity. The corners are worked out when the batch goes out, for four or
    // eight sprites at a time; they are the ones the two calls above give, to
    // the bit.
    // Inline: every sprite of a frame comes this way.
    int DrawSprite(PlSurface* surface, const SpritePlace& place) {
        if (!surface) return 0;
        const float w = static_cast<float>(surface->Width());
        const float h = static_cast<float>(surface->Height());
        QueueSprite(surface, place, w, h, 0, 0, w * surface->texScaleU, h * surface->texScaleV);
        return 0;
    }
    int DrawSpriteRegion(PlSurface* surface, const SpritePlace& place, int srcX, int srcY,
                         int srcWidth, int srcHeight) {
        if (!surface) return 0;
        const float us = surface->texScaleU, vs = surface->texScaleV;
        const float sx = static_cast<float>(srcX), sy = static_cast<float>(srcY);
        const float sw = static_cast<float>(srcWidth), sh = static_cast<float>(srcHeight);
        QueueSprite(surface, place, sw, sh, sx * us, sy * vs, (sx + sw) * us, (sy + sh) * vs);
        return 0;
    }
    // Destination blocks that do not fit in `pixels` are refused (nothing read).
    int ReadPixels(std::span<int32_t> pixels, int x, int y, int width, int height, int offset,
                   int pitch);
    int WritePixels(PlSurface* surface, std::span<const int32_t> pixels, int x, int y, int width,
                    int height, int offset, int pitch);

    GlBackend* Backend() { return backend_.get(); }
    const GraphicsStats& Stats() const { return stats_; }          // frame in progress
    const GraphicsStats& LastFrame() const { return lastFrame_; }  // last finished frame
    uint32_t PackedColour() const {
        return colourDirty_ ? PackColour(colour_[0], colour_[1], colour_[2], colour_[3])
                            : packedColour_;
    }
    int BatchKind() const { return batchKind_; }
    int BatchCount() const { return batchCount_; }
    bool HasTransform() const { return hasTransform_; }
    const Vertex& VertexAt(int i) {
        PlaceSprites();
        return vertices_[i];
    }
    // Overrides the window size (headless platforms without a window).
    void SetSize(int width, int height) {
        width_ = pixelWidth_ = width;
        height_ = pixelHeight_ = height;
    }

  private:
    void Flush(FlushCause cause);
    // Surfaces are remembered (weakly) so a new context can be refilled.
    void Remember(const std::shared_ptr<PlSurface>& surface);
    void Refill(const std::shared_ptr<PlSurface>& surface);
    bool CoversWindowOpaquely(float x, float y, float width, float height);
    // The slots for one more primitive. Inline for the usual case, a batch
    // going on; the rest (flushes, a new batch) is StartPrimitive's.
    // Queued sprites pack their colour later, lane-wide (`pack` false).
    Vertex* BeginPrimitive(int kind, PlSurface* surface, int capacity, int verticesEach,
                           bool pack = true) {
        if (batchKind_ != kind || batchSurface_ != surface || batchCount_ == 0 ||
            batchCount_ >= capacity)
            return StartPrimitive(kind, surface, capacity, verticesEach, pack);
        if (pack && colourDirty_) Repack();
        return &vertices_[static_cast<size_t>(batchCount_++) * verticesEach];
    }
    Vertex* StartPrimitive(int kind, PlSurface* surface, int capacity, int verticesEach, bool pack);
    void PutVertex(Vertex& v, float x, float y) const;
    void Repack();
    void SubmitFan(int count);
    // Takes the sprite's slot in the batch (so that nothing computed has to
    // live across a flush) and queues the rest: the slot is filled when the
    // batch goes out.
    void QueueSprite(PlSurface* surface, const SpritePlace& place, float w, float h, float u0,
                     float v0, float u1, float v1) {
        BeginPrimitive(kKindQuads, surface, kMaxQuads, 4, false);
        QueuedSprites& q = queued_;
        const auto i = static_cast<size_t>(q.count++);
        using sprite_math::Float4;
        PutRow(q.where[i], Float4{place.x, place.y, place.rotation, place.scaleX});
        PutRow(q.block[i], Float4{place.hx, place.hy, w, h});
        PutRow(q.texture[i], Float4{u0, v0, u1, v1});
        q.colour[i] = colour_;
        q.scaleY[i] = place.scaleY;
        q.quad[i] = static_cast<uint16_t>(batchCount_ - 1);  // the slot just taken
    }
    void PlaceSprites();
    static void PutRow(QueuedSprites::Row& row, sprite_math::Float4 values) {
        std::memcpy(row.data(), &values, sizeof row);
    }

    std::shared_ptr<GlBackend> backend_;  // shared with the surfaces it made
    int64_t PixelsX(int64_t units) const;
    int64_t PixelsY(int64_t units) const;

    Presenter* presenter_ = nullptr;
    FileOpener* files_ = nullptr;
    int width_ = 0, height_ = 0;
    int pixelWidth_ = 0, pixelHeight_ = 0;
    uint32_t packedColour_ = 0;
    bool colourDirty_ = false;     // packed at the next vertex, not at every setter
    QueuedSprites::Row colour_{};  // r, g, b, alpha as last set
    float ix_ = 0, iy_ = 0, jx_ = 0, jy_ = 0, tx_ = 0, ty_ = 0;
    bool hasTransform_ = false;
    std::array<Vertex, kMaxVertices> vertices_{};
    std::array<uint16_t, kMaxQuads * 6> quadIndexList_{};
    // Sprites of the pending batch whose corners and colour are still to be
    // worked out, and what works them out on this processor.
    QueuedSprites queued_{};
    SpritePlacer placeSprites_ = FastestSpritePlacer();
    int batchKind_ = 0;
    int batchCount_ = 0;
    PlSurface* batchSurface_ = nullptr;
    uint32_t batchTexture_ = 0;  // taken when the batch starts, so a discarded surface is safe
    int blendInForce_ = -1;      // -1: unknown, so the next SetBlend reaches GL
    GraphicsStats stats_, lastFrame_;
    std::vector<std::weak_ptr<PlSurface>> surfaces_;
};
