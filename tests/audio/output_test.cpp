// The sound output going away and coming back. Devices and channels are real
// OpenAL Soft (null driver); only the device events come from the test, which
// stops every source on an unplug as OpenAL does on a lost output.
#include <AL/al.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "audio/audio.h"

namespace {

using Clock = std::chrono::steady_clock;

bool WaitFor(const std::function<bool()>& condition) {
    auto deadline = Clock::now() + std::chrono::seconds(10);
    while (!condition()) {
        if (Clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

// OpenAL's calls, with an output the test unplugs, opens it refuses or holds,
// and a reopen in place and default-output events where OpenAL has none.
class FakeOutput : public AlcCalls {
  public:
    bool reopensInPlace = false;
    bool watchesDefault = false;
    std::atomic<int> opensToRefuse{0};
    std::atomic<bool> holdOpens{false};
    std::atomic<bool> defaultChanged{false};
    std::atomic<ALCdevice*> unplugged{nullptr};
    std::atomic<int> opens{0}, reopens{0}, checks{0};
    std::mutex closedLock;
    std::vector<ALCdevice*> closed;

    ALCdevice* OpenDefault() override {
        while (holdOpens) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        opens++;
        if (opensToRefuse > 0) {
            opensToRefuse--;
            return nullptr;
        }
        return real_->OpenDefault();
    }
    ALCcontext* CreateContext(ALCdevice* device) override { return real_->CreateContext(device); }
    void DestroyContext(ALCcontext* context) override { real_->DestroyContext(context); }
    void Close(ALCdevice* device) override {
        std::lock_guard<std::mutex> lock(closedLock);
        closed.push_back(device);
        real_->Close(device);
    }
    bool MakeCurrent(ALCcontext* context) override { return real_->MakeCurrent(context); }
    bool ReportsLoss(ALCdevice*) override { return true; }
    bool Connected(ALCdevice* device) override {
        checks++;
        return device != unplugged;
    }
    bool CanReopen(ALCdevice*) override { return reopensInPlace; }
    bool Reopen(ALCdevice* device) override {
        reopens++;
        if (opensToRefuse > 0) {
            opensToRefuse--;
            return false;
        }
        unplugged = nullptr;
        return true;
    }
    bool WatchDefaultOutput() override { return watchesDefault; }
    bool DefaultOutputChanged() override { return defaultChanged.exchange(false); }

    size_t Closed() {
        std::lock_guard<std::mutex> lock(closedLock);
        return closed.size();
    }

  private:
    std::shared_ptr<AlcCalls> real_ = MakeOpenAlCalls();
};

DecodedAudio Tone(int frames) {
    DecodedAudio pcm;
    pcm.data.reset(static_cast<uint8_t*>(malloc(size_t(frames) * 2)));
    auto* s = reinterpret_cast<int16_t*>(pcm.data.get());
    for (int i = 0; i < frames; ++i) s[i] = int16_t(8000 * std::sin(i * 0.1));
    pcm.length = frames;
    pcm.channels = 1;
    pcm.format = 2;
    pcm.hertz = 22050;
    return pcm;
}

int SourceInt(uint32_t source, ALenum what) {
    ALint v = -1;
    alGetSourcei(source, what, &v);
    return v;
}

constexpr int kMusic = PlAudio::kMusicChannel;

struct OutputTest : ::testing::Test {
    std::shared_ptr<FakeOutput> fake = std::make_shared<FakeOutput>();
    std::unique_ptr<PlAudio> audio;
    int nowMs = 0;

    void Open() {
        audio = std::make_unique<PlAudio>(nullptr, fake);
        ASSERT_TRUE(audio->HasDevice());
    }
    std::shared_ptr<PlSample> Sample(int frames) {
        DecodedAudio pcm = Tone(frames);
        return audio->FillSample(std::make_shared<PlSample>(), pcm);
    }
    // Music looping on the music channel with its settings, a long one-shot on
    // channel 4, a looping sound paused by the game on channel 5.
    void PlayEverything() {
        audio->SetVolume(kMusic, 0.5f);
        audio->SetPan(kMusic, 1);
        audio->SetRate(kMusic, 1.5f);
        audio->StartSample(Sample(22050), kMusic, 1);
        audio->StartSample(Sample(22050 * 20), 4, 0);
        audio->StartSample(Sample(2000), 5, 1);
        audio->PauseChannel(5);
    }
    ALCdevice* Device() { return alcGetContextsDevice(alcGetCurrentContext()); }
    void Unplug() {
        fake->unplugged = Device();
        for (int i = 0; i < PlAudio::kChannels; ++i) {
            if (audio->Channel(i).source) alSourceStop(audio->Channel(i).source);
        }
    }
    // Updates as the frame loop makes them, 60 a second, until the output
    // is back and the reopen has finished.
    bool RunUntilBack() {
        return WaitFor([&] {
            audio->KeepOutput(nowMs += 16);
            return !audio->OutputLost() && !audio->Reopening();
        });
    }
    int AlState(int channel) { return SourceInt(audio->Channel(channel).source, AL_SOURCE_STATE); }
    void ExpectMusicAsSet() {
        uint32_t source = audio->Channel(kMusic).source;
        float gain = 0, pitch = 0, x = 0, y = 9, z = 0;
        alGetSourcef(source, AL_GAIN, &gain);
        alGetSourcef(source, AL_PITCH, &pitch);
        alGetSource3f(source, AL_POSITION, &x, &y, &z);
        EXPECT_FLOAT_EQ(gain, 0.5f);
        EXPECT_FLOAT_EQ(pitch, 1.5f);
        EXPECT_NEAR(x, 0.841, 1e-3);
        EXPECT_NEAR(y, 0, 1e-6);
        EXPECT_NEAR(z, -0.540, 1e-3);
        EXPECT_EQ(SourceInt(source, AL_LOOPING), AL_TRUE);
        EXPECT_EQ(AlState(kMusic), AL_PLAYING);
        EXPECT_EQ(audio->MusicStatus(), 1);
    }
};

TEST_F(OutputTest, ChecksAFewTimesASecondAtMostAndNotWithoutADevice) {
    Open();
    for (nowMs = 0; nowMs < 1000; nowMs += 16) audio->KeepOutput(nowMs);
    EXPECT_EQ(fake->checks, 4);
    audio->KeepOutput(100);  // a clock that went back checks at once
    EXPECT_EQ(fake->checks, 5);
    EXPECT_EQ(fake->opens, 1);

    // No device at start: silent as before, nothing checked or reopened.
    audio.reset();
    fake->opensToRefuse = 1;
    testing::internal::CaptureStdout();
    audio = std::make_unique<PlAudio>(nullptr, fake);
    for (nowMs = 0; nowMs < 5000; nowMs += 16) audio->KeepOutput(nowMs);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "OpenAl error: alcOpenDevice failed\n");
    EXPECT_FALSE(audio->HasDevice());
    EXPECT_EQ(fake->opens, 2);
    EXPECT_EQ(fake->checks, 5);
}

TEST_F(OutputTest, ALostOutputIsReplacedByANewDeviceAndTheChannelsCarryOn) {
    Open();
    PlayEverything();
    auto effect = Sample(4000);
    ALCdevice* old = Device();
    Unplug();
    // While the output is gone, music still reads as playing; the one-shot is over.
    EXPECT_EQ(audio->MusicStatus(), 1);
    testing::internal::CaptureStdout();
    ASSERT_TRUE(RunUntilBack());
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "OpenAl: the sound output went away; reopening it\n"
              "OpenAl: the sound output is back\n");

    EXPECT_EQ(fake->opens, 2);
    ASSERT_EQ(fake->Closed(), 1u);
    EXPECT_EQ(fake->closed[0], old);
    EXPECT_NE(Device(), old);
    ExpectMusicAsSet();
    ALint size = 0;
    alGetBufferi(audio->Channel(kMusic).sample->buffer, AL_SIZE, &size);
    EXPECT_EQ(size, 22050 * 2);             // put into the new device from the kept PCM
    EXPECT_EQ(audio->ChannelStatus(4), 0);  // cut off with the output, not heard later
    EXPECT_EQ(audio->ChannelStatus(5), 2);
    audio->ResumeChannel(5);
    EXPECT_EQ(AlState(5), AL_PLAYING);

    // A sample loaded before the loss plays on the new device.
    audio->StartSample(effect, 6, 0);
    EXPECT_EQ(AlState(6), AL_PLAYING);
    EXPECT_TRUE(alIsBuffer(effect->buffer));
    alGetBufferi(effect->buffer, AL_SIZE, &size);
    EXPECT_EQ(size, 4000 * 2);
    // Nothing is looked at again until the next check.
    int checks = fake->checks;
    audio->KeepOutput(nowMs + 1);
    EXPECT_EQ(fake->checks, checks);
}

TEST_F(OutputTest, ReopeningIsTriedASecondApartAndNeverHoldsUpAnUpdate) {
    Open();
    PlayEverything();
    fake->opensToRefuse = 2;
    Unplug();
    std::vector<int> tries;
    for (nowMs = 0; nowMs <= 3000; nowMs += 50) {
        int before = fake->opens;
        ASSERT_TRUE(WaitFor([&] {
            audio->KeepOutput(nowMs);
            return !audio->Reopening();
        }));
        if (fake->opens != before) tries.push_back(nowMs);
    }
    EXPECT_EQ(tries, (std::vector<int>{0, 1000, 2000}));
    EXPECT_FALSE(audio->OutputLost());
    ExpectMusicAsSet();

    // An open that takes its time: updates and sounds go on meanwhile.
    fake->holdOpens = true;
    Unplug();
    nowMs += 1000;
    audio->KeepOutput(nowMs);
    for (int i = 0; i < 100; ++i) audio->KeepOutput(nowMs += 16);
    EXPECT_TRUE(audio->Reopening());
    audio->StartSample(Sample(100), 7, 0);
    EXPECT_EQ(audio->MusicStatus(), 1);
    fake->holdOpens = false;
    ASSERT_TRUE(RunUntilBack());
    ExpectMusicAsSet();
}

TEST_F(OutputTest, AReopenInPlaceKeepsSourcesAndBuffers) {
    fake->reopensInPlace = true;
    Open();
    PlayEverything();
    uint32_t source = audio->Channel(kMusic).source;
    uint32_t buffer = audio->Channel(kMusic).sample->buffer;
    EXPECT_EQ(audio->Channel(kMusic).sample->kept.data, nullptr);  // no copy needed here
    fake->opensToRefuse = 1;
    Unplug();
    ASSERT_TRUE(RunUntilBack());
    EXPECT_EQ(fake->reopens, 2);
    EXPECT_EQ(fake->opens, 1);
    EXPECT_EQ(fake->Closed(), 0u);
    EXPECT_EQ(audio->Channel(kMusic).source, source);
    EXPECT_EQ(SourceInt(source, AL_BUFFER), int(buffer));
    ExpectMusicAsSet();
    EXPECT_EQ(audio->ChannelStatus(4), 0);
    EXPECT_EQ(audio->ChannelStatus(5), 2);
}

TEST_F(OutputTest, ANewDefaultOutputIsFollowedWithoutCuttingSoundsOff) {
    fake->reopensInPlace = true;
    fake->watchesDefault = true;
    Open();
    PlayEverything();
    testing::internal::CaptureStdout();
    fake->defaultChanged = true;
    audio->KeepOutput(nowMs);
    EXPECT_TRUE(audio->Reopening());
    ASSERT_TRUE(RunUntilBack());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(fake->reopens, 1);
    EXPECT_EQ(AlState(4), AL_PLAYING);
    EXPECT_EQ(audio->ChannelStatus(4), 1);
    ExpectMusicAsSet();

    // Without a reopen in place a change of default is not asked about.
    audio.reset();
    fake->reopensInPlace = false;
    Open();
    fake->defaultChanged = true;
    for (int i = 0; i < 100; ++i) audio->KeepOutput(nowMs += 16);
    EXPECT_TRUE(fake->defaultChanged);
    EXPECT_EQ(fake->opens, 2);
}

TEST_F(OutputTest, OutputBackWhileSuspendedPlaysOnlyAtResume) {
    Open();
    PlayEverything();
    audio->Suspend();
    Unplug();
    ASSERT_TRUE(RunUntilBack());
    EXPECT_NE(AlState(kMusic), AL_PLAYING);
    EXPECT_EQ(audio->Channel(kMusic).state, 1);
    audio->Resume();
    ExpectMusicAsSet();
    EXPECT_EQ(AlState(5), AL_INITIAL);  // still paused by the game
}

TEST_F(OutputTest, AnOpenStillRunningWhenTheDeviceGoesIsClosedByItself) {
    Open();
    PlayEverything();
    fake->holdOpens = true;
    Unplug();
    audio->KeepOutput(0);
    ASSERT_TRUE(audio->Reopening());
    audio.reset();  // must not wait for the open
    EXPECT_EQ(fake->Closed(), 1u);
    fake->holdOpens = false;
    EXPECT_TRUE(WaitFor([&] { return fake->Closed() == 2; }));
}

}  // namespace
