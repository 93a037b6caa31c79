// The autopilot in the whole game (real host, window and input device,
// test clock): it completes the first levels, and the same input on the
// same clock plays a level identically.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "game/records.h"
#include "tools/autoplay/autoplay_run.h"

namespace {

TEST(Autopilot, CompletesLevelOneWithAPassingResult) {
    GameHarness game;
    autopilot::LevelRun run = autopilot::PlayLevel(game, 1);
    EXPECT_TRUE(run.startedFromWheel);
    EXPECT_EQ(run.ending, "complete");
    EXPECT_GE(run.result, 25);
    EXPECT_LE(run.result, 100);
    EXPECT_EQ(game.app()->screenMode, 1) << "back on the title screen";
}

// Level 2 is the first with the full swarm, arms on every planet between
// start and home, and six pickups to collect along the chain.
TEST(Autopilot, CompletesLevelTwoWithAPassingResult) {
    GameHarness::Options options;
    options.savedState = String(autopilot::SavedStateUnlocking(2).c_str());
    GameHarness game(options);
    autopilot::LevelRun run = autopilot::PlayLevel(game, 2);
    EXPECT_TRUE(run.startedFromWheel);
    EXPECT_EQ(run.ending, "complete");
    EXPECT_GE(run.result, 25);
    EXPECT_LE(run.result, 100);
}

struct Snapshot {
    std::vector<float> followers, planets, player;
    int updates = 0;
};

std::vector<float> Copy(const Array<float>& a) {
    return std::vector<float>(a.Data(), a.Data() + a.Length());
}

// Plays level 1 in a fresh game and keeps the arrays as the level ended.
Snapshot PlayLevelOne() {
    GameHarness game;
    Snapshot s;
    c_MyApp* app = game.app();
    autopilot::LevelRun run = autopilot::PlayLevel(game, 1, [&](const autopilot::Pilot&) {
        if (app->gameOver != 0 || app->player[rec::kPlayerHomeMeter] >= 64.0f) {
            s.followers = Copy(app->followers);
            s.planets = Copy(app->planets);
            s.player = Copy(app->player);
        }
    });
    s.updates = run.updates;
    return s;
}

TEST(Autopilot, TheSameInputOnTheSameClockPlaysALevelIdentically) {
    Snapshot a = PlayLevelOne();
    Snapshot b = PlayLevelOne();
    ASSERT_FALSE(a.followers.empty());
    EXPECT_EQ(a.updates, b.updates);
    ASSERT_EQ(a.followers.size(), b.followers.size());
    EXPECT_EQ(std::memcmp(a.followers.data(), b.followers.data(), a.followers.size() * sizeof(float)), 0);
    EXPECT_EQ(std::memcmp(a.planets.data(), b.planets.data(), a.planets.size() * sizeof(float)), 0);
    EXPECT_EQ(std::memcmp(a.player.data(), b.player.data(), a.player.size() * sizeof(float)), 0);
}

}  // namespace
