// Spiders (walk cycle and debris) and the small particle sheet.
#include <cmath>

#include "shapes.h"
#include "sheets.h"

namespace {

const Rgba kSpiderBody = Rgb(52, 38, 44);
const Rgba kSpiderMark = Rgb(226, 96, 40);
const Rgba kGoo = Rgb(170, 220, 60);

// A radial highlight from `light` at (hx, hy) to `dark` at distance r.
auto Sheen(Rgba light, Rgba dark, float hx, float hy, float r) {
    return [=](float x, float y) {
        return Mix(light, dark, std::min(1.0f, std::hypot(x - hx, y - hy) / r));
    };
}

// One leg: femur from the body to the knee, tibia on to the foot, both at least one unit thick.
void DrawLeg(Canvas& c, Vec2 hip, float heading, float bend, float femur, float tibia, float k,
             Rgba colour) {
    Vec2 knee = Along(hip.x, hip.y, heading, femur * k);
    Vec2 foot = Along(knee.x, knee.y, heading + bend, tibia * k);
    float r1 = std::max(0.75f, 0.9f * k), r2 = std::max(0.5f, 0.62f * k);
    float pad = 2.0f;
    c.FillColor(
        {std::min(hip.x, knee.x) - pad, std::min(hip.y, knee.y) - pad,
         std::max(hip.x, knee.x) + pad, std::max(hip.y, knee.y) + pad},
        [=](float x, float y) { return SdCapsule(x, y, hip.x, hip.y, knee.x, knee.y, r1); },
        colour);
    c.FillColor(
        {std::min(knee.x, foot.x) - pad, std::min(knee.y, foot.y) - pad,
         std::max(knee.x, foot.x) + pad, std::max(knee.y, foot.y) + pad},
        [=](float x, float y) { return SdCapsule(x, y, knee.x, knee.y, foot.x, foot.y, r2); },
        colour);
    // A lighter knee joint gives the legs some shape.
    c.FillColor(
        {knee.x - 2, knee.y - 2, knee.x + 2, knee.y + 2},
        [=](float x, float y) { return SdCircle(x, y, knee.x, knee.y, r1 * 0.9f); },
        Shade(colour, 1.6f));
}

// The first debris bit: a broken, bent leg.
void DrawLegBit(Canvas& c) {
    DrawLeg(c, {11, 12}, 120, 50, 7, 7, 1.0f, kSpiderBody);
}

// The second debris bit: a piece of abdomen with its orange marking and a drop of goo.
void DrawBodyBit(Canvas& c) {
    c.Fill(
        {8, 9, 24, 23},
        [](float x, float y) {
            return SdSubtract(SdEllipse(x, y, 16, 16, 7, 6), SdCircle(x, y, 21, 9, 5));
        },
        Sheen(Shade(kSpiderBody, 2.0f), kSpiderBody, 13, 13, 8));
    c.FillColor(
        {11, 13, 19, 19}, [](float x, float y) { return SdEllipse(x, y, 15, 16, 3, 1.6f); },
        kSpiderMark);
    c.FillColor(
        {19, 19, 26, 26}, [](float x, float y) { return SdCircle(x, y, 22, 22, 2.2f); }, kGoo);
}

// The third debris bit: a splash of goo.
void DrawGooBit(Canvas& c) {
    auto blob = [](float x, float y) {
        float d = SdCircle(x, y, 16, 16, 5.5f);
        d = SdUnion(d, SdCircle(x, y, 21, 13, 3));
        d = SdUnion(d, SdCircle(x, y, 12, 20, 3.2f));
        d = SdUnion(d, SdCircle(x, y, 11, 12, 2.4f));
        return d;
    };
    c.FillColor(
        {5, 5, 27, 27}, [&](float x, float y) { return blob(x, y) - 1.0f; }, Shade(kGoo, 0.55f));
    c.Fill({6, 6, 26, 26}, blob, Sheen(Rgb(235, 255, 170), kGoo, 14, 13, 7));
    c.FillColor(
        {23, 20, 28, 25}, [](float x, float y) { return SdCircle(x, y, 25, 22.5f, 1.3f); }, kGoo);
    c.FillColor(
        {6, 22, 11, 27}, [](float x, float y) { return SdCircle(x, y, 8, 25, 1.1f); }, kGoo);
}

}  // namespace

