// The application icon at every size of the hicolor theme, and as the icon
// file a Windows program carries.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

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

namespace {

void Put16(std::vector<uint8_t>& out, unsigned value) {
    out.push_back(uint8_t(value));
    out.push_back(uint8_t(value >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

}  // namespace

bool WriteWindowsIcon(const std::string& path) {
    const int sizes[] = {16, 24, 32, 48, 64, 128, 256};
    std::vector<std::vector<uint8_t>> images;
    for (int size : sizes) {
        Canvas canvas(size, size, 1);
        canvas.SetFrame(0, 0, float(size), float(size));
        DrawAppIcon(canvas, size);
        images.push_back(canvas.PngBytes());
        if (images.back().empty()) return false;
    }
    // The icon file: a header, one directory entry per size, then each image
    // as a PNG (which Windows reads at every size since Vista).
    std::vector<uint8_t> file;
    Put16(file, 0);
    Put16(file, 1);  // an icon, not a cursor
    Put16(file, unsigned(images.size()));
    uint32_t offset = uint32_t(6 + 16 * images.size());
    for (size_t i = 0; i < images.size(); i++) {
        file.push_back(uint8_t(sizes[i] & 0xFF));  // 256 is written as 0
        file.push_back(uint8_t(sizes[i] & 0xFF));
        file.push_back(0);  // no palette
        file.push_back(0);
        Put16(file, 1);   // colour planes
        Put16(file, 32);  // bits per pixel
        Put32(file, uint32_t(images[i].size()));
        Put32(file, offset);
        offset += uint32_t(images[i].size());
    }
    for (const std::vector<uint8_t>& image : images)
        file.insert(file.end(), image.begin(), image.end());
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
    return bool(out.flush());
}
