// Cost of recording a session, against the update it records:
//   - BM_RecordUpdate: the recorder's own work for one update (step begin
//     with the device size, eight clock readings, step end; every 60th adds
//     a checkpoint and writes the recording to a file);
//   - BM_StateHash: the game's state hash on a level in play (taken once
//     every 60 updates);
//   - BM_GameUpdate: one gameplay update of the same level (p_Game), the
//     work the recording rides on.
// No window is needed: the game runs headless (display list only).
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <string>

#include "runtime/host/replay_recorder.h"
#include "tests/game_support/headless_game.h"

namespace {

constexpr int kLevel = 10;  // a hundred followers and 12 planets

c_MyApp* LevelInPlay(HeadlessHost& host) {
    c_MyApp* app = NewHeadlessGame(&host);
    app->currentLevel = kLevel;
    app->p_LoadGame();
    for (int i = 0; i < 120; ++i) {
        host.millis += 16;
        app->p_Game();
    }
    return app;
}

void BM_RecordUpdate(benchmark::State& state) {
    const std::string path = "/tmp/replay_bench_" + std::to_string(static_cast<long>(getpid())) + ".rec";
    ZqSessionRecorder recorder;
    recorder.Open({path});
    zqreplay::Header header;
    header.program = "replay_bench";
    recorder.Begin(header);
    int clock = 0;
    for (auto _ : state) {
        recorder.StepBegin(zqreplay::Record::Kind::Update, 640, 480);
        clock += 16;
        for (int i = 0; i < 8; ++i) recorder.Clock(clock);
        recorder.StepEnd();
    }
    recorder.Finish();
    std::remove(path.c_str());
}
BENCHMARK(BM_RecordUpdate);

void BM_StateHash(benchmark::State& state) {
    HeadlessHost host;
    c_MyApp* app = LevelInPlay(host);
    for (auto _ : state) benchmark::DoNotOptimize(app->p_ReplayStateHash());
}
BENCHMARK(BM_StateHash)->Unit(benchmark::kMicrosecond);

void BM_GameUpdate(benchmark::State& state) {
    HeadlessHost host;
    c_MyApp* app = LevelInPlay(host);
    for (auto _ : state) {
        host.millis += 16;
        app->p_Game();
        if (app->gameOver != 0) {
            state.PauseTiming();
            app->p_LoadGame();
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_GameUpdate)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
