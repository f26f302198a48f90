// The test card: a grid of cells with gradient edges, the circle with the
// credits scrolling through it, the logo and four corner discs with live
// readouts, all flying in from outside as the slide grows.
#include "game/play/credits_panel.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "game/play/game_ids.h"

// Rows stay in place: the scroller cycles by index.
const std::array<StringView, 39> kCreditLines = {
    u"",
    u"A Game by",
    u"Team Zeph",
    u"zeph-lantern.example",
    u"",
    u"-=-=-",
    u"",
    u"Developed using",
    u"Vorlek Engine",
    u"vorlek.zeph-lantern.example",
    u"",
    u"-=-=-",
    u"",
    u"Graphics",
    u"",
    u"Most graphics by",
    u"Team Zeph",
    u"",
    u"Font : EditUndo",
    u"EditUndo pixels redrawn by Team Zeph",
    u"Lowercase added by",
    u"Team Zeph",
    u"",
    u"",
    u"-=-=-",
    u"",
    u"Audio",
    u"",
    u"Sound and Music by",
    u"Team Zeph",
    u"using FLStudio,",
    u"SFXr",
    u"Cool Edit",
    u"or whatever else",
    u"was handy!",
    u"",
    u"",
    u"-=-=-",
    u"End",
};

namespace {

// The scroller cycles over all lines but the last ("End" is never shown).
constexpr int kScrollLines = 38;
constexpr float kLineSpacing = 16;
constexpr float kScrollSpeed = 0.3f;

// Grid geometry for the current screen: cell size, counts and origin.
struct Grid {
    float cell;
    int columns, rows;
    float originX, originY;
};

// Whole cells along a side. A quotient within a relative 1e-4 below a whole
// number counts as that number, so an exact fit lost to rounding (640 / (640
// / 12)) stays 12, while a narrow screen's 4.999 stays 4.
int WholeCells(float length, float cell) {
    double quotient = static_cast<double>(length) / cell;
    return static_cast<int>(quotient + quotient * 1e-4);
}

Grid MakeGrid(float w, float h) {
    Grid g{};
    g.cell = std::max(w / 12, h / 12);
    if (!(g.cell > 0)) return g;  // no screen yet: no cells
    g.columns = WholeCells(w, g.cell);
    g.rows = WholeCells(h, g.cell);
    g.originX = w / 2 - g.cell * g.columns / 2;
    g.originY = h / 2 - g.cell * g.rows / 2;
    return g;
}

// Offset from the centre in cells, never zero, so every cell flies in.
int CellOffset(int index, int count) {
    int d = index - count / 2;
    return d < 1 ? d - 1 : d;
}

// A gradient channel: truncated and clamped to 0..255 (NaN and infinities too,
// which a grid only two cells wide would otherwise produce).
float Channel(float value) {
    if (!(value > 0)) return 0;
    if (value > 255) return 255;
    return static_cast<float>(static_cast<int>(value));
}

// What every part of the card shares for one drawing.
struct Card {
    Grid grid;
    float w, h;
    float f;     // updates still to go before the panel is in place
    float fade;  // 0..1 with the slide
    float e;     // the cells' size: they grow during the first two thirds
};

// The gradient bar of an edge cell that is not a corner.
void QueueEdgeBar(const Card& c, int i, int j, float x, float y, Pen& pen) {
    const int cols = c.grid.columns, rows = c.grid.rows;
    const float a = 512.0f / (cols - 2), b = 512.0f / (rows - 2);
    const float fi = static_cast<float>(i - 1), fj = static_cast<float>(j - 1);
    if (j == 0) {
        pen.SetColor(Channel(a * fi), Channel(512 - a * fi), 0);
    } else if (j == rows) {
        const float grey = Channel(fi * 255 / (cols - 2));
        pen.SetColor(grey, grey, grey);
    } else if (i == 0) {
        pen.SetColor(0, Channel(512 - b * fj), Channel(b * fj));
    } else {
        pen.SetColor(Channel(512 - b * fj), 0, Channel(b * fj));
    }
    if (j == 0 || j == rows) {
        pen.QueueRect(x + 8, y, c.e - 16, c.e);
    } else {
        pen.QueueRect(x, y + 8, c.e, c.e - 16);
    }
}

// One cell: its base square, then the grey inner square or the edge's bar.
void QueueCell(const Card& c, int i, int j, Pen& pen) {
    const Grid& g = c.grid;
    const int dx = CellOffset(i, g.columns), dy = CellOffset(j, g.rows);
    const float cx = static_cast<float>(dx * std::abs(dx)) * c.f + i * g.cell + g.originX;
    const float cy = static_cast<float>(dy * std::abs(dy)) * c.f + j * g.cell + g.originY;
    const float x = cx - c.e / 2, y = cy - c.e / 2;
    const bool colEdge = i == 0 || i == g.columns;
    const bool rowEdge = j == 0 || j == g.rows;

    const float base = colEdge || rowEdge ? 0 : 255;
    pen.SetColor(base, base, base);
    pen.QueueRect(x, y, c.e + 1, c.e + 1);
    if (!colEdge && !rowEdge) {
        // The last inner row merges its middle cells into one bar.
        pen.SetColor(128, 128, 128);
        if (j == g.rows - 1 && i > 3 && i < g.columns - 2) {
            pen.QueueRect(x - 6, y + 2, i == g.columns - 3 ? c.e + 4 : c.e + 24, c.e - 4);
        } else {
            pen.QueueRect(x + 2, y + 2, c.e - 4, c.e - 4);
        }
    } else if (colEdge != rowEdge) {
        QueueEdgeBar(c, i, j, x, y, pen);
    }
}

void QueueGrid(const Card& c, Pen& pen) {
    pen.ResetState();
    pen.SetAlpha(c.fade);
    for (int i = 0; i <= c.grid.columns; i++) {
        for (int j = 0; j <= c.grid.rows; j++) QueueCell(c, i, j, pen);
    }
}

// The circle comes down from above; eight lines of the scroller around its
// centre fade with distance; the game logo rises along the bottom.
void QueueCircle(const Card& c, int line, float scroll, Pen& pen) {
    pen.SetAlpha(c.fade);
    pen.SetScale(1);
    pen.SetColor(255, 255, 255);
    pen.QueueImage(kImageTestCard, c.w / 2, c.h / 2 - 24 * c.f, 0);
    pen.SetColor(255, 255, 255);
    for (int p = -3; p <= 4; p++) {
        const float offset = kLineSpacing * p + scroll;
        const float v = std::clamp(std::fabs(offset / 40) - 0.3f, 0.0f, 1.0f);
        pen.SetAlpha(1 - v);
        int index = (line + p) % kScrollLines;
        if (index < 0) index += kScrollLines;
        pen.QueueText(c.w / 2 + 24, c.h / 2 - 24 * c.f + offset, kCreditLines[index], 0.8f, 0.8f);
    }
    pen.SetAlpha(c.fade);
    pen.SetColor(255, 255, 255);
    pen.SetScale(0.4f);
    pen.QueueImage(kImageLogo, c.w / 2, (c.grid.rows - 1) * c.grid.cell + 4 * c.f + c.grid.originY,
                   0);
}

// Corner discs drifting in diagonally (top-left, top-right, bottom-left,
// bottom-right): the device size and update rate, the screen size and render
// rate, a button and the maker's logo.
void QueueDiscs(const Card& c, const CreditsReadouts& r, Pen& pen) {
    const Grid& g = c.grid;
    pen.ResetState();
    pen.SetAlpha(c.fade);
    const float left = 1.5f * g.cell + g.originX - 6 * c.f;
    const float right = (g.columns - 1.5f) * g.cell + g.originX + 6 * c.f;
    const float top = 1.5f * g.cell + g.originY - 3 * c.f;
    const float bottom = (g.rows - 1.5f) * g.cell + g.originY + 3 * c.f;
    const float discX[] = {left, right, left, right};
    const float discY[] = {top, top, bottom, bottom};
    for (int d = 0; d < 4; d++) {
        pen.SetColor(255, 255, 255);
        pen.QueueEllipse(discX[d], discY[d], c.e, c.e);
        pen.SetColor(128, 128, 128);
        pen.QueueEllipse(discX[d], discY[d], c.e - 3, c.e - 3);
    }
    pen.SetColor(255, 255, 255);
    const int readouts[2][3] = {
        {r.pixelWidth, r.pixelHeight, r.updateFps},
        {static_cast<int>(std::floor(c.w)), static_cast<int>(std::floor(c.h)), r.renderFps},
    };
    for (int d = 0; d < 2; d++) {
        for (int line = 0; line < 3; line++) {
            TextBuffer text(u" ");
            text.AppendInt(readouts[d][line]);
            pen.QueueText(discX[d], discY[d] + 16.0f * (line - 1), text.View(), 0.8f, 0.8f);
        }
    }
    pen.SetColor(255, 255, 255);
    pen.SetScale(1);
    pen.QueueImage(kImageButtons, discX[2], discY[2], 12);
    pen.SetColor(255, 255, 255);
    pen.SetScale(0.3f);
    pen.QueueImage(kImageMakerLogo, discX[3], discY[3], 0);
}

}  // namespace

