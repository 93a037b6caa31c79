// What the device actually mixed: OpenAL Soft's wave driver writes its
// output to a file (16-bit stereo, 44100 Hz), which is then read back
// through sox and examined.
//
// The timeline plays one scenario after another. Times are taken from the
// mixer itself: a silent 30-second sample plays on channel 31 throughout,
// and its AL_SAMPLE_OFFSET at each step tells how far the mixer had got, so
// a busy machine that delays the mixer thread does not shift the windows.
// The first tone's onset in the file, and where it began by the reference,
// tie reference offsets to file positions.
#include <gtest/gtest.h>

#include <AL/al.h>
#include <AL/alc.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <thread>
#include <vector>

#include "audio/tvx_audio.h"
#include "audio/zq_audio.h"
#include "sound_tools.h"

namespace {

constexpr int kRate = 44100;
constexpr long kMargin = kRate / 10;  // frames trimmed from both ends of a window

struct Span {
    long from = 0, to = 0;  // reference offsets (frames) at the start and end of a step
};

struct Mix {
    std::vector<int16_t> left, right;

    double Rms(const std::vector<int16_t>& side, long from, long to) const {
        double sum = 0;
        for (long i = from; i < to; ++i) sum += double(side[i]) * side[i];
        return to > from ? std::sqrt(sum / double(to - from)) : 0;
    }
    // Frequency from upward zero crossings of the left channel.
    double Frequency(long from, long to) const {
        int crossings = 0;
        for (long i = from + 1; i < to; ++i)
            if (left[i - 1] < 0 && left[i] >= 0) ++crossings;
        return crossings * double(kRate) / double(to - from);
    }
    // Magnitude of one frequency in the left channel (Goertzel), per frame.
    double Tone(double hertz, long from, long to) const {
        double k = 2 * std::cos(2 * M_PI * hertz / kRate), s1 = 0, s2 = 0;
        for (long i = from; i < to; ++i) {
            double s = left[i] + k * s1 - s2;
            s2 = s1;
            s1 = s;
        }
        return std::sqrt(s1 * s1 + s2 * s2 - k * s1 * s2) / double(to - from);
    }
};

class AudioMix : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        dir_ = new TempDir();
        UseAlsoftConfig(*dir_,
                        "[general]\ndrivers = wave\nchannels = stereo\nsample-type = int16\n"
                        "frequency = 44100\nperiod_size = 512\n[wave]\nfile = " +
                            (*dir_ / "mix.wav") + "\n");
        InstallAudioTestHost();
        ASSERT_TRUE(MakeSound(*dir_ / "silence.wav", "-r 44100 -b 16 -c 1", "trim 0 30"));
        ASSERT_TRUE(MakeSound(*dir_ / "tone.wav", "-r 44100 -b 16 -c 1", "synth 1 sine 440 vol 0.4"));
        ASSERT_TRUE(MakeSound(*dir_ / "blip.wav", "-r 44100 -b 16 -c 1", "synth 0.2 sine 880 vol 0.3"));
        ASSERT_TRUE(MakeSound(*dir_ / "music.wav", "-r 44100 -b 16 -c 2", "synth 10 sine 330 vol 0.3"));
        ASSERT_TRUE(RunTool("oggenc -Q -o '" + *dir_ / "music.ogg" + "' '" + *dir_ / "music.wav" + "'"));
        RecordTimeline();
        ReadMix();
    }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
    }

    static tvxSample* Load(const char* name) { return audio_->LoadSample(String((*dir_ / name).c_str())); }
    static long Now() {
        ALint offset = 0;
        alGetSourcei(audio_->channels[31].source, AL_SAMPLE_OFFSET, &offset);
        return offset;
    }
    static void Hold(double seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); }
    // Runs one step: `action`, then `seconds` of mixing.
    template <class Action>
    static Span Step(double seconds, Action action) {
        action();
        Span span;
        span.from = Now();
        Hold(seconds);
        span.to = Now();
        return span;
    }

    static void RecordTimeline() {
        audio_ = gc_new<tvxAudio>();
        zq_audio_SetAudioDevice(audio_);
        ASSERT_NE(audio_->alcContext, nullptr);
        tvxSample* silence = Load("silence.wav");
        tvxSample* tone = Load("tone.wav");
        tvxSample* blip = Load("blip.wav");
        ASSERT_TRUE(silence && tone && blip);
        ASSERT_EQ(audio_->PlaySample(silence, 31, 0), 0);
        Hold(0.3);

        playing_ = Step(0.6, [&] {
            audio_->PlaySample(tone, 0, 1);
            Hold(0.05);
            // Where the tone began, in reference frames: the reference's
            // position less the tone's own, read back to back.
            ALint toneOffset = 0;
            long reference = Now();
            alGetSourcei(audio_->channels[0].source, AL_SAMPLE_OFFSET, &toneOffset);
            anchor_ = reference - toneOffset;
        });
        paused_ = Step(0.5, [&] { audio_->PauseChannel(0); });
        resumed_ = Step(0.5, [&] { audio_->ResumeChannel(0); });
        audio_->StopChannel(0);
        Hold(0.2);

        right_ = Step(0.5, [&] {
            audio_->PlaySample(tone, 1, 1);
            audio_->SetPan(1, 1.0f);
        });
        left_ = Step(0.5, [&] { audio_->SetPan(1, -1.0f); });
        audio_->StopChannel(1);

        rate1_ = Step(0.5, [&] { audio_->PlaySample(tone, 2, 1); });
        rate2_ = Step(0.5, [&] { audio_->SetRate(2, 2.0f); });
        audio_->StopChannel(2);
        Hold(0.2);

        musicAlone_ =
            Step(0.5, [&] { ASSERT_EQ(audio_->PlayMusic(String((*dir_ / "music.ogg").c_str()), 1), 0); });
        effects_.from = Now();
        for (int i = 0; i < 8; ++i) {
            audio_->StopChannel(3 + i % 4);
            audio_->PlaySample(blip, 3 + i % 4, 0);
            Hold(0.15);
        }
        effects_.to = Now();
        musicAfter_ = Step(0.5, [] {});
        musicStateAfterEffects_ = audio_->MusicState();
        audio_->StopMusic();
        Hold(0.2);

        // Closing the device finishes the file (the driver writes its sizes).
        tvxAudio::CloseOutput();
    }

    static void ReadMix() {
        std::string raw = *dir_ / "mix.raw";
        ASSERT_TRUE(RunTool("sox '" + *dir_ / "mix.wav" + "' -t raw -e signed-integer -b 16 -c 2 -r 44100 '" +
                            raw + "'"));
        std::vector<uint8_t> bytes = ReadBytes(raw);
        size_t frames = bytes.size() / 4;
        mix_.left.resize(frames);
        mix_.right.resize(frames);
        for (size_t i = 0; i < frames; ++i) {
            std::memcpy(&mix_.left[i], &bytes[4 * i], 2);
            std::memcpy(&mix_.right[i], &bytes[4 * i + 2], 2);
        }
        // The first tone's onset is where the anchor offset lies in the file.
        long onset = 0;
        while (onset < long(frames) && std::abs(mix_.left[onset]) < 500) ++onset;
        ASSERT_LT(onset, long(frames)) << "nothing was mixed";
        shift_ = onset - anchor_;
    }

    // The file positions of a step, without its margins.
    static long From(const Span& s) { return s.from + shift_ + kMargin; }
    static long To(const Span& s) { return std::min<long>(s.to + shift_ - kMargin, long(mix_.left.size())); }

    static TempDir* dir_;
    static tvxAudio* audio_;
    static Mix mix_;
    static long anchor_, shift_;
    static Span playing_, paused_, resumed_, right_, left_, rate1_, rate2_, musicAlone_, effects_,
        musicAfter_;
    static int musicStateAfterEffects_;
};
TempDir* AudioMix::dir_ = nullptr;
tvxAudio* AudioMix::audio_ = nullptr;
Mix AudioMix::mix_;
long AudioMix::anchor_ = 0, AudioMix::shift_ = 0;
Span AudioMix::playing_, AudioMix::paused_, AudioMix::resumed_, AudioMix::right_, AudioMix::left_,
    AudioMix::rate1_, AudioMix::rate2_, AudioMix::musicAlone_, AudioMix::effects_, AudioMix::musicAfter_;
