// c_InputDevice and c_JoyState: event handling, the update bracket and the
// queries. The key-code space is described in keys.h.
#include "input/input_device.h"

#include "runtime/lang/game.h"

namespace {

bool ValidCode(int code) {
    return code >= 0 && code < kKeyCodeCount;
}
// Queries answer for 1..511; code 0 is never a key.
bool QueryableCode(int code) {
    return code >= 1 && code < kKeyCodeCount;
}

// The left mouse button and the first touch are one pointer: pressing or
// releasing either does the same to the other. 0 for every other code.
int MirrorOf(int code) {
    if (code == kKeyMouseFirst) return kKeyTouchFirst;
    if (code == kKeyTouchFirst) return kKeyMouseFirst;
    return 0;
}

}  // namespace

// [SECTION] c_JoyState --------------------------------------------------------

c_JoyState::c_JoyState() : stickX(kSticks), stickY(kSticks), trigger(kSticks), buttons(kButtons) {}

void c_JoyState::mark() {
    Object::mark();
    gc_enqueue(stickX);
    gc_enqueue(stickY);
    gc_enqueue(trigger);
    gc_enqueue(buttons);
}

// [SECTION] c_InputDevice: construction ----------------------------------------

// The object is brand new and unreachable while its constructor runs, so its
// fields need no write barrier; the collector only runs between host events.
c_InputDevice::c_InputDevice()
    : joyStates(kJoyUnits),
      keysDown(kKeyCodeCount),
      hitQueue(kHitQueueSize),
      hitCounts(kKeyCodeCount),
      charQueue(kCharQueueSize),
      touchX(kTouches),
      touchY(kTouches) {
    for (int unit = 0; unit < kJoyUnits; ++unit) joyStates[unit] = gc_new<c_JoyState>()->m_new();
}

void c_InputDevice::mark() {
    Object::mark();
    gc_enqueue(joyStates);
    gc_enqueue(keysDown);
    gc_enqueue(hitQueue);
    gc_enqueue(hitCounts);
    gc_enqueue(charQueue);
    gc_enqueue(touchX);
    gc_enqueue(touchY);
}

// [SECTION] c_InputDevice: events ----------------------------------------------

void c_InputDevice::SetKeyDown(int code) {
    if (keysDown[code]) return;
    keysDown[code] = true;
    p_PutKeyHit(code);
}

void c_InputDevice::SetKeyUp(int code) {
    keysDown[code] = false;
}

void c_InputDevice::PressKey(int code) {
    if (!ValidCode(code) || keysDown[code]) return;  // auto-repeat presses add no hit
    SetKeyDown(code);
    if (int mirror = MirrorOf(code)) SetKeyDown(mirror);
}

void c_InputDevice::ReleaseKey(int code) {
    if (!ValidCode(code) || !keysDown[code]) return;
    SetKeyUp(code);
    if (int mirror = MirrorOf(code)) SetKeyUp(mirror);
}

void c_InputDevice::p_PutKeyHit(int code) {
    if (!ValidCode(code) || hitQueueLength >= kHitQueueSize) return;
    hitCounts[code] += 1;
    hitQueue[hitQueueLength++] = code;
}

void c_InputDevice::p_KeyEvent(int type, int code) {
    switch (type) {
        case kInputKeyDown:
            PressKey(code);
            break;
        case kInputKeyUp:
            ReleaseKey(code);
            break;
        case kInputChar:
            if (charWritePos < kCharQueueSize) charQueue[charWritePos++] = code;
            break;
        default:
            break;
    }
}

void c_InputDevice::SetTouchPosition(int finger, float x, float y) {
    touchX[finger] = x;
    touchY[finger] = y;
    if (finger == 0) {
        mouseX = x;
        mouseY = y;
    }
}

void c_InputDevice::p_MouseEvent(int type, int button, float x, float y) {
    // A button outside 0..510 has no key code; its press still moves the
    // pointer like any other press.
    bool hasCode = button >= 0 && button < kKeyCodeCount - kKeyMouseFirst;
    switch (type) {
        case kInputMouseDown:
            if (hasCode) PressKey(kKeyMouseFirst + button);
            SetTouchPosition(0, x, y);
            break;
        case kInputMouseUp:
            if (hasCode) ReleaseKey(kKeyMouseFirst + button);
            break;
        case kInputMouseMove:
            SetTouchPosition(0, x, y);
            break;
        default:
            break;
    }
}

