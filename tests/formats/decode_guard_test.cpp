// Damaged pictures and sounds that once made the decoders ask for gigabytes
// or leave memory behind: they are refused, and honest files still load.
#include <gtest/gtest.h>
#include <zlib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "formats/audio_decode.h"
#include "formats/image_decode.h"
#include "formats/png_guard.h"
#include "platform/headless/headless_game.h"
#include "support/test_platform.h"

// The system libstb exports the PNG writer's deflate without declaring it.
extern "C" unsigned char* stbi_zlib_compress(unsigned char* data, int length, int* outLength,
                                             int quality);

namespace {

std::string Corpus(const std::string& name) {
    std::ifstream in(std::string(BW_SOURCE_DIR) + "/fuzz/corpus/" + name, std::ios::binary);
    // A missing sample would be read as no bytes, which every decoder refuses.
    if (!in) ADD_FAILURE() << "no corpus file " << name;
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void Put32(std::string& s, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) s += char(v >> shift & 0xFF);
}

// `raw` deflated as tightly as zlib can (stb's writer stops near 100:1).
std::string TightDeflate(const std::string& raw) {
    uLongf size = compressBound(raw.size());
    std::string out(size, '\0');
    compress2(reinterpret_cast<Bytef*>(out.data()), &size,
              reinterpret_cast<const Bytef*>(raw.data()), raw.size(), 9);
    out.resize(size);
    return out;
}

// A PNG whose IDAT holds `raw` deflated, whatever the header claims; a
// palette of `paletteSize` colours for colour type 3.
std::string Png(uint32_t w, uint32_t h, int depth, int colourType, int interlace,
                const std::string& raw, int paletteSize = 0, bool tight = false) {
    auto chunk = [](const char* type, const std::string& body) {
        std::string c;
        Put32(c, uint32_t(body.size()));
        c += type + body;
        Put32(c, 0);  // the decoder does not check CRCs
        return c;
    };
    std::string header;
    Put32(header, w);
    Put32(header, h);
    header += {char(depth), char(colourType), 0, 0, char(interlace)};
    std::string data;
    if (tight) {
        data = TightDeflate(raw);
    } else {
        int zlen = 0;
        auto* bytes = reinterpret_cast<unsigned char*>(const_cast<char*>(raw.data()));
        unsigned char* z = stbi_zlib_compress(bytes, int(raw.size()), &zlen, 8);
        data.assign(reinterpret_cast<char*>(z), zlen);
        free(z);
    }
    std::string palette;
    for (int i = 0; i < paletteSize; i++) palette += {char(i * 40), char(255 - i), char(i)};
    return "\x89PNG\r\n\x1a\n" + chunk("IHDR", header) +
           (paletteSize ? chunk("PLTE", palette) : "") + chunk("IDAT", data) + chunk("IEND", "");
}

bool Guard(const std::string& bytes) {
    return PngInflatesWithinSize(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

// Filtered rows of `rowBytes` pixel bytes each.
std::string Rows(int rows, int rowBytes) {
    std::string raw;
    for (int r = 0; r < rows; r++) raw += '\0' + std::string(rowBytes, char(r * 7));
    return raw;
}

TEST(PngGuard, HonestPicturesPass) {
    EXPECT_TRUE(Guard(Png(3, 3, 8, 0, 0, Rows(3, 3))));    // grey
    EXPECT_TRUE(Guard(Png(4, 2, 8, 6, 0, Rows(2, 16))));   // RGBA
    EXPECT_TRUE(Guard(Png(9, 2, 1, 3, 0, Rows(2, 2))));    // 1-bit palette: 9 bits → 2 bytes
    EXPECT_TRUE(Guard(Png(2, 2, 16, 2, 0, Rows(2, 12))));  // 16-bit RGB
    // Adam7 at 5x5 grey: passes of 1x1, 1x1, 2x1, 1x2, 3x1, 2x3, 5x2 pixels.
    EXPECT_TRUE(Guard(Png(
        5, 5, 8, 0, 1,
        Rows(1, 1) + Rows(1, 1) + Rows(1, 2) + Rows(2, 1) + Rows(1, 3) + Rows(3, 2) + Rows(2, 5))));
    EXPECT_TRUE(Guard("GIF89a not a png"));  // other formats are not this check's business
}

TEST(PngGuard, DataBeyondTheHeadersSizeIsRefused) {
    // One byte wide, 300 rows: 600 bytes, but the stream inflates to a megabyte.
    EXPECT_FALSE(Guard(Png(1, 300, 8, 0, 0, std::string(1 << 20, '\0'))));
    // A stream that never ends (inflating zeros past its end) stops at the limit.
    EXPECT_FALSE(Guard(Corpus("image/endless-inflate.png")));
    // A second header claiming a huge picture must not size the check itself.
    EXPECT_FALSE(Guard(Corpus("image/second-header.png")));
    // No pixel data where the chunk walk finds it: refused, not left to the decoder.
    EXPECT_FALSE(Guard(Corpus("image/hidden-data.png")));
    // A chunk header in the last bytes, without room for its CRC, still claims
    // its length: the decoder would reserve it (here 1.2 GB).
    EXPECT_FALSE(Guard(Corpus("image/idat-header-at-end.png")));
    std::string cut = Png(3, 3, 8, 0, 0, Rows(3, 3));
    cut[8 + 3] = 100;  // IHDR claims more bytes than the file has
    EXPECT_FALSE(Guard(cut));
}

// Writes the bytes to a file in `folder` and decodes it as the renderer does:
// width * 10000 + height, or 0 when refused.
int DecodedSize(const std::string& folder, const std::string& bytes) {
    std::string path = folder + "/x.png";
    std::ofstream(path, std::ios::binary) << bytes;
    DecodedImage image;
    FileHandle file(fopen(path.c_str(), "rb"));
    return DecodeImage(file.get(), &image) ? image.width * 10000 + image.height : 0;
}

TEST(PngGuard, DecodeImageRefusesTheBombAndLoadsTheRest) {
    std::string folder = MakeTempDir();
    auto decode = [&](const std::string& bytes) { return DecodedSize(folder, bytes); };
    EXPECT_EQ(decode(Corpus("image/endless-inflate.png")), 0);
    EXPECT_EQ(decode(Corpus("image/empty.png")), 0);
    EXPECT_EQ(decode(Corpus("image/huge100000x100000.png")), 0);
    EXPECT_EQ(decode(Png(4, 2, 8, 6, 0, Rows(2, 16))), 4 * 10000 + 2);
    EXPECT_EQ(decode(Corpus("image/interlaced5x5.png")), 5 * 10000 + 5);
    RemoveTree(folder);
}

// Paletted and low-bit pictures decode to far more bytes than their files
// hold; only what the inflate check refuses is refused.
TEST(PngGuard, CompactHonestPicturesLoadAndBombsStillFail) {
    std::string folder = MakeTempDir();
    auto decode = [&](const std::string& bytes) { return DecodedSize(folder, bytes); };
    // Rows of `rowBytes` zero bytes, each after its filter byte (also zero).
    auto blank = [](int rows, int rowBytes) {
        return std::string(size_t(rows) * (rowBytes + 1), '\0');
    };
    const int side = 2048;
    struct Case {
        int depth, colourType, paletteSize;
    };
    for (Case c : {Case{8, 3, 4}, Case{4, 3, 16}, Case{2, 3, 4}, Case{1, 3, 2}, Case{1, 0, 0},
                   Case{2, 0, 0}, Case{4, 0, 0}, Case{8, 0, 0}}) {
        int rowBytes = (side * c.depth + 7) / 8;
        std::string png =
            Png(side, side, c.depth, c.colourType, 0, blank(side, rowBytes), c.paletteSize, true);
        SCOPED_TRACE(testing::Message()
                     << c.depth << "-bit type " << c.colourType << ", " << png.size() << " bytes");
        // Decoded to a byte or three a pixel, beyond 1100 times the file (all
        // but 8-bit grey, which deflate cannot shrink that far).
        if (c.depth < 8 || c.colourType == 3) {
            EXPECT_LT(png.size(), side * side * (c.colourType == 3 ? 3 : 1) / 1100);
        }
        EXPECT_EQ(decode(png), side * 10000 + side);
        // The same header over a stream that inflates past the picture's size.
        std::string bomb = Png(side, side, c.depth, c.colourType, 0, blank(side * 4, rowBytes),
                               c.paletteSize, true);
        EXPECT_EQ(decode(bomb), 0);
    }
    EXPECT_EQ(decode(Png(1, 300, 8, 0, 0, std::string(1 << 20, '\0'))), 0);
    RemoveTree(folder);
}

// Under the sanitizer build LeakSanitizer checks that nothing stays behind.
TEST(OggGuard, DamagedHeadersAreRefusedWithoutLeaks) {
    auto decode = [](const std::string& bytes, DecodedAudio* out) {
        FILE* file = fmemopen(const_cast<char*>(bytes.data()), bytes.size(), "rb");
        bool ok = DecodeAudioByName("x.ogg", file, out);
        fclose(file);
        return ok;
    };
    DecodedAudio damaged;
    EXPECT_FALSE(decode(Corpus("ogg/damaged-setup.ogg"), &damaged));
    // A comment whose memory is refused: the decoder then frees entries it never set.
    EXPECT_FALSE(decode(Corpus("ogg/unset-comment.ogg"), &damaged));
    // A comment count of billions is refused before the decoder walks it.
    EXPECT_FALSE(decode(Corpus("ogg/huge-comment-count.ogg"), &damaged));
    DecodedAudio tone;
    ASSERT_TRUE(decode(Corpus("ogg/tone.ogg"), &tone));
    EXPECT_GT(tone.length, 100);
    EXPECT_EQ(tone.format, 2);
}

}  // namespace
