// The song through the real window and audio device: tune_demo runs with
// OpenAL Soft's wave writer, and the written mix must hold music.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "support/process.h"
#include "support/test_platform.h"

namespace {

struct Pcm {
    int channels = 0;
    int hertz = 0;
    std::vector<int16_t> samples;
};

// The 16-bit PCM of a WAV file; the data size is taken from the file when the
// writer did not get to patch the header.
Pcm ReadWav(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
    Pcm pcm;
    auto u32 = [&](size_t at) {
        uint32_t v = 0;
        std::memcpy(&v, &bytes[at], 4);
        return v;
    };
    if (bytes.size() < 12 || std::string(bytes.data(), 4) != "RIFF") return pcm;
    size_t at = 12;
    int bits = 0;
    while (at + 8 <= bytes.size()) {
        const std::string id(&bytes[at], 4);
        size_t size = u32(at + 4);
        if (id == "fmt " && at + 24 <= bytes.size()) {
            pcm.channels = uint8_t(bytes[at + 10]) | uint8_t(bytes[at + 11]) << 8;
            pcm.hertz = static_cast<int>(u32(at + 12));
            bits = uint8_t(bytes[at + 22]);
        } else if (id == "data") {
            if (size == 0 || at + 8 + size > bytes.size()) size = bytes.size() - at - 8;
            if (bits != 16) return pcm;
            pcm.samples.resize(size / 2);
            std::memcpy(pcm.samples.data(), &bytes[at + 8], pcm.samples.size() * 2);
            return pcm;
        }
        at += 8 + size + (size & 1);
    }
    return pcm;
}

// RMS of each window of `ms` milliseconds, as a fraction of full scale.
std::vector<double> WindowRms(const Pcm& pcm, int ms) {
    const size_t window = size_t(pcm.hertz) * pcm.channels * ms / 1000;
    std::vector<double> out;
    for (size_t start = 0; window && start + window <= pcm.samples.size(); start += window) {
        double sum = 0;
        for (size_t i = start; i < start + window; i++)
            sum += double(pcm.samples[i]) * pcm.samples[i];
        out.push_back(std::sqrt(sum / window) / 32768.0);
    }
    return out;
}

TEST(TuneDemo, PlaysTheSongThroughTheAudioDevice) {
    const std::string data = std::string(BW_DATA_DIR);
    for (const char* file : {"music/brindle-song.png", "inst/d1-1.wav", "inst/d2-3.wav",
                             "inst/lead1.wav", "inst/accompany1.wav", "inst/bass1.wav"})
        ASSERT_TRUE(std::filesystem::exists(data + "/" + file))
            << file << " missing: build game_data";

    const std::string dir = MakeTempDir();
    const std::string wav = dir + "/mix.wav", conf = dir + "/alsoft.conf";
    std::ofstream(conf) << "[general]\ndrivers=wave\nsample-type=int16\nchannels=stereo\n"
                        << "[wave]\nfile=" << wav << "\n";
    setenv("ALSOFT_DRIVERS", "wave", 1);
    setenv("ALSOFT_CONF", conf.c_str(), 1);
    // Under the sanitizers the demo's GL driver leaks at exit; that is not what
    // is measured here (the player's own code is leak-checked in music_tests).
    const char* asan = std::getenv("ASAN_OPTIONS");
    const std::string asanBefore = asan ? asan : "";
    setenv("ASAN_OPTIONS", (asanBefore + (asan ? ":" : "") + "detect_leaks=0").c_str(), 1);
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(BW_BINARY_DIR);  // the demo reads ./data/
    const ProcessResult run = RunProcess({BW_TUNE_DEMO, "6", "11"}, "", 60);
    std::filesystem::current_path(before);
    setenv("ALSOFT_DRIVERS", "null", 1);
    unsetenv("ALSOFT_CONF");
    if (asan)
        setenv("ASAN_OPTIONS", asanBefore.c_str(), 1);
    else
        unsetenv("ASAN_OPTIONS");

    EXPECT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_NE(run.out.find("played"), std::string::npos) << run.out;
    const Pcm pcm = ReadWav(wav);
    RemoveTree(dir);
    ASSERT_GT(pcm.hertz, 0);
    ASSERT_GT(pcm.samples.size(), size_t(pcm.hertz) * pcm.channels * 4) << "under 4 s written";

    // Once the tune starts (after loading, however long that took), every
    // half second holds sound ...
    const std::vector<double> halves = WindowRms(pcm, 500);
    size_t first = 0;
    while (first < halves.size() && halves[first] <= 0.01) first++;
    ASSERT_LT(first + 4, halves.size()) << "no sound, or under 2 s of it";
    for (size_t i = first; i + 1 < halves.size(); i++) EXPECT_GT(halves[i], 0.01) << "window " << i;
    // ... and it has a beat: short windows rise and fall.
    std::vector<double> shorts = WindowRms(pcm, 20);
    shorts.erase(shorts.begin(),
                 shorts.begin() + std::min<size_t>(shorts.size(), 25 * (first + 1)));
    ASSERT_FALSE(shorts.empty());
    const auto [low, high] = std::minmax_element(shorts.begin(), shorts.end());
    EXPECT_GT(*high, 1.5 * *low);
}

}  // namespace
