// OpenAL's device calls. The reopen and system-event extensions are newer
// than some systems' OpenAL headers, so their entry points are looked up by
// name and their values written out here.
#include "audio/device_calls.h"

#include <atomic>

// The browser's OpenAL headers leave the calling convention out.
#ifndef ALC_APIENTRY
#define ALC_APIENTRY
#endif

namespace {

constexpr ALCenum kConnected = 0x313;              // ALC_EXT_disconnect
constexpr ALCenum kPlaybackDevice = 0x19D4;        // ALC_SOFT_system_events
constexpr ALCenum kDefaultDeviceChanged = 0x19D6;  // ALC_SOFT_system_events
constexpr ALCenum kEventSupported = 0x19D9;        // ALC_SOFT_system_events

using ReopenFn = ALCboolean(ALC_APIENTRY*)(ALCdevice*, const ALCchar*, const ALCint*);
using EventFn = void(ALC_APIENTRY*)(ALCenum, ALCenum, ALCdevice*, ALCsizei, const ALCchar*, void*);
using EventSupportedFn = ALCenum(ALC_APIENTRY*)(ALCenum, ALCenum);
using EventControlFn = ALCboolean(ALC_APIENTRY*)(ALCsizei, const ALCenum*, ALCboolean);
using EventCallbackFn = void(ALC_APIENTRY*)(EventFn, void*);

// Set on OpenAL's event thread; the callback is process-wide, so is the flag.
std::atomic<bool> defaultChanged{false};

void ALC_APIENTRY OnSystemEvent(ALCenum type, ALCenum deviceType, ALCdevice*, ALCsizei,
                                const ALCchar*, void*) noexcept {
    if (type == kDefaultDeviceChanged && deviceType == kPlaybackDevice) defaultChanged = true;
}

template <typename Fn>
Fn Lookup(ALCdevice* device, const char* name) {
    return reinterpret_cast<Fn>(alcGetProcAddress(device, name));
}

class OpenAlCalls : public AlcCalls {
  public:
    ALCdevice* OpenDefault() override { return alcOpenDevice(nullptr); }
    ALCcontext* CreateContext(ALCdevice* device) override {
        return alcCreateContext(device, nullptr);
    }
    void DestroyContext(ALCcontext* context) override { alcDestroyContext(context); }
    void Close(ALCdevice* device) override { alcCloseDevice(device); }
    bool MakeCurrent(ALCcontext* context) override { return alcMakeContextCurrent(context); }

    bool ReportsLoss(ALCdevice* device) override {
        return alcIsExtensionPresent(device, "ALC_EXT_disconnect");
    }
    // An answer it cannot give counts as connected.
    bool Connected(ALCdevice* device) override {
        ALCint connected = 1;
        alcGetIntegerv(device, kConnected, 1, &connected);
        return connected != 0;
    }
    bool CanReopen(ALCdevice* device) override {
        return alcIsExtensionPresent(device, "ALC_SOFT_reopen_device") &&
               Lookup<ReopenFn>(device, "alcReopenDeviceSOFT");
    }
    bool Reopen(ALCdevice* device) override {
        auto reopen = Lookup<ReopenFn>(device, "alcReopenDeviceSOFT");
        return reopen && reopen(device, nullptr, nullptr);
    }
    bool WatchDefaultOutput() override;
    bool DefaultOutputChanged() override { return defaultChanged.exchange(false); }
};

bool OpenAlCalls::WatchDefaultOutput() {
    if (!alcIsExtensionPresent(nullptr, "ALC_SOFT_system_events")) return false;
    auto supported = Lookup<EventSupportedFn>(nullptr, "alcEventIsSupportedSOFT");
    auto control = Lookup<EventControlFn>(nullptr, "alcEventControlSOFT");
    auto callback = Lookup<EventCallbackFn>(nullptr, "alcEventCallbackSOFT");
    if (!supported || !control || !callback) return false;
    if (supported(kDefaultDeviceChanged, kPlaybackDevice) != kEventSupported) return false;
    callback(OnSystemEvent, nullptr);
    return control(1, &kDefaultDeviceChanged, ALC_TRUE);
}

}  // namespace

std::shared_ptr<AlcCalls> MakeOpenAlCalls() {
    return std::make_shared<OpenAlCalls>();
}
