// The turning helper of the gameplay: how many whole steps to turn from one
// heading towards another on a ring of values lo..hi, positive or negative,
// the short way round.
#include <cmath>

#include "game/my_app.h"

namespace {

// Floating-point remainder made non-negative.
float Wrap(float v, float n) {
    float m = std::fmod(v, n);
    return m < 0.0f ? m + n : m;
}

}  // namespace

int c_MyApp::m_WhichWayDoIGo(float current, float target, int lo, int hi) {
    const float n = static_cast<float>(hi - lo + 1);
    float c = Wrap(current, n);
    float t = Wrap(target, n);
    float v = static_cast<float>(lo) + Wrap(t - c, n);
    if (v <= static_cast<float>(lo + (hi - lo) / 2)) return static_cast<int>(v);
    // The negative turn subtracts the span hi - lo, not the ring size: a
    // target just below the current heading (less than 1.5 steps) gives 0.
    return static_cast<int>(v - static_cast<float>(hi - lo));
}
