// Interface sheets: the white icon set, the coloured buttons, the d-pad parts and arcade icons.
#include <cmath>

#include "draw_util.h"
#include "pixel_font.h"
#include "sheets.h"

namespace {

const Box kIconBox{0, 0, 32, 32};

// Distance to a cone of half angle `halfDeg` opening along +x from (cx, cy).
float SdConeX(float x, float y, float cx, float cy, float halfDeg) {
    float a = halfDeg * kDeg;
    return -(x - cx) * std::sin(a) + std::abs(y - cy) * std::cos(a);
}

// A loudspeaker facing right.
float SdSpeaker(float x, float y) {
    Vec2 cone[4] = {{11, 13}, {16.5f, 8.5f}, {16.5f, 23.5f}, {11, 19}};
    return SdUnion(SdRect(x, y, 7.5f, 12.5f, 4.5f, 7, 0.8f), SdPolygon(x, y, cone, 4));
}

// A musical note (quaver).
float SdNote(float x, float y) {
    float d = SdEllipse(x, y, 13, 21.5f, 3.8f, 2.9f);
    d = SdUnion(d, SdRect(x, y, 15.2f, 8, 2, 13.5f));
    return SdUnion(d, SdCapsule(x, y, 16.2f, 8.8f, 21.5f, 13.5f, 1.1f));
}

// A circular arrow (restart): a ring open at the upper right, with a head at the gap.
float SdRestart(float x, float y, float cx, float cy, float r) {
    float ring = SdRing(x, y, cx, cy, r, 1.5f);
    ring = SdSubtract(ring, SdIntersect(cx - x, y - cy));
    Vec2 head[3] = {{cx - 0.5f, cy - r - 4.5f}, {cx + 5.5f, cy - r}, {cx - 0.5f, cy - r + 4.5f}};
    return SdUnion(ring, SdPolygon(x, y, head, 3));
}

// An arrow pointing left (dir -1) or right (dir 1), centred on (16, 16).
float SdArrow(float x, float y, float dir) {
    Vec2 a[7] = {{8, 0}, {0, -7.5f}, {0, -3}, {-8, -3}, {-8, 3}, {0, 3}, {0, 7.5f}};
    return SdPolygon((x - 16) * dir, y - 16, a, 7);
}

// A gear wheel with eight teeth and a hole.
float SdGear(float x, float y) {
    float d = SdCircle(x, y, 16, 16, 6.2f);
    for (int i = 0; i < 8; ++i) {
        Vec2 tip = Along(16, 16, i * 45.0f, 8.6f);
        d = SdUnion(d, SdCapsule(x, y, 16, 16, tip.x, tip.y, 1.6f));
    }
    return SdSubtract(d, SdCircle(x, y, 16, 16, 2.6f));
}

// A small house.
float SdHome(float x, float y) {
    Vec2 roof[3] = {{16, 6.5f}, {25.5f, 15.5f}, {6.5f, 15.5f}};
    float d = SdUnion(SdPolygon(x, y, roof, 3), SdRect(x, y, 9.5f, 14, 13, 10.5f));
    return SdSubtract(d, SdRect(x, y, 14.5f, 18.5f, 3, 6));
}

// A trophy cup.
float SdTrophy(float x, float y) {
    float cup = SdIntersect(SdEllipse(x, y, 16, 10, 6.5f, 8.5f), 10.0f - y);
    cup = SdUnion(cup, SdRect(x, y, 9.5f, 8, 13, 2.5f));
    float handles =
        SdUnion(SdRing(x, y, 9.5f, 12, 2.6f, 0.9f), SdRing(x, y, 22.5f, 12, 2.6f, 0.9f));
    handles = SdIntersect(handles, -SdRect(x, y, 10, 8, 12, 12));
    float d = SdUnion(cup, handles);
    d = SdUnion(d, SdRect(x, y, 15, 18, 2, 4));
    return SdUnion(d, SdRect(x, y, 11, 21.5f, 10, 3, 0.8f));
}

// A five-pointed star.
float SdStar5(float x, float y, float cx, float cy, float outer, float inner) {
    Vec2 s[10];
    StarPolygon(s, 5, cx, cy, outer, inner);
    return SdPolygon(x, y, s, 10);
}

// The shape of one icon, or a huge distance for frames without one.
float IconShape(int frame, float x, float y) {
    switch (frame) {
        case 0:
            return SdUnion(SdRect(x, y, 10.5f, 9, 4, 14, 1), SdRect(x, y, 17.5f, 9, 4, 14, 1));
        case 1:
            return SdUnion(SdCapsule(x, y, 11, 11, 21, 21, 1.9f),
                           SdCapsule(x, y, 21, 11, 11, 21, 1.9f));
        case 2:
            return SdRestart(x, y, 16, 16.5f, 6.8f);
        case 3: {
            Vec2 t[3] = {{12.5f, 9}, {23.5f, 16}, {12.5f, 23}};
            return SdPolygon(x, y, t, 3) - 0.5f;
        }
        case 4: {
            float waves = SdUnion(SdRing(x, y, 15, 16, 5, 1), SdRing(x, y, 15, 16, 9, 1));
            return SdUnion(SdSpeaker(x, y), SdIntersect(waves, SdConeX(x, y, 15, 16, 48)));
        }
        case 5: {
            float cross = SdUnion(SdCapsule(x, y, 19.5f, 13, 25.5f, 19, 1.1f),
                                  SdCapsule(x, y, 25.5f, 13, 19.5f, 19, 1.1f));
            return SdUnion(SdSpeaker(x, y), cross);
        }
        case 7:
            return SdNote(x, y);
        case 8: {
            float slash = SdCapsule(x, y, 8.5f, 24, 23.5f, 8, 1.1f);
            return SdUnion(SdSubtract(SdNote(x, y), slash - 1.3f), slash);
        }
        case 9:
            return SdGear(x, y);
        case 10:
            return SdHome(x, y);
        case 11:
            return SdStar5(x, y, 16, 16.8f, 9.5f, 4.2f);
        case 12:
            return SdTrophy(x, y);
        case 13:
            return SdArrow(x, y, -1);
        case 14:
            return SdArrow(x, y, 1);
        default:
            return 1e9f;
    }
}

}  // namespace

