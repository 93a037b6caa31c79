// ZqGlfwGame on the desktop (Linux, Windows): the program owns its window
// and a blocking frame loop (the list is in host_platform.h).
//
// If the first window cannot be opened there is no OpenGL context for the
// devices; SetGlfwWindow then prints "glfwOpenWindow failed" and ends the
// process with exit code -1 before the game starts.
#include <cstdlib>

#include "runtime/glfw2/glfw2.h"
#include "runtime/host/glfw_game.h"
#include "runtime/host/host_platform.h"
#include "runtime/lang/errors.h"

using namespace glfw2;

bool zqHostCanQuit() {
    return true;
}

void ZqGlfwGame::Run() {
    // Every run starts in a 640 x 480 window (or ends here without one).
    SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
    // The application's OnCreate runs here and usually sets the update rate.
    StartGame();
    while (glfwGetWindowParam(GLFW_OPENED)) RunFrame();
}

void ZqGlfwGame::WaitForNextUpdate() {
    // Ahead of schedule: sleep until the next update is due rather than spin.
    if (nextUpdate == 0) return;
    double delay = nextUpdate - glfwGetTime();
    if (delay > 0) glfwSleep(delay);
}

void ZqGlfwGame::SetGlfwWindow(int width, int height, int redBits, int greenBits, int blueBits, int alphaBits,
                               int depthBits, int stencilBits, bool fullscreen) {
    ReleaseHeldKeys();
    ReleaseHeldMouseButtons();
    GLFWvidmode desktop;
    glfwGetDesktopMode(&desktop);
    glfwCloseWindow();

    bool opened = OpenWindow(width, height, redBits, greenBits, blueBits, alphaBits, depthBits, stencilBits,
                             fullscreen);
    // A mode the display refuses falls back to the last windowed size; the
    // game cannot go on without an OpenGL context, so failing that too ends
    // the process as a failed first window does.
    if (!opened && (fullscreen || width != windowedWidth || height != windowedHeight)) {
        fullscreen = false;
        width = windowedWidth;
        height = windowedHeight;
        opened =
            OpenWindow(width, height, redBits, greenBits, blueBits, alphaBits, depthBits, stencilBits, false);
    }
    if (!opened) {
        zqPrint("glfwOpenWindow failed");
        glfwTerminate();
        std::exit(-1);
    }
    if (!fullscreen) {
        windowedWidth = width;
        windowedHeight = height;
        glfwSetWindowPos((desktop.Width - width) / 2, (desktop.Height - height) / 2);
    }
    PrepareOpenedWindow(fullscreen);
}
