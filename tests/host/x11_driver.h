// Test support: drives the X server the window tests run under, with real
// input through xdotool (XTEST) and a window-manager close request through
// Xlib (xdotool has no command for client messages).
//
// Window ids are X ids (unsigned long). Every call opens its own display
// connection or process, so any thread may use them.
#pragma once

#include <string>

namespace xdriver {

// Runs a shell command and returns its standard output with trailing white
// space removed; empty when it fails.
std::string Run(const std::string& command);

// xdotool with the given arguments (for example "key Right").
void Xdotool(const std::string& args);

// The first viewable window titled exactly `title`, or 0.
unsigned long FindWindow(const std::string& title);
unsigned long RootWindowId();
// The window's title (WM_NAME), empty when it has none.
std::string WindowTitle(unsigned long window);
// Position relative to the root window and size; false when unknown.
bool WindowGeometry(unsigned long window, int* x, int* y, int* width, int* height);
// Strongly coloured 3-bit-per-channel buckets holding at least 20 pixels
// in a screenshot of the window: more than a few means sprites are drawn.
int DistinctColours(unsigned long window);
// The window that has the input focus (0 for none).
unsigned long FocusedWindow();
// Sends the WM_DELETE_WINDOW client message a window manager sends when the
// user closes a window.
void SendDeleteRequest(unsigned long window);

}  // namespace xdriver
