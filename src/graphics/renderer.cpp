// The render batcher: CPU-side transforms, one vertex array, few draw calls.
#include "graphics/renderer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "formats/image_decode.h"
#include "platform/views.h"

namespace {

// One colour byte: truncated toward zero, kept inside 0..255 (NaN counts as 0).
[[maybe_unused]] uint32_t ColourByte(float v) {
    v = v > 0.0f ? v : 0.0f;  // written to compile to min/max, no branches
    v = v < 255.0f ? v : 255.0f;
    return static_cast<uint32_t>(static_cast<int>(v));
}

// Vertices written per pending primitive, by kind.
int VerticesPerPrimitive(int kind) {
    switch (kind) {
        case kKindLines:
            return 2;
        case kKindQuads:
            return 4;
        default:
            return 1;
    }
}

int ClampToInt(int64_t v) {
    return static_cast<int>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

}  // namespace

uint32_t PackColour(float r, float g, float b, float alpha) {
    float a = alpha > 0.0f ? alpha : 0.0f;  // NaN counts as 0
    a = a < 1.0f ? a : 1.0f;
#if defined(__SSE2__)
    // The four bytes at once: min, max and truncation per lane are the scalar
    // comparisons below (NaN goes the same way), 255·a is a·255.
    __m128 c = _mm_min_ps(_mm_setr_ps(r, g, b, 255.0f), _mm_set1_ps(255.0f));
    c = _mm_mul_ps(c, _mm_set1_ps(a));
    c = _mm_min_ps(_mm_max_ps(c, _mm_setzero_ps()), _mm_set1_ps(255.0f));
    const __m128i bytes = _mm_cvttps_epi32(c);
    const __m128i words = _mm_packs_epi32(bytes, bytes);
    return static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(words, words)));
#else
    r = r < 255.0f ? r : 255.0f, g = g < 255.0f ? g : 255.0f, b = b < 255.0f ? b : 255.0f;
    return ColourByte(a * 255.0f) << 24 | ColourByte(b * a) << 16 | ColourByte(g * a) << 8 |
           ColourByte(r * a);
#endif
}

PlGraphics::PlGraphics(std::unique_ptr<GlBackend> backend, Presenter* presenter, FileOpener* files)
    : backend_(std::move(backend)), presenter_(presenter), files_(files) {
    if (!backend_) backend_ = std::make_shared<NullGlBackend>();
    for (int i = 0; i < kMaxQuads; i++) {
        const auto base = static_cast<uint16_t>(i * 4);
        uint16_t* q = &quadIndexList_[i * 6];
        q[0] = base, q[1] = base + 1, q[2] = base + 2;
        q[3] = base, q[4] = base + 2, q[5] = base + 3;
    }
    if (Presenter* game = presenter_; game && game->HasGlContext()) {
        width_ = game->WindowWidth();
        height_ = game->WindowHeight();
        pixelWidth_ = game->FramebufferWidth();
        pixelHeight_ = game->FramebufferHeight();
    }
}

// Sets up GL for the window's current size; the blend cache matches GL again.
void PlGraphics::FrameBegin() {
    if (Presenter* game = presenter_; game && (game->HasGlContext() || game->WindowWidth() > 0)) {
        width_ = game->WindowWidth();
        height_ = game->WindowHeight();
        pixelWidth_ = game->FramebufferWidth();
        pixelHeight_ = game->FramebufferHeight();
    }
    // Drawing is in window units; GL's viewport covers every framebuffer pixel.
    backend_->BeginFrame(width_, height_, pixelWidth_, pixelHeight_, vertices_.data());
    blendInForce_ = 0;
    batchCount_ = 0;
    queued_.count = 0;
    stats_ = GraphicsStats{};
}

// Submits what is pending, keeps the figures, presents the frame.
int PlGraphics::FrameEnd() {
    Flush(FlushCause::State);
    lastFrame_ = stats_;
    stats_ = GraphicsStats{};
    if (Presenter* game = presenter_; game && game->HasGlContext()) game->SwapBuffers();
    return 0;
}

std::shared_ptr<PlSurface> PlGraphics::SurfaceFromFile(StringView path) {
    auto surface = DecodeIntoSurface(std::make_shared<PlSurface>(backend_), path);
    if (!surface || !surface->Upload()) return nullptr;
    Remember(surface);
    return surface;
}

