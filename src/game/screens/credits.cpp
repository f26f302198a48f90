// The credits panel, dressed as a television test card: a grid of cells with
// gradient edges, the circle with the credits scrolling through it, the logo
// and four corner discs with live readouts. It flies in and out over 30 updates.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "game/screens/my_app.h"
#include "graphics/context.h"

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

constexpr int kSlideLength = 30;
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

}  // namespace

int c_MyApp::DrawCreditsPanel() {
    const float w = screen.screenWidth;
    const float h = screen.screenHeight;
    const int s = credits.menuPanelSlide;
    const float f = static_cast<float>(kSlideLength - s);
    const float fade = static_cast<float>(s) / kSlideLength;

    // Grid: cells grow during the first two thirds of the opening.
    ResetDrawState();
    const Grid g = MakeGrid(w, h);
    const int cols = g.columns, rows = g.rows;
    SetDrawAlpha(fade);
    const float e = s < 20 ? g.cell * s / 20 : g.cell;
    const float a = 512.0f / (cols - 2);
    const float b = 512.0f / (rows - 2);
    for (int i = 0; i <= cols; i++) {
        for (int j = 0; j <= rows; j++) {
            const int dx = CellOffset(i, cols);
            const int dy = CellOffset(j, rows);
            const float cx = static_cast<float>(dx * std::abs(dx)) * f + i * g.cell + g.originX;
            const float cy = static_cast<float>(dy * std::abs(dy)) * f + j * g.cell + g.originY;
            const float x = cx - e / 2, y = cy - e / 2;
            const bool colEdge = i == 0 || i == cols;
            const bool rowEdge = j == 0 || j == rows;

            const float base = colEdge || rowEdge ? 0 : 255;
            SetDrawColor(base, base, base);
            QueueRect(x, y, e + 1, e + 1);

            if (!colEdge && !rowEdge) {
                // The last inner row merges its middle cells into one bar.
                SetDrawColor(128, 128, 128);
                if (j == rows - 1 && i > 3 && i < cols - 2) {
                    QueueRect(x - 6, y + 2, i == cols - 3 ? e + 4 : e + 24, e - 4);
                } else {
                    QueueRect(x + 2, y + 2, e - 4, e - 4);
                }
            } else if (colEdge != rowEdge) {
                const float fi = static_cast<float>(i - 1), fj = static_cast<float>(j - 1);
                if (j == 0) {
                    SetDrawColor(Channel(a * fi), Channel(512 - a * fi), 0);
                } else if (j == rows) {
                    const float grey = Channel(fi * 255 / (cols - 2));
                    SetDrawColor(grey, grey, grey);
                } else if (i == 0) {
                    SetDrawColor(0, Channel(512 - b * fj), Channel(b * fj));
                } else {
                    SetDrawColor(Channel(512 - b * fj), 0, Channel(b * fj));
                }
                if (rowEdge) {
                    QueueRect(x + 8, y, e - 16, e);
                } else {
                    QueueRect(x, y + 8, e, e - 16);
                }
            }
        }
    }

    // The circle comes down from above.
    SetDrawAlpha(fade);
    SetDrawScale(1);
    SetDrawColor(255, 255, 255);
    QueueImage(kImageTestCard, w / 2, h / 2 - 24 * f, 0);

    // Scroller: eight lines around the centre, fading with distance.
    SetDrawColor(255, 255, 255);
    credits.creditScroll -= kScrollSpeed;
    if (credits.creditScroll < -kLineSpacing) {
        credits.creditScroll += kLineSpacing;
        credits.creditLine++;
    }
    for (int p = -3; p <= 4; p++) {
        const float offset = kLineSpacing * p + credits.creditScroll;
        const float v = std::clamp(std::fabs(offset / 40) - 0.3f, 0.0f, 1.0f);
        SetDrawAlpha(1 - v);
        int index = (credits.creditLine + p) % kScrollLines;
        if (index < 0) index += kScrollLines;
        QueueText(w / 2 + 24, h / 2 - 24 * f + offset, kCreditLines[index], 0.8f, 0.8f);
    }

    // The game logo along the bottom.
    SetDrawAlpha(fade);
    SetDrawColor(255, 255, 255);
    SetDrawScale(0.4f);
    QueueImage(kImageLogo, w / 2, (rows - 1) * g.cell + 4 * f + g.originY, 0);

    // Corner discs drifting in diagonally: top-left, top-right, bottom-left, bottom-right.
    ResetDrawState();
    SetDrawAlpha(fade);
    const float left = 1.5f * g.cell + g.originX - 6 * f;
    const float right = (cols - 1.5f) * g.cell + g.originX + 6 * f;
    const float top = 1.5f * g.cell + g.originY - 3 * f;
    const float bottom = (rows - 1.5f) * g.cell + g.originY + 3 * f;
    const float discX[] = {left, right, left, right};
    const float discY[] = {top, top, bottom, bottom};
    for (int d = 0; d < 4; d++) {
        SetDrawColor(255, 255, 255);
        QueueEllipse(discX[d], discY[d], e, e);
        SetDrawColor(128, 128, 128);
        QueueEllipse(discX[d], discY[d], e - 3, e - 3);
    }

    // Live readouts: device size in pixels and update rate, screen size and render rate.
    SetDrawColor(255, 255, 255);
    const int readouts[2][3] = {
        {DisplayPixelWidth(), DisplayPixelHeight(), timing.updateFpsAvg},
        {static_cast<int>(std::floor(w)), static_cast<int>(std::floor(h)), timing.renderFpsAvg},
    };
    for (int d = 0; d < 2; d++) {
        for (int line = 0; line < 3; line++) {
            TextBuffer text(u" ");
            text.AppendInt(readouts[d][line]);
            QueueText(discX[d], discY[d] + 16.0f * (line - 1), text.View(), 0.8f, 0.8f);
        }
    }
    SetDrawColor(255, 255, 255);
    SetDrawScale(1);
    QueueImage(kImageButtons, discX[2], discY[2], 12);
    SetDrawColor(255, 255, 255);
    SetDrawScale(0.3f);
    QueueImage(kImageMakerLogo, discX[3], discY[3], 0);

    // A fresh touch anywhere closes the panel; the press that opened it is latched.
    if (input.TakeTouch(input.pointerDown != 0)) {
        credits.menuPanelOpen = 0;
        PlaySfx(kSfxPanel, 1, 1, 0);
    }
    return 0;
}
