// Following the sound output. OpenAL marks a device whose output went away
// (headphones pulled, the sound server restarted) as disconnected and never
// brings it back by itself: the device is reopened in place where OpenAL can,
// and elsewhere a new device and context take over the channels. Opening can
// take a sound server a tenth of a second, so it runs on a worker thread.
#include <AL/al.h>

#include <atomic>
#include <system_error>

#include "audio/audio.h"
#include "core/errors.h"

// One try at reopening, shared with its worker thread. Whoever comes second,
// the worker finishing or the audio device going away, cleans up.
struct OutputAttempt {
    enum Phase { kRunning, kDone, kAbandoned };
    std::atomic<int> phase{kRunning};
    bool inPlace = false;
    bool ok = false;
    ALCdevice* device = nullptr;  // in place: the device reopened; else the new one
    ALCcontext* context = nullptr;

    void Run(AlcCalls& calls) {
        if (inPlace) {
            ok = calls.Reopen(device);
        } else if ((device = calls.OpenDefault())) {
            context = calls.CreateContext(device);
            if (!context) Release(calls);
            ok = context != nullptr;
        }
        int running = kRunning;
        if (!phase.compare_exchange_strong(running, kDone) && !inPlace) Release(calls);
    }
    // A new device nobody took.
    void Release(AlcCalls& calls) {
        if (context) calls.DestroyContext(context);
        if (device) calls.Close(device);
        context = nullptr;
        device = nullptr;
    }
};

void PlAudio::KeepOutput(int nowMs) {
    if (!device_ || (!reportsLoss_ && !followsDefault_)) return;
    if (attempt_) {
        if (attempt_->phase.load() == OutputAttempt::kDone) FinishAttempt();
        return;
    }
    if (!CheckDue(nowMs)) return;
    if (followsDefault_ && calls_->DefaultOutputChanged()) moved_ = true;
    if (reportsLoss_ && !lost_ && !calls_->Connected(device_)) {
        lost_ = true;
        Print("OpenAl: the sound output went away; reopening it");
    }
    if (!lost_ && !moved_) return;
    // Tries are spaced from the start of the last one.
    if (tried_ && nowMs - lastTryMs_ >= 0 && nowMs - lastTryMs_ < kRetryMs) return;
    tried_ = true;
    lastTryMs_ = nowMs;
    StartAttempt();
}

// A few times a second at most; a clock that went back checks at once.
bool PlAudio::CheckDue(int nowMs) {
    int64_t since = nowMs - lastCheckMs_;
    if (checked_ && since >= 0 && since < kCheckMs) return false;
    checked_ = true;
    lastCheckMs_ = nowMs;
    return true;
}

void PlAudio::StartAttempt() {
    if (worker_.joinable()) worker_.join();  // the last close, long done
    auto attempt = std::make_shared<OutputAttempt>();
    attempt->inPlace = canReopen_;
    if (canReopen_) attempt->device = device_;
    std::shared_ptr<AlcCalls> calls = calls_;
    try {
        worker_ = std::thread([attempt, calls] { attempt->Run(*calls); });
    } catch (const std::system_error&) {
        return;  // no thread to be had now; tried again a second later
    }
    attempt_ = std::move(attempt);
}

void PlAudio::FinishAttempt() {
    worker_.join();
    std::shared_ptr<OutputAttempt> attempt = std::move(attempt_);
    if (!attempt->ok) {
        // A change of default that could not be followed leaves the sound where it is.
        if (!lost_) moved_ = false;
        return;
    }
    if (!attempt->inPlace) AdoptDevice(attempt->device, attempt->context);
    if (lost_) Print("OpenAl: the sound output is back");
    lost_ = moved_ = false;
    RestoreChannels();
}

// The old context's sources and the old device's buffers go with them; the
// channels keep everything else, and samples are put into new buffers as
// they are played.
void PlAudio::AdoptDevice(ALCdevice* device, ALCcontext* context) {
    ALCdevice* oldDevice = device_;
    ALCcontext* oldContext = context_;
    for (AudioChannel& channel : channels_) channel.source = 0;
    DiscardedBuffers().clear();
    device_ = device;
    context_ = context;
    contextTried_ = true;
    if (!calls_->MakeCurrent(context_)) Print("OpenAl error: alcMakeContextCurrent failed");
    alDistanceModel(AL_NONE);
    TakeNewGeneration();
    CloseLater(oldDevice, oldContext);
}

// Closing a device waits for its mixer thread: off the frame loop too.
void PlAudio::CloseLater(ALCdevice* device, ALCcontext* context) {
    std::shared_ptr<AlcCalls> calls = calls_;
    auto close = [calls, device, context] {
        if (context) calls->DestroyContext(context);
        if (device) calls->Close(device);
    };
    try {
        worker_ = std::thread(close);
    } catch (const std::system_error&) {
        close();
    }
}

// Sounds cut off with the output are not heard later; looping ones start
// again (or at Resume while suspended), and paused ones wait for their resume.
void PlAudio::RestoreChannels() {
    for (int i = 0; i < kChannels; ++i) {
        AudioChannel& c = channels_[i];
        if (c.state == 0 || !c.sample) continue;
        uint32_t source = SourceOf(i);
        int state = SourceState(i);
        if (state == AL_PLAYING || state == AL_PAUSED) continue;  // it kept going
        if (c.state == 1 && c.flags == 0) {
            EndChannel(c);
            continue;
        }
        uint32_t buffer = BufferOf(*c.sample);
        if (source == 0 || buffer == 0) {
            EndChannel(c);
            continue;
        }
        alSourcei(source, AL_BUFFER, ALint(buffer));
        alSourcei(source, AL_LOOPING, c.flags != 0 ? AL_TRUE : AL_FALSE);
        if (c.state == 1 && !suspended_) alSourcePlay(source);
    }
}

// A close still running is waited for. An open in flight when the device goes
// away finishes on its own and closes what it opened; a reopen in place works
// on this device, so it is waited for.
void PlAudio::EndAttempt() {
    if (!attempt_) {
        if (worker_.joinable()) worker_.join();
        return;
    }
    int running = OutputAttempt::kRunning;
    if (!attempt_->inPlace &&
        attempt_->phase.compare_exchange_strong(running, OutputAttempt::kAbandoned)) {
        worker_.detach();
    } else {
        worker_.join();
        if (!attempt_->inPlace) attempt_->Release(*calls_);
    }
    attempt_.reset();
}
