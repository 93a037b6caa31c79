// ZqGlfwGame: the host over the GLFW-2 layer, on the desktop and in the
// browser (host_platform.h lists what differs). It owns the window
// and its callbacks, the frame loop (Run), the timing and the platform
// services that the framework reads (time, window size, video modes, swap
// interval, cursor, URLs, paths, joysticks).
//
// Ownership: one plain heap object, created by ZqTolvarGame::Main and never
// freed or collected; reached through ZqGame::_game and
// ZqGlfwGame::_glfwGame. Main thread only: the window callbacks run inside
// the event poll of the frame loop.
#pragma once

#include "runtime/lang/array.h"
#include "runtime/lang/game.h"
#include "runtime/lang/string.h"

// A video mode with its colour depth, as GLFW reports it.
class ZqGlfwVideoMode : public Object {
  public:
    int width = 0;
    int height = 0;
    int redBits = 0;
    int greenBits = 0;
    int blueBits = 0;

    ZqGlfwVideoMode(int w, int h, int r, int g, int b)
        : width(w), height(h), redBits(r), greenBits(g), blueBits(b) {}
};

class ZqGlfwGame : public ZqGame {
  public:
    // The one host object (the same object as ZqGame::_game).
    static ZqGlfwGame* _glfwGame;

    double updatePeriod = 0;   // seconds between updates, 1 / updateRate
    double nextUpdate = 0;     // GLFW time (seconds) the next update is due; 0 = not scheduled
    String appPath;            // application folder, cached on first path mapping
    int swapInterval = 1;      // applied at every window opening; negative = driver's setting
    int windowedWidth = 640;   // size of the last windowed window opened, the fallback
    int windowedHeight = 480;  // when another mode cannot be opened

    // --- services --------------------------------------------------------
    // Milliseconds of GLFW time, truncated.
    int Millisecs() override;
    // Stores the rate (0 = one update per rendered frame) and restarts the
    // schedule at the next update.
    void SetUpdateRate(int rate) override;
    bool PollJoystick(int port, Array<float> joyx, Array<float> joyy, Array<float> joyz,
                      Array<bool> buttons) override;
    // Opens the URL in the desktop's browser (xdg-open in a detached
    // process); nothing is reported back.
    void OpenUrl(String url) override;
    void SetMouseVisible(bool visible) override;
    int GetDeviceWidth() override;
    int GetDeviceHeight() override;
    // Re-opens the window: bit 0 of flags selects full screen.
    void SetDeviceWindow(int width, int height, int flags) override;
    Array<ZqDisplayMode*> GetDisplayModes() override;
    // Null when no monitor is known.
    ZqDisplayMode* GetDesktopMode() override;
    void SetSwapInterval(int interval) override;
    // tolvar:// paths mapped under the application folder.
    String PathToFilePath(String path) override;
    unsigned char* LoadImageData(String path, int* width, int* height, int* depth) override;
    unsigned char* LoadAudioData(String path, int* length, int* channels, int* format, int* hertz) override;

    // --- window and loop ---------------------------------------------------
    // Closes the current window (releasing held keys and mouse buttons
    // first) and opens a new one, which means a new OpenGL context
    // (glfwGraphicsSeq grows). A window that cannot be opened falls back to
    // the last windowed size; when that fails too the process ends with
    // "glfwOpenWindow failed" and exit code -1.
    virtual void SetGlfwWindow(int width, int height, int redBits, int greenBits, int blueBits, int alphaBits,
                               int depthBits, int stencilBits, bool fullscreen);
    virtual ZqGlfwVideoMode* GetGlfwDesktopMode();
    virtual Array<ZqGlfwVideoMode*> GetGlfwVideoModes();
    // Opens the first window, starts the game and runs the frame loop until
    // the window is closed. Ends the process with exit code -1 ("glfwOpenWindow
    // failed") when the first window cannot be opened. On the web the
    // browser runs the loop and Run never returns (host_web.cpp).
    virtual void Run();
    // One pass of the frame loop: render, wait for the next update, events,
    // focus, then 1 to 4 updates (frame_loop.cpp).
    void RunFrame();
    // Suspends or resumes the game as the window's focus (a tab's
    // visibility on the web) says.
    void FollowFocus();

  protected:
    // One glfwOpenWindow with this host's hints; whether a window opened.
    virtual bool OpenWindow(int width, int height, int redBits, int greenBits, int blueBits, int alphaBits,
                            int depthBits, int stencilBits, bool fullscreen);

    // After a window opened: swap interval, switches, title and the event
    // callbacks; a new OpenGL context (glfwGraphicsSeq grows).
    void PrepareOpenedWindow(bool fullscreen);

  private:
    // Step 2 of a pass: the desktop sleeps until the next update is due; the
    // browser's animation frames pace the web's passes.
    void WaitForNextUpdate();
    // Key-up events for every key GLFW reports held, so none stays down
    // across a window change.
    void ReleaseHeldKeys();
    // Mouse-up events for every button GLFW reports held, for the same reason.
    void ReleaseHeldMouseButtons();
    // Step 5 of a frame: 1 to 4 updates by the schedule.
    void RunUpdates();
};
