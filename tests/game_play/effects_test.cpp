// Background, star field and particles.
#include <gtest/gtest.h>

#include "game/records.h"
#include "runtime/lang/random.h"
#include "tests/game_play/play_fixture.h"

namespace {

float* Particle(c_MyApp* app, int k) {
    return &app->particles[k * rec::kSize];
}

TEST_F(PlayFixture, ParticlesFillTheHighestFreeRecordsFirst) {
    for (int n = 0; n < 3; ++n) app->p_ThrowParticle(10.0f, 20.0f, 4, 3, 90.0f, 2.0f);
    EXPECT_EQ(Particle(app, 250)[rec::kParticleKind], 4.0f);
    EXPECT_EQ(Particle(app, 249)[rec::kParticleKind], 4.0f);
    EXPECT_EQ(Particle(app, 248)[rec::kParticleKind], 4.0f);
    EXPECT_EQ(Particle(app, 247)[rec::kParticleKind], 0.0f);
    const float* p = Particle(app, 250);
    EXPECT_EQ(p[rec::kParticleX], 10.0f);
    EXPECT_EQ(p[rec::kParticleStyle], 3.0f);
    EXPECT_NEAR(p[rec::kParticleVX], 2.0f, 1e-5f);  // 90 degrees: to the right
    EXPECT_NEAR(p[rec::kParticleVY], 0.0f, 1e-5f);
    EXPECT_GE(p[rec::kParticleAlpha], 0.7f);
    EXPECT_LT(p[rec::kParticleAlpha], 1.3f);

    // A freed record in the middle is the next one taken.
    Particle(app, 249)[rec::kParticleKind] = 0.0f;
    app->p_ThrowParticle(0.0f, 0.0f, 4, 1, 0.0f, 1.0f);
    EXPECT_EQ(Particle(app, 249)[rec::kParticleX], 0.0f);
    EXPECT_EQ(Particle(app, 247)[rec::kParticleKind], 0.0f);
}

TEST_F(PlayFixture, AFullParticlePoolDropsThrowsWithoutDraws) {
    for (int n = 0; n < 300; ++n) app->p_ThrowParticle(1.0f, 2.0f, 4, 2, 45.0f, 1.0f);
    for (int k = 0; k <= 250; ++k) ASSERT_EQ(Particle(app, k)[rec::kParticleKind], 4.0f) << k;
    EXPECT_EQ(Particle(app, 251)[rec::kParticleKind], 0.0f);  // beyond the pool
    int seed = zq_random_Seed;
    app->p_ThrowParticle(1.0f, 2.0f, 4, 2, 45.0f, 1.0f);
    EXPECT_EQ(zq_random_Seed, seed);
    // A random angle and speed are still drawn (two steps), before the search.
    app->p_ThrowParticle(1.0f, 2.0f, 4, 2, -3717.0f, -3717.0f);
    int after = zq_random_Seed;
    zq_random_Seed = seed;
    zq_random_Rnd();
    zq_random_Rnd();
    EXPECT_EQ(after, zq_random_Seed);
}

TEST_F(PlayFixture, ParticlesMoveFadeAndFree) {
    app->p_ThrowParticle(100.0f, 100.0f, 4, 5, 180.0f, 2.0f);  // downwards
    float* p = Particle(app, 250);
    p[rec::kParticleAlpha] = 0.03f;
    app->camX = 50.0f;
    app->camY = 60.0f;
    app->displayListFill = 0;
    app->p_DoParticles(1.0f);
    EXPECT_NEAR(p[rec::kParticleY], 102.0f, 1e-4f);
    EXPECT_NEAR(p[rec::kParticleVY], 2.0f * 0.97f, 1e-4f);
    ASSERT_EQ(RecordCount(app), 1);
    EXPECT_EQ(Record(app, 0, 0), 96.0f);
    EXPECT_NEAR(Record(app, 0, 1), 50.0f, 1e-4f);  // world minus camera
    EXPECT_NEAR(Record(app, 0, 2), 42.0f, 1e-4f);
    EXPECT_NEAR(Record(app, 0, 7), 0.03f, 1e-6f);
    EXPECT_NEAR(Record(app, 0, 10), 25.5f, 1e-3f);  // style 5: cyan
    EXPECT_EQ(Record(app, 0, 11), 255.0f);
    EXPECT_EQ(p[rec::kParticleKind], 4.0f);  // 0.01 left
    app->p_DoParticles(1.0f);
    EXPECT_EQ(p[rec::kParticleKind], 0.0f);
    EXPECT_EQ(app->drawAlpha, 1.0f);  // state reset afterwards
}

TEST_F(PlayFixture, StarsWrapWithAFreshLookFromTheClockSeed) {
    overscan = 0.0f;
    app->p_ResetStars(1);
    ASSERT_EQ(app->starLast, 1);
    float* star = &app->stars[0];
    star[rec::kStarX] = -15.0f;
    star[rec::kStarY] = 100.0f;
    star[rec::kStarDepth] = 0.5f;
    float* other = &app->stars[rec::kSize];
    other[rec::kStarX] = 300.0f;
    other[rec::kStarY] = 200.0f;

    // The draws that the wrap takes come from the clock seed, in this order.
    app->p_SeedRnd(host.millis);
    float y = zq_random_Rnd() * (480.0f + 16.0f) - 8.0f;
    float depth = 0.2f + 0.6f * zq_random_Rnd();
    float frame = static_cast<float>(static_cast<int>(255.99f * zq_random_Rnd()));

    app->p_DoStars(-4.0f, 0.0f);  // -15 + -4 x 0.5 = -17, past -16
    EXPECT_EQ(star[rec::kStarX], -17.0f + 640.0f + 32.0f);
    EXPECT_EQ(star[rec::kStarY], y);
    EXPECT_EQ(star[rec::kStarDepth], depth);
    EXPECT_EQ(star[rec::kStarFrame], frame);
    EXPECT_EQ(other[rec::kStarX], 300.0f - 4.0f * other[rec::kStarDepth]);

    // A star just inside the band stays.
    star[rec::kStarX] = -15.0f;
    star[rec::kStarDepth] = 0.5f;
    app->p_DoStars(-2.0f, 0.0f);
    EXPECT_EQ(star[rec::kStarX], -16.0f);
}

TEST_F(PlayFixture, StarCountOutsideItsRangeKeepsThePrevious) {
    app->p_ResetStars(42);
    app->p_ResetStars(0);
    EXPECT_EQ(app->starLast, 42);
    app->p_ResetStars(500);
    EXPECT_EQ(app->starLast, 42);
    app->displayListFill = 0;
    app->p_DoStars(0.0f, 0.0f);
    EXPECT_EQ(RecordCount(app), 43);
}

TEST_F(PlayFixture, BackgroundEasesTowardsItsTarget) {
    app->p_DoBG(200, 100, 0, 0.5f);
    EXPECT_EQ(app->clearRed, 25.0f);
    EXPECT_EQ(app->clearGreen, 12.5f);
    EXPECT_EQ(app->clearAlpha, 0.5f);
    app->p_DrawImg(1, 0, 0, 0);
    app->p_SetSize(3.0f);
    // -123 keeps the target and means alpha 1.
    app->p_DoBG(-123, -123, -123, -123.0f);
    EXPECT_EQ(app->bgTargetRed, 200.0f);
    EXPECT_EQ(app->clearRed, 25.0f + 175.0f * 0.125f);
    EXPECT_EQ(app->clearAlpha, 1.0f);
    EXPECT_EQ(app->displayListFill, 0);
    EXPECT_EQ(app->drawScaleX, 1.0f);
    app->p_DoBG(0, 0, 0, 7.0f);
    EXPECT_EQ(app->clearAlpha, 1.0f);  // clamped
}

}  // namespace
