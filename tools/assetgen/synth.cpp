#include "synth.h"

#include <algorithm>

void Biquad::Tune(float hz, float q) {
    float w = kTwoPi * std::clamp(hz, 10.0f, kSampleRate * 0.45f) / kSampleRate;
    float cw = std::cos(w), alpha = std::sin(w) / (2.0f * q);
    float a0 = 1.0f + alpha;
    switch (kind_) {
        case kLowPass:
            b0_ = (1 - cw) / 2;
            b1_ = 1 - cw;
            b2_ = (1 - cw) / 2;
            break;
        case kHighPass:
            b0_ = (1 + cw) / 2;
            b1_ = -(1 + cw);
            b2_ = (1 + cw) / 2;
            break;
        case kBandPass:
            b0_ = alpha;
            b1_ = 0;
            b2_ = -alpha;
            break;
    }
    b0_ /= a0;
    b1_ /= a0;
    b2_ /= a0;
    a1_ = -2 * cw / a0;
    a2_ = (1 - alpha) / a0;
}

void MixInto(Wave& dst, const Wave& src, int offset, float gain) {
    if (dst.size() < src.size() + offset) dst.resize(src.size() + offset, 0.0f);
    for (size_t i = 0; i < src.size(); ++i) dst[i + offset] += src[i] * gain;
}

void FadeEdges(Wave& wave, float inSeconds, float outSeconds) {
    int n = int(wave.size());
    int in = std::min(n, Samples(inSeconds)), out = std::min(n, Samples(outSeconds));
    // Raised-cosine ramps: smooth at both ends, reaching exactly zero at the file's edges.
    for (int i = 0; i < in; ++i) wave[i] *= 0.5f - 0.5f * std::cos(kTwoPi * 0.5f * i / in);
    for (int i = 0; i < out; ++i)
        wave[n - 1 - i] *= 0.5f - 0.5f * std::cos(kTwoPi * 0.5f * i / out);
}

void Normalise(Wave& wave, float targetRms, float peakLimit) {
    size_t window = std::min(wave.size(), size_t(Samples(0.05f)));
    double loudest = 0, sum = 0;
    float peak = 0;
    for (size_t i = 0; i < wave.size(); ++i) {
        sum += double(wave[i]) * wave[i];
        if (i >= window) sum -= double(wave[i - window]) * wave[i - window];
        // Only whole windows count, so a single sharp first sample cannot pass for loudness.
        if (i + 1 >= window) loudest = std::max(loudest, sum / double(window));
        peak = std::max(peak, std::abs(wave[i]));
    }
    if (loudest <= 0 || peak <= 0) return;
    float gain = std::min(targetRms / float(std::sqrt(loudest)), peakLimit / peak);
    for (float& s : wave) s *= gain;
}

void NormalisePeak(Wave& wave, float peak) {
    float top = 0;
    for (float s : wave) top = std::max(top, std::abs(s));
    if (top > 0)
        for (float& s : wave) s *= peak / top;
}
