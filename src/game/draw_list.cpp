// The draw list: every update describes its picture as 15-float commands in
// one preallocated array; every render replays them in screen units scaled
// to the window.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "game/game_core.h"
#include "graphics/context.h"
#include "graphics/image.h"
#include "music/tune_player.h"

namespace {

// Entries of one command.
enum CommandEntry {
    kEntryKind = 0,
    kEntryX = 1,
    kEntryY = 2,
    kEntryRotation = 3,
    kEntryScaleX = 4,  // width, radius x or x2 for shapes
    kEntryScaleY = 5,  // height, radius y or y2 for shapes
    kEntryFrame = 6,
    kEntryAlpha = 7,
    kEntryRed = 10,
    kEntryGreen = 11,
    kEntryBlue = 12,
    kEntryBlend = 13,
};

constexpr int kAdditiveBlend = 3;

float SinDeg(float degrees) {
    return std::sin(degrees * std::numbers::pi_v<float> / 180.0f);
}
float CosDeg(float degrees) {
    return std::cos(degrees * std::numbers::pi_v<float> / 180.0f);
}

}  // namespace

int c_GameCore::ResetDrawState() {
    drawBlend = 1;
    drawScaleX = 1;
    drawScaleY = 1;
    drawRotation = 0;
    drawColorR = drawColorG = drawColorB = 255;
    drawAlpha = 1;
    return 0;
}

int c_GameCore::BeginDrawList(float r, float g, float b, float a) {
    if (r > kNoneF) backgroundColor = {r, g, b, a};
    ResetDrawState();
    drawCount = 0;
    return 0;
}

int c_GameCore::SetDrawScale(float sx, float sy) {
    drawScaleX = sx;
    drawScaleY = sy > kNoneF ? sy : sx;
    return 0;
}

// Stored negated: the replay hands it to the framework's rotation as it is.
int c_GameCore::SetDrawRotation(float degrees) {
    drawRotation = -degrees;
    return 0;
}

int c_GameCore::SetDrawAlpha(float a) {
    drawAlpha = a;
    return 0;
}

int c_GameCore::SetDrawColor(float r, float g, float b, float a) {
    drawColorR = r;
    drawColorG = g;
    drawColorB = b;
    if (a > kNoneF) drawAlpha = a;
    return 0;
}

// Appends one command with the current draw state; a full list drops it.
void c_GameCore::PushCommand(float kind, float x, float y, float sizeX, float sizeY, float frame) {
    if (drawCount >= kDrawListLimit) return;
    float* c = &drawList[drawCount];
    c[kEntryKind] = kind;
    c[kEntryX] = x;
    c[kEntryY] = y;
    c[kEntryRotation] = drawRotation;
    c[kEntryScaleX] = sizeX;
    c[kEntryScaleY] = sizeY;
    c[kEntryFrame] = frame;
    c[kEntryAlpha] = drawAlpha;
    c[kEntryRed] = drawColorR;
    c[kEntryGreen] = drawColorG;
    c[kEntryBlue] = drawColorB;
    c[kEntryBlend] = static_cast<float>(drawBlend);
    drawCount += kCommandSize;
}

int c_GameCore::QueueImage(int image, float x, float y, float frame) {
    PushCommand(static_cast<float>(image), x, y, drawScaleX, drawScaleY, frame);
    return 0;
}

int c_GameCore::QueueRect(float x, float y, float w, float h) {
    PushCommand(kCmdRect, x, y, w, h, 0);
    return 0;
}

int c_GameCore::QueueEllipse(float cx, float cy, float rx, float ry) {
    PushCommand(kCmdEllipse, cx, cy, rx, ry, 0);
    return 0;
}

int c_GameCore::QueueLine(float x1, float y1, float x2, float y2) {
    PushCommand(kCmdLine, x1, y1, x2, y2, 0);
    return 0;
}

// Frame width, height or count of an image slot; 0 outside the table.
int c_GameCore::Geometry(int image, int entry) const {
    if (image < 0 || image >= kImages) return 0;
    return imageGeometry[3 * image + entry];
}

