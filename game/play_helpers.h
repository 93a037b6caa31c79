// Small helpers shared by the gameplay files: clamping, headings from
// vectors, and the image bank slots the play field draws from.
#pragma once

#include <algorithm>
#include <cmath>

#include "game/degrees.h"

namespace play {

// Image bank slots.
constexpr int kArmSlot = 1;     // arm segment, frame = planet colour
constexpr int kBugSlot = 2;     // bug sheet: 0..7 bodies, 8..13 wings, 14 head, 15 tail
constexpr int kPickupSlot = 3;  // 64-frame animation
constexpr int kHazardSlot = 4;  // frame 7 base, 0..6 pulse stages
constexpr int kDiscSlot = 9;    // 256 pixels across at scale 1

constexpr float kHomeMeterFull = 64.0f;
constexpr float kHomeMeterEmpty = 16.0f;

inline float Clamp(float v, float lo, float hi) {
    return std::min(std::max(v, lo), hi);
}

// The heading in degrees of the vector whose atan2 arguments are (a, b).
inline float Atan2Deg(float a, float b) {
    return std::atan2(a, b) / kDegToRad;
}

// Whole-number milliseconds divided and reduced to a non-negative frame.
inline int Cycle(int value, int divisor, int frames) {
    int f = (value / divisor) % frames;
    return f < 0 ? f + frames : f;
}

struct Rgb {
    float r, g, b;
};

// Row of a per-theme colour table: themes 1..8, then one row for any other.
inline int ThemeRow(float theme) {
    int t = static_cast<int>(theme);
    return t >= 1 && t <= 8 ? t - 1 : 8;
}

}  // namespace play
