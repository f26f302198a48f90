// Sound effects and the music player's drum kits and instruments, all synthesised here.
#include "sounds.h"

#include <cstdio>
#include <filesystem>

#include "synth.h"
#include "wav.h"

namespace {

constexpr float kEffectLoudness = 0.24f;  // RMS of the loudest 50 ms of every effect
constexpr float kPeakLimit = 0.9f;

float TimeOf(int i) {
    return float(i) / kSampleRate;
}

// 1: a spider reached the centre — a harsh falling sting.
Wave HurtSting() {
    Wave w(Samples(0.42f));
    Oscillator a, b;
    Biquad tone(Biquad::kLowPass, 3200, 0.8f);
    Rng rng(101);
    for (size_t i = 0; i < w.size(); ++i) {
        float t = TimeOf(int(i));
        float hz = 180.0f + 460.0f * Decay(t, 0.09f);
        float v = a.Saw(hz) + 0.7f * b.Square(hz * 1.012f);
        v = std::tanh(v * 1.8f) + rng.Signed() * 0.6f * Decay(t, 0.02f);
        w[i] = tone.Process(v) * Attack(t, 0.004f) * Decay(t, 0.13f);
    }
    return w;
}

// 2: a toothpick thrown — a quick airy flick rising in pitch.
Wave Flick() {
    Wave w(Samples(0.15f));
    Biquad band(Biquad::kBandPass, 1500, 2.0f);
    Oscillator chirp;
    Rng rng(202);
    for (size_t i = 0; i < w.size(); ++i) {
        float t = TimeOf(int(i));
        band.Tune(1500.0f + 40000.0f * t, 2.0f);
        float air = band.Process(rng.Signed()) * 2.5f;
        float tone = chirp.Sine(700.0f + 9000.0f * t) * 0.35f;
        w[i] = (air + tone) * Attack(t, 0.003f) * Decay(t, 0.035f);
    }
    return w;
}

// 3: a spider hit — crunchy crackle over a wet downward squelch.
Wave Squish() {
    Wave w(Samples(0.3f));
    Biquad body(Biquad::kLowPass, 1400, 0.9f);
    Biquad crackleTone(Biquad::kBandPass, 2500, 1.2f);
    Oscillator squelch;
    Rng rng(303);
    float crackle = 0;
    for (size_t i = 0; i < w.size(); ++i) {
        float t = TimeOf(int(i));
        // Random sharp impulses, denser at the start: the crunch.
        if (rng.Float() < 0.012f * Decay(t, 0.06f) * 8.0f) crackle = rng.Signed() * 1.5f;
        crackle *= 0.93f;
        float crunch = crackleTone.Process(crackle + rng.Signed() * 0.15f) * Decay(t, 0.07f);
        float wobble = 1.0f + 0.15f * std::sin(kTwoPi * 28.0f * t);
        float wet = squelch.Sine((90.0f + 260.0f * Decay(t, 0.05f)) * wobble) * Decay(t, 0.09f);
        float mud = body.Process(rng.Signed()) * Decay(t, 0.05f) * 0.8f;
        w[i] = (crunch * 1.6f + wet * 0.9f + mud) * Attack(t, 0.002f);
    }
    return w;
}

// One knock of a small piece of wood: a few inharmonic modes that die fast.
Wave WoodKnock(float hz, float length, uint32_t seed) {
    Wave w(Samples(length));
    const float ratios[3] = {1.0f, 2.76f, 5.4f}, gains[3] = {1.0f, 0.5f, 0.25f},
                taus[3] = {0.035f, 0.022f, 0.012f};
    Oscillator modes[3];
    Rng rng(seed);
    for (size_t i = 0; i < w.size(); ++i) {
        float t = TimeOf(int(i));
        float v = rng.Signed() * 0.5f * Decay(t, 0.0015f);
        for (int m = 0; m < 3; ++m)
            v += modes[m].Sine(hz * ratios[m]) * gains[m] * Decay(t, taus[m]);
        w[i] = v * Attack(t, 0.0008f);
    }
    return w;
}

// 4: a toothpick dropped — a short wooden clatter of bounces.
Wave Clatter() {
    Wave w(Samples(0.36f), 0.0f);
    const float when[5] = {0.0f, 0.065f, 0.12f, 0.165f, 0.2f};
    const float pitch[5] = {980, 1240, 900, 1320, 1100};
    const float gain[5] = {1.0f, 0.7f, 0.5f, 0.35f, 0.22f};
    for (int k = 0; k < 5; ++k)
        MixInto(w, WoodKnock(pitch[k], 0.12f, 400 + k), Samples(when[k]), gain[k]);
    w.resize(Samples(0.36f));
    return w;
}

// 5: a toothpick picked up — a plucked string (Karplus-Strong).
Wave Pluck() {
    Wave w(Samples(0.32f));
    int period = int(std::lround(kSampleRate / 587.33f));
    std::vector<float> line(period);
    Rng rng(505);
    float last = 0;
    for (float& s : line) {
        last = last * 0.5f + rng.Signed() * 0.5f;  // softened pick
        s = last;
    }
    for (size_t i = 0; i < w.size(); ++i) {
        size_t k = i % period, next = (i + 1) % period;
        float v = line[k];
        line[k] = (line[k] + line[next]) * 0.5f * 0.996f;
        w[i] = v * Attack(TimeOf(int(i)), 0.001f);
    }
    return w;
}

// 6: a countdown tick — a bright, very short woodblock-like tick.
Wave Tick() {
    Wave w(Samples(0.07f));
    Oscillator a, b;
    for (size_t i = 0; i < w.size(); ++i) {
        float t = TimeOf(int(i));
        w[i] = (a.Sine(1900) + 0.4f * b.Sine(3150)) * Attack(t, 0.001f) * Decay(t, 0.012f);
    }
    return w;
}

// 7: time up — a gong: inharmonic partials with long, uneven decays.
Wave Gong() {
    Wave w(Samples(1.9f));
    const float ratios[7] = {1.0f, 1.47f, 2.09f, 2.56f, 3.18f, 4.12f, 5.43f};
    const float gains[7] = {1.0f, 0.7f, 0.55f, 0.4f, 0.3f, 0.2f, 0.12f};
    const float taus[7] = {0.75f, 0.6f, 0.45f, 0.38f, 0.3f, 0.22f, 0.15f};
    Oscillator partials[7];
    Biquad strike(Biquad::kLowPass, 900, 0.7f);
    Rng rng(707);
    for (size_t i = 0; i < w.size(); ++i) {
        float t = TimeOf(int(i));
        float shimmer = 1.0f + 0.003f * std::sin(kTwoPi * 3.5f * t);
        float v = strike.Process(rng.Signed()) * Decay(t, 0.03f) * 2.0f;
        for (int p = 0; p < 7; ++p)
            v += partials[p].Sine(130.0f * ratios[p] * shimmer) * gains[p] * Decay(t, taus[p]);
        w[i] = v * Attack(t, 0.006f);
    }
    return w;
}

// A bell note: near-harmonic partials, the higher ones fading sooner.
Wave Bell(float hz, float length) {
    Wave w(Samples(length));
    Oscillator a, b, c;
    for (size_t i = 0; i < w.size(); ++i) {
        float t = TimeOf(int(i));
        float v = a.Sine(hz) * Decay(t, 0.25f) + 0.35f * b.Sine(hz * 2.0f) * Decay(t, 0.12f) +
                  0.15f * c.Sine(hz * 3.01f) * Decay(t, 0.06f);
        w[i] = v * Attack(t, 0.002f);
    }
    return w;
}

// 95: a short two-note chime.
Wave Chime() {
    Wave w(Samples(0.75f), 0.0f);
    MixInto(w, Bell(1046.5f, 0.6f), 0, 1.0f);
    MixInto(w, Bell(1568.0f, 0.6f), Samples(0.11f), 0.8f);
    w.resize(Samples(0.75f));
    return w;
}

// 98: the menu click — a soft, round blip that still sounds right slowed to half speed.
Wave Click() {
    Wave w(Samples(0.07f));
    Oscillator a;
    for (size_t i = 0; i < w.size(); ++i) {
        float t = TimeOf(int(i));
        w[i] =
            a.Triangle(700.0f + 500.0f * Decay(t, 0.01f)) * Attack(t, 0.0015f) * Decay(t, 0.018f);
    }
    return w;
}

// 99: the credits swoosh — noise through a band that sweeps up and back down.
Wave Swoosh() {
    Wave w(Samples(0.6f));
    Biquad band(Biquad::kBandPass, 400, 1.4f);
    Rng rng(999);
    for (size_t i = 0; i < w.size(); ++i) {
        float t = TimeOf(int(i)), u = t / 0.6f;
        band.Tune(350.0f + 3200.0f * std::sin(kHalfTurn * std::pow(u, 0.7f)), 1.4f);
        float shape = std::pow(std::sin(kHalfTurn * u), 1.5f);
        w[i] = band.Process(rng.Signed()) * shape;
    }
    return w;
}

// ---- Drum kits ----

// A kick: a sine falling fast in pitch, with a click.
Wave Kick(float startHz, float endHz, float length, float drive) {
    Wave w(Samples(length));
    Oscillator o;
    for (size_t i = 0; i < w.size(); ++i) {
        float t = TimeOf(int(i));
        float hz = endHz + (startHz - endHz) * Decay(t, 0.035f);
        float v = o.Sine(hz) * Decay(t, length * 0.35f);
        w[i] = std::tanh(v * drive) * Attack(t, 0.001f);
    }
    return w;
}

// A snare: a short tone and a longer burst of bright noise.
Wave Snare(float toneHz, float noiseHz, float length, uint32_t seed) {
    Wave w(Samples(length));
    Oscillator o;
    Biquad hp(Biquad::kHighPass, noiseHz, 0.7f);
    Rng rng(seed);
    for (size_t i = 0; i < w.size(); ++i) {
        float t = TimeOf(int(i));
        float v = o.Sine(toneHz) * Decay(t, 0.05f) * 0.7f +
                  hp.Process(rng.Signed()) * Decay(t, length * 0.3f);
        w[i] = v * Attack(t, 0.001f);
    }
    return w;
}

// A hi-hat: metallic squares or plain noise through a high band.
Wave Hat(float length, bool metallic, uint32_t seed) {
    Wave w(Samples(length));
    const float freqs[6] = {205.3f, 304.4f, 369.6f, 522.7f, 540.0f, 800.0f};
    Oscillator osc[6];
    Biquad band(Biquad::kBandPass, 9000, 1.0f);
    Biquad hp(Biquad::kHighPass, 6500, 0.7f);
    Rng rng(seed);
    for (size_t i = 0; i < w.size(); ++i) {
        float t = TimeOf(int(i));
        float v = 0;
        if (metallic)
            for (int k = 0; k < 6; ++k) v += osc[k].Square(freqs[k] * 2.0f) * 0.3f;
        else
            v = rng.Signed();
        w[i] = hp.Process(band.Process(v)) * Decay(t, length * 0.28f) * Attack(t, 0.0008f);
    }
    return w;
}

// A tom: a pitched sine sliding down a little.
Wave Tom(float hz, float length, bool fm) {
    Wave w(Samples(length));
    Oscillator o, mod;
    for (size_t i = 0; i < w.size(); ++i) {
        float t = TimeOf(int(i));
        float f = hz * (1.0f + 0.4f * Decay(t, 0.04f));
        if (fm) f *= 1.0f + 0.3f * mod.Sine(f * 1.41f) * Decay(t, 0.05f);
        w[i] = o.Sine(f) * Decay(t, length * 0.3f) * Attack(t, 0.001f);
    }
    return w;
}

// A hand clap: three quick bursts of band-passed noise, then a tail.
Wave Clap(uint32_t seed) {
    Wave w(Samples(0.3f));
    Biquad band(Biquad::kBandPass, 1200, 1.5f);
    Rng rng(seed);
    for (size_t i = 0; i < w.size(); ++i) {
        float t = TimeOf(int(i));
        float burst = t < 0.03f ? Decay(std::fmod(t, 0.01f), 0.002f) : Decay(t - 0.03f, 0.06f);
        w[i] = band.Process(rng.Signed()) * burst * 3.0f * Attack(t, 0.0008f);
    }
    return w;
}

// A rim shot or cowbell: two pitched tones with a quick decay.
Wave Knock(float a, float b, float length) {
    Wave w(Samples(length));
    Oscillator x, y;
    for (size_t i = 0; i < w.size(); ++i) {
        float t = TimeOf(int(i));
        w[i] = (x.Square(a) + y.Square(b)) * 0.5f * Decay(t, length * 0.25f) * Attack(t, 0.0008f);
    }
    return w;
}

// A shaker: noise with a swelling and fading band.
Wave Shaker(uint32_t seed) {
    Wave w(Samples(0.16f));
    Biquad hp(Biquad::kHighPass, 5000, 0.7f);
    Rng rng(seed);
    for (size_t i = 0; i < w.size(); ++i) {
        float t = TimeOf(int(i)), u = t / 0.16f;
        w[i] = hp.Process(rng.Signed()) * std::sin(kHalfTurn * u) * std::sin(kHalfTurn * u);
    }
    return w;
}

// ---- Looping instruments ----

// A tone of exactly `cycles` periods at about `hz`: the sample loops without a seam.
// `partial(h)` gives the amplitude of harmonic h; a second voice one cycle sharper adds chorus.
template <class Partial>
Wave LoopTone(float hz, int cycles, Partial partial, float chorus) {
    int n = int(std::lround(cycles * kSampleRate / hz));
    Wave w(n);
    for (int voice = 0; voice < 2; ++voice) {
        int c = cycles + voice;
        float gain = voice ? chorus : 1.0f;
        for (int h = 1; h * hz < 9000.0f && h <= 40; ++h) {
            float amp = partial(h) * gain;
            if (amp == 0) continue;
            for (int i = 0; i < n; ++i)
                w[i] += amp * float(std::sin(double(kTwoPi) * double(h) * c * i / n));
        }
    }
    return w;
}

struct Named {
    const char* name;
    Wave wave;
};

bool WriteNamed(const std::filesystem::path& dir, const char* name, Wave wave) {
    std::filesystem::create_directories(dir);
    return WriteWav((dir / name).string(), wave, kSampleRate);
}

// A finished effect: normalised to the shared loudness, with clean ends.
Wave Finish(Wave w, float fadeOut = 0.01f) {
    Normalise(w, kEffectLoudness, kPeakLimit);
    FadeEdges(w, 0.002f, fadeOut);
    return w;
}

}  // namespace

