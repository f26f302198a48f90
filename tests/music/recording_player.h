// A tune player whose channel calls are recorded instead of reaching the
// audio device, on a test platform with a clock the test sets.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "audio/audio.h"
#include "music/tune_player.h"
#include "support/test_platform.h"

struct ChannelCall {
    char kind;  // 'P' play, 'S' stop, 'V' volume, 'A' pan, 'R' rate
    int channel;
    float value;
    c_Sound* sound;
    int flags;
};

class RecordingPlayer : public c_TunePlayer {
  public:
    explicit RecordingPlayer(PlGame* platform) : c_TunePlayer(platform) {}
    std::vector<ChannelCall> calls;

    std::vector<ChannelCall> Calls(char kind) const {
        std::vector<ChannelCall> out;
        for (const ChannelCall& c : calls)
            if (c.kind == kind) out.push_back(c);
        return out;
    }
    // Writes one cell of the song.
    void SetCell(int p, int t, int s, int note, int vol, int effect = 0, int param = 0) {
        song[SongIndex(p, t, s, 0)] = note;
        song[SongIndex(p, t, s, 1)] = vol;
        song[SongIndex(p, t, s, 2)] = effect;
        song[SongIndex(p, t, s, 3)] = param;
    }

  protected:
    void PlaySound(c_Sound* sound, int channel, int flags) override {
        calls.push_back({'P', channel, 0, sound, flags});
    }
    void StopChannel(int channel) override { calls.push_back({'S', channel, 0, nullptr, 0}); }
    void AdjustVolume(int channel, float v) override {
        calls.push_back({'V', channel, v, nullptr, 0});
    }
    void AdjustPan(int channel, float pan) override {
        calls.push_back({'A', channel, pan, nullptr, 0});
    }
    void AdjustRate(int channel, float r) override {
        calls.push_back({'R', channel, r, nullptr, 0});
    }
};

// A configured, playing player with stand-in sounds in every slot.
class PlayerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        player.Configure(32, 4, 3, 3, 4);
        player.state = 2;
        for (int i = 1; i <= 8; i++) {
            player.drumsA[i] = Sound();
            player.drumsB[i] = Sound();
        }
        for (int t = 2; t <= 4; t++) player.instruments[t] = Sound();
    }
    static std::shared_ptr<c_Sound> Sound() { return std::make_shared<c_Sound>(nullptr); }
    // Makes the next step due and runs it.
    void StepNow() {
        platform.nowMs = player.nextStepTime + 1;
        player.Step();
    }

    TestPlatform platform;
    RecordingPlayer player{&platform};
};