// Opens through the platform, decodes; the surface is untouched when that fails.
std::shared_ptr<PlSurface> PlGraphics::DecodeIntoSurface(std::shared_ptr<PlSurface> surface,
                                                         StringView path) {
    if (!surface || !files_) return nullptr;
    FileHandle file = files_->OpenFile(path, "rb");
    DecodedImage image;
    if (!DecodeImage(file.get(), &image) || !image.pixels) return nullptr;
    if (image.components < 1 || image.components > 4 || image.width <= 0 || image.height <= 0)
        return nullptr;
    surface->data = std::move(image.pixels);
    surface->width = image.width;
    surface->height = image.height;
    surface->depth = image.components;
    surface->source = String(path);
    return surface;
}

std::shared_ptr<PlSurface> PlGraphics::BlankSurface(int width, int height) {
    auto surface = std::make_shared<PlSurface>(backend_);
    surface->width = width;
    surface->height = height;
    surface->depth = 4;
    if (!surface->Upload()) return nullptr;
    Remember(surface);
    return surface;
}

void PlGraphics::Remember(const std::shared_ptr<PlSurface>& surface) {
    // Sheets are replaced on every reload: forget the ones gone meanwhile.
    std::erase_if(surfaces_, [](const std::weak_ptr<PlSurface>& s) { return s.expired(); });
    surfaces_.push_back(surface);
}

int PlGraphics::GraphicsLost() {
    backend_->ContextReplaced();
    blendInForce_ = -1;
    batchCount_ = 0;
    queued_.count = 0;
    batchSurface_ = nullptr;
    std::erase_if(surfaces_, [](const std::weak_ptr<PlSurface>& s) { return s.expired(); });
    for (const std::weak_ptr<PlSurface>& weak : surfaces_)
        if (std::shared_ptr<PlSurface> surface = weak.lock()) Refill(surface);
    return 0;
}

// The old texture name died with its context, so it is not deleted. A file
// that can no longer be read leaves a clear texture, not an untextured block.
void PlGraphics::Refill(const std::shared_ptr<PlSurface>& surface) {
    surface->texture = 0;
    if (surface->source.empty() || !DecodeIntoSurface(surface, surface->source))
        surface->data.reset();
    surface->Upload();
}

// Pending primitives are dropped, not drawn.
int PlGraphics::Clear(float r, float g, float b) {
    batchCount_ = 0;
    queued_.count = 0;
    backend_->Clear(r, g, b);
    return 0;
}

void PlGraphics::Repack() {
    packedColour_ = PackColour(colour_[0], colour_[1], colour_[2], colour_[3]);
    colourDirty_ = false;
}

int PlGraphics::SetBlend(int blend) {
    const int mode = blend == 1 ? 1 : 0;
    if (mode == blendInForce_) return 0;
    Flush(FlushCause::State);
    backend_->SetBlendAdditive(mode == 1);
    blendInForce_ = mode;
    stats_.blendChanges++;
    return 0;
}

// A box covering the whole window turns the test off instead.
int PlGraphics::SetScissor(int x, int y, int width, int height) {
    Flush(FlushCause::State);
    if (x == 0 && y == 0 && width == width_ && height == height_) {
        backend_->DisableScissor();
        return 0;
    }
    // The box is in window units, GL's scissor in framebuffer pixels.
    const int64_t left = PixelsX(x), top = PixelsY(y);
    const int64_t glY = int64_t{pixelHeight_} - PixelsY(int64_t{y} + height);
    backend_->EnableScissor(ClampToInt(left), ClampToInt(glY),
                            ClampToInt(PixelsX(int64_t{x} + std::max(width, 0)) - left),
                            ClampToInt(PixelsY(int64_t{y} + std::max(height, 0)) - top));
    return 0;
}

int64_t PlGraphics::PixelsX(int64_t units) const {
    return width_ > 0 ? units * pixelWidth_ / width_ : units;
}

int64_t PlGraphics::PixelsY(int64_t units) const {
    return height_ > 0 ? units * pixelHeight_ / height_ : units;
}

int PlGraphics::SetMatrix(float ix, float iy, float jx, float jy, float tx, float ty) {
    ix_ = ix, iy_ = iy, jx_ = jx, jy_ = jy, tx_ = tx, ty_ = ty;
    hasTransform_ = !(ix == 1 && iy == 0 && jx == 0 && jy == 1 && tx == 0 && ty == 0);
    return 0;
}

void PlGraphics::PutVertex(Vertex& v, float x, float y) const {
    if (hasTransform_) {
        v.x = x * ix_ + y * jx_ + tx_;
        v.y = x * iy_ + y * jy_ + ty_;
    } else {
        v.x = x;
        v.y = y;
    }
    v.colour = packedColour_;
}

