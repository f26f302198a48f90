// The sound effects one update asks for, in the order it asked. The core
// plays them in that order once the update's step is done, so the effect
// channels rotate exactly as if each had been played on the spot.
#pragma once

#include <array>
#include <cstdint>

struct SoundCue {
    int id;
    float rate, volume, pan;
};

// Effects are heard in sound modes 1 and 2 (3 is music only, 0 silence).
constexpr bool EffectsOn(int soundMode) {
    return soundMode == 1 || soundMode == 2;
}

class SoundCues {
  public:
    // A match update asks for at most one sound per field record and a handful
    // more (throw, pick-up, centre hit, tick, time-up, panel clicks).
    static constexpr int kCapacity = 256;

    explicit SoundCues(const int32_t& soundMode) : soundMode_(soundMode) {}

    // The mode is read when the cue is made, as the sound would have been
    // played then: a click after the sound was switched off stays silent.
    void Cue(int id, float rate, float volume, float pan) {
        if (!EffectsOn(soundMode_) || count_ >= kCapacity) return;
        cues_[static_cast<size_t>(count_++)] = {id, rate, volume, pan};
    }
    int Count() const { return count_; }
    const SoundCue& operator[](int i) const { return cues_[static_cast<size_t>(i)]; }
    void Clear() { count_ = 0; }

  private:
    const int32_t& soundMode_;
    std::array<SoundCue, kCapacity> cues_{};
    int count_ = 0;
};
