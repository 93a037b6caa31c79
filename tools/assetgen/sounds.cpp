// The 35 sound effects, each a short recipe for the synthesizer.
//
//   1..10   a follower lost: falling rubbery squeaks, ten voicings
//   11..20  a follower home: bright rising blips on a pentatonic scale
//   21..25  first half of a zap: electric crackle over a buzzing arc
//   26..30  second half of a zap: low thumps
//   31      pickup: a sparkling bell arpeggio
//   95      a soft whoosh
//   96      a four-note jingle
//   98      cancel / back / pause: a soft falling two-tone
//   99      select: a crisp tick
// Every effect is normalised to about the same loudness and faded at its
// ends; no sample reaches full scale.
#include <algorithm>

#include "sounds.h"
#include "synth.h"

namespace assetgen {
namespace {

Buffer makeBuffer(double seconds) {
    return Buffer(size_t(seconds * kRate), 0.0f);
}

// Follower lost: a short upward flick, then a long fall; variant 0..9 changes
// pitch, length, timbre and wobble.
Buffer lostSqueak(int v) {
    double f0 = 1250 + 110 * v + (v % 3) * 60;
    double fEnd = f0 * (0.32 + 0.03 * (v % 4));
    double len = 0.17 + 0.012 * ((v * 7) % 10);
    Buffer b = makeBuffer(len);
    Osc body(v % 3 == 2 ? Wave::Triangle : Wave::Sine), edge(Wave::Saw);
    OnePole tone;
    double wobbleHz = 22 + 3 * v, wobble = 0.025 + 0.004 * (v % 5);
    for (size_t i = 0; i < b.size(); ++i) {
        double t = double(i) / kRate;
        double flick = t < 0.025 ? 1.0 + 0.12 * std::sin(t / 0.025 * kTau / 4) : 1.12;
        double f = glide(t, f0, fEnd, len * 0.9) * flick * (1 + wobble * std::sin(kTau * wobbleHz * t));
        float s = body.next(f) + 0.25f * tone.lowpass(edge.next(f), 2500.0f);
        b[i] = s * envAD(t, 0.006, len * 0.45, len);
    }
    return b;
}

// Follower home: pentatonic notes, each a bright blip that rises into pitch,
// with a quiet echo, so quick runs of them sound like a melody.
Buffer homeBlip(int v) {
    static const int kMidi[10] = {84, 86, 88, 91, 93, 96, 98, 100, 103, 105};
    double f = noteHz(kMidi[v]);
    double len = 0.16;
    Buffer b = makeBuffer(len);
    Osc sq(Wave::Square), sine(Wave::Sine);
    OnePole lp;
    for (size_t i = 0; i < b.size(); ++i) {
        double t = double(i) / kRate;
        double fr = glide(t, f * 0.75, f, 0.018);
        float s = 0.45f * lp.lowpass(sq.next(fr), 4500.0f) + 0.7f * sine.next(fr * 2);
        float env = envAD(t, 0.003, 0.03, 0.09);
        float echo = 0.3f * envAD(t - 0.07, 0.003, 0.025, 0.09);
        b[i] = s * (env + echo);
    }
    return b;
}

// Zap, first half: random crackle bursts over a buzzing arc.
Buffer zapCrackle(int v) {
    double len = 0.24 + 0.02 * v;
    Buffer b = makeBuffer(len);
    Rng rng(2100 + v);
    Osc buzz(Wave::Saw), ring(Wave::Square);
    Svf bp;
    OnePole hp;
    float burst = 0;
    int burstLeft = 0;
    double buzzHz = 95 + 17 * v;
    for (size_t i = 0; i < b.size(); ++i) {
        double t = double(i) / kRate;
        if (burstLeft-- <= 0) {
            burstLeft = int(kRate * (0.002 + 0.01 * rng.uniform()));
            burst = rng.uniform() < 0.55f ? 0.3f + 0.7f * rng.uniform() : 0.0f;
        }
        float noise = rng.bipolar() * burst;
        float arc = buzz.next(buzzHz * (1 + 0.3 * std::sin(kTau * 7 * t))) * ring.next(buzzHz * 7.3);
        float s =
            bp.run(noise, 2800.0f + 1500.0f * float(std::sin(kTau * 13 * t)), 1.4f).band * 2.0f + 0.35f * arc;
        b[i] = hp.highpass(s, 300.0f) * envAD(t, 0.002, len * 0.5, len);
    }
    return b;
}

// Zap, second half: a falling sine thump with a soft noise knock.
Buffer thump(int v) {
    double len = 0.32;
    Buffer b = makeBuffer(len);
    Rng rng(2600 + v);
    Osc body(Wave::Sine), sub(Wave::Sine);
    OnePole knock;
    double f0 = 150 + 14 * v, f1 = 42 + 3 * v;
    for (size_t i = 0; i < b.size(); ++i) {
        double t = double(i) / kRate;
        double f = glide(t, f0, f1, 0.11);
        float s = body.next(f) + 0.3f * sub.next(f * 0.5);
        float n = knock.lowpass(rng.bipolar(), 900.0f) * 2.5f * envAD(t, 0.0005, 0.012, 0.05);
        b[i] = s * envAD(t, 0.002, 0.09, len) + n;
    }
    return b;
}

// A bell: sine with an inharmonic partial that dies faster.
float bell(Osc& a, Osc& b, double f, double t) {
    return a.next(f) + 0.35f * b.next(f * 2.76) * float(std::exp(-t / 0.06));
}

// Pickup: a rising major arpeggio of bells and a scatter of high sparkles.
Buffer pickupSparkle() {
    double len = 0.75;
    Buffer b = makeBuffer(len);
    const int notes[5] = {88, 92, 95, 100, 104};
    for (int n = 0; n < 5; ++n) {
        Osc a(Wave::Sine), p(Wave::Sine);
        double start = 0.045 * n, f = noteHz(notes[n]);
        for (size_t i = size_t(start * kRate); i < b.size(); ++i) {
            double t = double(i) / kRate - start;
            b[i] += 0.5f * bell(a, p, f, t) * envAD(t, 0.002, 0.14, len - start);
        }
    }
    Rng rng(31);
    for (int k = 0; k < 14; ++k) {
        Osc a(Wave::Sine);
        double start = 0.05 + 0.5 * rng.uniform(), f = 4000 + 4000 * rng.uniform();
        for (size_t i = size_t(start * kRate); i < b.size(); ++i) {
            double t = double(i) / kRate - start;
            b[i] += 0.12f * a.next(f) * envAD(t, 0.001, 0.02, 0.08);
        }
    }
    return b;
}

// Soft whoosh: noise through a band-pass whose centre sweeps up and back.
Buffer whoosh() {
    double len = 0.65;
    Buffer b = makeBuffer(len);
    Rng rng(95);
    Svf bp;
    for (size_t i = 0; i < b.size(); ++i) {
        double t = double(i) / kRate, x = t / len;
        float centre = float(350 + 2200 * std::sin(kTau / 2 * x) * std::sin(kTau / 2 * x));
        float env = float(std::sin(kTau / 2 * std::pow(x, 0.8)));
        b[i] = bp.run(rng.bipolar(), centre, 2.2f).band * env * env;
    }
    return b;
}

// Jingle: C E G C, plucked triangle with an octave sine, the last note held.
Buffer jingle() {
    double len = 1.05;
    Buffer b = makeBuffer(len);
    const int notes[4] = {72, 76, 79, 84};
    for (int n = 0; n < 4; ++n) {
        double start = 0.11 * n, f = noteHz(notes[n]);
        double decay = n == 3 ? 0.35 : 0.12;
        Osc tri(Wave::Triangle), oct(Wave::Sine), det(Wave::Triangle);
        for (size_t i = size_t(start * kRate); i < b.size(); ++i) {
            double t = double(i) / kRate - start;
            float s = tri.next(f) + 0.5f * det.next(f * 1.004) + 0.3f * oct.next(f * 2);
            b[i] += 0.4f * s * envAD(t, 0.004, decay, len - start);
        }
    }
    return b;
}

// Cancel: two soft tones falling a fourth.
Buffer cancelTwoTone() {
    double len = 0.3;
    Buffer b = makeBuffer(len);
    const double freqs[2] = {noteHz(79), noteHz(74)};
    for (int n = 0; n < 2; ++n) {
        double start = 0.1 * n;
        Osc a(Wave::Sine), t2(Wave::Triangle);
        for (size_t i = size_t(start * kRate); i < b.size(); ++i) {
            double t = double(i) / kRate - start;
            float s = a.next(freqs[n]) + 0.2f * t2.next(freqs[n]);
            b[i] += s * envAD(t, 0.01, 0.06, n == 0 ? 0.11 : len - start);
        }
    }
    return b;
}

// Select: a crisp tick, a fast-decaying high sine with a hint of noise.
Buffer tick() {
    double len = 0.05;
    Buffer b = makeBuffer(len);
    Rng rng(99);
    Osc a(Wave::Sine);
    OnePole hp;
    for (size_t i = 0; i < b.size(); ++i) {
        double t = double(i) / kRate;
        float s = a.next(glide(t, 2900, 2300, 0.01)) * envAD(t, 0.0005, 0.007, len);
        s += 0.4f * hp.highpass(rng.bipolar(), 3000.0f) * envAD(t, 0.0002, 0.0015, 0.01);
        b[i] = s;
    }
    return b;
}

Buffer synthesise(int id) {
    if (id >= 1 && id <= 10) return lostSqueak(id - 1);
    if (id >= 11 && id <= 20) return homeBlip(id - 11);
    if (id >= 21 && id <= 25) return zapCrackle(id - 21);
    if (id >= 26 && id <= 30) return thump(id - 26);
    switch (id) {
        case 31:
            return pickupSparkle();
        case 95:
            return whoosh();
        case 96:
            return jingle();
        case 98:
            return cancelTwoTone();
        default:
            return tick();
    }
}

}  // namespace

std::vector<int> soundIds() {
    std::vector<int> ids;
    for (int id = 1; id <= 31; ++id) ids.push_back(id);
    for (int id : {95, 96, 98, 99}) ids.push_back(id);
    return ids;
}

bool writeSound(int id, const std::string& path) {
    Buffer b = synthesise(id);
    // Thumps carry their energy low, where the ear is less sensitive: give
    // them a little more level so they sit with the rest.
    float target = (id >= 26 && id <= 30) ? 0.30f : 0.22f;
    finishEffect(b, target, 0.89f);
    return writeWavMono(path, b);
}

}  // namespace assetgen
