// The large pictures: the title background, the game logo, the studio emblem and the test card.
#include <cmath>
#include <string_view>
#include <vector>

#include "draw_util.h"
#include "noise.h"
#include "pixel_font.h"
#include "sheets.h"

namespace {

struct WoodTone {
    Rgba light, dark;
    uint32_t seed;
};

// Floorboards seen from above: planks 32 units high with staggered joints, grain, knots and a
// gentle vignette. Everything is a function of position, so every level shows the same boards.
Rgba WoodAt(float x, float y, const WoodTone& tone) {
    int plank = int(std::floor(y / 32));
    float v = y - plank * 32.0f;
    float joint = 40.0f + Hash2(plank, 7, tone.seed) * 176.0f;
    int board = plank * 2 + (x > joint ? 1 : 0);
    float shade = 0.82f + 0.3f * Hash2(board, 3, tone.seed);
    // Grain: stripes along the plank, bent by slow noise, plus fine fibres.
    float bendNoise = FractalNoise(x * 0.012f, v * 0.03f + board * 5.3f, tone.seed + 11, 3);
    float w = v * 0.42f + bendNoise * 9.0f + board * 1.7f;
    float kx = 30 + Hash2(board, 1, tone.seed) * 200, ky = 6 + Hash2(board, 2, tone.seed) * 20;
    float kd = std::hypot((x - kx) * 0.5f, y - plank * 32.0f - ky);
    bool hasKnot = Hash2(board, 9, tone.seed) < 0.45f;
    if (hasKnot) w += 5.0f * std::exp(-kd * kd / 30.0f);
    float grain = 0.5f + 0.5f * std::sin(w * 2.2f);
    grain = grain * grain;
    float fibre = ValueNoise(x * 0.35f, v * 3.0f + board * 17.0f, tone.seed + 5);
    float t = std::clamp(0.25f + 0.45f * grain + 0.3f * fibre, 0.0f, 1.0f);
    Rgba c = Mix(tone.light, tone.dark, t);
    c = Shade(c, shade);
    if (hasKnot && kd < 2.2f) c = Shade(tone.dark, 0.7f);
    // Gaps between boards, with a lit upper edge and a shaded lower edge.
    if (v < 1.0f || std::abs(x - joint) < 0.6f)
        c = Shade(tone.dark, 0.35f);
    else if (v < 2.0f)
        c = Shade(c, 1.15f);
    else if (v > 30.0f)
        c = Shade(c, 0.85f);
    float r = std::hypot(x - 128, y - 128) / 181.0f;
    return Shade(c, 1.0f - 0.35f * r * r);
}

// A red and white gingham cloth.
Rgba ClothAt(float x, float y) {
    bool bx = int(std::floor(x / 16)) % 2 == 0, by = int(std::floor(y / 16)) % 2 == 0;
    float red = (bx ? 0.5f : 0.0f) + (by ? 0.5f : 0.0f);
    Rgba c = Mix(Rgb(246, 238, 226), Rgb(196, 40, 44), red);
    float weave = 0.93f + 0.07f * ((int(std::floor(x * 2)) + int(std::floor(y * 2))) % 2);
    float r = std::hypot(x - 128, y - 128) / 181.0f;
    return Shade(c, weave * (1.0f - 0.3f * r * r));
}

// A toothpick lying on the table, with its shadow.
void DrawLyingToothpick(Canvas& c, float x, float y, float heading, float length) {
    Vec2 a = Along(x, y, heading, -length * 0.5f), b = Along(x, y, heading, length * 0.5f);
    Box box{std::min(a.x, b.x) - 4, std::min(a.y, b.y) - 4, std::max(a.x, b.x) + 5,
            std::max(a.y, b.y) + 5};
    c.FillColor(
        box,
        [=](float px, float py) {
            return SdToothpick(px - 1.6f, py - 2.0f, a.x, a.y, b.x, b.y, 1.3f, 0.15f);
        },
        Rgb(20, 8, 0, 0.45f), 1.2f);
    c.Fill(
        box,
        [=](float px, float py) { return SdToothpick(px, py, a.x, a.y, b.x, b.y, 1.3f, 0.15f); },
        [=](float px, float py) {
            // Lit along one side: the stick looks round.
            float nx = b.y - a.y, ny = a.x - b.x, len = std::hypot(nx, ny);
            float side = ((px - a.x) * nx + (py - a.y) * ny) / len;
            return Mix(Rgb(252, 232, 190), Rgb(204, 160, 104),
                       std::clamp(0.5f + side * 0.4f, 0.0f, 1.0f));
        });
}

// Crumbs scattered over the table.
void DrawCrumbs(Canvas& c, uint32_t seed, int count) {
    Rng rng(seed);
    for (int i = 0; i < count; ++i) {
        float x = rng.Range(24, 232), y = rng.Range(40, 210), r = rng.Range(0.6f, 1.3f);
        Rgba col = Mix(Rgb(236, 206, 150), Rgb(170, 120, 70), rng.Float());
        c.FillColor(
            {x - 3, y - 3, x + 3, y + 3},
            [=](float px, float py) { return SdCircle(px, py, x, y, r); }, col);
    }
}

}  // namespace

