// ZqSessionRecorder (see replay_recorder.h).
#include "runtime/host/replay_recorder.h"

#include <cstdlib>

#include "runtime/host/app.h"
#include "runtime/host/zq_app.h"

using zqreplay::Record;

namespace {

constexpr auto kFlushInterval = std::chrono::seconds(1);

// The recorder that finishes when the process exits (at most one).
ZqSessionRecorder* exitRecorder = nullptr;

void FinishExitRecorder() {
    if (exitRecorder) exitRecorder->Finish();
}

}  // namespace

uint64_t zqAppStateHash() {
    return zq_app__app ? zq_app__app->p_ReplayStateHash() : 0;
}

uint32_t zqAppDataVersion() {
    return zq_app__app ? zq_app__app->p_ReplayDataVersion() : 0;
}

ZqSessionRecorder::~ZqSessionRecorder() {
    Finish();
    if (exitRecorder == this) exitRecorder = nullptr;
}

bool ZqSessionRecorder::Open(const std::vector<std::string>& paths) {
    for (const std::string& path : paths) {
        std::FILE* file = zqreplay::OpenFile(path, "wb");
        if (!file) {
            std::fprintf(stderr, "cannot record the session to %s\n", path.c_str());
            continue;
        }
        files_.push_back(file);
        paths_.push_back(path);
    }
    lastFlush_ = std::chrono::steady_clock::now();
    return !files_.empty();
}

void ZqSessionRecorder::FinishAtExit() {
    if (exitRecorder == nullptr) std::atexit(FinishExitRecorder);
    exitRecorder = this;
}

void ZqSessionRecorder::Begin(const zqreplay::Header& header) {
    if (!recording() || begun_) return;
    begun_ = true;
    encoder_.AppendHeader(header);
    Flush();
}

void ZqSessionRecorder::StepBegin(Record::Kind kind, int width, int height) {
    if (!recording() || !begun_) return;
    if (width != width_ || height != height_) {
        width_ = width;
        height_ = height;
        encoder_.AppendDeviceSize(width, height);
    }
    inStep_ = true;
    stepKind_ = kind;
    readings_.clear();
    polled_ = false;
    polledCount_ = 0;
}

void ZqSessionRecorder::StepEnd() {
    if (!inStep_) return;
    inStep_ = false;
    // The joysticks the step polled, when they differ from the last ones written.
    if (polled_) {
        bool same = polledCount_ == joystickCount_;
        for (int u = 0; same && u < polledCount_; ++u) same = polledJoysticks_[u] == joysticks_[u];
        if (!same) {
            joystickCount_ = polledCount_;
            for (int u = 0; u < polledCount_; ++u) joysticks_[u] = polledJoysticks_[u];
            encoder_.AppendJoysticks(joystickCount_, joysticks_);
        }
    }
    encoder_.AppendStep(stepKind_, readings_);
    // A suspended game may wait a long time for the next event: write now.
    if (stepKind_ == Record::Kind::Suspend) {
        Flush();
        return;
    }
    if (stepKind_ == Record::Kind::Update) {
        ++updates_;
        if (updates_ % zqreplay::kCheckpointEvery == 0) {
            encoder_.AppendCheckpoint(updates_, zqAppStateHash());
            Flush();
            return;
        }
    }
    MaybeFlush();
}

int ZqSessionRecorder::Clock(int reading) {
    if (inStep_ && readings_.size() < zqreplay::kMaxReadings) readings_.push_back(reading);
    return reading;
}

void ZqSessionRecorder::Joystick(int unit, bool present, Array<float> stickX, Array<float> stickY,
                                 Array<float> trigger, Array<bool> buttons) {
    if (!inStep_ || unit < 0 || unit >= zqreplay::kMaxJoysticks) return;
    polled_ = true;
    // Units answer from 0 up to the first absent one; only that run counts.
    if (!present || unit != polledCount_) return;
    zqreplay::Joystick& j = polledJoysticks_[unit];
    j = zqreplay::Joystick{};
    for (int i = 0; i < 2; ++i) {
        j.stickX[i] = i < stickX.Length() ? stickX[i] : 0.0f;
        j.stickY[i] = i < stickY.Length() ? stickY[i] : 0.0f;
        j.trigger[i] = i < trigger.Length() ? trigger[i] : 0.0f;
    }
    for (int b = 0; b < 32 && b < buttons.Length(); ++b)
        if (buttons[b]) j.buttons |= 1u << b;
    polledCount_ = unit + 1;
}

void ZqSessionRecorder::DesktopMode(const ZqGlfwVideoMode* mode) {
    if (!recording() || !begun_) return;
    int now[5] = {0, 0, 0, 0, 0};
    if (mode) {
        now[0] = mode->width;
        now[1] = mode->height;
        now[2] = mode->redBits;
        now[3] = mode->greenBits;
        now[4] = mode->blueBits;
    }
    bool same = desktopKnown_;
    for (int i = 0; same && i < 5; ++i) same = now[i] == desktop_[i];
    if (same) return;
    desktopKnown_ = true;
    for (int i = 0; i < 5; ++i) desktop_[i] = now[i];
    encoder_.AppendDesktopMode(now[0], now[1], now[2], now[3], now[4]);
}

void ZqSessionRecorder::Event(int event, int data, float x, float y, float z) {
    if (!recording() || !begun_) return;
    encoder_.AppendEvent(event, data, x, y, z, inStep_);
    if (!inStep_) MaybeFlush();
}

void ZqSessionRecorder::MaybeFlush() {
    if (updates_ - updatesAtFlush_ >= static_cast<uint32_t>(zqreplay::kCheckpointEvery) ||
        std::chrono::steady_clock::now() - lastFlush_ >= kFlushInterval)
        Flush();
}

void ZqSessionRecorder::Flush() {
    updatesAtFlush_ = updates_;
    lastFlush_ = std::chrono::steady_clock::now();
    if (encoder_.bytes().empty()) return;
    std::string bytes = encoder_.TakeBytes();
    for (size_t i = 0; i < files_.size();) {
        bool written = std::fwrite(bytes.data(), 1, bytes.size(), files_[i]) == bytes.size();
        if (written && std::fflush(files_[i]) == 0) {
            ++i;
            continue;
        }
        // A file that fails once would hold a gap: stop writing it.
        std::fprintf(stderr, "cannot write the session recording %s; it stops here\n", paths_[i].c_str());
        std::fclose(files_[i]);
        files_.erase(files_.begin() + static_cast<long>(i));
        paths_.erase(paths_.begin() + static_cast<long>(i));
    }
}

void ZqSessionRecorder::Finish() {
    if (finished_) return;
    if (recording() && begun_) {
        StepEnd();
        encoder_.AppendEnd(updates_, zqAppStateHash());
        Flush();
    }
    finished_ = true;
    for (std::FILE* file : files_) std::fclose(file);
    files_.clear();
    paths_.clear();
}
