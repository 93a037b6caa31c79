// The gameplay update's rules: losing followers, the end of a level and how
// it ended, the home meter, the countdown and the arms' carrying.
#include <gtest/gtest.h>

#include "game/degrees.h"
#include "game/records.h"
#include "tests/game_play/play_fixture.h"

namespace {

class PlayRules : public PlayFixture {
  protected:
    void SetUp() override {
        PlayFixture::SetUp();
        Load(1);
    }
    float Meter() { return app->player[rec::kPlayerHomeMeter]; }
    float* Home() { return Planet(app->planetCount - 1); }
    void CollectEveryPickup() {
        for (int i = 1; i < app->planetCount - 1; ++i) Planet(i)[rec::kPlanetPickupX] = -1.0f;
    }
    void PlayerOnHome() { PlacePlayer(Home()[rec::kPlanetX], Home()[rec::kPlanetY]); }
    // Camera already where it aims, so nothing drifts out of view.
    void CameraOnPlayer() {
        app->camX = app->camTargetX = app->player[rec::kPlayerX] - 320.0f;
        app->camY = app->camTargetY = app->player[rec::kPlayerY] - 240.0f;
    }
};

TEST_F(PlayRules, AFollowerOutsideEveryPlanetIsLostInTheSameUpdate) {
    Follower(0)[rec::kFollowerY] = 300.0f;  // below the start planet, off every disc
    Follower(0)[rec::kFollowerTargetY] = 300.0f;
    Follower(1)[rec::kFollowerY] = 239.0f;  // still on the start planet's rim
    Follower(1)[rec::kFollowerTargetY] = 239.0f;
    app->p_Game();
    EXPECT_EQ(Follower(0)[rec::kFollowerState], 2.0f);
    EXPECT_LT(Follower(0)[rec::kFollowerFade], 0.5f);  // already drifting and fading
    EXPECT_EQ(Follower(1)[rec::kFollowerState], 1.0f);
    EXPECT_EQ(app->aliveFollowers, 5);  // lost in this update, still counted
    EXPECT_EQ(app->sfxCountA, 1);
}

TEST_F(PlayRules, TheEmptySwarmEndsTheLevelOneUpdateLater) {
    for (int j = 0; j <= app->followerLast; ++j) {
        Follower(j)[rec::kFollowerY] = Follower(j)[rec::kFollowerTargetY] = 300.0f;
    }
    app->p_Game();
    EXPECT_EQ(app->gameOver, 0);
    for (int j = 0; j <= app->followerLast; ++j) EXPECT_EQ(Follower(j)[rec::kFollowerState], 2.0f);
    app->p_Game();
    EXPECT_EQ(app->aliveFollowers, 0);
    EXPECT_EQ(app->gameOver, 1);
    EXPECT_EQ(app->gameOverReason, 8);
}

TEST_F(PlayRules, AFollowerFarOutsideTheViewIsDroppedSilentlyWhenSafe) {
    // Inside the start planet, but more than 256 pixels left of the view.
    app->camX = app->camTargetX = 200.0f;
    Follower(2)[rec::kFollowerX] = Follower(2)[rec::kFollowerTargetX] = -100.0f;
    app->camTargetX = 200.0f;
    PlacePlayer(520.0f, 240.0f);
    app->p_Game();
    EXPECT_EQ(Follower(2)[rec::kFollowerState], 0.0f);
    EXPECT_EQ(app->sfxCountA, 0);
}

TEST_F(PlayRules, AnEndingIsNeverOverwritten) {
    // Quit from the pause screen, then the countdown runs out.
    app->gameOver = 1;
    app->gameOverReason = -1;
    app->timeLeft = 0;
    Updates(2);
    EXPECT_EQ(app->gameOverReason, -1);

    // Out of bugs, then out of time.
    Load(1);
    for (int j = 0; j <= app->followerLast; ++j) Follower(j)[rec::kFollowerState] = 0.0f;
    app->p_Game();
    ASSERT_EQ(app->gameOverReason, 8);
    app->timeLeft = 0;
    Updates(2);
    EXPECT_EQ(app->gameOverReason, 8);
}

TEST_F(PlayRules, TheCountdownEndsTheLevelWhenItWouldGoBelowZero) {
    Updates(6310);
    EXPECT_EQ(app->timeLeft, 0);
    EXPECT_EQ(app->gameOver, 0);
    app->p_Game();
    EXPECT_EQ(app->gameOver, 1);
    EXPECT_EQ(app->gameOverReason, 7);
    // The display shows 0, drawn in the game's font at scale 3.
    int glyphs = 0;
    for (int i = 0; i < RecordCount(app); ++i)
        if (Record(app, i, 0) == 90.0f && Record(app, i, 4) == 3.0f) {
            ++glyphs;
            EXPECT_EQ(Record(app, i, 6), static_cast<float>('0' - 32));
        }
    EXPECT_EQ(glyphs, 1);
}

TEST_F(PlayRules, TheMeterRisesOnlyWithNoPickupsLeft) {
    PlayerOnHome();
    CameraOnPlayer();
    app->player[rec::kPlayerHomeMeter] = 30.0f;
    app->p_Game();  // on the centre with a pickup left: -0.2 per ring
    EXPECT_NEAR(Meter(), 29.0f, 1e-4f);
    Updates(20);
    EXPECT_EQ(Meter(), 16.0f);

    CollectEveryPickup();
    app->p_Game();  // the rings still see the previous update's count
    EXPECT_EQ(Meter(), 16.0f);
    EXPECT_EQ(app->player[rec::kPlayerPickupsLeft], 0.0f);
    // 1.5 per update from 16: 32 updates would do in exact arithmetic, but
    // 160 steps of 0.3 fall just short of 48 in single precision, so the
    // cap at 64 is reached in the 33rd update on the centre.
    for (int n = 1; n <= 32; ++n) {
        app->p_Game();
        ASSERT_LT(Meter(), 64.0f) << n;
    }
    app->p_Game();
    EXPECT_EQ(Meter(), 64.0f);
    // The countdown stops with a full meter.
    int left = app->timeLeft;
    app->p_Game();
    EXPECT_EQ(app->timeLeft, left);
}

TEST_F(PlayRules, TheMeterFallsAwayFromTheCentre) {
    CollectEveryPickup();
    PlacePlayer(Home()[rec::kPlanetX] + 40.0f, Home()[rec::kPlanetY]);
    CameraOnPlayer();
    app->p_Game();
    app->player[rec::kPlayerHomeMeter] = 40.0f;
    app->p_Game();
    EXPECT_EQ(Meter(), 37.5f);
}

TEST_F(PlayRules, CollectingAPickupBurstsAndLightsTheDisc) {
    float* p = Planet(1);
    PlacePlayer(p[rec::kPlanetPickupX] + 10.0f, p[rec::kPlanetPickupY] - 10.0f);
    CameraOnPlayer();
    app->p_Game();
    EXPECT_EQ(p[rec::kPlanetPickupX], -1.0f);
    int burst = 0;
    for (int k = 0; k <= app->particleLast; ++k) burst += app->particles[k * rec::kSize] == 4.0f;
    EXPECT_EQ(burst, 36);
    app->p_Game();
    EXPECT_EQ(app->player[rec::kPlayerPickupsLeft], 0.0f);
    // The disc of planet 1 now uses the collected colour (theme 4).
    bool lit = false;
    for (int i = 0; i < RecordCount(app); ++i)
        if (Record(app, i, 0) == 9.0f && Record(app, i, 10) == 100.0f && Record(app, i, 11) == 190.0f)
            lit = true;
    EXPECT_TRUE(lit);
}

// On a diagonal arm two neighbouring segments are both within 6 pixels (on
// both axes) of the point between them; the bug there moves with one only.
TEST_F(PlayRules, ABugIsCarriedByOneSegmentPerUpdate) {
    float* p = Planet(1);
    const float spin = p[rec::kPlanetSpin];
    const float arms = p[rec::kPlanetArms];
    // After pass 0's turn, arm 1 points at 45 degrees.
    p[rec::kPlanetAngle] = 45.0f - 360.0f / arms - 0.25f * spin;
    const float angle = std::fmod(p[rec::kPlanetAngle] + 0.25f * spin, 360.0f);
    const float a = 360.0f / arms + angle;
    const float aNext = 360.0f / arms + std::fmod(angle + 0.95f * spin, 360.0f);
    const float cx = p[rec::kPlanetX], cy = p[rec::kPlanetY];
    // Between segment 1 (12 pixels out) and segment 2 (24 pixels out).
    PlacePlayer(cx + SinDeg(a) * 18.0f, cy - CosDeg(a) * 18.0f);
    CameraOnPlayer();
    const float targetX = app->player[rec::kPlayerTargetX], targetY = app->player[rec::kPlayerTargetY];
    app->p_Game();
    // The first segment's step.
    const float stepX = SinDeg(aNext) * 12.0f - SinDeg(a) * 12.0f;
    const float stepY = -CosDeg(aNext) * 12.0f + CosDeg(a) * 12.0f;
    EXPECT_NEAR(app->player[rec::kPlayerTargetX] - targetX, stepX, 0.01f);
    EXPECT_NEAR(app->player[rec::kPlayerTargetY] - targetY, stepY, 0.01f);
    EXPECT_EQ(app->player[rec::kPlayerCarried], 1.0f);
}

TEST_F(PlayRules, ArmsSweepBugsWithTheSpin) {
    // A lost bug on the arm keeps being carried while it floats; with the
    // planet's negative spin the arm carries it anticlockwise.
    float* p = Planet(1);
    p[rec::kPlanetSpin] = -2.5f;
    float* f = LostBugOnArm(1, 96.0f);
    PlacePlayer(p[rec::kPlanetX], p[rec::kPlanetY] + 100.0f);
    CameraOnPlayer();
    const float before =
        std::atan2(f[rec::kFollowerX] - p[rec::kPlanetX], -(f[rec::kFollowerY] - p[rec::kPlanetY]));
    app->p_Game();
    const float after =
        std::atan2(f[rec::kFollowerX] - p[rec::kPlanetX], -(f[rec::kFollowerY] - p[rec::kPlanetY]));
    EXPECT_LT(after, before);  // clockwise angle from up decreased
    EXPECT_EQ(f[rec::kFollowerCarried], 1.0f);
    EXPECT_EQ(f[rec::kFollowerBump], 8.0f);
    EXPECT_EQ(app->sfxMarker, 1);
}

TEST_F(PlayRules, AnEndedLevelFreezesThePlayerButNotItsFacing) {
    app->gameOver = 1;
    app->gameOverReason = -1;
    app->player[rec::kPlayerVX] = 1.5f;
    app->p_Game();
    EXPECT_EQ(app->player[rec::kPlayerX], 0.0f);
    EXPECT_EQ(app->player[rec::kPlayerTargetX], 0.0f);
    EXPECT_NE(app->player[rec::kPlayerFacing], 0.0f);  // turning towards 90
}

}  // namespace

