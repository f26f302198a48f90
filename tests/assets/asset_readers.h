// Minimal readers for the generated files, independent of the generator's own code.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// An image decoded to 8-bit RGBA.
struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;
    bool Ok() const { return width > 0 && height > 0; }
    const uint8_t* At(int x, int y) const { return &pixels[(size_t(y) * width + x) * 4]; }
    uint8_t Alpha(int x, int y) const { return At(x, y)[3]; }
};

// A decoded PCM WAV file.
struct WavSound {
    bool ok = false;
    int channels = 0;
    int bits = 0;
    int rate = 0;
    std::vector<int16_t> samples;  // only filled for 16-bit files
    double Seconds() const { return rate ? double(samples.size()) / (rate * channels) : 0; }
};

std::string DataPath(const std::string& name);
RgbaImage LoadPng(const std::string& path);
WavSound LoadWav(const std::string& path);
std::vector<uint8_t> ReadBytes(const std::string& path);
