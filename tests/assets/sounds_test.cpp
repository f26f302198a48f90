// Sound effects and the music player's samples: format, length, level and clean ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "asset_readers.h"

namespace {

const int kEffects[] = {1, 2, 3, 4, 5, 6, 7, 95, 98, 99};

std::string EffectPath(int id) {
    char name[32];
    std::snprintf(name, sizeof name, "sfx/%03d.wav", id);
    return DataPath(name);
}

// Loudest RMS over 50 ms windows, as a fraction of full scale.
double LoudestRms(const WavSound& s) {
    size_t window = size_t(s.rate / 20);
    double best = 0, sum = 0;
    for (size_t i = 0; i < s.samples.size(); ++i) {
        sum += double(s.samples[i]) * s.samples[i];
        if (i >= window) sum -= double(s.samples[i - window]) * s.samples[i - window];
        if (i + 1 >= window) best = std::max(best, sum / window);
    }
    return std::sqrt(best) / 32768.0;
}

int Peak(const WavSound& s) {
    int peak = 0;
    for (int16_t v : s.samples) peak = std::max(peak, std::abs(int(v)));
    return peak;
}

// Checks a one-shot sound: 16-bit mono PCM, audible, unclipped, silent at both ends.
void ExpectCleanOneShot(const std::string& path, double minSeconds, double maxSeconds) {
    SCOPED_TRACE(path);
    WavSound s = LoadWav(path);
    ASSERT_TRUE(s.ok);
    EXPECT_EQ(s.bits, 16);
    EXPECT_EQ(s.channels, 1);
    ASSERT_FALSE(s.samples.empty());
    EXPECT_GE(s.Seconds(), minSeconds);
    EXPECT_LE(s.Seconds(), maxSeconds);
    EXPECT_GT(LoudestRms(s), 0.05);
    EXPECT_LT(Peak(s), 32000);
    EXPECT_LT(std::abs(int(s.samples.front())), 330);
    EXPECT_LT(std::abs(int(s.samples.back())), 330);
}

// Fundamental frequency by autocorrelation: the first lag that matches nearly as well as any.
double Pitch(const WavSound& s, double lowHz, double highHz) {
    int minLag = int(s.rate / highHz), maxLag = int(s.rate / lowHz);
    size_t n = std::min<size_t>(s.samples.size() - maxLag, 8192);
    std::vector<double> corr(maxLag + 1, 0);
    double best = 0;
    for (int lag = minLag; lag <= maxLag; ++lag) {
        for (size_t i = 0; i < n; ++i) corr[lag] += double(s.samples[i]) * s.samples[i + lag];
        best = std::max(best, corr[lag]);
    }
    for (int lag = minLag; lag <= maxLag; ++lag) {
        if (corr[lag] >= 0.97 * best) {
            // Refine to the local peak.
            while (lag < maxLag && corr[lag + 1] > corr[lag]) ++lag;
            return double(s.rate) / lag;
        }
    }
    return 0;
}

}  // namespace

TEST(SoundEffects, EveryEffectDecodesCleanAndAtACommonLoudness) {
    double quietest = 1, loudest = 0;
    for (int id : kEffects) {
        ExpectCleanOneShot(EffectPath(id), 0.03, 2.0);
        WavSound s = LoadWav(EffectPath(id));
        if (!s.ok) continue;
        quietest = std::min(quietest, LoudestRms(s));
        loudest = std::max(loudest, LoudestRms(s));
    }
    // Within about 6 dB of each other, so no effect drowns another.
    EXPECT_LT(loudest / quietest, 2.0);
}

TEST(SoundEffects, EffectsAreDistinct) {
    std::vector<std::vector<uint8_t>> files;
    for (int id : kEffects) files.push_back(ReadBytes(EffectPath(id)));
    for (size_t a = 0; a < files.size(); ++a)
        for (size_t b = a + 1; b < files.size(); ++b)
            EXPECT_NE(files[a], files[b]) << a << " " << b;
}

TEST(SoundEffects, TimeUpLastsLongerThanTheTick) {
    WavSound tick = LoadWav(EffectPath(6)), gong = LoadWav(EffectPath(7));
    ASSERT_TRUE(tick.ok && gong.ok);
    EXPECT_LT(tick.Seconds(), 0.2);
    EXPECT_GT(gong.Seconds(), 0.8);
}

TEST(Instruments, DrumKitsAreShortCleanHits) {
    for (int kit : {1, 2}) {
        for (int k = 1; k <= 8; ++k) {
            char name[32];
            std::snprintf(name, sizeof name, "inst/d%d-%d.wav", kit, k);
            ExpectCleanOneShot(DataPath(name), 0.03, 1.0);
        }
    }
}

TEST(Instruments, MelodicSamplesLoopSeamlesslyAtTheirPitch) {
    struct Loop {
        const char* name;
        double hz;
    };
    const Loop loops[] = {
        {"inst/lead1.wav", 261.63}, {"inst/accompany1.wav", 261.63}, {"inst/bass1.wav", 65.41}};
    for (const Loop& loop : loops) {
        SCOPED_TRACE(loop.name);
        WavSound s = LoadWav(DataPath(loop.name));
        ASSERT_TRUE(s.ok);
        EXPECT_EQ(s.bits, 16);
        EXPECT_EQ(s.channels, 1);
        ASSERT_GT(s.samples.size(), 1000u);
        EXPECT_LT(Peak(s), 32000);
        EXPECT_GT(LoudestRms(s), 0.1);
        // The jump from the last sample back to the first is no bigger than any step inside.
        int largestStep = 0;
        for (size_t i = 1; i < s.samples.size(); ++i)
            largestStep = std::max(largestStep, std::abs(s.samples[i] - s.samples[i - 1]));
        EXPECT_LE(std::abs(s.samples.front() - s.samples.back()), largestStep);
        EXPECT_NEAR(Pitch(s, loop.hz / 1.6, loop.hz * 1.6), loop.hz, loop.hz * 0.02);
    }
}
