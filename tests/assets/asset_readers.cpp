#include "asset_readers.h"

#include <stb_image.h>

#include <cstring>
#include <fstream>
#include <iterator>

std::string DataPath(const std::string& name) {
    return std::string(BW_DATA_DIR) + "/" + name;
}

RgbaImage LoadPng(const std::string& path) {
    RgbaImage image;
    int comps = 0;
    stbi_uc* data = stbi_load(path.c_str(), &image.width, &image.height, &comps, 4);
    if (!data) return {};
    image.pixels.assign(data, data + size_t(image.width) * image.height * 4);
    stbi_image_free(data);
    return image;
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

namespace {

uint32_t Le(const uint8_t* p, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | p[i];
    return v;
}

}  // namespace

WavSound LoadWav(const std::string& path) {
    // The same rules as the game's reader: RIFF, WAVE, the format chunk first, plain PCM.
    std::vector<uint8_t> b = ReadBytes(path);
    WavSound sound;
    if (b.size() < 44 || std::memcmp(&b[0], "RIFF", 4) || std::memcmp(&b[8], "WAVE", 4) ||
        std::memcmp(&b[12], "fmt ", 4))
        return sound;
    uint32_t fmtSize = Le(&b[16], 4);
    if (Le(&b[20], 2) != 1) return sound;
    sound.channels = int(Le(&b[22], 2));
    sound.rate = int(Le(&b[24], 4));
    sound.bits = int(Le(&b[34], 2));
    size_t pos = 20 + fmtSize;
    while (pos + 8 <= b.size()) {
        uint32_t size = Le(&b[pos + 4], 4);
        if (std::memcmp(&b[pos], "data", 4) == 0) {
            if (pos + 8 + size > b.size()) return sound;
            if (sound.bits == 16) {
                sound.samples.resize(size / 2);
                for (size_t i = 0; i < sound.samples.size(); ++i)
                    sound.samples[i] = int16_t(Le(&b[pos + 8 + i * 2], 2));
            }
            sound.ok = true;
            return sound;
        }
        pos += 8 + size;
    }
    return sound;
}
