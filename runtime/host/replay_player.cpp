// ZqReplayPlayer (see replay_player.h).
#include "runtime/host/replay_player.h"

#include "runtime/host/replay_recorder.h"
#include "runtime/lang/game.h"

using zqreplay::Record;

bool ZqReplayPlayer::Open() {
    return reader_.ReadHeader(header_);
}

bool ZqReplayPlayer::Compatible(std::string& why) const {
    uint32_t ours = zqAppDataVersion();
    if (header_.dataVersion == ours) return true;
    why = "level data version " + std::to_string(header_.dataVersion) + " (this game has " +
          std::to_string(ours) + "; the recording is from " + header_.program + " " + header_.gameVersion +
          ")";
    return false;
}

ZqReplayPlayer::Outcome ZqReplayPlayer::RunNext() {
    while (reader_.Next(record_)) {
        switch (record_.kind) {
            case Record::Kind::Event:
                if (!record_.inner) {
                    Deliver(record_);
                } else if (inner_.size() < kMaxInnerEvents) {
                    inner_.push_back(record_);
                }
                break;
            case Record::Kind::DeviceSize:
                width_ = record_.values[0];
                height_ = record_.values[1];
                break;
            case Record::Kind::Joysticks:
                joystickCount_ = record_.joystickCount;
                for (int u = 0; u < joystickCount_; ++u) joysticks_[u] = record_.joysticks[u];
                break;
            case Record::Kind::DesktopMode:
                for (int i = 0; i < 5; ++i) desktop_[i] = record_.values[i];
                break;
            case Record::Kind::Checkpoint:
                if (!Check(record_)) return Outcome::Mismatch;
                break;
            case Record::Kind::End:
                return Check(record_) ? Outcome::Ended : Outcome::Mismatch;
            default:  // a step
                RunStep(record_);
                return Outcome::Step;
        }
    }
    return reader_.failed() ? Outcome::Failed : Outcome::Finished;
}

ZqReplayPlayer::Outcome ZqReplayPlayer::FinishAfterExit() {
    inStep_ = false;
    while (reader_.Next(record_)) {
        if (record_.kind == Record::Kind::Checkpoint || record_.kind == Record::Kind::End) {
            if (!Check(record_)) return Outcome::Mismatch;
            if (record_.kind == Record::Kind::End) return Outcome::Ended;
        } else if (record_.kind == Record::Kind::Event || record_.kind == Record::Kind::Update ||
                   record_.kind == Record::Kind::Start || record_.kind == Record::Kind::Suspend ||
                   record_.kind == Record::Kind::Resume) {
            // The recorded game went on: the replay ended early.
            mismatchUpdate_ = reader_.updates();
            return Outcome::Mismatch;
        }
    }
    return reader_.failed() ? Outcome::Failed : Outcome::Finished;
}

void ZqReplayPlayer::RunStep(const Record& step) {
    lastStep_ = step.kind;
    readings_ = step.readings;
    nextReading_ = 0;
    clock_ = step.clock;
    // The logic sees the recorded size, whatever window shows the replay.
    zq_app__devWidth = width_;
    zq_app__devHeight = height_;
    inStep_ = true;
    switch (step.kind) {
        case Record::Kind::Start:
            host_->StartGame();
            break;
        case Record::Kind::Suspend:
            host_->SuspendGame();
            break;
        case Record::Kind::Resume:
            host_->ResumeGame();
            break;
        default:
            host_->UpdateGame();
            break;
    }
    DeliverInnerEvents();
    inStep_ = false;
}

int ZqReplayPlayer::Clock() {
    if (!inStep_ || readings_.empty()) return clock_;
    size_t i = nextReading_ < readings_.size() ? nextReading_++ : readings_.size() - 1;
    return readings_[i];
}

bool ZqReplayPlayer::Joystick(int unit, Array<float> stickX, Array<float> stickY, Array<float> trigger,
                              Array<bool> buttons) {
    if (unit < 0 || unit >= joystickCount_) return false;
    const zqreplay::Joystick& j = joysticks_[unit];
    for (int i = 0; i < 2; ++i) {
        if (i < stickX.Length()) stickX[i] = j.stickX[i];
        if (i < stickY.Length()) stickY[i] = j.stickY[i];
        if (i < trigger.Length()) trigger[i] = j.trigger[i];
    }
    for (int b = 0; b < buttons.Length(); ++b) buttons[b] = b < 32 && (j.buttons >> b & 1u) != 0;
    return true;
}

bool ZqReplayPlayer::DesktopMode(int values[5]) const {
    for (int i = 0; i < 5; ++i) values[i] = desktop_[i];
    return desktop_[0] > 0 && desktop_[1] > 0;
}

void ZqReplayPlayer::DeliverInnerEvents() {
    // Moved out first: a delivered event may re-open the window and so
    // come back here.
    std::vector<Record> events;
    events.swap(inner_);
    for (const Record& event : events) Deliver(event);
}

void ZqReplayPlayer::Deliver(const Record& event) {
    if (event.event >= 1 && event.event <= 3) {
        host_->ZqGame::KeyEvent(event.event, event.data);
    } else if (event.event >= 4 && event.event <= 6) {
        host_->ZqGame::MouseEvent(event.event, event.data, event.x, event.y);
    } else if (event.event >= 7 && event.event <= 9) {
        host_->ZqGame::TouchEvent(event.event, event.data, event.x, event.y);
    } else {
        host_->ZqGame::MotionEvent(event.event, event.data, event.x, event.y, event.z);
    }
}

bool ZqReplayPlayer::Check(const Record& record) {
    ++checkpoints_;
    if (zqAppStateHash() == record.hash) {
        ++matched_;
        return true;
    }
    mismatchUpdate_ = record.updates;
    return false;
}
