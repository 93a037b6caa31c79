// Full screen and back (F11 and the options box): re-opens the window
// through the desktop host, at the desktop's size and colour depth in full
// screen, or as a 640 x 480 window. The new window has a new size, so the
// shell's render sees the change and reloads every image at the tier that
// suits it.
//
// When the desktop mode is unknown (no monitor, or a host without windows,
// as in tests), the switch to full screen does nothing and fullscreenState
// keeps its value; going back to a window always works, with 8 bits per
// colour when the desktop does not say. Main thread.
#include "game/my_app.h"
#include "runtime/host/glfw_game.h"

int c_MyApp::p_FullscreenFlip() {
    auto* host = dynamic_cast<ZqGlfwGame*>(ZqGame::_game);
    if (host == nullptr) return 0;

    // Copied out at once: re-opening the window releases held keys, and each
    // release runs a collector step, so the mode object must not be needed
    // across that call.
    int width = 0, height = 0, red = 8, green = 8, blue = 8;
    if (ZqGlfwVideoMode* mode = host->GetGlfwDesktopMode()) {
        width = mode->width;
        height = mode->height;
        red = mode->redBits;
        green = mode->greenBits;
        blue = mode->blueBits;
    }

    if (fullscreenState == 0) {
        if (width <= 0 || height <= 0) return 0;
        fullscreenState = 1;
        host->SetGlfwWindow(width, height, red, green, blue, 0, 0, 0, true);
    } else {
        fullscreenState = 0;
        host->SetGlfwWindow(640, 480, red, green, blue, 0, 0, 0, false);
    }
    return 0;
}