// One glyph per visible character, laid out along the rotated baseline.
int c_GameCore::QueueText(float x, float y, StringView text, float alignX, float alignY) {
    float w = static_cast<float>(Geometry(currentFont, 0)) * drawScaleX;
    float h = static_cast<float>(Geometry(currentFont, 1)) * drawScaleY;
    float r = drawRotation;
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
        if (c >= 33 && c <= 159) QueueImage(currentFont, penX, penY, static_cast<float>(c - 32));
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
    float hw = static_cast<float>(Geometry(image, 0)) * resScale * drawScaleX * 0.5f;
    float hh = static_cast<float>(Geometry(image, 1)) * resScale * drawScaleY * 0.5f;
    if (pointerDown <= 0) return 0;
    for (int i = 0; i < 10; i++) {
        auto tx = static_cast<float>(touchX[i]), ty = static_cast<float>(touchY[i]);
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

// The larger of the two axis factors maps the 640 x 480 design onto the window.
void c_GameCore::FitScreen(int deviceWidth, int deviceHeight) {
    // A window of no size (minimised, or not measured yet) keeps the last fit.
    if (deviceWidth <= 0 || deviceHeight <= 0) return;
    GameGlobals& g = Globals();
    float sx = static_cast<float>(deviceWidth) / g.designWidth;
    float sy = static_cast<float>(deviceHeight) / g.designHeight;
    fitAxis = 1;
    if (std::fabs(sy - 1) < std::fabs(sx - 1)) fitAxis = 2;
    if (sy < sx) fitAxis = 1;
    if (sx < sy) fitAxis = 2;
    float scale = fitAxis == 1 ? sx : sy;
    screenScaleX = screenScaleY = scale;
    g.screenWidth = static_cast<float>(deviceWidth) / scale;
    g.screenHeight = static_cast<float>(deviceHeight) / scale;
    landscape = g.screenWidth >= g.screenHeight ? 1 : 0;
}

// Each command becomes one framework call, in list order, so the batcher can merge.
void c_GameCore::ReplayDrawList() {
    float sx = screenScaleX, sy = screenScaleY;
    for (int at = 0; at <= drawCount - kCommandSize; at += kCommandSize) {
        const float* c = &drawList[at];
        SetAlpha(c[kEntryAlpha]);
        SetColor(c[kEntryRed], c[kEntryGreen], c[kEntryBlue]);
        SetBlend(c[kEntryBlend] == kAdditiveBlend ? 1 : 0);
        float kind = c[kEntryKind];
        if (kind == kCmdRect) {
            DrawRect(c[kEntryX] * sx, c[kEntryY] * sy, c[kEntryScaleX] * sx, c[kEntryScaleY] * sy);
        } else if (kind == kCmdEllipse) {
            DrawEllipse(c[kEntryX] * sx, c[kEntryY] * sy, c[kEntryScaleX] * sx,
                        c[kEntryScaleY] * sy);
        } else if (kind == kCmdLine) {
            DrawLine(c[kEntryX] * sx, c[kEntryY] * sy, c[kEntryScaleX] * sx, c[kEntryScaleY] * sy);
        } else if (kind > -1 && kind < kImages) {
            c_Image* image = imageTable[static_cast<int>(kind)].get();
            if (!image) continue;
            PaintImage(image, c[kEntryX] * sx, c[kEntryY] * sy, c[kEntryRotation],
                       c[kEntryScaleX] * sx * resScale, c[kEntryScaleY] * sy * resScale,
                       static_cast<int>(c[kEntryFrame]));
        }
    }
}

int c_GameCore::HandleRender() {
    if (Globals().musicSwitch == 1) tunePlayer->RenderLoading();
    MeasureRate(renderStamp, renderFps, renderFpsAvg);
    int width = DisplayWidth(), height = DisplayHeight();
    SetColor(backgroundColor[0], backgroundColor[1], backgroundColor[2]);
    SetAlpha(backgroundColor[3]);
    DrawRect(-1, -1, static_cast<float>(width + 2), static_cast<float>(height + 2));
    SetColor(255, 255, 255);
    SetAlpha(1);
    // A new window size reloads every asset at the level that suits it.
    if (width != knownWidth || height != knownHeight) {
        loadStep = 1;
        knownWidth = width;
        knownHeight = height;
    }
    FitScreen(width, height);
    ReplayDrawList();
    SetAlpha(0.5f);
    SetColor(255, 255, 255);
    return 0;
}
