// OpenAL channels: each channel keeps its own view of its state and checks it
// against the source's real state, since OpenAL mixes on its own thread.
#include "audio/audio.h"

#include <AL/al.h>

#include <cmath>

#include "core/errors.h"
#include "formats/audio_decode.h"
#include "platform/platform_game.h"  // ApplyDataPathRule
#include "platform/views.h"

namespace {

PlAudio* audioDevice = nullptr;
// Each device gets a new number; buffers of a closed device are never deleted
// through a later one, where the same name may mean another buffer.
struct Generations {
    uint32_t made = 0;  // devices made so far
    uint32_t live = 0;  // the generation whose buffers may be deleted, 0 for none
} generations;

ALenum FormatOf(int bytesPerSample, int channels) {
    if (bytesPerSample == 1 && channels == 1) return AL_FORMAT_MONO8;
    if (bytesPerSample == 1 && channels == 2) return AL_FORMAT_STEREO8;
    if (bytesPerSample == 2 && channels == 1) return AL_FORMAT_MONO16;
    if (bytesPerSample == 2 && channels == 2) return AL_FORMAT_STEREO16;
    return 0;
}

}  // namespace

PlAudio* AudioDevice() {
    return audioDevice;
}
void SetAudioDevice(PlAudio* device) {
    audioDevice = device;
}

std::vector<uint32_t>& DiscardedBuffers() {
    // Never destroyed, so samples released at exit can still hand in buffers.
    static auto* list = new std::vector<uint32_t>();
    return *list;
}

int PlSample::Discard() {
    if (buffer != 0 && deviceGeneration == generations.live && generations.live != 0) {
        DiscardedBuffers().push_back(buffer);
    }
    buffer = 0;
    return 0;
}

// Without a device the game goes on silent; every later call does nothing.
// The device opens here; its context (mixing buffers, the mixer thread) waits
// for the first buffer or source, so that start-up presents its first frame
// without it.
PlAudio::PlAudio(FileOpener* files, std::shared_ptr<AlcCalls> calls)
    : files_(files), calls_(calls ? std::move(calls) : MakeOpenAlCalls()) {
    generation_ = generations.live = ++generations.made;
    device_ = calls_->OpenDefault();
    if (!device_) {
        Print("OpenAl error: alcOpenDevice failed");
        return;
    }
    reportsLoss_ = calls_->ReportsLoss(device_);
    canReopen_ = calls_->CanReopen(device_);
    followsDefault_ = canReopen_ && calls_->WatchDefaultOutput();
    keepsPcm_ = reportsLoss_ && !canReopen_;
}

// Buffers of the device before are no longer this device's.
void PlAudio::TakeNewGeneration() {
    bool live = generations.live == generation_;
    generation_ = ++generations.made;
    if (live) generations.live = generation_;
}

void PlAudio::MakeContext() {
    contextTried_ = true;
    if (!device_) return;
    if (!(context_ = calls_->CreateContext(device_))) {
        Print("OpenAl error: alcCreateContext failed");
    } else if (!calls_->MakeCurrent(context_)) {
        Print("OpenAl error: alcMakeContextCurrent failed");
    }
    // Distance never changes loudness; pan only turns the direction.
    alDistanceModel(AL_NONE);
}

PlAudio::~PlAudio() {
    EndAttempt();
    for (AudioChannel& channel : channels_) {
        if (channel.source == 0) continue;
        alSourceStop(channel.source);
        alSourcei(channel.source, AL_BUFFER, 0);
    }
    FlushDiscarded();
    for (AudioChannel& channel : channels_) {
        if (channel.source != 0) alDeleteSources(1, &channel.source);
        channel.source = 0;
    }
    // The device takes its remaining buffers with it.
    DiscardedBuffers().clear();
    if (generations.live == generation_) generations.live = 0;
    if (audioDevice == this) audioDevice = nullptr;
    if (context_) {
        calls_->MakeCurrent(nullptr);
        calls_->DestroyContext(context_);
    }
    if (device_) calls_->Close(device_);
}

