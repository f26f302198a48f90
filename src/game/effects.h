// The sound effects: what the screens cued, played in order over the rotating
// effect channels, from the loaded sound table.
#pragma once

#include "game/game_state.h"
#include "game/play/sound_cues.h"

class PlAudio;

class EffectPlayer {
  public:
    EffectPlayer(Media& media, SoundCues& cues) : media_(media), cues_(cues) {}

    // Plays an effect now, after whatever the update has cued before it.
    // Without an audio device the channels still turn and nothing sounds.
    int PlaySfx(PlAudio* audio, int id, float rate, float volume, float pan);
    // Plays the cued effects in order and clears the cues.
    void PlayCues(PlAudio* audio);

  private:
    void PlayEffect(PlAudio* audio, const SoundCue& cue);

    Media& media_;
    SoundCues& cues_;
};
