// The audio device on OpenAL Soft's null driver (ALSOFT_DRIVERS=null, which
// mixes in real time without output): channel states, sources, buffers and
// their release, the collector's marking, focus and music.
#include <gtest/gtest.h>

#include <AL/al.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

#include "audio/tvx_audio.h"
#include "audio/zq_audio.h"
#include "runtime/lang/gc.h"
#include "sound_tools.h"

namespace {

void Sleep(double seconds) {
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

bool Contains(const std::vector<unsigned int>& list, unsigned int name) {
    return std::find(list.begin(), list.end(), name) != list.end();
}

// Completes collector cycles from the roots and destroys the garbage, so a
// sample that nothing keeps alive has run its destructor afterwards.
void CollectEverything() {
    gc_mark();
    gc_collect_all();
    gc_collect_all();
    gc_destroy_garbage();
}

class AudioDevice : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        dir_ = new TempDir();
        InstallAudioTestHost();
        ASSERT_TRUE(MakeSound(*dir_ / "short.wav", "-r 22050 -b 16 -c 1", "synth 0.1 sine 440"));
        ASSERT_TRUE(MakeSound(*dir_ / "long.wav", "-r 22050 -b 16 -c 2", "synth 2 sine 330"));
        ASSERT_TRUE(MakeSound(*dir_ / "tune.wav", "-r 22050 -b 16 -c 2", "synth 1 sine 220"));
        ASSERT_TRUE(RunTool("oggenc -Q -o '" + *dir_ / "tune.ogg" + "' '" + *dir_ / "tune.wav" + "'"));
        if (!zq_audio_device) zq_audio_SetAudioDevice(gc_new<tvxAudio>());
        audio_ = zq_audio_device;
        ASSERT_NE(audio_->alcContext, nullptr);
    }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
    }
    void TearDown() override {
        for (int channel = 0; channel < tvxAudio::kChannels; ++channel) audio_->StopChannel(channel);
    }

    static std::string Path(const std::string& name) { return *dir_ / name; }
    static tvxSample* Load(const std::string& name) { return audio_->LoadSample(String(Path(name).c_str())); }
    static ALint SourceInt(int channel, ALenum what) {
        ALint value = 0;
        alGetSourcei(audio_->channels[channel].source, what, &value);
        return value;
    }

    static TempDir* dir_;
    static tvxAudio* audio_;
};
TempDir* AudioDevice::dir_ = nullptr;
tvxAudio* AudioDevice::audio_ = nullptr;

TEST_F(AudioDevice, StartsWithTheMusicSourceAndNoDistanceAttenuation) {
    EXPECT_EQ(tvxAudio::audio, audio_);
    EXPECT_NE(audio_->channels[tvxAudio::kMusicChannel].source, 0u);
    EXPECT_EQ(alGetInteger(AL_DISTANCE_MODEL), AL_NONE);
}

TEST_F(AudioDevice, ChannelStateFollowsPlayPauseResumeAndTheEndOfTheSound) {
    tvxSample* shortSound = Load("short.wav");
    tvxSample* longSound = Load("long.wav");
    ASSERT_TRUE(shortSound && longSound);

    ASSERT_EQ(audio_->PlaySample(shortSound, 0, 0), 0);
    EXPECT_EQ(audio_->ChannelState(0), 1);
    ASSERT_TRUE(WaitForSourceToStop(audio_->channels[0].source));
    EXPECT_EQ(audio_->ChannelState(0), 0) << "a finished sound reads as stopped";

    ASSERT_EQ(audio_->PlaySample(longSound, 0, 1), 0);
    audio_->PauseChannel(0);
    EXPECT_EQ(audio_->ChannelState(0), 2);
    EXPECT_EQ(SourceInt(0, AL_SOURCE_STATE), AL_PAUSED);
    audio_->ResumeChannel(0);
    EXPECT_EQ(audio_->ChannelState(0), 1);
    EXPECT_EQ(SourceInt(0, AL_SOURCE_STATE), AL_PLAYING);
    EXPECT_EQ(SourceInt(0, AL_LOOPING), AL_TRUE);
    audio_->StopChannel(0);
    EXPECT_EQ(audio_->ChannelState(0), 0);
    audio_->ResumeChannel(0);  // only a paused channel resumes
    EXPECT_EQ(audio_->ChannelState(0), 0);

    ASSERT_EQ(audio_->PlaySample(shortSound, 1, 0), 0);
    ASSERT_TRUE(WaitForSourceToStop(audio_->channels[1].source));
    EXPECT_EQ(audio_->channels[1].state, 1) << "nobody has asked yet";
    audio_->PauseChannel(1);
    EXPECT_EQ(audio_->channels[1].state, 0) << "pausing a finished sound stops the channel";
}

