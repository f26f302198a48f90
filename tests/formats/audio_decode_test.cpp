// The WAV and Ogg readers on files made by real encoders and on hostile bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "formats/audio_decode.h"
#include "support/process.h"
#include "support/test_platform.h"

// Largest block asked of malloc or realloc while tracking is on.
static bool tracking = false;
static size_t largestRequest = 0;

extern "C" void* __real_malloc(size_t size);
extern "C" void* __real_realloc(void* p, size_t size);
extern "C" void* __wrap_malloc(size_t size) {
    if (tracking) largestRequest = std::max(largestRequest, size);
    return __real_malloc(size);
}
extern "C" void* __wrap_realloc(void* p, size_t size) {
    if (tracking) largestRequest = std::max(largestRequest, size);
    return __real_realloc(p, size);
}

namespace {

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string Le32(uint32_t v) {
    std::string s;
    for (int i = 0; i < 4; ++i) s += char(v >> (8 * i));
    return s;
}

std::string Chunk(const std::string& tag, const std::string& body) {
    return tag + Le32(uint32_t(body.size())) + body;
}

// sox writes a 16-byte "fmt " chunk first: the chunk area starts at byte 36.
constexpr size_t kFirstChunkAfterFmt = 36;

struct DecodeTest : ::testing::Test {
    TestPlatform platform;
    std::string dir = platform.tempDir;

    std::string Path(const std::string& name) { return dir + "/" + name; }

    // A sine made by sox; the arguments pick rate (first), channels and encoding.
    std::string Sox(const std::string& name, std::vector<std::string> format,
                    const std::string& length) {
        // The rate goes on the null input too, so lengths in samples are exact.
        std::vector<std::string> argv = {"/usr/bin/sox", format[0], format[1], "-n"};
        argv.insert(argv.end(), format.begin(), format.end());
        for (std::string a :
             {Path(name), std::string("synth"), length, std::string("sine"), std::string("440")})
            argv.push_back(a);
        ProcessResult r = RunProcess(argv);
        EXPECT_EQ(r.status, 0) << r.err;
        return Path(name);
    }

    std::string Oggenc(const std::string& wav, const std::string& name) {
        ProcessResult r = RunProcess({"/usr/bin/oggenc", "-Q", "-o", Path(name), wav});
        EXPECT_EQ(r.status, 0) << r.err;
        return Path(name);
    }

    // Through the platform's door, as the audio device asks for it.
    bool Decode(const std::string& path, DecodedAudio* out) {
        largestRequest = 0;
        tracking = true;
        FileHandle file = platform.OpenFile(Widen(path), "rb");
        bool ok = file && DecodeAudioByName(path, file.get(), out);
        tracking = false;
        return ok;
    }

