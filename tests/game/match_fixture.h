// A running match on the headless game, with helpers to lay out the field and
// to hear which sound effects an update played.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <vector>

#include "audio/audio.h"
#include "support/game_harness.h"

// Every entry of a record is a finite number.
inline bool AllFinite(const Record& r) {
    for (float v :
         {r.state, r.x, r.y, r.velX, r.velY, r.angle, r.turn, r.alpha, r.extra, r.unused}) {
        if (!std::isfinite(v)) return false;
    }
    return true;
}

class MatchTest : public ::testing::Test {
  protected:
    static constexpr int kTrackedSounds = 100;

    void SetUp() override {
        h.FinishLoading();
        // Every sound gets its own marker sample, so a channel tells which id it played.
        for (int id = 0; id < kTrackedSounds; id++) {
            samples[id] = std::make_shared<PlSample>();
            App().media.soundTable[id] = std::make_shared<c_Sound>(samples[id]);
        }
        App().saved.SoundMode() = 1;
        // Buttons need a size even if the icon sheet is missing from the data folder.
        if (App().media.imageGeometry[3 * kImageIcons] == 0) {
            App().media.imageGeometry[3 * kImageIcons] = 32;
            App().media.imageGeometry[3 * kImageIcons + 1] = 32;
        }
        if (App().media.resScale == 0) App().media.resScale = 1;
    }

    c_MyApp& App() { return h.App(); }

    // Starts a match on a difficulty (the mode machine runs StartMatch).
    void Start(int difficulty) {
        App().title.difficulty = difficulty;
        App().mode = kModeStartMatch;
        h.Update();
        ASSERT_EQ(App().mode, kModeMatch);
    }

    // Empties the play field so a test can lay out its own records.
    void ClearField() { App().match.fieldRecords.fill(Record{}); }
    Record& Field(int k) { return App().match.fieldRecords[static_cast<size_t>(k)]; }
    Record& Effect(int k) { return App().match.effectRecords[static_cast<size_t>(k)]; }

    void PutSpider(int k, float x, float y, float state = kSpider) {
        Record& r = Field(k);
        r = Record{};
        r.state = state;
        r.x = x;
        r.y = y;
        r.turn = 1;
    }

    int CountField(float state) {
        int n = 0;
        for (int k = 0; k < kRecords; k++) n += Field(k).state == state;
        return n;
    }

    // One update; returns the ids of the sound effects it started, in order.
    std::vector<int> UpdateHearing(int ms = 17) {
        int before = App().media.sfxChannel;
        h.Update(ms);
        std::vector<int> heard;
        PlAudio* audio = AudioDevice();
        if (!audio) return heard;
        for (int c = (before + 1) % 24, n = 0; n < 24; c = (c + 1) % 24, n++) {
            const AudioChannel& channel = audio->Channel(App().media.channelIds[c]);
            for (int id = 0; id < kTrackedSounds; id++) {
                if (channel.state != 0 && channel.sample == samples[id]) heard.push_back(id);
            }
            if (c == App().media.sfxChannel) break;
        }
        if (App().media.sfxChannel == before) heard.clear();
        return heard;
    }

    static bool Heard(const std::vector<int>& heard, int id) {
        return std::find(heard.begin(), heard.end(), id) != heard.end();
    }

    GameHarness h;
    std::array<std::shared_ptr<PlSample>, kTrackedSounds> samples{};
};
