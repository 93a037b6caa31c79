// CPU per update and per render at the endings' busiest moments, in the real
// host (llvmpipe under Xvfb):
//   - the level-complete count with 100 followers flying home (the update
//     after the count started: every follower moving and drawn twice);
//   - the pause screen with its full 101-point figure (200 line records).
// An update benchmark restores the game's moving state before each
// iteration (untimed), so every iteration times the same update. A render
// benchmark replays that update's display list and waits for the GPU
// (glFinish), without a buffer swap. Counters: display-list records.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "game/records.h"
#include "tests/game_support/game_harness.h"

namespace {

// One harness for the whole program (one application object per process).
GameHarness& Game() {
    static std::unique_ptr<GameHarness> game = [] {
        auto g = std::make_unique<GameHarness>();
        g->FinishLoading();
        return g;
    }();
    return *game;
}

void StartLevel2() {
    c_MyApp* app = Game().app();
    app->selectedLevel = 1;
    app->currentLevel = 2;
    app->screenMode = 11;
    Game().Step(3);
}

// The moving part of the game state an update changes.
struct Snapshot {
    std::vector<float> followers, stars, player;
    int lastResult, shownResult, gameOver, sfxCountB, bannerTimer, paused, pauseSlide, trailHead, trailCount;
    float fade, camX, camY, outer, inner;

    void Take(c_MyApp* a) {
        followers.assign(&a->followers[0], &a->followers[0] + a->followers.Length());
        stars.assign(&a->stars[0], &a->stars[0] + a->stars.Length());
        player.assign(&a->player[0], &a->player[0] + a->player.Length());
        lastResult = a->lastResult, shownResult = a->shownResult, gameOver = a->gameOver;
        sfxCountB = a->sfxCountB, bannerTimer = a->bannerTimer, paused = a->paused,
        pauseSlide = a->pauseSlide;
        trailHead = a->orbitTrailHead, trailCount = a->orbitTrailCount;
        fade = a->completeFade, camX = a->camX, camY = a->camY, outer = a->orbitOuterAngle,
        inner = a->orbitInnerAngle;
    }
    void Restore(c_MyApp* a) const {
        for (size_t i = 0; i < followers.size(); ++i) a->followers[i] = followers[i];
        for (size_t i = 0; i < stars.size(); ++i) a->stars[i] = stars[i];
        for (size_t i = 0; i < player.size(); ++i) a->player[i] = player[i];
        a->lastResult = lastResult, a->shownResult = shownResult, a->gameOver = gameOver;
        a->sfxCountB = sfxCountB, a->bannerTimer = bannerTimer, a->paused = paused,
        a->pauseSlide = pauseSlide;
        a->orbitTrailHead = trailHead, a->orbitTrailCount = trailCount;
        a->completeFade = fade, a->camX = camX, a->camY = camY, a->orbitOuterAngle = outer,
        a->orbitInnerAngle = inner;
    }
};

// Level 2 with its hundred followers round home, one update into the count.
Snapshot& CountMoment() {
    static Snapshot snap = [] {
        StartLevel2();
        c_MyApp* app = Game().app();
        const int home = rec::kSize * (app->planetCount - 1);
        const float hx = app->planets[home + rec::kPlanetX], hy = app->planets[home + rec::kPlanetY];
        for (int j = 0; j <= app->followerLast; ++j) {
            app->followers[rec::kSize * j] = 1;
            app->followers[rec::kSize * j + rec::kFollowerX] = hx + (j % 10) * 12 - 54;
            app->followers[rec::kSize * j + rec::kFollowerY] = hy + (j / 10) * 12 - 54;
        }
        app->camX = app->camTargetX = hx - vscrw / 2;
        app->camY = app->camTargetY = hy - vscrh / 2;
        app->player[rec::kPlayerHomeMeter] = 64;
        Game().Step(2);
        Snapshot s;
        s.Take(app);
        return s;
    }();
    return snap;
}

// The pause screen fully open with a full trail.
Snapshot& PauseMoment() {
    static Snapshot snap = [] {
        StartLevel2();
        c_MyApp* app = Game().app();
        app->orbitRadius = 60;
        app->orbitSpeed = 7;
        Game().Tap(kKeyEscape);
        Game().Step(120);
        Snapshot s;
        s.Take(app);
        return s;
    }();
    return snap;
}

void TimeUpdates(benchmark::State& state, const Snapshot& snap) {
    c_MyApp* app = Game().app();
    for (auto _ : state) {
        state.PauseTiming();
        snap.Restore(app);
        state.ResumeTiming();
        app->p_OnUpdate();
    }
    state.counters["records"] = Game().RecordCount();
}

void TimeRenders(benchmark::State& state, const Snapshot& snap) {
    c_MyApp* app = Game().app();
    snap.Restore(app);
    app->p_OnUpdate();
    for (auto _ : state) {
        Game().host()->RenderGame();
        glFinish();
    }
    state.counters["records"] = Game().RecordCount();
}

void BM_CountUpdate(benchmark::State& state) {
    TimeUpdates(state, CountMoment());
}
void BM_CountRender(benchmark::State& state) {
    TimeRenders(state, CountMoment());
}
void BM_PauseUpdate(benchmark::State& state) {
    TimeUpdates(state, PauseMoment());
}
void BM_PauseRender(benchmark::State& state) {
    TimeRenders(state, PauseMoment());
}

BENCHMARK(BM_CountUpdate)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CountRender)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PauseUpdate)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PauseRender)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
