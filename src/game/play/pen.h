// The pen an update draws with: draw state and queued commands in the draw
// list, text in the current font, and buttons that answer to held touches.
#pragma once

#include <array>

#include "core/text.h"
#include "game/play/draw_list.h"
#include "game/play/input_snapshot.h"
#include "game/play/sheet_sizes.h"
#include "game/play/text_buffer.h"

class Pen {
  public:
    Pen(DrawList& list, std::array<float, 4>& background, const SheetSizes& sheets,
        const InputSnapshot& input)
        : list_(list), background_(background), sheets_(sheets), input_(input) {}

    // A new picture: the background (unless r is kNoneF), fresh draw state, no commands.
    void Begin(float r, float g, float b, float a);
    void ResetState() { list_.ResetState(); }
    void SetScale(float sx, float sy = kNoneF) { list_.SetScale(sx, sy); }
    // Stored negated: the replay hands it to the framework's rotation as it is.
    void SetRotation(float degrees) { list_.drawRotation = -degrees; }
    void SetAlpha(float a) { list_.drawAlpha = a; }
    void SetColor(float r, float g, float b, float a = kNoneF) { list_.SetColor(r, g, b, a); }

    void QueueImage(int image, float x, float y, float frame) {
        list_.Push(static_cast<float>(image), x, y, list_.drawScaleX, list_.drawScaleY, frame);
    }
    void QueueRect(float x, float y, float w, float h) { list_.Push(kCmdRect, x, y, w, h, 0); }
    void QueueEllipse(float cx, float cy, float rx, float ry) {
        list_.Push(kCmdEllipse, cx, cy, rx, ry, 0);
    }
    void QueueLine(float x1, float y1, float x2, float y2) {
        list_.Push(kCmdLine, x1, y1, x2, y2, 0);
    }
    // One glyph per visible character; alignX 1 centres on x, alignY 1 puts the line on y.
    void QueueText(float x, float y, StringView text, float alignX, float alignY);
    // Draws the frame; true while a held touch lies strictly inside it.
    bool QueueButton(int image, float x, float y, int frame);

  private:
    DrawList& list_;
    std::array<float, 4>& background_;
    const SheetSizes& sheets_;
    const InputSnapshot& input_;
};

// The last `width` characters of pad × (width + 1) followed by n: "00000042".
TextBuffer PadNumber(int n, int width, StringView pad);