void PlGraphics::Flush(FlushCause cause) {
    if (batchCount_ == 0) return;
    PlaceSprites();
    const int vertexCount = batchCount_ * VerticesPerPrimitive(batchKind_);
    backend_->Draw(batchKind_, vertexCount, batchSurface_ ? batchTexture_ : 0,
                   quadIndexList_.data());
    stats_.drawCalls++;
    stats_.vertices += vertexCount;
    switch (cause) {
        case FlushCause::Kind:
            stats_.flushesByKind++;
            break;
        case FlushCause::Capacity:
            stats_.flushesByCapacity++;
            break;
        case FlushCause::State:
            stats_.flushesByState++;
            break;
    }
    batchCount_ = 0;
}

// Flushes on a change of kind or texture, or when full; returns the slots.
Vertex* PlGraphics::StartPrimitive(int kind, PlSurface* surface, int capacity, int verticesEach,
                                   bool pack) {
    if (batchKind_ != kind || batchSurface_ != surface) {
        Flush(FlushCause::Kind);
        batchKind_ = kind;
        batchSurface_ = surface;
    } else if (batchCount_ >= capacity) {
        Flush(FlushCause::Capacity);
    }
    if (batchCount_ == 0) batchTexture_ = surface ? surface->texture : 0;
    if (pack && colourDirty_) Repack();
    return &vertices_[static_cast<size_t>(batchCount_++) * verticesEach];
}

int PlGraphics::DrawPoint(float x, float y) {
    Vertex* v = BeginPrimitive(kKindPoints, nullptr, kMaxVertices, 1);
    PutVertex(v[0], x, y);
    return 0;
}

int PlGraphics::DrawLine(float x1, float y1, float x2, float y2) {
    Vertex* v = BeginPrimitive(kKindLines, nullptr, kMaxVertices / 2, 2);
    PutVertex(v[0], x1, y1);
    PutVertex(v[1], x2, y2);
    return 0;
}

// An opaque rectangle over the whole window, blended normally, leaves the
// pixels a clear to its colour leaves: GL then fills the frame without
// shading or blending a pixel (on a software rasterizer, without compiling a
// shader for the first frame). A scissor box limits both alike.
bool PlGraphics::CoversWindowOpaquely(float x, float y, float width, float height) {
    if (hasTransform_ || blendInForce_ != 0 || width_ <= 0 || height_ <= 0) return false;
    if (!(x <= 0 && y <= 0 && x + width >= static_cast<float>(width_) &&
          y + height >= static_cast<float>(height_)))
        return false;
    return PackedColour() >> 24 == 255;
}

int PlGraphics::DrawRect(float x, float y, float width, float height) {
    if (CoversWindowOpaquely(x, y, width, height)) {
        // Premultiplied bytes with alpha 255 are the colour itself.
        const uint32_t c = PackedColour();
        Clear(static_cast<float>(c & 255), static_cast<float>(c >> 8 & 255),
              static_cast<float>(c >> 16 & 255));
        stats_.rectsAsClears++;
        return 0;
    }
    Vertex* v = BeginPrimitive(kKindQuads, nullptr, kMaxQuads, 4);
    PutVertex(v[0], x, y);
    PutVertex(v[1], x + width, y);
    PutVertex(v[2], x + width, y + height);
    PutVertex(v[3], x, y + height);
    return 0;
}

int PlGraphics::BlitSurface(PlSurface* surface, float x, float y) {
    if (!surface) return 0;
    const float w = static_cast<float>(surface->Width());
    const float h = static_cast<float>(surface->Height());
    const float u = w * surface->texScaleU, vv = h * surface->texScaleV;
    Vertex* v = BeginPrimitive(kKindQuads, surface, kMaxQuads, 4);
    PutVertex(v[0], x, y);
    v[0].u = 0, v[0].v = 0;
    PutVertex(v[1], x + w, y);
    v[1].u = u, v[1].v = 0;
    PutVertex(v[2], x + w, y + h);
    v[2].u = u, v[2].v = vv;
    PutVertex(v[3], x, y + h);
    v[3].u = 0, v[3].v = vv;
    return 0;
}

