// The level-complete count, one update per call once the home meter is
// full: the followers near home fly up and out of the view, each adding its
// share to the result, the others fall away; the background takes the
// colour of the result's class while a fade darkens it, and when the fade
// is complete the level ends (gameOver), which starts the banner.
//
// Follower records in the count: state 1 falls, state 3 flies home; slot 4
// (the walk target's y, unused once walking stops) holds the vertical speed.
// Each follower in the count changes its speed, moves, and is then tested
// for removal. Main thread only.
#include <algorithm>
#include <cmath>

#include "game/my_app.h"
#include "game/records.h"
#include "runtime/host/zq_app.h"
#include "runtime/lang/random.h"

namespace {

constexpr int kFalling = 1;
constexpr int kFlyingHome = 3;
constexpr int kVerticalSpeed = rec::kFollowerTargetY;
constexpr float kHomeReach = 192;  // straight-line distance from the home centre, exclusive
constexpr float kGoneAbove = -64;  // screen y above which a flyer has arrived
constexpr float kFadeStep = 0.75f;
constexpr float kFadeEnd = 130;
constexpr int kBugs = 2, kHomeCircle = 9;

struct Colour {
    int red, green, blue;
};

// The banner kind of a result and the background colour it fades into.
struct ResultClass {
    int reason;
    Colour background;
};

ResultClass Classify(int result, int passMark) {
    if (result < passMark) return {2, {220, 150, 150}};
    if (result < 60) return {3, {150, 220, 150}};
    if (result < 90) return {3, {200, 220, 150}};
    return {4, {250, 250, 150}};
}

}  // namespace

int c_MyApp::p_LevelComplete() {
    // 1. The result's class; an ending already decided elsewhere (a quit or
    //    a failure whose banner runs) keeps its own words.
    const ResultClass result = Classify(lastResult, passMark);
    if (gameOver == 0) gameOverReason = result.reason;
    const int fade = static_cast<int>(completeFade);
    p_DoBG(result.background.red - fade, result.background.green - fade, result.background.blue - fade,
           -123.0f);

    // 2. Camera, stars and steering keep running.
    const float dx = (camX - camTargetX) * 0.125f, dy = (camY - camTargetY) * 0.125f;
    camX -= dx;
    camY -= dy;
    p_DoStars(dx, dy);
    p_AnalogueControl();

    // 3. Home, as five circles.
    const int home = rec::kSize * (planetCount - 1);
    const float homeX = planetCount > 0 ? planets[home + rec::kPlanetX] : 0.0f;
    const float homeY = planetCount > 0 ? planets[home + rec::kPlanetY] : 0.0f;
    p_ResetDraw();
    p_Alpha(0.3f);
    for (const float scale : {1.5f, 1.25f, 1.0f, 0.75f, 0.5f}) {
        p_SetSize(scale);
        p_DrawImg(kHomeCircle, homeX - camX, homeY - camY, 0);
    }
    p_ResetDraw();

    // 4. The followers still in the swarm. Once the level has ended (a quit
    //    or a failure, or the count's own end) none starts flying home and
    //    those still flying add nothing: the ending's result stays as it
    //    was decided, and a quit during the count scores 0 as any quit.
    const int share = followerLast == 4 ? 20 : 1;
    const int clock = zq_app_Millisecs();
    for (int j = 0; j <= followerLast; ++j) {
        const int at = rec::kSize * j;
        float& state = followers[at + rec::kFollowerState];
        if (state != kFalling && state != kFlyingHome) continue;
        float& x = followers[at + rec::kFollowerX];
        float& y = followers[at + rec::kFollowerY];
        float& speed = followers[at + kVerticalSpeed];
        if (completeFade == 0 && state == kFalling) {
            speed = 0;
            if (gameOver == 0 && std::hypot(x - homeX, y - homeY) < kHomeReach) state = kFlyingHome;
        }
        const float r = zq_random_Rnd();
        speed += state == kFlyingHome ? -(0.15f + 0.35f * r) : 0.15f + 0.25f * r;
        y += speed;
        if (state == kFlyingHome && y - camY < kGoneAbove) {
            state = 0;
            ++sfxCountB;
            if (gameOver == 0) lastResult += share;
            continue;
        }
        drawRotation = followers[at + rec::kFollowerFacing];
        p_SetSize(0.65f, 0.5f);
        p_DrawImg(kBugs, x - camX, y - camY, 8 + ((clock + 17 * j) / 120) % 6);
        p_SetSize(0.5f, 0.5f);
        p_DrawImg(kBugs, x - camX, y - camY, j % 8);
    }
    p_ResetDraw();

    // 5. The count, easing towards the result.
    lastResult = std::clamp(lastResult, 0, 100);
    if (std::abs(lastResult - shownResult) <= 5)
        shownResult = lastResult;
    else
        shownResult += (lastResult - shownResult) / 6;
    p_SetSize(6);
    p_Text(homeX - camX, homeY - camY, String(shownResult), 1, 1, 0);
    p_ResetDraw();

    // 6. The fade; complete, it ends the level.
    completeFade = std::min(completeFade + kFadeStep, kFadeEnd);
    if (completeFade >= kFadeEnd) gameOver = 1;
    return 0;
}
