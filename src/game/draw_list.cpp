// The draw list: every update describes its picture as commands in one
// preallocated block; every render replays them in screen units scaled to
// the window.
#include <algorithm>
#include <cmath>

#include "core/degree_math.h"
#include "game/game_core.h"
#include "graphics/context.h"
#include "graphics/image.h"
#include "music/tune_player.h"

// Every queue operation works on the draw list's own state; the core's
// operations below add what needs the rest of the game (fonts, touches).

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

int c_GameCore::ResetDrawState() {
    drawList.ResetState();
    return 0;
}

int c_GameCore::BeginDrawList(float r, float g, float b, float a) {
    if (r > kNoneF) screen.backgroundColor = {r, g, b, a};
    drawList.ResetState();
    drawList.drawCount = 0;
    return 0;
}

int c_GameCore::SetDrawScale(float sx, float sy) {
    drawList.SetScale(sx, sy);
    return 0;
}

// Stored negated: the replay hands it to the framework's rotation as it is.
int c_GameCore::SetDrawRotation(float degrees) {
    drawList.drawRotation = -degrees;
    return 0;
}

int c_GameCore::SetDrawAlpha(float a) {
    drawList.drawAlpha = a;
    return 0;
}

int c_GameCore::SetDrawColor(float r, float g, float b, float a) {
    drawList.SetColor(r, g, b, a);
    return 0;
}

int c_GameCore::QueueImage(int image, float x, float y, float frame) {
    drawList.Push(static_cast<float>(image), x, y, drawList.drawScaleX, drawList.drawScaleY, frame);
    return 0;
}

int c_GameCore::QueueRect(float x, float y, float w, float h) {
    drawList.Push(kCmdRect, x, y, w, h, 0);
    return 0;
}

int c_GameCore::QueueEllipse(float cx, float cy, float rx, float ry) {
    drawList.Push(kCmdEllipse, cx, cy, rx, ry, 0);
    return 0;
}

int c_GameCore::QueueLine(float x1, float y1, float x2, float y2) {
    drawList.Push(kCmdLine, x1, y1, x2, y2, 0);
    return 0;
}

// One glyph per visible character, laid out along the rotated baseline.
int c_GameCore::QueueText(float x, float y, StringView text, float alignX, float alignY) {
    float w = static_cast<float>(media.Geometry(media.currentFont, 0)) * drawList.drawScaleX;
    float h = static_cast<float>(media.Geometry(media.currentFont, 1)) * drawList.drawScaleY;
    float r = drawList.drawRotation;
    auto n = static_cast<float>(text.size());
    float x0 =
        x + SinDeg(-r - 90) * (n - 1) * w * alignX * 0.5f + SinDeg(-r) * h * (alignY - 1) * 0.5f;
    float y0 =
        y - CosDeg(-r - 90) * (n - 1) * w * alignX * 0.5f - CosDeg(-r) * h * (alignY - 1) * 0.5f;
    float stepX = SinDeg(90 - r) * w, stepY = -CosDeg(90 - r) * w;
    float penX = x0, penY = y0;
    int line = 0;
    for (size_t i = 0; i < text.size(); i++) {
        char16_t c = text[i];
        // The two characters '\' 'n' in the text itself break the line.
        if (c == u'\\' && i + 1 < text.size() && text[i + 1] == u'n') {
            line++;
            penX = x0 + SinDeg(180 - r) * static_cast<float>(line) * h;
            penY = y0 - CosDeg(180 - r) * static_cast<float>(line) * h;
            i++;
            continue;
        }
        if (c >= 33 && c <= 159)
            QueueImage(media.currentFont, penX, penY, static_cast<float>(c - 32));
        if (c > 0) {
            penX += stepX;
            penY += stepY;
        }
    }
    return 0;
}

