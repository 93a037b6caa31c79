// The frame loop's pacing, run with a real window and a test clock: sleeps
// move the clock at once, and a test advances it to simulate a stall.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/host/host_harness.h"

namespace {

constexpr double kPeriod = 1.0 / 60;

// The render/update pattern of the log as a string: 'R' per render, 'U'
// per update, '|' before each render after the first.
std::string Pattern(const RecordingDelegate& d) {
    std::string out;
    for (const std::string& e : d.log) {
        if (e == "render") out += out.empty() ? "R" : "|R";
        if (e == "update") out += "U";
    }
    return out;
}

RecordingDelegate* NewDelegate() {
    return gc_new<RecordingDelegate>()->m_new();
}

TEST(FrameLoop, FastMachineAtRate60SleepsThenMakesOneUpdatePerFrame) {
    ManualClock clock;
    ClockGuard guard(&clock);
    RecordingDelegate* d = NewDelegate();
    std::vector<double> updateTimes;
    d->onStart = [] { Host()->SetUpdateRate(60); };
    d->onUpdate = [&] {
        updateTimes.push_back(clock.now);
        if (d->updates == 10) Finish();
    };
    RunHost(d);
    EXPECT_EQ(Pattern(*d), "RU|RU|RU|RU|RU|RU|RU|RU|RU|RU");
    ASSERT_EQ(updateTimes.size(), 10u);
    // The first update starts the schedule; each later one waited exactly one period.
    for (size_t i = 1; i < updateTimes.size(); ++i)
        EXPECT_NEAR(updateTimes[i] - updateTimes[i - 1], kPeriod, 1e-9);
    EXPECT_EQ(clock.sleeps, 9);
}

TEST(FrameLoop, RateZeroMakesOneUpdatePerFrameWithoutSleeping) {
    ManualClock clock;
    ClockGuard guard(&clock);
    RecordingDelegate* d = NewDelegate();
    d->onUpdate = [&] {
        if (d->updates == 5) Finish();
    };
    RunHost(d);
    EXPECT_EQ(Pattern(*d), "RU|RU|RU|RU|RU");
    EXPECT_EQ(clock.sleeps, 0);
}

TEST(FrameLoop, AfterAOneSecondStallFourUpdatesThenAFreshSchedule) {
    ManualClock clock;
    ClockGuard guard(&clock);
    RecordingDelegate* d = NewDelegate();
    std::vector<double> updateTimes;
    double stallEnd = 0;
    d->onStart = [] { Host()->SetUpdateRate(60); };
    d->onRender = [&] {
        if (d->renders == 3) {
            clock.now += 1.0;  // the machine stalls for a second before this frame's updates
            stallEnd = clock.now;
        }
    };
    d->onUpdate = [&] {
        updateTimes.push_back(clock.now);
        if (d->updates == 9) Finish();
    };
    RunHost(d);
    // Frame 3 catches up with 4 of the 60 missed updates and forgets the rest.
    EXPECT_EQ(Pattern(*d), "RU|RU|RUUUU|RU|RU|RU");
    ASSERT_EQ(updateTimes.size(), 9u);
    // The frame after the burst starts a new schedule at once, from the clock...
    EXPECT_DOUBLE_EQ(updateTimes[6], stallEnd);
    // ...and the updates after it are one period apart again.
    EXPECT_NEAR(updateTimes[7] - updateTimes[6], kPeriod, 1e-9);
    EXPECT_NEAR(updateTimes[8] - updateTimes[7], kPeriod, 1e-9);
}

TEST(FrameLoop, RateChangeInsideAnUpdateStopsTheBurst) {
    ManualClock clock;
    ClockGuard guard(&clock);
    RecordingDelegate* d = NewDelegate();
    d->onStart = [] { Host()->SetUpdateRate(60); };
    d->onRender = [&] {
        if (d->renders == 3) clock.now += 1.0;
    };
    d->onUpdate = [&] {
        if (d->updates == 3) Host()->SetUpdateRate(30);  // first update of the burst
        if (d->updates == 6) Finish();
    };
    RunHost(d);
    // The burst stops after the update that changed the rate; the next frame
    // restarts the schedule without sleeping.
    EXPECT_EQ(Pattern(*d), "RU|RU|RU|RU|RU|RU");
    // Frames 2, 5 and 6 slept; frame 3 was late and frame 4 had no schedule.
    EXPECT_EQ(clock.sleeps, 3);
}

TEST(FrameLoop, UpdatesFollowANewRateOnceItIsSet) {
    ManualClock clock;
    ClockGuard guard(&clock);
    RecordingDelegate* d = NewDelegate();
    std::vector<double> updateTimes;
    d->onStart = [] { Host()->SetUpdateRate(60); };
    d->onUpdate = [&] {
        updateTimes.push_back(clock.now);
        if (d->updates == 2) Host()->SetUpdateRate(20);
        if (d->updates == 5) Finish();
    };
    RunHost(d);
    ASSERT_EQ(updateTimes.size(), 5u);
    EXPECT_NEAR(updateTimes[1] - updateTimes[0], kPeriod, 1e-9);
    EXPECT_DOUBLE_EQ(updateTimes[2], updateTimes[1]);  // schedule restarted at once
    EXPECT_NEAR(updateTimes[3] - updateTimes[2], 1.0 / 20, 1e-9);
    EXPECT_NEAR(updateTimes[4] - updateTimes[3], 1.0 / 20, 1e-9);
}

}  // namespace
