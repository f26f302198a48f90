#include "wav.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>

namespace {

// Appends a little-endian integer of `bytes` bytes.
void Put(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(value >> (8 * i)));
}

void PutTag(std::vector<uint8_t>& out, const char* tag) {
    out.insert(out.end(), tag, tag + 4);
}

}  // namespace

bool WriteWav(const std::string& path, const std::vector<float>& samples, int sampleRate) {
    uint32_t dataBytes = uint32_t(samples.size() * 2);
    std::vector<uint8_t> out;
    out.reserve(44 + dataBytes);
    PutTag(out, "RIFF");
    Put(out, 36 + dataBytes, 4);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    Put(out, 16, 4);  // plain PCM format chunk
    Put(out, 1, 2);   // PCM
    Put(out, 1, 2);   // mono
    Put(out, uint32_t(sampleRate), 4);
    Put(out, uint32_t(sampleRate * 2), 4);  // bytes per second
    Put(out, 2, 2);                         // block align
    Put(out, 16, 2);                        // bits per sample
    PutTag(out, "data");
    Put(out, dataBytes, 4);
    for (float s : samples) {
        long v = std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f);
        Put(out, uint32_t(int16_t(v)) & 0xFFFF, 2);
    }
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(out.data()), std::streamsize(out.size()));
    return bool(file);
}
