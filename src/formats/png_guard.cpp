#include "formats/png_guard.h"

#include <stb_image.h>

#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace {

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// Slack past the exact size: the decoder itself judges a stream's length.
constexpr size_t kSlack = 4096;

uint32_t BigEndian32(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

// Bytes of one filtered row: the filter byte and the packed pixels.
size_t RowBytes(size_t width, int bitsPerPixel) {
    return 1 + (width * bitsPerPixel + 7) / 8;
}

// The inflated size of the pixel data, Adam7's seven passes included.
size_t RawSize(uint32_t width, uint32_t height, int bitsPerPixel, bool interlaced) {
    if (!interlaced) return height * RowBytes(width, bitsPerPixel);
    static const int kPass[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                    {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
    size_t total = 0;
    for (const auto& p : kPass) {
        size_t w = width > uint32_t(p[0]) ? (width - p[0] + p[2] - 1) / p[2] : 0;
        size_t h = height > uint32_t(p[1]) ? (height - p[1] + p[3] - 1) / p[3] : 0;
        if (w && h) total += h * RowBytes(w, bitsPerPixel);
    }
    return total;
}

int Channels(int colourType) {
    switch (colourType) {
        case 0:
            return 1;
        case 2:
            return 3;
        case 3:
            return 1;
        case 4:
            return 2;
        case 6:
            return 4;
        default:
            return 0;
    }
}

}  // namespace

bool PngInflatesWithinSize(const uint8_t* bytes, size_t size) {
    if (size < 8 || memcmp(bytes, kSignature, 8) != 0) return true;
    size_t expected = 0;
    bool headerless = false;  // Apple's variant stores raw deflate
    std::vector<uint8_t> data;
    // The decoder reads every chunk header it reaches, even one in the last
    // few bytes, and reserves the length it claims: so must this walk.
    for (size_t at = 8; at + 8 <= size;) {
        uint32_t length = BigEndian32(bytes + at);
        const uint8_t* type = bytes + at + 4;
        const uint8_t* body = bytes + at + 8;
        if (!memcmp(type, "IEND", 4)) break;
        if (length > size - at - 8) return false;  // runs past the file
        if (!memcmp(type, "CgBI", 4)) headerless = true;
        if (!memcmp(type, "IHDR", 4)) {
            // The header comes first and once; the decoder refuses anything else.
            if (length < 13 || at != 8) return false;
            uint32_t w = BigEndian32(body), h = BigEndian32(body + 4);
            int bits = Channels(body[9]) * body[8];
            if (bits == 0) return false;
            // Callers bound the sides first; this only keeps the sums honest.
            if (w > (1u << 24) || h > (1u << 24)) return false;
            expected = RawSize(w, h, bits, body[12] != 0);
        } else if (!memcmp(type, "IDAT", 4)) {
            data.insert(data.end(), body, body + length);
        }
        at += 12 + size_t(length);
    }
    // A picture whose pixel data this walk cannot find is damaged: refused
    // here rather than trusting the decoder to read it the same way.
    if (expected == 0 || data.empty()) return false;
    size_t limit = expected + kSlack;
    if (limit > size_t(1) << 31) return false;
    std::unique_ptr<char[]> out(new (std::nothrow) char[limit]);
    if (!out) return false;
    const auto* in = reinterpret_cast<const char*>(data.data());
    int inflated =
        headerless ? stbi_zlib_decode_noheader_buffer(out.get(), int(limit), in, int(data.size()))
                   : stbi_zlib_decode_buffer(out.get(), int(limit), in, int(data.size()));
    return inflated >= 0;
}
