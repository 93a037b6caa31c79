// Sine and cosine of angles in degrees, in single precision.
//
// Every game formula that takes the sine or cosine of degrees goes through
// these functions. Level layouts must come out the same on every machine
// and in the browser (some levels differ by a pixel when computed in double
// precision), so they use the exact pair: the double-precision function
// rounded once, which is the correctly rounded single-precision value with
// every C library. The C libraries' own single-precision functions are not
// that: glibc's sine of 13 degrees is one unit off, the browser build's is
// not. Play keeps them (its recorded sessions replay with them). The game
// library is built with -ffp-contract=off and without -ffast-math for the
// same reason.
#pragma once

#include <cmath>

constexpr float kDegToRad = 0.017453292f;

inline float SinDeg(float degrees) {
    return std::sin(degrees * kDegToRad);
}
inline float CosDeg(float degrees) {
    return std::cos(degrees * kDegToRad);
}

// The correctly rounded values, for level layouts.
inline float SinDegExact(float degrees) {
    return static_cast<float>(std::sin(static_cast<double>(degrees * kDegToRad)));
}
inline float CosDegExact(float degrees) {
    return static_cast<float>(std::cos(static_cast<double>(degrees * kDegToRad)));
}