TEST_F(AudioDevice, NewSampleOnABusyChannelReplacesTheOldOne) {
    tvxSample* first = Load("long.wav");
    tvxSample* second = Load("short.wav");
    ASSERT_EQ(audio_->PlaySample(first, 2, 1), 0);
    Sleep(0.2);
    ASSERT_EQ(audio_->PlaySample(second, 2, 0), 0);
    // OpenAL only changes the buffer of a stopped source: the old sound was
    // stopped first, and the new one starts from its beginning.
    EXPECT_EQ(static_cast<unsigned int>(SourceInt(2, AL_BUFFER)), second->buffer);
    EXPECT_EQ(SourceInt(2, AL_LOOPING), AL_FALSE);
    EXPECT_EQ(audio_->channels[2].sample, second);
}

TEST_F(AudioDevice, InvalidChannelsAndNullSamplesAreIgnored) {
    tvxSample* sample = Load("short.wav");
    EXPECT_EQ(audio_->PlaySample(sample, -1, 0), -1);
    EXPECT_EQ(audio_->PlaySample(sample, 33, 0), -1);
    EXPECT_EQ(audio_->PlaySample(nullptr, 3, 0), -1);
    EXPECT_EQ(audio_->ChannelState(99), 0);
    audio_->SetVolume(-5, 1.0f);
    audio_->StopChannel(1000);
}

TEST_F(AudioDevice, PanPlacesTheSourceOnACircleAhead) {
    audio_->SetPan(4, 0.0f);
    ALfloat x, y, z;
    alGetSource3f(audio_->channels[4].source, AL_POSITION, &x, &y, &z);
    EXPECT_FLOAT_EQ(x, 0.0f);
    EXPECT_FLOAT_EQ(y, 0.0f);
    EXPECT_FLOAT_EQ(z, -1.0f);
    audio_->SetPan(4, 1.0f);
    alGetSource3f(audio_->channels[4].source, AL_POSITION, &x, &y, &z);
    EXPECT_NEAR(x, 0.841f, 0.001f);
    EXPECT_FLOAT_EQ(y, 0.0f);
    EXPECT_NEAR(z, -0.540f, 0.001f);

    audio_->SetVolume(4, 0.25f);
    audio_->SetRate(4, 1.5f);
    ALfloat gain, pitch;
    alGetSourcef(audio_->channels[4].source, AL_GAIN, &gain);
    alGetSourcef(audio_->channels[4].source, AL_PITCH, &pitch);
    EXPECT_FLOAT_EQ(gain, 0.25f);
    EXPECT_FLOAT_EQ(pitch, 1.5f);
}

TEST_F(AudioDevice, DiscardedBufferIsDeletedOnceNoSourceHoldsIt) {
    tvxSample* sample = Load("short.wav");
    unsigned int buffer = sample->buffer;
    ASSERT_TRUE(alIsBuffer(buffer));
    ASSERT_EQ(audio_->PlaySample(sample, 5, 0), 0);
    sample->Discard();
    EXPECT_EQ(sample->buffer, 0u);
    EXPECT_TRUE(Contains(tvxSample::discarded, buffer));

    tvxSample* other = Load("long.wav");  // a release attempt while channel 5 sounds
    EXPECT_TRUE(alIsBuffer(buffer)) << "still attached to a playing source";
    EXPECT_TRUE(Contains(tvxSample::discarded, buffer));

    ASSERT_TRUE(WaitForSourceToStop(audio_->channels[5].source));  // its source still holds the buffer
    ASSERT_EQ(audio_->PlaySample(other, 6, 0), 0);
    EXPECT_FALSE(alIsBuffer(buffer));
    EXPECT_FALSE(Contains(tvxSample::discarded, buffer));
}