void CreditsPanel::Scroll() {
    creditScroll -= kScrollSpeed;
    if (creditScroll < -kLineSpacing) {
        creditScroll += kLineSpacing;
        creditLine++;
    }
}

void CreditsPanel::Draw(const CreditsReadouts& readouts, Frame& frame) const {
    Card c{};
    c.w = frame.screen.screenWidth;
    c.h = frame.screen.screenHeight;
    c.grid = MakeGrid(c.w, c.h);
    c.f = static_cast<float>(kSlideLength - menuPanelSlide);
    c.fade = static_cast<float>(menuPanelSlide) / kSlideLength;
    c.e = menuPanelSlide < 20 ? c.grid.cell * menuPanelSlide / 20 : c.grid.cell;
    QueueGrid(c, frame.pen);
    QueueCircle(c, creditLine, creditScroll, frame.pen);
    QueueDiscs(c, readouts, frame.pen);
}

CreditsReport CreditsPanel::Update(bool onTitle, const CreditsReadouts& readouts, Frame& frame) {
    CreditsReport report;
    if (onTitle && Visible()) {
        Scroll();
        Draw(readouts, frame);
        // A fresh touch anywhere closes it; the press that opened it is latched.
        if (frame.input.TakeTouch(frame.input.pointerDown != 0)) {
            Close();
            frame.sounds.Cue(kSfxPanel, 1, 1, 0);
            report.closed = true;
        }
    }
    if (menuPanelOpen == 1 && menuPanelSlide < kSlideLength) menuPanelSlide++;
    if (menuPanelOpen == 0 && menuPanelSlide > 0) menuPanelSlide--;
    return report;
}
