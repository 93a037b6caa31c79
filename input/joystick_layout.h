// The pure logic of the host's PollJoystick: which GLFW joysticks become
// units 0..3, and how one joystick's reading (its axes and buttons as GLFW
// reports them) fills a c_JoyState's sticks, triggers and buttons.
//
// Two layouts. Layout one is for a pad reporting exactly 5 axes and 14
// buttons, the shape the GLFW-2 layer gives a recognised gamepad (buttons
// south, east, west, north, shoulders, back, start, stick presses, then the
// d-pad left, up, right, down); every other joystick uses layout two. Both
// put the d-pad (the last four reported buttons) on output buttons 8..11 as
// left, up, right, down.
//
// No GLFW here: the host reads GLFW through its GLFW-2 layer behind a
// JoystickReader, so the logic runs without joystick hardware. Main thread.
#pragma once

#include "runtime/lang/array.h"

constexpr int kJoyUnitCount = 4;       // units 0..3
constexpr int kJoyNumberCount = 16;    // GLFW joystick numbers scanned, 0..15
constexpr int kJoyReadAxes = 6;        // axes read per joystick
constexpr int kJoyReadButtons = 32;    // buttons read per joystick
constexpr int kJoyLayoutButtons = 14;  // output buttons fed by a layout; 14..31 stay up

// 1 for 5 axes and 14 buttons, otherwise 2.
int JoystickLayoutFor(int axisCount, int buttonCount);

// Fills the six stick/trigger outputs (stickX[0], stickY[0], trigger[0],
// stickX[1], stickY[1], trigger[1]) and the 32 output buttons from one
// reading, by the layout that the counts select.
// `axes` holds axisCount values and `buttons` buttonCount states (1 =
// pressed); counts are clamped to 0..6 and 0..32, and nothing beyond them is
// read: an axis or button the joystick did not report reads as 0 / up, and a
// negative list entry -k names reported button buttonCount - k, or no button
// when that is below 0. Outputs are written only within the arrays' lengths.
void ApplyJoystickLayout(const float* axes, int axisCount, const unsigned char* buttons, int buttonCount,
                         Array<float> stickX, Array<float> stickY, Array<float> trigger,
                         Array<bool> outButtons);

// Where the host's joystick readings come from (the GLFW-2 layer in the
// program, a scripted source in tests).
class JoystickReader {
  public:
    virtual ~JoystickReader() = default;
    // Whether GLFW joystick `number` (0..15) is present.
    virtual bool Present(int number) = 0;
    // Reads up to maxAxes axes into `axes`; returns how many were read.
    virtual int ReadAxes(int number, float* axes, int maxAxes) = 0;
    // Reads up to maxButtons button states into `buttons`; returns how many.
    virtual int ReadButtons(int number, unsigned char* buttons, int maxButtons) = 0;
};

// Records in pjoys the GLFW numbers of the first four present joysticks, in
// number order, and -1 for the remaining units.
void RescanJoysticks(JoystickReader& reader, int pjoys[kJoyUnitCount]);

// The whole of PollJoystick: rescans when unit is 0, answers false when the
// unit (or a unit outside 0..3) has no joystick, otherwise reads up to 6
// axes and 32 buttons into zeroed buffers, applies the layout and answers
// true. `pjoys` is the caller's record, kept between calls.
bool PollJoystickFrom(JoystickReader& reader, int pjoys[kJoyUnitCount], int unit, Array<float> stickX,
                      Array<float> stickY, Array<float> trigger, Array<bool> outButtons);
