// The v2 calls over GLFW 3 (contract and limits in glfw2.h): 3.3 on the
// desktop, Emscripten's 3.2 in the browser; where the two differ, the
// layer asks glfw2_platform.h.
//
// Index
//   [SECTION] State            the one window, hints, switches, callbacks, clock
//   [SECTION] v3 callbacks     translation of v3 events into v2 callbacks
//   [SECTION] Library, window, events
//   [SECTION] Input state, video modes, joysticks
//   [SECTION] Time
//
// glfw2.h is read first; glfw3.h then defines several v2 names (for example
// GLFW_ICONIFIED, GLFW_REFRESH_RATE) as macros with v3 values, so the v2
// values of those are captured here before it is included.
#include "runtime/glfw2/glfw2.h"

namespace {
constexpr int kV2Iconified = glfw2::GLFW_ICONIFIED;
constexpr int kV2RefreshRate = glfw2::GLFW_REFRESH_RATE;
}  // namespace

#include <GLFW/glfw3.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>

#include "runtime/glfw2/gamepad.h"
#include "runtime/glfw2/glfw2_platform.h"
#include "runtime/glfw2/keymap.h"

namespace glfw2 {
namespace {

// [SECTION] State ------------------------------------------------------------

// The monotonic clock of the real process.
class SteadyClock final : public Clock {
  public:
    double Now() override {
        using namespace std::chrono;
        return duration<double>(steady_clock::now().time_since_epoch()).count();
    }
    void Sleep(double seconds) override {
        if (seconds > 0) std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    }
};

struct OpenHints {
    int refreshRate = 0;  // Hz, full screen only; 0 = any
    int noResize = 0;
    int fsaaSamples = 0;
};

struct Layer {
    GLFWwindow* window = nullptr;  // the one window, or null
    OpenHints hints;               // for the next glfwOpenWindow only
    // The title every new window opens with: the last one set, kept across
    // windows (a full-screen switch opens a new window).
    std::string title = "GLFW Window";

    bool keyRepeat = false;  // deliver v3 repeats as presses
    bool autoPoll = true;    // glfwSwapBuffers polls events
    bool cursorVisible = true;

    GLFWkeyfun keyFn = nullptr;
    GLFWcharfun charFn = nullptr;
    GLFWmousebuttonfun mouseButtonFn = nullptr;
    GLFWmouseposfun mousePosFn = nullptr;
    GLFWwindowclosefun closeFn = nullptr;

