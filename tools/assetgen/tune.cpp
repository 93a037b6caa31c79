// "driftwood": the level tune, composed and rendered here, encoded as stereo
// Ogg Vorbis. About 105 seconds: the length of a level's countdown.
//
// 120 beats per minute in A minor, 52 bars of 4/4 and a held final chord:
//   intro 4 | A 8 | B 8 | A' 8 | breakdown 8 | B' 8 | A'' 4 | outro 4
// Voices: a detuned saw pad on the chords, a plucked bass, an arpeggiated saw
// lead with a ping-pong echo, a bell melody in the later A and B sections,
// and light percussion (kick, clap, hats) that drops out in the breakdown and
// at the end. Everything is deterministic; the Ogg stream has a fixed serial.
#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "sounds.h"
#include "synth.h"

namespace assetgen {
namespace {

constexpr double kBeat = 0.5;  // seconds (120 bpm)
constexpr double kBar = 4 * kBeat;
constexpr int kBars = 52;
constexpr double kLength = kBars * kBar + 1.6;  // the last chord rings out

struct Stereo {
    Buffer l, r;
    explicit Stereo(size_t n) : l(n, 0.0f), r(n, 0.0f) {}
    void add(size_t i, float s, float pan) {  // pan -1 left .. +1 right
        if (i >= l.size()) return;
        l[i] += s * std::sqrt(0.5f * (1 - pan));
        r[i] += s * std::sqrt(0.5f * (1 + pan));
    }
};

// A chord: root (MIDI) and whether it is minor.
struct Chord {
    int root;
    bool minor;
    std::vector<int> tones(int base) const {  // triad plus octave from `base` upwards
        int r = base + ((root - base) % 12 + 12) % 12;
        return {r, r + (minor ? 3 : 4), r + 7, r + 12, r + (minor ? 15 : 16)};
    }
};
const Chord Am{57, true}, F{53, false}, C{60, false}, G{55, false}, Em{52, true}, Dm{50, true}, E{52, false};

enum class Part { Intro, A, B, Lead, Breakdown, Outro };

struct Bar {
    Chord chord;
    Part part;
    bool lead;  // bell melody on top
};

std::vector<Bar> arrangement() {
    std::vector<Bar> bars;
    auto add = [&](std::initializer_list<Chord> chords, Part part, bool lead = false) {
        for (const Chord& c : chords) bars.push_back({c, part, lead});
    };
    add({Am, F, C, G}, Part::Intro);
    add({Am, F, C, G, Am, F, C, G}, Part::A);
    add({F, G, Em, Am, Dm, G, C, E}, Part::B);
    add({Am, F, C, G, Am, F, C, G}, Part::A, true);
    add({F, C, Dm, Am, F, C, G, G}, Part::Breakdown);
    add({F, G, Em, Am, Dm, G, C, E}, Part::B, true);
    add({Am, F, C, G}, Part::A);
    add({F, G, Am, Am}, Part::Outro);
    return bars;
}

size_t at(double seconds) {
    return size_t(std::max(0.0, seconds) * kRate);
}

// ---------------------------------------------------------------------------
// Voices
// ---------------------------------------------------------------------------
void pad(Stereo& mix, const Chord& chord, double start, double dur, float gain) {
    std::vector<int> tones = chord.tones(53);
    double release = 0.45;
    for (int k = 0; k < 3; ++k) {
        double f = noteHz(tones[k]);
        for (int side = -1; side <= 1; side += 2) {
            Osc saw(Wave::Saw, 0.13 * k + 0.31 * (side + 1));
            Svf lp;
            double fr = f * (1 + side * 0.0035);
            float cutoff = 900.0f;
            for (size_t i = at(start); i < at(start + dur + release) && i < mix.l.size(); ++i) {
                double t = double(i) / kRate - start;
                double a = std::min(1.0, t / 0.35) * (t > dur ? std::max(0.0, 1 - (t - dur) / release) : 1.0);
                // A slow sweep of the filter; the cutoff moves in 64-sample steps.
                if (i % 64 == 0) cutoff = 900.0f + 300.0f * float(std::sin(kTau * 0.25 * (start + t)));
                float s = lp.run(saw.next(fr), cutoff, 0.8f).low;
                mix.add(i, s * float(a) * gain, side * 0.6f);
            }
        }
    }
}

void bass(Stereo& mix, int midi, double start, double dur, float gain) {
    double f = noteHz(midi);
    Osc tri(Wave::Triangle), sub(Wave::Sine), saw(Wave::Saw);
    OnePole lp;
    for (size_t i = at(start); i < at(start + dur) && i < mix.l.size(); ++i) {
        double t = double(i) / kRate - start;
        float s = tri.next(f) + 0.6f * sub.next(f * 0.5) + 0.25f * lp.lowpass(saw.next(f), 700.0f);
        mix.add(i, s * envAD(t, 0.004, 0.3, dur) * gain, 0.0f);
    }
}

void arpNote(Stereo& bus, int midi, double start, float gain, float pan) {
    double f = noteHz(midi), dur = 0.22;
    Osc saw(Wave::Saw), sq(Wave::Square);
    Svf lp;
    float cutoff = 0;
    for (size_t i = at(start); i < at(start + dur) && i < bus.l.size(); ++i) {
        double t = double(i) / kRate - start;
        if (i % 16 == 0 || cutoff == 0) cutoff = 700.0f + 3200.0f * float(std::exp(-t / 0.05));
        float s = lp.run(saw.next(f) + 0.4f * sq.next(f * 0.5), cutoff, 1.2f).low;
        bus.add(i, s * envAD(t, 0.002, 0.09, dur) * gain, pan);
    }
}

void bellNote(Stereo& mix, int midi, double start, double dur, float gain) {
    double f = noteHz(midi);
    Osc a(Wave::Sine), b(Wave::Sine), vib(Wave::Sine);
    for (size_t i = at(start); i < at(start + dur) && i < mix.l.size(); ++i) {
        double t = double(i) / kRate - start;
        double fr = f * (1 + 0.004 * std::sin(kTau * 5.0 * t) * std::min(1.0, t / 0.3));
        float s = a.next(fr) + 0.25f * b.next(fr * 3.0) * float(std::exp(-t / 0.15));
        mix.add(i, s * envAD(t, 0.01, 0.45, dur) * gain, 0.15f);
    }
}

void kick(Stereo& mix, double start, float gain) {
    Osc s(Wave::Sine);
    for (size_t i = at(start); i < at(start + 0.3) && i < mix.l.size(); ++i) {
        double t = double(i) / kRate - start;
        mix.add(i, s.next(glide(t, 120, 44, 0.07)) * envAD(t, 0.001, 0.12, 0.3) * gain, 0.0f);
    }
}

void clap(Stereo& mix, double start, float gain, uint32_t seed) {
    Rng rng(seed);
    Svf bp;
    Osc tone(Wave::Triangle);
    for (size_t i = at(start); i < at(start + 0.2) && i < mix.l.size(); ++i) {
        double t = double(i) / kRate - start;
        float n = bp.run(rng.bipolar(), 1700.0f, 1.5f).band * 1.6f;
        float s = n * envAD(t, 0.001, 0.05, 0.2) + 0.3f * tone.next(185) * envAD(t, 0.001, 0.03, 0.1);
        mix.add(i, s * gain, -0.1f);
    }
}

void hat(Stereo& mix, double start, float gain, double decay, uint32_t seed) {
    Rng rng(seed);
    OnePole hp1, hp2;
    for (size_t i = at(start); i < at(start + decay * 5) && i < mix.l.size(); ++i) {
        double t = double(i) / kRate - start;
        float n = hp2.highpass(hp1.highpass(rng.bipolar(), 6000.0f), 6000.0f);
        mix.add(i, n * envAD(t, 0.0005, decay, decay * 5) * gain, 0.35f);
    }
}

// Ping-pong echo: each repeat crosses to the other side, `feedback` quieter.
void pingPong(Stereo& bus, double delay, float feedback) {
    size_t d = at(delay);
    for (size_t i = d; i < bus.l.size(); ++i) {
        float l = bus.l[i] + bus.r[i - d] * feedback;
        float r = bus.r[i] + bus.l[i - d] * feedback;
        bus.l[i] = l;
        bus.r[i] = r;
    }
}

// ---------------------------------------------------------------------------
// Composition
// ---------------------------------------------------------------------------
Stereo compose() {
    const std::vector<Bar> bars = arrangement();
    Stereo mix(at(kLength)), arpBus(at(kLength));
    static const int kArpA[16] = {0, 1, 2, 3, 2, 1, 2, 3, 0, 1, 2, 4, 3, 2, 1, 2};
    static const int kArpB[16] = {0, 2, 1, 3, 2, 4, 3, 2, 0, 2, 1, 3, 4, 3, 2, 1};
    static const int kMelody[4][4] = {{3, 4, 2, 3}, {4, 3, 2, 1}, {2, 3, 4, 3}, {3, 2, 1, 0}};
    for (int b = 0; b < int(bars.size()); ++b) {
        const Bar& bar = bars[b];
        double t0 = b * kBar;
        bool last = b == int(bars.size()) - 1;
        bool outro = bar.part == Part::Outro;
        // Pad: whole bar; the final chord is held into the ring-out.
        float padGain = bar.part == Part::Breakdown ? 0.05f : 0.035f;
        pad(mix, bar.chord, t0, last ? kBar + 0.9 : kBar, padGain);
        // Bass.
        int root = bar.chord.tones(33)[0];
        if (bar.part == Part::Breakdown) {
            bass(mix, root, t0, kBar, 0.16f);
        } else if (bar.part != Part::Intro) {
            static const int kBassOct[8] = {0, 0, 12, 0, 0, 12, 0, 7};
            for (int e = 0; e < 8; ++e) {
                if (last && e > 0) break;
                bass(mix, root + kBassOct[e], t0 + e * kBeat / 2, last ? kBar + 1.0 : kBeat / 2 * 0.9, 0.14f);
            }
        }
        // Arpeggio: sixteenths; eighths in the intro and the breakdown.
        std::vector<int> tones = bar.chord.tones(65);
        const int* pattern = bar.part == Part::B ? kArpB : kArpA;
        int step = (bar.part == Part::Intro || bar.part == Part::Breakdown) ? 2 : 1;
        for (int s = 0; s < 16; s += step) {
            if (last && s > 0) break;
            float accent = s % 4 == 0 ? 1.0f : 0.7f;
            float gain = (bar.part == Part::Breakdown ? 0.05f : 0.075f) * accent;
            arpNote(arpBus, tones[pattern[s]], t0 + s * kBeat / 4, gain, (s % 2) ? 0.35f : -0.35f);
        }
        // Bell melody on top in the later sections.
        if (bar.lead) {
            const int* m = kMelody[b % 4];
            std::vector<int> hi = bar.chord.tones(74);
            static const double kRhythm[4] = {0, 1.5, 2, 3};
            for (int n = 0; n < 4; ++n)
                bellNote(mix, hi[m[n]], t0 + kRhythm[n] * kBeat, (n == 3 ? 1.0 : 0.5) * kBeat * 1.6, 0.07f);
        }
        // Percussion.
        bool drums = bar.part == Part::A || bar.part == Part::B || (outro && b < int(bars.size()) - 2);
        if (drums) {
            for (int q = 0; q < 4; ++q) {
                if (q % 2 == 0 || bar.part == Part::B) kick(mix, t0 + q * kBeat, 0.5f);
                if (q % 2 == 1) clap(mix, t0 + q * kBeat, 0.16f, uint32_t(b * 8 + q));
            }
            for (int e = 0; e < 8; ++e) {
                bool open = bar.part == Part::B && e % 2 == 1;
                hat(mix, t0 + e * kBeat / 2, e % 2 ? 0.07f : 0.045f, open ? 0.05 : 0.015,
                    uint32_t(b * 16 + e));
            }
        } else if (bar.part == Part::Breakdown || (bar.part == Part::Intro && b >= 2)) {
            for (int s = 0; s < 16; ++s)  // a soft shaker keeps time
                hat(mix, t0 + s * kBeat / 4, s % 4 == 2 ? 0.04f : 0.02f, 0.01, uint32_t(b * 32 + s + 5000));
        }
    }
    pingPong(arpBus, kBeat * 0.75, 0.35f);
    for (size_t i = 0; i < mix.l.size(); ++i) {
        mix.l[i] += arpBus.l[i];
        mix.r[i] += arpBus.r[i];
    }
    // Master: normalise to -1.5 dB with a gentle soft clip, and fade the last
    // 0.4 s so the ring-out ends exactly at silence.
    float peak = 0;
    for (size_t i = 0; i < mix.l.size(); ++i)
        peak = std::max({peak, std::fabs(mix.l[i]), std::fabs(mix.r[i])});
    float gain = peak > 0 ? 0.84f / peak : 1.0f;
    size_t fade = at(0.4);
    for (size_t i = 0; i < mix.l.size(); ++i) {
        float f = i + fade >= mix.l.size() ? float(mix.l.size() - i) / fade : 1.0f;
        mix.l[i] = std::tanh(mix.l[i] * gain * 1.05f) * f;
        mix.r[i] = std::tanh(mix.r[i] * gain * 1.05f) * f;
    }
    return mix;
}

// ---------------------------------------------------------------------------
// Ogg Vorbis encoding
// ---------------------------------------------------------------------------
bool encodeVorbis(const std::string& path, const Stereo& pcm) {
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return false;
    bool ok = true;
    auto writePage = [&](const ogg_page& pg) {
        ok = ok && std::fwrite(pg.header, 1, pg.header_len, out) == size_t(pg.header_len);
        ok = ok && std::fwrite(pg.body, 1, pg.body_len, out) == size_t(pg.body_len);
    };

    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, 2, kRate, 0.35f) != 0) {
        vorbis_info_clear(&vi);
        std::fclose(out);
        return false;
    }
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_comment_add_tag(&vc, "TITLE", "driftwood");
    vorbis_comment_add_tag(&vc, "ARTIST", "Skitterwind asset generator");
    vorbis_dsp_state vd;
    vorbis_block vb;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, 0x51D3F00D);  // fixed serial: identical output on every run

    ogg_packet header, comments, codebooks;
    vorbis_analysis_headerout(&vd, &vc, &header, &comments, &codebooks);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &comments);
    ogg_stream_packetin(&os, &codebooks);
    ogg_page page;
    while (ogg_stream_flush(&os, &page)) writePage(page);

    const size_t chunk = 4096;
    size_t pos = 0;
    bool eos = false;
    while (!eos) {
        size_t n = std::min(chunk, pcm.l.size() - pos);
        if (n == 0) {
            vorbis_analysis_wrote(&vd, 0);
        } else {
            float** buf = vorbis_analysis_buffer(&vd, int(n));
            std::copy(pcm.l.begin() + pos, pcm.l.begin() + pos + n, buf[0]);
            std::copy(pcm.r.begin() + pos, pcm.r.begin() + pos + n, buf[1]);
            vorbis_analysis_wrote(&vd, int(n));
            pos += n;
        }
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&vd, &packet)) {
                ogg_stream_packetin(&os, &packet);
                while (ogg_stream_pageout(&os, &page)) {
                    writePage(page);
                    if (ogg_page_eos(&page)) eos = true;
                }
            }
        }
        if (n == 0 && !eos) {
            // Everything is submitted; drain any last page.
            while (ogg_stream_flush(&os, &page)) {
                writePage(page);
                if (ogg_page_eos(&page)) eos = true;
            }
            eos = true;
        }
    }

    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    ok = std::fclose(out) == 0 && ok;
    return ok;
}

}  // namespace

bool writeTune(const std::string& path) {
    return encodeVorbis(path, compose());
}

}  // namespace assetgen
