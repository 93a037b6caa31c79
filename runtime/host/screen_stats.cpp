// Frame times per screen and window size (see screen_stats.h).
#include "runtime/host/screen_stats.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "runtime/host/options.h"
#include "runtime/lang/game.h"

namespace {

const char* screenName = nullptr;

// Hundredths of a millisecond per second.
constexpr double kStepsPerSecond = 100000.0;
// Longest frame time kept apart: ten minutes; a longer pause counts as this.
constexpr long kMaxSteps = 600L * 100000L;

ZqScreenStats& ProcessStats() {
    static ZqScreenStats* stats = new ZqScreenStats();  // never destroyed: used by an exit handler
    return *stats;
}

void PrintReport() {
    std::string report = ProcessStats().Report();
    std::fwrite(report.data(), 1, report.size(), stdout);
    std::fflush(stdout);
}

}  // namespace

void zq_app_SetScreenName(const char* name) {
    screenName = name;
}

const char* zq_app_ScreenName() {
    return screenName;
}

std::string zqScreenStatsReport() {
    return ProcessStats().Report();
}

void zqScreenStatsSwapped() {
    if (!zqOptions().stats) return;
    static bool registered = false;
    if (!registered) {
        registered = true;
        std::atexit(PrintReport);
    }
    static const auto start = std::chrono::steady_clock::now();
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ProcessStats().Swapped(screenName, zq_app__devWidth, zq_app__devHeight, seconds);
}

void ZqScreenStats::Swapped(const char* screen, int width, int height, double seconds) {
    if (!screen) screen = "none";
    int index = -1;
    // The same bucket as the last swap is by far the most common case.
    if (last >= 0) {
        const Bucket& b = buckets[static_cast<size_t>(last)];
        if (b.width == width && b.height == height && b.screen == screen) index = last;
    }
    for (size_t i = 0; index < 0 && i < buckets.size(); ++i) {
        const Bucket& b = buckets[i];
        if (b.width == width && b.height == height && b.screen == screen) index = static_cast<int>(i);
    }
    if (index < 0) {
        buckets.push_back(Bucket{screen, width, height, 0, 0, {}});
        index = static_cast<int>(buckets.size()) - 1;
    }
    Bucket& bucket = buckets[static_cast<size_t>(index)];
    ++bucket.renders;
    if (index == last) {
        double steps = std::round((seconds - lastSeconds) * kStepsPerSecond);
        long key = steps < 0 ? 0 : steps > kMaxSteps ? kMaxSteps : static_cast<long>(steps);
        ++bucket.counts[key];
        ++bucket.intervals;
    }
    last = index;
    lastSeconds = seconds;
}

double ZqScreenStats::Bucket::Percentile(double p) const {
    if (intervals == 0) return 0;
    // Nearest rank: the smallest time with at least p of the frames at or below it.
    long rank = static_cast<long>(std::ceil(p * static_cast<double>(intervals)));
    if (rank < 1) rank = 1;
    long seen = 0;
    for (const auto& [steps, count] : counts) {
        seen += count;
        if (seen >= rank) return static_cast<double>(steps) / 100.0;
    }
    return static_cast<double>(counts.rbegin()->first) / 100.0;
}

std::string ZqScreenStats::Report() const {
    std::string out;
    char line[256];
    for (const Bucket& b : buckets) {
        std::snprintf(line, sizeof line, "stats %s %dx%d renders=%ld median_ms=%.2f p99_ms=%.2f\n",
                      b.screen.c_str(), b.width, b.height, b.renders, b.Percentile(0.5), b.Percentile(0.99));
        out += line;
    }
    return out;
}