    SteadyClock steady;
    Clock* clock = &steady;
    double timeBase = 0;  // clock time at which glfwGetTime reads 0 (seconds)
};

Layer g;

bool ValidJoystick(int joy) {
    return joy >= GLFW_JOYSTICK_1 && joy <= GLFW_JOYSTICK_LAST;
}

void ApplyCursorMode() {
    // Hidden rather than v3's "disabled": the pointer keeps reporting window
    // coordinates, which is what the framework's mouse position expects.
    if (g.window)
        ::glfwSetInputMode(g.window, GLFW_CURSOR, g.cursorVisible ? GLFW_CURSOR_NORMAL : GLFW_CURSOR_HIDDEN);
}

// A close that nobody refused takes effect once the event poll is over, so
// no callback ever runs against a destroyed window.
void FinishRequestedClose() {
    if (g.window && ::glfwWindowShouldClose(g.window)) glfwCloseWindow();
}

// [SECTION] v3 callbacks -----------------------------------------------------

void OnV3Key(GLFWwindow*, int key, int /*scancode*/, int action, int /*mods*/) {
    int v2key = KeyFromV3(key);
    if (v2key == GLFW_KEY_UNKNOWN || !g.keyFn) return;
    if (action == GLFW_REPEAT) {
        if (!g.keyRepeat) return;
        action = GLFW_PRESS;
    }
    g.keyFn(v2key, action);
}

void OnV3Char(GLFWwindow*, unsigned int codepoint) {
    if (g.charFn) g.charFn(static_cast<int>(codepoint), GLFW_PRESS);
}

void OnV3MouseButton(GLFWwindow*, int button, int action, int /*mods*/) {
    if (g.mouseButtonFn) g.mouseButtonFn(button, action);
}

void OnV3CursorPos(GLFWwindow*, double x, double y) {
    if (g.mousePosFn) g.mousePosFn(static_cast<int>(x), static_cast<int>(y));
}

void OnV3Close(GLFWwindow* window) {
    if (g.closeFn && g.closeFn() == 0) ::glfwSetWindowShouldClose(window, GLFW_FALSE);
}

void InstallV3Callbacks(GLFWwindow* window) {
    ::glfwSetKeyCallback(window, OnV3Key);
    ::glfwSetCharCallback(window, OnV3Char);
    ::glfwSetMouseButtonCallback(window, OnV3MouseButton);
    ::glfwSetCursorPosCallback(window, OnV3CursorPos);
    ::glfwSetWindowCloseCallback(window, OnV3Close);
}

}  // namespace

// [SECTION] Library, window, events -----------------------------------------

int glfwInit() {
    if (::glfwInit() != GLFW_TRUE) return 0;
    g.timeBase = g.clock == &g.steady ? g.steady.Now() : 0;
    return 1;
}

void glfwTerminate() {
    glfwCloseWindow();
    ::glfwTerminate();
}

int glfwOpenWindow(int width, int height, int redbits, int greenbits, int bluebits, int alphabits,
                   int depthbits, int stencilbits, int mode) {
    if (g.window) return 0;
    OpenHints hints = g.hints;
    g.hints = OpenHints();  // v2 hints apply to one opening only

    auto bits = [](int n, int unset) { return n > 0 ? n : unset; };
    ::glfwDefaultWindowHints();
    ::glfwWindowHint(GLFW_RED_BITS, bits(redbits, GLFW_DONT_CARE));
    ::glfwWindowHint(GLFW_GREEN_BITS, bits(greenbits, GLFW_DONT_CARE));
    ::glfwWindowHint(GLFW_BLUE_BITS, bits(bluebits, GLFW_DONT_CARE));
    ::glfwWindowHint(GLFW_ALPHA_BITS, bits(alphabits, 0));
    ::glfwWindowHint(GLFW_DEPTH_BITS, bits(depthbits, 0));
    ::glfwWindowHint(GLFW_STENCIL_BITS, bits(stencilbits, 0));
    ::glfwWindowHint(GLFW_RESIZABLE, hints.noResize ? GLFW_FALSE : GLFW_TRUE);
    ::glfwWindowHint(GLFW_SAMPLES, std::max(hints.fsaaSamples, 0));
    ::glfwWindowHint(GLFW_REFRESH_RATE, bits(hints.refreshRate, GLFW_DONT_CARE));

    GLFWmonitor* monitor = platform::MonitorForMode(mode == GLFW_FULLSCREEN);
    g.window = ::glfwCreateWindow(std::max(width, 1), std::max(height, 1), g.title.c_str(), monitor, nullptr);
    if (!g.window) return 0;
    ::glfwMakeContextCurrent(g.window);
    InstallV3Callbacks(g.window);
    ApplyCursorMode();
    return 1;
}

void glfwOpenWindowHint(int target, int hint) {
    if (target == kV2RefreshRate) {
        g.hints.refreshRate = hint;
    } else if (target == GLFW_WINDOW_NO_RESIZE) {
        g.hints.noResize = hint;
    } else if (target == GLFW_FSAA_SAMPLES) {
        g.hints.fsaaSamples = hint;
    }
}

void glfwCloseWindow() {
    if (!g.window) return;
    ::glfwDestroyWindow(g.window);
    g.window = nullptr;
}

void glfwSetWindowTitle(const char* title) {
    if (!title) return;
    g.title = title;
    if (g.window) ::glfwSetWindowTitle(g.window, title);
}

void glfwSetWindowPos(int x, int y) {
    if (g.window) ::glfwSetWindowPos(g.window, x, y);
}

void glfwGetWindowSize(int* width, int* height) {
    int w = 0, h = 0;
    if (g.window) platform::WindowSize(g.window, &w, &h);
    if (width) *width = w;
    if (height) *height = h;
}

int glfwGetWindowParam(int param) {
    if (!g.window) return 0;
    bool iconified = ::glfwGetWindowAttrib(g.window, GLFW_ICONIFIED) != 0;
    if (param == GLFW_OPENED) return ::glfwWindowShouldClose(g.window) ? 0 : 1;
    if (param == GLFW_ACTIVE) return platform::WindowActive(g.window) && !iconified ? 1 : 0;
    if (param == kV2Iconified) return iconified ? 1 : 0;
    return 0;
}

void glfwSwapBuffers() {
    if (g.window) ::glfwSwapBuffers(g.window);
    if (g.autoPoll) glfwPollEvents();
}

void glfwSwapInterval(int interval) {
    if (g.window) ::glfwSwapInterval(interval);
}

void glfwPollEvents() {
    ::glfwPollEvents();
    FinishRequestedClose();
}

void glfwWaitEvents() {
    // Without a window nothing could ever wake the wait.
    if (!g.window) return;
    ::glfwWaitEvents();
    FinishRequestedClose();
}

static void SetSwitch(int token, bool on) {
    if (token == GLFW_KEY_REPEAT) {
        g.keyRepeat = on;
    } else if (token == GLFW_AUTO_POLL_EVENTS) {
        g.autoPoll = on;
    } else if (token == GLFW_MOUSE_CURSOR) {
        g.cursorVisible = on;
        ApplyCursorMode();
    }
}

void glfwEnable(int token) {
    SetSwitch(token, true);
}
void glfwDisable(int token) {
    SetSwitch(token, false);
}

// [SECTION] Input state, video modes, joysticks ------------------------------

int glfwGetKey(int key) {
    int v3key = KeyToV3(key);
    if (!g.window || v3key < 0) return GLFW_RELEASE;
    return ::glfwGetKey(g.window, v3key) == GLFW_PRESS ? GLFW_PRESS : GLFW_RELEASE;
}

int glfwGetMouseButton(int button) {
    if (!g.window || button < 0 || button > GLFW_MOUSE_BUTTON_LAST) return GLFW_RELEASE;
    return ::glfwGetMouseButton(g.window, button) == GLFW_PRESS ? GLFW_PRESS : GLFW_RELEASE;
}

void glfwGetMousePos(int* x, int* y) {
    double px = 0, py = 0;
    if (g.window) ::glfwGetCursorPos(g.window, &px, &py);
    if (x) *x = static_cast<int>(px);
    if (y) *y = static_cast<int>(py);
}

void glfwSetKeyCallback(GLFWkeyfun fn) {
    g.keyFn = fn;
}
void glfwSetCharCallback(GLFWcharfun fn) {
    g.charFn = fn;
}
void glfwSetMouseButtonCallback(GLFWmousebuttonfun fn) {
    g.mouseButtonFn = fn;
}
void glfwSetMousePosCallback(GLFWmouseposfun fn) {
    g.mousePosFn = fn;
}
void glfwSetWindowCloseCallback(GLFWwindowclosefun fn) {
    g.closeFn = fn;
}

static GLFWvidmode FromV3(const ::GLFWvidmode& mode) {
    return GLFWvidmode{mode.width, mode.height, mode.redBits, mode.blueBits, mode.greenBits};
}

int glfwGetVideoModes(GLFWvidmode* list, int maxcount) {
    if (!list || maxcount <= 0) return 0;
    int count = 0;
    const ::GLFWvidmode* modes = platform::VideoModes(&count);
    if (!modes) return 0;
    count = std::min(count, maxcount);
    for (int i = 0; i < count; ++i) list[i] = FromV3(modes[i]);
    return count;
}

void glfwGetDesktopMode(GLFWvidmode* mode) {
    if (!mode) return;
    *mode = GLFWvidmode{0, 0, 0, 0, 0};
    if (const ::GLFWvidmode* current = platform::DesktopVideoMode()) *mode = FromV3(*current);
}

// A recognised gamepad's state in the v2 shape; false when joy is none.
static bool ReadGamepad(int joy, float axes[kGamepadAxes], unsigned char buttons[kGamepadButtons]) {
    GamepadState state;
    if (!platform::ReadGamepad(joy, state)) return false;
    ShapeGamepad(state, axes, buttons);
    return true;
}

int glfwGetJoystickParam(int joy, int param) {
    if (!ValidJoystick(joy) || !::glfwJoystickPresent(joy)) return 0;
    bool gamepad = platform::IsGamepad(joy);
    int count = 0;
    if (param == GLFW_PRESENT) return 1;
    if (param == GLFW_AXES) {
        if (gamepad) return kGamepadAxes;
        return ::glfwGetJoystickAxes(joy, &count) ? count : 0;
    }
    if (param == GLFW_BUTTONS) {
        if (gamepad) return kGamepadButtons;
        return ::glfwGetJoystickButtons(joy, &count) ? count : 0;
    }
    return 0;
}

int glfwGetJoystickPos(int joy, float* pos, int numaxes) {
    if (!ValidJoystick(joy) || !pos || numaxes <= 0) return 0;
    float shaped[kGamepadAxes];
    unsigned char unusedButtons[kGamepadButtons];
    if (ReadGamepad(joy, shaped, unusedButtons)) {
        int n = std::min(numaxes, kGamepadAxes);
        std::copy(shaped, shaped + n, pos);
        return n;
    }
    int count = 0;
    const float* axes = ::glfwGetJoystickAxes(joy, &count);
    if (!axes) return 0;
    int n = std::min(numaxes, count);
    // v2 convention: up on a stick is positive, so odd axes flip sign.
    for (int i = 0; i < n; ++i) pos[i] = i % 2 ? -axes[i] : axes[i];
    return n;
}

int glfwGetJoystickButtons(int joy, unsigned char* buttons, int numbuttons) {
    if (!ValidJoystick(joy) || !buttons || numbuttons <= 0) return 0;
    float unusedAxes[kGamepadAxes];
    unsigned char shaped[kGamepadButtons];
    if (ReadGamepad(joy, unusedAxes, shaped)) {
        int n = std::min(numbuttons, kGamepadButtons);
        std::copy(shaped, shaped + n, buttons);
        return n;
    }
    int count = 0;
    const unsigned char* states = ::glfwGetJoystickButtons(joy, &count);
    if (!states) return 0;
    int n = std::min(numbuttons, count);
    std::copy(states, states + n, buttons);
    return n;
}

// [SECTION] Time -------------------------------------------------------------

double glfwGetTime() {
    return g.clock->Now() - g.timeBase;
}

void glfwSetTime(double time) {
    g.timeBase = g.clock->Now() - time;
}

void glfwSleep(double seconds) {
    if (seconds > 0) g.clock->Sleep(seconds);
}

void glfwSetClock(Clock* clock) {
    // A test clock's own time is glfwGetTime's; the real clock restarts at 0.
    g.clock = clock ? clock : &g.steady;
    g.timeBase = clock ? 0 : g.steady.Now();
}

}  // namespace glfw2
