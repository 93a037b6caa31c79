// Oscillators, filters, envelopes, loudness and WAV output.
#include "synth.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace assetgen {
namespace {

// polyBLEP residual for a discontinuity at phase 0 (t in [0,1), dt = step).
float polyBlep(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return float(t + t - t * t - 1.0);
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return float(t * t + t + t + 1.0);
    }
    return 0.0f;
}

void put16(FILE* f, uint16_t v) {
    uint8_t b[2] = {uint8_t(v), uint8_t(v >> 8)};
    std::fwrite(b, 1, 2, f);
}
void put32(FILE* f, uint32_t v) {
    uint8_t b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
    std::fwrite(b, 1, 4, f);
}

}  // namespace

float Osc::next(double freq) {
    double dt = std::min(freq / kRate, 0.5);
    double t = phase_;
    float out = 0.0f;
    switch (wave_) {
        case Wave::Sine:
            out = float(std::sin(kTau * t));
            break;
        case Wave::Saw:
            out = float(2.0 * t - 1.0) - polyBlep(t, dt);
            break;
        case Wave::Square:
        case Wave::Triangle: {
            float sq = t < 0.5 ? 1.0f : -1.0f;
            sq += polyBlep(t, dt);
            sq -= polyBlep(std::fmod(t + 0.5, 1.0), dt);
            if (wave_ == Wave::Square) {
                out = sq;
                break;
            }
            // Leaky integration of the band-limited square gives a clean triangle.
            triState_ = float(dt * 4.0) * sq + (1.0f - float(dt) * 0.05f) * triState_;
            out = triState_;
            break;
        }
    }
    phase_ += dt;
    if (phase_ >= 1.0) phase_ -= 1.0;
    return out;
}

Svf::Out Svf::run(float x, float cutoff, float q) {
    if (cutoff != cutoff_) {
        cutoff_ = cutoff;
        f_ = 2.0f * std::sin(float(kTau / 2) * std::min(cutoff, kRate * 0.2f) / (2.0f * kRate));
    }
    float f = f_;
    float damp = 1.0f / std::max(q, 0.5f);
    Out o{};
    for (int i = 0; i < 2; ++i) {
        low_ += f * band_;
        float high = x - low_ - damp * band_;
        band_ += f * high;
        o = {low_, band_, high};
    }
    return o;
}

float envAD(double t, double attack, double decay, double length) {
    if (t < 0 || t >= length) return 0.0f;
    double a = attack > 0 ? std::min(1.0, t / attack) : 1.0;
    double d = t > attack ? std::exp(-(t - attack) / decay) : 1.0;
    const double tail = 0.004;
    double end = std::min(1.0, (length - t) / tail);
    return float(a * d * end);
}

void finishEffect(Buffer& b, float targetRms, float peakLimit) {
    if (b.empty()) return;
    float peak = 0;
    for (float s : b) peak = std::max(peak, std::fabs(s));
    if (peak <= 0) return;
    // RMS over the samples within 30 dB of the peak: the audible body of the sound.
    double sum = 0;
    size_t n = 0;
    for (float s : b)
        if (std::fabs(s) > peak * 0.03f) sum += double(s) * s, ++n;
    float rms = n ? float(std::sqrt(sum / n)) : peak;
    float gain = std::min(targetRms / rms, peakLimit / peak);
    for (float& s : b) s *= gain;
    // Fades: 2 ms in, 8 ms out, so the first and last samples are silent.
    size_t in = std::min(b.size(), size_t(kRate * 0.002)), out = std::min(b.size(), size_t(kRate * 0.008));
    for (size_t i = 0; i < in; ++i) b[i] *= float(i) / in;
    for (size_t i = 0; i < out; ++i) b[b.size() - 1 - i] *= float(i) / out;
}

int16_t toPcm16(float x) {
    float v = std::clamp(x, -1.0f, 1.0f) * 32000.0f;
    return int16_t(std::lround(v));
}

bool writeWavMono(const std::string& path, const Buffer& b) {
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    uint32_t bytes = uint32_t(b.size() * 2);
    std::fwrite("RIFF", 1, 4, f);
    put32(f, 36 + bytes);
    std::fwrite("WAVEfmt ", 1, 8, f);
    put32(f, 16);
    put16(f, 1);  // integer PCM
    put16(f, 1);  // mono
    put32(f, kRate);
    put32(f, kRate * 2);  // bytes per second
    put16(f, 2);          // block align
    put16(f, 16);         // bits per sample
    std::fwrite("data", 1, 4, f);
    put32(f, bytes);
    for (float s : b) put16(f, uint16_t(toPcm16(s)));
    bool ok = std::ferror(f) == 0;
    return std::fclose(f) == 0 && ok;
}

}  // namespace assetgen
