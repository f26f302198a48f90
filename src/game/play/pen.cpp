// Text and buttons: the pen's strokes that need the font's and the sheets' sizes.
#include "game/play/pen.h"

#include <algorithm>
#include <cstdint>

#include "core/degree_math.h"

void Pen::Begin(float r, float g, float b, float a) {
    if (r > kNoneF) background_ = {r, g, b, a};
    list_.ResetState();
    list_.drawCount = 0;
}

// One glyph per visible character, laid out along the rotated baseline.
void Pen::QueueText(float x, float y, StringView text, float alignX, float alignY) {
    const int font = sheets_.currentFont;
    float w = static_cast<float>(sheets_.Geometry(font, 0)) * list_.drawScaleX;
    float h = static_cast<float>(sheets_.Geometry(font, 1)) * list_.drawScaleY;
    float r = list_.drawRotation;
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
        if (c >= 33 && c <= 159) QueueImage(font, penX, penY, static_cast<float>(c - 32));
        if (c > 0) {
            penX += stepX;
            penY += stepY;
        }
    }
}

bool Pen::QueueButton(int image, float x, float y, int frame) {
    QueueImage(image, x, y, static_cast<float>(frame));
    float hw =
        static_cast<float>(sheets_.Geometry(image, 0)) * sheets_.resScale * list_.drawScaleX * 0.5f;
    float hh =
        static_cast<float>(sheets_.Geometry(image, 1)) * sheets_.resScale * list_.drawScaleY * 0.5f;
    if (input_.pointerDown <= 0) return false;
    for (int i = 0; i < InputSnapshot::kTouches; i++) {
        auto tx = static_cast<float>(input_.touchX[i]), ty = static_cast<float>(input_.touchY[i]);
        if (x - hw < tx && tx < x + hw && y - hh < ty && ty < y + hh) return true;
    }
    return false;
}

// Built in place from the end: no heap, whatever the width.
TextBuffer PadNumber(int n, int width, StringView pad) {
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
