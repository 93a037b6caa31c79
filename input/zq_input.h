// The input front end: the functions through which the game reads input,
// all answered by the installed device, zq_input_device.
//
// Thin by design: argument checks and key-code arithmetic here, the state in
// c_InputDevice. Before a device is installed every query answers false / 0.
// Main thread only.
#pragma once

#include "input/input_device.h"

// The installed device (a collector root); null until the delegate installs
// it at start-up.
extern c_InputDevice* zq_input_device;

void zq_input_SetInputDevice(c_InputDevice* device);

bool zq_input_KeyDown(int code);  // false outside 1..511
int zq_input_KeyHit(int code);    // 0 outside 1..511
int zq_input_GetChar();           // next typed character, 0 when none is left

// Keyboard (character) input on / off: recorded by the host. Always true.
bool zq_input_EnableKeyboard();
bool zq_input_DisableKeyboard();

float zq_input_MouseX();  // window pixels
float zq_input_MouseY();
bool zq_input_MouseDown(int button);  // code button + 1; false outside 0..510
int zq_input_MouseHit(int button);    // 0 outside 0..510

bool zq_input_TouchDown(int finger);  // code 384 + finger; false outside 0..31
float zq_input_TouchX(int finger);    // 0 outside 0..31
float zq_input_TouchY(int finger);

// Code 256 | unit * 32 | button; button outside 0..31 or unit outside 0..3
// gives false / 0.
bool zq_input_JoyDown(int button, int unit);
int zq_input_JoyHit(int button, int unit);
// Stick `index` (0..1) of joystick `unit` (0..3); 0 outside those ranges.
float zq_input_JoyX(int index, int unit);
float zq_input_JoyY(int index, int unit);

float zq_input_AccelX();
float zq_input_AccelY();