    bool DecodeBytes(const std::string& name, const std::string& bytes, DecodedAudio* out) {
        WriteBytes(Path(name), bytes);
        return Decode(Path(name), out);
    }
};

TEST_F(DecodeTest, SoxWavFilesOfEveryPlayableWidth) {
    std::string stereo =
        Sox("s16.wav", {"-r", "22050", "-c", "2", "-b", "16", "-e", "signed-integer"}, "10000s");
    DecodedAudio out;
    ASSERT_TRUE(Decode(stereo, &out));
    EXPECT_EQ(out.length, 10000);  // 40000 data bytes
    EXPECT_EQ(out.channels, 2);
    EXPECT_EQ(out.format, 2);
    EXPECT_EQ(out.hertz, 22050);
    std::string file = ReadBytes(stereo);
    ASSERT_EQ(file.size(), 44u + 40000u);
    EXPECT_EQ(memcmp(out.data.get(), file.data() + 44, 40000), 0);
    EXPECT_LE(largestRequest, file.size());

    std::string mono8 =
        Sox("u8.wav", {"-r", "8000", "-c", "1", "-b", "8", "-e", "unsigned-integer"}, "0.05");
    DecodedAudio eight;
    ASSERT_TRUE(Decode(mono8, &eight));
    EXPECT_EQ(eight.length, 400);
    EXPECT_EQ(eight.channels, 1);
    EXPECT_EQ(eight.format, 1);
    EXPECT_EQ(eight.hertz, 8000);

    // The extension is matched without regard to case; other extensions give nothing.
    std::string file8 = ReadBytes(mono8);
    DecodedAudio upper, mp3;
    EXPECT_TRUE(DecodeBytes("LOUD.WAV", file8, &upper));
    EXPECT_FALSE(DecodeBytes("song.mp3", file8, &mp3));
    EXPECT_FALSE(Decode(Path("absent.wav"), &mp3));
}

TEST_F(DecodeTest, ExtraFormatBytesAndForeignChunksAreSkipped) {
    std::string sox = ReadBytes(
        Sox("m16.wav", {"-r", "11025", "-c", "1", "-b", "16", "-e", "signed-integer"}, "300s"));
    std::string header = sox.substr(0, kFirstChunkAfterFmt), rest = sox.substr(kFirstChunkAfterFmt);

    // An 18-byte format chunk (with its extra-size field).
    std::string fmt18 = header;
    fmt18.replace(16, 4, Le32(18));
    fmt18 += std::string("\0\0", 2) + rest;
    DecodedAudio a;
    ASSERT_TRUE(DecodeBytes("fmt18.wav", fmt18, &a));
    EXPECT_EQ(a.length, 300);
    EXPECT_EQ(memcmp(a.data.get(), sox.data() + 44, 600), 0);

    // fact and LIST chunks before the data, one of odd size with no pad byte.
    std::string chunks = header + Chunk("fact", Le32(300)) + Chunk("LIST", "INFOx") + rest;
    DecodedAudio b;
    ASSERT_TRUE(DecodeBytes("chunks.wav", chunks, &b));
    EXPECT_EQ(b.length, 300);
    EXPECT_EQ(memcmp(b.data.get(), sox.data() + 44, 600), 0);

    // A LIST chunk where the format chunk belongs is refused.
    std::string listFirst = sox.substr(0, 12) + Chunk("LIST", "INFO") + sox.substr(12);
    DecodedAudio c;
    EXPECT_FALSE(DecodeBytes("listfirst.wav", listFirst, &c));
}

TEST_F(DecodeTest, FloatAndOtherFormatsAreRefused) {
    std::string f =
        Sox("float.wav", {"-r", "8000", "-c", "1", "-b", "32", "-e", "floating-point"}, "0.05");
    DecodedAudio out;
    EXPECT_FALSE(Decode(f, &out));
    EXPECT_EQ(out.data, nullptr);

    std::string good = ReadBytes(
        Sox("ok.wav", {"-r", "8000", "-c", "1", "-b", "16", "-e", "signed-integer"}, "100s"));
    std::string noChannels = good, tinyBits = good, notRiff = good, notWave = good;
    noChannels.replace(22, 2, std::string("\0\0", 2));
    tinyBits.replace(34, 2, std::string("\4\0", 2));
    notRiff.replace(0, 4, "RIFX");
    notWave.replace(8, 4, "AVI ");
    EXPECT_FALSE(DecodeBytes("c0.wav", noChannels, &out));  // would divide by a zero frame size
    EXPECT_FALSE(DecodeBytes("b4.wav", tinyBits, &out));
    EXPECT_FALSE(DecodeBytes("rifx.wav", notRiff, &out));
    EXPECT_FALSE(DecodeBytes("avi.wav", notWave, &out));
}

TEST_F(DecodeTest, HostileSizesNeverAllocateMoreThanTheFileHas) {
    std::string head = std::string("RIFF") + Le32(92) + "WAVE" + "fmt " + Le32(16) +
                       std::string("\1\0\1\0", 4) + Le32(8000) + Le32(16000) +
                       std::string("\2\0\x10\0", 4);
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"huge data", head + "data" + Le32(0x7fffffff) + std::string(56, 'x')},
        {"negative data", head + "data" + Le32(0xffffffff) + std::string(56, 'x')},
        {"huge skip", head + "junk" + Le32(0x7fffffff) + "data" + Le32(4) + "abcd"},
        {"negative skip", head + "junk" + Le32(0xfffffff8) + "data" + Le32(4) + "abcd"},
        {"huge fmt", std::string("RIFF") + Le32(0) + "WAVE" + "fmt " + Le32(0x7ffffff0) +
                         head.substr(20) + "data" + Le32(4) + "abcd"},
        {"short data", head + "data" + Le32(100) + std::string(10, 'x')},
        {"no data", head + Chunk("LIST", "INFO")},
        {"tag at the end", head + "dat"},
        {"size cut off", head + "data" + std::string("\4\0", 2)},
    };
    for (const Case& c : cases) {
        DecodedAudio out;
        EXPECT_FALSE(DecodeBytes("hostile.wav", c.bytes, &out)) << c.name;
        EXPECT_LE(largestRequest, c.bytes.size() + 1) << c.name;
    }
    DecodedAudio empty;
    ASSERT_TRUE(DecodeBytes("empty.wav", head + "data" + Le32(0), &empty));
    EXPECT_EQ(empty.length, 0);
}

