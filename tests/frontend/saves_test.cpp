// The state string: its exact layout, the three checksums, the token rules,
// independent sections with their messages, and hostile files.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "frontend_helpers.h"

namespace {

using ::testing::HasSubstr;
using ::testing::Not;

std::string Repeat(const std::string& piece, int times) {
    std::string out;
    for (int i = 0; i < times; i++) out += piece;
    return out;
}

std::string Join(const std::vector<long long>& numbers) {
    std::string out;
    for (long long n : numbers) out += std::to_string(n) + "|";
    return out;
}

std::vector<std::string> Tokens(const std::string& state) {
    std::vector<std::string> out(1);
    for (char c : state) {
        if (c == '|') {
            out.emplace_back();
        } else {
            out.back().push_back(c);
        }
    }
    return out;
}

// A game started from the given state file, with what the load printed.
struct Loaded {
    std::unique_ptr<GameHarness> harness;
    std::string output;
    c_MyApp& App() { return harness->App(); }
};

Loaded LoadFrom(const std::string& bytes) {
    Loaded l;
    testing::internal::CaptureStdout();
    l.harness = std::make_unique<GameHarness>(640, 480, bytes);
    l.output = testing::internal::GetCapturedStdout();
    return l;
}

// The settings section with entries 10..12 as the clamps leave them.
std::vector<long long> DefaultSettings() {
    std::vector<long long> v(25, 0);
    v[5] = 1;
    v[10] = 64;
    v[11] = 64;
    v[12] = 10;
    return v;
}

long long SettingsSum(const std::vector<long long>& v) {
    uint32_t sum = 0;
    for (size_t i = 0; i < v.size(); i++) sum += static_cast<uint32_t>(i * v[i]);
    return static_cast<int32_t>(sum);
}

// A state with something in every section, built by the game itself.
std::string RichState() {
    GameHarness h;
    c_MyApp& app = h.App();
    for (int i = 0; i < 25; i++) app.saved.settings[i] = i * 1000 + 7;
    app.saved.settings[24] = 2147483647;  // makes the weighted sum wrap
    app.saved.badgeFlags[0] = app.saved.badgeFlags[31] = app.saved.badgeFlags[77] =
        app.saved.badgeFlags[255] = true;
    for (int i = 0; i < 60; i++) app.saved.highscores[i] = 100000 - i * 997;
    return app.stateFile.BuildStateString();
}

}  // namespace

TEST(Saves, FirstRunWithoutFileSavesTheDefaultString) {
    Loaded l = LoadFrom("");
    EXPECT_EQ(l.output.find("Loaded"), std::string::npos);
    EXPECT_EQ(l.output.find("Invalid"), std::string::npos);
    l.App().stateFile.SaveAll();

    std::string expected = "0|0|0|0|0|1|0|0|0|0|64|64|10|" + Repeat("0|", 12) + "1469|" +
                           Repeat("0|", 9) + Repeat(Repeat("0|", 20) + "0|", 3);
    EXPECT_EQ(l.harness->platform.ReadStateBytes(), expected);
    EXPECT_EQ(Tokens(expected).size(), 99u);

    // With the debug line on, the whole string is printed as it is saved.
    Globals().debugOverlay = 1;
    testing::internal::CaptureStdout();
    l.App().stateFile.SaveAll();
    std::string printed = testing::internal::GetCapturedStdout();
    Globals().debugOverlay = 0;
    EXPECT_EQ(printed, expected + "\n");
}

TEST(Saves, EverySectionRoundTripsWithItsMessages) {
    std::string state = RichState();
    Loaded l = LoadFrom(state);
    EXPECT_EQ(l.output,
              "Settings Loaded\nBadges Loaded\nHighscore 0 Loaded\nHighscore 1 Loaded\n"
              "Highscore 2 Loaded\n");
    EXPECT_EQ(l.App().saved.settings[24], 2147483647);
    EXPECT_EQ(l.App().saved.settings[3], 3007);
    EXPECT_TRUE(l.App().saved.badgeFlags[77]);
    EXPECT_FALSE(l.App().saved.badgeFlags[78]);
    EXPECT_EQ(l.App().saved.highscores[59], 100000 - 59 * 997);
    EXPECT_EQ(l.App().stateFile.BuildStateString(), state);
}

TEST(Saves, BadgeFlag31AloneIsTheMostNegativeWord) {
    std::string state;
    {
        GameHarness h;
        h.App().saved.badgeFlags[31] = true;
        state = h.App().stateFile.BuildStateString();
    }
    std::vector<std::string> t = Tokens(state);
    EXPECT_EQ(t[26], "-2147483648");
    EXPECT_EQ(t[34], "-2147483648");  // the checksum is the plain sum

    Loaded l = LoadFrom(state);
    EXPECT_THAT(l.output, HasSubstr("Badges Loaded"));
    for (int i = 0; i < 256; i++) EXPECT_EQ(l.App().saved.badgeFlags[i], i == 31) << i;
}