namespace {

// The render turns a sprite by its record's rotation R so that the sprite's
// downward axis (0, 1) points along (sin R, cos R) on screen, and its upward
// axis (0, -1) along (-sin R, -cos R). Followers are drawn head-down and the
// player's head head-up: both must point the way the bug walks.
TEST_F(PlayRules, BugsAreDrawnFacingTheWayTheyWalk) {
    PlacePlayer(150.0f, 0.0f);
    CameraOnPlayer();
    for (int j = 0; j <= app->followerLast; ++j) {
        Follower(j)[rec::kFollowerX] = Follower(j)[rec::kFollowerTargetX] = -100.0f;
        Follower(j)[rec::kFollowerTargetX] = 150.0f;  // walking right
    }
    app->player[rec::kPlayerVX] = 2.0f;  // and the player moving right
    Updates(30);
    bool sawFollower = false, sawHead = false;
    for (int i = 0; i < RecordCount(app); ++i) {
        if (Record(app, i, 0) != 2.0f) continue;
        float r = Record(app, i, 3) * kDegToRad;
        float frame = Record(app, i, 6);
        if (frame < 8.0f && Record(app, i, 4) == 0.5f) {  // a follower's body
            sawFollower = true;
            EXPECT_GT(std::sin(r), 0.9f) << "follower body rotation " << Record(app, i, 3);
        } else if (frame == 14.0f) {
            sawHead = true;
            EXPECT_GT(-std::sin(r), 0.9f) << "player head rotation " << Record(app, i, 3);
        }
    }
    EXPECT_TRUE(sawFollower);
    EXPECT_TRUE(sawHead);
}

}  // namespace