void DrawSpiderFigure(Canvas& c, float cx, float cy, float size, float phase, Rgba body,
                      Rgba mark) {
    float k = size / 24.0f;
    auto at = [&](float x, float y) { return Vec2{cx + x * k, cy + y * k}; };
    Rgba legColour = Shade(body, 0.85f);

    // Legs first, so the body covers the hips. The gait swings legs in two alternating groups.
    const float hipY[4] = {-5.5f, -4.2f, -2.9f, -1.6f};
    const float heading[4] = {32, 68, 108, 142};
    const float bend[4] = {-22, -12, 12, 22};
    for (int side = 0; side < 2; ++side) {
        float sign = side == 0 ? 1.0f : -1.0f;
        for (int i = 0; i < 4; ++i) {
            float group = float((i + side) % 2);
            float swing = 11.0f * std::sin(phase + group * kPi);
            float reach = 1.0f - 0.08f * std::max(0.0f, std::cos(phase + group * kPi));
            Vec2 hip = at(sign * 3.2f, hipY[i]);
            DrawLeg(c, hip, sign * (heading[i] - swing), sign * bend[i], 5.0f, 5.4f * reach, k,
                    legColour);
        }
    }

    Vec2 abdomen = at(0, 5.2f), chest = at(0, -3.4f);
    // Abdomen with a soft sheen and a chevron marking.
    c.Fill(
        {abdomen.x - 7 * k, abdomen.y - 8 * k, abdomen.x + 7 * k, abdomen.y + 8 * k},
        [=](float x, float y) { return SdEllipse(x, y, abdomen.x, abdomen.y, 5.6f * k, 7.0f * k); },
        Sheen(Shade(body, 2.4f), body, abdomen.x - 1.5f * k, abdomen.y - 3.5f * k, 7 * k));
    for (int j = 0; j < 3; ++j) {
        float y0 = abdomen.y + (-2.0f + j * 2.8f) * k;
        float w = (3.2f - j * 0.7f) * k;
        Vec2 tri[4] = {{abdomen.x - w, y0},
                       {abdomen.x, y0 + 1.6f * k},
                       {abdomen.x + w, y0},
                       {abdomen.x, y0 + 1.6f * k + std::max(1.0f, 1.1f * k)}};
        Vec2 chevron[4] = {tri[0], tri[3], tri[2], tri[1]};
        c.FillColor(
            {abdomen.x - w - 1, y0 - 1, abdomen.x + w + 1, y0 + 4 * k + 1},
            [=](float x, float y) { return SdPolygon(x, y, chevron, 4); }, mark);
    }
    // Head and chest in one piece, fangs in front.
    c.Fill(
        {chest.x - 5 * k, chest.y - 6 * k, chest.x + 5 * k, chest.y + 6 * k},
        [=](float x, float y) { return SdEllipse(x, y, chest.x, chest.y, 3.9f * k, 4.6f * k); },
        Sheen(Shade(body, 2.2f), body, chest.x - 1 * k, chest.y - 2 * k, 5 * k));
    for (int side = -1; side <= 1; side += 2) {
        Vec2 fang = at(side * 1.3f, -8.3f);
        c.FillColor(
            {fang.x - 2 * k, fang.y - 2 * k, fang.x + 2 * k, fang.y + 2 * k},
            [=](float x, float y) {
                return SdEllipse(x, y, fang.x, fang.y, std::max(0.6f, 1.0f * k),
                                 std::max(0.8f, 1.5f * k));
            },
            Shade(body, 0.8f));
        Vec2 eye = at(side * 1.2f, -6.3f);
        float er = std::max(0.55f, 0.7f * k);
        c.FillColor(
            {eye.x - 2, eye.y - 2, eye.x + 2, eye.y + 2},
            [=](float x, float y) { return SdCircle(x, y, eye.x, eye.y, er); }, Rgb(230, 240, 255));
    }
}