// Pauses the sources under playing channels; the channels' own state stays.
int PlAudio::Suspend() {
    suspended_ = true;
    for (int i = 0; i < kChannels; ++i) {
        if (channels_[i].state == 1 && SourceState(i) == AL_PLAYING) {
            alSourcePause(channels_[i].source);
        }
    }
    return 0;
}

// Restarts only what Suspend paused: a channel the game paused stays paused.
// A looping sound whose output came back meanwhile starts again here.
int PlAudio::Resume() {
    suspended_ = false;
    for (int i = 0; i < kChannels; ++i) {
        int state = SourceState(i);
        bool waiting = state == AL_PAUSED || (channels_[i].flags != 0 && state != AL_PLAYING);
        if (channels_[i].state == 1 && waiting && Filled(channels_[i]))
            alSourcePlay(channels_[i].source);
    }
    return 0;
}

std::shared_ptr<PlSample> PlAudio::DecodeIntoSample(std::shared_ptr<PlSample> sample,
                                                    StringView path) {
    if (!sample || !files_) return nullptr;
    return LoadInto(sample, path) == FileLoad::kFilled ? sample : nullptr;
}

PlAudio::FileLoad PlAudio::LoadInto(const std::shared_ptr<PlSample>& sample, StringView path) {
    FileHandle file = files_->OpenFile(path, "rb");
    if (!file) return FileLoad::kMissing;
    DecodedAudio pcm;
    if (!DecodeAudioByName(Narrow(path), file.get(), &pcm)) return FileLoad::kDamaged;
    FillSample(sample, pcm);
    sample->awaitingFile = false;
    return FileLoad::kFilled;
}

std::shared_ptr<PlSample> PlAudio::SampleOrAwaited(StringView path) {
    if (!files_) return nullptr;
    FlushDiscarded();
    auto sample = std::make_shared<PlSample>();
    FileLoad load = LoadInto(sample, path);
    if (load == FileLoad::kFilled) return sample;
    int arrivals = files_->LateFileArrivals();
    if (load == FileLoad::kDamaged || arrivals < 0) return nullptr;
    // Whatever landed up to now was looked for just above.
    arrivalsSeen_ = arrivals;
    // The context a loaded file would have made: a page tells of sound
    // waiting for a gesture, and resumes it, only once there is one.
    EnsureContext();
    sample->awaitingFile = true;
    awaited_.push_back({sample, String(path)});
    return sample;
}

void PlAudio::TakeArrivedFiles() {
    if (awaited_.empty() || !files_) return;
    int arrivals = files_->LateFileArrivals();
    if (arrivals == arrivalsSeen_) return;
    arrivalsSeen_ = arrivals;
    std::erase_if(awaited_, [this](const AwaitedFile& awaited) {
        std::shared_ptr<PlSample> sample = awaited.sample.lock();
        if (!sample) return true;
        FileLoad load = LoadInto(sample, awaited.path);
        if (load == FileLoad::kFilled) StartWaitingLoops(*sample);
        return load != FileLoad::kMissing;
    });
}

// A one-shot that found its sample empty has passed; a loop (music) still
// runs, silently, and is heard from here on.
void PlAudio::StartWaitingLoops(PlSample& sample) {
    for (int i = 0; i < kChannels; ++i) {
        AudioChannel& c = channels_[i];
        if (c.sample.get() != &sample || c.flags == 0 || c.state == 0) continue;
        ALuint source = SourceOf(i);
        alSourcei(source, AL_BUFFER, ALint(BufferOf(sample)));
        alSourcei(source, AL_LOOPING, AL_TRUE);
        if (c.state == 1 && !suspended_) alSourcePlay(source);
    }
}

std::shared_ptr<PlSample> PlAudio::FillSample(std::shared_ptr<PlSample> sample, DecodedAudio& pcm) {
    if (!sample) return nullptr;
    EnsureContext();
    sample->Discard();
    Upload(*sample, pcm);
    if (keepsPcm_) {
        sample->kept = std::move(pcm);
    } else {
        sample->kept = DecodedAudio{};
        pcm.data.reset();
    }
    return sample;
}

