// Figures of the game's first layer, on the X server in $DISPLAY (Xvfb and
// llvmpipe in our runs), from the program folder (data/ beside it):
//   BM_LaunchToFirstLoaderFrame  fork + exec of ./skitterwind until its window
//                                shows a non-black pixel (wall time)
//   BM_WholeLoad                 the 29 loader frames at tier 2 (render and
//                                update each, no sleeping), and the slowest
//   BM_LoaderUpdate / _Render    one loader update (p_WaitStart only, the
//                                files already read) and one render of it
//   BM_TitleUpdate / _Render     one update and one render of screen 1
//   BM_ReplayFull                a render of a full list: 2,499 sprites
//   BM_ResidentAfterLoad/<tier>  resident memory after the load, each tier in
//                                a fresh process (counter rss_mb)
// With --load-steps the program prints the median time of each load step.
// Renders include the buffer swap. CPU figures are this thread's CPU time.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "graphics/zq_graphics.h"
#include "tests/game_support/game_harness.h"

namespace {

// ---- launch ------------------------------------------------------------------

Window FindByName(Display* d, Window w, const char* name) {
    char* title = nullptr;
    if (XFetchName(d, w, &title) && title) {
        bool match = std::strcmp(title, name) == 0;
        XFree(title);
        if (match) return w;
    }
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int n = 0;
    if (!XQueryTree(d, w, &root, &parent, &children, &n)) return 0;
    Window found = 0;
    for (unsigned int i = 0; i < n && !found; ++i) found = FindByName(d, children[i], name);
    if (children) XFree(children);
    return found;
}

bool ShowsAnything(Display* d, Window w) {
    XImage* image = XGetImage(d, w, 0, 0, 640, 480, AllPlanes, ZPixmap);
    if (!image) return false;
    bool lit = false;
    for (int y = 0; y < 480 && !lit; y += 2)
        for (int x = 0; x < 640 && !lit; x += 2) lit = (XGetPixel(image, x, y) & 0xffffff) != 0;
    XDestroyImage(image);
    return lit;
}

int IgnoreXErrors(Display*, XErrorEvent*) {
    return 0;
}

void BM_LaunchToFirstLoaderFrame(benchmark::State& state) {
    Display* d = XOpenDisplay(nullptr);
    if (!d) {
        state.SkipWithError("no X display");
        return;
    }
    XSetErrorHandler(IgnoreXErrors);  // windows vanish while being searched
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        pid_t pid = fork();
        if (pid == 0) {
            setenv("ALSOFT_DRIVERS", "null", 1);
            freopen("/dev/null", "w", stdout);
            execl("./skitterwind", "skitterwind", static_cast<char*>(nullptr));
            _exit(127);
        }
        Window w = 0;
        bool shown = false;
        for (int i = 0; i < 20000 && !shown; ++i) {
            if (!w) w = FindByName(d, DefaultRootWindow(d), "Skitterwind");
            if (w) shown = ShowsAnything(d, w);
            if (!shown) usleep(500);
        }
        double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        if (!shown) state.SkipWithError("the loader never showed");
        state.SetIterationTime(seconds);
        usleep(200000);  // let the server forget the old window
    }
    XCloseDisplay(d);
}
BENCHMARK(BM_LaunchToFirstLoaderFrame)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

// ---- the game in process ------------------------------------------------------

// Counter slowest_frame_ms: the longest single frame (render + update) of
// the load; above 16.7 ms the loop cannot keep 60 updates per second.
void BM_WholeLoad(benchmark::State& state) {
    double slowest = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto game = std::make_unique<GameHarness>();
        state.ResumeTiming();
        while (game->app()->loaderStage > 0) {
            auto start = std::chrono::steady_clock::now();
            game->Step();
            double ms =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
            if (ms > slowest) slowest = ms;
        }
        state.PauseTiming();
        game.reset();
        state.ResumeTiming();
    }
    state.counters["slowest_frame_ms"] = slowest;
}
BENCHMARK(BM_WholeLoad)->Iterations(5)->Unit(benchmark::kMillisecond);

// A loaded game kept for the per-frame figures.
GameHarness& Loaded() {
    static GameHarness* game = [] {
        auto* g = new GameHarness();
        g->FinishLoading();
        return g;
    }();
    return *game;
}

void BM_LoaderUpdate(benchmark::State& state) {
    c_MyApp* app = Loaded().app();
    for (auto _ : state) app->p_WaitStart(1);
}
BENCHMARK(BM_LoaderUpdate)->Unit(benchmark::kMicrosecond);

