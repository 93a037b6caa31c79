// Cost of play on the busiest level of 1..100 (the one whose first second
// of play draws the most display-list records):
//   - BM_GameUpdate: one gameplay update (p_Game), without rendering;
//   - BM_Render: one render of that update's display list through the real
//     host (render device over Mesa's llvmpipe under Xvfb), timed up to the
//     end of submission (no glFinish, no buffer swap);
//   - BM_LevelStart: a level start (p_LoadGame).
// Each iteration is timed on its own; the counters give the median and the
// 99th percentile in microseconds over every iteration, and the record
// count of the frame. Needs an X server ($DISPLAY).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "game/records.h"
#include "tests/game_support/game_harness.h"
#include "tests/game_support/headless_game.h"

namespace {

using Clock = std::chrono::steady_clock;

// Updates played from a level start before the busiest-level count.
constexpr int kWarmUpdates = 60;

int BusiestLevel(int* records) {
    HeadlessHost host;
    c_MyApp* app = NewHeadlessGame(&host);
    int best = 1, most = -1;
    for (int level = 1; level <= 100; ++level) {
        app->currentLevel = level;
        app->p_LoadGame();
        for (int i = 0; i < kWarmUpdates; ++i) {
            host.millis += 16;
            app->p_Game();
        }
        int n = app->displayListFill / 15;
        if (n > most) {
            most = n;
            best = level;
        }
    }
    *records = most;
    return best;
}

void Report(benchmark::State& state, std::vector<double>& micros, int records) {
    std::sort(micros.begin(), micros.end());
    state.counters["median_us"] = micros[micros.size() / 2];
    state.counters["p99_us"] = micros[std::min(micros.size() - 1, micros.size() * 99 / 100)];
    state.counters["records"] = records;
}

double Micros(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double, std::micro>(b - a).count();
}

// The whole game in a window, playing the busiest level from its start.
struct Scene {
    // The choice runs headless first: a harness resets the globals for its
    // own host, so it must come after.
    int busiestRecords = 0;
    int level = BusiestLevel(&busiestRecords);
    GameHarness game;
    Scene() {
        game.FinishLoading();
        Start();
    }
    void Start() {
        c_MyApp* app = game.app();
        app->currentLevel = level;
        app->screenMode = 11;
        game.Step(1 + kWarmUpdates);
    }
};

Scene* TheScene() {
    static Scene* scene = new Scene();
    return scene;
}

void BM_GameUpdate(benchmark::State& state) {
    Scene* s = TheScene();
    c_MyApp* app = s->game.app();
    std::vector<double> micros;
    int n = 0;
    for (auto _ : state) {
        // Restart now and then so that the level never ends mid-run.
        if (++n % 1200 == 0) {
            state.PauseTiming();
            s->Start();
            state.ResumeTiming();
        }
        auto t0 = Clock::now();
        app->p_Game();
        auto t1 = Clock::now();
        micros.push_back(Micros(t0, t1));
    }
    Report(state, micros, app->displayListFill / 15);
    state.counters["level"] = s->level;
}
BENCHMARK(BM_GameUpdate)->Iterations(6000)->Unit(benchmark::kMicrosecond);

void BM_Render(benchmark::State& state) {
    Scene* s = TheScene();
    s->Start();
    std::vector<double> micros;
    for (auto _ : state) {
        auto t0 = Clock::now();
        s->game.host()->RenderGame();
        auto t1 = Clock::now();
        micros.push_back(Micros(t0, t1));
        state.PauseTiming();
        s->game.Step();  // the next update (and the swap of this frame)
        state.ResumeTiming();
    }
    Report(state, micros, s->game.app()->displayListFill / 15);
}
BENCHMARK(BM_Render)->Iterations(600)->Unit(benchmark::kMicrosecond);

void BM_LevelStart(benchmark::State& state) {
    Scene* s = TheScene();
    c_MyApp* app = s->game.app();
    app->currentLevel = s->level;
    std::vector<double> micros;
    for (auto _ : state) {
        auto t0 = Clock::now();
        app->p_LoadGame();
        auto t1 = Clock::now();
        micros.push_back(Micros(t0, t1));
    }
    Report(state, micros, s->busiestRecords);
    s->Start();
}
BENCHMARK(BM_LevelStart)->Iterations(500)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