void PlAudio::Upload(PlSample& sample, const DecodedAudio& pcm) {
    ALuint buffer = 0;
    alGenBuffers(1, &buffer);
    // Widths OpenAL cannot play leave the buffer empty: the sample plays silence.
    ALenum format = FormatOf(pcm.format, pcm.channels);
    if (buffer != 0 && format != 0 && pcm.data) {
        size_t bytes = size_t(pcm.length) * size_t(pcm.channels) * size_t(pcm.format);
        alBufferData(buffer, format, pcm.data.get(), ALsizei(bytes), pcm.hertz);
    }
    sample.buffer = buffer;
    sample.deviceGeneration = generation_;
}

// The sample's buffer on this device: one made for an earlier device is made
// again from the kept PCM, or is none (silence) without it.
uint32_t PlAudio::BufferOf(PlSample& sample) {
    if (sample.deviceGeneration == generation_) return sample.buffer;
    sample.buffer = 0;
    if (sample.kept.data) Upload(sample, sample.kept);
    return sample.buffer;
}

std::shared_ptr<PlSample> PlAudio::SampleFromFile(StringView path) {
    FlushDiscarded();
    return DecodeIntoSample(std::make_shared<PlSample>(), path);
}

// Restarts the channel at once with the new sample; volume, pan, rate stay.
int PlAudio::StartSample(std::shared_ptr<PlSample> sample, int channel, int flags) {
    if (!ValidChannel(channel) || !sample) return 0;
    FlushDiscarded();
    ALuint source = SourceOf(channel);
    alSourceStop(source);
    ALuint buffer = BufferOf(*sample);
    alSourcei(source, AL_BUFFER, ALint(buffer));
    alSourcei(source, AL_LOOPING, flags != 0 ? AL_TRUE : AL_FALSE);
    AudioChannel& c = channels_[channel];
    // A sample whose file has not landed yet: a one-shot is over at once, a
    // loop waits for it silently.
    if (sample->awaitingFile && flags == 0) {
        EndChannel(c);
        return 0;
    }
    if (buffer != 0) alSourcePlay(source);
    c.sample = std::move(sample);
    c.flags = flags;
    c.state = 1;
    return 0;
}

int PlAudio::StopChannel(int channel) {
    if (!ValidChannel(channel) || channels_[channel].state == 0) return 0;
    alSourceStop(channels_[channel].source);
    EndChannel(channels_[channel]);
    return 0;
}

// A one-shot sound that already ended is not paused but counted as stopped.
int PlAudio::PauseChannel(int channel) {
    if (!ValidChannel(channel) || channels_[channel].state != 1) return 0;
    if (HasEnded(channel)) {
        EndChannel(channels_[channel]);
    } else {
        alSourcePause(channels_[channel].source);
        channels_[channel].state = 2;
    }
    return 0;
}

int PlAudio::ResumeChannel(int channel) {
    if (!ValidChannel(channel) || channels_[channel].state != 2) return 0;
    if (Filled(channels_[channel])) alSourcePlay(channels_[channel].source);
    channels_[channel].state = 1;
    return 0;
}

// A playing channel reads 1 until its sound has really ended.
int PlAudio::ChannelStatus(int channel) {
    if (!ValidChannel(channel)) return 0;
    if (HasEnded(channel)) EndChannel(channels_[channel]);
    return channels_[channel].state;
}

// A looping sound never ends by itself: its source stops only when the output
// goes away, and it plays again once the output is back.
bool PlAudio::HasEnded(int channel) const {
    const AudioChannel& c = channels_[channel];
    if (c.flags != 0 && c.source != 0) return false;
    return c.state == 1 && SourceState(channel) == AL_STOPPED;
}

int PlAudio::SetVolume(int channel, float volume) {
    if (!ValidChannel(channel)) return 0;
    channels_[channel].gain = volume;
    alSourcef(SourceOf(channel), AL_GAIN, volume);
    return 0;
}

