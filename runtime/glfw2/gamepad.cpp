// The v2 presentation of a GLFW 3 gamepad (see gamepad.h for the shape).
#include "runtime/glfw2/gamepad.h"

namespace glfw2 {
namespace {

// v3 gamepad indices (GLFW_GAMEPAD_BUTTON_* / GLFW_GAMEPAD_AXIS_*); kept
// here so this file stays free of the v3 header and testable on its own.
enum V3Button {
    kA,
    kB,
    kX,
    kY,
    kLeftBumper,
    kRightBumper,
    kBack,
    kStart,
    kGuide,
    kLeftThumb,
    kRightThumb,
    kDpadUp,
    kDpadRight,
    kDpadDown,
    kDpadLeft
};
enum V3Axis { kLeftX, kLeftY, kRightX, kRightY, kLeftTrigger, kRightTrigger };

// Source v3 button of each v2 output button, in output order.
constexpr int kButtonSource[kGamepadButtons] = {
    kA,     kB,         kX,          kY,        kLeftBumper, kRightBumper, kBack,
    kStart, kLeftThumb, kRightThumb, kDpadLeft, kDpadUp,     kDpadRight,   kDpadDown,
};

// A v3 trigger (-1 released .. 1 pressed) as 0 .. 1.
float TriggerDepth(float v3) {
    return (v3 + 1.0f) * 0.5f;
}

}  // namespace

bool GamepadFromStandardLayout(const float* axes, int axisCount, const unsigned char* buttons,
                               int buttonCount, GamepadState& state) {
    // Source standard-layout button of each v3 button, in v3 order.
    constexpr int kStandardSource[15] = {0, 1, 2, 3, 4, 5, 8, 9, 16, 10, 11, 12, 15, 13, 14};
    constexpr int kStandardLeftTrigger = 6;
    constexpr int kStandardRightTrigger = 7;
    if (axisCount < 4 || buttonCount < 16) return false;
    for (int i = 0; i < 15; ++i) {
        int source = kStandardSource[i];
        state.buttons[i] = source < buttonCount && buttons[source] ? 1 : 0;
    }
    for (int i = 0; i < 4; ++i) state.axes[i] = axes[i];
    state.axes[kLeftTrigger] = buttons[kStandardLeftTrigger] ? 1.0f : -1.0f;
    state.axes[kRightTrigger] = buttons[kStandardRightTrigger] ? 1.0f : -1.0f;
    return true;
}

void ShapeGamepad(const GamepadState& in, float axes[kGamepadAxes], unsigned char buttons[kGamepadButtons]) {
    axes[0] = in.axes[kLeftX];
    axes[1] = -in.axes[kLeftY];
    axes[2] = TriggerDepth(in.axes[kLeftTrigger]) - TriggerDepth(in.axes[kRightTrigger]);
    axes[3] = -in.axes[kRightY];
    axes[4] = in.axes[kRightX];
    for (int i = 0; i < kGamepadButtons; ++i) buttons[i] = in.buttons[kButtonSource[i]] ? 1 : 0;
}

}  // namespace glfw2
