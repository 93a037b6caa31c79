// ZqReplayHost: the host that plays a recording back, in a window for
// watching (skitterwind --replay FILE) or without one for checking
// (skitterwind-replay).
//
// What the game reads comes from the recording while a step runs: the
// clock, the joysticks, the desktop mode and the device size (the logic
// sees the recorded size; renders in the watching window use the window's
// own size, and renders do not change the game's state). Outside steps the
// clock answers the last recorded reading.
//
// The command line's start mode (full screen or a window) is the recorded
// session's, whatever this program was started with.
//
// What the game writes stays here: saved states are kept in memory
// (`saved`, which starts as the recording's starting state), so watching
// or checking never touches the live saved-state file. A window re-open
// the replayed game asks for (a full-screen switch) does not change the
// watching window; the key releases it caused are delivered from the
// recording instead.
//
// Watching (Run): the recording plays at its update rate with sound, the
// live keys are the player's controls and never reach the game: Space
// pauses and resumes, Right held plays four times as fast, Escape or the
// window's close button stops. The window's focus does not suspend the
// replayed game (the recording says when it was suspended). Run returns
// when the recording ends or the watcher stops it; a damaged recording
// prints its problem and ends the process with exit code 2.
//
// Checking: the caller drives the player (RunNext) itself; no window is
// opened, no GLFW call is needed, and the renders never run.
//
// Main thread only.
#pragma once

#include <string>

#include "runtime/host/replay_player.h"
#include "runtime/host/tolvar_game.h"

class ZqReplayHost : public ZqTolvarGame {
  public:
    enum class Mode { Watch, Headless };

    ZqReplayHost(Mode mode, ZqReplayPlayer& player);
    ~ZqReplayHost() override;
    // Makes this the process's host and sets every global to its default
    // (the steps of ZqTolvarGame::Main between creating the host and
    // creating the application).
    void Install();

    ZqReplayPlayer& player() { return player_; }
    Mode mode() const { return mode_; }
    std::string label = "replay";  // starts the lines that report problems ("program: file")
    String saved;                  // the saved state as the replayed game left it
    int saves = 0;                 // saves the replayed game made

    int Millisecs() override;
    bool PollJoystick(int unit, Array<float> stickX, Array<float> stickY, Array<float> trigger,
                      Array<bool> buttons) override;
    ZqGlfwVideoMode* GetGlfwDesktopMode() override;
    int GetDeviceWidth() override;
    int GetDeviceHeight() override;
    Array<ZqDisplayMode*> GetDisplayModes() override;
    ZqDisplayMode* GetDesktopMode() override;
    int SaveState(String state) override;
    String LoadState() override;
    void SetGlfwWindow(int width, int height, int redBits, int greenBits, int blueBits, int alphaBits,
                       int depthBits, int stencilBits, bool fullscreen) override;

    // Live input from the watching window: the player's controls.
    void KeyEvent(int event, int data) override;
    void MouseEvent(int, int, float, float) override {}
    void TouchEvent(int, int, float, float) override {}
    void MotionEvent(int, int, float, float, float) override {}

    void Run() override;

    // Watch controls, as the live keys set them.
    bool paused = false;
    bool fast = false;
    bool stopped = false;

  private:
    // Plays the steps that are due by the clock; false once the replay is over.
    bool PlayDueSteps(double& nextStep);
    // Reports a damaged recording or a difference while watching.
    bool Continue(ZqReplayPlayer::Outcome outcome);

    Mode mode_;
    ZqReplayPlayer& player_;
    bool windowOpen_ = false;
    bool warned_ = false;
};

// Whether the program is watching a recording (the game marks its picture).
bool zqReplayWatching();
