// The planet passes of the gameplay update. Pass 0 turns every planet,
// draws its disc and marks the followers standing on it as safe; pass 1
// draws the home rings, the pickups and the arms, whose segments carry bugs
// round with the planet. Both visit the planets from home down to the start,
// and skip planets more than 512 pixels outside the view (a far planet
// neither turns its arms into anything nor keeps a follower safe).
//
// Culling only saves drawing and carrying: the pickups of far planets still
// count in pass 1, so home never accepts the swarm while one of them is
// left uncollected. Main thread only.
#include <cmath>

#include "game/my_app.h"
#include "game/play_helpers.h"
#include "game/records.h"
#include "runtime/host/zq_app.h"

namespace {

constexpr float kFarMargin = 512.0f;  // virtual pixels outside the view

// Disc colours per theme 1..8, then the row for any other theme.
constexpr play::Rgb kDisc[9] = {{120, 50, 50}, {120, 80, 50}, {120, 120, 50}, {50, 120, 50}, {50, 120, 120},
                                {50, 50, 120}, {80, 50, 120}, {120, 50, 80},  {80, 80, 80}};
constexpr play::Rgb kDiscCollected[9] = {{190, 100, 100}, {190, 140, 100}, {190, 190, 100},
                                         {100, 190, 100}, {100, 190, 190}, {100, 100, 190},
                                         {140, 100, 190}, {190, 100, 140}, {100, 100, 100}};

}  // namespace

void c_MyApp::PlanetPass(int pass) {
    for (int i = planetCount - 1; i >= 0; --i) {
        float* p = &planets[i * rec::kSize];
        float sx = p[rec::kPlanetX] - camX;
        float sy = p[rec::kPlanetY] - camY;
        if (pass == 0)
            p[rec::kPlanetAngle] = std::fmod(p[rec::kPlanetAngle] + 0.25f * p[rec::kPlanetSpin], 360.0f);
        // Where an arm will be one step on: the carried bugs move there.
        float nextAngle = std::fmod(p[rec::kPlanetAngle] + 0.95f * p[rec::kPlanetSpin], 360.0f);
        const bool intermediate = i >= 1 && i <= planetCount - 2;
        if (pass == 1 && intermediate && p[rec::kPlanetPickupX] > -1.0f) ++pickupsCounted;
        if (sx <= -kFarMargin || sy <= -kFarMargin || sx >= vscrw + kFarMargin || sy >= vscrh + kFarMargin)
            continue;
        if (pass == 0) {
            DrawPlanetDisc(i, sx, sy);
        } else if (i == planetCount - 1) {
            HomeRings(i, sx, sy);
        } else if (intermediate) {
            IntermediatePlanet(i);
            SweepArms(i, sx, sy, nextAngle);
        }
    }
}

void c_MyApp::DrawPlanetDisc(int i, float sx, float sy) {
    const float* p = &planets[i * rec::kSize];
    int row = play::ThemeRow(player[rec::kPlayerColourTheme]);
    // Only a collected pickup is exactly -1; the start planet's unused
    // pickup position may be negative.
    if (p[rec::kPlanetPickupX] == -1.0f)
        p_SetCol(kDiscCollected[row].r, kDiscCollected[row].g, kDiscCollected[row].b, 0.45f);
    else
        p_SetCol(kDisc[row].r, kDisc[row].g, kDisc[row].b, 0.65f);
    float scale = p[rec::kPlanetRadius] / 128.0f;
    p_SetSize(scale, scale);
    p_DrawImg(play::kDiscSlot, sx, sy, 0.0f);
    p_SetSize(1.0f, 1.0f);

    const float cx = p[rec::kPlanetX], cy = p[rec::kPlanetY], radius = p[rec::kPlanetRadius];
    for (int j = 0; j <= followerLast; ++j) {
        float* f = &followers[j * rec::kSize];
        float dx = f[rec::kFollowerX] - cx, dy = f[rec::kFollowerY] - cy;
        if (std::sqrt(dx * dx + dy * dy) < radius) f[rec::kFollowerSafe] = 1.0f;
    }
}

