#include "game/effects.h"

#include "audio/audio.h"

namespace {

constexpr int kEffectChannels = 24;

}  // namespace

// Through the cues, so an effect played on the spot never overtakes one cued before it.
int EffectPlayer::PlaySfx(PlAudio* audio, int id, float rate, float volume, float pan) {
    cues_.Cue(id, rate, volume, pan);
    PlayCues(audio);
    return 0;
}

void EffectPlayer::PlayCues(PlAudio* audio) {
    for (int i = 0; i < cues_.Count(); i++) PlayEffect(audio, cues_[i]);
    cues_.Clear();
}

// Effects rotate over channels 0..23, so a new one cuts off the oldest.
void EffectPlayer::PlayEffect(PlAudio* audio, const SoundCue& cue) {
    media_.sfxChannel = (media_.sfxChannel + 1) % kEffectChannels;
    if (media_.sfxChannel < 0 || media_.sfxChannel > 31) media_.sfxChannel = 0;
    if (!audio) return;
    int channel = media_.channelIds[media_.sfxChannel];
    audio->StopChannel(channel);
    int id = cue.id;
    c_Sound* sound = id >= 0 && id < Media::kSounds ? media_.soundTable[id].get() : nullptr;
    if (sound && sound->sample) audio->StartSample(sound->sample, channel, 0);
    audio->SetRate(channel, cue.rate);
    audio->SetVolume(channel, cue.volume);
    audio->SetPan(channel, cue.pan);
}
