// Pictures through stb_image, after guards that refuse what would make it
// allocate far beyond what the file can honestly hold.
#include "formats/image_decode.h"

#include <stb_image.h>

#include <algorithm>
#include <vector>

#include "formats/png_guard.h"

namespace {

// Larger pictures than this are refused before decoding (no sheet comes near).
constexpr long long kMaxImagePixels = 64ll << 20;
constexpr int kMaxImageSide = 16384;
// Deflate expands at most about 1032:1, so a file in a format without an
// inflate check of its own cannot honestly claim more pixel bytes than this
// many times its own size.
constexpr long long kMaxExpansion = 1100;

long long FileSize(FILE* file) {
    long here = ftell(file);
    if (here < 0 || fseek(file, 0, SEEK_END) != 0) return -1;
    long end = ftell(file);
    fseek(file, here, SEEK_SET);
    return end < 0 ? -1 : end - here;
}

bool IsPng(const std::vector<uint8_t>& bytes) {
    static constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    return bytes.size() >= 8 && std::equal(kSignature, kSignature + 8, bytes.begin());
}

}  // namespace

bool DecodeImage(FILE* file, DecodedImage* out) {
    if (!file) return false;
    long long fileSize = FileSize(file);
    if (fileSize <= 0 || fileSize > kMaxImagePixels * 8) return false;
    std::vector<uint8_t> bytes(static_cast<size_t>(fileSize));
    if (fread(bytes.data(), 1, bytes.size(), file) != bytes.size()) return false;
    int length = static_cast<int>(bytes.size());
    int w = 0, h = 0, c = 0;
    if (!stbi_info_from_memory(bytes.data(), length, &w, &h, &c)) return false;
    long long pixelBytes = static_cast<long long>(w) * h * c;
    if (w <= 0 || h <= 0 || w > kMaxImageSide || h > kMaxImageSide ||
        static_cast<long long>(w) * h > kMaxImagePixels)
        return false;
    if (IsPng(bytes)) {
        // The inflate check bounds what the stream can produce; a ratio to
        // the file size would refuse honest paletted and low-bit pictures,
        // which expand far more than 1100 times when decoded to bytes.
        if (!PngInflatesWithinSize(bytes.data(), bytes.size())) return false;
    } else if (pixelBytes > fileSize * kMaxExpansion + 4096) {
        return false;  // other formats have no such check of their own
    }
    uint8_t* pixels = stbi_load_from_memory(bytes.data(), length, &w, &h, &c, 0);
    if (!pixels) return false;
    out->pixels.reset(pixels);
    out->width = w;
    out->height = h;
    out->components = c;
    return true;
}

bool ReadImageSize(FILE* file, int* width, int* height) {
    int components = 0;
    return file && stbi_info_from_file(file, width, height, &components) != 0;
}