int AudioMix::musicStateAfterEffects_ = 0;

TEST_F(AudioMix, APlayedToneIsInTheOutput) {
    ASSERT_GT(To(playing_), From(playing_));
    EXPECT_GT(mix_.Rms(mix_.left, From(playing_), To(playing_)), 2000);
    EXPECT_NEAR(mix_.Frequency(From(playing_), To(playing_)), 440, 15);
}

TEST_F(AudioMix, APausedChannelIsSilentAndResumes) {
    ASSERT_GT(To(paused_), From(paused_));
    EXPECT_LT(mix_.Rms(mix_.left, From(paused_), To(paused_)), 30);
    EXPECT_LT(mix_.Rms(mix_.right, From(paused_), To(paused_)), 30);
    EXPECT_GT(mix_.Rms(mix_.left, From(resumed_), To(resumed_)), 2000);
}

TEST_F(AudioMix, APannedSoundIsLouderOnItsSide) {
    double rightOfRight = mix_.Rms(mix_.right, From(right_), To(right_));
    double leftOfRight = mix_.Rms(mix_.left, From(right_), To(right_));
    EXPECT_GT(rightOfRight, 1.5 * leftOfRight);
    double leftOfLeft = mix_.Rms(mix_.left, From(left_), To(left_));
    double rightOfLeft = mix_.Rms(mix_.right, From(left_), To(left_));
    EXPECT_GT(leftOfLeft, 1.5 * rightOfLeft);
}

TEST_F(AudioMix, RateTwoDoublesThePitch) {
    double normal = mix_.Frequency(From(rate1_), To(rate1_));
    double doubled = mix_.Frequency(From(rate2_), To(rate2_));
    EXPECT_NEAR(normal, 440, 15);
    EXPECT_NEAR(doubled / normal, 2.0, 0.05);
}

TEST_F(AudioMix, MusicKeepsPlayingAcrossSoundEffects) {
    EXPECT_EQ(musicStateAfterEffects_, 1);
    double alone = mix_.Tone(330, From(musicAlone_), To(musicAlone_));
    ASSERT_GT(alone, 500);
    // Every tenth of a second while effects start and stop on other channels,
    // and after them.
    double loudestEffect = 0;
    for (long from = From(effects_); from + kRate / 10 <= To(musicAfter_); from += kRate / 10) {
        SCOPED_TRACE(from);
        EXPECT_GT(mix_.Tone(330, from, from + kRate / 10), 0.7 * alone);
        loudestEffect = std::max(loudestEffect, mix_.Tone(880, from, from + kRate / 10));
    }
    EXPECT_GT(loudestEffect, 1000) << "the effects were mixed too";
}

}  // namespace
