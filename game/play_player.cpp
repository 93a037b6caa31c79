// The player's bug: a head and a tail that turn towards the direction of
// travel (the tail more slowly), a velocity steered by the controls with
// friction, and a body that eases towards a target point (which an arm may
// carry along). Once the level has ended the body stays where it is while
// the controls still turn it. The camera then aims to centre the bug.
// Main thread only.
#include <cmath>

#include "game/my_app.h"
#include "game/play_helpers.h"
#include "game/records.h"

namespace {

constexpr int kHeadFrame = 14, kTailFrame = 15;

// Moves v by 0.1 towards 0 without crossing it.
float Friction(float v) {
    if (v > 0.0f) return std::max(v - 0.1f, 0.0f);
    if (v < 0.0f) return std::min(v + 0.1f, 0.0f);
    return v;
}

}  // namespace

void c_MyApp::UpdatePlayer() {
    float* pl = &player[0];
    p_ResetDraw();
    const float sx = pl[rec::kPlayerX] - camX, sy = pl[rec::kPlayerY] - camY;
    const float facing = pl[rec::kPlayerFacing];
    drawRotation = -pl[rec::kPlayerTailFacing];
    p_DrawImg(play::kBugSlot, sx + 6.0f * SinDeg(facing + 180.0f), sy - 6.0f * CosDeg(facing + 180.0f),
              static_cast<float>(kTailFrame));
    drawRotation = -facing;
    p_DrawImg(play::kBugSlot, sx + 6.0f * SinDeg(facing), sy - 6.0f * CosDeg(facing),
              static_cast<float>(kHeadFrame));

    pl[rec::kPlayerVX] = play::Clamp(pl[rec::kPlayerVX] + steerX * 0.25f, -2.0f, 2.0f);
    pl[rec::kPlayerVY] = play::Clamp(pl[rec::kPlayerVY] + steerY * 0.25f, -2.0f, 2.0f);
    if (gameOver == 0) {
        pl[rec::kPlayerTargetX] += pl[rec::kPlayerVX];
        pl[rec::kPlayerTargetY] += pl[rec::kPlayerVY];
        pl[rec::kPlayerX] -= (pl[rec::kPlayerX] - pl[rec::kPlayerTargetX]) / 3.0f;
        pl[rec::kPlayerY] -= (pl[rec::kPlayerY] - pl[rec::kPlayerTargetY]) / 3.0f;
    }
    if (std::fabs(pl[rec::kPlayerVX]) > 0.1f || std::fabs(pl[rec::kPlayerVY]) > 0.1f) {
        pl[rec::kPlayerWantFacing] = play::Atan2Deg(pl[rec::kPlayerVX], -pl[rec::kPlayerVY]);
        pl[rec::kPlayerWantTailFacing] = pl[rec::kPlayerWantFacing];
    }
    pl[rec::kPlayerFacing] += play::Clamp(
        static_cast<float>(m_WhichWayDoIGo(pl[rec::kPlayerFacing], pl[rec::kPlayerWantFacing], 0, 359)),
        -6.0f, 6.0f);
    pl[rec::kPlayerTailFacing] +=
        play::Clamp(static_cast<float>(
                        m_WhichWayDoIGo(pl[rec::kPlayerTailFacing], pl[rec::kPlayerWantTailFacing], 0, 359)),
                    -4.0f, 4.0f);
    if (std::fabs(steerX) < 0.25f) pl[rec::kPlayerVX] = Friction(pl[rec::kPlayerVX]);
    if (std::fabs(steerY) < 0.25f) pl[rec::kPlayerVY] = Friction(pl[rec::kPlayerVY]);
    camTargetX = pl[rec::kPlayerX] - vscrw * 0.5f;
    camTargetY = pl[rec::kPlayerY] - vscrh * 0.5f;
}