void DrawMenuFrame(Canvas& c, int frame) {
    const Box all{0, 0, 256, 256};
    auto everywhere = [](float, float) { return -100.0f; };
    const WoodTone tones[3] = {{Rgb(176, 112, 62), Rgb(110, 62, 30), 17},
                               {Rgb(120, 74, 44), Rgb(62, 34, 20), 29},
                               {Rgb(226, 180, 120), Rgb(170, 118, 66), 41}};
    if (frame == 3) {
        c.Fill(all, everywhere, [](float x, float y) { return ClothAt(x, y); });
        DrawCrumbs(c, 5, 24);
        return;
    }
    const WoodTone& tone = tones[frame];
    c.Fill(all, everywhere, [&tone](float x, float y) { return WoodAt(x, y, tone); });
    DrawCrumbs(c, 11 + frame, 18);
    if (frame == 1) return;
    // Toothpicks lie where the title screen leaves the table visible (around the buttons).
    struct Pick {
        float x, y, heading;
    };
    const Pick picks[7] = {{52, 178, 64}, {70, 188, 112}, {200, 176, 20}, {222, 70, 150},
                           {36, 92, 170}, {170, 200, 80}, {112, 58, 100}};
    for (int i = 0; i < 7; ++i) DrawLyingToothpick(c, picks[i].x, picks[i].y, picks[i].heading, 24);
}

namespace {

// The title letters as a grid of font pixels, for a fast rounded-square distance field.
class LetterField {
  public:
    LetterField(std::string_view text, float left, float top, float scale)
        : left_(left), top_(top), scale_(scale) {
        cols_ = ProportionalWidth(text, 1);
        cells_.assign(size_t(cols_) * 7, 0);
        int pen = 0;
        for (char ch : text) {
            int first, last;
            GlyphInkColumns((unsigned char)ch, first, last);
            for (int col = first; col <= last; ++col)
                for (int row = 0; row < 7; ++row)
                    if (GlyphPixel((unsigned char)ch, col, row))
                        cells_[row * cols_ + pen + col - first] = 1;
            pen += last - first + 2;
        }
    }
    float Width() const { return cols_ * scale_; }
    // Distance to the union of font pixels, with their outer corners rounded by `round` units.
    // Each pixel's box is pulled in only on sides without an inked neighbour, so joins stay solid.
    float Distance(float x, float y, float round) const {
        int gx = int(std::floor((x - left_) / scale_)), gy = int(std::floor((y - top_) / scale_));
        float best = 1e9f;
        for (int cy = gy - 2; cy <= gy + 2; ++cy) {
            for (int cx = gx - 2; cx <= gx + 2; ++cx) {
                if (!Inked(cx, cy)) continue;
                float x0 = left_ + cx * scale_ + (Inked(cx - 1, cy) ? 0 : round);
                float x1 = left_ + (cx + 1) * scale_ - (Inked(cx + 1, cy) ? 0 : round);
                float y0 = top_ + cy * scale_ + (Inked(cx, cy - 1) ? 0 : round);
                float y1 = top_ + (cy + 1) * scale_ - (Inked(cx, cy + 1) ? 0 : round);
                best = std::min(best, SdRect(x, y, x0, y0, x1 - x0, y1 - y0));
            }
        }
        return best - round;
    }

  private:
    bool Inked(int cx, int cy) const {
        return cx >= 0 && cy >= 0 && cx < cols_ && cy < 7 && cells_[cy * cols_ + cx];
    }
    float left_, top_, scale_;
    int cols_;
    std::vector<uint8_t> cells_;
};

}  // namespace

