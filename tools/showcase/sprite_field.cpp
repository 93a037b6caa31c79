#include "tools/showcase/sprite_field.h"

#include <cmath>

SpriteField::SpriteField() {
    for (Sprite& s : sprites_) Respawn(s);
}

void SpriteField::Respawn(Sprite& s) {
    float roll = zq_random_Rnd();
    s.kind = roll < 0.5f ? SpriteKind::Bug : (roll < 0.85f ? SpriteKind::Star : SpriteKind::Pickup);
    s.x = zq_random_Rnd2(0, kWidth);
    s.y = zq_random_Rnd2(0, kHeight);
    float heading = zq_random_Rnd2(0, 6.2831855f);
    float speed = zq_random_Rnd2(0.3f, 1.6f);
    s.vx = std::sin(heading) * speed;
    s.vy = -std::cos(heading) * speed;
    // Bugs face where they go (rotation 0 is "up", clockwise positive).
    s.angle = heading * 57.29578f;
    s.spin = s.kind == SpriteKind::Bug ? 0.0f : zq_random_Rnd2(-3.0f, 3.0f);
    s.scale = s.kind == SpriteKind::Pickup ? zq_random_Rnd2(0.4f, 0.7f) : zq_random_Rnd2(0.8f, 1.8f);
    s.phase = zq_random_Rnd2(0, 6.2831855f);
    s.variant =
        s.kind == SpriteKind::Star ? RandomBelow(256) : RandomBelow(s.kind == SpriteKind::Bug ? 8 : 64);
}

void SpriteField::SetCount(int count) {
    count_ = count < 0 ? 0 : (count > kMaxSprites ? kMaxSprites : count);
}

static float Wrap(float v, float size) {
    if (v < -16) return v + size + 32;
    if (v > size + 16) return v - size - 32;
    return v;
}

void SpriteField::Update() {
    for (int i = 0; i < count_; ++i) {
        Sprite& s = sprites_[i];
        s.x = Wrap(s.x + s.vx, kWidth);
        s.y = Wrap(s.y + s.vy, kHeight);
        s.angle += s.spin;
        s.phase += 0.05f;
    }
    for (BurstStar& b : burst_) {
        if (b.life == 0) continue;
        b.x += b.vx;
        b.y += b.vy;
        b.vx *= 0.96f;
        b.vy = b.vy * 0.96f + 0.04f;
        --b.life;
    }
}

void SpriteField::SpawnBurst(float x, float y) {
    static constexpr int kStarsPerBurst = 48;
    for (int i = 0; i < kStarsPerBurst; ++i) {
        BurstStar& b = burst_[nextBurst_];
        nextBurst_ = (nextBurst_ + 1) % kMaxBurst;
        float heading = zq_random_Rnd2(0, 6.2831855f);
        float speed = zq_random_Rnd2(0.5f, 4.0f);
        b = {x,
             y,
             std::cos(heading) * speed,
             std::sin(heading) * speed,
             40 + RandomBelow(40),
             RandomBelow(256),
             zq_random_Rnd2(160, 255),
             zq_random_Rnd2(120, 255),
             zq_random_Rnd2(60, 255)};
    }
}
