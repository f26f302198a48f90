// Small data folders made on the spot, for loader tests that need exact files.
#pragma once

#include <stb_image_write.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

// A grey PNG of w x h pixels at dir/name (folders made as needed).
inline bool WriteGreyPng(const std::string& dir, const std::string& name, int w, int h) {
    std::filesystem::path path = std::filesystem::path(dir) / name;
    std::filesystem::create_directories(path.parent_path());
    std::vector<uint8_t> pixels(static_cast<size_t>(w) * h, 128);
    return stbi_write_png(path.string().c_str(), w, h, 1, pixels.data(), w) != 0;
}

// A short 8-bit mono WAV at dir/name.
inline void WriteWav(const std::string& dir, const std::string& name) {
    std::filesystem::path path = std::filesystem::path(dir) / name;
    std::filesystem::create_directories(path.parent_path());
    const uint32_t rate = 8000, samples = 800;
    auto u32 = [](std::ofstream& o, uint32_t v) { o.write(reinterpret_cast<char*>(&v), 4); };
    auto u16 = [](std::ofstream& o, uint16_t v) { o.write(reinterpret_cast<char*>(&v), 2); };
    std::ofstream out(path, std::ios::binary);
    out.write("RIFF", 4);
    u32(out, 36 + samples);
    out.write("WAVEfmt ", 8);
    u32(out, 16);
    u16(out, 1);  // PCM
    u16(out, 1);  // mono
    u32(out, rate);
    u32(out, rate);
    u16(out, 1);
    u16(out, 8);
    out.write("data", 4);
    u32(out, samples);
    for (uint32_t i = 0; i < samples; i++) out.put(static_cast<char>(128 + (i % 16) * 4));
}

// Links (or copies) every file of the build's data folder into dir, except names for which skip is
// true.
template <typename Skip>
void LinkDataExcept(const std::string& dir, Skip skip) {
    namespace fs = std::filesystem;
    fs::path source(BW_DATA_DIR);
    for (const fs::directory_entry& e : fs::recursive_directory_iterator(source)) {
        if (!e.is_regular_file()) continue;
        fs::path relative = fs::relative(e.path(), source);
        if (skip(relative.generic_string())) continue;
        fs::create_directories((fs::path(dir) / relative).parent_path());
        // Where no symbolic link can be made (Windows, mostly), a copy does.
        std::error_code linked;
        fs::create_symlink(e.path(), fs::path(dir) / relative, linked);
        if (linked) fs::copy_file(e.path(), fs::path(dir) / relative);
    }
}
