// Sine and cosine of angles in degrees, in single precision.
//
// Every game formula that takes the sine or cosine of degrees goes through
// this pair, and only this pair: level layouts are generated with it, and a
// level must come out the same on every machine (some levels differ by a
// pixel when computed in double precision). The game library is built with
// -ffp-contract=off and without -ffast-math for the same reason.
#pragma once

#include <cmath>

constexpr float kDegToRad = 0.017453292f;

inline float SinDeg(float degrees) {
    return std::sin(degrees * kDegToRad);
}
inline float CosDeg(float degrees) {
    return std::cos(degrees * kDegToRad);
}
