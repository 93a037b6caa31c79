#include "input/zq_input.h"

#include "runtime/lang/init.h"

c_InputDevice* zq_input_device = nullptr;
GC_ROOT(zq_input_device);

static void zq_input_Init() {
    zq_input_device = nullptr;
}
ZQ_MODULE_INIT(zq_input_Init);

namespace {

// The joystick key code 256 | unit * 32 | button, or -1 (answered false / 0)
// unless button is 0..31 and unit 0..3. Within those ranges OR and addition
// agree; outside them OR would alias other units or the touch, back and
// close codes (unit 4 button 0 is touch 0, the left mouse button).
int JoyCode(int button, int unit) {
    if (button < 0 || button >= c_JoyState::kButtons || unit < 0 || unit >= c_InputDevice::kJoyUnits)
        return -1;
    return kKeyJoyFirst | (unit * kKeyJoyUnitStride) | button;
}

bool ValidMouseButton(int button) {
    return button >= 0 && button < kKeyCodeCount - kKeyMouseFirst;
}

bool ValidFinger(int finger) {
    return finger >= 0 && finger < c_InputDevice::kTouches;
}

}  // namespace

void zq_input_SetInputDevice(c_InputDevice* device) {
    gc_assign(zq_input_device, device);
}

bool zq_input_KeyDown(int code) {
    return zq_input_device && zq_input_device->p_KeyDown(code);
}

int zq_input_KeyHit(int code) {
    return zq_input_device ? zq_input_device->p_KeyHit(code) : 0;
}

int zq_input_GetChar() {
    return zq_input_device ? zq_input_device->p_GetChar() : 0;
}

bool zq_input_EnableKeyboard() {
    return zq_input_device ? zq_input_device->p_SetKeyboardEnabled(true) : true;
}

bool zq_input_DisableKeyboard() {
    return zq_input_device ? zq_input_device->p_SetKeyboardEnabled(false) : true;
}

float zq_input_MouseX() {
    return zq_input_device ? zq_input_device->p_MouseX() : 0.0f;
}

float zq_input_MouseY() {
    return zq_input_device ? zq_input_device->p_MouseY() : 0.0f;
}

bool zq_input_MouseDown(int button) {
    return ValidMouseButton(button) && zq_input_KeyDown(kKeyMouseFirst + button);
}

int zq_input_MouseHit(int button) {
    return ValidMouseButton(button) ? zq_input_KeyHit(kKeyMouseFirst + button) : 0;
}

bool zq_input_TouchDown(int finger) {
    return ValidFinger(finger) && zq_input_KeyDown(kKeyTouchFirst + finger);
}

float zq_input_TouchX(int finger) {
    return zq_input_device ? zq_input_device->p_TouchX(finger) : 0.0f;
}

float zq_input_TouchY(int finger) {
    return zq_input_device ? zq_input_device->p_TouchY(finger) : 0.0f;
}

bool zq_input_JoyDown(int button, int unit) {
    return zq_input_KeyDown(JoyCode(button, unit));
}

int zq_input_JoyHit(int button, int unit) {
    return zq_input_KeyHit(JoyCode(button, unit));
}

float zq_input_JoyX(int index, int unit) {
    return zq_input_device ? zq_input_device->p_JoyX(index, unit) : 0.0f;
}

float zq_input_JoyY(int index, int unit) {
    return zq_input_device ? zq_input_device->p_JoyY(index, unit) : 0.0f;
}

float zq_input_AccelX() {
    return zq_input_device ? zq_input_device->p_AccelX() : 0.0f;
}

float zq_input_AccelY() {
    return zq_input_device ? zq_input_device->p_AccelY() : 0.0f;
}
