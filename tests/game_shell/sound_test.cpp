// Effects, random groups, the tune and the sound modes, through a recording
// audio device on the real host.
#include <gtest/gtest.h>

#include <cmath>

#include "audio/zq_audio.h"
#include "runtime/lang/gc.h"
#include "runtime/lang/random.h"
#include "tests/game_support/game_harness.h"
#include "tests/game_support/recording_audio.h"

namespace {

class Sound : public ::testing::Test {
  protected:
    void SetUp() override {
        audio = gc_new<RecordingAudio>();
        zq_audio_SetAudioDevice(audio);
        ASSERT_TRUE(game.FinishLoading());
        app = game.app();
        audio->calls.clear();
        audio->samples.clear();
    }
    // The effect id whose sample the n-th play used, or -1.
    int PlayedId(size_t n) const {
        for (int id = 0; id < 100; ++id)
            if (app->sounds[id] && app->sounds[id]->sample == audio->samples.at(n)) return id;
        return -1;
    }
    GameHarness game;
    RecordingAudio* audio = nullptr;
    c_MyApp* app = nullptr;
};

}  // namespace

TEST_F(Sound, EffectsRotateOverChannels0To23AdvancingTheCursorFirst) {
    app->sfxChannelCursor = 0;
    for (int i = 0; i < 25; ++i) app->p_PlaySFX(99, 1.0f, 1.0f, 0.0f);
    std::vector<std::string> stops = audio->Only("stop ");
    ASSERT_EQ(stops.size(), 25u);
    EXPECT_EQ(stops[0], "stop 1");
    EXPECT_EQ(stops[22], "stop 23");
    EXPECT_EQ(stops[23], "stop 0");
    EXPECT_EQ(stops[24], "stop 1");
}

TEST_F(Sound, AnEffectStopsPlaysThenSetsRateVolumeAndPan) {
    app->sfxChannelCursor = 4;
    app->p_PlaySFX(98, 0.5f, 0.25f, -1.0f);
    std::vector<std::string> expected = {"stop 5", "play 5 0", "rate 5 0.5", "volume 5 0.25", "pan 5 -1"};
    EXPECT_EQ(audio->calls, expected);
    app->p_PlaySFX(100, 1, 1, 0);
    app->p_PlaySFX(-1, 1, 1, 0);
    app->p_PlaySFX(50, 1, 1, 0);  // never loaded
    EXPECT_EQ(audio->calls.size(), expected.size());
}

// Modes: 0 off, 1 all, 2 effects, 3 music; an unknown mode is off.
TEST_F(Sound, OnlyModes1And2PlayEffects) {
    for (int mode : {0, 3, 7, -2}) {
        app->settings[5] = mode;
        app->p_PlaySFX(99, 1, 1, 0);
    }
    EXPECT_TRUE(audio->calls.empty());
    app->settings[5] = 2;
    app->p_PlaySFX(99, 1, 1, 0);
    EXPECT_EQ(audio->samples.size(), 1u);
}

TEST_F(Sound, PendingGroupEffectsPlayOnePerUpdateAtMostFive) {
    app->sfxCountA = 8;
    for (int update = 0; update < 6; ++update) {
        size_t before = audio->samples.size();
        int seed = zq_random_Seed;
        float r1 = zq_random_Rnd();
        float r2 = zq_random_Rnd();
        zq_random_Seed = seed;
        app->p_SFXHandle();
        if (update < 5) {
            ASSERT_EQ(audio->samples.size(), before + 1) << update;
            EXPECT_EQ(PlayedId(before), static_cast<int>(1 + 9.99f * r2))
                << "the id comes from the second draw";
            std::vector<std::string> rates = audio->Only("rate ");
            float rate = std::stof(rates.back().substr(rates.back().rfind(' ') + 1));
            EXPECT_NEAR(rate, 0.9f + 0.4f * r1, 1e-5);
        } else {
            EXPECT_EQ(audio->samples.size(), before);
        }
    }
}

TEST_F(Sound, APairPlaysOneEffectOfEachHalfAndClearsTheMarker) {
    app->sfxPairPending = 1;
    app->sfxMarker = 1;
    app->p_SFXHandle();
    ASSERT_EQ(audio->samples.size(), 2u);
    EXPECT_GE(PlayedId(0), 21);
    EXPECT_LE(PlayedId(0), 25);
    EXPECT_GE(PlayedId(1), 26);
    EXPECT_LE(PlayedId(1), 30);
    EXPECT_EQ(app->sfxPairPending, 0);
    EXPECT_EQ(app->sfxMarker, 0);
}

TEST_F(Sound, ChangingTheModeDuringAGameResumesOrStopsTheTune) {
    app->settings[5] = 2;
    app->p_PlayTune(String("driftwood"), 0);
    EXPECT_EQ(app->musicPlaying, 0) << "mode 2 has no music";
    EXPECT_TRUE(audio->Only("music").empty());
    app->screenMode = 10;
    app->NextSoundMode();
    EXPECT_EQ(app->settings[5], 3);
    ASSERT_EQ(audio->Only("music").size(), 1u);
    EXPECT_NE(audio->Only("music")[0].find("sfx/driftwood.ogg 1"), std::string::npos);
    EXPECT_EQ(app->musicPlaying, 1);
    size_t stops = audio->Only("stopmusic").size();
    app->NextSoundMode();
    EXPECT_EQ(app->settings[5], 0);
    EXPECT_EQ(app->musicPlaying, 0);
    EXPECT_EQ(audio->Only("stopmusic").size(), stops + 1);
}

TEST_F(Sound, AnUnknownSavedModeActsAsOffAndAdvancesTo1) {
    app->settings[5] = 9;
    app->p_PlayTune(String("driftwood"), 0);
    EXPECT_EQ(app->musicPlaying, 0);
    EXPECT_EQ(app->settings[5], 9) << "the stored value is kept until changed";
    app->NextSoundMode();
    EXPECT_EQ(app->settings[5], 1);
    EXPECT_EQ(audio->samples.size(), 1u) << "the confirm sound of the new mode";
}

TEST_F(Sound, TheTuneFollowsThePauseAndReturningToTheMenuPlaysItsSound) {
    app->p_PlayTune(String("driftwood"), 1);
    app->paused = 1;
    game.Step();
    EXPECT_EQ(audio->Only("pausemusic").size(), 1u);
    app->paused = 0;
    audio->samples.clear();
    app->screenMode = 2;
    game.Step();
    EXPECT_EQ(app->screenMode, 1);
    EXPECT_EQ(audio->Only("resumemusic").size(), 1u);
    bool returned = false;
    for (size_t i = 0; i < audio->samples.size(); ++i) returned |= PlayedId(i) == 96;
    EXPECT_TRUE(returned);
}
