// Start-up without any usable OpenAL device (ALSOFT_DRIVERS names no
// driver): the messages are printed, the program carries on, and playback
// does nothing.
#include <gtest/gtest.h>

#include "audio/tvx_audio.h"
#include "audio/zq_audio.h"
#include "sound_tools.h"

namespace {

TEST(AudioNoDevice, StartUpFailureIsPrintedAndPlaybackDoesNothing) {
    TempDir dir;
    InstallAudioTestHost();
    ASSERT_TRUE(MakeSound(dir / "tone.wav", "-r 22050 -b 16 -c 1", "synth 0.2 sine 440"));

    ::testing::internal::CaptureStdout();
    zq_audio_SetAudioDevice(gc_new<tvxAudio>());
    std::string printed = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(printed, "opening openal device\nOpenAl error: alcOpenDevice failed\n");
    tvxAudio* audio = zq_audio_device;
    EXPECT_EQ(audio->alcDevice, nullptr);
    EXPECT_EQ(audio->channels[tvxAudio::kMusicChannel].source, 0u);

    // The file decodes, but there is no OpenAL buffer to hold it.
    c_Sound* sound = zq_audio_LoadSound(String((dir / "tone.wav").c_str()));
    ASSERT_NE(sound, nullptr);
    EXPECT_EQ(sound->sample->buffer, 0u);
    EXPECT_EQ(zq_audio_PlaySound(sound, 0, 0), -1) << "no source can be had";
    EXPECT_EQ(zq_audio_ChannelState(0), 0);
    zq_audio_SetChannelPan(0, 1.0f);
    zq_audio_SetChannelVolume(0, 0.5f);
    zq_audio_PlayMusic(String((dir / "tone.wav").c_str()), 1);
    EXPECT_EQ(zq_audio_MusicState(), 0);
    audio->Suspend();
    audio->Resume();
}

}  // namespace
