// A headless game with a level loaded, for the gameplay tests: the fixed
// clock of the headless host makes every reseed from the clock the same.
#pragma once

#include <gtest/gtest.h>

#include <cmath>

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
    void Updates(int n) {
        for (int i = 0; i < n; ++i) app->p_Game();
    }

    HeadlessHost host;
    c_MyApp* app = nullptr;
};