bool WriteSounds(const std::string& dataDir) {
    std::filesystem::path sfx = std::filesystem::path(dataDir) / "sfx";
    bool ok = true;
    const std::pair<int, Wave> effects[] = {
        {1, Finish(HurtSting(), 0.04f)}, {2, Finish(Flick())},        {3, Finish(Squish(), 0.03f)},
        {4, Finish(Clatter(), 0.03f)},   {5, Finish(Pluck(), 0.05f)}, {6, Finish(Tick())},
        {7, Finish(Gong(), 0.25f)},      {95, Finish(Chime(), 0.1f)}, {98, Finish(Click())},
        {99, Finish(Swoosh(), 0.02f)},
    };
    for (const auto& [id, wave] : effects) {
        char name[16];
        std::snprintf(name, sizeof name, "%03d.wav", id);
        ok = WriteNamed(sfx, name, wave) && ok;
    }
    return ok;
}

bool WriteInstruments(const std::string& dataDir) {
    std::filesystem::path inst = std::filesystem::path(dataDir) / "inst";
    bool ok = true;
    // Kit 1: warm and acoustic; kit 2: hard and electronic. Both in the player's order.
    Wave kit1[8] = {Kick(140, 48, 0.4f, 1.2f),
                    Snare(190, 1800, 0.25f, 11),
                    Hat(0.06f, false, 12),
                    Hat(0.35f, false, 13),
                    Tom(95, 0.35f, false),
                    Tom(150, 0.3f, false),
                    Clap(14),
                    Knock(1700, 520, 0.05f)};
    Wave kit2[8] = {Kick(220, 42, 0.55f, 3.0f), Snare(240, 3200, 0.2f, 21),
                    Hat(0.05f, true, 22),       Hat(0.3f, true, 23),
                    Tom(120, 0.3f, true),       Tom(190, 0.25f, true),
                    Knock(540, 800, 0.12f),     Shaker(24)};
    for (int k = 0; k < 8; ++k) {
        char name[32];
        std::snprintf(name, sizeof name, "d1-%d.wav", k + 1);
        ok = WriteNamed(inst, name, Finish(kit1[k], 0.02f)) && ok;
        std::snprintf(name, sizeof name, "d2-%d.wav", k + 1);
        ok = WriteNamed(inst, name, Finish(kit2[k], 0.02f)) && ok;
    }
    // Melodic loops: no fades, since the player loops them and shapes notes itself.
    Wave lead = LoopTone(
        261.63f, 131, [](int h) { return (h % 2 ? 1.0f : 0.6f) / h; }, 0.5f);
    Wave accompany = LoopTone(
        261.63f, 131,
        [](int h) {
            const float organ[6] = {1.0f, 0.55f, 0.35f, 0.2f, 0.0f, 0.1f};
            return h <= 6 ? organ[h - 1] : 0.0f;
        },
        0.3f);
    Wave bass = LoopTone(
        65.41f, 33, [](int h) { return h <= 14 ? 1.0f / std::pow(float(h), 1.4f) : 0.0f; }, 0.0f);
    NormalisePeak(lead, 0.7f);
    NormalisePeak(accompany, 0.6f);
    NormalisePeak(bass, 0.8f);
    ok = WriteNamed(inst, "lead1.wav", lead) && ok;
    ok = WriteNamed(inst, "accompany1.wav", accompany) && ok;
    ok = WriteNamed(inst, "bass1.wav", bass) && ok;
    return ok;
}
