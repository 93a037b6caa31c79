// The GLFW-2-interface layer: the version 2 calls and constants that the
// host, the render device and the input device are written against, served
// by GLFW 3.3.
//
// Assumptions and limits
// - One window at a time. glfwCloseWindow destroys it; glfwOpenWindow makes
//   a new one with a new OpenGL context (and fails while one is open).
// - Keys use the v2 numbering: printable keys keep their ASCII codes, the
//   special keys start at GLFW_KEY_SPECIAL (256). Keys v2 had no name for
//   (print screen, the "world" keys above 255) are not reported.
// - With GLFW_KEY_REPEAT enabled, v3 repeat events reach the key callback as
//   presses; with it disabled they are dropped.
// - The window-close callback returns int: 0 keeps the window open (v3's
//   should-close flag is cleared); anything else, or no callback, closes it
//   when the event poll returns.
// - GLFW_OPENED: a window exists and nobody closed it. GLFW_ACTIVE: focused
//   and not iconified.
// - Every window carries a title, as in v2: a new window (full screen or
//   not) opens with the last title given to glfwSetWindowTitle, or with
//   "GLFW Window" before any, so a task bar never shows an empty entry.
// - Joysticks keep v2's sign convention (up on a stick is positive): odd
//   axes are negated. A joystick that GLFW 3 knows as a gamepad is shown in
//   the 5-axis, 14-button shape of gamepad.h.
// - The time calls go through a Clock that tests may replace (glfwSetClock),
//   so the frame loop's pacing can be checked without waiting.
//
// Threading: main thread only, like GLFW itself. Callbacks run inside
// glfwPollEvents / glfwWaitEvents (and glfwSwapBuffers with
// GLFW_AUTO_POLL_EVENTS enabled).
//
// This header deliberately does not include GLFW/glfw3.h: the names below
// live in namespace glfw2 and never meet the v3 macros.
#pragma once

