// Particle bursts of the gameplay: a fixed pool of records 0..particleLast
// in world coordinates, drawn shifted by the camera. A throw takes the free
// record with the highest index; a throw into a full pool is dropped (no
// eviction, and no further random draws). Main thread only.
#include <algorithm>

#include "game/degrees.h"
#include "game/my_app.h"
#include "game/records.h"
#include "runtime/lang/random.h"

namespace {

constexpr float kUnset = -3717.0f;  // "not given": take a random value
constexpr int kSparkSlot = 96;      // the shared star and particle sprite
constexpr int kBurstKind = 4;       // the only kind the gameplay throws

}  // namespace

int c_MyApp::p_ThrowParticle(float x, float y, int kind, int style, float angle, float speed) {
    // Replaced before the pool is searched, angle first: these draws are
    // taken even when the pool turns out to be full.
    if (angle == kUnset) angle = 360.0f * zq_random_Rnd();
    if (speed == kUnset) speed = 3.0f + 5.0f * zq_random_Rnd();
    int free = -1;
    for (int k = particleLast; k >= 0; --k)
        if (particles[k * rec::kSize + rec::kParticleKind] == 0.0f) {
            free = k;
            break;
        }
    if (free < 0) return 0;
    float* p = &particles[free * rec::kSize];
    p[rec::kParticleKind] = static_cast<float>(kind);
    p[rec::kParticleX] = x;
    p[rec::kParticleY] = y;
    p[rec::kParticleVX] = speed * SinDeg(angle);
    p[rec::kParticleVY] = -speed * CosDeg(angle);
    // Four draws in this order.
    float spinAngle = 360.0f * zq_random_Rnd();
    float spin = 16.0f * zq_random_Rnd() - 8.0f;
    float alpha = 0.7f + 0.6f * zq_random_Rnd();
    float frame = static_cast<float>(static_cast<int>(255.99f * zq_random_Rnd()));
    p[rec::kParticleAngle] = spinAngle;
    p[rec::kParticleSpin] = spin;
    p[rec::kParticleAlpha] = alpha;
    p[rec::kParticleFrame] = frame;
    p[rec::kParticleStyle] = static_cast<float>(style);
    return 0;
}

int c_MyApp::p_DoParticles(float scale) {
    for (int k = 0; k <= particleLast; ++k) {
        float* p = &particles[k * rec::kSize];
        float kind = p[rec::kParticleKind];
        if (kind <= 0.0f) continue;
        p[rec::kParticleX] += p[rec::kParticleVX];
        p[rec::kParticleY] += p[rec::kParticleVY];
        p[rec::kParticleAngle] += p[rec::kParticleSpin];
        drawRotation = -p[rec::kParticleAngle];
        if (kind == kBurstKind) {
            p[rec::kParticleVX] *= 0.97f;
            p[rec::kParticleVY] *= 0.97f;
        }
        // The alpha may start above 1: the particle stays opaque until it
        // has faded below 1.
        p_Alpha(std::min(p[rec::kParticleAlpha], 1.0f));
        p_SetSize(scale, scale);
        // The style colours are the palette's colours at full brightness.
        p_Ink(static_cast<int>(p[rec::kParticleStyle]), 1.0f);
        p_DrawImg(kSparkSlot, p[rec::kParticleX] - camX, p[rec::kParticleY] - camY, p[rec::kParticleFrame]);
        if (kind == kBurstKind) p[rec::kParticleAlpha] -= 0.02f;
        if (p[rec::kParticleAlpha] < 0.0f) p[rec::kParticleKind] = 0.0f;
    }
    p_ResetDraw();
    return 0;
}
