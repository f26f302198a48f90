// The audio device: one OpenAL device and context, 33 channels.
#pragma once

#include <AL/alc.h>

#include <array>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

#include "audio/device_calls.h"
#include "core/text.h"
#include "formats/decoded.h"

class PlSample {
  public:
    PlSample() = default;
    ~PlSample() { Discard(); }
    PlSample(const PlSample&) = delete;
    PlSample& operator=(const PlSample&) = delete;
    // Hands the buffer to the discarded list; deleted once no source plays it.
    int Discard();
    uint32_t buffer = 0;
    // The device the buffer belongs to; a buffer outliving its device is dropped.
    uint32_t deviceGeneration = 0;
    // The PCM, kept where a lost output means a new device that needs it again.
    DecodedAudio kept;
    // Its file is still on its way (the browser fetches sounds after the
    // start): a one-shot started now is over at once.
    bool awaitingFile = false;
};

class c_Sound {
  public:
    explicit c_Sound(std::shared_ptr<PlSample> s) : sample(std::move(s)) {}
    std::shared_ptr<PlSample> sample;
};

struct AudioChannel {
    uint32_t source = 0;
    std::shared_ptr<PlSample> sample;
    int flags = 0;
    int state = 0;  // 0 stopped, 1 playing, 2 paused
    // What the channel was last told, so that a source on a new device takes it over.
    float gain = 1, pitch = 1;
    std::array<float, 3> position{};
};

struct OutputAttempt;

class FileOpener;

class PlAudio {
  public:
    static constexpr int kChannels = 33;
    static constexpr int kMusicChannel = 32;

    // How often the output is checked, and how far apart reopening is tried.
    static constexpr int kCheckMs = 250;
    static constexpr int kRetryMs = 1000;

    // The opener reads the sample files; without one (tests) only FillSample
    // loads. Tests hand in their own device calls.
    explicit PlAudio(FileOpener* files = nullptr, std::shared_ptr<AlcCalls> calls = nullptr);
    virtual ~PlAudio();
    PlAudio(const PlAudio&) = delete;
    PlAudio& operator=(const PlAudio&) = delete;

    int Suspend();
    int Resume();
    std::shared_ptr<PlSample> DecodeIntoSample(std::shared_ptr<PlSample> sample, StringView path);
    std::shared_ptr<PlSample> SampleFromFile(StringView path);
    // As SampleFromFile, but where the platform fetches files while the game
    // runs, a file not there yet gives an empty sample (silence) that fills
    // once the file lands. A damaged file gives null either way.
    std::shared_ptr<PlSample> SampleOrAwaited(StringView path);
    // Fills the awaited samples whose files have landed since the last call;
    // a looping channel waiting on one starts it. Once per update.
    void TakeArrivedFiles();
    size_t AwaitedCount() const { return awaited_.size(); }
    // Puts already decoded PCM into a new buffer of the sample (the data is released).
    std::shared_ptr<PlSample> FillSample(std::shared_ptr<PlSample> sample, DecodedAudio& pcm);
    // Channels outside 0..32 are ignored by every channel operation.
    int StartSample(std::shared_ptr<PlSample> sample, int channel, int flags);
    int StopChannel(int channel);
    int PauseChannel(int channel);
    int ResumeChannel(int channel);
    int ChannelStatus(int channel);
    int SetVolume(int channel, float volume);
    int SetPan(int channel, float pan);
    int SetRate(int channel, float rate);
    int StartMusic(StringView path, int flags);
    int StopMusic() { return StopChannel(kMusicChannel); }
    int PauseMusic() { return PauseChannel(kMusicChannel); }
    int ResumeMusic() { return ResumeChannel(kMusicChannel); }
    int MusicStatus() { return ChannelStatus(kMusicChannel); }
    int AdjustMusicVolume(float volume) { return SetVolume(kMusicChannel, volume); }

    // Deletes discarded buffers that no source holds any more.
    void FlushDiscarded();
    const AudioChannel& Channel(int channel) const { return channels_[channel]; }
    bool HasDevice() const { return device_ != nullptr; }

    // Follows the sound output: once per update, at most every kCheckMs it asks
    // whether the output is still there (and whether the system's default
    // changed), and reopens it on a worker thread, tries kRetryMs apart. The
    // channels carry on: looping sounds play again, others ended with the output.
    void KeepOutput(int nowMs);
    bool OutputLost() const { return lost_; }
    bool Reopening() const { return attempt_ != nullptr; }

  private:
    enum class FileLoad { kFilled, kMissing, kDamaged };
    FileLoad LoadInto(const std::shared_ptr<PlSample>& sample, StringView path);
    void StartWaitingLoops(PlSample& sample);
    static bool Filled(const AudioChannel& c) { return c.sample && c.sample->buffer != 0; }

    // Buffers and sources are the context's: each is made after this.
    void EnsureContext() {
        if (!contextTried_) MakeContext();
    }
    void MakeContext();
    static bool ValidChannel(int channel) { return channel >= 0 && channel < kChannels; }
    uint32_t SourceOf(int channel);
    int SourceState(int channel) const;
    void EndChannel(AudioChannel& channel);
    bool HasEnded(int channel) const;
    void Upload(PlSample& sample, const DecodedAudio& pcm);
    uint32_t BufferOf(PlSample& sample);
    void TakeNewGeneration();

    // Following the output (output.cpp).
    bool CheckDue(int nowMs);
    void StartAttempt();
    void FinishAttempt();
    void AdoptDevice(ALCdevice* device, ALCcontext* context);
    void CloseLater(ALCdevice* device, ALCcontext* context);
    void RestoreChannels();
    void EndAttempt();

    FileOpener* files_ = nullptr;
    std::shared_ptr<AlcCalls> calls_;
    ALCdevice* device_ = nullptr;
    ALCcontext* context_ = nullptr;
    bool contextTried_ = false;
    uint32_t generation_ = 0;
    std::array<AudioChannel, kChannels> channels_{};

    bool reportsLoss_ = false;     // the device says when its output went away
    bool canReopen_ = false;       // and can move onto another in place
    bool followsDefault_ = false;  // the system tells of a new default output
    bool keepsPcm_ = false;        // samples keep their PCM for a new device
    bool suspended_ = false;
    bool lost_ = false;
    bool moved_ = false;  // the default output changed; reopen onto it
    bool checked_ = false, tried_ = false;
    int64_t lastCheckMs_ = 0, lastTryMs_ = 0;
    struct AwaitedFile {
        std::weak_ptr<PlSample> sample;  // dropped once nothing holds it
        String path;
    };
    std::vector<AwaitedFile> awaited_;
    int arrivalsSeen_ = -1;

    std::shared_ptr<OutputAttempt> attempt_;
    std::thread worker_;  // the open, reopen or close under way, if any
};

// Module-wide: the device made at start.
PlAudio* AudioDevice();
void SetAudioDevice(PlAudio* device);
// Buffer names waiting for deletion (shared by all samples).
std::vector<uint32_t>& DiscardedBuffers();

std::shared_ptr<c_Sound> OpenSound(StringView path);
void StartSound(c_Sound* sound, int channel, int flags);
void StopChannel(int channel);
void AdjustChannelVolume(int channel, float volume);
void AdjustChannelPan(int channel, float pan);
void AdjustChannelRate(int channel, float rate);