void DrawIconFrame(Canvas& c, int frame) {
    if (frame == 6) {
        // The selection ring sits outside the icons it is drawn over (scale 2.5 against 2).
        c.FillColor(
            kIconBox, [](float x, float y) { return SdRing(x, y, 16, 16, 14.2f, 1.4f); },
            Rgb(255, 255, 255));
        c.FillColor(
            kIconBox, [](float x, float y) { return SdRing(x, y, 16, 16, 11.6f, 0.5f); },
            Rgb(200, 200, 200, 0.8f));
        for (int i = 0; i < 4; ++i) {
            Vec2 p = Along(16, 16, 45.0f + i * 90.0f, 13.4f);
            c.FillColor(
                kIconBox, [=](float x, float y) { return SdCircle(x, y, p.x, p.y, 1.6f); },
                Rgb(255, 255, 255));
        }
        return;
    }
    // Every other icon: a translucent disc with a solid rim, and the symbol on top.
    c.FillColor(
        kIconBox, [](float x, float y) { return SdCircle(x, y, 16, 16, 13.5f); },
        Rgb(255, 255, 255, 0.28f));
    c.FillColor(
        kIconBox, [](float x, float y) { return SdRing(x, y, 16, 16, 13.6f, 1.1f); },
        Rgb(255, 255, 255));
    if (frame == 15) {
        DrawText(c, 12, 10, "?", 2, Rgb(175, 175, 175));
        DrawText(c, 11, 9, "?", 2, Rgb(255, 255, 255));
        return;
    }
    FillTintable(c, {5, 5, 27, 27}, [frame](float x, float y) { return IconShape(frame, x, y); });
}

