// Test support: the in-process host runner (see host_harness.h).
#include "tests/host/host_harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

namespace {

RecordingDelegate* current = nullptr;
GC_ROOT(current);
ZqTolvarGame* host = nullptr;
bool finished = false;
bool timedOut = false;
std::chrono::steady_clock::time_point deadline;

void CheckDeadline() {
    if (host && !finished && std::chrono::steady_clock::now() > deadline) {
        timedOut = true;
        ADD_FAILURE() << "the scripted run did not finish in time";
        Finish();
    }
}

}  // namespace

void RecordingDelegate::StartGame() {
    log.push_back("start");
    if (onStart) onStart();
}

// Closing the window to finish reads as losing focus; that is not recorded.
void RecordingDelegate::SuspendGame() {
    if (!finished) log.push_back("suspend");
}

void RecordingDelegate::ResumeGame() {
    if (!finished) log.push_back("resume");
}

void RecordingDelegate::UpdateGame() {
    if (finished) return;
    ++updates;
    log.push_back("update");
    if (onUpdate) onUpdate();
    CheckDeadline();
}

void RecordingDelegate::RenderGame() {
    if (finished) return;
    ++renders;
    log.push_back("render");
    if (onRender) onRender();
    CheckDeadline();
}

void RecordingDelegate::KeyEvent(int event, int data) {
    log.push_back("key " + std::to_string(event) + " " + std::to_string(data));
    if (onKey) onKey();
}

void RecordingDelegate::MouseEvent(int event, int data, float x, float y) {
    log.push_back("mouse " + std::to_string(event) + " " + std::to_string(data) + " " +
                  std::to_string(static_cast<int>(x)) + " " + std::to_string(static_cast<int>(y)));
    if (onMouse) onMouse();
}

int RecordingDelegate::Count(const std::string& entry) const {
    return static_cast<int>(std::count(log.begin(), log.end(), entry));
}

int RecordingDelegate::Find(const std::string& entry, int from) const {
    for (int i = std::max(from, 0); i < static_cast<int>(log.size()); ++i)
        if (log[i] == entry) return i;
    return -1;
}

ZqTolvarGame* Host() {
    return host;
}

void RunHost(RecordingDelegate* delegate, double seconds, ZqTolvarGame* custom) {
    static const bool glfwStarted = glfw2::glfwInit() != 0;
    ASSERT_TRUE(glfwStarted);
    current = delegate;
    host = custom ? custom : new ZqTolvarGame();
    ZqGame::_game = host;
    ZqGlfwGame::_glfwGame = host;
    host->SetDelegate(delegate);
    finished = false;
    timedOut = false;
    deadline =
        std::chrono::steady_clock::now() + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                               std::chrono::duration<double>(seconds));
    host->Run();
    glfw2::glfwCloseWindow();
    delete host;
    host = nullptr;
    ZqGame::_game = nullptr;
    ZqGlfwGame::_glfwGame = nullptr;
}

void Finish() {
    finished = true;
    glfw2::glfwCloseWindow();
}

bool TimedOut() {
    return timedOut;
}
