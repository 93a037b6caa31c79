// The showcase's moving sprites and click bursts: plain fixed-size arrays,
// allocated once and reused every update, so the field itself costs the
// collector nothing.
//
// A sprite is one of three kinds (a bug with its flapping wings, a star, a
// spinning pickup) that drifts, wraps at the design-screen edges, turns,
// pulses in size and fades in and out. Bursts are short-lived stars thrown
// out from a point. Main thread only.
#pragma once

#include <cstdint>

#include "runtime/lang/random.h"

// A whole number in [0, n) from the framework's shared generator.
inline int RandomBelow(int n) {
    return static_cast<int>(zq_random_Rnd() * static_cast<float>(n));
}

enum class SpriteKind : uint8_t { Bug, Star, Pickup };

struct Sprite {
    SpriteKind kind;
    float x, y;    // design-screen pixels
    float vx, vy;  // pixels per update
    float angle;   // degrees
    float spin;    // degrees per update
    float scale;   // base scale
    float phase;   // drives the pulse, the fade and the animation frame
    int variant;   // body colour, star shape or pickup start frame
};

struct BurstStar {
    float x, y, vx, vy;
    int life;  // updates left; 0 = free
    int frame;
    float r, g, b;
};

class SpriteField {
  public:
    static constexpr int kMaxSprites = 2499;
    static constexpr int kMaxBurst = 512;
    static constexpr float kWidth = 640.0f;  // the design screen
    static constexpr float kHeight = 480.0f;

    SpriteField();

    // Sprites beyond `count` keep their state, so lowering and raising the
    // count brings the same sprites back.
    void SetCount(int count);
    int Count() const { return count_; }
    void Update();
    void SpawnBurst(float x, float y);

    const Sprite& At(int i) const { return sprites_[i]; }
    const BurstStar* Burst() const { return burst_; }

  private:
    void Respawn(Sprite& s);

    Sprite sprites_[kMaxSprites];
    BurstStar burst_[kMaxBurst] = {};
    int count_ = 0;
    int nextBurst_ = 0;
};