namespace {

struct ButtonStyle {
    Rgba colour;
    const char* word;
    int symbol;  // an icon shape number, -1 for the difficulty spiders, -2 for none
};

// The rounded, glossy body shared by all buttons.
void DrawButtonBody(Canvas& c, Rgba colour) {
    auto body = [](float x, float y) { return SdRect(x, y, 4, 3, 56, 56, 11); };
    c.FillColor(
        {2, 2, 64, 64}, [&](float x, float y) { return body(x - 1, y - 2.5f); },
        Rgb(0, 0, 0, 0.35f), 1.5f);
    c.Fill({3, 2, 61, 60}, body,
           VerticalGradient(Shade(colour, 1.3f), Shade(colour, 0.72f), 3, 59));
    c.FillColor(
        {3, 2, 61, 60}, [&](float x, float y) { return std::abs(body(x, y) + 1.0f) - 1.0f; },
        Shade(colour, 0.42f));
    c.FillColor(
        {3, 2, 61, 60}, [&](float x, float y) { return std::abs(body(x, y) + 3.0f) - 0.5f; },
        WithAlpha(Shade(colour, 1.6f), 0.45f));
    c.FillColor(
        {6, 5, 58, 30},
        [&](float x, float y) {
            return SdIntersect(SdEllipse(x, y, 32, 12, 23, 8.5f), body(x, y) + 3.5f);
        },
        Rgb(255, 255, 255, 0.22f));
}

// Three difficulty buttons, then the rest of the set in the same style.
const ButtonStyle kButtons[16] = {
    {Rgb(84, 190, 72), "EASY", -1},   {Rgb(244, 168, 36), "NORMAL", -1},
    {Rgb(222, 64, 52), "HARD", -1},   {Rgb(64, 130, 232), "PLAY", 3},
    {Rgb(112, 122, 152), "BACK", 13}, {Rgb(40, 168, 168), "MENU", 10},
    {Rgb(238, 122, 40), "RETRY", 2},  {Rgb(152, 92, 212), "SCORES", 12},
    {Rgb(70, 176, 96), "SOUND", 4},   {Rgb(220, 92, 162), "MUSIC", 7},
    {Rgb(120, 196, 60), "OK", 11},    {Rgb(90, 110, 200), "HELP", 15},
    {Rgb(0, 0, 0), "", -2},           {Rgb(84, 190, 72), "", -2},
    {Rgb(222, 64, 52), "", -2},       {Rgb(0, 0, 0), "", -2},
};

// The credits emblem: a medallion with crossed toothpicks under a spider.
void DrawEmblem(Canvas& c) {
    const Box all{0, 0, 64, 64};
    c.FillColor(
        all, [](float x, float y) { return SdCircle(x - 1, y - 2, 32, 32, 29.5f); },
        Rgb(0, 0, 0, 0.35f), 1.5f);
    c.Fill(
        all, [](float x, float y) { return SdCircle(x, y, 32, 32, 29.5f); },
        Sheen(Rgb(255, 232, 140), Rgb(196, 132, 30), 24, 20, 34));
    c.FillColor(
        all, [](float x, float y) { return SdRing(x, y, 32, 32, 25.5f, 0.8f); }, Rgb(120, 74, 18));
    c.Fill(
        all, [](float x, float y) { return SdCircle(x, y, 32, 32, 24.2f); },
        Sheen(Rgb(255, 248, 226), Rgb(226, 204, 160), 28, 24, 26));
    const Rgba wood = Rgb(236, 204, 146), woodEdge = Rgb(150, 104, 52);
    for (int i = 0; i < 2; ++i) {
        float s = i ? -1.0f : 1.0f;
        auto stick = [s](float x, float y) {
            return SdToothpick(x, y, 32 - 17 * s, 48, 32 + 17 * s, 16, 1.7f, 0.18f);
        };
        FillOutlined(c, all, stick, wood, woodEdge, 0.8f);
    }
    DrawSpiderFigure(c, 32, 33, 22, 0.6f, Rgb(52, 38, 44), Rgb(226, 96, 40));
    for (int i = 0; i < 3; ++i) {
        float sx = 22.0f + i * 10.0f, sy = i == 1 ? 12.5f : 14.0f;
        c.FillColor(
            all, [=](float x, float y) { return SdStar5(x, y, sx, sy, 3.2f, 1.4f); },
            Rgb(200, 60, 40));
    }
}

// The selection mark: a bright frame around the button and a tick badge in its corner.
void DrawSelectionMark(Canvas& c) {
    const Box all{0, 0, 64, 64};
    c.FillColor(
        all, [](float x, float y) { return std::abs(SdRect(x, y, 2.5f, 1.5f, 59, 59, 13)) - 1.6f; },
        Rgb(255, 250, 170));
    c.FillColor(
        all, [](float x, float y) { return SdCircle(x, y, 53, 11, 8.5f); }, Rgb(255, 255, 255));
    c.FillColor(
        all, [](float x, float y) { return SdCircle(x, y, 53, 11, 6.8f); }, Rgb(52, 176, 70));
    c.FillColor(
        all,
        [](float x, float y) {
            return SdUnion(SdCapsule(x, y, 49.5f, 11, 52, 14, 1.2f),
                           SdCapsule(x, y, 52, 14, 57, 8, 1.2f));
        },
        Rgb(255, 255, 255));
}

}  // namespace

