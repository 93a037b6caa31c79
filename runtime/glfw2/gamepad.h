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

// A pad in the browser's "standard" layout, read through the raw joystick
// calls (buttons 0 south, 1 east, 2 west, 3 north, 4 and 5 shoulders, 6 and
// 7 triggers, 8 back, 9 start, 10 and 11 stick presses, 12 to 15 d-pad up,
// down, left, right, 16 guide; axes left X, left Y, right X, right Y, down
// positive), as a GLFW 3.3 gamepad state. A trigger reads fully pressed or
// released. False, with the state untouched, when the pad reports fewer than
// 4 axes or 16 buttons.
bool GamepadFromStandardLayout(const float* axes, int axisCount, const unsigned char* buttons,
                               int buttonCount, GamepadState& state);

// Fills kGamepadAxes axes and kGamepadButtons buttons (GLFW_PRESS or
// GLFW_RELEASE) in the v2 shape above.
void ShapeGamepad(const GamepadState& in, float axes[kGamepadAxes], unsigned char buttons[kGamepadButtons]);

}  // namespace glfw2