namespace {

// Level 2 stretches over several screens: standing on home, its first
// planets lie more than 512 pixels outside the view.
class FarPlanets : public PlayFixture {
  protected:
    void SetUp() override {
        PlayFixture::SetUp();
        Load(2);
    }
    float* Home() { return Planet(app->planetCount - 1); }
    // The camera fixed with the view's top-left at (x, y): it neither eases
    // nor drifts during the update.
    void CameraAt(float x, float y) {
        app->camX = app->camTargetX = x;
        app->camY = app->camTargetY = y;
    }
    // The camera placed so that planet i's centre sits at (sx, sy) on screen.
    void PlanetOnScreenAt(int i, float sx, float sy) {
        CameraAt(Planet(i)[rec::kPlanetX] - sx, Planet(i)[rec::kPlanetY] - sy);
    }
    bool Culled(int i) {
        const float sx = Planet(i)[rec::kPlanetX] - app->camX, sy = Planet(i)[rec::kPlanetY] - app->camY;
        return sx <= -512.0f || sy <= -512.0f || sx >= 640.0f + 512.0f || sy >= 480.0f + 512.0f;
    }
    // Every follower (still following) at (x, y), walking nowhere.
    void SwarmAt(float x, float y) {
        for (int j = 0; j <= app->followerLast; ++j) {
            Follower(j)[rec::kFollowerX] = Follower(j)[rec::kFollowerTargetX] = x;
            Follower(j)[rec::kFollowerY] = Follower(j)[rec::kFollowerTargetY] = y;
        }
    }
    // One update with the camera kept where the test put it (the player's
    // bug retargets it at the end of every update).
    void UpdateWithFixedCamera() {
        const float x = app->camX, y = app->camY;
        app->p_Game();
        CameraAt(x, y);
    }
};

TEST_F(FarPlanets, HomeRefusesTheSwarmWhileAFarPickupIsLeft) {
    PlacePlayer(Home()[rec::kPlanetX], Home()[rec::kPlanetY]);
    SwarmAt(Home()[rec::kPlanetX] + 40.0f, Home()[rec::kPlanetY]);
    PlanetOnScreenAt(app->planetCount - 1, 320.0f, 240.0f);
    ASSERT_TRUE(Culled(1)) << "planet 1 must be outside the margin for this test";
    const int pickups = app->planetCount - 2;
    // Collect every pickup but planet 1's, which is far out of view.
    for (int i = 2; i < app->planetCount - 1; ++i) Planet(i)[rec::kPlanetPickupX] = -1.0f;
    for (int n = 0; n < 60; ++n) UpdateWithFixedCamera();
    EXPECT_EQ(app->player[rec::kPlayerPickupsLeft], 1.0f) << "of " << pickups;
    EXPECT_EQ(app->player[rec::kPlayerHomeMeter], 16.0f);
    EXPECT_EQ(app->gameOver, 0);

    Planet(1)[rec::kPlanetPickupX] = -1.0f;
    for (int n = 0; n < 3; ++n) UpdateWithFixedCamera();
    EXPECT_EQ(app->player[rec::kPlayerPickupsLeft], 0.0f);
    EXPECT_GT(app->player[rec::kPlayerHomeMeter], 16.0f);
}

TEST_F(FarPlanets, ACulledDiscKeepsNoFollowerSafe) {
    // Follower 0 on planet 0's centre. At 400 pixels left of the view the
    // planet is processed: the follower, more than 256 pixels out, is
    // dropped silently. At 600 pixels the disc is culled: the follower is
    // lost, with its burst and sound.
    auto onPlanet0 = [&](float sx) {
        Load(2);
        PlanetOnScreenAt(0, sx, 240.0f);
        PlacePlayer(app->camX + 320.0f, app->camY + 240.0f);
        float* f = Follower(0);
        f[rec::kFollowerX] = f[rec::kFollowerTargetX] = Planet(0)[rec::kPlanetX];
        f[rec::kFollowerY] = f[rec::kFollowerTargetY] = Planet(0)[rec::kPlanetY];
        app->sfxCountA = 0;
        UpdateWithFixedCamera();
        return f[rec::kFollowerState];
    };
    EXPECT_EQ(onPlanet0(-400.0f), 0.0f);
    EXPECT_EQ(app->sfxCountA, 0);
    EXPECT_EQ(onPlanet0(-600.0f), 2.0f);
    EXPECT_GE(app->sfxCountA, 1);
}

TEST_F(FarPlanets, ACulledPlanetsArmsCarryNothing) {
    // A lost bug on arm 1 of planet 1, 96 pixels out from the centre.
    auto carriedAt = [&](float sx) {
        Load(2);
        PlanetOnScreenAt(1, sx, 240.0f);
        PlacePlayer(app->camX + 320.0f, app->camY + 240.0f);
        float* f = LostBugOnArm(1, 96.0f);
        UpdateWithFixedCamera();
        return f[rec::kFollowerCarried];
    };
    EXPECT_EQ(carriedAt(320.0f), 1.0f);
    EXPECT_EQ(carriedAt(-600.0f), 0.0f);
    EXPECT_EQ(carriedAt(640.0f + 600.0f), 0.0f);
}

// The hazard of planet 1 (hazard record 1) with the level's hundred
// followers: 80 in state 1 within 15 pixels on both axes, 10 in state 1 at
// exactly 16 pixels on one axis, 10 already lost on top of it.
TEST_F(FarPlanets, AHazardZapsNearFollowersAtThirtyPercentWhenItsTimerWraps) {
    ASSERT_EQ(app->followerLast, 99);
    float* z = &app->hazards[1 * rec::kSize];
    ASSERT_EQ(z[rec::kHazardState], 1.0f);
    const float hx = z[rec::kHazardX], hy = z[rec::kHazardY];
    for (int j = 0; j <= 99; ++j) {
        float* f = Follower(j);
        const float offset = static_cast<float>(j % 31) - 15.0f;  // -15..15
        f[rec::kFollowerState] = j < 90 ? 1.0f : 2.0f;
        f[rec::kFollowerX] = hx + (j >= 80 && j < 90 ? (j % 2 ? 16.0f : -16.0f) : offset);
        f[rec::kFollowerY] = hy - offset;
        f[rec::kFollowerFade] = 0.25f;
    }
    auto zapped = [&](int from, int to) {
        int n = 0;
        for (int j = from; j < to; ++j) n += Follower(j)[rec::kFollowerState] == 2.0f;
        return n;
    };

    // A timer that does not wrap zaps nobody.
    z[rec::kHazardTimer] = 30.0f;
    app->UpdateHazards();
    EXPECT_EQ(zapped(0, 90), 0);

    z[rec::kHazardTimer] = 0.1f;
    app->UpdateHazards();
    EXPECT_GE(z[rec::kHazardTimer], 60.0f);  // wrapped and reset
    const int hit = zapped(0, 80);
    EXPECT_GE(hit, 10) << "about 30 % of 80";
    EXPECT_LE(hit, 40) << "about 30 % of 80";
    EXPECT_EQ(app->sfxCountA, hit);
    for (int j = 0; j < 80; ++j) {
        if (Follower(j)[rec::kFollowerState] == 2.0f) {
            EXPECT_EQ(Follower(j)[rec::kFollowerFade], 0.5f) << j;
        }
    }
    EXPECT_EQ(zapped(80, 90), 0) << "16 pixels away on one axis is out of reach";
    for (int j = 90; j <= 99; ++j)
        EXPECT_EQ(Follower(j)[rec::kFollowerFade], 0.25f) << "only state 1 is zapped";
}

}  // namespace