void DrawButtonFrame(Canvas& c, int frame) {
    if (frame == 12) return DrawEmblem(c);
    if (frame == 15) return DrawSelectionMark(c);
    const ButtonStyle& style = kButtons[frame];
    DrawButtonBody(c, style.colour);
    Rgba dark = Shade(style.colour, 0.32f);
    if (style.symbol == -1) {
        // Difficulty: one, two or three spiders above the word.
        int n = frame + 1;
        for (int i = 0; i < n; ++i) {
            float x = 32.0f + (i - (n - 1) * 0.5f) * 15.0f;
            DrawSpiderFigure(c, x, 22, 12.5f, 0.7f * i, Rgb(40, 28, 32), Rgb(255, 236, 200));
        }
    } else if (style.symbol == 15) {
        DrawLabel(c, 32, 21, "?", 2, Rgb(255, 255, 255), dark);
    } else if (style.symbol >= 0) {
        // Icon shapes are laid out on 32 units; draw them at 1.25 around the button's upper half.
        int symbol = style.symbol;
        auto shape = [symbol](float x, float y) {
            return IconShape(symbol, (x - 32) / 1.25f + 16, (y - 21) / 1.25f + 16) * 1.25f;
        };
        FillOutlined(c, {8, 2, 56, 42}, shape, Rgb(255, 255, 255), dark, 1.2f);
    }
    if (*style.word)
        DrawLabel(c, 32, style.symbol == -2 ? 31 : 45, style.word, 1, Rgb(255, 255, 255), dark);
}

namespace {

// A key of the d-pad: a rounded square with an arrow, raised or pressed.
void DrawDpadKey(Canvas& c, float heading, bool pressed) {
    const Box all{0, 0, 32, 32};
    Rgba top = pressed ? Rgb(150, 170, 210) : Rgb(232, 232, 238);
    Rgba bottom = pressed ? Rgb(90, 110, 160) : Rgb(150, 150, 162);
    float dy = pressed ? 1.0f : 0.0f;
    c.FillColor(
        all, [](float x, float y) { return SdRect(x, y, 4, 5, 24, 25, 5); }, Rgb(30, 30, 36));
    c.Fill(
        all, [dy](float x, float y) { return SdRect(x, y, 4, 3 + dy, 24, 24, 5); },
        VerticalGradient(top, bottom, 3, 27));
    Vec2 tri[3] = {Along(16, 15 + dy, heading, 7), Along(16, 15 + dy, heading + 125, 6),
                   Along(16, 15 + dy, heading - 125, 6)};
    c.FillColor(
        all, [&](float x, float y) { return SdPolygon(x, y, tri, 3); }, Rgb(50, 50, 60));
}

// A round face button with its letter.
void DrawFaceButton(Canvas& c, Rgba colour, const char* letter) {
    const Box all{0, 0, 32, 32};
    c.FillColor(
        all, [](float x, float y) { return SdCircle(x, y, 16, 17.5f, 12.5f); }, Rgb(20, 20, 26));
    c.Fill(
        all, [](float x, float y) { return SdCircle(x, y, 16, 16, 12); },
        Sheen(Shade(colour, 1.5f), Shade(colour, 0.8f), 12, 11, 16));
    DrawLabel(c, 16, 16, letter, 2, Rgb(255, 255, 255), Shade(colour, 0.4f));
}

}  // namespace