void BM_LoaderRender(benchmark::State& state) {
    GameHarness& game = Loaded();
    game.app()->p_WaitStart(1);
    for (auto _ : state) game.Render();
}
BENCHMARK(BM_LoaderRender)->Unit(benchmark::kMicrosecond);

void BM_TitleUpdate(benchmark::State& state) {
    GameHarness& game = Loaded();
    c_MyApp* app = game.app();
    for (auto _ : state) {
        app->p_OnUpdate();
    }
    state.counters["records"] = game.RecordCount();
}
BENCHMARK(BM_TitleUpdate)->Unit(benchmark::kMicrosecond);

void BM_TitleRender(benchmark::State& state) {
    GameHarness& game = Loaded();
    game.Step();
    for (auto _ : state) game.Render();
    state.counters["records"] = game.RecordCount();
    state.counters["draw_calls"] = zq_graphics_FrameStats().drawCalls;
}
BENCHMARK(BM_TitleRender)->Unit(benchmark::kMicrosecond);

void BM_ReplayFull(benchmark::State& state) {
    GameHarness& game = Loaded();
    c_MyApp* app = game.app();
    app->p_CLS2D(0, 0, 0, 1);
    unsigned seed = 1;
    auto next = [&seed](float range) {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<float>(seed >> 8) / 16777216.0f * range;
    };
    for (int i = 0; i < 2499; ++i) {
        float x = next(640), y = next(480), rot = next(360), frame = next(16);
        app->p_SetRot(rot);
        app->p_Alpha(0.5f + next(0.5f));
        app->p_DrawImg(2, x, y, frame);
    }
    for (auto _ : state) game.Render();
    state.counters["records"] = game.RecordCount();
    state.counters["draw_calls"] = zq_graphics_FrameStats().drawCalls;
}
BENCHMARK(BM_ReplayFull)->Unit(benchmark::kMicrosecond);

// ---- memory ---------------------------------------------------------------------

// Resident set of this process, megabytes.
double ResidentMb() {
    long pages = 0, resident = 0;
    FILE* f = std::fopen("/proc/self/statm", "r");
    if (f) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// Runs this program again as "--rss W H" and reads the figure it prints.
double ResidentInFreshProcess(int width, int height) {
    char self[4096];
    ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return 0;
    self[n] = '\0';
    std::string command =
        std::string(self) + " --rss " + std::to_string(width) + " " + std::to_string(height);
    FILE* p = popen(command.c_str(), "r");
    if (!p) return 0;
    double mb = 0;
    if (std::fscanf(p, "%lf", &mb) != 1) mb = 0;
    pclose(p);
    return mb;
}

void BM_ResidentAfterLoad(benchmark::State& state) {
    const int tier = static_cast<int>(state.range(0));
    const int width = tier == 1 ? 630 : tier == 2 ? 640 : 1280;
    const int height = tier == 1 ? 630 : tier == 2 ? 480 : 720;
    double mb = 0;
    for (auto _ : state) mb = ResidentInFreshProcess(width, height);
    state.counters["rss_mb"] = mb;
}
BENCHMARK(BM_ResidentAfterLoad)->Arg(1)->Arg(2)->Arg(4)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

// "--load-steps": the median wall time of each loader frame over 5 loads,
// to find the steps that cost the loop its 60 updates per second.
int PrintLoadSteps() {
    std::vector<std::vector<double>> times(30);
    for (int run = 0; run < 5; ++run) {
        GameHarness game;
        for (int frame = 0; game.app()->loaderStage > 0 && frame < 30; ++frame) {
            auto start = std::chrono::steady_clock::now();
            game.Step();
            times[frame].push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        }
    }
    for (size_t frame = 0; frame < times.size(); ++frame) {
        std::vector<double>& t = times[frame];
        if (t.empty()) continue;
        std::sort(t.begin(), t.end());
        std::printf("step %2zu: %6.1f ms\n", frame + 1, t[t.size() / 2]);
    }
    return 0;
}

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--load-steps") == 0) {
        setenv("ALSOFT_DRIVERS", "null", 1);
        return PrintLoadSteps();
    }
    if (argc == 4 && std::strcmp(argv[1], "--rss") == 0) {
        setenv("ALSOFT_DRIVERS", "null", 1);
        // The game's own console lines go nowhere; the figure goes to the pipe.
        int out = dup(1);
        int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        GameHarness game({std::atoi(argv[2]), std::atoi(argv[3]), String()});
        game.FinishLoading();
        std::string figure = std::to_string(ResidentMb()) + "\n";
        return write(out, figure.data(), figure.size()) > 0 ? 0 : 1;
    }
    setenv("ALSOFT_DRIVERS", "null", 1);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
