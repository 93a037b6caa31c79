// The audio device is closed when the process ends by any way but a crash.
// OpenAL Soft's wave driver writes the mix to a file and finishes its
// header (the RIFF and data sizes) only when the device is closed, so a
// complete header after the process has gone shows that it was closed.
//
// Each case runs in a process of its own (gtest's "threadsafe" death tests
// start the test program anew), which opens the device, plays a tone and
// then ends: by the program's quit (zqError with an empty message, what F4,
// the window's close button and the back key on the title use) or by a
// fatal runtime error.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

#include "audio/tvx_audio.h"
#include "audio/zq_audio.h"
#include "runtime/lang/errors.h"
#include "runtime/lang/gc.h"
#include "sound_tools.h"

namespace {

// In the death test's own process: the wave output goes to $AUDIO_EXIT_WAVE,
// a tone plays for a moment, then the process ends with `message` (empty:
// the program's quit). The process leaves through exit(), so it keeps its
// files beside the wave file, in the folder the test removes.
void PlayThenEnd(const char* message) {
    const std::string file = std::getenv("AUDIO_EXIT_WAVE");
    UseWaveOutput(file);
    InstallAudioTestHost();
    zq_audio_SetAudioDevice(gc_new<tvxAudio>());
    const std::string tone = file + ".tone.wav";
    MakeSound(tone, "-r 44100 -b 16 -c 1", "synth 1 sine 440 vol 0.4");
    zq_audio_PlaySound(zq_audio_LoadSound(String(tone.c_str())), 0, 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    zqError(String(message));
}

class AudioExit : public ::testing::Test {
  protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
    void TearDown() override { ::unsetenv("AUDIO_EXIT_WAVE"); }
    // The wave file: named here, and inherited through the environment by
    // the death test's process, which runs this test anew.
    std::string WaveFile(const char* name) {
        if (!std::getenv("AUDIO_EXIT_WAVE")) {
            dir_ = std::make_unique<TempDir>();
            ::setenv("AUDIO_EXIT_WAVE", (*dir_ / name).c_str(), 1);
        }
        return std::getenv("AUDIO_EXIT_WAVE");
    }
    std::unique_ptr<TempDir> dir_;
};

TEST_F(AudioExit, TheQuitClosesTheDeviceAndFinishesTheWaveFile) {
    std::string file = WaveFile("quit.wav");
    EXPECT_EXIT(PlayThenEnd(""), ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(WaveHeaderProblem(file), "");
}

TEST_F(AudioExit, AFatalErrorsExitClosesTheDeviceToo) {
    std::string file = WaveFile("fatal.wav");
    EXPECT_EXIT(PlayThenEnd("boom"), ::testing::ExitedWithCode(255), "");
    EXPECT_EQ(WaveHeaderProblem(file), "");
}

}  // namespace
