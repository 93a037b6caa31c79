// The GLFW-2 layer's platform part on the desktop, over GLFW 3.3 (the list
// is in glfw2_platform.h).
#include <GLFW/glfw3.h>

#include <algorithm>

#include "runtime/glfw2/glfw2_platform.h"

namespace glfw2::platform {

GLFWmonitor* MonitorForMode(bool fullscreen) {
    return fullscreen ? ::glfwGetPrimaryMonitor() : nullptr;
}

const ::GLFWvidmode* VideoModes(int* count) {
    *count = 0;
    GLFWmonitor* monitor = ::glfwGetPrimaryMonitor();
    return monitor ? ::glfwGetVideoModes(monitor, count) : nullptr;
}

const ::GLFWvidmode* DesktopVideoMode() {
    GLFWmonitor* monitor = ::glfwGetPrimaryMonitor();
    return monitor ? ::glfwGetVideoMode(monitor) : nullptr;
}

void WindowSize(GLFWwindow* window, int* width, int* height) {
    ::glfwGetWindowSize(window, width, height);
}

bool WindowActive(GLFWwindow* window) {
    return ::glfwGetWindowAttrib(window, GLFW_FOCUSED) != 0;
}

bool IsGamepad(int joy) {
    return ::glfwJoystickIsGamepad(joy) == GLFW_TRUE;
}

bool ReadGamepad(int joy, GamepadState& state) {
    ::GLFWgamepadstate v3;
    if (!IsGamepad(joy) || !::glfwGetGamepadState(joy, &v3)) return false;
    std::copy(v3.buttons, v3.buttons + 15, state.buttons);
    std::copy(v3.axes, v3.axes + 6, state.axes);
    return true;
}

}  // namespace glfw2::platform
