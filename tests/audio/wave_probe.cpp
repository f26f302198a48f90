// Opens the audio device, plays a short tone on channel 0 until it ends and
// closes the device. Run with OpenAL Soft's wave writer to capture the mix.
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <thread>

#include "audio/audio.h"
#include "platform/platform_game.h"

int main() {
    PlAudio audio;
    const int hertz = 22050, frames = hertz / 4;
    DecodedAudio pcm;
    pcm.data.reset(static_cast<uint8_t*>(malloc(size_t(frames) * 2)));
    auto* samples = reinterpret_cast<int16_t*>(pcm.data.get());
    for (int i = 0; i < frames; ++i) samples[i] = int16_t(12000 * std::sin(i * 0.125));
    pcm.length = frames;
    pcm.channels = 1;
    pcm.format = 2;
    pcm.hertz = hertz;
    auto sample = audio.FillSample(std::make_shared<PlSample>(), pcm);
    audio.StartSample(sample, 0, 0);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (audio.ChannelStatus(0) != 0 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    // Also touch every channel operation once, so a missing device is exercised.
    audio.SetPan(1, 1);
    audio.PauseChannel(0);
    audio.Suspend();
    audio.Resume();
    return audio.ChannelStatus(0) == 0 ? 0 : 3;
}
