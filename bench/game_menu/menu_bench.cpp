// The title screen and the saved data, in the real host (llvmpipe under
// Xvfb):
//   - BM_TitleUpdate / BM_TitleRender: one update (p_OnUpdate: the title
//     with its wheel hidden under the open credits panel, the scrolling
//     lines, the ring, the statistics) and one render of that update's
//     display list, waiting for the GPU (glFinish), without a buffer swap;
//   - BM_WheelUpdate / BM_WheelRender: the same for the plain title screen
//     (wheel, results panel, gear), for comparison;
//   - BM_SaveString: p_Save of a full string (105 score groups, every
//     entry and badge word non-zero) into the harness's in-memory store;
//   - BM_LoadString: p_Load of that string (split, verify, restore); the
//     three printed messages go to /dev/null while it runs.
// Counters: display-list records, or the string's length in characters.
#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <memory>

#include "tests/game_support/game_harness.h"

namespace {

// One harness for the whole program (one application object per process).
GameHarness& Game() {
    static std::unique_ptr<GameHarness> game = [] {
        auto g = std::make_unique<GameHarness>();
        g->FinishLoading();
        g->Step(40);
        return g;
    }();
    return *game;
}

void ShowCredits(bool open) {
    c_MyApp* app = Game().app();
    if (app->creditsOpen != (open ? 1 : 0)) {
        app->menuColumn = open ? 2 : 1;
        Game().Tap(kKeyEnter);
        Game().Step(90);  // the panel slides fully in or out
    }
}

void TimeUpdates(benchmark::State& state, bool credits) {
    ShowCredits(credits);
    c_MyApp* app = Game().app();
    for (auto _ : state) app->p_OnUpdate();
    state.counters["records"] = Game().RecordCount();
}

void TimeRenders(benchmark::State& state, bool credits) {
    ShowCredits(credits);
    Game().app()->p_OnUpdate();
    for (auto _ : state) {
        Game().host()->RenderGame();
        glFinish();
    }
    state.counters["records"] = Game().RecordCount();
}

void BM_TitleUpdate(benchmark::State& state) {
    TimeUpdates(state, true);
}
void BM_TitleRender(benchmark::State& state) {
    TimeRenders(state, true);
}
void BM_WheelUpdate(benchmark::State& state) {
    TimeUpdates(state, false);
}
void BM_WheelRender(benchmark::State& state) {
    TimeRenders(state, false);
}

// Every stored value non-zero, two- and three-digit results, half the badges.
void FillSavedData() {
    c_MyApp* app = Game().app();
    for (int i = 0; i < 2050; ++i) app->scores[i] = 1 + (i * 37) % 100;
    for (int b = 0; b < 256; b += 2) app->badges[b] = true;
}

void BM_SaveString(benchmark::State& state) {
    FillSavedData();
    c_MyApp* app = Game().app();
    for (auto _ : state) app->p_Save();
    state.counters["chars"] = Game().savedState().Length();
}

void BM_LoadString(benchmark::State& state) {
    FillSavedData();
    c_MyApp* app = Game().app();
    app->p_Save();
    std::fflush(stdout);
    int console = dup(STDOUT_FILENO);
    int null = open("/dev/null", O_WRONLY);
    dup2(null, STDOUT_FILENO);
    for (auto _ : state) app->p_Load();
    std::fflush(stdout);
    dup2(console, STDOUT_FILENO);
    close(null);
    close(console);
    state.counters["chars"] = Game().savedState().Length();
}

BENCHMARK(BM_TitleUpdate)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TitleRender)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WheelUpdate)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WheelRender)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SaveString)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadString)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
