// Sixty-four achievement badges: eight shapes (rows) in eight metals and colours (columns).
#include "draw_util.h"
#include "pixel_font.h"
#include "sheets.h"

namespace {

const Rgba kPalette[8] = {Rgb(240, 190, 50), Rgb(200, 206, 218), Rgb(204, 122, 62),
                          Rgb(222, 70, 60),  Rgb(72, 182, 82),   Rgb(62, 122, 222),
                          Rgb(152, 82, 204), Rgb(40, 172, 172)};

// The outline of badge shape `shape`, centred on (32, 31).
float BadgeShape(int shape, float x, float y) {
    Vec2 v[24];
    switch (shape) {
        case 0:
            return SdCircle(x, y, 32, 31, 26);
        case 1: {  // shield
            Vec2 s[5] = {{9, 8}, {55, 8}, {55, 30}, {32, 57}, {9, 30}};
            return SdPolygon(x, y, s, 5) - 1.5f;
        }
        case 2:
            RegularPolygon(v, 6, 32, 31, 27, 30);
            return SdPolygon(x, y, v, 6) - 1.0f;
        case 3:
            StarPolygon(v, 12, 32, 31, 28, 23);
            return SdPolygon(x, y, v, 24);
        case 4:
            return SdRect(x, y, 7, 6, 50, 50, 10);
        case 5:
            RegularPolygon(v, 8, 32, 31, 27, 22.5f);
            return SdPolygon(x, y, v, 8) - 0.5f;
        case 6: {  // medal on two ribbon tails
            Vec2 l[4] = {{14, 36}, {24, 36}, {20, 60}, {12, 54}};
            Vec2 r[4] = {{40, 36}, {50, 36}, {52, 54}, {44, 60}};
            float d = SdUnion(SdPolygon(x, y, l, 4), SdPolygon(x, y, r, 4));
            return SdUnion(d, SdCircle(x, y, 32, 27, 22));
        }
        default: {
            Vec2 d[4] = {{32, 3}, {60, 31}, {32, 59}, {4, 31}};
            return SdPolygon(x, y, d, 4) - 1.0f;
        }
    }
}

const char* const kTexts[10] = {"1", "5", "10", "25", "50", "99", "x2", "x4", "x8", "60"};

// The emblem in the middle of a badge: a number, a spider, a toothpick, a star or a heart.
void DrawBadgeSymbol(Canvas& c, int symbol, Rgba dark) {
    const Box all{0, 0, 64, 64};
    const Rgba white = Rgb(255, 255, 255);
    if (symbol < 10) {
        DrawLabel(c, 32, 31, kTexts[symbol], 2, white, dark);
    } else if (symbol == 10) {
        DrawSpiderFigure(c, 32, 32, 26, 0.4f, Rgb(40, 30, 34), Rgb(255, 240, 210));
    } else if (symbol == 11) {
        FillOutlined(
            c, all, [](float x, float y) { return SdToothpick(x, y, 19, 44, 45, 18, 2.2f, 0.2f); },
            Rgb(240, 212, 160), dark, 1.2f);
    } else if (symbol == 12) {
        Vec2 s[10];
        StarPolygon(s, 5, 32, 32.5f, 13, 5.6f);
        FillOutlined(
            c, all, [&](float x, float y) { return SdPolygon(x, y, s, 10); }, white, dark, 1.2f);
    } else if (symbol == 13) {
        FillOutlined(
            c, all,
            [](float x, float y) {
                Vec2 tip[3] = {{21, 30}, {43, 30}, {32, 43}};
                float d = SdUnion(SdCircle(x, y, 27, 27, 5.8f), SdCircle(x, y, 37, 27, 5.8f));
                return SdUnion(d, SdPolygon(x, y, tip, 3));
            },
            Rgb(255, 110, 130), dark, 1.2f);
    } else if (symbol == 14) {  // clock
        FillOutlined(
            c, all, [](float x, float y) { return SdCircle(x, y, 32, 31, 11); }, white, dark, 1.2f);
        c.FillColor(
            all,
            [](float x, float y) {
                return SdUnion(SdCapsule(x, y, 32, 31, 32, 23, 1.1f),
                               SdCapsule(x, y, 32, 31, 38, 34, 1.1f));
            },
            dark);
    } else {  // crown
        Vec2 crown[7] = {{19, 40},    {18, 23}, {25.5f, 31}, {32, 20},
                         {38.5f, 31}, {46, 23}, {45, 40}};
        FillOutlined(
            c, all, [&](float x, float y) { return SdPolygon(x, y, crown, 7); }, Rgb(255, 226, 90),
            dark, 1.2f);
    }
}

}  // namespace

void DrawBadgeFrame(Canvas& c, int frame) {
    const Box all{0, 0, 64, 64};
    int shape = frame / 8;
    Rgba colour = kPalette[frame % 8];
    auto outline = [shape](float x, float y) { return BadgeShape(shape, x, y); };
    c.FillColor(
        all, [&](float x, float y) { return outline(x - 1, y - 2); }, Rgb(0, 0, 0, 0.35f), 1.5f);
    c.FillColor(all, outline, Shade(colour, 0.5f));
    c.Fill(
        all, [&](float x, float y) { return outline(x, y) + 2.5f; },
        Sheen(Shade(colour, 1.45f), Shade(colour, 0.85f), 24, 18, 40));
    c.FillColor(
        all, [&](float x, float y) { return std::abs(outline(x, y) + 6.0f) - 0.6f; },
        WithAlpha(Shade(colour, 1.7f), 0.6f));
    DrawBadgeSymbol(c, (frame * 7 + frame / 8) % 16, Shade(colour, 0.35f));
}