// The pan is an angle in radians: 0 straight ahead, positive to the right.
int PlAudio::SetPan(int channel, float pan) {
    if (!ValidChannel(channel)) return 0;
    std::array<float, 3>& p = channels_[channel].position;
    p = {std::sin(pan), 0.0f, -std::cos(pan)};
    alSource3f(SourceOf(channel), AL_POSITION, p[0], p[1], p[2]);
    return 0;
}

int PlAudio::SetRate(int channel, float rate) {
    if (!ValidChannel(channel)) return 0;
    channels_[channel].pitch = rate;
    alSourcef(SourceOf(channel), AL_PITCH, rate);
    return 0;
}

// The whole file is decoded into memory; nothing is streamed.
int PlAudio::StartMusic(StringView path, int flags) {
    StopMusic();
    std::shared_ptr<PlSample> sample = SampleOrAwaited(path);
    if (!sample) return -1;
    StartSample(std::move(sample), kMusicChannel, flags);
    return 0;
}

// Buffers still attached to a playing or paused source fail to delete and wait.
void PlAudio::FlushDiscarded() {
    std::vector<uint32_t>& discarded = DiscardedBuffers();
    if (discarded.empty()) return;
    // A stopped source lets go of its buffer, whatever the channel's own state.
    for (int i = 0; i < kChannels; ++i) {
        if (channels_[i].source != 0 && SourceState(i) == AL_STOPPED) {
            alSourcei(channels_[i].source, AL_BUFFER, 0);
        }
    }
    size_t kept = 0;
    for (uint32_t name : discarded) {
        alGetError();
        ALuint buffer = name;
        alDeleteBuffers(1, &buffer);
        if (alGetError() != AL_NO_ERROR) discarded[kept++] = name;
    }
    discarded.resize(kept);
}

// The channel's source, made on first use and kept while the device lasts;
// one made for a new device takes over what the channel was told.
uint32_t PlAudio::SourceOf(int channel) {
    AudioChannel& c = channels_[channel];
    if (c.source == 0) {
        EnsureContext();
        ALuint source = 0;
        alGenSources(1, &source);
        c.source = source;
        if (source == 0) return 0;
        alSourcef(source, AL_GAIN, c.gain);
        alSourcef(source, AL_PITCH, c.pitch);
        alSource3f(source, AL_POSITION, c.position[0], c.position[1], c.position[2]);
    }
    return c.source;
}

// OpenAL's view of the channel; a channel without a source counts as stopped.
int PlAudio::SourceState(int channel) const {
    ALint state = AL_STOPPED;
    if (channels_[channel].source != 0) {
        alGetSourcei(channels_[channel].source, AL_SOURCE_STATE, &state);
    }
    return state;
}

// The channel no longer needs its sample; unreferenced samples go now.
void PlAudio::EndChannel(AudioChannel& channel) {
    channel.state = 0;
    channel.sample.reset();
}

std::shared_ptr<c_Sound> OpenSound(StringView path) {
    PlAudio* device = AudioDevice();
    if (!device) return nullptr;
    std::shared_ptr<PlSample> sample = device->SampleOrAwaited(ApplyDataPathRule(path));
    if (!sample) return nullptr;
    return std::make_shared<c_Sound>(std::move(sample));
}

void StartSound(c_Sound* sound, int channel, int flags) {
    if (sound && sound->sample && AudioDevice()) {
        AudioDevice()->StartSample(sound->sample, channel, flags);
    }
}

void StopChannel(int channel) {
    if (PlAudio* device = AudioDevice()) device->StopChannel(channel);
}

void AdjustChannelVolume(int channel, float volume) {
    if (PlAudio* device = AudioDevice()) device->SetVolume(channel, volume);
}

void AdjustChannelPan(int channel, float pan) {
    if (PlAudio* device = AudioDevice()) device->SetPan(channel, pan);
}

void AdjustChannelRate(int channel, float rate) {
    if (PlAudio* device = AudioDevice()) device->SetRate(channel, rate);
}
