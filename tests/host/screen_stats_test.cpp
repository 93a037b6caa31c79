// Frame-time statistics per screen and window size: which swaps make a
// frame time, how screens and sizes are kept apart, and the report's
// percentiles and format.
#include <gtest/gtest.h>

#include <string>

#include "runtime/host/screen_stats.h"

namespace {

// Swaps `count` frames of `ms` milliseconds each on one screen and size,
// starting at `*clock` seconds; the clock moves on.
void Frames(ZqScreenStats& stats, const char* screen, int w, int h, int count, double ms, double* clock) {
    for (int i = 0; i < count; ++i) {
        stats.Swapped(screen, w, h, *clock);
        *clock += ms / 1000.0;
    }
}

TEST(ScreenStats, OnlyIntervalsWithinOneScreenAndSizeCount) {
    ZqScreenStats stats;
    double clock = 1.0;
    Frames(stats, "title", 640, 480, 3, 10.0, &clock);
    // The 500 ms gap across the change of screen is nobody's frame.
    clock += 0.5;
    Frames(stats, "play", 640, 480, 3, 20.0, &clock);
    Frames(stats, "play", 1920, 1080, 2, 30.0, &clock);
    EXPECT_EQ(stats.Report(),
              "stats title 640x480 renders=3 median_ms=10.00 p99_ms=10.00\n"
              "stats play 640x480 renders=3 median_ms=20.00 p99_ms=20.00\n"
              "stats play 1920x1080 renders=2 median_ms=30.00 p99_ms=30.00\n");
}

TEST(ScreenStats, ReturningToAScreenAddsToItsLineInFirstShownOrder) {
    ZqScreenStats stats;
    double clock = 0;
    Frames(stats, "title", 640, 480, 2, 10.0, &clock);
    Frames(stats, "play", 640, 480, 2, 10.0, &clock);
    Frames(stats, "title", 640, 480, 2, 10.0, &clock);
    EXPECT_EQ(stats.Report(),
              "stats title 640x480 renders=4 median_ms=10.00 p99_ms=10.00\n"
              "stats play 640x480 renders=2 median_ms=10.00 p99_ms=10.00\n");
}

TEST(ScreenStats, PercentilesAreNearestRank) {
    ZqScreenStats stats;
    double clock = 0;
    // 100 frames: 98 of 16 ms, one of 40 ms, one of 90 ms.
    Frames(stats, "play", 800, 600, 98, 16.0, &clock);
    Frames(stats, "play", 800, 600, 1, 40.0, &clock);
    Frames(stats, "play", 800, 600, 1, 90.0, &clock);
    Frames(stats, "play", 800, 600, 1, 16.0, &clock);  // closes the last interval
    EXPECT_EQ(stats.Report(), "stats play 800x600 renders=101 median_ms=16.00 p99_ms=40.00\n");
}

TEST(ScreenStats, ASingleSwapHasNoFrameTimeAndAnUnnamedScreenIsNone) {
    ZqScreenStats stats;
    stats.Swapped(nullptr, 640, 480, 0.0);
    EXPECT_EQ(stats.Report(), "stats none 640x480 renders=1 median_ms=0.00 p99_ms=0.00\n");
}

TEST(ScreenStats, TimesRoundToHundredthsOfAMillisecondAndABackwardClockIsZero) {
    ZqScreenStats stats;
    stats.Swapped("loader", 640, 480, 1.0);
    stats.Swapped("loader", 640, 480, 1.0166666);
    EXPECT_EQ(stats.Report(), "stats loader 640x480 renders=2 median_ms=16.67 p99_ms=16.67\n");
    stats.Swapped("loader", 640, 480, 0.5);
    stats.Swapped("loader", 640, 480, 0.4);
    EXPECT_EQ(stats.Report(), "stats loader 640x480 renders=4 median_ms=0.00 p99_ms=16.67\n");
}

TEST(ScreenStats, TheApplicationsNameIsKept) {
    zq_app_SetScreenName("pause");
    EXPECT_STREQ(zq_app_ScreenName(), "pause");
    zq_app_SetScreenName(nullptr);
    EXPECT_EQ(zq_app_ScreenName(), nullptr);
}

}  // namespace