TEST_F(AudioDevice, CollectorKeepsASamplePlayingOrPausedAndReleasesItAfterwards) {
    tvxSample* playing = Load("long.wav");
    tvxSample* paused = Load("long.wav");
    unsigned int playingBuffer = playing->buffer, pausedBuffer = paused->buffer;
    ASSERT_EQ(audio_->PlaySample(playing, 7, 1), 0);
    ASSERT_EQ(audio_->PlaySample(paused, 8, 1), 0);
    audio_->PauseChannel(8);
    playing = paused = nullptr;  // only the channels still refer to them

    CollectEverything();
    EXPECT_FALSE(Contains(tvxSample::discarded, playingBuffer));
    EXPECT_FALSE(Contains(tvxSample::discarded, pausedBuffer));
    EXPECT_TRUE(alIsBuffer(playingBuffer));

    audio_->StopChannel(7);
    audio_->StopChannel(8);
    CollectEverything();
    EXPECT_TRUE(Contains(tvxSample::discarded, playingBuffer)) << "destroyed by the collector";
    EXPECT_TRUE(Contains(tvxSample::discarded, pausedBuffer));
}

TEST_F(AudioDevice, SuspendPausesPlayingSourcesAndResumeRestartsThem) {
    tvxSample* sample = Load("long.wav");
    ASSERT_EQ(audio_->PlaySample(sample, 9, 1), 0);
    ASSERT_EQ(audio_->PlaySample(sample, 10, 1), 0);
    audio_->PauseChannel(10);
    ASSERT_EQ(audio_->PlayMusic(String(Path("tune.ogg").c_str()), 1), 0);

    audio_->Suspend();
    EXPECT_EQ(SourceInt(9, AL_SOURCE_STATE), AL_PAUSED);
    EXPECT_EQ(SourceInt(tvxAudio::kMusicChannel, AL_SOURCE_STATE), AL_PAUSED);
    EXPECT_EQ(audio_->ChannelState(9), 1) << "the channel state is unchanged";
    EXPECT_EQ(audio_->MusicState(), 1);

    audio_->Resume();
    EXPECT_EQ(SourceInt(9, AL_SOURCE_STATE), AL_PLAYING);
    EXPECT_EQ(SourceInt(tvxAudio::kMusicChannel, AL_SOURCE_STATE), AL_PLAYING);
    EXPECT_EQ(SourceInt(10, AL_SOURCE_STATE), AL_PAUSED) << "a channel paused by the game stays paused";
    EXPECT_EQ(audio_->ChannelState(10), 2);
}

TEST_F(AudioDevice, UnplayableSampleFormatsAreRefusedAtLoad) {
    std::vector<uint8_t> bytes = ReadBytes(Path("long.wav"));
    std::vector<uint8_t> three = bytes;
    three[22] = 3;  // three channels
    WriteBytes(Path("three.wav"), three);
    EXPECT_EQ(Load("three.wav"), nullptr);
    std::vector<uint8_t> wide = bytes;
    wide[34] = 24;  // 3 bytes per sample
    WriteBytes(Path("wide.wav"), wide);
    EXPECT_EQ(Load("wide.wav"), nullptr);
    std::vector<uint8_t> noRate = bytes;
    noRate[24] = noRate[25] = noRate[26] = noRate[27] = 0;
    WriteBytes(Path("norate.wav"), noRate);
    EXPECT_EQ(Load("norate.wav"), nullptr);
    EXPECT_EQ(Load("missing.wav"), nullptr);
}

TEST_F(AudioDevice, PlayMusicOfAMissingFileStopsTheMusicAndFails) {
    ASSERT_EQ(audio_->PlayMusic(String(Path("tune.ogg").c_str()), 1), 0);
    EXPECT_EQ(audio_->MusicState(), 1);
    EXPECT_EQ(audio_->PlayMusic(String(Path("missing.ogg").c_str()), 1), -1);
    EXPECT_EQ(audio_->MusicState(), 0);
    EXPECT_EQ(SourceInt(tvxAudio::kMusicChannel, AL_SOURCE_STATE), AL_STOPPED);
}

TEST_F(AudioDevice, MusicOperationsActOnChannel32) {
    ASSERT_EQ(audio_->PlayMusic(String(Path("tune.ogg").c_str()), 1), 0);
    EXPECT_EQ(SourceInt(tvxAudio::kMusicChannel, AL_LOOPING), AL_TRUE);
    audio_->PauseMusic();
    EXPECT_EQ(audio_->MusicState(), 2);
    audio_->ResumeMusic();
    EXPECT_EQ(audio_->MusicState(), 1);
    audio_->SetMusicVolume(0.5f);
    ALfloat gain;
    alGetSourcef(audio_->channels[tvxAudio::kMusicChannel].source, AL_GAIN, &gain);
    EXPECT_FLOAT_EQ(gain, 0.5f);
    audio_->StopMusic();
    EXPECT_EQ(audio_->MusicState(), 0);
}

