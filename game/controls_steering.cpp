// Steering: p_AnalogueControl turns a pointer drag, joystick 0's first
// stick and the direction keys into the player's steering vector
// (steerX, steerY, each -1..1), once per gameplay and level-complete update.
//
// Later sources override earlier ones: the drag, then a stick pushed past
// its dead zone, then a direction key (held, or its accumulator still
// returning to 0). Keys ramp by 0.15 per update while held (full deflection
// on the 7th update) and fall back by 0.2 per update once released.
#include <algorithm>
#include <cmath>

#include "game/my_app.h"
#include "input/zq_input.h"

namespace {

constexpr float kDragRange = 72.0f;    // pixels of drag for full deflection
constexpr float kDragDeadZone = 0.1f;  // deflection below this counts as none
constexpr float kDragFollow = 64.0f;   // the origin creeps once the pointer is further away
constexpr int kDragCreep = 4;          // pixels per update, per axis
constexpr float kStickDeadZone = 0.2f;
constexpr float kKeyRamp = 0.15f, kKeyReturn = 0.2f;

// One direction pair on one axis: `negative` pushes the accumulator down,
// `positive` up; a released key lets it return to 0 from its own side.
void RampAxis(bool negative, bool positive, float& accumulator, float& steer) {
    if (negative) {
        accumulator -= kKeyRamp;
        steer = accumulator;
    } else if (accumulator < 0.0f) {
        accumulator = std::min(accumulator + kKeyReturn, 0.0f);
        steer = accumulator;
    }
    if (positive) {
        accumulator += kKeyRamp;
        steer = accumulator;
    } else if (accumulator > 0.0f) {
        accumulator = std::max(accumulator - kKeyReturn, 0.0f);
        steer = accumulator;
    }
}

float DeadZoned(float v) {
    return std::fabs(v) < kDragDeadZone ? 0.0f : v;
}

// The origin's step towards the pointer on one axis.
int Creep(int origin, int pointer) {
    if (std::abs(pointer - origin) <= kDragFollow) return origin;
    return origin + (pointer > origin ? kDragCreep : -kDragCreep);
}

float Clamp1(float v) {
    return std::clamp(v, -1.0f, 1.0f);
}

}  // namespace

int c_MyApp::p_AnalogueControl() {
    steerX = steerY = 0.0f;

    // A virtual stick under the finger or mouse.
    if (pointerDown == 0) {
        dragOriginX = -1;
    } else {
        if (dragOriginX < 0) {
            dragOriginX = mouseX;
            dragOriginY = mouseY;
        } else {
            steerX = DeadZoned(static_cast<float>(mouseX - dragOriginX) / kDragRange);
            steerY = DeadZoned(static_cast<float>(mouseY - dragOriginY) / kDragRange);
            dragOriginX = Creep(dragOriginX, mouseX);
            dragOriginY = Creep(dragOriginY, mouseY);
        }
        p_SetCol(0.0f, 100.0f, 250.0f, 0.25f);
        p_Oval(static_cast<float>(dragOriginX), static_cast<float>(dragOriginY), 12.0f, 12.0f);
        p_Oval(static_cast<float>(mouseX), static_cast<float>(mouseY), 8.0f, 8.0f);
    }

    // Joystick 0's first stick, past its dead zone.
    float x = zq_input_JoyX(0, 0);
    float y = zq_input_JoyY(0, 0);
    if (settings[15] == 0) y = -y;
    if (std::fabs(x) > kStickDeadZone || std::fabs(y) > kStickDeadZone) {
        steerX = x;
        steerY = y;
    }

    // Direction keys (keyboard, pad 0's buttons, virtual buttons; no stick).
    bool up = p_PlayKey(0, 0, 0) != 0, down = p_PlayKey(8, 0, 0) != 0;
    bool left = p_PlayKey(3, 0, 0) != 0, right = p_PlayKey(5, 0, 0) != 0;
    RampAxis(up, down, keySteerY, steerY);
    RampAxis(left, right, keySteerX, steerX);

    steerX = Clamp1(steerX);
    steerY = Clamp1(steerY);
    keySteerX = Clamp1(keySteerX);
    keySteerY = Clamp1(keySteerY);

    if (DebugMode == 1 && (std::fabs(steerX) > 0.05f || std::fabs(steerY) > 0.05f)) {
        p_SetCol(0.0f, 180.0f, 250.0f, 0.5f);
        p_Oval(vscrw - 64.0f, vscrh - 64.0f, 12.0f, 12.0f);
        p_Oval(vscrw - 64.0f + 52.0f * steerX, vscrh - 64.0f + 52.0f * steerY, 8.0f, 8.0f);
    }
    p_ResetDraw();
    return 0;
}
