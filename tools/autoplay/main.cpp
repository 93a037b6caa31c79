// skitterwind-autoplay FIRST [LAST]: the autopilot plays levels FIRST..LAST
// in the real game (window, renderer, input device) with the test clock,
// and prints one tab-separated line per level under a header line:
//
//   level  result  updates  ending
//
// result is the percentage brought home (0 for a failure), updates the
// gameplay updates the level took, ending "complete", "time" or "bugs".
// Each level is played in a fresh game whose saved results unlock it, and
// is started from the title's wheel with the arrow keys and Enter.
// Without a display the tool runs itself again under xvfb-run. Sound goes
// to OpenAL's null output unless ALSOFT_DRIVERS says otherwise (the test
// clock runs faster than real time). SKITTERWIND_AUTOPLAY_TRACE set to
// anything non-empty adds a line per second of play on standard error;
// SKITTERWIND_AUTOPLAY_SHOT=FILE plays in a 1280 x 960 window and saves a
// screenshot of the first level after 400 updates of play as a PNG.
// Exit status 0, or 2 on bad arguments.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "canvas.h"
#include "game/records.h"
#include "tools/autoplay/autoplay_run.h"

namespace {

int LevelArg(const char* s) {
    char* end = nullptr;
    long v = std::strtol(s, &end, 10);
    return (*s != '\0' && *end == '\0' && v >= 1 && v <= 100) ? static_cast<int>(v) : 0;
}

// One line per second of play on standard error.
void Trace(const c_MyApp& app, const autopilot::Pilot& pilot, int update) {
    autopilot::Pilot::Target t = pilot.target();
    std::fprintf(stderr, "%5d  bug (%.0f, %.0f)  swarm %d  meter %.1f  waypoint %d/%d (%.0f, %.0f) kind %d\n",
                 update, app.player[rec::kPlayerX], app.player[rec::kPlayerY], app.aliveFollowers,
                 app.player[rec::kPlayerHomeMeter], pilot.waypoint(), pilot.waypoints(), t.x, t.y, t.kind);
}

void SaveShot(GameHarness& game, const char* file) {
    int w = 0, h = 0;
    std::vector<uint32_t> argb = game.Screenshot(&w, &h);
    std::vector<uint8_t> rgba;
    rgba.reserve(argb.size() * 4);
    for (uint32_t p : argb)
        for (int shift : {16, 8, 0, 24}) rgba.push_back(static_cast<uint8_t>(p >> shift));
    if (!assetgen::writePng(file, w, h, 4, rgba))
        std::fprintf(stderr, "skitterwind-autoplay: cannot write %s\n", file);
}

int Usage() {
    std::fprintf(stderr, "usage: skitterwind-autoplay FIRST [LAST]   (levels 1..100)\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) return Usage();
    int first = LevelArg(argv[1]);
    int last = argc == 3 ? LevelArg(argv[2]) : first;
    if (first == 0 || last < first) return Usage();

    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') {
        std::vector<char*> args = {const_cast<char*>("xvfb-run"), const_cast<char*>("-a")};
        for (int i = 0; i < argc; ++i) args.push_back(argv[i]);
        args.push_back(nullptr);
        execvp("xvfb-run", args.data());
        std::fprintf(stderr, "skitterwind-autoplay: no display and no xvfb-run\n");
        return 1;
    }
    setenv("ALSOFT_DRIVERS", "null", 0);

    const char* traceVar = std::getenv("SKITTERWIND_AUTOPLAY_TRACE");
    const bool trace = traceVar != nullptr && *traceVar != '\0';
    // The game prints its own diagnostics on standard output: keep them on
    // standard error so that standard output is the table alone.
    std::fflush(stdout);
    FILE* table = fdopen(dup(STDOUT_FILENO), "w");
    dup2(STDERR_FILENO, STDOUT_FILENO);

    const char* shot = std::getenv("SKITTERWIND_AUTOPLAY_SHOT");
    GameHarness::Options options;
    if (shot != nullptr && *shot != '\0') options.width = 1280, options.height = 960;
    std::fprintf(table, "level\tresult\tupdates\tending\n");
    std::fflush(table);
    for (int level = first; level <= last; ++level) {
        // A game of its own per level, whose saved results have the level
        // on offer on the title's wheel.
        options.savedState = String(autopilot::SavedStateUnlocking(level).c_str());
        GameHarness game(options);
        int n = 0;
        autopilot::LevelRun run = autopilot::PlayLevel(game, level, [&](const autopilot::Pilot& pilot) {
            ++n;
            if (trace && n % 60 == 0) Trace(*game.app(), pilot, n);
            if (shot != nullptr && *shot != '\0' && level == first && n == 400) SaveShot(game, shot);
        });
        std::fprintf(table, "%d\t%d\t%d\t%s\n", run.level, run.result, run.updates, run.ending.c_str());
        std::fflush(table);
    }
    return 0;
}