TEST(Saves, OneChangedHighscoreDigitResetsOnlyThatTable) {
    std::vector<std::string> t = Tokens(RichState());
    ASSERT_EQ(t.size(), 99u);
    t[57][0] = t[57][0] == '9' ? '8' : '9';  // table 1, best score 0
    std::string state;
    for (size_t i = 0; i + 1 < t.size(); i++) state += t[i] + "|";

    Loaded l = LoadFrom(state);
    EXPECT_EQ(l.output,
              "Settings Loaded\nBadges Loaded\nHighscore 0 Loaded\nHighscore 1 Checksum Invalid\n"
              "Highscore 2 Loaded\n");
    for (int i = 0; i < 10; i++) {
        EXPECT_EQ(l.App().saved.Best(1)[i], 0);
        EXPECT_EQ(l.App().saved.Recent(1)[i], 0);
        EXPECT_NE(l.App().saved.highscores[i], 0);
        EXPECT_NE(l.App().saved.Recent(2)[i], 0);
    }
    EXPECT_TRUE(l.App().saved.badgeFlags[255]);
}

TEST(Saves, OnlyTheSettingsSectionLoadsTheSettings) {
    std::vector<long long> numbers = DefaultSettings();
    numbers[5] = 0;
    numbers[13] = 42;
    numbers.push_back(SettingsSum(numbers));
    Loaded l = LoadFrom(Join(numbers));
    EXPECT_EQ(l.output, "Settings Loaded\n");
    EXPECT_EQ(l.App().saved.SoundMode(), 0);
    EXPECT_EQ(l.App().saved.settings[13], 42);
    for (bool flag : l.App().saved.badgeFlags) EXPECT_FALSE(flag);
    for (int i = 0; i < 60; i++) EXPECT_EQ(l.App().saved.highscores[i], 0);
}

TEST(Saves, PadSettingsAreClampedAfterLoading) {
    std::vector<long long> numbers = DefaultSettings();
    numbers[10] = 63;
    numbers[11] = -5;
    numbers[12] = 5;
    numbers.push_back(SettingsSum(numbers));
    Loaded low = LoadFrom(Join(numbers));
    EXPECT_EQ(low.output, "Settings Loaded\n");
    EXPECT_EQ(low.App().saved.settings[kSettingPadX], 64);
    EXPECT_EQ(low.App().saved.settings[kSettingPadY], 64);
    EXPECT_EQ(low.App().saved.settings[kSettingPadSize], 10);
    low.harness.reset();

    numbers = DefaultSettings();
    numbers[10] = 64;
    numbers[12] = 8;
    numbers.push_back(SettingsSum(numbers));
    Loaded edge = LoadFrom(Join(numbers));
    EXPECT_EQ(edge.App().saved.settings[kSettingPadX], 64);
    EXPECT_EQ(edge.App().saved.settings[kSettingPadSize], 8);
}

TEST(Saves, TwentyNumbersAreReadAsBadgesFromTokenZero) {
    std::vector<long long> numbers = {1, 0, 0, 0, 0, 0, 0, -2147483648LL, -2147483647LL};
    numbers.resize(20, 0);
    Loaded l = LoadFrom(Join(numbers));
    EXPECT_EQ(l.output, "Badges Loaded\n");
    EXPECT_TRUE(l.App().saved.badgeFlags[0]);
    EXPECT_TRUE(l.App().saved.badgeFlags[255]);
    EXPECT_FALSE(l.App().saved.badgeFlags[1]);
    EXPECT_EQ(l.App().saved.SoundMode(), 1);  // settings kept their defaults
    EXPECT_EQ(l.App().saved.settings[kSettingPadX], 64);
}

TEST(Saves, SwappedSettingsChangeTheSumSwappedBadgeWordsDoNot) {
    GameHarness h;
    c_MyApp& app = h.App();
    app.saved.settings[3] = 11;
    app.saved.settings[4] = 22;
    app.saved.badgeFlags[0] = true;   // word 0 = 1
    app.saved.badgeFlags[33] = true;  // word 1 = 2
    std::vector<std::string> before = Tokens(app.stateFile.BuildStateString());
    std::swap(app.saved.settings[3], app.saved.settings[4]);
    std::swap(app.saved.badgeFlags[0], app.saved.badgeFlags[32]);
    std::swap(app.saved.badgeFlags[33], app.saved.badgeFlags[1]);
    std::vector<std::string> after = Tokens(app.stateFile.BuildStateString());
    EXPECT_NE(before[25], after[25]);
    EXPECT_EQ(before[26], after[27]);
    EXPECT_EQ(before[34], after[34]);
}