void DrawSpiderFrame(Canvas& c, int frame) {
    if (frame < 5) {
        // Five evenly spaced steps of one full gait cycle, so the loop 0..4 is seamless.
        DrawSpiderFigure(c, 16, 16.5f, 23.0f, frame * 2.0f * kPi / 5.0f, kSpiderBody, kSpiderMark);
    } else if (frame == 5) {
        DrawLegBit(c);
    } else if (frame == 6) {
        DrawBodyBit(c);
    } else {
        DrawGooBit(c);
    }
}

void DrawParticleFrame(Canvas& c, int frame) {
    const Rgba white = Rgb(255, 255, 255);
    const Rgba colours[6] = {Rgb(255, 80, 60),  Rgb(255, 160, 40), Rgb(255, 235, 80),
                             Rgb(110, 230, 90), Rgb(80, 160, 255), Rgb(190, 110, 255)};
    const Box all{0, 0, 8, 8};
    switch (frame) {
        case 0:  // soft glow
            c.Fill(
                all, [](float x, float y) { return SdCircle(x, y, 4, 4, 1.5f); },
                [](float x, float y) {
                    return WithAlpha(Rgb(255, 255, 255), 1.0f - std::hypot(x - 4, y - 4) / 4.5f);
                },
                1.8f);
            break;
        case 1:  // small dot
            c.FillColor(
                all, [](float x, float y) { return SdCircle(x, y, 4, 4, 2); }, white);
            break;
        case 2:  // spark cross
            c.FillColor(
                all,
                [](float x, float y) {
                    return SdUnion(SdRect(x, y, 3.5f, 0.5f, 1, 7), SdRect(x, y, 0.5f, 3.5f, 7, 1));
                },
                white);
            break;
        case 3: {  // star
            Vec2 star[10];
            for (int i = 0; i < 10; ++i) star[i] = Along(4, 4.3f, i * 36.0f, i % 2 ? 1.5f : 3.8f);
            c.FillColor(
                all, [&](float x, float y) { return SdPolygon(x, y, star, 10); },
                Rgb(255, 240, 140));
            break;
        }
        case 4:  // ring
            c.FillColor(
                all, [](float x, float y) { return SdRing(x, y, 4, 4, 2.8f, 0.6f); }, white);
            break;
        case 5:  // smoke puff
            c.Fill(
                all,
                [](float x, float y) {
                    return SdUnion(SdCircle(x, y, 3.2f, 4.5f, 2.2f), SdCircle(x, y, 5, 3.5f, 2));
                },
                [](float, float y) {
                    return Mix(Rgb(230, 230, 230, 0.9f), Rgb(150, 150, 160, 0.8f), y / 8);
                });
            break;
        case 12: {  // diamond
            Vec2 d[4] = {{4, 0.5f}, {7.5f, 4}, {4, 7.5f}, {0.5f, 4}};
            c.FillColor(
                all, [&](float x, float y) { return SdPolygon(x, y, d, 4); }, Rgb(140, 230, 255));
            break;
        }
        case 13:  // square chip
            c.FillColor(
                all, [](float x, float y) { return SdRect(x, y, 1.5f, 1.5f, 5, 5, 1); },
                Rgb(240, 200, 140));
            break;
        case 14:  // heart
            c.FillColor(
                all,
                [](float x, float y) {
                    Vec2 tip[3] = {{0.9f, 3.9f}, {7.1f, 3.9f}, {4, 7.4f}};
                    float d =
                        SdUnion(SdCircle(x, y, 2.6f, 2.9f, 1.9f), SdCircle(x, y, 5.4f, 2.9f, 1.9f));
                    return SdUnion(d, SdPolygon(x, y, tip, 3));
                },
                Rgb(255, 90, 120));
            break;
        case 15:  // twinkle
            c.FillColor(
                all,
                [](float x, float y) {
                    Vec2 s[8];
                    for (int i = 0; i < 8; ++i) s[i] = Along(4, 4, i * 45.0f, i % 2 ? 0.9f : 3.9f);
                    return SdPolygon(x, y, s, 8);
                },
                white);
            break;
        default: {  // coloured droplets 6..11
            Rgba col = colours[frame - 6];
            c.Fill(
                all, [](float x, float y) { return SdCircle(x, y, 4, 4, 3); },
                [col](float x, float y) {
                    return Mix(Shade(col, 1.5f), col, std::min(1.0f, std::hypot(x - 3, y - 3) / 3));
                });
            break;
        }
    }
}
