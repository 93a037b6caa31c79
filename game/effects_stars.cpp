// The parallax star field behind play and the level-complete sequence.
// Stars live in screen coordinates; each moves by the camera's step times
// its depth (deeper stars move further and shine brighter) and wraps round a
// band `overscan` + 16 pixels outside the view with a fresh look.
//
// Randomness: both operations reseed the shared generator from the clock
// first, so the star field never repeats and play after it is not
// repeatable from update to update; the draws still follow a fixed order.
// Main thread only.
#include "game/my_app.h"
#include "game/records.h"
#include "runtime/lang/random.h"

namespace {

// p_SeedRnd's "use the clock" value.
constexpr int kSeedFromClock = -37171650;

// Image bank slot of the shared star and particle sprite.
constexpr int kSparkSlot = 96;

float Frame256() {
    return static_cast<float>(static_cast<int>(255.99f * zq_random_Rnd()));
}
float Depth() {
    return 0.2f + 0.6f * zq_random_Rnd();
}

}  // namespace

int c_MyApp::p_ResetStars(int count) {
    p_SeedRnd(kSeedFromClock);
    if (count >= 1 && count <= 499) starLast = count;
    for (int k = 0; k <= starLast; ++k) {
        int b = k * rec::kSize;
        // Six draws per star, in this order.
        float frame = Frame256();
        float x = zq_random_Rnd() * (vscrw + 16.0f) - 8.0f;
        float y = zq_random_Rnd() * (vscrh + 16.0f) - 8.0f;
        float depth = Depth();
        float angle = 360.0f * zq_random_Rnd();
        float spin = zq_random_Rnd() - 0.5f;
        stars[b + rec::kStarFrame] = frame;
        stars[b + rec::kStarX] = x;
        stars[b + rec::kStarY] = y;
        stars[b + rec::kStarDepth] = depth;
        stars[b + rec::kStarAngle] = angle;
        stars[b + rec::kStarSpin] = spin;
    }
    return 0;
}

int c_MyApp::p_DoStars(float dx, float dy) {
    p_SeedRnd(kSeedFromClock);
    p_ResetDraw();
    const float m = overscan + 16.0f;
    const float wrapW = vscrw + 2.0f * overscan + 32.0f;
    const float wrapH = vscrh + 2.0f * overscan + 32.0f;
    for (int k = 0; k <= starLast; ++k) {
        int b = k * rec::kSize;
        float& x = stars[b + rec::kStarX];
        float& y = stars[b + rec::kStarY];
        float& depth = stars[b + rec::kStarDepth];
        float& frame = stars[b + rec::kStarFrame];
        x += dx * depth;
        y += dy * depth;
        // A star leaving by a side comes back at the opposite side at a fresh
        // position along that side, with a fresh depth and look (three draws
        // in this order).
        auto freshAlongY = [&] {
            y = zq_random_Rnd() * (vscrh + 16.0f) - 8.0f;
            depth = Depth();
            frame = Frame256();
        };
        auto freshAlongX = [&] {
            x = zq_random_Rnd() * (vscrw + 16.0f) - 8.0f;
            depth = Depth();
            frame = Frame256();
        };
        if (x < -m) {
            x += wrapW;
            freshAlongY();
        }
        if (x > vscrw + m) {
            x -= wrapW;
            freshAlongY();
        }
        if (y < -m) {
            y += wrapH;
            freshAlongX();
        }
        if (y > vscrh + m) {
            y -= wrapH;
            freshAlongX();
        }
        float& angle = stars[b + rec::kStarAngle];
        angle += stars[b + rec::kStarSpin];
        p_Alpha(depth);
        drawRotation = -angle;
        p_DrawImg(kSparkSlot, x, y, frame);
    }
    p_ResetDraw();
    return 0;
}