void DrawDpadFrame(Canvas& c, int frame) {
    const Box all{0, 0, 32, 32};
    const Rgba face[4] = {Rgb(70, 190, 80), Rgb(226, 70, 60), Rgb(70, 120, 230), Rgb(240, 200, 50)};
    const char* letters[4] = {"A", "B", "X", "Y"};
    if (frame == 0) {
        c.Fill(
            all, [](float x, float y) { return SdCircle(x, y, 16, 16, 15); },
            Sheen(Rgb(110, 110, 124), Rgb(50, 50, 60), 12, 10, 20));
        c.FillColor(
            all,
            [](float x, float y) {
                return SdUnion(SdRect(x, y, 11, 3, 10, 26, 2), SdRect(x, y, 3, 11, 26, 10, 2));
            },
            Rgb(28, 28, 34));
    } else if (frame <= 8) {
        DrawDpadKey(c, (frame - 1) % 4 * 90.0f, frame >= 5);
    } else if (frame == 9) {
        c.Fill(
            all, [](float x, float y) { return SdRect(x, y, 8, 8, 16, 16, 3); },
            VerticalGradient(Rgb(200, 200, 210), Rgb(120, 120, 134), 8, 24));
        c.FillColor(
            all, [](float x, float y) { return SdCircle(x, y, 16, 16, 3); }, Rgb(70, 70, 80));
    } else if (frame <= 13) {
        DrawFaceButton(c, face[frame - 10], letters[frame - 10]);
    } else if (frame == 14) {
        c.FillColor(
            all, [](float x, float y) { return SdCircle(x, y, 16, 16, 15); },
            Rgb(40, 40, 48, 0.8f));
        c.FillColor(
            all, [](float x, float y) { return SdRing(x, y, 16, 16, 13.5f, 1.2f); },
            Rgb(190, 190, 200));
    } else {
        c.FillColor(
            all, [](float x, float y) { return SdCircle(x, y, 16, 18, 10); }, Rgb(0, 0, 0, 0.4f),
            1.5f);
        c.Fill(
            all, [](float x, float y) { return SdCircle(x, y, 16, 16, 10); },
            Sheen(Rgb(250, 250, 255), Rgb(120, 120, 136), 12, 11, 14));
    }
}

void DrawIcadeFrame(Canvas& c, int frame) {
    const Box all{0, 0, 64, 64};
    // A dark panel under both icons.
    c.Fill(
        all, [](float x, float y) { return SdRect(x, y, 6, 40, 52, 18, 5); },
        VerticalGradient(Rgb(70, 70, 84), Rgb(24, 24, 30), 40, 58));
    if (frame == 0) {
        c.FillColor(
            all, [](float x, float y) { return SdEllipse(x, y, 32, 44, 10, 3.5f); },
            Rgb(10, 10, 14));
        c.Fill(
            all, [](float x, float y) { return SdCapsule(x, y, 32, 44, 32, 22, 2.6f); },
            [](float x, float) {
                return Mix(Rgb(240, 240, 250), Rgb(120, 120, 132), std::abs(x - 31) / 3);
            });
        c.Fill(
            all, [](float x, float y) { return SdCircle(x, y, 32, 17, 10); },
            Sheen(Rgb(255, 170, 160), Rgb(190, 30, 30), 28, 12, 13));
    } else {
        const Rgba colours[6] = {Rgb(226, 60, 50),  Rgb(250, 200, 40), Rgb(70, 190, 80),
                                 Rgb(60, 130, 230), Rgb(240, 120, 40), Rgb(170, 90, 220)};
        for (int i = 0; i < 6; ++i) {
            float bx = 17.0f + (i % 3) * 15.0f,
                  by = (i < 3 ? 20.0f : 34.0f) + (i % 3 == 1 ? -2.0f : 0.0f);
            Rgba col = colours[i];
            c.FillColor(
                all, [=](float x, float y) { return SdCircle(x, y, bx, by + 1.5f, 6.2f); },
                Rgb(16, 16, 20));
            c.Fill(
                all, [=](float x, float y) { return SdCircle(x, y, bx, by, 5.8f); },
                Sheen(Shade(col, 1.5f), Shade(col, 0.85f), bx - 2, by - 2, 7));
        }
    }
}
