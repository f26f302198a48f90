// The application icon at every size of the hicolor theme.
#include <filesystem>
#include <string>

#include "sheets.h"

bool WriteAppIcons(const std::string& folder) {
    bool ok = true;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        std::string box = std::to_string(size) + "x" + std::to_string(size);
        std::filesystem::path path =
            std::filesystem::path(folder) / box / "apps" / "brindlewick.png";
        std::error_code error;
        std::filesystem::create_directories(path.parent_path(), error);
        // Drawn afresh at each size rather than scaled, so small icons stay crisp.
        Canvas canvas(size, size, 1);
        canvas.SetFrame(0, 0, float(size), float(size));
        DrawAppIcon(canvas, size);
        ok = !error && canvas.WritePng(path.string()) && ok;
    }
    return ok;
}
