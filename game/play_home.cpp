// Pickups and the home planet. A pickup is collected when the player comes
// within 16 pixels of it on both axes; once none is left, the home rings
// light up and the meter fills while the player holds position on the home
// centre. The meter steps run once per ring (five per update): +0.3 each on
// the centre, -0.5 each off it or while pickups are left, between 16 and 64.
// Main thread only.
#include <cmath>

#include "game/my_app.h"
#include "game/play_helpers.h"
#include "game/records.h"
#include "runtime/lang/random.h"

namespace {

// Home ring accent per theme 1..8, then the row for any other theme.
constexpr play::Rgb kAccent[9] = {{90, 0, 0}, {90, 40, 0}, {90, 90, 0}, {0, 90, 0}, {0, 90, 90},
                                  {0, 0, 90}, {40, 0, 90}, {90, 0, 40}, {0, 0, 0}};

constexpr int kPickupSound = 31;

}  // namespace

void c_MyApp::CollectPickup(int i) {
    float* p = &planets[i * rec::kSize];
    for (int n = 0; n < 36; ++n) {
        // The speed's draw comes before the particle's own draws.
        float rSpeed = zq_random_Rnd();
        p_ThrowParticle(p[rec::kPlanetPickupX], p[rec::kPlanetPickupY], 4, 4, 10.0f * static_cast<float>(n),
                        1.0f + 0.2f * rSpeed);
    }
    p_PlaySFX(kPickupSound, 1.0f, 1.0f, 0.0f);
    p[rec::kPlanetPickupX] = -1.0f;
}

void c_MyApp::HomeRings(int i, float sx, float sy) {
    const float* p = &planets[i * rec::kSize];
    float& meter = player[rec::kPlayerHomeMeter];
    // The count of the previous update: home is visited first in pass 1.
    const float left = player[rec::kPlayerPickupsLeft];
    const float offX = std::fabs(player[rec::kPlayerX] - p[rec::kPlanetX]);
    const float offY = std::fabs(player[rec::kPlayerY] - p[rec::kPlanetY]);
    const play::Rgb& accent = kAccent[play::ThemeRow(player[rec::kPlayerColourTheme])];
    for (int k = 4; k >= 0; --k) {
        if (k % 2 == 0 && left == 0.0f)
            p_SetCol(accent.r, accent.g, accent.b, 0.5f);
        else if (left > 0.0f)
            p_SetCol(0.0f, 0.0f, 0.0f, 0.1f);
        else
            p_SetCol(255.0f, 255.0f, 255.0f, 0.3f);
        if (offX < 32.0f && offY < 32.0f && meter < play::kHomeMeterFull)
            meter = std::min(meter + 0.3f, play::kHomeMeterFull);
        if (offX > 31.0f || offY > 31.0f || left > 0.0f)
            meter = std::max(meter - 0.5f, play::kHomeMeterEmpty);
        float scale = (0.5f * static_cast<float>(k) + 1.0f) * meter / 128.0f;
        p_SetSize(scale, scale);
        p_DrawImg(play::kDiscSlot, sx, sy, 0.0f);
    }
    p_ResetDraw();
    if (currentLevel == 1 && left == 0.0f) p_Text(sx, sy, String("HOME"), 1.0f, 1.0f, 0);
}
