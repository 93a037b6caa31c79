// How a joystick that GLFW 3 recognises as a gamepad is presented through
// the v2 joystick calls: 5 axes and 14 buttons, the shape the input device's
// first layout reads, so a standard pad works without configuration.
//
//   buttons  0 south (A)   1 east (B)   2 west (X)   3 north (Y)
//            4 left shoulder   5 right shoulder   6 back   7 start
//            8 left stick press   9 right stick press
//            10 d-pad left   11 d-pad up   12 d-pad right   13 d-pad down
//   axes     0 left X   1 left Y   2 triggers (left positive, right negative)
//            3 right Y   4 right X
//
// Sticks use v2's convention (up is positive), so both Y axes are the
// negated v3 values. The guide button is not shown. Pure functions; any
// thread.
#pragma once

namespace glfw2 {

constexpr int kGamepadAxes = 5;
constexpr int kGamepadButtons = 14;

// A GLFW 3 gamepad state in v3's own order and signs: buttons A, B, X, Y,
// left bumper, right bumper, back, start, guide, left thumb, right thumb,
// d-pad up, right, down, left; axes left X, left Y, right X, right Y (down
// positive), left trigger, right trigger (-1 released .. 1 pressed).
struct GamepadState {
    unsigned char buttons[15];
    float axes[6];
};

// Fills kGamepadAxes axes and kGamepadButtons buttons (GLFW_PRESS or
// GLFW_RELEASE) in the v2 shape above.
void ShapeGamepad(const GamepadState& in, float axes[kGamepadAxes], unsigned char buttons[kGamepadButtons]);

}  // namespace glfw2
