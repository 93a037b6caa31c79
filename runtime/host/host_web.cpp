// ZqGlfwGame in the browser (the list is in host_platform.h).
//
// The browser owns the loop: Run opens the canvas's window, starts the game
// and hands the frame loop's pass to emscripten_set_main_loop, driven by
// requestAnimationFrame; the update schedule inside the pass is the
// desktop's (1 to 4 updates per pass by the clock). Run never returns: the
// call unwinds the stack and the page's event loop calls the pass from then
// on. A blocking loop (Asyncify) would work too, at nearly twice the size
// of the program.
//
// The page (web/index.html) owns the canvas's place and size; each pass
// first sets the drawing buffer to the canvas's size on the page, so the
// game sees the page's size as its window's, as it sees the screen's in
// full screen on the desktop.
//
// LIMITATIONS: there is one window for the whole run (the OpenGL context is
// never re-created); full screen starts on the player's next key or click,
// since browsers allow it only inside one; the process never quits by
// itself; a fatal error's exit stops the program (web/pre.js) and the page
// shows its message.
#include <emscripten.h>
#include <emscripten/html5.h>

#include <cstdlib>
#include <string>

#include "runtime/glfw2/glfw2.h"
#include "runtime/host/glfw_game.h"
#include "runtime/host/host_platform.h"
#include "runtime/host/screen_stats.h"
#include "runtime/lang/errors.h"

using namespace glfw2;

namespace {

// clang-format off
EM_JS(void, tolvar_web_fit_canvas, (), {
    const canvas = Module.canvas;
    if (!canvas) return;
    const width = Math.max(1, Math.round(canvas.clientWidth));
    const height = Math.max(1, Math.round(canvas.clientHeight));
    if (canvas.width !== width) canvas.width = width;
    if (canvas.height !== height) canvas.height = height;
});

// The page's own full-screen switch (web/page.js); without one, the
// window stays as it is.
EM_JS(void, tolvar_web_set_fullscreen, (int on), {
    if (Module.tolvarSetFullscreen) Module.tolvarSetFullscreen(on !== 0);
});

// clang-format on

void RunPagePass() {
    tolvar_web_fit_canvas();
    ZqGlfwGame::_glfwGame->RunFrame();
}

// The browser stops the animation frames of a hidden tab, so no pass would
// see the change: follow it here, as the pass follows a window's focus.
EM_BOOL OnVisibilityChange(int, const EmscriptenVisibilityChangeEvent*, void*) {
    ZqGlfwGame::_glfwGame->FollowFocus();
    return EM_FALSE;
}

}  // namespace

// What the page and its tests can ask the running game (web/page.js):
// the screen it shows ("loader", "title", "play", ...) and, when the page
// was opened with ?stats, the frame-time report so far. The text lives
// until the next call.
extern "C" EMSCRIPTEN_KEEPALIVE const char* tolvar_web_screen() {
    const char* name = zq_app_ScreenName();
    return name ? name : "none";
}

extern "C" EMSCRIPTEN_KEEPALIVE const char* tolvar_web_stats() {
    static std::string report;
    report = zqScreenStatsReport();
    return report.c_str();
}

bool zqHostCanQuit() {
    return false;
}

void ZqGlfwGame::Run() {
    // The first pass fits the drawing buffer to the page.
    SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
    // The application's OnCreate runs here and usually sets the update rate.
    StartGame();
    emscripten_set_visibilitychange_callback(nullptr, EM_FALSE, OnVisibilityChange);
    emscripten_set_main_loop(RunPagePass, 0, 1);
}

void ZqGlfwGame::WaitForNextUpdate() {
    // The browser's animation frames pace the passes; waiting here would
    // only freeze the page.
}

void ZqGlfwGame::SetGlfwWindow(int width, int height, int redBits, int greenBits, int blueBits, int alphaBits,
                               int depthBits, int stencilBits, bool fullscreen) {
    if (!glfwGetWindowParam(GLFW_OPENED)) {
        if (!OpenWindow(width, height, redBits, greenBits, blueBits, alphaBits, depthBits, stencilBits,
                        false)) {
            zqPrint("glfwOpenWindow failed");
            std::exit(-1);
        }
        PrepareOpenedWindow(false);
    }
    // The same canvas and context stay; the page enters or leaves full
    // screen, and the next pass takes the canvas's new size.
    tolvar_web_set_fullscreen(fullscreen ? 1 : 0);
}