void DrawLogoFrame(Canvas& c, int) {
    const Box all{0, 0, 256, 128};
    LetterField field("Brindlewick", 0, 0, 4);
    float left = std::round((256 - field.Width()) * 0.5f);
    LetterField letters("Brindlewick", left, 38, 4);
    auto text = [&](float x, float y) { return letters.Distance(x, y, 1.4f); };
    // Shadow, thick dark outline, golden fill with a bright upper lip.
    c.FillColor(
        all, [&](float x, float y) { return text(x - 2, y - 3) - 3.0f; }, Rgb(20, 6, 0, 0.5f),
        1.5f);
    c.FillColor(
        all, [&](float x, float y) { return text(x, y) - 3.0f; }, Rgb(62, 26, 10));
    c.Fill(all, text, VerticalGradient(Rgb(255, 236, 110), Rgb(236, 104, 28), 38, 66));
    c.FillColor(
        all, [&](float x, float y) { return SdSubtract(text(x, y), text(x, y - 1.5f)); },
        Rgb(255, 252, 214));
    // A toothpick underlines the title.
    auto stick = [](float x, float y) { return SdToothpick(x, y, 14, 86, 242, 80, 2.6f, 0.08f); };
    c.FillColor(
        all, [&](float x, float y) { return stick(x - 1.5f, y - 2.5f); }, Rgb(20, 6, 0, 0.45f),
        1.2f);
    FillOutlined(c, all, stick, Rgb(244, 214, 160), Rgb(96, 56, 22), 1.2f);
    c.FillColor(
        all, [](float x, float y) { return SdCapsule(x, y, 30, 84.3f, 226, 79.2f, 0.5f); },
        Rgb(255, 244, 216));
    // A spider lets itself down on a thread over the first letter.
    c.FillColor(
        {26, 0, 30, 16}, [](float x, float y) { return SdRect(x, y, 27.5f, 0, 1, 14); },
        Rgb(240, 240, 240, 0.9f));
    DrawSpiderFigure(c, 28, 22, 17, 1.0f, Rgb(40, 28, 32), Rgb(226, 96, 40));
    DrawLabel(c, 128, 104, "toothpicks vs spiders", 1, Rgb(255, 236, 200), Rgb(62, 26, 10));
}

void DrawStudioLogoFrame(Canvas& c, int) {
    const Box all{0, 0, 256, 256};
    c.FillColor(
        all, [](float x, float y) { return SdCircle(x, y, 129, 131, 120); }, Rgb(0, 0, 0, 0.4f),
        2.0f);
    c.Fill(
        all, [](float x, float y) { return SdCircle(x, y, 128, 128, 120); },
        Sheen(Rgb(255, 228, 120), Rgb(190, 120, 24), 100, 80, 160));
    c.Fill(
        all, [](float x, float y) { return SdCircle(x, y, 128, 128, 110); },
        Sheen(Rgb(48, 70, 130), Rgb(16, 20, 48), 110, 90, 130));
    c.FillColor(
        all, [](float x, float y) { return SdRing(x, y, 128, 128, 102, 1.0f); },
        Rgb(255, 214, 110, 0.7f));
    // Stars around the inner ring.
    for (int i = 0; i < 12; ++i) {
        if (i == 5 || i == 6) continue;  // leave room for the name
        Vec2 p = Along(128, 128, i * 30.0f + 15.0f, 92);
        Vec2 s[10];
        StarPolygon(s, 5, p.x, p.y, 5, 2.2f);
        c.FillColor(
            {p.x - 6, p.y - 6, p.x + 6, p.y + 6},
            [&](float x, float y) { return SdPolygon(x, y, s, 10); }, Rgb(255, 230, 140));
    }
    // The mark: a slanted Z like a bolt of lightning.
    Vec2 z[10] = {{78, 58},   {182, 58}, {182, 80}, {116, 150}, {182, 150},
                  {182, 172}, {74, 172}, {74, 150}, {140, 80},  {78, 80}};
    for (Vec2& v : z) v.x -= (v.y - 115) * 0.22f;
    auto mark = [&](float x, float y) { return SdPolygon(x, y, z, 10); };
    c.FillColor(
        all, [&](float x, float y) { return mark(x, y) - 6.0f; }, Rgb(120, 220, 255, 0.35f), 5.0f);
    c.FillColor(
        all, [&](float x, float y) { return mark(x, y) - 3.0f; }, Rgb(14, 16, 34));
    c.Fill(all, mark, VerticalGradient(Rgb(255, 250, 200), Rgb(250, 150, 30), 58, 172));
    c.FillColor(
        all, [&](float x, float y) { return SdSubtract(mark(x, y), mark(x, y - 2.0f)); },
        Rgb(255, 255, 240));
    DrawLabel(c, 128, 200, "ZEPH", 3, Rgb(255, 236, 160), Rgb(14, 16, 34));
}

