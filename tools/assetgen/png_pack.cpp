#include "png_pack.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <unordered_map>

namespace {

constexpr int kMaxSide = 1 << 15;

enum ColourType : uint8_t { kGrey = 0, kRgb = 2, kPalette = 3, kGreyAlpha = 4, kRgbaType = 6 };

// How the pixels are laid out in the file's rows.
struct Layout {
    uint8_t type = kRgbaType;
    uint8_t depth = 8;              // bits per sample
    std::vector<uint32_t> palette;  // RGBA as 0xRRGGBBAA, the translucent entries first
    std::unordered_map<uint32_t, uint8_t> index;
    int Channels() const {
        return type == kRgb ? 3 : type == kGreyAlpha ? 2 : type == kRgbaType ? 4 : 1;
    }
    size_t RowBytes(int width) const { return (size_t(width) * Channels() * depth + 7) / 8; }
    // The distance filters look back: one whole pixel, at least a byte.
    int FilterStride() const { return std::max(1, Channels() * depth / 8); }
};

uint32_t PixelAt(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

struct Survey {
    bool opaque = true;
    bool grey = true;
    std::unordered_map<uint32_t, uint32_t> counts;  // empty once past 256 colours
};

Survey SurveyPixels(const uint8_t* rgba, size_t pixels) {
    Survey s;
    bool fewColours = true;
    for (size_t i = 0; i < pixels; i++) {
        const uint8_t* p = rgba + 4 * i;
        s.opaque = s.opaque && p[3] == 255;
        s.grey = s.grey && p[0] == p[1] && p[1] == p[2];
        if (fewColours) {
            s.counts[PixelAt(p)]++;
            if (s.counts.size() > 256) fewColours = false;
        }
    }
    if (!fewColours) s.counts.clear();
    return s;
}

// Translucent entries first so the transparency chunk stays short, then the
// most used colours; ties by value so the file never depends on hash order.
Layout PaletteLayout(const Survey& s) {
    Layout l;
    l.type = kPalette;
    std::vector<std::pair<uint32_t, uint32_t>> entries(s.counts.begin(), s.counts.end());
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        bool aSolid = (a.first & 0xFF) == 0xFF, bSolid = (b.first & 0xFF) == 0xFF;
        if (aSolid != bSolid) return bSolid;
        if (a.second != b.second) return a.second > b.second;
        return a.first < b.first;
    });
    for (const auto& [colour, count] : entries) {
        l.index[colour] = uint8_t(l.palette.size());
        l.palette.push_back(colour);
    }
    size_t n = l.palette.size();
    l.depth = n <= 2 ? 1 : n <= 4 ? 2 : n <= 16 ? 4 : 8;
    return l;
}

// One row of pixels in the layout's samples, unfiltered.
void PackRow(const Layout& l, const uint8_t* rgba, int width, uint8_t* out) {
    if (l.type == kPalette) {
        std::fill(out, out + l.RowBytes(width), 0);
        const int perByte = 8 / l.depth;
        for (int x = 0; x < width; x++) {
            int shift = 8 - l.depth * (x % perByte + 1);
            out[x / perByte] |= uint8_t(l.index.at(PixelAt(rgba + 4 * x)) << shift);
        }
        return;
    }
    static constexpr std::array<std::array<int, 4>, 7> kSamples = {
        {{0}, {}, {0, 1, 2}, {}, {0, 3}, {}, {0, 1, 2, 3}}};
    const int channels = l.Channels();
    for (int x = 0; x < width; x++)
        for (int c = 0; c < channels; c++) *out++ = rgba[4 * x + kSamples[l.type][c]];
}

int Paeth(int a, int b, int c) {
    int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) return a;
    return pb <= pc ? b : c;
}

// Row `row` under filter `f`, given the row above (zeros for the first).
void FilterRow(int f, const uint8_t* row, const uint8_t* above, size_t bytes, int stride,
               uint8_t* out) {
    for (size_t i = 0; i < bytes; i++) {
        int a = i >= size_t(stride) ? row[i - stride] : 0;
        int c = i >= size_t(stride) ? above[i - stride] : 0;
        int b = above[i], predicted = 0;
        switch (f) {
            case 1:
                predicted = a;
                break;
            case 2:
                predicted = b;
                break;
            case 3:
                predicted = (a + b) / 2;
                break;
            case 4:
                predicted = Paeth(a, b, c);
                break;
            default:
                break;
        }
        out[i] = uint8_t(row[i] - predicted);
    }
}

// How far a filtered row is from all zeros: the usual guess at which filter
// deflates best, read as signed bytes.
size_t Cost(const uint8_t* bytes, size_t n) {
    size_t sum = 0;
    for (size_t i = 0; i < n; i++) sum += size_t(std::abs(int(int8_t(bytes[i]))));
    return sum;
}

