// Level construction: every level is generated from its number by the
// shared generator, so level N has the same planets, pickups, hazards and
// colours on every run and every machine (correctly rounded sines, see
// degrees.h). p_LoadGame resets the play state around the build.
//
// Draw order matters: every R(a, b) (p_Rand) and every plain draw r advances
// the generator by exactly one step, and each is taken into a named local in
// the order below before it is used. Main thread only.
#include <algorithm>

#include "game/degrees.h"
#include "game/my_app.h"
#include "game/records.h"
#include "runtime/lang/random.h"

namespace {

constexpr int kHomeMeterEmpty = 16;
constexpr int kCountdownStart = 6310;  // updates
constexpr int kPlanetSlotsCleared = 5001;

// Planets per level by level mod 6 (remainder of the signed division).
int PlanetCountFor(int level) {
    if (level == 1) return 3;
    switch (level % 6) {
        case 3:
            return 10;
        case 4:
            return 12;
        case 5:
            return 14;
        case 0:
            return 11;
        default:
            return 8;
    }
}

void Clear(Array<float>& a, int from, int count) {
    std::fill(a.Data() + from, a.Data() + from + count, 0.0f);
}

int Floor(float v) {
    return static_cast<int>(std::floor(v));
}

}  // namespace

int c_MyApp::p_LoadGame() {
    screenMode = 10;
    Clear(followers, 0, followers.Length());
    Clear(hazards, 0, hazards.Length());
    p_ResetStars(100);
    particleLast = 250;
    for (int k = 0; k <= particleLast; ++k) particles[k * rec::kSize + rec::kParticleKind] = 0.0f;
    Clear(player, 0, 500);
    paused = 0;
    gameOver = 0;
    gameOverReason = 0;
    // The level-complete sequence's state starts afresh for every level:
    // left over from a previous level, a full fade would end the next
    // completion at once with the old count.
    lastResult = 0;
    shownResult = 0;
    completeFade = 0.0f;
    bannerTimer = 0;
    newRank = 0;
    camX = camTargetX = camY = camTargetY = 0.0f;
    p_GetLevel(currentLevel);
    return 0;
}

int c_MyApp::p_GetLevel(int level) {
    player[rec::kPlayerHomeMeter] = static_cast<float>(kHomeMeterEmpty);
    Clear(hazards, 0, hazards.Length());
    hazardLast = 0;
    planetCount = PlanetCountFor(level);
    p_SeedRnd(level * 37);
    int theme = p_Rand(1.0f, 9.0f);
    player[rec::kPlayerColourTheme] = static_cast<float>(theme);
    Clear(planets, 0, kPlanetSlotsCleared);
    player[rec::kPlayerX] = player[rec::kPlayerY] = 0.0f;
    followerLast = level == 1 ? 4 : 99;
    for (int j = 0; j <= followerLast; ++j) {
        float* f = &followers[j * rec::kSize];
        f[rec::kFollowerState] = 1.0f;
        f[rec::kFollowerX] = f[rec::kFollowerY] = 0.0f;
    }
    zq_random_Rnd();  // taken and discarded
    armStep = 24;

    int cx = 0, cy = 0;  // centre of the planet being placed
    int unit = 10;       // its size unit: radius = unit * armStep
    for (int i = 0; i < planetCount; ++i) {
        const bool intermediate = i > 0 && i < planetCount - 1;
        p_Rand(2.0f, 4.0f);  // taken and not used
        float* p = &planets[i * rec::kSize];
        p[rec::kPlanetPresent] = 1.0f;
        p[rec::kPlanetX] = static_cast<float>(cx);
        p[rec::kPlanetY] = static_cast<float>(cy);
        const int radius = unit * armStep;
        p[rec::kPlanetRadius] = static_cast<float>(radius);
        p[rec::kPlanetArms] = 2.0f;

        float rColour = zq_random_Rnd();
        p[rec::kPlanetColour] = static_cast<float>(Floor(7.99f * rColour));

        // The pickup lies between 72 pixels from the centre and 24 inside the rim.
        float rDistance = zq_random_Rnd();
        int d = static_cast<int>(72.0f + rDistance * static_cast<float>(radius - 96));
        float rBearing = zq_random_Rnd();
        int g = static_cast<int>(360.0f * rBearing);
        p[rec::kPlanetPickupX] =
            static_cast<float>(cx) + static_cast<float>(d) * SinDegExact(static_cast<float>(g));
        p[rec::kPlanetPickupY] =
            static_cast<float>(cy) - static_cast<float>(d) * CosDegExact(static_cast<float>(g));

        int armChoice = p_Rand(1.0f, 3.0f);
        if (armChoice == 1) p[rec::kPlanetArms] = 4.0f;
        if (armChoice == 3) p[rec::kPlanetArms] = 3.0f;

        float rAngle = zq_random_Rnd();
        p[rec::kPlanetAngle] = static_cast<float>(Floor(360.99f * rAngle));

        float rSpin = zq_random_Rnd();
        float spin = level == 1 ? 2.5f : 1.5f + 2.0f * rSpin;
        float rSpinSign = zq_random_Rnd();
        if (10.0f * rSpinSign < 5.0f) spin = -spin;
        p[rec::kPlanetSpin] = spin;

        // The next planet's size; the home planet is as large as the start.
        float rNext = zq_random_Rnd();
        int next = Floor(4.0f + 4.99f * rNext);
        if (i == planetCount - 2) next = 10;
        // The next planet overlaps this one by 48 pixels along the line
        // between the centres.
        const int step = (next - 2 + unit) * 24;

        if (intermediate) {
            ++hazardLast;
            float* h = &hazards[hazardLast * rec::kSize];
            h[rec::kHazardState] = 1.0f;
            h[rec::kHazardX] = static_cast<float>(cx);
            h[rec::kHazardY] = static_cast<float>(cy);
            h[rec::kHazardVX] = h[rec::kHazardVY] = 0.0f;
            float rHazardAngle = zq_random_Rnd();
            h[rec::kHazardAngle] = 360.0f * rHazardAngle;
            float rHazardSpin = zq_random_Rnd();
            h[rec::kHazardSpin] = 1.0f + 2.0f * rHazardSpin;
            float rHazardSign = zq_random_Rnd();
            if (100.0f * rHazardSign < 50.0f) {
                float rHazardSpin2 = zq_random_Rnd();
                h[rec::kHazardSpin] = -(1.0f + 2.0f * rHazardSpin2);
            }
            h[rec::kHazardTimer] = 60.0f;
            float rFactor = zq_random_Rnd();
            h[rec::kHazardFactor] = 1.0f + rFactor;
        }

        // The chain heads right, within 50 degrees of horizontal.
        float rDirection = zq_random_Rnd();
        int a = Floor(40.0f + 100.99f * rDirection);
        cx = static_cast<int>(static_cast<float>(cx) +
                              static_cast<float>(step) * SinDegExact(static_cast<float>(a)));
        cy = static_cast<int>(static_cast<float>(cy) -
                              static_cast<float>(step) * CosDegExact(static_cast<float>(a)));
        unit = next;
    }
    // No pickup has been collected yet; the home rings and "HOME" read this
    // count before the first planet pass has written it.
    player[rec::kPlayerPickupsLeft] = static_cast<float>(planetCount - 2);
    timeLeft = kCountdownStart;
    p_PlayTune(String("driftwood"), 0);
    return 0;
}
