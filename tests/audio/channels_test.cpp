// Channels against real OpenAL Soft (null device: plays in real time, no speakers).
#include <AL/al.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "audio/audio.h"
#include "support/process.h"
#include "support/test_platform.h"

namespace {

using Clock = std::chrono::steady_clock;

// A 16-bit tone of the given length as decoded PCM.
DecodedAudio Tone(int frames, int channels = 1, int hertz = 22050) {
    DecodedAudio pcm;
    size_t count = size_t(frames) * channels;
    pcm.data.reset(static_cast<uint8_t*>(malloc(count * 2)));
    auto* s = reinterpret_cast<int16_t*>(pcm.data.get());
    for (size_t i = 0; i < count; ++i) s[i] = int16_t(8000 * std::sin(double(i / channels) * 0.1));
    pcm.length = frames;
    pcm.channels = channels;
    pcm.format = 2;
    pcm.hertz = hertz;
    return pcm;
}

// The same tone as a WAV file.
void WriteWav(const std::string& path, int frames) {
    std::string bytes = "RIFF----WAVEfmt ";
    auto put32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes += char(v >> (8 * i));
    };
    auto put16 = [&](uint16_t v) {
        bytes += char(v & 0xff);
        bytes += char(v >> 8);
    };
    put32(16), put16(1), put16(1), put32(22050), put32(44100), put16(2), put16(16);
    bytes += "data";
    put32(uint32_t(frames) * 2);
    for (int i = 0; i < frames; ++i) put16(uint16_t(int16_t(8000 * std::sin(i * 0.1))));
    std::ofstream(path, std::ios::binary) << bytes;
}

int SourceInt(uint32_t source, ALenum what) {
    ALint v = -1;
    alGetSourcei(source, what, &v);
    return v;
}

