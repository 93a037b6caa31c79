// Test support: the whole game (c_MyApp) in the real host, one frame at a
// time, under the test's control.
//
// What is real: the host object (ZqTolvarGame), its window on the X server
// in $DISPLAY, the OpenGL context (llvmpipe under Xvfb), the framework
// delegate with its render, audio and input devices, the data folder beside
// the test program, and the collector (a step after every event, as in the
// program). What is scripted:
// - Time: a ManualClock (tests/host/host_harness.h). Each Step() moves it
//   on by exactly one update period (1/60 s), so Millisecs() advances
//   16 or 17 ms per update and a run is the same every time.
// - Input: only what the test injects reaches the game. Injected events go
//   through the host's event methods (so the delegate, the input device and
//   the collector step run as for real window events); X events are never
//   polled, so nothing else on the display can disturb a test.
// - Joysticks: scripted pads answer the host's PollJoystick.
// - Saved state: kept in memory (`savedState`, `saves`), never in the
//   working folder's .tolvarstate, so tests cannot see each other's saves.
//
// Typical use:
//     GameHarness game;                 // 640 x 480 window, p_OnCreate done
//     game.FinishLoading();             // steps until the loader is done
//     game.Hold(kKeyRight, 10);         // right arrow held for 10 updates
//     EXPECT_EQ(game.app()->screenMode, 1);
//     EXPECT_TRUE(game.ShowsText("Level"));
//
// One frame (Step) is what the host's frame loop does in one pass at 60
// updates per second: render (p_OnRender, replaying the display list), swap,
// advance the clock, then one update (p_OnUpdate). Events injected between
// steps are delivered at once, as if polled just before the next update.
//
// Limits and cautions
// - One GameHarness at a time per process (the application object is a
//   process-wide singleton); each new harness starts from fresh globals
//   (zqInit) and a fresh game object.
// - F4 (key 115 hit) and the window-close key 432 end the process with
//   status 0, as they do in the program: never inject them in a test.
// - Key codes are the input device's (input/keys.h): letters by capital
//   ASCII, 13 Enter, 27 Escape, 32 Space, 37..40 Left, Up, Right, Down,
//   joystick button b of pad p is 256 + 32 p + b.
// - Mouse positions are window pixels; the *Virtual helpers convert from
//   the game's virtual screen with the scale of the last render.
// - Needs an X server in $DISPLAY (ctest label DISPLAY) and, for silent
//   audio, ALSOFT_DRIVERS=null in the environment.
//
// Main thread only, like the host.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "game/my_app.h"
#include "runtime/host/tolvar_game.h"
#include "tests/host/host_harness.h"

// Key codes the game's tests use most.
constexpr int kKeyEnter = 13, kKeyEscape = 27, kKeySpace = 32;
constexpr int kKeyLeft = 37, kKeyUp = 38, kKeyRight = 39, kKeyDown = 40;
constexpr int kKeyF1 = 112, kKeyF2 = 113;

// A scripted joystick: stick 0 and 1 readings as the input device reports
// them (up positive on Y, as GLFW 2 reports it) and 32 buttons.
struct ScriptedPad {
    float stickX[2] = {0, 0};
    float stickY[2] = {0, 0};
    bool buttons[32] = {};
};

// The host the harness runs: the real desktop host with the scripted seams
// named above (device-size override, joysticks, in-memory saved state).
class HarnessHost : public ZqTolvarGame {
  public:
    std::map<int, ScriptedPad> pads;          // by unit; units answer while consecutive from 0
    int forcedWidth = -1, forcedHeight = -1;  // >= 0: reported instead of the window's size
    String state;
    int saves = 0;

    bool PollJoystick(int unit, Array<float> stickX, Array<float> stickY, Array<float> trigger,
                      Array<bool> buttons) override;
    int GetDeviceWidth() override;
    int GetDeviceHeight() override;
    int SaveState(String s) override {
        state = s;
        ++saves;
        return 0;
    }
    String LoadState() override { return state; }
};

class GameHarness {
  public:
    struct Options {
        int width = 640, height = 480;  // the window, in pixels
        String savedState;              // what LoadState answers from the start
        // The host to run instead of a plain HarnessHost (a recording one);
        // the harness owns and deletes it.
        std::function<HarnessHost*()> makeHost = nullptr;
    };

