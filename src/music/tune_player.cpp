// The sequencer: steps through the patterns on the platform clock, plays the
// cells on the audio channels and draws a new arrangement at each section.
#include "music/tune_player.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "audio/audio.h"
#include "core/random.h"
#include "graphics/image.h"
#include "platform/views.h"

namespace {

constexpr int kSteps = 64;
constexpr int kPatterns = 64;
constexpr int kMaxTracks = 8;
constexpr int kEffectBreak = 8;
constexpr int kEffectSwitch = 27;
// A due time this far ahead of the clock means the clock jumped back; one this
// far behind means the music was held off or the program stalled. Either way
// the beat restarts from now, instead of racing one step per frame.
constexpr int64_t kClockJumpMs = 123456;
constexpr int64_t kMaxLagMs = 1000;

// Drum sample for a note: the white keys from the sample's own pitch upward.
constexpr std::array<int, 8> kDrumNotes = {13, 15, 17, 18, 20, 22, 24, 25};

int DrumIndex(int note) {
    for (size_t i = 0; i < kDrumNotes.size(); i++)
        if (kDrumNotes[i] == note) return static_cast<int>(i) + 1;
    return 0;
}

// Seeds the shared generator as the arrangement needs (32-bit wrap-around).
void Reseed(int64_t value) {
    SeedRandom(static_cast<int32_t>(static_cast<uint32_t>(value)));
}

}  // namespace

c_TunePlayer::c_TunePlayer(GameClock* clock) : song(kSongSize, 0), clock_(clock) {}

int c_TunePlayer::Now() const {
    return clock_ ? clock_->ElapsedMs() : 0;
}
c_TunePlayer::~c_TunePlayer() = default;

void c_TunePlayer::PlaySound(c_Sound* sound, int channel, int flags) {
    StartSound(sound, channel, flags);
}
void c_TunePlayer::StopChannel(int channel) {
    ::StopChannel(channel);
}
void c_TunePlayer::AdjustVolume(int channel, float v) {
    AdjustChannelVolume(channel, v);
}
void c_TunePlayer::AdjustPan(int channel, float pan) {
    AdjustChannelPan(channel, pan);
}
void c_TunePlayer::AdjustRate(int channel, float r) {
    AdjustChannelRate(channel, r);
}

int c_TunePlayer::Tracks() const {
    return std::clamp(trackCount, 0, kMaxTracks);
}

c_TunePlayer::Cell c_TunePlayer::CellAt(int p, int t, int s) const {
    if (p < 0 || p >= kPatterns || t < 0 || t >= kMaxTracks || s < 0 || s >= kSteps) return {};
    const int at = SongIndex(p, t, s, 0);
    return {song[at], song[at + 1], song[at + 2], song[at + 3]};
}

int c_TunePlayer::Configure(int base, int s1, int s2, int s3, int s4) {
    baseChannel = base;
    style[1] = s1;
    style[2] = s2;
    style[3] = s3;
    style[4] = s4;
    return 0;
}

int c_TunePlayer::StopAll(int reset) {
    for (int t = 0; t < Tracks(); t++) {
        if (channel[t] > 0 && sounding[t] == 1) {
            StopChannel(channel[t]);
            sounding[t] = 0;
        }
    }
    if (reset == 1) state = 0;
    return 0;
}

int c_TunePlayer::RandomInt(float low, float high) {
    return ::RandomInt(low, high);
}