namespace glfw2 {

// ---------------------------------------------------------------------------
// Constants
// ---------------------------------------------------------------------------

constexpr int GLFW_RELEASE = 0;
constexpr int GLFW_PRESS = 1;

// Keys. Printable keys are their ASCII codes ('A' .. 'Z', '0' .. '9', ...).
constexpr int GLFW_KEY_UNKNOWN = -1;
constexpr int GLFW_KEY_SPACE = 32;
constexpr int GLFW_KEY_SPECIAL = 256;
constexpr int GLFW_KEY_ESC = GLFW_KEY_SPECIAL + 1;
constexpr int GLFW_KEY_F1 = GLFW_KEY_SPECIAL + 2;
constexpr int GLFW_KEY_F2 = GLFW_KEY_SPECIAL + 3;
constexpr int GLFW_KEY_F3 = GLFW_KEY_SPECIAL + 4;
constexpr int GLFW_KEY_F4 = GLFW_KEY_SPECIAL + 5;
constexpr int GLFW_KEY_F5 = GLFW_KEY_SPECIAL + 6;
constexpr int GLFW_KEY_F6 = GLFW_KEY_SPECIAL + 7;
constexpr int GLFW_KEY_F7 = GLFW_KEY_SPECIAL + 8;
constexpr int GLFW_KEY_F8 = GLFW_KEY_SPECIAL + 9;
constexpr int GLFW_KEY_F9 = GLFW_KEY_SPECIAL + 10;
constexpr int GLFW_KEY_F10 = GLFW_KEY_SPECIAL + 11;
constexpr int GLFW_KEY_F11 = GLFW_KEY_SPECIAL + 12;
constexpr int GLFW_KEY_F12 = GLFW_KEY_SPECIAL + 13;
constexpr int GLFW_KEY_F25 = GLFW_KEY_SPECIAL + 26;
constexpr int GLFW_KEY_UP = GLFW_KEY_SPECIAL + 27;
constexpr int GLFW_KEY_DOWN = GLFW_KEY_SPECIAL + 28;
constexpr int GLFW_KEY_LEFT = GLFW_KEY_SPECIAL + 29;
constexpr int GLFW_KEY_RIGHT = GLFW_KEY_SPECIAL + 30;
constexpr int GLFW_KEY_LSHIFT = GLFW_KEY_SPECIAL + 31;
constexpr int GLFW_KEY_RSHIFT = GLFW_KEY_SPECIAL + 32;
constexpr int GLFW_KEY_LCTRL = GLFW_KEY_SPECIAL + 33;
constexpr int GLFW_KEY_RCTRL = GLFW_KEY_SPECIAL + 34;
constexpr int GLFW_KEY_LALT = GLFW_KEY_SPECIAL + 35;
constexpr int GLFW_KEY_RALT = GLFW_KEY_SPECIAL + 36;
constexpr int GLFW_KEY_TAB = GLFW_KEY_SPECIAL + 37;
constexpr int GLFW_KEY_ENTER = GLFW_KEY_SPECIAL + 38;
constexpr int GLFW_KEY_BACKSPACE = GLFW_KEY_SPECIAL + 39;
constexpr int GLFW_KEY_INSERT = GLFW_KEY_SPECIAL + 40;
constexpr int GLFW_KEY_DEL = GLFW_KEY_SPECIAL + 41;
constexpr int GLFW_KEY_PAGEUP = GLFW_KEY_SPECIAL + 42;
constexpr int GLFW_KEY_PAGEDOWN = GLFW_KEY_SPECIAL + 43;
constexpr int GLFW_KEY_HOME = GLFW_KEY_SPECIAL + 44;
constexpr int GLFW_KEY_END = GLFW_KEY_SPECIAL + 45;
constexpr int GLFW_KEY_KP_0 = GLFW_KEY_SPECIAL + 46;
constexpr int GLFW_KEY_KP_1 = GLFW_KEY_SPECIAL + 47;
constexpr int GLFW_KEY_KP_2 = GLFW_KEY_SPECIAL + 48;
constexpr int GLFW_KEY_KP_3 = GLFW_KEY_SPECIAL + 49;
constexpr int GLFW_KEY_KP_4 = GLFW_KEY_SPECIAL + 50;
constexpr int GLFW_KEY_KP_5 = GLFW_KEY_SPECIAL + 51;
constexpr int GLFW_KEY_KP_6 = GLFW_KEY_SPECIAL + 52;
constexpr int GLFW_KEY_KP_7 = GLFW_KEY_SPECIAL + 53;
constexpr int GLFW_KEY_KP_8 = GLFW_KEY_SPECIAL + 54;
constexpr int GLFW_KEY_KP_9 = GLFW_KEY_SPECIAL + 55;
constexpr int GLFW_KEY_KP_DIVIDE = GLFW_KEY_SPECIAL + 56;
constexpr int GLFW_KEY_KP_MULTIPLY = GLFW_KEY_SPECIAL + 57;
constexpr int GLFW_KEY_KP_SUBTRACT = GLFW_KEY_SPECIAL + 58;
constexpr int GLFW_KEY_KP_ADD = GLFW_KEY_SPECIAL + 59;
constexpr int GLFW_KEY_KP_DECIMAL = GLFW_KEY_SPECIAL + 60;
constexpr int GLFW_KEY_KP_EQUAL = GLFW_KEY_SPECIAL + 61;
constexpr int GLFW_KEY_KP_ENTER = GLFW_KEY_SPECIAL + 62;
constexpr int GLFW_KEY_KP_NUM_LOCK = GLFW_KEY_SPECIAL + 63;
constexpr int GLFW_KEY_CAPS_LOCK = GLFW_KEY_SPECIAL + 64;
constexpr int GLFW_KEY_SCROLL_LOCK = GLFW_KEY_SPECIAL + 65;
constexpr int GLFW_KEY_PAUSE = GLFW_KEY_SPECIAL + 66;
constexpr int GLFW_KEY_LSUPER = GLFW_KEY_SPECIAL + 67;
constexpr int GLFW_KEY_RSUPER = GLFW_KEY_SPECIAL + 68;
constexpr int GLFW_KEY_MENU = GLFW_KEY_SPECIAL + 69;
constexpr int GLFW_KEY_LAST = GLFW_KEY_MENU;  // 325

// Mouse buttons.
constexpr int GLFW_MOUSE_BUTTON_LEFT = 0;
constexpr int GLFW_MOUSE_BUTTON_RIGHT = 1;
constexpr int GLFW_MOUSE_BUTTON_MIDDLE = 2;
constexpr int GLFW_MOUSE_BUTTON_LAST = 7;

// Joysticks: numbers 0 .. GLFW_JOYSTICK_LAST.
constexpr int GLFW_JOYSTICK_1 = 0;
constexpr int GLFW_JOYSTICK_LAST = 15;

// glfwOpenWindow modes.
constexpr int GLFW_WINDOW = 0x00010001;
constexpr int GLFW_FULLSCREEN = 0x00010002;

// glfwGetWindowParam parameters.
constexpr int GLFW_OPENED = 0x00020001;
constexpr int GLFW_ACTIVE = 0x00020002;
constexpr int GLFW_ICONIFIED = 0x00020003;

// glfwOpenWindowHint targets (reset to their defaults by every
// glfwOpenWindow).
constexpr int GLFW_REFRESH_RATE = 0x0002000B;      // full screen only; 0 = any
constexpr int GLFW_WINDOW_NO_RESIZE = 0x00020012;  // 0 = resizable (default)
constexpr int GLFW_FSAA_SAMPLES = 0x00020013;      // 0 = none (default)

// glfwEnable / glfwDisable tokens.
constexpr int GLFW_MOUSE_CURSOR = 0x00030001;      // default enabled
constexpr int GLFW_KEY_REPEAT = 0x00030005;        // default disabled
constexpr int GLFW_AUTO_POLL_EVENTS = 0x00030006;  // default enabled

// glfwGetJoystickParam parameters.
constexpr int GLFW_PRESENT = 0x00050001;
constexpr int GLFW_AXES = 0x00050002;
constexpr int GLFW_BUTTONS = 0x00050003;

// ---------------------------------------------------------------------------
// Types
// ---------------------------------------------------------------------------

struct GLFWvidmode {
    int Width, Height;
    int RedBits, BlueBits, GreenBits;
};

using GLFWkeyfun = void (*)(int key, int action);
using GLFWcharfun = void (*)(int character, int action);
using GLFWmousebuttonfun = void (*)(int button, int action);
using GLFWmouseposfun = void (*)(int x, int y);
// Returns 0 to keep the window open.
using GLFWwindowclosefun = int (*)();

// ---------------------------------------------------------------------------
// Calls
// ---------------------------------------------------------------------------

// Library. glfwInit returns 1 on success, 0 on failure; glfwTerminate
// closes the window and is safe to call more than once.
int glfwInit();
void glfwTerminate();

// Window. glfwOpenWindow returns 1 on success, 0 on failure (or when a
// window is already open); the new context is made current. Colour bit
// counts of 0 or less leave the choice to the driver.
int glfwOpenWindow(int width, int height, int redbits, int greenbits, int bluebits, int alphabits,
                   int depthbits, int stencilbits, int mode);
void glfwOpenWindowHint(int target, int hint);
void glfwCloseWindow();
void glfwSetWindowTitle(const char* title);
void glfwSetWindowPos(int x, int y);
// The client size; 0 x 0 without a window.
void glfwGetWindowSize(int* width, int* height);
int glfwGetWindowParam(int param);
void glfwSwapBuffers();
void glfwSwapInterval(int interval);

// Events. The close of a window whose close callback did not refuse it
// takes effect when these return.
void glfwPollEvents();
void glfwWaitEvents();

void glfwEnable(int token);
void glfwDisable(int token);

// Input state. Keys in v2 numbering; GLFW_PRESS or GLFW_RELEASE.
int glfwGetKey(int key);
int glfwGetMouseButton(int button);
void glfwGetMousePos(int* x, int* y);

// Callbacks; null removes one. They stay installed across windows.
void glfwSetKeyCallback(GLFWkeyfun fn);
void glfwSetCharCallback(GLFWcharfun fn);
void glfwSetMouseButtonCallback(GLFWmousebuttonfun fn);
void glfwSetMousePosCallback(GLFWmouseposfun fn);
void glfwSetWindowCloseCallback(GLFWwindowclosefun fn);

// Video modes of the primary monitor: at most maxcount written, the count
// returned (0 when none is known).
int glfwGetVideoModes(GLFWvidmode* list, int maxcount);
// All zero when no monitor is known.
void glfwGetDesktopMode(GLFWvidmode* mode);

// Joysticks. glfwGetJoystickPos and glfwGetJoystickButtons fill at most the
// given count and return how many they wrote (0 when absent).
int glfwGetJoystickParam(int joy, int param);
int glfwGetJoystickPos(int joy, float* pos, int numaxes);
int glfwGetJoystickButtons(int joy, unsigned char* buttons, int numbuttons);

// Time in seconds since glfwInit (or the last glfwSetTime); glfwSleep
// blocks the calling thread. Both go through the installed Clock.
double glfwGetTime();
void glfwSetTime(double time);
void glfwSleep(double seconds);

// ---------------------------------------------------------------------------
// Test clock
// ---------------------------------------------------------------------------

// The source of glfwGetTime/glfwSleep. Tests install a manual clock so that
// sleeping advances time without waiting.
class Clock {
  public:
    virtual ~Clock() = default;
    virtual double Now() = 0;
    virtual void Sleep(double seconds) = 0;
};

// Installs a clock (not owned; must outlive its use); null restores the
// real one. glfwSetTime offsets whichever clock is installed.
void glfwSetClock(Clock* clock);

}  // namespace glfw2