// The filtered stream: each row's filter byte and bytes. Adaptive picks the
// cheapest filter per row; otherwise every row goes unfiltered (which suits
// palette indices best more often than not).
std::vector<uint8_t> FilterAll(const Layout& l, const uint8_t* rgba, int width, int height,
                               bool adaptive) {
    const size_t rowBytes = l.RowBytes(width);
    const int stride = l.FilterStride();
    std::vector<uint8_t> out;
    out.reserve((rowBytes + 1) * height);
    std::vector<uint8_t> above(rowBytes, 0), row(rowBytes), trial(rowBytes), best(rowBytes);
    for (int y = 0; y < height; y++) {
        PackRow(l, rgba + size_t(y) * width * 4, width, row.data());
        int chosen = 0;
        best = row;
        if (adaptive) {
            size_t bestCost = Cost(row.data(), rowBytes);
            for (int f = 1; f <= 4; f++) {
                FilterRow(f, row.data(), above.data(), rowBytes, stride, trial.data());
                size_t cost = Cost(trial.data(), rowBytes);
                if (cost < bestCost) {
                    bestCost = cost;
                    chosen = f;
                    best.swap(trial);
                }
            }
        }
        out.push_back(uint8_t(chosen));
        out.insert(out.end(), best.begin(), best.end());
        above.swap(row);
    }
    return out;
}

std::vector<uint8_t> Deflate(const std::vector<uint8_t>& data, int level) {
    z_stream z{};
    if (deflateInit2(&z, level, Z_DEFLATED, 15, 9, Z_DEFAULT_STRATEGY) != Z_OK) return {};
    std::vector<uint8_t> out(deflateBound(&z, uLong(data.size())));
    z.next_in = const_cast<Bytef*>(data.data());
    z.avail_in = uInt(data.size());
    z.next_out = out.data();
    z.avail_out = uInt(out.size());
    int result = deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return result == Z_STREAM_END ? out : std::vector<uint8_t>{};
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(v >> shift));
}

void PutChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& body) {
    Put32(out, uint32_t(body.size()));
    size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), body.begin(), body.end());
    Put32(out, uint32_t(crc32(0, out.data() + start, uInt(out.size() - start))));
}

std::vector<uint8_t> WriteFile(const Layout& l, int width, int height,
                               const std::vector<uint8_t>& compressed) {
    static constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> out(kSignature, kSignature + 8);
    std::vector<uint8_t> header;
    Put32(header, uint32_t(width));
    Put32(header, uint32_t(height));
    header.insert(header.end(), {l.depth, l.type, 0, 0, 0});
    PutChunk(out, "IHDR", header);
    if (l.type == kPalette) {
        std::vector<uint8_t> colours, alphas;
        for (uint32_t c : l.palette) {
            colours.insert(colours.end(), {uint8_t(c >> 24), uint8_t(c >> 16), uint8_t(c >> 8)});
            if ((c & 0xFF) != 0xFF) alphas.push_back(uint8_t(c));
        }
        PutChunk(out, "PLTE", colours);
        if (!alphas.empty()) PutChunk(out, "tRNS", alphas);
    }
    PutChunk(out, "IDAT", compressed);
    PutChunk(out, "IEND", {});
    return out;
}

struct Trial {
    const Layout* layout;
    bool adaptive;
};

std::vector<Layout> Layouts(const Survey& s, PngColours colours) {
    std::vector<Layout> layouts;
    Layout plain;
    plain.type = s.opaque ? kRgb : kRgbaType;
    if (colours == PngColours::Rgba) {
        plain.type = kRgbaType;
        return {plain};
    }
    if (s.grey) plain.type = s.opaque ? kGrey : kGreyAlpha;
    layouts.push_back(plain);
    if (!s.counts.empty()) layouts.push_back(PaletteLayout(s));
    return layouts;
}

}  // namespace

std::vector<uint8_t> PackPng(const uint8_t* rgba, int width, int height, PngColours colours,
                             PngEffort effort) {
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return {};
    Survey survey = SurveyPixels(rgba, size_t(width) * height);
    std::vector<Layout> layouts = Layouts(survey, colours);
    std::vector<Trial> trials;
    for (const Layout& l : layouts) {
        // Palette indices are no gradient: unfiltered rows often deflate best.
        if (l.type == kPalette) trials.push_back({&l, false});
        trials.push_back({&l, true});
    }
    const int level = effort == PngEffort::Best ? 9 : 6;
    // Whole files compared: a palette's own chunks count against it.
    std::vector<uint8_t> best;
    for (const Trial& t : trials) {
        std::vector<uint8_t> filtered = FilterAll(*t.layout, rgba, width, height, t.adaptive);
        std::vector<uint8_t> compressed = Deflate(filtered, level);
        if (compressed.empty()) continue;
        std::vector<uint8_t> file = WriteFile(*t.layout, width, height, compressed);
        if (best.empty() || file.size() < best.size()) best.swap(file);
    }
    return best;
}
