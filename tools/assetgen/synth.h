// Building blocks for synthesised sounds: oscillators, noise, filters, envelopes, levels.
#pragma once

#include <cmath>
#include <vector>

#include "noise.h"

constexpr int kSampleRate = 44100;
constexpr float kTwoPi = 6.28318530717959f;
constexpr float kHalfTurn = 3.14159265358979f;

using Wave = std::vector<float>;

// Number of samples in `seconds`.
inline int Samples(float seconds) {
    return int(std::lround(seconds * kSampleRate));
}

// Exponential decay with time constant tau seconds.
inline float Decay(float t, float tau) {
    return std::exp(-t / tau);
}

// Linear rise over `attack` seconds, then 1.
inline float Attack(float t, float attack) {
    return attack > 0 ? std::min(1.0f, t / attack) : 1.0f;
}

// A sine whose frequency follows freq(t); keeps its phase continuous.
class Oscillator {
  public:
    // Next sample of a sine at `hz`.
    float Sine(float hz) {
        float v = std::sin(phase_ * kTwoPi);
        Step(hz);
        return v;
    }
    // Next sample of a triangle at `hz`.
    float Triangle(float hz) {
        float v = 4.0f * std::abs(phase_ - 0.5f) - 1.0f;
        Step(hz);
        return v;
    }
    // Next sample of a soft-edged square at `hz` (a clipped sine, so it does not alias much).
    float Square(float hz) {
        float v = std::tanh(std::sin(phase_ * kTwoPi) * 4.0f);
        Step(hz);
        return v;
    }
    // A band-limited sawtooth made of harmonics below 10 kHz.
    float Saw(float hz) {
        float v = 0;
        for (int h = 1; h * hz < 10000.0f && h <= 40; ++h) v += std::sin(phase_ * kTwoPi * h) / h;
        Step(hz);
        return v * 0.6f;
    }

  private:
    void Step(float hz) {
        phase_ += hz / kSampleRate;
        phase_ -= std::floor(phase_);
    }
    float phase_ = 0;
};

// RBJ biquad filter.
class Biquad {
  public:
    enum Kind { kLowPass, kHighPass, kBandPass };
    Biquad(Kind kind, float hz, float q) : kind_(kind) { Tune(hz, q); }
    // Changes the corner frequency, keeping the filter's state.
    void Tune(float hz, float q);
    float Process(float x) {
        float y = b0_ * x + b1_ * x1_ + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
        x2_ = x1_;
        x1_ = x;
        y2_ = y1_;
        y1_ = y;
        return y;
    }

  private:
    Kind kind_;
    float b0_ = 1, b1_ = 0, b2_ = 0, a1_ = 0, a2_ = 0;
    float x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

// Adds `src` times `gain` into `dst` starting at sample `offset`, growing dst if needed.
void MixInto(Wave& dst, const Wave& src, int offset, float gain);

// Short fades at both ends so a sound starts and stops without a click.
void FadeEdges(Wave& wave, float inSeconds, float outSeconds);

// Scales the sound so its loudest 50 ms reach `targetRms`, without peaks above `peakLimit`.
void Normalise(Wave& wave, float targetRms, float peakLimit);

// Scales the sound so its largest sample is `peak`.
void NormalisePeak(Wave& wave, float peak);
