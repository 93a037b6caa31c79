// Test support: the game in the real host, frame by frame (see
// game_harness.h).
#include "tests/game_support/game_harness.h"

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>

#include "audio/zq_audio.h"
#include "graphics/zq_graphics.h"
#include "input/input_device.h"
#include "input/keys.h"
#include "runtime/glfw2/glfw2.h"
#include "runtime/host/zq_app.h"
#include "runtime/lang/gc.h"

namespace {

// The host's update period at the game's 60 updates per second.
constexpr double kUpdatePeriod = 1.0 / 60.0;

}  // namespace

// ---- HarnessHost ------------------------------------------------------------

bool HarnessHost::PollJoystick(int unit, Array<float> stickX, Array<float> stickY, Array<float> trigger,
                               Array<bool> buttons) {
    auto it = pads.find(unit);
    if (it == pads.end()) return false;
    const ScriptedPad& pad = it->second;
    for (int i = 0; i < 2 && i < stickX.Length(); ++i) {
        stickX[i] = pad.stickX[i];
        stickY[i] = pad.stickY[i];
        trigger[i] = 0;
    }
    for (int b = 0; b < buttons.Length() && b < 32; ++b) buttons[b] = pad.buttons[b];
    return true;
}

int HarnessHost::GetDeviceWidth() {
    return forcedWidth >= 0 ? forcedWidth : ZqTolvarGame::GetDeviceWidth();
}

int HarnessHost::GetDeviceHeight() {
    return forcedHeight >= 0 ? forcedHeight : ZqTolvarGame::GetDeviceHeight();
}

// ---- GameHarness --------------------------------------------------------------

GameHarness::GameHarness() {
    Start(Options());
}

GameHarness::GameHarness(const Options& options) {
    Start(options);
}

void GameHarness::Start(const Options& options) {
    static const bool glfwStarted = glfw2::glfwInit() != 0;
    // Nothing can run without a window: stop with the reason.
    if (!glfwStarted) {
        std::fputs("GameHarness: glfwInit failed (is DISPLAY set?)\n", stderr);
        std::abort();
    }
    // The process start-up of ZqTolvarGame::Main, step by step.
    host_ = options.makeHost ? options.makeHost() : new HarnessHost();
    host_->state = options.savedState;
    ZqGame::_game = host_;
    ZqGlfwGame::_glfwGame = host_;
    if (!std::setlocale(LC_CTYPE, "en_US.UTF-8")) std::setlocale(LC_CTYPE, "");
    zqInit();
    gc_mark();
    app_ = gc_new<c_MyApp>()->m_new();
    // The frame loop's opening: the window, then the game's start.
    host_->SetGlfwWindow(options.width, options.height, 8, 8, 8, 0, 0, 0, false);
    if (!glfw2::glfwGetWindowParam(glfw2::GLFW_OPENED)) {
        std::fputs("GameHarness: the window did not open\n", stderr);
        std::abort();
    }
    host_->StartGame();
}

GameHarness::~GameHarness() {
    zq_audio_StopMusic();
    glfw2::glfwCloseWindow();
    delete host_;
    ZqGame::_game = nullptr;
    ZqGlfwGame::_glfwGame = nullptr;
}

void GameHarness::Step(int n) {
    for (int i = 0; i < n; ++i) {
        host_->RenderGame();
        glfw2::glfwSwapBuffers();
        clock_.now += kUpdatePeriod;
        host_->UpdateGame();
        ++updates_;
        if (onUpdate) onUpdate(updates_);
    }
}

bool GameHarness::StepUntil(const std::function<bool()>& done, int maxUpdates) {
    for (int i = 0; i < maxUpdates; ++i) {
        Step();
        if (done()) return true;
    }
    return false;
}

bool GameHarness::FinishLoading() {
    if (app_->loaderStage == 0) return true;
    return StepUntil([this] { return app_->loaderStage == 0; }, 60);
}

void GameHarness::Render() {
    host_->RenderGame();
    glfw2::glfwSwapBuffers();
}

void GameHarness::Press(int code) {
    host_->KeyEvent(kInputKeyDown, code);
    int character = KeyToChar(code);
    if (character != 0) host_->KeyEvent(kInputChar, character);
}

void GameHarness::Release(int code) {
    host_->KeyEvent(kInputKeyUp, code);
}

void GameHarness::Hold(int code, int updates) {
    Press(code);
    Step(updates);
    Release(code);
}

void GameHarness::Tap(int code) {
    Press(code);
    Step();
    Release(code);
    Step();
}

void GameHarness::TypeChar(int character) {
    host_->KeyEvent(kInputChar, character);
}

void GameHarness::MouseMove(float x, float y) {
    host_->MouseEvent(kInputMouseMove, -1, x, y);
}

void GameHarness::MouseDown(float x, float y, int button) {
    host_->MouseEvent(kInputMouseDown, button, x, y);
}

void GameHarness::MouseUp(float x, float y, int button) {
    host_->MouseEvent(kInputMouseUp, button, x, y);
}

void GameHarness::Click(float x, float y) {
    MouseDown(x, y);
    Step();
    MouseUp(x, y);
    Step();
}

float GameHarness::WindowX(float virtualX) const {
    return virtualX * app_->scaleX + overscan;
}

float GameHarness::WindowY(float virtualY) const {
    int w = host_->GetDeviceWidth(), h = host_->GetDeviceHeight();
    return virtualY * app_->scaleY + (w > 0 ? overscan * static_cast<float>(h) / static_cast<float>(w) : 0);
}

void GameHarness::ResizeWindow(int width, int height) {
    host_->SetDeviceWindow(width, height, 0);
}

void GameHarness::ForceDeviceSize(int width, int height) {
    host_->forcedWidth = width;
    host_->forcedHeight = height;
}

void GameHarness::Suspend() {
    host_->SuspendGame();
}

void GameHarness::Resume() {
    host_->ResumeGame();
}

std::vector<int> GameHarness::RecordsOfKind(float kind) const {
    std::vector<int> out;
    for (int i = 0; i < RecordCount(); ++i)
        if (Record(i, 0) == kind) out.push_back(i);
    return out;
}

std::string GameHarness::DrawnGlyphs(int slot) const {
    std::string out;
    for (int i : RecordsOfKind(static_cast<float>(slot))) {
        int frame = static_cast<int>(Record(i, 6));
        // Frames 1..95 are the printable characters; 96 on are icons.
        out += frame >= 1 && frame < 96 ? static_cast<char>(frame + 32) : '?';
    }
    return out;
}

bool GameHarness::ShowsText(const std::string& text, int slot) const {
    std::string needle;
    std::copy_if(text.begin(), text.end(), std::back_inserter(needle), [](char c) { return c != ' '; });
    return DrawnGlyphs(slot).find(needle) != std::string::npos;
}

std::vector<uint32_t> GameHarness::Screenshot(int* width, int* height) {
    host_->RenderGame();
    int w = host_->GetDeviceWidth(), h = host_->GetDeviceHeight();
    std::vector<uint32_t> pixels;
    if (w > 0 && h > 0 && zq_graphics_device) {
        Array<int> read(w * h);
        zq_graphics_device->ReadPixels(read, 0, 0, w, h, 0, w);
        pixels.resize(static_cast<size_t>(w) * h);
        for (int i = 0; i < w * h; ++i) pixels[i] = static_cast<uint32_t>(read[i]);
    }
    glfw2::glfwSwapBuffers();
    if (width) *width = w;
    if (height) *height = h;
    return pixels;
}
