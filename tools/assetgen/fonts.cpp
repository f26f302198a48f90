// The game font (16 x 16 cells, one per character from code 32) and the one-row default font.
#include <filesystem>

#include "pixel_font.h"
#include "shapes.h"
#include "sheets.h"

namespace {

const Rgba kInk = Rgb(255, 255, 255);
const Rgba kShadow = Rgb(160, 160, 160);

// Draws one glyph with its top-left font pixel at (x, y): grey shading down-right, white on top.
void DrawGlyph(Canvas& canvas, int code, float x, float y) {
    for (int pass = 0; pass < 2; ++pass) {
        float off = pass == 0 ? 1.0f : 0.0f;
        for (int row = 0; row < kGlyphRows; ++row) {
            for (int col = 0; col < kGlyphWidth; ++col) {
                if (!GlyphPixel(code, col, row)) continue;
                float px = x + col + off, py = y + row + off;
                canvas.FillColor(
                    {px, py, px + 1, py + 1},
                    [=](float u, float v) { return SdRect(u, v, px, py, 1, 1); },
                    pass == 0 ? kShadow : kInk);
            }
        }
    }
}

}  // namespace

bool WriteGameFont(const std::string& dataDir, int level, PngEffort effort) {
    // 128 cells of 16 x 16 units, 16 to a row. The capitals plus their shading span
    // units 5..10 across and 4..11 down, so a glyph's centre is the cell's centre.
    Canvas canvas(256, 128, level);
    for (int k = 0; k < 128; ++k) {
        canvas.SetFrame(float(k % 16 * 16), float(k / 16 * 16), 16, 16);
        DrawGlyph(canvas, k + 32, 5, 4);
    }
    std::filesystem::path path = std::filesystem::path(dataDir) /
                                 (std::string("fonts/editundo") + LevelSuffix(level) + ".png");
    std::filesystem::create_directories(path.parent_path());
    return canvas.WritePng(path.string(), effort);
}

bool WriteDefaultFont(const std::string& dataDir, PngEffort effort) {
    // One row of 96 cells, 10 x 10: a clear column at each side, the glyph in the 8 between.
    Canvas canvas(960, 10, 1);
    for (int k = 0; k < 96; ++k) {
        canvas.SetFrame(float(k * 10), 0, 10, 10);
        DrawGlyph(canvas, k + 32, 2, 0);
    }
    std::filesystem::create_directories(dataDir);
    return canvas.WritePng((std::filesystem::path(dataDir) / "tavo_font.png").string(), effort);
}
