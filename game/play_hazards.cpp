// Hazards: each drifts with its velocity, turns, and counts its pulse timer
// down by a random amount; when the timer wraps it zaps, knocking each
// following bug within 16 pixels (on both axes) out of the swarm with
// probability 0.3. Hazards are drawn only within 128 pixels of the view.
// Main thread only.
#include <cmath>

#include "game/my_app.h"
#include "game/play_helpers.h"
#include "game/records.h"
#include "runtime/lang/random.h"

namespace {

constexpr float kDrawMargin = 128.0f;
constexpr float kBaseFrame = 7.0f;

// The pulse stage drawn over the base: brighter as the timer runs out.
float PulseFrame(float timer) {
    int frame = 0;
    if (timer < 20.0f) frame = 1;
    if (timer < 16.0f) frame = 2;
    if (timer < 12.0f) frame = 3;
    if (timer < 8.0f) frame = 4;
    if (timer < 6.0f) frame = 5;
    if (timer < 3.0f) frame = 6;
    return static_cast<float>(frame);
}

}  // namespace

void c_MyApp::FollowerBurst(float x, float y) {
    for (int n = 0; n < 9; ++n) {
        // Three draws per particle, in this order, before the particle's own.
        float r1 = zq_random_Rnd();
        float r2 = zq_random_Rnd();
        float r3 = zq_random_Rnd();
        int style = static_cast<int>(std::floor(1.0f + 7.99f * r3));
        p_ThrowParticle(x, y, 4, style, 360.0f * r2, 2.0f + 3.0f * r1);
    }
}

void c_MyApp::UpdateHazards() {
    for (int h = 0; h <= hazardLast; ++h) {
        float* z = &hazards[h * rec::kSize];
        if (z[rec::kHazardState] <= 0.0f) continue;
        z[rec::kHazardX] += z[rec::kHazardVX];
        z[rec::kHazardY] += z[rec::kHazardVY];
        z[rec::kHazardAngle] = std::fmod(z[rec::kHazardAngle] + z[rec::kHazardSpin], 360.0f);
        float rTimer = zq_random_Rnd();
        z[rec::kHazardTimer] -= 0.5f + 0.7f * rTimer;
        if (z[rec::kHazardTimer] < 0.0f) {
            float rReset = zq_random_Rnd();
            z[rec::kHazardTimer] = 60.0f + 30.0f * rReset;
            if (z[rec::kHazardState] == 1.0f) {
                for (int j = 0; j <= followerLast; ++j) {
                    float* f = &followers[j * rec::kSize];
                    if (f[rec::kFollowerState] != 1.0f) continue;
                    if (std::fabs(f[rec::kFollowerX] - z[rec::kHazardX]) >= 16.0f ||
                        std::fabs(f[rec::kFollowerY] - z[rec::kHazardY]) >= 16.0f)
                        continue;
                    float rZap = zq_random_Rnd();
                    if (rZap * 10.0f >= 3.0f) continue;
                    f[rec::kFollowerState] = 2.0f;
                    ++sfxCountA;
                    sfxPairPending = 1;
                    f[rec::kFollowerFade] = 0.5f;
                    FollowerBurst(f[rec::kFollowerX], f[rec::kFollowerY]);
                }
            }
        }
        float sx = z[rec::kHazardX] - camX, sy = z[rec::kHazardY] - camY;
        if (sx > -kDrawMargin && sx < vscrw + kDrawMargin && sy > -kDrawMargin && sy < vscrh + kDrawMargin) {
            drawRotation = -z[rec::kHazardAngle];
            p_DrawImg(play::kHazardSlot, sx, sy, kBaseFrame);
            p_DrawImg(play::kHazardSlot, sx, sy, PulseFrame(z[rec::kHazardTimer]));
        }
    }
    // Read by the home rings of the next update.
    player[rec::kPlayerPickupsLeft] = static_cast<float>(pickupsCounted);
}