// Draws the source block at its own size; scaling comes only from the matrix.
int PlGraphics::BlitSurfaceRegion(PlSurface* surface, float x, float y, int srcX, int srcY,
                                  int srcWidth, int srcHeight) {
    if (!surface) return 0;
    const float us = surface->texScaleU, vs = surface->texScaleV;
    const float sx = static_cast<float>(srcX), sy = static_cast<float>(srcY);
    const float sw = static_cast<float>(srcWidth), sh = static_cast<float>(srcHeight);
    const float u0 = sx * us, v0 = sy * vs, u1 = (sx + sw) * us, v1 = (sy + sh) * vs;
    Vertex* v = BeginPrimitive(kKindQuads, surface, kMaxQuads, 4);
    PutVertex(v[0], x, y);
    v[0].u = u0, v[0].v = v0;
    PutVertex(v[1], x + sw, y);
    v[1].u = u1, v[1].v = v0;
    PutVertex(v[2], x + sw, y + sh);
    v[2].u = u1, v[2].v = v1;
    PutVertex(v[3], x, y + sh);
    v[3].u = u0, v[3].v = v1;
    return 0;
}

namespace {

// The corners as PutVertex places (0, 0), (w, 0), (w, h), (0, h) under a
// matrix, so the bits match the path through SetMatrix.
inline void PutSpriteQuad(Vertex* v, const Affine& m, float w, float h, float u0, float v0,
                          float u1, float v1, uint32_t colour) {
    float xs[4], ys[4];
    sprite_math::Corners(m, w, h, xs, ys);
    v[0] = Vertex{xs[0], ys[0], u0, v0, colour};
    v[1] = Vertex{xs[1], ys[1], u1, v0, colour};
    v[2] = Vertex{xs[2], ys[2], u1, v1, colour};
    v[3] = Vertex{xs[3], ys[3], u0, v1, colour};
}

}  // namespace

// The slots are taken first, so that nothing computed has to live across a flush.
int PlGraphics::DrawSprite(PlSurface* surface, const Affine& m) {
    if (!surface) return 0;
    Vertex* v = BeginPrimitive(kKindQuads, surface, kMaxQuads, 4);
    const float w = static_cast<float>(surface->Width());
    const float h = static_cast<float>(surface->Height());
    PutSpriteQuad(v, m, w, h, 0, 0, w * surface->texScaleU, h * surface->texScaleV, packedColour_);
    return 0;
}

int PlGraphics::DrawSpriteRegion(PlSurface* surface, const Affine& m, int srcX, int srcY,
                                 int srcWidth, int srcHeight) {
    if (!surface) return 0;
    Vertex* v = BeginPrimitive(kKindQuads, surface, kMaxQuads, 4);
    const float us = surface->texScaleU, vs = surface->texScaleV;
    const float sx = static_cast<float>(srcX), sy = static_cast<float>(srcY);
    const float sw = static_cast<float>(srcWidth), sh = static_cast<float>(srcHeight);
    PutSpriteQuad(v, m, sw, sh, sx * us, sy * vs, (sx + sw) * us, (sy + sh) * vs, packedColour_);
    return 0;
}

void PlGraphics::PlaceSprites() {
    if (queued_.count == 0) return;
    placeSprites_(queued_, vertices_.data());
    queued_.count = 0;
}

// Fans are never merged: the batch holds exactly this fan and goes out at once.
void PlGraphics::SubmitFan(int count) {
    batchCount_ = count;
    backend_->Draw(kKindFan, count, 0, quadIndexList_.data());
    stats_.drawCalls++;
    stats_.vertices += count;
    batchCount_ = 0;
}

int PlGraphics::DrawPoly(std::span<const float> vertices) {
    const size_t n = vertices.size() / 2;
    if (n < 3 || n > static_cast<size_t>(kMaxVertices)) return 0;
    Flush(FlushCause::Kind);
    batchKind_ = kKindFan;
    batchSurface_ = nullptr;
    if (colourDirty_) Repack();
    for (size_t i = 0; i < n; i++) PutVertex(vertices_[i], vertices[i * 2], vertices[i * 2 + 1]);
    SubmitFan(static_cast<int>(n));
    return 0;
}

// The point count follows the on-screen size: 12 at least, 1024 at most.
namespace {

// Unit-circle points of an n-point oval. A frame draws the same few oval
// sizes over and over; the table spares a sine and a cosine per vertex and
// holds exactly the values the direct computation gives.
struct OvalTable {
    int n = 0;
    std::array<float, PlGraphics::kMaxVertices> cos{};
    std::array<float, PlGraphics::kMaxVertices> sin{};
};

const OvalTable& OvalPoints(int n) {
    static std::array<OvalTable, 8> tables;
    static size_t nextSlot = 0;
    for (const OvalTable& t : tables)
        if (t.n == n) return t;
    OvalTable& t = tables[nextSlot];
    nextSlot = (nextSlot + 1) % tables.size();
    t.n = n;
    for (int i = 0; i < n; i++) {
        const float theta = static_cast<float>(i) * 6.2831855f / static_cast<float>(n);
        t.cos[i] = std::cos(theta);
        t.sin[i] = std::sin(theta);
    }
    return t;
}

}  // namespace

