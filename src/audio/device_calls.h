// The few device calls the audio device makes, behind one seam: OpenAL's own
// here, a fake in tests, since an output that goes away (headphones pulled, a
// sound server restarted) is something no test machine can do on cue.
#pragma once

#include <AL/alc.h>

#include <memory>

class AlcCalls {
  public:
    virtual ~AlcCalls() = default;
    // Opening, reopening and closing may run on a worker thread, since a sound
    // server can take a tenth of a second to answer.
    virtual ALCdevice* OpenDefault() = 0;
    virtual ALCcontext* CreateContext(ALCdevice* device) = 0;
    virtual void DestroyContext(ALCcontext* context) = 0;
    virtual void Close(ALCdevice* device) = 0;
    virtual bool MakeCurrent(ALCcontext* context) = 0;

    // Whether the device can say that its output went away, and whether it did.
    virtual bool ReportsLoss(ALCdevice* device) = 0;
    virtual bool Connected(ALCdevice* device) = 0;
    // Moves the device onto the default output, keeping its contexts, sources
    // and buffers; only where the device can (CanReopen).
    virtual bool CanReopen(ALCdevice* device) = 0;
    virtual bool Reopen(ALCdevice* device) = 0;
    // Asks to hear when the system's default output changes; false where it
    // cannot. DefaultOutputChanged reports a change once.
    virtual bool WatchDefaultOutput() = 0;
    virtual bool DefaultOutputChanged() = 0;
};

std::shared_ptr<AlcCalls> MakeOpenAlCalls();
