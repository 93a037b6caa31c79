// ZqReplayPlayer: plays a session recording back into a host.
//
// The player reads the recording record by record (never the whole file)
// and hands each record to the host the way the live host handed it to the
// game: events through the host's own event methods (ZqGame::KeyEvent ...,
// so the lifecycle guards, the delegate, the input device and the collector
// step all run as they did), steps through the step methods (StartGame,
// UpdateGame, SuspendGame, ResumeGame). While a step runs, the replaying
// host answers the game's readings from the player: Clock, Joystick,
// DesktopMode and the device size. Events the live host raised inside a
// step (the key releases of a window re-open) are delivered when the
// replayed game re-opens its window (DeliverInnerEvents), or at the end of
// the step if it never does.
//
// Checkpoints: at each checkpoint and at the end record the player
// compares the application's state hash with the recorded one; the first
// difference stops the replay with Outcome::Mismatch and its update number.
//
// Memory: bounded by the reader's limits and a queue of at most
// kMaxInnerEvents inner events per step, whatever the file holds.
// Main thread only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/host/replay_format.h"
#include "runtime/lang/array.h"

class ZqGame;

class ZqReplayPlayer {
  public:
    enum class Outcome {
        Step,      // one step ran (lastStep() says which)
        Mismatch,  // a checkpoint differs (mismatchUpdate())
        Ended,     // the end record matched; nothing follows
        Finished,  // the recording stops without an end record (a killed session)
        Failed     // damaged or truncated (error())
    };
    static constexpr size_t kMaxInnerEvents = 4096;

    explicit ZqReplayPlayer(zqreplay::Input& input) : reader_(input) {}

    // Reads and checks the header (error() on failure).
    bool Open();
    const zqreplay::Header& header() const { return header_; }
    // Whether this program can replay the recording: its data version must
    // be the application's. `why` gets the one-line reason when not.
    bool Compatible(std::string& why) const;

    void Attach(ZqGame* host) { host_ = host; }
    // Plays records up to and including the next step (or a difference,
    // the end, or a damaged record).
    Outcome RunNext();
    // For a game that ended the process inside a step: reads what the
    // recording holds after it, which must be only its checkpoint and end.
    Outcome FinishAfterExit();

    // --- the game's readings while a step runs -------------------------------
    bool inStep() const { return inStep_; }
    int Clock();
    bool Joystick(int unit, Array<float> stickX, Array<float> stickY, Array<float> trigger,
                  Array<bool> buttons);
    // The recorded desktop mode: false when there is none.
    bool DesktopMode(int values[5]) const;
    int deviceWidth() const { return width_; }
    int deviceHeight() const { return height_; }
    void DeliverInnerEvents();

    // --- results ---------------------------------------------------------------
    zqreplay::Record::Kind lastStep() const { return lastStep_; }
    uint32_t updates() const { return reader_.updates(); }
    bool ended() const { return reader_.ended(); }  // the end record has been read
    int checkpoints() const { return checkpoints_; }
    int checkpointsMatched() const { return matched_; }
    uint32_t mismatchUpdate() const { return mismatchUpdate_; }
    const std::string& error() const { return reader_.error(); }

  private:
    void Deliver(const zqreplay::Record& event);
    void RunStep(const zqreplay::Record& step);
    // Compares the application's hash with a checkpoint or end record.
    bool Check(const zqreplay::Record& record);

    zqreplay::Reader reader_;
    zqreplay::Header header_;
    zqreplay::Record record_;
    ZqGame* host_ = nullptr;
    bool inStep_ = false;
    zqreplay::Record::Kind lastStep_ = zqreplay::Record::Kind::Start;
    std::vector<int32_t> readings_;
    size_t nextReading_ = 0;
    int32_t clock_ = 0;
    std::vector<zqreplay::Record> inner_;
    int width_ = 0, height_ = 0;
    int joystickCount_ = 0;
    zqreplay::Joystick joysticks_[zqreplay::kMaxJoysticks];
    int desktop_[5] = {0, 0, 0, 0, 0};
    int checkpoints_ = 0, matched_ = 0;
    uint32_t mismatchUpdate_ = 0;
};