namespace {

// The picture inside the test-card circle, by region.
Rgba TestcardAt(float x, float y) {
    const Rgba bars[8] = {Rgb(235, 235, 235), Rgb(235, 235, 16), Rgb(16, 235, 235),
                          Rgb(16, 235, 16),   Rgb(235, 16, 235), Rgb(235, 16, 16),
                          Rgb(16, 16, 235),   Rgb(16, 16, 16)};
    if (y < 22) return Rgb(120, 120, 124);
    if (y < 62) return bars[std::clamp(int(x / 32), 0, 7)];
    if (y < 90) {
        // Gratings of ever finer stripes, from 8 units down to 1.
        const float widths[4] = {8, 4, 2, 1};
        int block = std::clamp(int((x - 16) / 56), 0, 3);
        bool on = int(std::floor(x / widths[block])) % 2 == 0;
        return on ? Rgb(235, 235, 235) : Rgb(16, 16, 16);
    }
    if (y < 92 || (y >= 164 && y < 166)) return Rgb(235, 235, 235);
    if (y < 164) return Rgb(18, 18, 24);
    if (y < 196) {
        int step = std::clamp(int(x / 32), 0, 7);
        int g = 16 + step * 31;
        return Rgb(g, g, g);
    }
    if (y < 198) return Rgb(235, 235, 235);
    if (x < 64) return Rgb(200, 40, 40);
    if (x >= 192) return Rgb(40, 80, 200);
    return Rgb(18, 18, 24);
}

}  // namespace

void DrawTestcardFrame(Canvas& c, int) {
    const Box all{0, 0, 256, 256};
    auto disc = [](float x, float y) { return SdCircle(x, y, 128, 128, 124); };
    c.Fill(all, disc, [](float x, float y) { return TestcardAt(x, y); });
    // The background grid shows only in the grey caps above and below the bands.
    c.FillColor(
        all,
        [&](float x, float y) {
            if (y >= 22) return 1e9f;
            float gx = std::abs(std::fmod(x + 8, 16.0f) - 8),
                  gy = std::abs(std::fmod(y + 8, 16.0f) - 8);
            return SdIntersect(std::min(gx, gy) - 0.5f, disc(x, y));
        },
        Rgb(220, 220, 224));
    // A target on the left of the black band; the credits scroll over its right part.
    c.FillColor(
        all,
        [](float x, float y) {
            float d = SdRing(x, y, 60, 128, 15, 1);
            d = SdUnion(d, SdRect(x, y, 42, 127.5f, 36, 1));
            return SdUnion(d, SdRect(x, y, 59.5f, 110, 1, 36));
        },
        Rgb(235, 235, 235));
    DrawLabel(c, 128, 213, "BRINDLEWICK", 2, Rgb(240, 240, 240), Rgb(18, 18, 24));
    c.FillColor(
        all, [](float x, float y) { return SdRing(x, y, 128, 128, 124, 1.6f); },
        Rgb(240, 240, 240));
    c.FillColor(
        all, [](float x, float y) { return SdRing(x, y, 128, 128, 126.6f, 1.0f); },
        Rgb(30, 30, 34));
}

void DrawAppIcon(Canvas& c, int pixels) {
    // Designed on 256 units like the title background; k maps them to this canvas.
    const float k = pixels / 256.0f;
    const WoodTone tone{Rgb(176, 112, 62), Rgb(110, 62, 30), 17};
    const Box all{0, 0, float(pixels), float(pixels)};
    auto tile = [k](float x, float y) {
        return SdRoundBox(x, y, 128 * k, 128 * k, 122 * k, 122 * k, 44 * k);
    };
    c.FillColor(all, tile, Rgb(62, 26, 10));
    c.Fill(
        all, [&](float x, float y) { return tile(x, y) + std::max(1.0f, 8 * k); },
        [&](float x, float y) { return WoodAt(x / k, y / k, tone); });
    // The toothpick across the board, then the spider on it: the game in one picture.
    Vec2 a{52 * k, 204 * k}, b{204 * k, 52 * k};
    float r = std::max(0.8f, 10 * k);
    c.FillColor(
        all,
        [=](float x, float y) {
            return SdToothpick(x - 4 * k, y - 5 * k, a.x, a.y, b.x, b.y, r, 0.2f);
        },
        Rgb(20, 8, 0, 0.45f), 2 * k);
    c.Fill(
        all, [=](float x, float y) { return SdToothpick(x, y, a.x, a.y, b.x, b.y, r, 0.2f); },
        [=](float x, float y) {
            float side = ((x - a.x) - (y - a.y)) / std::sqrt(2.0f) / r;
            return Mix(Rgb(252, 232, 190), Rgb(204, 160, 104),
                       std::clamp(0.5f + side * 0.5f, 0.0f, 1.0f));
        });
    DrawSpiderFigure(c, 128 * k, 134 * k, 136 * k, 1.0f, Rgb(52, 38, 44), Rgb(226, 96, 40));
}
