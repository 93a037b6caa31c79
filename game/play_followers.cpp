// The swarm. A following bug (state 1) now and then picks a new target
// point near the player, turns towards it and steps there; one that stands
// outside every planet in this update's pass 0 is lost (state 2): it bursts,
// floats upwards and fades until it is gone (state 0). A bug more than 256
// pixels outside the view is dropped. No bug is ever regained.
//
// The draw state is reset before each bug, so one lost bug's fade never
// leaks into the next. Main thread only.
#include <cmath>

#include "game/my_app.h"
#include "game/play_helpers.h"
#include "game/records.h"
#include "runtime/host/zq_app.h"
#include "runtime/lang/random.h"

namespace {

constexpr float kDropMargin = 256.0f;

}  // namespace

void c_MyApp::UpdateFollowers() {
    aliveFollowers = 0;
    const int now = zq_app_Millisecs();
    const float playerX = player[rec::kPlayerX], playerY = player[rec::kPlayerY];
    for (int j = 0; j <= followerLast; ++j) {
        float* f = &followers[j * rec::kSize];
        p_ResetDraw();
        if (f[rec::kFollowerState] == 1.0f) {
            ++aliveFollowers;
            if (f[rec::kFollowerBump] > 0.0f) f[rec::kFollowerBump] -= 1.0f;
            float rRetarget = zq_random_Rnd();
            if (rRetarget * 60.0f < 4.0f) {
                float rX = zq_random_Rnd();
                f[rec::kFollowerTargetX] = playerX + 32.0f * rX - 16.0f;
                float rY = zq_random_Rnd();
                f[rec::kFollowerTargetY] = playerY + 32.0f * rY - 16.0f;
            }
            float& x = f[rec::kFollowerX];
            float& y = f[rec::kFollowerY];
            const float tx = f[rec::kFollowerTargetX], ty = f[rec::kFollowerTargetY];
            // Heading 0 is straight down: the follower sprites are drawn head-down.
            f[rec::kFollowerWantFacing] = play::Atan2Deg(tx - x, ty - y);
            f[rec::kFollowerFacing] +=
                play::Clamp(static_cast<float>(m_WhichWayDoIGo(f[rec::kFollowerFacing],
                                                               f[rec::kFollowerWantFacing], 0, 359)),
                            -6.0f, 6.0f);
            // One step per axis and direction, in this order, each with its own draw.
            if (x < tx) x += 0.5f + zq_random_Rnd();
            if (y < ty) y += 0.5f + zq_random_Rnd();
            if (x > tx) x -= 0.5f + zq_random_Rnd();
            if (y > ty) y -= 0.5f + zq_random_Rnd();
            if (std::fabs(x - tx) < 1.0f) x = tx;
            if (std::fabs(y - ty) < 1.0f) y = ty;
            f[rec::kFollowerCarried] = 0.0f;
            const float sx = x - camX, sy = y - camY;
            // Dropped silently if still safe; otherwise lost below after all.
            if (sx < -kDropMargin || sy < -kDropMargin || sx > vscrw + kDropMargin ||
                sy > vscrh + kDropMargin)
                f[rec::kFollowerState] = 0.0f;
            drawRotation = f[rec::kFollowerFacing];
            p_SetSize(0.65f, 0.5f);
            p_DrawImg(play::kBugSlot, sx, sy, static_cast<float>(play::Cycle(j * 17 + now, 120, 6) + 8));
            p_SetSize(0.5f, 0.5f);
            p_DrawImg(play::kBugSlot, sx, sy, static_cast<float>(j % 8));
            if (f[rec::kFollowerSafe] == 0.0f) {
                f[rec::kFollowerState] = 2.0f;
                f[rec::kFollowerFade] = 0.5f;
                FollowerBurst(x, y);
                ++sfxCountA;
            }
            f[rec::kFollowerSafe] = 0.0f;
        }
        if (f[rec::kFollowerState] == 2.0f) {
            float rRise = zq_random_Rnd();
            f[rec::kFollowerY] -= 0.25f + 0.5f * rRise;
            f[rec::kFollowerX] += 0.5f * SinDeg(static_cast<float>(now / 4 + j * 13));
            drawRotation = f[rec::kFollowerFacing];
            p_SetSize(0.5f, 0.5f);
            p_Alpha(f[rec::kFollowerFade]);
            p_DrawImg(play::kBugSlot, f[rec::kFollowerX] - camX, f[rec::kFollowerY] - camY,
                      static_cast<float>(j % 8));
            float rFade = zq_random_Rnd();
            f[rec::kFollowerFade] -= 0.002f + 0.002f * rFade;
            if (f[rec::kFollowerFade] < 0.001f) f[rec::kFollowerState] = 0.0f;
        }
    }
}
