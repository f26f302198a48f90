// The generator's PNG packer: whatever colour type it picks, the file decodes
// to exactly the pixels it was given; and the data folder holds exactly what
// the generator draws.
#include "png_pack.h"

#include <gtest/gtest.h>
#include <stb_image.h>

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "asset_readers.h"
#include "sheets.h"

namespace {

struct Picture {
    int width, height;
    std::vector<uint8_t> rgba;
    uint8_t* At(int x, int y) { return &rgba[(size_t(y) * width + x) * 4]; }
};

// A picture whose pixel (x, y) is colour(x, y) as {r, g, b, a}.
template <class Colour>
Picture Make(int width, int height, Colour colour) {
    Picture p{width, height, std::vector<uint8_t>(size_t(width) * height * 4)};
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            std::array<int, 4> c = colour(x, y);
            for (int k = 0; k < 4; k++) p.At(x, y)[k] = uint8_t(c[k]);
        }
    return p;
}

// A scrambled but repeatable value for (x, y, k), 0..255.
int Noise(int x, int y, int k) {
    uint32_t v = uint32_t(x) * 73856093u ^ uint32_t(y) * 19349663u ^ uint32_t(k) * 83492791u;
    v ^= v >> 13;
    v *= 0x5bd1e995u;
    return int(v >> 24);
}

struct Decoded {
    int width = 0, height = 0, channels = 0;
    std::vector<uint8_t> rgba;
};

Decoded Decode(const std::vector<uint8_t>& png) {
    Decoded d;
    stbi_uc* pixels =
        stbi_load_from_memory(png.data(), int(png.size()), &d.width, &d.height, &d.channels, 4);
    if (!pixels) return {};
    d.rgba.assign(pixels, pixels + size_t(d.width) * d.height * 4);
    stbi_image_free(pixels);
    return d;
}

// The colour type and bit depth the file's header names.
std::pair<int, int> TypeAndDepth(const std::vector<uint8_t>& png) {
    if (png.size() < 29) return {-1, -1};
    return {png[25], png[24]};
}

struct Case {
    const char* name;
    Picture picture;
    int type, depth;  // what the packer should choose; -1 where two are about as small
};

std::vector<Case> Cases() {
    auto opaque = [](int x, int y) {
        return std::array<int, 4>{Noise(x, y, 0), Noise(x, y, 1), x * 7 % 256, 255};
    };
    auto translucent = [](int x, int y) {
        int a = Noise(x, y, 3);
        // Invisible pixels carry no colour, as the canvas writes them.
        return a == 0 ? std::array<int, 4>{0, 0, 0, 0}
                      : std::array<int, 4>{Noise(x, y, 0), y * 5 % 256, Noise(x, y, 2), a};
    };
    auto greyAlpha = [](int x, int y) {
        int v = 150 + Noise(x, y, 0) % 106;
        return std::array<int, 4>{v, v, v, Noise(x, y, 1)};
    };
    auto greySolid = [](int x, int y) {
        int v = (x * 3 + y * 11 + Noise(x, y, 0) % 9) % 256;
        return std::array<int, 4>{v, v, v, 255};
    };
    auto twoColours = [](int x, int y) {
        return (x + y) % 3 ? std::array<int, 4>{0, 0, 0, 0}
                           : std::array<int, 4>{255, 255, 255, 255};
    };
    auto twelveColours = [](int x, int y) {
        int i = Noise(x, y, 0) % 12;
        return std::array<int, 4>{i * 20, 255 - i * 20, i * 7, i < 3 ? i * 60 : 255};
    };
    auto manyColours = [](int x, int y) {
        int i = Noise(x, y, 0) % 200;
        return std::array<int, 4>{i, i / 2, 3 * i % 256, 255};
    };
    return {
        {"opaque colours: RGB", Make(37, 21, opaque), 2, 8},
        {"translucent colours: RGBA", Make(29, 18, translucent), 6, 8},
        {"grey with alpha", Make(23, 9, greyAlpha), 4, 8},
        {"opaque grey", Make(61, 5, greySolid), 0, 8},
        {"two colours: deflate packs bytes or bits alike", Make(67, 23, twoColours), -1, -1},
        {"twelve colours, some translucent: four bits", Make(31, 11, twelveColours), 3, 4},
        {"two hundred colours: a byte per pixel", Make(40, 40, manyColours), 3, 8},
        {"a single pixel: a palette would cost more than it saves", Make(1, 1, opaque), 2, 8},
    };
}

}  // namespace

TEST(PngPack, EachColourTypeDecodesToTheSamePixels) {
    for (Case& c : Cases()) {
        SCOPED_TRACE(c.name);
        for (PngEffort effort : {PngEffort::Best, PngEffort::Quick}) {
            std::vector<uint8_t> png = PackPng(c.picture.rgba.data(), c.picture.width,
                                               c.picture.height, PngColours::Smallest, effort);
            if (c.type >= 0) {
                EXPECT_EQ(TypeAndDepth(png), std::make_pair(c.type, c.depth));
            }
            Decoded d = Decode(png);
            ASSERT_EQ(d.width, c.picture.width);
            ASSERT_EQ(d.height, c.picture.height);
            EXPECT_TRUE(d.rgba == c.picture.rgba);
        }
    }
}

TEST(PngPack, IconFilesStayRgbaAndExact) {
    for (Case& c : Cases()) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> png =
            PackPng(c.picture.rgba.data(), c.picture.width, c.picture.height, PngColours::Rgba);
        EXPECT_EQ(TypeAndDepth(png), std::make_pair(6, 8));
        Decoded d = Decode(png);
        EXPECT_EQ(d.channels, 4);
        EXPECT_TRUE(d.rgba == c.picture.rgba);
    }
}

TEST(PngPack, SheetsInTheDataFolderHoldExactlyWhatWasDrawn) {
    // Levels 1 and 2 of every sheet; level 4 draws the same code at more pixels.
    for (const SheetInfo& sheet : SheetTable()) {
        for (int level : {1, 2}) {
            std::string name = std::string(sheet.name) + LevelSuffix(level) + ".png";
            SCOPED_TRACE(name);
            RgbaImage file = LoadPng(DataPath(name));
            Canvas drawn = DrawSheet(sheet, level);
            ASSERT_EQ(file.width, drawn.PixelWidth());
            ASSERT_EQ(file.height, drawn.PixelHeight());
            EXPECT_TRUE(file.pixels == drawn.Rgba8());
        }
    }
}
