// Level construction: the layouts generated from level numbers, the draw
// order behind them, the play-state reset of a level start, and the turning
// helper.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "game/degrees.h"
#include "game/records.h"
#include "runtime/lang/random.h"
#include "tests/game_play/play_fixture.h"

namespace {

// Levels are laid out with correctly rounded sines, so that every C library
// gives the same levels (glibc's own sinf is one unit off at 13 degrees).
TEST(LevelSines, EveryWholeDegreeIsRoundedOnceFromTheExactValue) {
    for (int g = -720; g <= 720; ++g) {
        const long double x = static_cast<float>(g) * kDegToRad;
        EXPECT_EQ(SinDegExact(static_cast<float>(g)), static_cast<float>(std::sin(x))) << g;
        EXPECT_EQ(CosDegExact(static_cast<float>(g)), static_cast<float>(std::cos(x))) << g;
    }
}

TEST_F(PlayFixture, LevelOneIsThreePlanetsWithOnePickupAndHazard) {
    app->p_GetLevel(1);
    EXPECT_EQ(app->planetCount, 3);
    EXPECT_EQ(app->followerLast, 4);
    EXPECT_EQ(app->hazardLast, 1);
    EXPECT_EQ(app->player[rec::kPlayerColourTheme], 4.0f);
    EXPECT_EQ(static_cast<uint32_t>(zq_random_Seed), 1589230423u);

    const float* p0 = Planet(0);
    EXPECT_EQ(p0[rec::kPlanetPresent], 1.0f);
    EXPECT_EQ(p0[rec::kPlanetX], 0.0f);
    EXPECT_EQ(p0[rec::kPlanetY], 0.0f);
    EXPECT_EQ(p0[rec::kPlanetRadius], 240.0f);
    EXPECT_EQ(p0[rec::kPlanetArms], 3.0f);
    EXPECT_EQ(p0[rec::kPlanetAngle], 150.0f);
    EXPECT_EQ(p0[rec::kPlanetSpin], -2.5f);
    EXPECT_EQ(p0[rec::kPlanetColour], 2.0f);

    const float* p1 = Planet(1);
    EXPECT_EQ(p1[rec::kPlanetX], 236.0f);
    EXPECT_EQ(p1[rec::kPlanetY], -271.0f);
    EXPECT_EQ(p1[rec::kPlanetRadius], 168.0f);
    EXPECT_EQ(p1[rec::kPlanetArms], 2.0f);
    EXPECT_EQ(p1[rec::kPlanetAngle], 79.0f);
    EXPECT_NEAR(p1[rec::kPlanetPickupX], 356.081f, 0.001f);
    EXPECT_NEAR(p1[rec::kPlanetPickupY], -229.653f, 0.001f);

    EXPECT_EQ(Planet(2)[rec::kPlanetX], 515.0f);
    EXPECT_EQ(Planet(2)[rec::kPlanetY], -44.0f);
    EXPECT_EQ(Planet(2)[rec::kPlanetRadius], 240.0f);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(std::fabs(Planet(i)[rec::kPlanetSpin]), 2.5f) << i;

    // The one hazard sits on the intermediate planet; record 0 stays empty.
    EXPECT_EQ(app->hazards[rec::kHazardState], 0.0f);
    const float* h = &app->hazards[rec::kSize];
    EXPECT_EQ(h[rec::kHazardState], 1.0f);
    EXPECT_EQ(h[rec::kHazardX], 236.0f);
    EXPECT_EQ(h[rec::kHazardY], -271.0f);
    EXPECT_EQ(h[rec::kHazardTimer], 60.0f);

    for (int j = 0; j <= 4; ++j) EXPECT_EQ(app->followers[j * rec::kSize], 1.0f);
    EXPECT_EQ(app->timeLeft, 6310);
    EXPECT_EQ(app->player[rec::kPlayerHomeMeter], 16.0f);
    EXPECT_EQ(app->player[rec::kPlayerPickupsLeft], 1.0f);
}

// These two positions come out one pixel different when the sines are
// taken in double precision.
TEST_F(PlayFixture, LayoutsUseSinglePrecisionSines) {
    app->p_GetLevel(9);
    EXPECT_EQ(Planet(2)[rec::kPlanetY], -205.0f);
    app->p_GetLevel(10);
    EXPECT_EQ(Planet(1)[rec::kPlanetY], 168.0f);
}

TEST_F(PlayFixture, PlanetCountFollowsLevelModSix) {
    const std::pair<int, int> expected[] = {{2, 8}, {6, 11}, {7, 8}, {9, 10}, {10, 12}, {11, 14}, {100, 12}};
    for (auto [level, count] : expected) {
        app->p_GetLevel(level);
        EXPECT_EQ(app->planetCount, count) << "level " << level;
        EXPECT_EQ(app->followerLast, 99) << "level " << level;
        EXPECT_EQ(app->hazardLast, count - 2) << "level " << level;
    }
}

TEST_F(PlayFixture, EveryLevelKeepsItsInvariants) {
    for (int level = 1; level <= 100; ++level) {
        app->p_GetLevel(level);
        ASSERT_LE(app->hazardLast, rec::kHazardRecords - 1) << level;
        EXPECT_EQ(app->hazards[rec::kHazardState], 0.0f) << level;
        const int last = app->planetCount - 1;
        EXPECT_EQ(Planet(0)[rec::kPlanetRadius], 240.0f) << level;
        EXPECT_EQ(Planet(last)[rec::kPlanetRadius], 240.0f) << level;
        for (int i = 0; i <= last; ++i) {
            const float* p = Planet(i);
            EXPECT_GE(p[rec::kPlanetArms], 2.0f);
            EXPECT_LE(p[rec::kPlanetArms], 4.0f);
            EXPECT_GE(p[rec::kPlanetColour], 0.0f);
            EXPECT_LE(p[rec::kPlanetColour], 7.0f);
            EXPECT_EQ(std::fmod(p[rec::kPlanetRadius], 24.0f), 0.0f);
            if (i > 0 && i < last) {
                EXPECT_GE(p[rec::kPlanetRadius], 96.0f);
                EXPECT_LE(p[rec::kPlanetRadius], 192.0f);
                // The pickup lies 72 pixels from the centre up to 24 inside the rim.
                float d = std::hypot(p[rec::kPlanetPickupX] - p[rec::kPlanetX],
                                     p[rec::kPlanetPickupY] - p[rec::kPlanetY]);
                EXPECT_GE(d, 71.99f);
                EXPECT_LE(d, p[rec::kPlanetRadius] - 23.99f);
            }
            if (i > 0) {
                // Consecutive planets overlap: the chain can be walked.
                const float* q = Planet(i - 1);
                float gap =
                    std::hypot(p[rec::kPlanetX] - q[rec::kPlanetX], p[rec::kPlanetY] - q[rec::kPlanetY]);
                EXPECT_LT(gap, p[rec::kPlanetRadius] + q[rec::kPlanetRadius]) << level << " " << i;
            }
        }
    }
}

TEST_F(PlayFixture, BuildingALevelTwiceGivesIdenticalRecords) {
    app->p_GetLevel(37);
    std::vector<float> planets(app->planets.Data(), app->planets.Data() + app->planets.Length());
    std::vector<float> hazards(app->hazards.Data(), app->hazards.Data() + app->hazards.Length());
    int seed = zq_random_Seed;
    app->p_GetLevel(38);
    app->p_GetLevel(37);
    EXPECT_EQ(planets, std::vector<float>(app->planets.Data(), app->planets.Data() + app->planets.Length()));
    EXPECT_EQ(hazards, std::vector<float>(app->hazards.Data(), app->hazards.Data() + app->hazards.Length()));
    EXPECT_EQ(seed, zq_random_Seed);
}

TEST_F(PlayFixture, LoadGameStartsEveryLevelFromAFreshState) {
    // A previous level that ended: complete, faded out, with lost bugs.
    app->currentLevel = 1;
    app->p_LoadGame();
    app->gameOver = 1;
    app->gameOverReason = 3;
    app->lastResult = 80;
    app->shownResult = 80;
    app->completeFade = 130.0f;
    app->bannerTimer = 90;
    app->paused = 1;
    app->camX = 500.0f;
    app->player[rec::kPlayerVX] = 2.0f;
    app->followers[rec::kFollowerBump] = 5.0f;
    app->particles[7 * rec::kSize] = 4.0f;
    app->screenMode = 11;

    app->currentLevel = 2;
    app->p_LoadGame();
    EXPECT_EQ(app->screenMode, 10);
    EXPECT_EQ(app->gameOver, 0);
    EXPECT_EQ(app->gameOverReason, 0);
    EXPECT_EQ(app->lastResult, 0);
    EXPECT_EQ(app->shownResult, 0);
    EXPECT_EQ(app->completeFade, 0.0f);
    EXPECT_EQ(app->bannerTimer, 0);
    EXPECT_EQ(app->paused, 0);
    EXPECT_EQ(app->camX, 0.0f);
    EXPECT_EQ(app->player[rec::kPlayerVX], 0.0f);
    EXPECT_EQ(app->followers[rec::kFollowerBump], 0.0f);
    EXPECT_EQ(app->particles[7 * rec::kSize], 0.0f);
    EXPECT_EQ(app->particleLast, 250);
    EXPECT_EQ(app->starLast, 100);
    EXPECT_EQ(app->planetCount, 8);
    EXPECT_EQ(app->followerLast, 99);
}

TEST(WhichWayDoIGo, TurnsTheShortWayRoundTheRing) {
    EXPECT_EQ(c_MyApp::m_WhichWayDoIGo(0, 90, 0, 359), 90);
    EXPECT_EQ(c_MyApp::m_WhichWayDoIGo(0, 270, 0, 359), -89);
    EXPECT_EQ(c_MyApp::m_WhichWayDoIGo(10, 10, 0, 359), 0);
    EXPECT_EQ(c_MyApp::m_WhichWayDoIGo(350, 10, 0, 359), 20);
    EXPECT_EQ(c_MyApp::m_WhichWayDoIGo(-10, 0, 0, 359), 10);
    EXPECT_EQ(c_MyApp::m_WhichWayDoIGo(0, 180, 0, 359), -179);
    EXPECT_EQ(c_MyApp::m_WhichWayDoIGo(0, 179, 0, 359), 179);
    // Less than 1.5 below the current heading: no turn at all.
    EXPECT_EQ(c_MyApp::m_WhichWayDoIGo(10, 9, 0, 359), 0);
    EXPECT_EQ(c_MyApp::m_WhichWayDoIGo(10, 8, 0, 359), -1);
    EXPECT_EQ(c_MyApp::m_WhichWayDoIGo(720, 45, 0, 359), 45);
}

}  // namespace
