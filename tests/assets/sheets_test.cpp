// Every image sheet in every resolution: names, cell layout, content and scaling.
#include <gtest/gtest.h>

#include <algorithm>

#include "asset_readers.h"

namespace {

struct Sheet {
    const char* name;
    int w, h, frames;
    bool tinted;  // drawn white so the game can colour it
};

// The asset table the game loads (sizes at level 1).
const Sheet kSheets[] = {
    {"common/ZEPHLogo", 256, 256, 1, false},
    {"common/icons", 32, 32, 16, true},
    {"common/Buttons", 64, 64, 16, false},
    {"common/dpad", 32, 32, 16, false},
    {"common/icade", 64, 64, 2, false},
    {"common/Testcard_Circle", 256, 256, 1, false},
    {"menu", 256, 256, 4, false},
    {"logo", 256, 128, 1, false},
    {"parts", 8, 8, 16, false},
    {"BadgesA", 64, 64, 64, false},
    {"spiders", 32, 32, 8, false},
    {"fonts/editundo", 16, 16, 128, true},
};

const int kLevels[] = {1, 2, 4};

std::string FileName(const Sheet& s, int level) {
    return DataPath(std::string(s.name) + (level == 4 ? "-hd2" : level == 2 ? "-hd" : "") + ".png");
}

struct Cell {
    int x, y;
};

// The loader's cell walk: left to right, wrapping to x = 0; false if a cell leaves the sheet.
bool WalkCells(int sheetW, int sheetH, int w, int h, int n, std::vector<Cell>& cells) {
    int ix = 0, iy = 0;
    for (int i = 0; i < n; ++i) {
        if (ix + w > sheetW) {
            ix = 0;
            iy += h;
        }
        if (ix + w > sheetW || iy + h > sheetH) return false;
        cells.push_back({ix, iy});
        ix += w;
    }
    return true;
}

int InkInCell(const RgbaImage& img, Cell c, int w, int h) {
    int ink = 0;
    for (int y = c.y; y < c.y + h; ++y)
        for (int x = c.x; x < c.x + w; ++x) ink += img.Alpha(x, y) > 0;
    return ink;
}

}  // namespace

TEST(Sheets, EveryLevelLoadsWithTheTableCellSizeAndNoEmptyFrame) {
    for (const Sheet& s : kSheets) {
        for (int level : kLevels) {
            SCOPED_TRACE(FileName(s, level));
            RgbaImage img = LoadPng(FileName(s, level));
            ASSERT_TRUE(img.Ok());
            std::vector<Cell> cells;
            ASSERT_TRUE(
                WalkCells(img.width, img.height, s.w * level, s.h * level, s.frames, cells));
            // The font's space and the codes above 127 have no glyph; every other frame has ink.
            bool font = std::string(s.name) == "fonts/editundo";
            for (int i = 0; i < s.frames; ++i) {
                if (font && (i == 0 || i > 95)) continue;
                EXPECT_GT(InkInCell(img, cells[i], s.w * level, s.h * level), 0) << "frame " << i;
            }
        }
    }
}

TEST(Sheets, LevelsAreExactMultiplesOfTheBaseSheet) {
    for (const Sheet& s : kSheets) {
        RgbaImage base = LoadPng(FileName(s, 1));
        ASSERT_TRUE(base.Ok()) << s.name;
        for (int level : {2, 4}) {
            RgbaImage img = LoadPng(FileName(s, level));
            ASSERT_TRUE(img.Ok());
            EXPECT_EQ(img.width, base.width * level) << s.name;
            EXPECT_EQ(img.height, base.height * level) << s.name;
        }
    }
}

TEST(Sheets, TintedSheetsAreWhiteAndLightGreyOnly) {
    for (const Sheet& s : kSheets) {
        if (!s.tinted) continue;
        for (int level : kLevels) {
            RgbaImage img = LoadPng(FileName(s, level));
            ASSERT_TRUE(img.Ok());
            int bad = 0;
            for (int y = 0; y < img.height; ++y) {
                for (int x = 0; x < img.width; ++x) {
                    const uint8_t* p = img.At(x, y);
                    if (p[3] == 0) continue;
                    bad += p[0] != p[1] || p[1] != p[2] || p[0] < 150;
                }
            }
            EXPECT_EQ(bad, 0) << FileName(s, level);
        }
    }
}

TEST(Sheets, FeaturesSurviveDrawingLargerLevelsScaledDown) {
    // The game draws level L at 1/L with nearest sampling: about one texel in L per axis is
    // seen. Every solid pixel of level 1 must still show there, and nothing solid may appear
    // where level 1 is empty; otherwise thin features would vanish or change on screen.
    for (const Sheet& s : kSheets) {
        RgbaImage base = LoadPng(FileName(s, 1));
        ASSERT_TRUE(base.Ok());
        for (int level : {2, 4}) {
            RgbaImage img = LoadPng(FileName(s, level));
            ASSERT_TRUE(img.Ok());
            int solid = 0, lost = 0, added = 0;
            for (int y = 0; y < base.height; ++y) {
                for (int x = 0; x < base.width; ++x) {
                    int a = base.Alpha(x, y);
                    int b = img.Alpha(x * level + level / 2, y * level + level / 2);
                    solid += a >= 200;
                    lost += a >= 200 && b == 0;
                    added += b >= 200 && a == 0;
                }
            }
            ASSERT_GT(solid, 0) << s.name;
            EXPECT_LT(double(lost) / solid, 0.01) << FileName(s, level);
            EXPECT_LT(double(added) / solid, 0.01) << FileName(s, level);
        }
    }
}

TEST(Sheets, SpiderFramesStayInsideTheirCells) {
    // The game rotates spiders about their centre; ink on the cell edge would be cut off.
    for (int level : kLevels) {
        RgbaImage img = LoadPng(FileName(kSheets[10], level));
        ASSERT_TRUE(img.Ok());
        int size = 32 * level;
        for (int f = 0; f < 8; ++f) {
            for (int i = 0; i < size; ++i) {
                int x0 = f * size;
                EXPECT_EQ(img.Alpha(x0 + i, 0), 0);
                EXPECT_EQ(img.Alpha(x0 + i, size - 1), 0);
                EXPECT_EQ(img.Alpha(x0, i), 0);
                EXPECT_EQ(img.Alpha(x0 + size - 1, i), 0);
            }
        }
    }
}

TEST(Sheets, WalkFramesDifferAndDebrisIsSmallerThanASpider) {
    RgbaImage img = LoadPng(FileName(kSheets[10], 1));
    ASSERT_TRUE(img.Ok());
    std::vector<Cell> cells;
    ASSERT_TRUE(WalkCells(img.width, img.height, 32, 32, 8, cells));
    auto same = [&](int a, int b) {
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                if (img.Alpha(cells[a].x + x, y) != img.Alpha(cells[b].x + x, y)) return false;
        return true;
    };
    for (int f = 0; f < 5; ++f) EXPECT_FALSE(same(f, (f + 1) % 5)) << "walk frame " << f;
    int spider = InkInCell(img, cells[0], 32, 32);
    for (int f = 5; f < 8; ++f) EXPECT_LT(InkInCell(img, cells[f], 32, 32), spider) << f;
}
