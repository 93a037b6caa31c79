// Audio benchmarks, each beside its peer in the same run:
//   BM_LoadOGG / BM_Oggdec      decoding one 100-second stereo 44.1 kHz Ogg
//                               Vorbis file with our loader (stb_vorbis)
//                               against the reference decoder oggdec, as
//                               wall time (oggdec's includes its start-up);
//                               goal: LoadOGG within 2x of oggdec
//   BM_PlayMusicFirst /         PlayMusic of that file when it changed since
//   BM_PlayMusicRepeated        the last call (decoded again) against a
//                               repeated PlayMusic of the unchanged file;
//                               goal: repeated under 1 ms
// The file is made at start into a temporary folder with sox and oggenc;
// sound goes to OpenAL Soft's null driver.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "audio/audio_file.h"
#include "audio/tvx_audio.h"
#include "audio/zq_audio.h"

namespace {

class BenchHost : public ZqGame {
  public:
    unsigned char* LoadAudioData(String path, int* length, int* channels, int* format, int* hertz) override {
        return tvxLoadAudioFile(this, path, length, channels, format, hertz);
    }
};

BenchHost g_host;
std::string g_dir;
std::string g_tune;

bool Run(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

bool MakeTune() {
    char pattern[] = "/tmp/tolvar-audio-bench-XXXXXX";
    if (!::mkdtemp(pattern)) return false;
    g_dir = pattern;
    g_tune = g_dir + "/tune.ogg";
    std::string wav = g_dir + "/tune.wav";
    return Run("sox -n -r 44100 -b 16 -c 2 '" + wav + "' synth 100 sine 110:1760 pinknoise vol 0.3") &&
           Run("oggenc -Q -q 4 -o '" + g_tune + "' '" + wav + "'");
}

void BM_LoadOGG(benchmark::State& state) {
    for (auto _ : state) {
        int length, channels, format, hertz;
        unsigned char* data =
            tvxLoadAudioFile(&g_host, String(g_tune.c_str()), &length, &channels, &format, &hertz);
        if (!data) state.SkipWithError("decoding failed");
        benchmark::DoNotOptimize(data);
        std::free(data);
    }
}
BENCHMARK(BM_LoadOGG)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3)->Repetitions(5);

void BM_Oggdec(benchmark::State& state) {
    for (auto _ : state)
        if (!Run("oggdec -Q -o /dev/null '" + g_tune + "'")) state.SkipWithError("oggdec failed");
}
BENCHMARK(BM_Oggdec)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3)->Repetitions(5);

tvxAudio* Device() {
    if (!zq_audio_device) zq_audio_SetAudioDevice(gc_new<tvxAudio>());
    return zq_audio_device;
}

void BM_PlayMusicFirst(benchmark::State& state) {
    tvxAudio* audio = Device();
    long stamp = 1000;
    for (auto _ : state) {
        state.PauseTiming();
        struct timespec times[2] = {{0, UTIME_NOW}, {++stamp, 0}};  // the file "changed"
        ::utimensat(AT_FDCWD, g_tune.c_str(), times, 0);
        state.ResumeTiming();
        if (audio->PlayMusic(String(g_tune.c_str()), 1) != 0) state.SkipWithError("PlayMusic failed");
    }
    audio->StopMusic();
}
BENCHMARK(BM_PlayMusicFirst)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3)->Repetitions(5);

void BM_PlayMusicRepeated(benchmark::State& state) {
    tvxAudio* audio = Device();
    audio->PlayMusic(String(g_tune.c_str()), 1);
    for (auto _ : state)
        if (audio->PlayMusic(String(g_tune.c_str()), 1) != 0) state.SkipWithError("PlayMusic failed");
    audio->StopMusic();
}
BENCHMARK(BM_PlayMusicRepeated)->Unit(benchmark::kMicrosecond)->UseRealTime()->Repetitions(5);

}  // namespace

int main(int argc, char** argv) {
    ::setenv("ALSOFT_DRIVERS", "null", 0);
    ZqGame::_game = &g_host;
    if (!MakeTune()) {
        std::fprintf(stderr, "cannot make the test tune with sox and oggenc\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ignored;
    std::filesystem::remove_all(g_dir, ignored);
    return 0;
}
