// The image sheets of the game: what each one holds and how it is laid out.
#pragma once

#include <string>
#include <vector>

#include "canvas.h"

// Draws one frame into the canvas's current frame cell (0..frameW, 0..frameH units).
using FrameDrawer = void (*)(Canvas& canvas, int frame);

struct SheetInfo {
    const char* name;  // file name without suffix, relative to the data folder
    int frameW;        // frame size in units (pixels at level 1)
    int frameH;
    int frames;
    int columns;  // frames per row; the sheet is exactly columns frames wide
    FrameDrawer draw;
};

// Every image sheet the game loads, in the loader's order.
const std::vector<SheetInfo>& SheetTable();

// Draws a whole sheet at `level` (1, 2 or 4).
Canvas DrawSheet(const SheetInfo& sheet, int level);

// Draws a whole sheet at `level` and writes name.png / name-hd.png / name-hd2.png.
bool WriteSheet(const SheetInfo& sheet, const std::string& dataDir, int level,
                PngEffort effort = PngEffort::Best);

// File suffix of a resolution level: "", "-hd" or "-hd2".
const char* LevelSuffix(int level);

// Frame drawers, one per sheet (sprites.cpp, ui_sheets.cpp, scenes.cpp).
void DrawSpiderFrame(Canvas& canvas, int frame);
void DrawParticleFrame(Canvas& canvas, int frame);
void DrawIconFrame(Canvas& canvas, int frame);
void DrawButtonFrame(Canvas& canvas, int frame);
void DrawDpadFrame(Canvas& canvas, int frame);
void DrawIcadeFrame(Canvas& canvas, int frame);
void DrawBadgeFrame(Canvas& canvas, int frame);
void DrawMenuFrame(Canvas& canvas, int frame);
void DrawLogoFrame(Canvas& canvas, int frame);
void DrawStudioLogoFrame(Canvas& canvas, int frame);
void DrawTestcardFrame(Canvas& canvas, int frame);

// A small spider seen from above, facing up, centred on (cx, cy) with body length `size`
// units; `phase` animates the legs. Shared by the sprite sheet and the pictures.
void DrawSpiderFigure(Canvas& canvas, float cx, float cy, float size, float phase, Rgba body,
                      Rgba mark);

// The application icon, `pixels` square, on a canvas of that many units at level 1.
void DrawAppIcon(Canvas& canvas, int pixels);

// Writes the icon into <folder>/<n>x<n>/apps/brindlewick.png for every size a
// desktop looks for (the hicolor theme's layout).
bool WriteAppIcons(const std::string& folder);

// Writes the icon at the same sizes into one Windows icon file (.ico).
bool WriteWindowsIcon(const std::string& path);

// The font sheets (fonts.cpp): fonts/editundo at `level`, and the one-row default font.
bool WriteGameFont(const std::string& dataDir, int level, PngEffort effort = PngEffort::Best);
bool WriteDefaultFont(const std::string& dataDir, PngEffort effort = PngEffort::Best);