// Draws the frame and answers 1 while a held touch lies strictly inside it.
int c_GameCore::QueueButton(int image, float x, float y, int frame) {
    QueueImage(image, x, y, static_cast<float>(frame));
    float hw =
        static_cast<float>(media.Geometry(image, 0)) * media.resScale * drawList.drawScaleX * 0.5f;
    float hh =
        static_cast<float>(media.Geometry(image, 1)) * media.resScale * drawList.drawScaleY * 0.5f;
    if (input.pointerDown <= 0) return 0;
    for (int i = 0; i < InputSnapshot::kTouches; i++) {
        auto tx = static_cast<float>(input.touchX[i]), ty = static_cast<float>(input.touchY[i]);
        if (x - hw < tx && tx < x + hw && y - hh < ty && ty < y + hh) return 1;
    }
    return 0;
}

// The last `width` characters of pad × (width + 1) followed by n, built in place.
TextBuffer c_GameCore::PadNumber(int n, int width, StringView pad) {
    TextBuffer digits;
    digits.AppendInt(n);
    TextBuffer out;
    if (width <= 0) return out;
    if (width > TextBuffer::kCapacity) width = TextBuffer::kCapacity;
    int64_t padLength = static_cast<int64_t>(pad.size()) * (width + 1);
    int64_t total = padLength + digits.Length();
    for (int64_t i = total - std::min<int64_t>(width, total); i < total; i++) {
        if (i < padLength)
            out.Append(pad[static_cast<size_t>(i % static_cast<int64_t>(pad.size()))]);
        else
            out.Append(digits.View()[static_cast<size_t>(i - padLength)]);
    }
    return out;
}

// Each command becomes one framework call, in list order, so the batcher can merge.
void c_GameCore::ReplayDrawList() {
    float sx = screen.screenScaleX, sy = screen.screenScaleY;
    for (int i = 0; i < drawList.CommandCount(); i++) {
        const DrawCommand& c = drawList.Command(i);
        SetAlpha(c.alpha);
        SetColor(c.red, c.green, c.blue);
        SetBlend(c.blend == kAdditiveBlend ? 1 : 0);
        if (c.kind == kCmdRect) {
            DrawRect(c.x * sx, c.y * sy, c.sizeX * sx, c.sizeY * sy);
        } else if (c.kind == kCmdEllipse) {
            DrawEllipse(c.x * sx, c.y * sy, c.sizeX * sx, c.sizeY * sy);
        } else if (c.kind == kCmdLine) {
            DrawLine(c.x * sx, c.y * sy, c.sizeX * sx, c.sizeY * sy);
        } else if (c.kind > -1 && c.kind < Media::kImages) {
            c_Image* image = media.imageTable[static_cast<int>(c.kind)].get();
            if (!image) continue;
            PaintImage(image, c.x * sx, c.y * sy, c.rotation, c.sizeX * sx * media.resScale,
                       c.sizeY * sy * media.resScale, static_cast<int>(c.frame));
        }
    }
}

int c_GameCore::HandleRender() {
    if (Globals().musicSwitch == 1) media.tunePlayer->RenderLoading();
    MeasureRate(timing.renderStamp, timing.renderFps, timing.renderFpsAvg);
    int width = DisplayWidth(), height = DisplayHeight();
    SetColor(screen.backgroundColor[0], screen.backgroundColor[1], screen.backgroundColor[2]);
    SetAlpha(screen.backgroundColor[3]);
    DrawRect(-1, -1, static_cast<float>(width + 2), static_cast<float>(height + 2));
    SetColor(255, 255, 255);
    SetAlpha(1);
    // A new framebuffer size (a resize, or a move to a screen of another
    // scale) reloads every asset at the level that suits it.
    int pixelWidth = DisplayPixelWidth(), pixelHeight = DisplayPixelHeight();
    if (pixelWidth != screen.knownWidth || pixelHeight != screen.knownHeight) {
        media.loadStep = 1;
        screen.knownWidth = pixelWidth;
        screen.knownHeight = pixelHeight;
    }
    screen.Fit(width, height);
    ReplayDrawList();
    SetAlpha(0.5f);
    SetColor(255, 255, 255);
    return 0;
}