    // Opens the window, starts the game (devices, then p_OnCreate). The
    // loader has not run yet: loaderStage is 1 after creation.
    GameHarness();
    explicit GameHarness(const Options& options);
    // Closes the window and releases the host; the game object becomes
    // garbage once the next harness resets the globals.
    ~GameHarness();
    GameHarness(const GameHarness&) = delete;
    GameHarness& operator=(const GameHarness&) = delete;

    c_MyApp* app() const { return app_; }
    HarnessHost* host() const { return host_; }
    ManualClock& clock() { return clock_; }
    int updates() const { return updates_; }  // updates run by this harness

    // -- Running ---------------------------------------------------------------
    // n frames: each renders, advances the clock one period and updates once.
    void Step(int n = 1);
    // Steps until done() holds after an update (true) or maxUpdates pass (false).
    bool StepUntil(const std::function<bool()>& done, int maxUpdates);
    // Steps until loaderStage is 0 (at most 60 updates); false if it never is.
    bool FinishLoading();
    // One render without an update (p_OnRender alone).
    void Render();
    // Runs after every update of Step, with the harness's update count.
    std::function<void(int update)> onUpdate;

    // -- Keys and characters -----------------------------------------------------
    void Press(int code);    // key down (plus the character a cursor/editing key queues)
    void Release(int code);  // key up
    // Down for n updates, then up (after the n-th update).
    void Hold(int code, int updates);
    // Press, one update, release, one update.
    void Tap(int code);
    void TypeChar(int character);  // queued for the next update

    // -- Mouse (window pixels) ---------------------------------------------------
    void MouseMove(float x, float y);
    void MouseDown(float x, float y, int button = 0);
    void MouseUp(float x, float y, int button = 0);
    // Down at (x, y), one update, up, one update.
    void Click(float x, float y);
    // The window pixel of a virtual point, by the last render's scale.
    float WindowX(float virtualX) const;
    float WindowY(float virtualY) const;
    void ClickVirtual(float x, float y) { Click(WindowX(x), WindowY(y)); }
    void MouseMoveVirtual(float x, float y) { MouseMove(WindowX(x), WindowY(y)); }

    // -- Joysticks, window, lifecycle ---------------------------------------------
    // The pad read for `unit` from the next update on (units must be
    // consecutive from 0 to be polled); RemovePad unplugs it.
    ScriptedPad& Pad(int unit) { return host_->pads[unit]; }
    void RemovePad(int unit) { host_->pads.erase(unit); }
    // Re-opens the window at a new size (a real device-size change).
    void ResizeWindow(int width, int height);
    // The host reports this size (0 x 0: a minimised window) until cleared.
    void ForceDeviceSize(int width, int height);
    void ClearDeviceSize() { ForceDeviceSize(-1, -1); }
    // The window lost / regained the foreground (p_OnSuspend / p_OnResume).
    // While suspended, Step renders but the host refuses the update, as the
    // real loop makes none.
    void Suspend();
    void Resume();

    // -- Saved state ---------------------------------------------------------------
    String savedState() const { return host_->state; }
    int saves() const { return host_->saves; }

    // -- The display list ------------------------------------------------------------
    int RecordCount() const { return app_->displayListFill / 15; }
    float Record(int i, int element) const { return app_->displayList[i * 15 + element]; }
    // Records whose kind (element 0) equals `kind`, as record indexes.
    std::vector<int> RecordsOfKind(float kind) const;
    // The characters drawn with font slot `slot` (90 is the game's font), in
    // record order; spaces draw nothing and so are absent.
    std::string DrawnGlyphs(int slot = 90) const;
    // Whether DrawnGlyphs() holds `text` with its spaces removed.
    bool ShowsText(const std::string& text, int slot = 90) const;

    // -- Pixels --------------------------------------------------------------------
    // Renders a frame and reads the window back: 0xAARRGGBB, row 0 at the
    // top, width x height of the device.
    std::vector<uint32_t> Screenshot(int* width = nullptr, int* height = nullptr);

  private:
    void Start(const Options& options);

    ManualClock clock_;
    ClockGuard clockGuard_{&clock_};
    HarnessHost* host_ = nullptr;
    c_MyApp* app_ = nullptr;
    int updates_ = 0;
};
