// The window of ZqGlfwGame: opening it, the callbacks that turn GLFW's
// window events into the host's event methods, and its size. Re-opening it
// (SetGlfwWindow) is the host kind's own: host_desktop.cpp, host_web.cpp.
#include "input/keys.h"
#include "runtime/glfw2/glfw2.h"
#include "runtime/host/glfw_game.h"

using namespace glfw2;

namespace {

// Every window opening asks for these.
constexpr int kRefreshRate = 60;  // Hz, full screen
constexpr const char* kWindowTitle = "Skitterwind";

ZqGlfwGame* Host() {
    return ZqGlfwGame::_glfwGame;
}

void OnKey(int key, int action) {
    int code = TransKey(key);
    if (code == 0) return;
    if (action == GLFW_RELEASE) {
        Host()->KeyEvent(2, code);
        return;
    }
    Host()->KeyEvent(1, code);
    // Editing and cursor keys also reach the character queue.
    int character = KeyToChar(code);
    if (character != 0) Host()->KeyEvent(3, character);
}

void OnChar(int character, int action) {
    if (action == GLFW_PRESS) Host()->KeyEvent(3, character);
}

void OnMouseButton(int button, int action) {
    if (button < 0 || button > 2) return;
    int x = 0, y = 0;
    glfwGetMousePos(&x, &y);
    Host()->MouseEvent(action == GLFW_PRESS ? 4 : 5, button, static_cast<float>(x), static_cast<float>(y));
}

void OnMousePos(int x, int y) {
    Host()->MouseEvent(6, -1, static_cast<float>(x), static_cast<float>(y));
}

// The close button is a key: 432 pressed and released. The application
// decides whether to end; GLFW never closes the window by itself.
int OnWindowClose() {
    Host()->KeyEvent(1, kKeyWindowClose);
    Host()->KeyEvent(2, kKeyWindowClose);
    return 0;
}

}  // namespace

void ZqGlfwGame::ReleaseHeldKeys() {
    for (int key = 0; key <= GLFW_KEY_LAST; ++key) {
        int code = TransKey(key);
        if (code != 0 && glfwGetKey(key) == GLFW_PRESS) KeyEvent(2, code);
    }
}

// GLFW drops a window's callbacks before destroying it, so a button pressed
// in the old window never reports its release when the pointer ends up
// outside the new one: release it here, as the keys are.
void ZqGlfwGame::ReleaseHeldMouseButtons() {
    int x = 0, y = 0;
    glfwGetMousePos(&x, &y);
    for (int button = 0; button <= 2; ++button) {
        if (glfwGetMouseButton(button) == GLFW_PRESS)
            MouseEvent(5, button, static_cast<float>(x), static_cast<float>(y));
    }
}

bool ZqGlfwGame::OpenWindow(int width, int height, int redBits, int greenBits, int blueBits, int alphaBits,
                            int depthBits, int stencilBits, bool fullscreen) {
    glfwOpenWindowHint(GLFW_REFRESH_RATE, kRefreshRate);
    glfwOpenWindowHint(GLFW_WINDOW_NO_RESIZE, 0);
    return glfwOpenWindow(width, height, redBits, greenBits, blueBits, alphaBits, depthBits, stencilBits,
                          fullscreen ? GLFW_FULLSCREEN : GLFW_WINDOW) != 0;
}

void ZqGlfwGame::PrepareOpenedWindow(bool fullscreen) {
    ++glfwGraphicsSeq;
    if (!fullscreen) glfwSetWindowTitle(kWindowTitle);
    if (swapInterval >= 0) glfwSwapInterval(swapInterval);
    glfwEnable(GLFW_KEY_REPEAT);
    glfwDisable(GLFW_AUTO_POLL_EVENTS);  // only the frame loop polls

    glfwSetKeyCallback(OnKey);
    glfwSetCharCallback(OnChar);
    glfwSetMouseButtonCallback(OnMouseButton);
    glfwSetMousePosCallback(OnMousePos);
    glfwSetWindowCloseCallback(OnWindowClose);
}

void ZqGlfwGame::SetDeviceWindow(int width, int height, int flags) {
    SetGlfwWindow(width, height, 8, 8, 8, 0, 0, 0, (flags & 1) != 0);
}

int ZqGlfwGame::GetDeviceWidth() {
    int width = 0, height = 0;
    glfwGetWindowSize(&width, &height);
    return width;
}

int ZqGlfwGame::GetDeviceHeight() {
    int width = 0, height = 0;
    glfwGetWindowSize(&width, &height);
    return height;
}

void ZqGlfwGame::SetSwapInterval(int interval) {
    swapInterval = interval;
    if (interval >= 0) glfwSwapInterval(interval);
}

void ZqGlfwGame::SetMouseVisible(bool visible) {
    if (visible) {
        glfwEnable(GLFW_MOUSE_CURSOR);
    } else {
        glfwDisable(GLFW_MOUSE_CURSOR);
    }
}