void c_MyApp::IntermediatePlanet(int i) {
    const float* p = &planets[i * rec::kSize];
    p_SetCol(255.0f, 255.0f, 255.0f, 1.0f);
    if (p[rec::kPlanetPickupX] <= -1.0f) return;  // counted by PlanetPass, culled or not
    float px = p[rec::kPlanetPickupX] - camX, py = p[rec::kPlanetPickupY] - camY;
    p_SetSize(0.5f, 0.5f);
    p_DrawImg(play::kPickupSlot, px, py, static_cast<float>(play::Cycle(zq_app_Millisecs(), 40, 64)));
    p_SetSize(1.0f, 1.0f);
    if (currentLevel == 1) {
        p_Text(px, py - 16.0f, String("COLLECT"), 1.0f, 1.0f, 0);
        p_Text(px, py + 16.0f, String("ME"), 1.0f, 1.0f, 0);
    }
    if (std::fabs(player[rec::kPlayerX] - p[rec::kPlanetPickupX]) < 16.0f &&
        std::fabs(player[rec::kPlayerY] - p[rec::kPlanetPickupY]) < 16.0f)
        CollectPickup(i);
}

void c_MyApp::SweepArms(int i, float sx, float sy, float nextAngle) {
    const float* p = &planets[i * rec::kSize];
    const int arms = static_cast<int>(p[rec::kPlanetArms]);
    const int segments = static_cast<int>(p[rec::kPlanetRadius] / static_cast<float>(armStep));
    const float angle = p[rec::kPlanetAngle];
    const float spacing = 360.0f / static_cast<float>(arms);
    const float halfStep = 0.5f * static_cast<float>(armStep);
    const float frame = p[rec::kPlanetColour];
    for (int k = 1; k <= arms; ++k) {
        const float a = spacing * static_cast<float>(k) + angle;
        const float aNext = spacing * static_cast<float>(k) + nextAngle;
        const float sa = SinDeg(a), ca = CosDeg(a), sn = SinDeg(aNext), cn = CosDeg(aNext);
        for (int j = 1; j <= 2 * segments; ++j) {
            const float d = halfStep * static_cast<float>(j);
            const float segX = sx + sa * d, segY = sy - ca * d;
            const float moveX = (sx + sn * d) - segX, moveY = (sy - cn * d) - segY;
            // World position of the segment, for the bugs' world positions.
            const float wx = segX + camX, wy = segY + camY;
            // Each bug is carried by at most one segment per update.
            for (int f = 0; f <= followerLast; ++f) {
                float* b = &followers[f * rec::kSize];
                if (b[rec::kFollowerState] <= 0.0f || b[rec::kFollowerCarried] != 0.0f) continue;
                if (std::fabs(b[rec::kFollowerX] - wx) >= 6.0f || std::fabs(b[rec::kFollowerY] - wy) >= 6.0f)
                    continue;
                if (b[rec::kFollowerBump] < 1.0f) {
                    b[rec::kFollowerBump] = 8.0f;
                    sfxMarker = 1;
                }
                b[rec::kFollowerCarried] = 1.0f;
                b[rec::kFollowerX] += moveX;
                b[rec::kFollowerY] += moveY;
            }
            if (player[rec::kPlayerCarried] == 0.0f && std::fabs(player[rec::kPlayerX] - wx) < 6.0f &&
                std::fabs(player[rec::kPlayerY] - wy) < 6.0f) {
                player[rec::kPlayerTargetX] += moveX;
                player[rec::kPlayerTargetY] += moveY;
                player[rec::kPlayerCarried] = 1.0f;
            }
            drawRotation = 2.0f * angle + spacing * static_cast<float>(k);
            p_DrawImg(play::kArmSlot, segX, segY, frame);
        }
    }
}
