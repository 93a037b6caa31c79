// The input device: one table of key codes (keyboard keys, mouse buttons,
// joystick buttons, touches; see keys.h for the code space) with down states
// and per-update hit counts, a queue of typed characters, the mouse, touch
// and accelerometer positions and the state of up to four joysticks.
//
// Ownership: created once by the framework delegate at start-up
// (gc_new<c_InputDevice>()->m_new(), which also makes the four c_JoyState
// records), installed with zq_input_SetInputDevice and kept for the run;
// the delegate's `input` field and zq_input_device keep it alive.
//
// Threading: main thread only. Events arrive while the host polls window
// events; p_BeginUpdate / p_EndUpdate bracket each application update.
//
// Limits: at most kHitQueueSize hits and kCharQueueSize characters
// per update; the excess is dropped. Every index that arrives from outside
// (key codes, buttons, fingers, joystick units and stick indices) is
// range-checked: events out of range are ignored and queries out of range
// answer false / 0, so nothing outside the fixed arrays is ever touched.
#pragma once

#include "input/keys.h"
#include "runtime/lang/array.h"
#include "runtime/lang/object.h"

// Event types delivered by the host through the delegate.
enum : int {
    kInputKeyDown = 1,
    kInputKeyUp = 2,
    kInputChar = 3,
    kInputMouseDown = 4,
    kInputMouseUp = 5,
    kInputMouseMove = 6,
    kInputTouchDown = 7,
    kInputTouchUp = 8,
    kInputTouchMove = 9,
    kInputAccel = 10,
};

// The polled state of one joystick: two sticks (index 0 and 1), a trigger
// value for each index (from an axis, or a button as 1 / 0), and 32 buttons.
// Filled by the host's PollJoystick at the start of every update.
class c_JoyState : public Object {
  public:
    static constexpr int kSticks = 2;
    static constexpr int kButtons = 32;

    Array<float> stickX;
    Array<float> stickY;
    Array<float> trigger;
    Array<bool> buttons;

    c_JoyState();
    c_JoyState* m_new() { return this; }
    void mark() override;
};

class c_InputDevice : public Object {
  public:
    static constexpr int kJoyUnits = 4;
    static constexpr int kHitQueueSize = 33;  // 33, not 32: one more than the character queue
    static constexpr int kCharQueueSize = 32;
    static constexpr int kTouches = 32;

    Array<c_JoyState*> joyStates;  // kJoyUnits records, made with the device
    Array<bool> keysDown;          // kKeyCodeCount: down now (persists across updates)
    int hitQueueLength = 0;
    Array<int> hitQueue;   // codes hit this update, so that only their counts are cleared
    Array<int> hitCounts;  // kKeyCodeCount: presses since the last p_EndUpdate
    int charReadPos = 0;
    int charWritePos = 0;
    Array<int> charQueue;          // characters typed since the last p_EndUpdate
    float mouseX = 0, mouseY = 0;  // window pixels
    Array<float> touchX;           // kTouches; touch 0 is also the mouse position
    Array<float> touchY;
    float accelX = 0, accelY = 0, accelZ = 0;  // no desktop event sets them

    // Every array, and the joystick records, exist from construction on.
    c_InputDevice();
    c_InputDevice* m_new() { return this; }
    void mark() override;

    // -- Events ---------------------------------------------------------------
    // Type 1: press `code` (one hit unless already down); type 2: release it;
    // type 3: queue the character `code` while room is left. Codes 1 (left
    // mouse button) and 384 (touch 0) mirror each other.
    void p_KeyEvent(int type, int code);
    // Type 4 presses code button + 1, type 5 releases it; types 4 and 6 then
    // record (x, y) as the mouse and touch 0 position. A release keeps the
    // recorded position.
    void p_MouseEvent(int type, int button, float x, float y);
    // Type 7 presses code 384 + finger, type 8 releases it; types 7 and 9
    // record the finger's position (finger 0 is also the mouse). Fingers
    // outside 0..31 are ignored.
    void p_TouchEvent(int type, int finger, float x, float y);
    // Type 10 sets the accelerometer values.
    void p_MotionEvent(int type, int data, float x, float y, float z);
    // Counts a hit on `code` and queues it, unless the hit queue is full (then
    // the hit is not counted at all) or the code is outside 0..511.
    void p_PutKeyHit(int code);

    // -- Update bracket -------------------------------------------------------
    // Polls joystick units 0..3 through the host (stopping at the first unit
    // without a joystick) and turns their buttons into key states and hits;
    // units not polled read as released and centred.
    void p_BeginUpdate();
    // Clears this update's hit counts and the character queue.
    void p_EndUpdate();

    // Passes the request to the host, which records it; returns true.
    bool p_SetKeyboardEnabled(bool enabled);

    // -- Queries --------------------------------------------------------------
    bool p_KeyDown(int code);  // false outside 1..511
    int p_KeyHit(int code);    // 0 outside 1..511
    int p_GetChar();           // next queued character, 0 when none is left
    float p_MouseX() { return mouseX; }
    float p_MouseY() { return mouseY; }
    float p_TouchX(int finger);  // 0 outside 0..31
    float p_TouchY(int finger);
    float p_JoyX(int index, int unit);  // 0 for index outside 0..1 or unit outside 0..3
    float p_JoyY(int index, int unit);
    float p_AccelX() { return accelX; }
    float p_AccelY() { return accelY; }

  private:
    void PressKey(int code);
    void ReleaseKey(int code);
    void SetKeyDown(int code);  // one key, no mirror
    void SetKeyUp(int code);
    void SetTouchPosition(int finger, float x, float y);
    void ReleaseJoysticksFrom(int firstUnit);
    c_JoyState* JoyState(int index, int unit);  // null when either is out of range
};
