// A small deterministic synthesizer: band-limited oscillators, a noise
// source, envelopes, pitch sweeps, filters, and WAV output.
//
// Everything runs at 44.1 kHz on float samples in -1..1. Randomness comes
// from a seeded generator, so a recipe always renders the same samples.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

constexpr int kRate = 44100;
constexpr double kTau = 6.283185307179586;

using Buffer = std::vector<float>;

// Seeded noise source.
class Rng {
  public:
    explicit Rng(uint32_t seed) : s_(seed * 2654435761u + 1u) {}
    uint32_t next() {
        s_ ^= s_ << 13;
        s_ ^= s_ >> 17;
        s_ ^= s_ << 5;
        return s_;
    }
    float uniform() { return float(next() >> 8) / 16777216.0f; }  // [0, 1)
    float bipolar() { return uniform() * 2.0f - 1.0f; }           // [-1, 1)

  private:
    uint32_t s_;
};

enum class Wave { Sine, Triangle, Saw, Square };

// An oscillator with a running phase; frequency may change every sample.
// Saw and square are band-limited with polyBLEP corrections.
class Osc {
  public:
    // A triangle starts a quarter period in, where its integrator state of 0 is
    // the middle of the wave (no DC offset).
    explicit Osc(Wave w, double phase = 0)
        : wave_(w), phase_(std::fmod(w == Wave::Triangle ? phase + 0.25 : phase, 1.0)) {}
    float next(double freq);

  private:
    Wave wave_;
    double phase_;
    float triState_ = 0;
};

// One-pole low-pass / high-pass.
class OnePole {
  public:
    float lowpass(float x, float cutoff) {
        if (cutoff != cutoff_) {  // the coefficient is recomputed only when the cutoff moves
            cutoff_ = cutoff;
            a_ = 1.0f - std::exp(float(-kTau) * cutoff / kRate);
        }
        y_ += a_ * (x - y_);
        return y_;
    }
    float highpass(float x, float cutoff) { return x - lowpass(x, cutoff); }

  private:
    float y_ = 0, cutoff_ = -1, a_ = 0;
};

// State-variable filter (Chamberlin, oversampled twice for stability).
class Svf {
  public:
    struct Out {
        float low, band, high;
    };
    Out run(float x, float cutoff, float q);

  private:
    float low_ = 0, band_ = 0;
    float cutoff_ = -1, f_ = 0;  // cached coefficient for the last cutoff
};

// Attack/decay envelope: linear rise over `attack` seconds, then an
// exponential fall with time constant `decay`; 0 after `length`, with a short
// linear tail so it never ends on a jump.
float envAD(double t, double attack, double decay, double length);

// Exponential glide from f0 to f1 over `time` seconds, then held.
inline double glide(double t, double f0, double f1, double time) {
    if (t >= time) return f1;
    return f0 * std::pow(f1 / f0, t / time);
}

inline double noteHz(double midi) {
    return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0);
}

// Scales a mono buffer to a target RMS loudness (over its loud part) without
// letting the peak exceed `peakLimit`, then fades the ends so it starts and
// stops at silence.
void finishEffect(Buffer& b, float targetRms, float peakLimit);

// 16-bit PCM WAV writers; samples are clamped so none reaches full scale.
bool writeWavMono(const std::string& path, const Buffer& b);
// Converts a float sample to 16 bits, never at full scale (|s| <= 32000).
int16_t toPcm16(float x);

}  // namespace assetgen