int PlGraphics::DrawOval(float x, float y, float width, float height) {
    Flush(FlushCause::Kind);
    batchKind_ = kKindFan;
    batchSurface_ = nullptr;
    if (colourDirty_) Repack();
    const float xr = width * 0.5f, yr = height * 0.5f;
    float size;
    if (hasTransform_) {
        size = std::sqrt((xr * ix_) * (xr * ix_) + (xr * iy_) * (xr * iy_)) +
               std::sqrt((yr * jx_) * (yr * jx_) + (yr * jy_) * (yr * jy_));
    } else {
        size = std::fabs(xr) + std::fabs(yr);
    }
    int n = 12;  // also for NaN sizes
    if (size >= static_cast<float>(kMaxVertices)) {
        n = kMaxVertices;
    } else if (size >= 12.0f) {
        n = static_cast<int>(size) & ~3;
    }
    const float cx = x + xr, cy = y + yr;
    const OvalTable& unit = OvalPoints(n);
    for (int i = 0; i < n; i++)
        PutVertex(vertices_[i], cx + unit.cos[i] * xr, cy - unit.sin[i] * yr);
    SubmitFan(n);
    return 0;
}

namespace {

// True when rows offset + i·pitch (i < height), each `width` long, lie inside `size`.
bool BlockFits(size_t size, int width, int height, int offset, int pitch) {
    if (width <= 0 || height <= 0 || offset < 0) return false;
    const int64_t last = int64_t{offset} + int64_t{height - 1} * pitch;
    const int64_t first = std::min<int64_t>(offset, last);
    const int64_t end = std::max<int64_t>(offset, last) + width;
    return first >= 0 && end <= static_cast<int64_t>(size);
}

}  // namespace

// Reads a block top-down into ints holding A, R, G, B from the top byte down.
int PlGraphics::ReadPixels(std::span<int32_t> pixels, int x, int y, int width, int height,
                           int offset, int pitch) {
    Flush(FlushCause::State);
    if (!BlockFits(pixels.size(), width, height, offset, pitch)) return 0;
    std::vector<uint32_t> buffer(static_cast<size_t>(width) * height);
    const int64_t glY = int64_t{pixelHeight_} - y - height;  // reads count framebuffer pixels
    backend_->ReadPixelsBgra(x, ClampToInt(glY), width, height,
                             reinterpret_cast<uint8_t*>(buffer.data()));
    for (int i = 0; i < height; i++) {
        const uint32_t* src = &buffer[static_cast<size_t>(height - 1 - i) * width];
        int32_t* dst = &pixels[static_cast<size_t>(offset + int64_t{i} * pitch)];
        for (int j = 0; j < width; j++) dst[j] = static_cast<int32_t>(src[j]);
    }
    return 0;
}

// Premultiplies ARGB ints on the way into the surface's texture.
int PlGraphics::WritePixels(PlSurface* surface, std::span<const int32_t> pixels, int x, int y,
                            int width, int height, int offset, int pitch) {
    Flush(FlushCause::State);
    if (!surface || !BlockFits(pixels.size(), width, height, offset, pitch)) return 0;
    std::vector<uint32_t> buffer(static_cast<size_t>(width) * height);
    for (int i = 0; i < height; i++) {
        const int32_t* src = &pixels[static_cast<size_t>(offset + int64_t{i} * pitch)];
        uint32_t* dst = &buffer[static_cast<size_t>(i) * width];
        for (int j = 0; j < width; j++) {
            const auto p = static_cast<uint32_t>(src[j]);
            const uint32_t a = p >> 24;
            const uint32_t r = ((p >> 16) & 255) * a / 255;
            const uint32_t g = ((p >> 8) & 255) * a / 255;
            const uint32_t b = (p & 255) * a / 255;
            dst[j] = a << 24 | r << 16 | g << 8 | b;
        }
    }
    backend_->UploadTexture(surface->texture, GlFormat::Rgba, x, y, width, height, buffer.data(),
                            true);
    return 0;
}