TEST(Saves, TokensReadTheirLeadingNumber) {
    // " 1", "+0", "10abc", "x" (no digits → 0) and "64 " all read as numbers.
    std::vector<std::string> t(25, "0");
    t[5] = " \t1";
    t[6] = "+0";
    t[10] = "64 ";
    t[11] = "64abc";
    t[12] = "10";
    t[13] = "x";
    t[14] = "-";
    std::string state;
    for (const std::string& s : t) state += s + "|";
    state += "1469|";
    Loaded l = LoadFrom(state);
    EXPECT_EQ(l.output, "Settings Loaded\n");
    EXPECT_EQ(l.App().saved.SoundMode(), 1);
    EXPECT_EQ(l.App().saved.settings[kSettingPadY], 64);
}

TEST(Saves, NumbersBeyond32BitsWrapAndTheChecksumDecides) {
    // 2^32 + 1469 wraps to the right sum; a 30-digit number is just wrong.
    std::string settings = Join(DefaultSettings());
    Loaded wrapped = LoadFrom(settings + "4294968765|");
    EXPECT_EQ(wrapped.output, "Settings Loaded\n");
    wrapped.harness.reset();

    Loaded huge = LoadFrom(settings + "123456789012345678901234567890|");
    EXPECT_EQ(huge.output, "Settings Checksum Invalid\n");
    huge.harness.reset();

    // Entry 0 has weight 0 in the sum, so its wrapped value survives.
    Loaded negative = LoadFrom("-99999999999999999999999999|" + settings.substr(2) + "1469|");
    EXPECT_EQ(negative.output, "Settings Loaded\n");
    EXPECT_EQ(negative.App().saved.settings[0], 469762049);
}

TEST(Saves, HostileFilesLoadWithoutHarm) {
    // Invalid UTF-8 after a good state: decoded byte by byte, still loads.
    std::string good = RichState();
    Loaded broken = LoadFrom(good + "\xC3\x28\xFF");
    EXPECT_THAT(broken.output, HasSubstr("Invalid UTF-8!"));
    EXPECT_THAT(broken.output, HasSubstr("Highscore 2 Loaded"));
    broken.harness.reset();

    // Ten megabytes of noise, bars included.
    std::mt19937 random(7);
    std::string noise(10 << 20, '\0');
    for (char& c : noise) c = static_cast<char>(random() % 7 == 0 ? '|' : random());
    Loaded garbage = LoadFrom(noise);
    EXPECT_THAT(garbage.output, Not(HasSubstr("Settings Loaded")));
    EXPECT_EQ(garbage.App().saved.SoundMode(), 1);
    garbage.App().stateFile.SaveAll();
    EXPECT_EQ(Tokens(garbage.harness->platform.ReadStateBytes()).size(), 99u);
    garbage.harness.reset();

    // A file of nothing but bars: empty tokens read as 0, and zeros sum to 0.
    Loaded bars = LoadFrom(std::string(60000, '|'));
    EXPECT_THAT(bars.output, HasSubstr("Highscore 2 Loaded"));
    EXPECT_EQ(bars.App().saved.SoundMode(), 0);
    EXPECT_EQ(bars.App().saved.settings[kSettingPadSize], 10);
    bars.harness.reset();
}

TEST(Saves, JunkPastSixtyFourKibibytesKeepsTheSectionsBeforeIt) {
    // The game writes a state, something appends 70 000 bytes to it: every
    // section still loads, and the next save writes them back without the junk.
    std::string folder = MakeTempDir();
    std::string file = folder + "/.vorlekstate";
    std::string written, rich = RichState();
    {
        GameHarness first(640, 480, "", "", file);
        first.App().stateFile.ApplyStateString(Widen(rich));
        first.App().stateFile.SaveAll();
        written = first.platform.ReadStateBytes();
    }
    std::ofstream(file, std::ios::binary | std::ios::app) << std::string(70000, 'x') + "|7|";
    testing::internal::CaptureStdout();
    {
        GameHarness second(640, 480, "", "", file);
        std::string output = testing::internal::GetCapturedStdout();
        EXPECT_THAT(output, HasSubstr("Settings Loaded"));
        EXPECT_THAT(output, HasSubstr("Highscore 2 Loaded"));
        second.App().stateFile.SaveAll();
        EXPECT_EQ(second.platform.ReadStateBytes(), written);
    }
    RemoveTree(folder);
}
