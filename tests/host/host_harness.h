// Test support: runs the real host (ZqTolvarGame, its window and frame
// loop) in the test process with a delegate that records every event it
// receives and runs the test's script from its callbacks.
//
// Main thread only, like the host. Each RunHost makes a fresh host object,
// so lifecycle flags never leak between tests; GLFW is started once per
// process.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "runtime/glfw2/glfw2.h"
#include "runtime/host/tolvar_game.h"

// A clock whose time moves only when the loop sleeps or the test says so.
class ManualClock final : public glfw2::Clock {
  public:
    double now = 100.0;  // seconds; far from 0, which the loop reads as "unscheduled"
    int sleeps = 0;
    double Now() override { return now; }
    void Sleep(double seconds) override {
        ++sleeps;
        now += seconds;
    }
};

// Installs a clock for the lifetime of the guard.
class ClockGuard {
  public:
    explicit ClockGuard(glfw2::Clock* clock) { glfw2::glfwSetClock(clock); }
    ~ClockGuard() { glfw2::glfwSetClock(nullptr); }
};

class RecordingDelegate : public ZqGameDelegate {
  public:
    // One entry per event, in order: "start", "suspend", "resume", "update",
    // "render", "key <event> <data>", "mouse <event> <data> <x> <y>".
    std::vector<std::string> log;
    int updates = 0;
    int renders = 0;
    // The script; each runs after the event was recorded.
    std::function<void()> onStart, onUpdate, onRender, onKey, onMouse;

    RecordingDelegate* m_new() { return this; }

    void StartGame() override;
    void SuspendGame() override;
    void ResumeGame() override;
    void UpdateGame() override;
    void RenderGame() override;
    void KeyEvent(int event, int data) override;
    void MouseEvent(int event, int data, float x, float y) override;

    int Count(const std::string& entry) const;
    // Index of the first entry equal to `entry` at or after `from`, or -1.
    int Find(const std::string& entry, int from = 0) const;
};

// The host of the current RunHost (null outside it).
ZqTolvarGame* Host();

// Runs the frame loop with the delegate until the script calls Finish() or
// `seconds` of real time pass (then the test fails). `custom` (deleted
// afterwards) replaces the plain host, for tests that override its hooks.
void RunHost(RecordingDelegate* delegate, double seconds = 20, ZqTolvarGame* custom = nullptr);
// Ends the loop: closes the window, so Run returns after this pass.
void Finish();
// Whether Finish() was called by the timeout rather than the script.
bool TimedOut();
