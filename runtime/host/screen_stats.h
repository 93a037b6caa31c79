// Frame-time statistics per screen and window size, the `--stats` option.
//
// The application names the screen it shows (zq_app_SetScreenName, any
// time, as often as it likes); the frame loop reports every buffer swap
// (zqScreenStatsSwapped). A frame time is the interval between two
// consecutive swaps that both showed the same screen at the same device
// size; the interval across a change of screen or size belongs to neither.
// At exit the program prints one line per screen and size shown, in the
// order first shown:
//
//     stats <screen> <width>x<height> renders=N median_ms=X p99_ms=Y
//
// N counts the swaps of that screen at that size; X and Y are nearest-rank
// percentiles of its frame times, in steps of 0.01 ms (0 with fewer than two
// swaps). The lines go to standard output at every exit that runs the
// process's exit handlers: a quit, F4, closing the window, the end of the
// frame loop, and also a fatal error's exit.
//
// Costs nothing when off: without --stats a swap is one test of a flag and
// naming a screen stores one pointer. Memory: one map node per distinct
// 0.01 ms frame time per bucket, so a long run stays small.
//
// Main thread only.
#pragma once

#include <map>
#include <string>
#include <vector>

// The application's name for the screen it shows now. `name` must live for
// the rest of the run (a string literal); null means "unnamed", which is
// reported as "none".
void zq_app_SetScreenName(const char* name);
// The name last set (null before any).
const char* zq_app_ScreenName();

// Called by the frame loop right after each buffer swap. The first call
// with --stats given registers the report at exit.
void zqScreenStatsSwapped();
// The report so far (empty without --stats): for a run that never exits,
// such as the browser's page.
std::string zqScreenStatsReport();

// The collector behind it, with the clock and the sizes passed in, so that
// it can be driven directly.
class ZqScreenStats {
  public:
    // One swap at `seconds` that showed `screen` at width x height.
    void Swapped(const char* screen, int width, int height, double seconds);
    // The report, one line per screen and size in order of first showing,
    // each ending in a newline.
    std::string Report() const;

  private:
    struct Bucket {
        std::string screen;
        int width = 0, height = 0;
        long renders = 0;
        long intervals = 0;
        std::map<long, long> counts;  // frame time in 0.01 ms steps (rounded) -> frames
        // The nearest-rank percentile p (0..1] in milliseconds.
        double Percentile(double p) const;
    };
    std::vector<Bucket> buckets;
    int last = -1;  // bucket of the previous swap, -1 before the first
    double lastSeconds = 0;
};
