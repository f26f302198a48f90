#include <filesystem>

#include "sheets.h"

const std::vector<SheetInfo>& SheetTable() {
    static const std::vector<SheetInfo> table = {
        {"common/ZEPHLogo", 256, 256, 1, 1, DrawStudioLogoFrame},
        {"common/icons", 32, 32, 16, 8, DrawIconFrame},
        {"common/Buttons", 64, 64, 16, 4, DrawButtonFrame},
        {"common/dpad", 32, 32, 16, 8, DrawDpadFrame},
        {"common/icade", 64, 64, 2, 2, DrawIcadeFrame},
        {"common/Testcard_Circle", 256, 256, 1, 1, DrawTestcardFrame},
        {"menu", 256, 256, 4, 2, DrawMenuFrame},
        {"logo", 256, 128, 1, 1, DrawLogoFrame},
        {"parts", 8, 8, 16, 8, DrawParticleFrame},
        {"BadgesA", 64, 64, 64, 8, DrawBadgeFrame},
        {"spiders", 32, 32, 8, 8, DrawSpiderFrame},
    };
    return table;
}

const char* LevelSuffix(int level) {
    return level == 4 ? "-hd2" : level == 2 ? "-hd" : "";
}

Canvas DrawSheet(const SheetInfo& sheet, int level) {
    int rows = (sheet.frames + sheet.columns - 1) / sheet.columns;
    Canvas canvas(sheet.frameW * sheet.columns, sheet.frameH * rows, level);
    // Frames go left to right, row by row: the order in which the game's loader cuts cells.
    for (int i = 0; i < sheet.frames; ++i) {
        canvas.SetFrame(float(i % sheet.columns * sheet.frameW),
                        float(i / sheet.columns * sheet.frameH), float(sheet.frameW),
                        float(sheet.frameH));
        sheet.draw(canvas, i);
    }
    return canvas;
}

bool WriteSheet(const SheetInfo& sheet, const std::string& dataDir, int level, PngEffort effort) {
    Canvas canvas = DrawSheet(sheet, level);
    std::filesystem::path path =
        std::filesystem::path(dataDir) / (std::string(sheet.name) + LevelSuffix(level) + ".png");
    std::filesystem::create_directories(path.parent_path());
    return canvas.WritePng(path.string(), effort);
}