void c_InputDevice::p_TouchEvent(int type, int finger, float x, float y) {
    // Codes past finger 31 belong to the back and close keys: a stray finger
    // number must not press them.
    if (finger < 0 || finger >= kTouches) return;
    switch (type) {
        case kInputTouchDown:
            PressKey(kKeyTouchFirst + finger);
            SetTouchPosition(finger, x, y);
            break;
        case kInputTouchUp:
            ReleaseKey(kKeyTouchFirst + finger);
            break;
        case kInputTouchMove:
            SetTouchPosition(finger, x, y);
            break;
        default:
            break;
    }
}

void c_InputDevice::p_MotionEvent(int type, int /*data*/, float x, float y, float z) {
    if (type != kInputAccel) return;
    accelX = x;
    accelY = y;
    accelZ = z;
}

// [SECTION] c_InputDevice: update bracket --------------------------------------

void c_InputDevice::p_BeginUpdate() {
    ZqGame* host = ZqGame::_game;
    int unit = 0;
    for (; host && unit < kJoyUnits; ++unit) {
        c_JoyState* joy = joyStates[unit];
        if (!host->PollJoystick(unit, joy->stickX, joy->stickY, joy->trigger, joy->buttons)) break;
        int first = kKeyJoyFirst + kKeyJoyUnitStride * unit;
        for (int b = 0; b < c_JoyState::kButtons; ++b) {
            // A host may hand back fewer buttons than asked for; those are up.
            bool down = b < joy->buttons.Length() && joy->buttons[b];
            if (down)
                SetKeyDown(first + b);
            else
                SetKeyUp(first + b);
        }
    }
    ReleaseJoysticksFrom(unit);
}

// Units from the first one without a joystick on are not polled. A joystick
// unplugged while a button was held (or its stick deflected) would otherwise
// keep that state for the rest of the run, so they read as released and
// centred instead.
void c_InputDevice::ReleaseJoysticksFrom(int firstUnit) {
    for (int unit = firstUnit; unit < kJoyUnits; ++unit) {
        c_JoyState* joy = joyStates[unit];
        for (Array<float>* values : {&joy->stickX, &joy->stickY, &joy->trigger})
            for (float& v : *values) v = 0.0f;
        for (bool& b : joy->buttons) b = false;
        int first = kKeyJoyFirst + kKeyJoyUnitStride * unit;
        for (int b = 0; b < c_JoyState::kButtons; ++b) SetKeyUp(first + b);
    }
}

void c_InputDevice::p_EndUpdate() {
    for (int i = 0; i < hitQueueLength; ++i) hitCounts[hitQueue[i]] = 0;
    hitQueueLength = 0;
    charReadPos = 0;
    charWritePos = 0;
}

bool c_InputDevice::p_SetKeyboardEnabled(bool enabled) {
    if (ZqGame::_game) ZqGame::_game->SetKeyboardEnabled(enabled);
    return true;
}

// [SECTION] c_InputDevice: queries ---------------------------------------------

bool c_InputDevice::p_KeyDown(int code) {
    return QueryableCode(code) && keysDown[code];
}

int c_InputDevice::p_KeyHit(int code) {
    return QueryableCode(code) ? hitCounts[code] : 0;
}

int c_InputDevice::p_GetChar() {
    if (charReadPos >= charWritePos) return 0;
    return charQueue[charReadPos++];
}

float c_InputDevice::p_TouchX(int finger) {
    return finger >= 0 && finger < kTouches ? touchX[finger] : 0.0f;
}

float c_InputDevice::p_TouchY(int finger) {
    return finger >= 0 && finger < kTouches ? touchY[finger] : 0.0f;
}

c_JoyState* c_InputDevice::JoyState(int index, int unit) {
    if (index < 0 || index >= c_JoyState::kSticks || unit < 0 || unit >= kJoyUnits) return nullptr;
    return joyStates[unit];
}

float c_InputDevice::p_JoyX(int index, int unit) {
    c_JoyState* joy = JoyState(index, unit);
    return joy ? joy->stickX[index] : 0.0f;
}

float c_InputDevice::p_JoyY(int index, int unit) {
    c_JoyState* joy = JoyState(index, unit);
    return joy ? joy->stickY[index] : 0.0f;
}
