// A headless game with a level loaded, for the gameplay tests: the fixed
// clock of the headless host makes every reseed from the clock the same.
#pragma once

#include <gtest/gtest.h>

#include <cmath>

#include "game/degrees.h"
#include "game/my_app.h"
#include "game/records.h"
#include "tests/game_support/headless_game.h"

class PlayFixture : public ::testing::Test {
  protected:
    void SetUp() override { app = NewHeadlessGame(&host); }

    // Loads `level` as the level-start screen does.
    void Load(int level) {
        app->currentLevel = level;
        app->p_LoadGame();
    }
    float* Planet(int i) { return &app->planets[i * rec::kSize]; }
    float* Follower(int j) { return &app->followers[j * rec::kSize]; }
    // Puts the player (and the point it eases to) at a world position.
    void PlacePlayer(float x, float y) {
        app->player[rec::kPlayerX] = app->player[rec::kPlayerTargetX] = x;
        app->player[rec::kPlayerY] = app->player[rec::kPlayerTargetY] = y;
    }
    // Follower 0 as a lost bug (state 2) on arm 1 of planet i, `distance`
    // pixels out, where that arm points once this update's pass 0 has turned
    // the planet.
    float* LostBugOnArm(int i, float distance) {
        float* p = Planet(i);
        const float angle = std::fmod(p[rec::kPlanetAngle] + 0.25f * p[rec::kPlanetSpin], 360.0f);
        const float a = 360.0f / p[rec::kPlanetArms] + angle;
        float* f = Follower(0);
        f[rec::kFollowerX] = p[rec::kPlanetX] + SinDeg(a) * distance;
        f[rec::kFollowerY] = p[rec::kPlanetY] - CosDeg(a) * distance;
        f[rec::kFollowerState] = 2.0f;
        f[rec::kFollowerFade] = 0.5f;
        return f;
    }
    void Updates(int n) {
        for (int i = 0; i < n; ++i) app->p_Game();
    }

    HeadlessHost host;
    c_MyApp* app = nullptr;
};
