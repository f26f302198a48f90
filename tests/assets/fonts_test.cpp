// The game font (fonts/editundo, three levels) and the default font (tavo_font.png).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "asset_readers.h"

namespace {

struct Glyph {
    std::vector<bool> mask;
    int x0 = 1 << 20, y0 = 1 << 20, x1 = -1, y1 = -1;  // ink bounds, inclusive
};

// Cell k of the 16-wide font sheet holds character k + 32.
Glyph ReadGlyph(const RgbaImage& img, int code, int cell) {
    Glyph g;
    int k = code - 32, cx = k % 16 * cell, cy = k / 16 * cell;
    for (int y = 0; y < cell; ++y) {
        for (int x = 0; x < cell; ++x) {
            bool ink = img.Alpha(cx + x, cy + y) > 0;
            g.mask.push_back(ink);
            if (!ink) continue;
            g.x0 = std::min(g.x0, x);
            g.y0 = std::min(g.y0, y);
            g.x1 = std::max(g.x1, x);
            g.y1 = std::max(g.y1, y);
        }
    }
    return g;
}

std::string Alphanumerics() {
    std::string s;
    for (char c = 'A'; c <= 'Z'; ++c) s += c;
    for (char c = 'a'; c <= 'z'; ++c) s += c;
    for (char c = '0'; c <= '9'; ++c) s += c;
    return s;
}

}  // namespace

TEST(GameFont, LettersAndDigitsAreDistinctAndInsideTheirCells) {
    const char* files[] = {"fonts/editundo.png", "fonts/editundo-hd.png", "fonts/editundo-hd2.png"};
    const int levels[] = {1, 2, 4};
    for (int i = 0; i < 3; ++i) {
        RgbaImage img = LoadPng(DataPath(files[i]));
        ASSERT_TRUE(img.Ok()) << files[i];
        int cell = 16 * levels[i];
        ASSERT_EQ(img.width, cell * 16);
        ASSERT_GE(img.height, cell * 8);
        std::string chars = Alphanumerics();
        std::vector<Glyph> glyphs;
        for (char c : chars) {
            Glyph g = ReadGlyph(img, c, cell);
            ASSERT_GE(g.x1, 0) << "no ink for " << c;
            // A clear margin all round: glyphs drawn 7 units apart never touch the cell edge.
            EXPECT_GT(g.x0, 0) << c;
            EXPECT_GT(g.y0, 0) << c;
            EXPECT_LT(g.x1, cell - 1) << c;
            EXPECT_LT(g.y1, cell - 1) << c;
            // About 6 units wide, so text advancing by 7 reads well.
            int width = (g.x1 - g.x0 + 1) / levels[i];
            EXPECT_GE(width, 3) << c;
            EXPECT_LE(width, 7) << c;
            glyphs.push_back(std::move(g));
        }
        for (size_t a = 0; a < glyphs.size(); ++a)
            for (size_t b = a + 1; b < glyphs.size(); ++b)
                EXPECT_NE(glyphs[a].mask, glyphs[b].mask) << chars[a] << " and " << chars[b];
    }
}

TEST(GameFont, CapitalsAndDigitsAreCentredOnTheCell) {
    // The game draws each glyph at its cell's centre, so the centre is where the text line runs.
    RgbaImage img = LoadPng(DataPath("fonts/editundo-hd.png"));
    ASSERT_TRUE(img.Ok());
    for (char c : std::string("ABHMOXZ0123456789")) {
        Glyph g = ReadGlyph(img, c, 32);
        float cx = (g.x0 + g.x1 + 1) * 0.5f, cy = (g.y0 + g.y1 + 1) * 0.5f;
        EXPECT_NEAR(cx, 16.0f, 2.0f) << c;
        EXPECT_NEAR(cy, 16.0f, 2.0f) << c;
    }
}

TEST(DefaultFont, OneRowOfNinetySixBorderedCells) {
    RgbaImage img = LoadPng(DataPath("tavo_font.png"));
    ASSERT_TRUE(img.Ok());
    ASSERT_EQ(img.width % 96, 0);
    int cell = img.width / 96;
    ASSERT_GE(cell, 5);
    for (int k = 0; k < 96; ++k) {
        int ink = 0;
        for (int y = 0; y < img.height; ++y) {
            EXPECT_EQ(img.Alpha(k * cell, y), 0) << "left border of cell " << k;
            EXPECT_EQ(img.Alpha(k * cell + cell - 1, y), 0) << "right border of cell " << k;
            for (int x = 1; x < cell - 1; ++x) ink += img.Alpha(k * cell + x, y) > 0;
        }
        if (k > 0)
            EXPECT_GT(ink, 0) << "character " << k + 32;
        else
            EXPECT_EQ(ink, 0) << "space";
    }
}
