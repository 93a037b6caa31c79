// The GLFW-2 layer's platform part in the browser, over Emscripten's GLFW
// 3.2 (the list is in glfw2_platform.h).
//
// The page decides the canvas's size (it fills the browser's window, or the
// screen in full screen) and the host sets the drawing buffer to match each
// frame, so the window's size is read from the canvas itself: GLFW's own
// record of it follows only its own resize calls. Full screen is the page's
// request too (runtime/host/host_web.cpp), never GLFW's, which would move
// the canvas into a wrapper of its own.
#include <GLFW/glfw3.h>
#include <emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>

#include "runtime/glfw2/glfw2_platform.h"

namespace glfw2::platform {
namespace {

// Up to 17 buttons and 4 axes in the browser's "standard" gamepad layout.
constexpr int kStandardButtons = 17;
constexpr int kStandardAxes = 4;

// clang-format off
EM_JS(int, tolvar_web_screen_width, (), { return screen.width | 0; });
EM_JS(int, tolvar_web_screen_height, (), { return screen.height | 0; });

EM_JS(int, tolvar_web_gamepad_is_standard, (int joy), {
    if (!navigator.getGamepads) return 0;
    const pad = navigator.getGamepads()[joy];
    return pad && pad.connected && pad.mapping === "standard" ? 1 : 0;
});
// clang-format on

}  // namespace

const ::GLFWvidmode* VideoModes(int* count) {
    const ::GLFWvidmode* mode = DesktopVideoMode();
    *count = mode ? 1 : 0;
    return mode;
}

const ::GLFWvidmode* DesktopVideoMode() {
    static ::GLFWvidmode screen;
    screen = ::GLFWvidmode{tolvar_web_screen_width(), tolvar_web_screen_height(), 8, 8, 8, 60};
    return screen.width > 0 && screen.height > 0 ? &screen : nullptr;
}

GLFWmonitor* MonitorForMode(bool) {
    return nullptr;
}

void WindowSize(GLFWwindow*, int* width, int* height) {
    if (emscripten_get_canvas_element_size("#canvas", width, height) != EMSCRIPTEN_RESULT_SUCCESS) {
        *width = 0;
        *height = 0;
    }
}

bool WindowActive(GLFWwindow*) {
    EmscriptenVisibilityChangeEvent visibility;
    if (emscripten_get_visibility_status(&visibility) != EMSCRIPTEN_RESULT_SUCCESS) return true;
    return !visibility.hidden;
}

bool IsGamepad(int joy) {
    return ::glfwJoystickPresent(joy) && tolvar_web_gamepad_is_standard(joy);
}

bool ReadGamepad(int joy, GamepadState& state) {
    if (!IsGamepad(joy)) return false;
    int axisCount = 0, buttonCount = 0;
    const float* axes = ::glfwGetJoystickAxes(joy, &axisCount);
    const unsigned char* buttons = ::glfwGetJoystickButtons(joy, &buttonCount);
    if (!axes || !buttons) return false;
    return GamepadFromStandardLayout(axes, std::min(axisCount, kStandardAxes), buttons,
                                     std::min(buttonCount, kStandardButtons), state);
}

}  // namespace glfw2::platform
