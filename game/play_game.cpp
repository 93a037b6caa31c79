// One gameplay update, p_Game, run by the shell on the play screen while the
// game is not paused and the home meter is below 64. Each step lives in its
// own file; this one keeps their order and the level-end checks.
//
// Order: background and camera, planet passes 0 and 1 (discs, home rings,
// pickups, arms), hazards, followers, the player's bug, particles, then the
// level-end checks and the countdown display. Main thread only.
#include "game/my_app.h"
#include "game/play_helpers.h"
#include "game/records.h"
#include "runtime/lang/string.h"

int c_MyApp::p_Game() {
    p_DoBG(220, 220, 220, -123.0f);
    // The camera moves an eighth of the way to its target; the stars move
    // against it.
    float dx = (camX - camTargetX) * 0.125f;
    float dy = (camY - camTargetY) * 0.125f;
    camX -= dx;
    camY -= dy;
    p_DoStars(dx, dy);
    p_AnalogueControl();

    pickupsCounted = 0;
    player[rec::kPlayerCarried] = 0.0f;
    PlanetPass(0);
    PlanetPass(1);
    UpdateHazards();
    UpdateFollowers();
    UpdatePlayer();
    p_DoParticles(1.0f);
    EndOfUpdate();
    return 0;
}

void c_MyApp::EndOfUpdate() {
    // A level ends once: checks after the end (the banner keeps this update
    // running) never overwrite how it ended.
    if (aliveFollowers == 0 && gameOver == 0) {
        gameOver = 1;
        gameOverReason = 8;
    }
    if (player[rec::kPlayerHomeMeter] < play::kHomeMeterFull) --timeLeft;
    if (timeLeft < 0 && gameOver == 0) {
        gameOver = 1;
        gameOverReason = 7;
    }
    int shown = std::max(timeLeft / 42, 0);
    p_SetSize(3.0f, 3.0f);
    p_Text(vscrw - 32.0f, 32.0f, String(shown), 1.0f, 1.0f, 0);
    p_ResetDraw();
}
