// Source take-over: with OpenAL Soft limited to 4 sources (its "sources"
// setting), a channel that needs a source takes one from the first sound
// channel whose sound is over, and PlaySample fails when there is none.
#include <gtest/gtest.h>

#include <AL/al.h>

#include "audio/tvx_audio.h"
#include "runtime/lang/gc.h"
#include "sound_tools.h"

namespace {

TEST(AudioSources, ChannelsTakeOverTheSourcesOfFinishedChannels) {
    TempDir dir;
    UseAlsoftConfig(dir, "[general]\nsources = 4\n");
    InstallAudioTestHost();
    ASSERT_TRUE(MakeSound(dir / "loop.wav", "-r 22050 -b 16 -c 1", "synth 1 sine 440"));
    ASSERT_TRUE(MakeSound(dir / "blip.wav", "-r 22050 -b 16 -c 1", "synth 0.05 sine 880"));

    tvxAudio* audio = gc_new<tvxAudio>();
    ASSERT_NE(audio->alcContext, nullptr);
    tvxSample* loop = audio->LoadSample(String((dir / "loop.wav").c_str()));
    tvxSample* blip = audio->LoadSample(String((dir / "blip.wav").c_str()));
    ASSERT_TRUE(loop && blip);

    // The music channel took the first source at start-up; three are left.
    ASSERT_NE(audio->channels[tvxAudio::kMusicChannel].source, 0u);
    ASSERT_EQ(audio->PlaySample(loop, 0, 1), 0);
    ASSERT_EQ(audio->PlaySample(blip, 1, 0), 0);
    ASSERT_EQ(audio->PlaySample(loop, 2, 1), 0);
    unsigned int blipSource = audio->channels[1].source;

    // Every source is busy while channel 1 still sounds.
    EXPECT_EQ(audio->PlaySample(loop, 3, 1), -1);
    EXPECT_EQ(audio->channels[3].source, 0u);

    ASSERT_TRUE(WaitForSourceToStop(blipSource));  // the blip ends
    EXPECT_EQ(audio->PlaySample(loop, 3, 1), 0);
    EXPECT_EQ(audio->channels[3].source, blipSource);
    EXPECT_EQ(audio->channels[1].source, 0u) << "the finished channel gave its source away";
    EXPECT_EQ(audio->ChannelState(3), 1);

    // A stopped channel is free to be taken over too; the first in channel
    // order goes.
    audio->StopChannel(2);
    audio->StopChannel(0);
    unsigned int firstFree = audio->channels[0].source;
    EXPECT_EQ(audio->PlaySample(loop, 20, 1), 0);
    EXPECT_EQ(audio->channels[20].source, firstFree);
    EXPECT_EQ(audio->channels[0].source, 0u);
    EXPECT_NE(audio->channels[2].source, 0u);

    // Without any source, parameters go to source 0 and change nothing.
    audio->PlaySample(loop, 2, 1);
    audio->SetVolume(30, 0.5f);
    EXPECT_EQ(audio->channels[30].source, 0u);
}

}  // namespace
