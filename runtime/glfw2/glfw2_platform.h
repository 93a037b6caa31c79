// What the GLFW-2 layer asks of the GLFW 3 under it where the desktop's
// GLFW 3.3 and the browser's (Emscripten's GLFW 3.2, over a canvas) differ:
// the one list, one file per host kind, selected by the build:
//   glfw2_desktop.cpp  GLFW 3.3: monitors and their modes, window focus,
//                      its gamepad mappings
//   glfw2_web.cpp      the page: the screen is the one monitor and mode,
//                      full screen is the page's own request, the
//                      canvas's size is the window's, a visible tab is a
//                      focused window, and the browser's "standard" gamepad
//                      layout is read from the raw joystick calls
//
// Internal to the layer: include after GLFW/glfw3.h. Main thread only.
#pragma once

#include "runtime/glfw2/gamepad.h"

namespace glfw2::platform {

// The monitor a window opens on: the primary one for full screen, none for
// a window. The web opens every window on the page (none).
GLFWmonitor* MonitorForMode(bool fullscreen);

// The primary monitor's video modes (count set, null when none) and its
// current mode (null when unknown). The web has one mode: the screen's.
const ::GLFWvidmode* VideoModes(int* count);
const ::GLFWvidmode* DesktopVideoMode();

// The window's size in pixels of its drawing surface.
void WindowSize(GLFWwindow* window, int* width, int* height);

// Whether the player is looking at the window: focused on the desktop, a
// visible tab on the web.
bool WindowActive(GLFWwindow* window);

// Whether joystick joy has a known gamepad layout, and its state in GLFW
// 3.3's gamepad order (gamepad.h); false when it is not a known gamepad.
bool IsGamepad(int joy);
bool ReadGamepad(int joy, GamepadState& state);

}  // namespace glfw2::platform