TEST_F(AudioDevice, RepeatedPlayMusicOfAnUnchangedFileReusesItsSample) {
    std::string tune = Path("cached.ogg");
    ASSERT_TRUE(RunTool("cp '" + Path("tune.ogg") + "' '" + tune + "'"));
    ASSERT_EQ(audio_->PlayMusic(String(tune.c_str()), 1), 0);
    tvxSample* first = audio_->channels[tvxAudio::kMusicChannel].sample;
    unsigned int firstBuffer = first->buffer;
    ASSERT_EQ(audio_->PlayMusic(String(tune.c_str()), 0), 0);
    EXPECT_EQ(audio_->channels[tvxAudio::kMusicChannel].sample, first);
    EXPECT_EQ(SourceInt(tvxAudio::kMusicChannel, AL_LOOPING), AL_FALSE) << "flags of the new call";
    CollectEverything();  // the cache keeps the sample alive while stopped
    audio_->StopMusic();
    CollectEverything();
    ASSERT_EQ(audio_->PlayMusic(String(tune.c_str()), 1), 0);
    EXPECT_EQ(audio_->channels[tvxAudio::kMusicChannel].sample->buffer, firstBuffer);

    // A rewritten file (new modification time) is decoded again, and the
    // old tune's buffer is given up.
    struct timespec times[2] = {{0, UTIME_NOW}, {12345, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, tune.c_str(), times, 0), 0);
    ASSERT_EQ(audio_->PlayMusic(String(tune.c_str()), 1), 0);
    EXPECT_NE(audio_->channels[tvxAudio::kMusicChannel].sample->buffer, firstBuffer);
    EXPECT_TRUE(Contains(tvxSample::discarded, firstBuffer) || !alIsBuffer(firstBuffer));

    // Another file replaces the cached one.
    ASSERT_EQ(audio_->PlayMusic(String(Path("long.wav").c_str()), 1), 0);
    ALint channels = 0;
    alGetBufferi(audio_->channels[tvxAudio::kMusicChannel].sample->buffer, AL_CHANNELS, &channels);
    EXPECT_EQ(channels, 2);
}

TEST_F(AudioDevice, FrontEndLoadsPlaysAndIgnoresMissingSounds) {
    c_Sound* sound = zq_audio_LoadSound(String(Path("short.wav").c_str()));  // absolute: path unchanged
    ASSERT_NE(sound, nullptr);
    ASSERT_NE(sound->sample, nullptr);
    EXPECT_EQ(zq_audio_PlaySound(sound, 11, 0), 0);
    EXPECT_EQ(zq_audio_ChannelState(11), 1);
    zq_audio_SetChannelRate(11, 2.0f);
    zq_audio_SetChannelVolume(11, 0.5f);
    zq_audio_SetChannelPan(11, -1.0f);
    ALfloat x, y, z;
    alGetSource3f(audio_->channels[11].source, AL_POSITION, &x, &y, &z);
    EXPECT_NEAR(x, -0.841f, 0.001f);
    zq_audio_StopChannel(11);
    EXPECT_EQ(zq_audio_ChannelState(11), 0);

    EXPECT_EQ(zq_audio_LoadSound(String(Path("missing.wav").c_str())), nullptr);
    EXPECT_EQ(zq_audio_PlaySound(nullptr, 11, 0), -1);
    c_Sound* empty = gc_new<c_Sound>()->m_new();
    EXPECT_EQ(zq_audio_PlaySound(empty, 11, 0), -1);
    EXPECT_EQ(zq_audio_PlayMusic(String(Path("missing.ogg").c_str()), 0), -1);
    EXPECT_EQ(zq_audio_PlayMusic(String(Path("tune.ogg").c_str()), 0), 0);
    zq_audio_PauseMusic();
    EXPECT_EQ(zq_audio_MusicState(), 2);
    zq_audio_ResumeMusic();
    zq_audio_StopMusic();
    EXPECT_EQ(zq_audio_MusicState(), 0);
}

}  // namespace
