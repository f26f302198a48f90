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
#include <thread>

#include "audio/audio.h"

namespace {

bool WaitFor(const std::function<bool()>& condition) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

// OpenAL's own calls, with an output the test unplugs, opens it refuses or
// holds, and a reopen in place and default-output events on request.
struct FakeOutput : AlcCalls {
    std::shared_ptr<AlcCalls> real = MakeOpenAlCalls();
    bool inPlace = false, watchesDefault = false;
    std::atomic<bool> holdOpens{false}, defaultChanged{false};
    std::atomic<ALCdevice*> unplugged{nullptr};
    std::atomic<int> refusals{0}, opens{0}, reopens{0}, checks{0}, closes{0};

    ALCdevice* OpenDefault() override {
        while (holdOpens) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        opens++;
        return Refused() ? nullptr : real->OpenDefault();
    }
    ALCcontext* CreateContext(ALCdevice* d) override { return real->CreateContext(d); }
    void DestroyContext(ALCcontext* c) override { real->DestroyContext(c); }
    void Close(ALCdevice* d) override { closes++, real->Close(d); }
    bool MakeCurrent(ALCcontext* c) override { return real->MakeCurrent(c); }
    bool ReportsLoss(ALCdevice*) override { return true; }
    bool Connected(ALCdevice* d) override { return checks++, d != unplugged; }
    bool CanReopen(ALCdevice*) override { return inPlace; }
    bool Reopen(ALCdevice*) override {
        reopens++;
        if (Refused()) return false;
        unplugged = nullptr;
        return true;
    }
    bool WatchDefaultOutput() override { return watchesDefault; }
    bool DefaultOutputChanged() override { return defaultChanged.exchange(false); }
    bool Refused() { return refusals > 0 && refusals-- > 0; }
};

constexpr int kMusic = PlAudio::kMusicChannel;

struct OutputTest : ::testing::Test {
    std::shared_ptr<FakeOutput> fake = std::make_shared<FakeOutput>();
    std::unique_ptr<PlAudio> audio;
    int nowMs = 0;

    std::shared_ptr<PlSample> Sample(int frames) {
        DecodedAudio pcm;
        pcm.data.reset(static_cast<uint8_t*>(malloc(size_t(frames) * 2)));
        auto* s = reinterpret_cast<int16_t*>(pcm.data.get());
        for (int i = 0; i < frames; ++i) s[i] = int16_t(8000 * std::sin(i * 0.1));
        pcm.length = frames, pcm.channels = 1, pcm.format = 2, pcm.hertz = 22050;
        return audio->FillSample(std::make_shared<PlSample>(), pcm);
    }
    // Looping music with its settings, a long one-shot on channel 4, a loop
    // paused by the game on channel 5.
    void Start() {
        audio = std::make_unique<PlAudio>(nullptr, fake);
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
        for (int i = 0; i < PlAudio::kChannels; ++i) alSourceStop(audio->Channel(i).source);
    }
    // Updates at 60 a second until the output is back.
    bool RunUntilBack() {
        return WaitFor([&] {
            audio->KeepOutput(nowMs += 16);
            return !audio->OutputLost() && !audio->Reopening();
        });
    }
    int Get(int channel, ALenum what) {
        ALint v = -1;
        alGetSourcei(audio->Channel(channel).source, what, &v);
        return v;
    }
    void ExpectMusicAsSet() {
        float gain = 0, pitch = 0, x = 0, y = 9, z = 0;
        alGetSourcef(audio->Channel(kMusic).source, AL_GAIN, &gain);
        alGetSourcef(audio->Channel(kMusic).source, AL_PITCH, &pitch);
        alGetSource3f(audio->Channel(kMusic).source, AL_POSITION, &x, &y, &z);
        EXPECT_EQ(gain, 0.5f);
        EXPECT_EQ(pitch, 1.5f);
        EXPECT_NEAR(x, 0.841, 1e-3);
        EXPECT_NEAR(z, -0.540, 1e-3);
        EXPECT_EQ(Get(kMusic, AL_LOOPING), AL_TRUE);
        EXPECT_EQ(Get(kMusic, AL_SOURCE_STATE), AL_PLAYING);
        EXPECT_EQ(audio->MusicStatus(), 1);
    }
};

TEST_F(OutputTest, ANewDeviceTakesOverTheChannels) {
    Start();
    auto effect = Sample(4000);
    Unplug();
    EXPECT_EQ(audio->MusicStatus(), 1);  // music goes on reading as playing meanwhile
    testing::internal::CaptureStdout();
    ASSERT_TRUE(RunUntilBack());
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "OpenAl: the sound output went away; reopening it\n"
              "OpenAl: the sound output is back\n");
    EXPECT_EQ(fake->opens, 2);
    EXPECT_TRUE(WaitFor([&] { return fake->closes == 1; }));  // the lost one
    EXPECT_NE(Device(), fake->unplugged);
    ExpectMusicAsSet();
    EXPECT_EQ(audio->ChannelStatus(4), 0);  // cut off with the output, not heard later
    EXPECT_EQ(audio->ChannelStatus(5), 2);
    audio->ResumeChannel(5);
    EXPECT_EQ(Get(5, AL_SOURCE_STATE), AL_PLAYING);
    // A sample loaded before plays on the new device, from its kept PCM.
    audio->StartSample(effect, 6, 0);
    ALint size = 0;
    alGetBufferi(effect->buffer, AL_SIZE, &size);
    EXPECT_EQ(size, 4000 * 2);
    EXPECT_EQ(Get(6, AL_SOURCE_STATE), AL_PLAYING);