int c_TunePlayer::PlayCell(int t, int note, int vol, int effect, int param) {
    if (t < 0 || t >= kMaxTracks) return 0;
    int silent = muted[t];
    // A track that comes in with the next section plays the last 8 steps before it.
    if (state > 1 && sectionLeft < 2 && step > 55 && leadIn[t] == 1 && nextMuted[t] == 0)
        silent = 0;
    rootRatio = 1;
    if (state > 1 && !progression.empty()) rootRatio = KeyRatio(progression[0]);
    for (int u = 0; u < Tracks(); u++) channel[u] = baseChannel - u - 1;

    const bool drum = t == 0 || t == 1;
    if (drum && note > 0 && !silent && channel[t] > 0) {
        StopChannel(channel[t]);
        const int index = DrumIndex(note);
        const auto& kit = t == 0 ? drumsA : drumsB;
        if (index > 0 && kit[index]) {
            sounding[t] = 1;
            PlaySound(kit[index].get(), channel[t], 0);
            AdjustPan(channel[t], t == 0 ? -0.35f : 0.35f);
        }
        rate[t] = 1.0f;
        envelope[t] = 4.0f;
    }

    // Volume: 1..30 set a level, 31 cuts the track.
    float v = (vol - 1) / 29.0f;
    if (v > 1) {
        v = 0;
        envelope[t] = 0;
    }
    if (v < 0) v = 0;
    if (vol > 0 && channel[t] > 0 && !silent) {
        envelope[t] = 1.5f;
        AdjustVolume(channel[t], volume * v);
        level[t] = v;
    }

    // Envelope: hold while above 1, then fade the level step by step.
    float g = level[t];
    envelope[t] = std::max(0.0f, envelope[t] - 0.1f);
    if (envelope[t] < 1) {
        g *= envelope[t];
        if (channel[t] > 0) {
            AdjustVolume(channel[t], volume * g);
            level[t] = g;
        }
    }

    const bool melodic = t >= 2 && t <= 4;
    if (melodic && note > 0) {
        if (silent) return 0;
        if (channel[t] > 0) {
            StopChannel(channel[t]);
            const float r = rootRatio * NoteRatio(note);
            rate[t] = r;
            envelope[t] = 1.5f;
            AdjustRate(channel[t], r);
            if (instruments[t]) {
                sounding[t] = 1;
                PlaySound(instruments[t].get(), channel[t], 1);
            }
        }
    } else if (silent) {
        return 0;
    }
    if (channel[t] < 1) return 0;

    // Slides on the track's rate.
    switch (effect) {
        case 1:
            rate[t] = std::min(4.0f, rate[t] + param / 180.0f);
            break;
        case 2:
            rate[t] = std::max(0.25f, rate[t] - param / 180.0f);
            break;
        case 3:
            rate[t] = std::min(4.0f, rate[t] + param / 15.0f);
            break;
        case 4:
            rate[t] = std::max(0.25f, rate[t] - param / 15.0f);
            break;
        default:
            return 0;
    }
    AdjustRate(channel[t], rate[t]);
    return 0;
}

int c_TunePlayer::Step() {
    const int64_t now = Now();
    if (now <= nextStepTime && nextStepTime <= now + kClockJumpMs) return 0;
    if (nextStepTime > now + kClockJumpMs || nextStepTime < now - kMaxLagMs)
        nextStepTime = static_cast<int>(now);

    for (int t = 0; t < Tracks(); t++) {
        Cell cell = CellAt(pattern[t], t, step);
        if (cell.effect == kEffectSwitch && state == 2) {
            int to = pattern[t];
            if (cell.parameter == 1 && sectionLeft % 2 != 0) to += 1;
            if (cell.parameter == 2 && sectionLeft % 2 == 0) to -= 1;
            if (to >= 0 && to < kPatterns) pattern[t] = to;
            cell = CellAt(pattern[t], t, step);
        }
        PlayCell(t, cell.note, cell.volume, cell.effect, cell.parameter);
        if (cell.effect == kEffectBreak) step = kSteps - 1;
    }

    // The step length is taken in single precision (84 ms at tempo 95); the sum
    // in double so the beat keeps its length however long the clock has run.
    const float length = (1.0f / static_cast<float>(std::max(tempo, 1))) * 8000.0f;
    nextStepTime = static_cast<int>(std::trunc(static_cast<double>(nextStepTime) + length));

    step = (step + 1) % kSteps;
    if (step == 0) NewPattern();
    return 0;
}

// A new pattern: the next chord root, and a new section when this one is used up.
void c_TunePlayer::NewPattern() {
    Reseed(int64_t{section} * 9 + songSeed);
    for (int i = 0; i < 16; i++) RandomInt(1, 5);
    if (progression.size() == 1) progression = u" " + ProgressionFor(RandomInt(0, 4));
    if (progression.size() > 1) progression.erase(0, 1);
    sectionLeft -= 1;
    if (sectionLeft >= 1) return;
    NewSection();
}

// A new section of 2 or 4 patterns; each track draws its pattern and muting
// from a seed of its own, so the same song seed always gives the same piece.
void c_TunePlayer::NewSection() {
    Reseed(int64_t{section} * 9 + songSeed);
    for (int i = 0; i < 11; i++) RandomInt(1, 5);
    const int n = RandomInt(1, 2);
    section += 1;
    sectionLeft = 2 * n;
    for (int t = 0; t < Tracks(); t++) {
        Reseed(int64_t{t} * 7 + int64_t{section} * 9 + songSeed);
        for (int i = 0; i < 11; i++) RandomInt(1, 5);
        pattern[t] = RandomInt(0, static_cast<float>(lastPattern[t]));
        if (state > 1) muted[t] = nextMuted[t];
        nextMuted[t] = RandomInt(0, 1);
        leadIn[t] = RandomInt(0, 1);
    }
    // The two drum tracks are never both silent.
    if (state > 1 && muted[0] == 1 && muted[1] == 1) muted[0] = 0;
}

int c_TunePlayer::Update(int paused, int on) {
    if (state == 0) StopAll(0);
    if (state == 2 && loadCounter == 0 && paused == 0) {
        if (on == 1) Step();
    } else if (paused == 1) {
        // The song holds while paused and resumes 150 ms after the pause ends.
        nextStepTime = Now() + 150;
    }
    if (state == 2 && (paused == 1 || on == 0)) StopAll(0);
    return 0;
}
