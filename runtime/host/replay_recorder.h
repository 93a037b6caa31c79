// ZqSessionRecorder: writes a session recording while the game plays, and
// ZqRecordingHost<Host>, the host that feeds it.
//
// The recording is taken where the host hands things to the game: the
// event methods (key, mouse, touch, motion), the steps (start, update,
// suspend, resume) and the host readings the game makes inside a step
// (clock, joysticks, desktop mode; the device size at each step's start).
// X events, frame pacing and renders are not recorded: renders do not
// change the game's state, and the events they come from reach the game
// only through the event methods.
//
// Writing: records are encoded into memory and written out whole (fwrite
// and fflush of complete records only) after a checkpoint (every 60
// updates), whenever a second has passed since the last write, at every
// saved-state write (every level end saves), when the game is suspended
// (the frame loop then blocks until an event) and when the session
// finishes.
// A session killed at any moment thus leaves a valid recording up to its
// last write. A file that cannot be written is reported once on standard
// error and dropped; the game plays on.
//
// Threading: main thread only, like the host. The program's recorder
// finishes from an atexit handler (the game ends the process with exit()),
// writing the step in progress and the end record.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "runtime/host/glfw_game.h"
#include "runtime/host/options.h"
#include "runtime/host/replay_format.h"

// The game's state hash and data version, from the registered application
// (0 when there is none or it does not say).
uint64_t zqAppStateHash();
uint32_t zqAppDataVersion();

class ZqSessionRecorder {
  public:
    ZqSessionRecorder() = default;
    ZqSessionRecorder(const ZqSessionRecorder&) = delete;
    ZqSessionRecorder& operator=(const ZqSessionRecorder&) = delete;
    // Finishes the recording if that has not happened yet.
    ~ZqSessionRecorder();

    // Opens every path for writing (truncating it). A path that cannot be
    // opened is reported on standard error and skipped; false when none
    // could be opened (nothing is then recorded).
    bool Open(const std::vector<std::string>& paths);
    bool recording() const { return !files_.empty() && !finished_; }
    // Finish() also runs when the process exits (once per process).
    void FinishAtExit();

    // The header; the first thing written, at the game's start.
    void Begin(const zqreplay::Header& header);
    // A step: the device size the host reports at its start, then whatever
    // the game reads until StepEnd, which writes the step record.
    void StepBegin(zqreplay::Record::Kind kind, int width, int height);
    void StepEnd();
    // A clock reading the game made; returned unchanged.
    int Clock(int reading);
    void Joystick(int unit, bool present, Array<float> stickX, Array<float> stickY, Array<float> trigger,
                  Array<bool> buttons);
    // The desktop mode the game asked for (null: none).
    void DesktopMode(const ZqGlfwVideoMode* mode);
    void Event(int event, int data, float x, float y, float z);
    // Writes out every complete record encoded so far.
    void Flush();
    // Writes the step in progress (a program that ends inside an update
    // ends inside that step), the end record with the game's state hash,
    // and closes the files.
    void Finish();

    uint32_t updates() const { return updates_; }

  private:
    void MaybeFlush();

    zqreplay::Encoder encoder_;
    std::vector<std::FILE*> files_;
    std::vector<std::string> paths_;
    bool begun_ = false;
    bool finished_ = false;
    bool inStep_ = false;
    zqreplay::Record::Kind stepKind_ = zqreplay::Record::Kind::Update;
    std::vector<int32_t> readings_;
    uint32_t updates_ = 0;
    uint32_t updatesAtFlush_ = 0;
    std::chrono::steady_clock::time_point lastFlush_{};
    // What the host reported last, so only changes are written.
    int width_ = -1, height_ = -1;
    int joystickCount_ = 0;
    zqreplay::Joystick joysticks_[zqreplay::kMaxJoysticks];
    int polledCount_ = 0;  // units polled present in this step, from unit 0
    bool polled_ = false;
    zqreplay::Joystick polledJoysticks_[zqreplay::kMaxJoysticks];
    bool desktopKnown_ = false;
    int desktop_[5] = {0, 0, 0, 0, 0};
};

// A host that records the session it runs into `recorder`. Host is the
// desktop host (ZqTolvarGame) in the program, or a test's host. Every
// override keeps the base's guard: a step or an event the base would
// refuse is not recorded either.
template <class Host>
class ZqRecordingHost : public Host {
  public:
    ZqSessionRecorder recorder;
    std::string program = "tolvar";  // for the header
    std::string version = "0";

    int Millisecs() override { return recorder.Clock(Host::Millisecs()); }
    bool PollJoystick(int unit, Array<float> stickX, Array<float> stickY, Array<float> trigger,
                      Array<bool> buttons) override {
        bool present = Host::PollJoystick(unit, stickX, stickY, trigger, buttons);
        recorder.Joystick(unit, present, stickX, stickY, trigger, buttons);
        return present;
    }
    ZqGlfwVideoMode* GetGlfwDesktopMode() override {
        ZqGlfwVideoMode* mode = Host::GetGlfwDesktopMode();
        recorder.DesktopMode(mode);
        return mode;
    }
    // Every save (each level end saves) also writes the recording out.
    int SaveState(String state) override {
        int result = Host::SaveState(state);
        recorder.Flush();
        return result;
    }

    void KeyEvent(int event, int data) override {
        if (this->started) recorder.Event(event, data, 0, 0, 0);
        Host::KeyEvent(event, data);
    }
    void MouseEvent(int event, int data, float x, float y) override {
        if (this->started) recorder.Event(event, data, x, y, 0);
        Host::MouseEvent(event, data, x, y);
    }
    void TouchEvent(int event, int data, float x, float y) override {
        if (this->started) recorder.Event(event, data, x, y, 0);
        Host::TouchEvent(event, data, x, y);
    }
    void MotionEvent(int event, int data, float x, float y, float z) override {
        if (this->started) recorder.Event(event, data, x, y, z);
        Host::MotionEvent(event, data, x, y, z);
    }

    void StartGame() override {
        if (this->started) return;
        zqreplay::Header header;
        header.program = program;
        header.gameVersion = version;
        header.dataVersion = zqAppDataVersion();
        header.startMode = static_cast<int>(zqOptions().startMode);
        header.startState = this->LoadState().ToUtf8();
        recorder.Begin(header);
        Step(zqreplay::Record::Kind::Start, [this] { Host::StartGame(); });
    }
    void SuspendGame() override {
        if (!this->started || this->suspended) return;
        Step(zqreplay::Record::Kind::Suspend, [this] { Host::SuspendGame(); });
    }
    void ResumeGame() override {
        if (!this->started || !this->suspended) return;
        Step(zqreplay::Record::Kind::Resume, [this] { Host::ResumeGame(); });
    }
    void UpdateGame() override {
        if (!this->started || this->suspended) return;
        Step(zqreplay::Record::Kind::Update, [this] { Host::UpdateGame(); });
    }

  private:
    template <class Fn>
    void Step(zqreplay::Record::Kind kind, Fn&& run) {
        recorder.StepBegin(kind, this->GetDeviceWidth(), this->GetDeviceHeight());
        run();
        recorder.StepEnd();
    }
};
