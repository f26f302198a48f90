// The game's own 5 x 7 pixel font (with two descender rows), used for both font sheets
// and for every word drawn into the pictures.
#pragma once

#include <string_view>

#include "canvas.h"

constexpr int kGlyphWidth = 5;
constexpr int kGlyphRows = 9;  // 7 above the baseline, 2 descender rows
constexpr int kGlyphBaseline = 7;

// True when font pixel (col, row) of character `code` is set; codes outside 32..127 are empty.
bool GlyphPixel(int code, int col, int row);

// Columns actually inked by a glyph (first and last), or false for a blank glyph.
bool GlyphInkColumns(int code, int& first, int& last);

// Width of `text` in font pixels when set proportionally (ink width plus `gap` per letter).
int ProportionalWidth(std::string_view text, int gap);

// Draws `text` with its top-left font pixel at (x, y) units, each font pixel `scale` units;
// a fixed advance of 6 font pixels per character.
void DrawText(Canvas& canvas, float x, float y, std::string_view text, float scale, Rgba colour);

// Draws `text` centred on (cx, cy) with a one-pixel outline or shadow in `shadow` colour.
void DrawLabel(Canvas& canvas, float cx, float cy, std::string_view text, float scale, Rgba colour,
               Rgba outline);
