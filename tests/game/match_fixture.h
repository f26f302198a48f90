// A running match on the headless game, with helpers to lay out the field and
// to hear which sound effects an update played.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

#include "audio/audio.h"
#include "support/game_harness.h"

class MatchTest : public ::testing::Test {
  protected:
    static constexpr int kTrackedSounds = 100;

    void SetUp() override {
        h.FinishLoading();
        // Every sound gets its own marker sample, so a channel tells which id it played.
        for (int id = 0; id < kTrackedSounds; id++) {
            samples[id] = std::make_shared<PlSample>();
            App().soundTable[id] = std::make_shared<c_Sound>(samples[id]);
        }
        App().settings[5] = 1;
        // Buttons need a size even if the icon sheet is missing from the data folder.
        if (App().imageGeometry[3 * 97] == 0) {
            App().imageGeometry[3 * 97] = 32;
            App().imageGeometry[3 * 97 + 1] = 32;
        }
        if (App().resScale == 0) App().resScale = 1;
    }

    c_MyApp& App() { return h.App(); }

    // Starts a match on a difficulty (the mode machine runs StartMatch).
    void Start(int difficulty) {
        App().difficulty = difficulty;
        App().mode = kModeStartMatch;
        h.Update();
        ASSERT_EQ(App().mode, kModeMatch);
    }

    // Empties the play field so a test can lay out its own records.
    void ClearField() { App().fieldRecords.fill(0); }
    float* Field(int k) { return &App().fieldRecords[10 * k]; }
    float* Effect(int k) { return &App().effectRecords[10 * k]; }

    void PutSpider(int k, float x, float y, float state = 21) {
        float* r = Field(k);
        std::fill(r, r + 10, 0.0f);
        r[0] = state;
        r[1] = x;
        r[2] = y;
        r[6] = 1;
    }

    int CountField(float state) {
        int n = 0;
        for (int k = 0; k < 201; k++) n += Field(k)[0] == state;
        return n;
    }

    // One update; returns the ids of the sound effects it started, in order.
    std::vector<int> UpdateHearing(int ms = 17) {
        int before = App().sfxChannel;
        h.Update(ms);
        std::vector<int> heard;
        PlAudio* audio = AudioDevice();
        if (!audio) return heard;
        for (int c = (before + 1) % 24, n = 0; n < 24; c = (c + 1) % 24, n++) {
            const AudioChannel& channel = audio->Channel(App().channelIds[c]);
            for (int id = 0; id < kTrackedSounds; id++) {
                if (channel.state != 0 && channel.sample == samples[id]) heard.push_back(id);
            }
            if (c == App().sfxChannel) break;
        }
        if (App().sfxChannel == before) heard.clear();
        return heard;
    }

    static bool Heard(const std::vector<int>& heard, int id) {
        return std::find(heard.begin(), heard.end(), id) != heard.end();
    }

    GameHarness h;
    std::array<std::shared_ptr<PlSample>, kTrackedSounds> samples{};
};
