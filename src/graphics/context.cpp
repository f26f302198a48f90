// The drawing state and the framework's drawing functions over the renderer.
#include "graphics/context.h"

#include <cmath>
#include <cstdint>

namespace graphics_state {
c_GraphicsContext context;
}  // namespace graphics_state

using graphics_state::context;

namespace {

// Truncates toward zero; values no int can hold are held at the ends (NaN is 0).
int TruncToInt(float v) {
    if (!(v == v)) return 0;
    if (v >= 2147483520.0f) return INT32_MAX;
    if (v <= -2147483648.0f) return INT32_MIN;
    return static_cast<int>(v);
}

}  // namespace

PlGraphics* GraphicsDevice() {
    return context.device;
}
void SetGraphicsDevice(PlGraphics* device) {
    context.device = device;
    if (!device) context.renderDevice = nullptr;
}

// Sends the matrix only when it changed and something is about to be drawn.
int c_GraphicsContext::SyncMatrix() {
    if (!matrixDirty || !renderDevice) return 0;
    renderDevice->SetMatrix(ix, iy, jx, jy, tx, ty);
    matrixDirty = 0;
    return 0;
}

void SetBlend(int blend) {
    context.blend = blend;
    if (context.renderDevice) context.renderDevice->SetBlend(blend);
}

void SetScissor(float x, float y, float width, float height) {
    context.scissorX = x, context.scissorY = y;
    context.scissorWidth = width, context.scissorHeight = height;
    if (context.renderDevice) {
        context.renderDevice->SetScissor(TruncToInt(x), TruncToInt(y), TruncToInt(width),
                                         TruncToInt(height));
    }
}

void SetMatrix(float ix, float iy, float jx, float jy, float tx, float ty) {
    c_GraphicsContext& c = graphics_state::context;
    c.ix = ix, c.iy = iy, c.jx = jx, c.jy = jy, c.tx = tx, c.ty = ty;
    c.hasTransform = (ix == 1 && iy == 0 && jx == 0 && jy == 1 && tx == 0 && ty == 0) ? 0 : 1;
    c.exactIdentity = !c.hasTransform && !std::signbit(iy) && !std::signbit(jx) &&
                      !std::signbit(tx) && !std::signbit(ty);
    c.matrixDirty = 1;
}

// A push onto a full stack is ignored rather than written past its end.
void PushMatrix() {
    c_GraphicsContext& c = graphics_state::context;
    if (c.matrixDepth < 0 || c.matrixDepth + 6 > static_cast<int>(c.matrixStack.size())) return;
    float* m = &c.matrixStack[static_cast<size_t>(c.matrixDepth)];
    m[0] = c.ix, m[1] = c.iy, m[2] = c.jx, m[3] = c.jy, m[4] = c.tx, m[5] = c.ty;
    c.matrixDepth += 6;
}

// A pop from an empty stack leaves the identity instead of reading before it.
void PopMatrix() {
    c_GraphicsContext& c = graphics_state::context;
    if (c.matrixDepth < 6 || c.matrixDepth > static_cast<int>(c.matrixStack.size())) {
        c.matrixDepth = 0;
        SetMatrix(1, 0, 0, 1, 0, 0);
        return;
    }
    c.matrixDepth -= 6;
    const float* m = &c.matrixStack[static_cast<size_t>(c.matrixDepth)];
    SetMatrix(m[0], m[1], m[2], m[3], m[4], m[5]);
}

// The given transform acts on a point first, then the current matrix.
void Transform(float a, float b, float c, float d, float e, float f) {
    const c_GraphicsContext& m = graphics_state::context;
    SetMatrix(a * m.ix + b * m.jx, a * m.iy + b * m.jy, c * m.ix + d * m.jx, c * m.iy + d * m.jy,
              e * m.ix + f * m.jx + m.tx, e * m.iy + f * m.jy + m.ty);
}

void Translate(float x, float y) {
    Transform(1, 0, 0, 1, x, y);
}

void Scale(float x, float y) {
    Transform(x, 0, 0, y, 0, 0);
}

// Positive angles turn counter-clockwise on a y-down screen.
// The sine and cosine a turned sprite gets, so the two paths agree to the bit.
void Rotate(float angle) {
    float c, s;
    sprite_math::TurnFactors(angle, &c, &s);
    Transform(c, -s, s, c, 0, 0);
}

void TransformSprite(float x, float y, float rotation, float scaleX, float scaleY, float hx,
                     float hy) {
    const Affine m = ComposeSprite(context.Current(), x, y, rotation, scaleX, scaleY, hx, hy);
    SetMatrix(m.ix, m.iy, m.jx, m.jy, m.tx, m.ty);
}

void Clear(float r, float g, float b) {
    if (context.renderDevice) context.renderDevice->Clear(r, g, b);
}

void DrawRect(float x, float y, float width, float height) {
    if (!context.renderDevice) return;
    context.SyncMatrix();
    context.renderDevice->DrawRect(x, y, width, height);
}

void DrawLine(float x1, float y1, float x2, float y2) {
    if (!context.renderDevice) return;
    context.SyncMatrix();
    context.renderDevice->DrawLine(x1, y1, x2, y2);
}

void DrawEllipse(float x, float y, float xRadius, float yRadius) {
    if (!context.renderDevice) return;
    context.SyncMatrix();
    context.renderDevice->DrawOval(x - xRadius, y - yRadius, 2 * xRadius, 2 * yRadius);
}

void ReadPixels(std::span<int32_t> pixels, int x, int y, int width, int height, int offset,
                int pitch) {
    if (context.renderDevice)
        context.renderDevice->ReadPixels(pixels, x, y, width, height, offset, pitch);
}

int DisplayWidth() {
    return context.device ? context.device->Width() : 0;
}
int DisplayHeight() {
    return context.device ? context.device->Height() : 0;
}
int DisplayPixelWidth() {
    return context.device ? context.device->PixelWidth() : 0;
}
int DisplayPixelHeight() {
    return context.device ? context.device->PixelHeight() : 0;
}
int MaxTextureSize() {
    return context.device ? context.device->Backend()->MaxTextureSize() : 0;
}

// Every render starts from the same state, whatever the last one left.
void BeginRenderState() {
    context.renderDevice = context.device;
    context.matrixDepth = 0;
    SetMatrix(1, 0, 0, 1, 0, 0);
    SetColor(255, 255, 255);
    SetAlpha(1);
    SetBlend(0);
    SetScissor(0, 0, static_cast<float>(DisplayWidth()), static_cast<float>(DisplayHeight()));
}

void EndRenderState() {
    context.renderDevice = nullptr;
}

// The built-in font is loaded once per process; a missing file leaves none.
void SetDefaultFont() {
    if (!context.builtinFont) context.builtinFont = OpenImage(u"tavo_font.png", 96, XBorder);
    context.font = context.builtinFont;
    context.fontFirstCode = 32;
}
