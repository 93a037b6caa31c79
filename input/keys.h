// Key translation: GLFW-2 key numbers to the runtime's key codes, and key
// codes of editing and cursor keys to the characters they queue.
//
// The runtime's key-code space (0..511):
//   1..3      mouse buttons 0..2 (code = 1 + button)
//   8..222    keyboard keys (letters 65..90, digits 48..57, others by table)
//   256..383  joystick buttons, 256 + 32 * unit + button
//   384..415  touches, 384 + finger
//   416, 432  the back key and the window's close key
//
// Pure functions, any thread.
#pragma once

// Key-code space of the input device.
constexpr int kKeyCodeCount = 512;
constexpr int kKeyMouseFirst = 1;      // mouse button 0; buttons 0..2 use 1..3
constexpr int kKeyJoyFirst = 256;      // joystick unit 0, button 0
constexpr int kKeyJoyUnitStride = 32;  // codes per joystick unit
constexpr int kKeyTouchFirst = 384;    // finger 0
constexpr int kKeyBack = 416;          // the system back key
constexpr int kKeyWindowClose = 432;   // sent pressed and released on a close request

// Characters that KeyToChar gives for cursor and editing keys are this
// offset plus the key code, so that they never collide with a typed
// character.
constexpr int kKeyCharSpecialBase = 65536;

// The runtime's key code for a GLFW-2 key number: digits and capital letters
// keep their codes, the punctuation and special keys of the table in keys.cpp
// are mapped, everything else (lower-case letters, F13 and above, Alt, keys
// outside 32..316) gives 0, which the host ignores.
int TransKey(int glfwKey);

// The character a key press queues besides its key event: 8, 9, 13 and 27
// give themselves; page up, page down, end, home, the arrows (33..40) and
// insert (45) give kKeyCharSpecialBase + code; delete (46) gives 127; every
// other code gives 0 (printable characters arrive through the character
// callback instead).
int KeyToChar(int code);