// Polls until the condition holds or a few seconds pass.
bool WaitFor(const std::function<bool()>& condition) {
    auto deadline = Clock::now() + std::chrono::seconds(5);
    while (!condition()) {
        if (Clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

struct ChannelTest : ::testing::Test {
    TestPlatform platform;
    PlAudio audio{&platform};

    void SetUp() override {
        ASSERT_TRUE(audio.HasDevice());
        SetAudioDevice(&audio);
    }
    void TearDown() override { SetAudioDevice(nullptr); }

    std::shared_ptr<PlSample> MakeSample(int frames) {
        DecodedAudio pcm = Tone(frames);
        auto sample = audio.FillSample(std::make_shared<PlSample>(), pcm);
        EXPECT_NE(sample->buffer, 0u);
        EXPECT_EQ(pcm.data, nullptr);  // the PCM is released once copied
        return sample;
    }
    int AlState(int channel) { return SourceInt(audio.Channel(channel).source, AL_SOURCE_STATE); }
};

TEST_F(ChannelTest, OneShotReadsPlayingUntilItHasReallyEnded) {
    auto started = Clock::now();
    audio.StartSample(MakeSample(22050 / 5), 3, 0);  // 200 ms
    EXPECT_EQ(audio.ChannelStatus(3), 1);
    ASSERT_TRUE(WaitFor([&] { return audio.ChannelStatus(3) == 0; }));
    EXPECT_GE(Clock::now() - started, std::chrono::milliseconds(120));
    EXPECT_EQ(audio.Channel(3).sample, nullptr);  // the ended channel lets its sample go
}

TEST_F(ChannelTest, PauseAndResume) {
    audio.StartSample(MakeSample(22050), 4, 1);
    audio.PauseChannel(4);
    EXPECT_EQ(audio.ChannelStatus(4), 2);
    EXPECT_EQ(AlState(4), AL_PAUSED);
    audio.ResumeChannel(4);
    EXPECT_EQ(audio.ChannelStatus(4), 1);
    EXPECT_EQ(AlState(4), AL_PLAYING);
    audio.StopChannel(4);
    audio.ResumeChannel(4);  // only a paused channel resumes
    EXPECT_EQ(AlState(4), AL_STOPPED);
}

TEST_F(ChannelTest, PausingAnEndedChannelStopsIt) {
    audio.StartSample(MakeSample(100), 3, 0);
    ASSERT_TRUE(WaitFor([&] { return AlState(3) == AL_STOPPED; }));
    EXPECT_EQ(audio.Channel(3).state, 1);
    audio.PauseChannel(3);
    EXPECT_EQ(audio.Channel(3).state, 0);
    EXPECT_EQ(AlState(3), AL_STOPPED);
}

TEST_F(ChannelTest, StartingOnAPlayingChannelRestartsIt) {
    auto first = MakeSample(22050);
    auto second = MakeSample(22050);
    audio.StartSample(first, 5, 1);
    EXPECT_EQ(SourceInt(audio.Channel(5).source, AL_LOOPING), AL_TRUE);
    uint32_t source = audio.Channel(5).source;
    audio.StartSample(second, 5, 0);
    EXPECT_EQ(audio.Channel(5).source, source);  // one source per channel for the whole run
    EXPECT_EQ(SourceInt(source, AL_BUFFER), int(second->buffer));
    EXPECT_EQ(SourceInt(source, AL_LOOPING), AL_FALSE);
    EXPECT_EQ(AlState(5), AL_PLAYING);
    EXPECT_EQ(audio.Channel(5).sample, second);
    EXPECT_EQ(audio.ChannelStatus(5), 1);
}

TEST_F(ChannelTest, PanVolumeAndRateStayAcrossStarts) {
    audio.SetPan(6, 0);
    float x = 9, y = 9, z = 9;
    alGetSource3f(audio.Channel(6).source, AL_POSITION, &x, &y, &z);
    EXPECT_NEAR(x, 0, 1e-6);
    EXPECT_NEAR(y, 0, 1e-6);
    EXPECT_NEAR(z, -1, 1e-6);
    audio.SetPan(6, 1);
    audio.SetVolume(6, 0.25f);
    audio.SetRate(6, 1.5f);
    audio.StartSample(MakeSample(2000), 6, 0);
    alGetSource3f(audio.Channel(6).source, AL_POSITION, &x, &y, &z);
    EXPECT_NEAR(x, 0.841, 1e-3);
    EXPECT_NEAR(y, 0, 1e-6);
    EXPECT_NEAR(z, -0.540, 1e-3);
    float gain = 0, pitch = 0;
    alGetSourcef(audio.Channel(6).source, AL_GAIN, &gain);
    alGetSourcef(audio.Channel(6).source, AL_PITCH, &pitch);
    EXPECT_FLOAT_EQ(gain, 0.25f);
    EXPECT_FLOAT_EQ(pitch, 1.5f);
}

TEST_F(ChannelTest, SuspendKeepsGamePausedChannelsPaused) {
    audio.StartSample(MakeSample(22050), 2, 1);
    audio.StartSample(MakeSample(22050), 4, 1);
    audio.PauseChannel(2);
    audio.Suspend();
    EXPECT_EQ(AlState(4), AL_PAUSED);
    EXPECT_EQ(audio.Channel(4).state, 1);
    audio.Resume();
    EXPECT_EQ(AlState(4), AL_PLAYING);
    EXPECT_EQ(AlState(2), AL_PAUSED);
    EXPECT_EQ(audio.ChannelStatus(2), 2);
    EXPECT_EQ(audio.ChannelStatus(4), 1);
}

TEST_F(ChannelTest, DiscardedBufferIsDeletedOnlyAfterItsSourceStopped) {
    DiscardedBuffers().clear();
    auto playing = MakeSample(22050);
    uint32_t name = playing->buffer;
    audio.StartSample(playing, 6, 1);
    playing->Discard();
    EXPECT_EQ(playing->buffer, 0u);
    ASSERT_EQ(DiscardedBuffers().size(), 1u);

    audio.StartSample(MakeSample(100), 7, 0);  // flushes, but the source still plays it
    EXPECT_TRUE(alIsBuffer(name));
    EXPECT_EQ(SourceInt(audio.Channel(6).source, AL_BUFFER), int(name));
    EXPECT_EQ(DiscardedBuffers().size(), 1u);

    audio.StopChannel(6);
    audio.FlushDiscarded();
    EXPECT_FALSE(alIsBuffer(name));
    EXPECT_TRUE(DiscardedBuffers().empty());
}

TEST_F(ChannelTest, ReleasedSampleGoesOnceItsSoundHasEnded) {
    DiscardedBuffers().clear();
    auto sample = MakeSample(200);
    uint32_t name = sample->buffer;
    audio.StartSample(sample, 8, 0);
    sample.reset();  // the channel holds the last reference
    EXPECT_TRUE(alIsBuffer(name));
    ASSERT_TRUE(WaitFor([&] { return audio.ChannelStatus(8) == 0; }));
    ASSERT_EQ(DiscardedBuffers().size(), 1u);
    audio.StartSample(MakeSample(100), 9, 0);
    EXPECT_FALSE(alIsBuffer(name));
    EXPECT_TRUE(DiscardedBuffers().empty());
}

TEST_F(ChannelTest, ChannelsOutsideTheTableAreIgnored) {
    auto sample = MakeSample(1000);
    for (int channel : {-1, 33, 1000}) {
        audio.StartSample(sample, channel, 1);
        audio.SetVolume(channel, 0.5f);
        audio.SetPan(channel, 1);
        audio.SetRate(channel, 2);
        audio.PauseChannel(channel);
        audio.ResumeChannel(channel);
        EXPECT_EQ(audio.ChannelStatus(channel), 0);
        audio.StopChannel(channel);
    }
    for (int i = 0; i < PlAudio::kChannels; ++i) {
        EXPECT_EQ(audio.Channel(i).state, 0);
        EXPECT_EQ(audio.Channel(i).source, 0u);
    }
    EXPECT_EQ(sample.use_count(), 1);
}

TEST_F(ChannelTest, MusicAndSoundsFromFiles) {
    std::string dir = platform.tempDir;
    std::filesystem::create_directories(dir + "/sfx");
    WriteWav(dir + "/sfx/001.wav", 22050);
    platform.dataDir = dir;

    auto sound = OpenSound(u"sfx/001.wav");  // bare names live in the data folder
    ASSERT_NE(sound, nullptr);
    StartSound(sound.get(), 10, 1);
    EXPECT_EQ(audio.ChannelStatus(10), 1);
    StopChannel(10);
    EXPECT_EQ(audio.ChannelStatus(10), 0);
    EXPECT_EQ(OpenSound(u"sfx/missing.wav"), nullptr);
    c_Sound empty(nullptr);
    StartSound(&empty, 11, 0);
    EXPECT_EQ(audio.ChannelStatus(11), 0);

    EXPECT_EQ(audio.StartMusic(Widen(dir + "/sfx/001.wav"), 1), 0);
    EXPECT_EQ(audio.MusicStatus(), 1);
    audio.PauseMusic();
    EXPECT_EQ(audio.MusicStatus(), 2);
    audio.ResumeMusic();
    audio.AdjustMusicVolume(0.5f);
    EXPECT_EQ(audio.MusicStatus(), 1);
    // A failed start still stops what was playing.
    EXPECT_EQ(audio.StartMusic(Widen(dir + "/nothing.ogg"), 1), -1);
    EXPECT_EQ(audio.MusicStatus(), 0);
}

// A page fetches its sounds after the game starts: until a file lands its
// sound is silence, a loop (music) waits for it, and once the platform's
// count of arrivals moves the file is loaded and heard.
TEST_F(ChannelTest, FilesThatLandLateAreSilentUntilThenAndPlayAfter) {
    std::string dir = platform.tempDir;
    std::filesystem::create_directories(dir + "/sfx");
    platform.dataDir = dir;
    platform.lateFileArrivals = 0;

    auto effect = OpenSound(u"sfx/001.wav");
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(effect->sample->buffer, 0u);
    StartSound(effect.get(), 3, 0);
    EXPECT_EQ(audio.ChannelStatus(3), 0);  // a one-shot passes at once
    EXPECT_EQ(audio.StartMusic(Widen(dir + "/sfx/tune.wav"), 1), 0);
    EXPECT_EQ(audio.MusicStatus(), 1);
    EXPECT_NE(AlState(PlAudio::kMusicChannel), AL_PLAYING);
    audio.StartSample(OpenSound(u"sfx/paused.wav")->sample, 12, 1);
    audio.PauseChannel(12);
    OpenSound(u"sfx/dropped.wav");  // nobody keeps it
    std::ofstream(dir + "/sfx/bad.wav") << "not a wave";
    EXPECT_EQ(OpenSound(u"sfx/bad.wav"), nullptr);  // damaged stays refused
    EXPECT_EQ(audio.AwaitedCount(), 4u);

    for (const char* name : {"001", "tune", "paused", "dropped"})
        WriteWav(dir + "/sfx/" + name + ".wav", 22050);
    audio.TakeArrivedFiles();  // the count has not moved: nothing is looked at
    EXPECT_EQ(effect->sample->buffer, 0u);

    platform.lateFileArrivals = 1;
    audio.TakeArrivedFiles();
    EXPECT_EQ(audio.AwaitedCount(), 0u);
    ASSERT_NE(effect->sample->buffer, 0u);
    EXPECT_EQ(AlState(PlAudio::kMusicChannel), AL_PLAYING);
    EXPECT_EQ(SourceInt(audio.Channel(PlAudio::kMusicChannel).source, AL_BUFFER),
              int(audio.Channel(PlAudio::kMusicChannel).sample->buffer));
    EXPECT_NE(AlState(12), AL_PLAYING);  // paused stays paused, and resumes heard
    audio.ResumeChannel(12);
    EXPECT_EQ(AlState(12), AL_PLAYING);
    StartSound(effect.get(), 3, 0);
    EXPECT_EQ(AlState(3), AL_PLAYING);
}

TEST(AudioOutput, WaveWriterCapturesAPlayedEffect) {
    std::string dir = MakeTempDir();
    std::string wav = dir + "/mix.wav", conf = dir + "/alsoft.conf";
    std::ofstream(conf) << "[general]\nsample-type=int16\nchannels=stereo\n[wave]\nfile=" << wav
                        << "\n";
    ProcessResult r =
        RunProcess({BW_WAVE_PROBE}, "", 30, {"ALSOFT_DRIVERS=wave", "ALSOFT_CONF=" + conf});
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_EQ(r.out, "");
    std::ifstream in(wav, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    size_t data = bytes.find("data");
    ASSERT_NE(data, std::string::npos) << "no mix written";
    int peak = 0;
    for (size_t i = data + 8; i + 1 < bytes.size(); i += 2) {
        int16_t s = int16_t(uint8_t(bytes[i]) | uint8_t(bytes[i + 1]) << 8);
        peak = std::max(peak, std::abs(int(s)));
    }
    EXPECT_GT(peak, 1000);
    RemoveTree(dir);
}

TEST(AudioOutput, MissingDeviceIsReportedAndTheGameGoesOnSilent) {
    ProcessResult r = RunProcess({BW_WAVE_PROBE}, "", 30, {"ALSOFT_DRIVERS=nosuchdriver"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "OpenAl error: alcOpenDevice failed\n");
}

}  // namespace
