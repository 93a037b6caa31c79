// ZqReplayHost (see replay_host.h).
#include "runtime/host/replay_host.h"

#include <cstdio>
#include <cstdlib>

#include "input/keys.h"
#include "runtime/glfw2/glfw2.h"
#include "runtime/host/options.h"
#include "runtime/lang/gc.h"

using namespace glfw2;

namespace {

bool watching = false;

// Key codes of the watching controls.
constexpr int kKeyPause = 32;     // Space
constexpr int kKeyFast = 39;      // Right
constexpr int kKeyStop = 27;      // Escape
constexpr int kFastFactor = 4;    // Right held: four times as fast
constexpr int kMaxBurst = 4;      // updates per frame at most (times the factor)
constexpr double kMaxLag = 0.25;  // seconds behind before the backlog is dropped

}  // namespace

bool zqReplayWatching() {
    return watching;
}

ZqReplayHost::ZqReplayHost(Mode mode, ZqReplayPlayer& player) : mode_(mode), player_(player) {
    watching = mode == Mode::Watch;
    const std::string& start = player.header().startState;
    const auto* bytes = reinterpret_cast<const uint8_t*>(start.data());
    if (!String::DecodeUtf8(bytes, static_cast<int>(start.size()), saved))
        saved = String::FromFileBytes(bytes, static_cast<int>(start.size()));
    player.Attach(this);
    // The game may read the start mode of the command line (full screen or
    // a window): the replayed one reads the recorded session's.
    ZqOptions options = zqOptions();
    options.startMode = static_cast<ZqOptions::StartMode>(player.header().startMode);
    zqSetOptions(options);
}

ZqReplayHost::~ZqReplayHost() {
    if (mode_ == Mode::Watch) watching = false;
}

void ZqReplayHost::Install() {
    ZqGame::_game = this;
    ZqGlfwGame::_glfwGame = this;
    zqInit();
    // Roots are queued before the application exists, as at program start.
    gc_mark();
}

int ZqReplayHost::Millisecs() {
    return player_.Clock();
}

bool ZqReplayHost::PollJoystick(int unit, Array<float> stickX, Array<float> stickY, Array<float> trigger,
                                Array<bool> buttons) {
    return player_.Joystick(unit, stickX, stickY, trigger, buttons);
}

ZqGlfwVideoMode* ZqReplayHost::GetGlfwDesktopMode() {
    int m[5];
    return player_.DesktopMode(m) ? gc_new<ZqGlfwVideoMode>(m[0], m[1], m[2], m[3], m[4]) : nullptr;
}

int ZqReplayHost::GetDeviceWidth() {
    if (mode_ == Mode::Headless || player_.inStep()) return player_.deviceWidth();
    return ZqTolvarGame::GetDeviceWidth();
}

int ZqReplayHost::GetDeviceHeight() {
    if (mode_ == Mode::Headless || player_.inStep()) return player_.deviceHeight();
    return ZqTolvarGame::GetDeviceHeight();
}

Array<ZqDisplayMode*> ZqReplayHost::GetDisplayModes() {
    return mode_ == Mode::Headless ? Array<ZqDisplayMode*>() : ZqTolvarGame::GetDisplayModes();
}

ZqDisplayMode* ZqReplayHost::GetDesktopMode() {
    return mode_ == Mode::Headless ? nullptr : ZqTolvarGame::GetDesktopMode();
}

int ZqReplayHost::SaveState(String state) {
    saved = state;
    ++saves;
    return 0;
}

String ZqReplayHost::LoadState() {
    return saved;
}

void ZqReplayHost::SetGlfwWindow(int width, int height, int redBits, int greenBits, int blueBits,
                                 int alphaBits, int depthBits, int stencilBits, bool fullscreen) {
    if (mode_ == Mode::Watch && !windowOpen_) {
        windowOpen_ = true;
        ZqTolvarGame::SetGlfwWindow(width, height, redBits, greenBits, blueBits, alphaBits, depthBits,
                                    stencilBits, fullscreen);
        return;
    }
    // The replayed game's own window switch: the watching window stays,
    // and the releases the live switch sent come from the recording.
    player_.DeliverInnerEvents();
}

void ZqReplayHost::KeyEvent(int event, int data) {
    if (event == 1 && data == kKeyPause) paused = !paused;
    if (data == kKeyFast) fast = event == 1;
    if (event == 1 && (data == kKeyStop || data == kKeyWindowClose)) stopped = true;
}

bool ZqReplayHost::Continue(ZqReplayPlayer::Outcome outcome) {
    using Outcome = ZqReplayPlayer::Outcome;
    switch (outcome) {
        case Outcome::Step:
            return true;
        case Outcome::Mismatch:
            if (!warned_)
                std::fprintf(stderr, "the replay departs from the recording at update %u\n",
                             player_.mismatchUpdate());
            warned_ = true;
            return !player_.ended();  // watching goes on to the recording's end
        case Outcome::Failed:
            std::fprintf(stderr, "%s: %s\n", label.c_str(), player_.error().c_str());
            std::exit(2);
        default:  // Ended, Finished
            return false;
    }
}

bool ZqReplayHost::PlayDueSteps(double& nextStep) {
    const int factor = fast ? kFastFactor : 1;
    const double now = glfwGetTime();
    int updates = 0;
    while (updates < kMaxBurst * factor && nextStep <= now) {
        ZqReplayPlayer::Outcome outcome = player_.RunNext();
        if (!Continue(outcome)) return false;
        if (outcome != ZqReplayPlayer::Outcome::Step || player_.lastStep() != zqreplay::Record::Kind::Update)
            continue;  // only updates take time
        ++updates;
        nextStep += 1.0 / (updateRate > 0 ? updateRate : 60) / factor;
    }
    if (nextStep < now - kMaxLag) nextStep = now;
    return true;
}

void ZqReplayHost::Run() {
    SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
    std::string why;
    if (!player_.Compatible(why)) {
        std::fprintf(stderr, "%s: %s\n", label.c_str(), why.c_str());
        std::exit(2);
    }
    double nextStep = glfwGetTime();
    while (glfwGetWindowParam(GLFW_OPENED) && !stopped) {
        // Before the recorded start the game is not started and nothing renders.
        RenderGame();
        glfwSwapBuffers();
        double delay = paused ? 1.0 / 60 : nextStep - glfwGetTime();
        if (delay > 0) glfwSleep(delay);
        glfwPollEvents();
        if (stopped) break;
        if (paused) {
            nextStep = glfwGetTime();
            continue;
        }
        if (!PlayDueSteps(nextStep)) break;
    }
}
