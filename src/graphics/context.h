// The drawing state (colour, alpha, blend, scissor, matrix and its stack) and
// the framework's drawing functions over the renderer.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <span>

#include "graphics/image.h"
#include "graphics/renderer.h"

class c_GraphicsContext {
  public:
    static constexpr int kStackMatrices = 32;

    int SyncMatrix();

    // The current matrix, for composing onto.
    Affine Current() const { return {ix, iy, jx, jy, tx, ty}; }
    // The identity to the bit: 1, +0, +0, 1, +0, +0 (hasTransform also takes -0).
    bool IsExactIdentity() const { return exactIdentity; }

    std::shared_ptr<c_Image> builtinFont;
    std::shared_ptr<c_Image> font;
    int fontFirstCode = 0;
    int matrixDepth = 0;
    float ix = 1, iy = 0, jx = 0, jy = 1, tx = 0, ty = 0;
    int hasTransform = 0;
    bool exactIdentity = true;  // kept by SetMatrix, as every sprite asks
    int matrixDirty = 0;
    float colorR = 0, colorG = 0, colorB = 0;
    float alpha = 0;
    int blend = 0;
    float scissorX = 0, scissorY = 0, scissorWidth = 0, scissorHeight = 0;
    std::array<float, kStackMatrices * 6> matrixStack{};
    // The renderer the game made (images load through it), and the same
    // renderer only while a render runs, so nothing draws between frames.
    PlGraphics* device = nullptr;
    PlGraphics* renderDevice = nullptr;
};

// The one drawing state; inline, as every sprite asks for it.
namespace graphics_state {
extern c_GraphicsContext context;
}  // namespace graphics_state
// The renderer the drawing state is bound to (BeginRenderState draws on it).
PlGraphics* GraphicsDevice();
void SetGraphicsDevice(PlGraphics* device);
inline PlGraphics* RenderDevice() {
    return graphics_state::context.renderDevice;
}
inline c_GraphicsContext* GraphicsContext() {
    return &graphics_state::context;
}

// Inline, as every sprite sets both.
inline void SetColor(float r, float g, float b) {
    c_GraphicsContext& gc = graphics_state::context;
    gc.colorR = r, gc.colorG = g, gc.colorB = b;
    if (PlGraphics* device = RenderDevice()) device->SetColor(r, g, b);
}
inline void SetAlpha(float alpha) {
    graphics_state::context.alpha = alpha;
    if (PlGraphics* device = RenderDevice()) device->SetAlpha(alpha);
}
void SetBlend(int blend);
void SetScissor(float x, float y, float width, float height);
void SetMatrix(float ix, float iy, float jx, float jy, float tx, float ty);
// A 33rd push is ignored; a pop on an empty stack restores the identity.
void PushMatrix();
void PopMatrix();
void Transform(float a, float b, float c, float d, float e, float f);
void Translate(float x, float y);
void Scale(float x, float y);
void Rotate(float angle);
// Translate (x, y), Rotate (rotation), Scale, Translate (-hx, -hy) composed
// onto m: the same arithmetic in the same order as the four calls, without
// the states between. Inline so that with m the identity constant the
// compiler drops the exact multiplications by one and nothing else.
inline Affine ComposeSprite(const Affine& m, float x, float y, float rotation, float scaleX,
                            float scaleY, float hx, float hy) {
    float c, s;
    sprite_math::TurnFactors(rotation, &c, &s);
    return sprite_math::Compose(m, x, y, c, s, scaleX, scaleY, hx, hy);
}

// A sprite under a matrix other than the identity: composed at once. Out of
// line, so that the usual path below stays small.
void PaintImageUnderMatrix(PlGraphics* device, const c_Image* image, const c_Frame* f,
                           const SpritePlace& place);

// The handle is the centre of rotation and scaling and lands on (x, y). The
// sprite's matrix goes straight into its vertices: the current matrix is
// neither changed nor sent, and is composed in only when it is not the
// identity (without it, the renderer places the sprite with its batch). The
// vertices are those of TransformSprite, SyncMatrix and a blit at (0, 0), to
// the bit. Frames outside 0..count-1 draw nothing, as does drawing outside a
// render. Inline: the game draws most of a frame this way.
inline void PaintImage(c_Image* image, float x, float y, float rotation, float scaleX, float scaleY,
                       int frame) {
    const c_Frame* f = image ? image->FrameToDraw(frame) : nullptr;
    PlGraphics* device = RenderDevice();
    if (!f || !device) return;
    const SpritePlace place{x, y, rotation, scaleX, scaleY, image->tx, image->ty};
    if (!GraphicsContext()->IsExactIdentity()) {
        PaintImageUnderMatrix(device, image, f, place);
    } else if (image->flags & WholeSurface) {
        device->DrawSprite(image->surface.get(), place);
    } else {
        device->DrawSpriteRegion(image->surface.get(), place, f->x, f->y, image->width,
                                 image->height);
    }
}

// Translate (x, y), Rotate (rotation), Scale, Translate (-hx, -hy) as one change.
void TransformSprite(float x, float y, float rotation, float scaleX, float scaleY, float hx,
                     float hy);
void Clear(float r, float g, float b);
void DrawRect(float x, float y, float width, float height);
void DrawLine(float x1, float y1, float x2, float y2);
void DrawEllipse(float x, float y, float xRadius, float yRadius);
void ReadPixels(std::span<int32_t> pixels, int x, int y, int width, int height, int offset,
                int pitch);
// The window in its own units (what the game lays out in).
int DisplayWidth();
int DisplayHeight();
// The framebuffer in device pixels: more than the window's units on a scaled
// desktop, and what picture sharpness depends on.
int DisplayPixelWidth();
// The largest texture side the renderer's GL takes; 0 without a renderer.
int MaxTextureSize();
int DisplayPixelHeight();
void BeginRenderState();
void EndRenderState();
void SetDefaultFont();