    // Back while suspended: the music waits for the resume.
    audio->Suspend();
    Unplug();
    ASSERT_TRUE(RunUntilBack());
    EXPECT_NE(Get(kMusic, AL_SOURCE_STATE), AL_PLAYING);
    audio->Resume();
    ExpectMusicAsSet();
}

TEST_F(OutputTest, ChecksAndTriesAreSpacedAndNeverHoldUpAnUpdate) {
    Start();
    for (; nowMs < 1000; nowMs += 16) audio->KeepOutput(nowMs);
    EXPECT_EQ(fake->checks, 4);
    fake->refusals = 2;
    Unplug();
    std::vector<int> tries;
    for (nowMs = 2000; nowMs <= 5000; nowMs += 50) {
        int before = fake->opens;
        ASSERT_TRUE(WaitFor([&] { return audio->KeepOutput(nowMs), !audio->Reopening(); }));
        if (fake->opens != before) tries.push_back(nowMs);
    }
    EXPECT_EQ(tries, (std::vector<int>{2000, 3000, 4000}));
    ExpectMusicAsSet();

    // An open that takes its time: updates and sounds go on meanwhile.
    fake->holdOpens = true;
    Unplug();
    for (int i = 0; i < 100; ++i) audio->KeepOutput(nowMs += 16);
    EXPECT_TRUE(audio->Reopening());
    audio->StartSample(Sample(100), 7, 0);
    fake->holdOpens = false;
    ASSERT_TRUE(RunUntilBack());
    ExpectMusicAsSet();

    // Gone while an open is still running: the open closes what it opened.
    fake->holdOpens = true;
    Unplug();
    audio->KeepOutput(nowMs += 1000);
    ASSERT_TRUE(audio->Reopening());
    audio.reset();
    int closes = fake->closes;
    fake->holdOpens = false;
    EXPECT_TRUE(WaitFor([&] { return fake->closes == closes + 1; }));
}

TEST_F(OutputTest, InPlaceTheSourcesAndBuffersStayAndANewDefaultIsFollowed) {
    fake->inPlace = fake->watchesDefault = true;
    Start();
    uint32_t source = audio->Channel(kMusic).source;
    EXPECT_EQ(audio->Channel(kMusic).sample->kept.data, nullptr);  // no copy needed
    Unplug();
    ASSERT_TRUE(RunUntilBack());
    EXPECT_EQ(fake->reopens, 1);
    EXPECT_EQ(fake->opens + fake->closes, 1);
    EXPECT_EQ(audio->Channel(kMusic).source, source);
    EXPECT_EQ(Get(kMusic, AL_BUFFER), int(audio->Channel(kMusic).sample->buffer));
    ExpectMusicAsSet();
    EXPECT_EQ(audio->ChannelStatus(4), 0);
    EXPECT_EQ(audio->ChannelStatus(5), 2);

    // A new default output: moved onto it, nothing cut off, nothing said.
    audio->StartSample(Sample(22050 * 20), 4, 0);
    testing::internal::CaptureStdout();
    fake->defaultChanged = true;
    ASSERT_TRUE(WaitFor([&] { return audio->KeepOutput(nowMs += 16), fake->reopens == 2; }));
    ASSERT_TRUE(RunUntilBack());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(audio->ChannelStatus(4), 1);
    ExpectMusicAsSet();
}

TEST_F(OutputTest, WithoutADeviceNothingIsCheckedOrReopened) {
    fake->refusals = 1;
    testing::internal::CaptureStdout();
    audio = std::make_unique<PlAudio>(nullptr, fake);
    for (; nowMs < 5000; nowMs += 16) audio->KeepOutput(nowMs);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "OpenAl error: alcOpenDevice failed\n");
    EXPECT_EQ(fake->opens, 1);
    EXPECT_EQ(fake->checks, 0);
}

}  // namespace