TEST_F(DecodeTest, EveryTruncationOfARealFileFailsCleanly) {
    std::string good = ReadBytes(
        Sox("cut.wav", {"-r", "8000", "-c", "2", "-b", "16", "-e", "signed-integer"}, "64s"));
    for (size_t n = 0; n < good.size(); ++n) {
        DecodedAudio out;
        ASSERT_FALSE(DecodeBytes("cut.wav", good.substr(0, n), &out)) << n;
        ASSERT_LE(largestRequest, n + 1) << n;
    }
}

TEST_F(DecodeTest, OggVorbisFromOggenc) {
    std::string wav =
        Sox("src.wav", {"-r", "44100", "-c", "2", "-b", "16", "-e", "signed-integer"}, "3");
    std::string ogg = Oggenc(wav, "track.Ogg");  // the extension is matched in lower case
    DecodedAudio out;
    ASSERT_TRUE(Decode(ogg, &out));
    EXPECT_EQ(out.channels, 2);
    EXPECT_EQ(out.format, 2);
    EXPECT_EQ(out.hertz, 44100);
    EXPECT_EQ(out.length, 3 * 44100);
    // A real signal came through, not silence.
    auto* s = reinterpret_cast<int16_t*>(out.data.get());
    int peak = 0;
    for (int i = 0; i < out.length * 2; ++i) peak = std::max(peak, std::abs(int(s[i])));
    EXPECT_GT(peak, 10000);

    std::string mono =
        Oggenc(Sox("m.wav", {"-r", "8000", "-c", "1", "-b", "16", "-e", "signed-integer"}, "2400s"),
               "m.ogg");
    DecodedAudio m;
    ASSERT_TRUE(Decode(mono, &m));
    EXPECT_EQ(m.channels, 1);
    EXPECT_EQ(m.hertz, 8000);
    EXPECT_EQ(m.length, 2400);
}

TEST_F(DecodeTest, DamagedOggNeverCrashesOrRunsAway) {
    std::string wav =
        Sox("d.wav", {"-r", "22050", "-c", "1", "-b", "16", "-e", "signed-integer"}, "1");
    std::string ogg = ReadBytes(Oggenc(wav, "d.ogg"));
    DecodedAudio out;
    EXPECT_FALSE(DecodeBytes("empty.ogg", "", &out));
    EXPECT_FALSE(DecodeBytes("junk.ogg", "OggS" + std::string(200, '\x7f'), &out));
    EXPECT_FALSE(DecodeBytes("wav.ogg", ReadBytes(wav), &out));
    // Cut short or scrambled: whatever comes back stays within a sane size.
    for (size_t cut : {ogg.size() / 8, ogg.size() / 2, ogg.size() - 1}) {
        DecodedAudio part;
        if (DecodeBytes("cut.ogg", ogg.substr(0, cut), &part)) {
            EXPECT_LE(part.length, 22050);
        }
    }
    std::string scrambled = ogg;
    for (size_t i = scrambled.size() / 3; i < scrambled.size(); i += 7) scrambled[i] ^= 0x5a;
    DecodedAudio s;
    if (DecodeBytes("scrambled.ogg", scrambled, &s)) {
        EXPECT_LE(s.length, 4 * 22050);
    }
    EXPECT_LE(largestRequest, size_t(256) << 20);
}

}  // namespace
