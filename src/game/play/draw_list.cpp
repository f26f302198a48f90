// The draw list's own state and its one way in: Push copies the draw state
// into the next command.
#include "game/play/draw_list.h"

void DrawList::ResetState() {
    drawBlend = 1;
    drawScaleX = 1;
    drawScaleY = 1;
    drawRotation = 0;
    drawColorR = drawColorG = drawColorB = 255;
    drawAlpha = 1;
}

void DrawList::SetScale(float sx, float sy) {
    drawScaleX = sx;
    drawScaleY = sy > kNoneF ? sy : sx;
}

void DrawList::SetColor(float r, float g, float b, float a) {
    drawColorR = r;
    drawColorG = g;
    drawColorB = b;
    if (a > kNoneF) drawAlpha = a;
}

// Only the entries a command owns are written; the others keep old values.
void DrawList::Push(float kind, float x, float y, float sizeX, float sizeY, float frame) {
    if (drawCount >= kLimit) return;
    DrawCommand& c = commands[static_cast<size_t>(drawCount / kCommandSize)];
    c.kind = kind;
    c.x = x;
    c.y = y;
    c.rotation = drawRotation;
    c.sizeX = sizeX;
    c.sizeY = sizeY;
    c.frame = frame;
    c.alpha = drawAlpha;
    c.red = drawColorR;
    c.green = drawColorG;
    c.blue = drawColorB;
    c.blend = static_cast<float>(drawBlend);
    drawCount += kCommandSize;
}
