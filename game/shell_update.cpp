// The shell's update: the fixed order of work in every update (p_OnUpdate),
// the screen dispatch, and the play screen's overlay (p_InGame).
//
// All drawing happens here, into the display list; the render only replays
// it. Order matters: input is sampled before any screen reads it, the
// loader replaces the screen while it runs, and one-update virtual buttons
// are cleared only after everything has seen them.
#include <cmath>

#include "audio/zq_audio.h"
#include "game/my_app.h"
#include "game/records.h"
#include "input/keys.h"
#include "input/zq_input.h"
#include "net/async_event.h"
#include "runtime/host/zq_app.h"

namespace {

// Function keys, by their key codes.
constexpr int kKeyF1 = 112, kKeyF2 = 113, kKeyF4 = 115, kKeyF11 = 122;

// The actions whose release clears inputLatch, tested in this order.
constexpr int kLatchActions[] = {0, 3, 5, 8, 10, 11, 12, 13, 14, 15, 16, 17, 99};
constexpr int kActionBack = 99;

// Screen codes.
constexpr int kScreenMenu = 1, kScreenBackToMenu = 2, kScreenPlaying = 10, kScreenLevelStart = 11;

// The home fill meter's full value: play hands over to the level-complete screen.
constexpr float kHomeMeterFull = 64.0f;

constexpr int kSoundReturn = 96, kSoundPause = 98;
constexpr int kPauseImage = 97;

// 1 -> 0 and anything else -> 1.
int Toggle(int value) {
    return value == 0 ? 1 : 0;
}

}  // namespace

void c_MyApp::MeasureRate(int& millis, int& fps, int& average) {
    int now = zq_app_Millisecs();
    // Two callbacks in the same millisecond keep the previous rate.
    if (now - millis > 0) fps = 1000 / (now - millis);
    average = (fps + 9 * average) / 10;
    millis = zq_app_Millisecs();
}

void c_MyApp::p_OnUpdate() {
    // The virtual screen for the device size this update sees; a new size
    // re-arms the loader.
    ApplyScale(zq_app_DeviceWidth(), zq_app_DeviceHeight());
    // 1-2. Back key, function keys; F4 and the close key quit at once.
    padState[19] = zq_input_KeyHit(kKeyBack);
    if (zq_input_KeyHit(kKeyF1)) DebugMode = Toggle(DebugMode);
    if (zq_input_KeyHit(kKeyF2)) hudHidden = Toggle(hudHidden);
    if (zq_input_KeyHit(kKeyF11)) p_FullscreenFlip();
    if (zq_input_KeyHit(kKeyF4) || zq_input_KeyHit(kKeyWindowClose)) zq_app_EndApp();
    // 3. Completions of asynchronous operations (the statistics request).
    zq_asyncevent_UpdateAsyncEvents();
    // 4. The music follows the pause state.
    if (HasMusicStream == 1 && musicPlaying == 1) {
        if (paused != 0) {
            zq_audio_PauseMusic();
        } else {
            zq_audio_ResumeMusic();
        }
    }
    // 5-7.
    MeasureRate(updateMillis, updateFps, updateFpsAverage);
    SamplePointer();
    LatchActions();
    // 8-9. The current screen, or the loader instead of it.
    if (loaderStage == 0) RunScreen();
    if (loaderStage > 0) p_Loader();
    // 10. iCade characters; one-update virtual buttons end here.
    if (iCadeControls == 1) PollICade();
    for (int i = 0; i <= 18; ++i)
        if (padState[i] == 1) padState[i] = 0;
    // 11. The debug line.
    if (DebugMode == 1) {
        p_SetCol(255.0f, 255.0f, 255.0f, 1.0f);
        p_SetSize(1.0f);
        p_Text(16.0f, vscrh - 16.0f, String(renderFpsAverage) + ":" + String(scaleX) + "," + String(scaleY),
               0.0f, 0.0f, 0);
    }
    // 12.
    p_ShowBadges();
}

void c_MyApp::SamplePointer() {
    int w = zq_app_DeviceWidth(), h = zq_app_DeviceHeight();
    // The vertical margin scales with the window's aspect; a window without
    // width (minimised) has none.
    float marginY = w > 0 ? overscan * static_cast<float>(h) / static_cast<float>(w) : 0.0f;
    mouseX = static_cast<int>((zq_input_MouseX() - overscan) / scaleX);
    mouseY = static_cast<int>((zq_input_MouseY() - marginY) / scaleY);
    // A press seen since the last update counts for this update even when
    // the button is already up again: a click shorter than one update (a
    // touchpad's tap sends press and release together) is still a click.
    // The released pointer keeps the position of its press.
    pointerDown = zq_input_MouseDown(0) || zq_input_MouseHit(0) > 0 ? 1 : 0;
    for (int i = 0; i < 10; ++i) {
        touchDown[i] = 0;
        touchX[i] = touchY[i] = -3717;
        if (zq_input_TouchDown(i) || zq_input_KeyHit(kKeyTouchFirst + i) > 0) {
            touchDown[i] = 1;
            touchX[i] = static_cast<int>((zq_input_TouchX(i) - overscan) / scaleX);
            touchY[i] = static_cast<int>((zq_input_TouchY(i) - marginY) / scaleY);
            pointerDown = 1;
        }
    }
    if (pointerDown == 0) waitRelease = 0;
}

void c_MyApp::LatchActions() {
    bool held = false;
    for (int action : kLatchActions) {
        if (p_PlayKeyAll(action, 1) != 0) {
            held = true;
            break;
        }
    }
    if (!held) inputLatch = 0;
    // Back on the title screen closes an open options box or credits panel
    // (once per press).
    if (inputLatch == 0 && waitRelease == 0 && screenMode == kScreenMenu &&
        p_PlayKeyAll(kActionBack, 1) != 0 && (optionsOpen == 1 || creditsOpen == 1)) {
        creditsOpen = 0;
        inputLatch = 1;
        waitRelease = 1;
    }
    // The options box takes every press itself and closes itself.
    if (optionsOpen == 1) {
        inputLatch = 1;
        waitRelease = 1;
    }
}

void c_MyApp::RunScreen() {
    p_SFXHandle();
    switch (screenMode) {
        case kScreenMenu:
            p_Menu();
            break;
        case kScreenBackToMenu:
            p_LoadMenu();
            p_PlaySFX(kSoundReturn, 1.0f, 1.0f, 0.0f);
            screenMode = kScreenMenu;
            break;
        case kScreenPlaying:
            if (paused == 0) {
                if (player[rec::kPlayerHomeMeter] < kHomeMeterFull) p_Game();
                if (player[rec::kPlayerHomeMeter] >= kHomeMeterFull) p_LevelComplete();
            }
            p_InGame();
            break;
        case kScreenLevelStart:
            p_LoadGame();
            break;
        default:
            break;  // no other screen code is ever set
    }
    if (screenMode == kScreenMenu || screenMode == kScreenBackToMenu ||
        (screenMode == kScreenPlaying && gameOver != 0))
        p_GameOver();
    SlidePanels();
}

void c_MyApp::SlidePanels() {
    if (optionsOpen == 1 || optionsSlide > 0) {
        p_OptionBox();
        if (optionsOpen == 1) {
            if (optionsSlide < 30) ++optionsSlide;
        } else if (optionsSlide > 0) {
            --optionsSlide;
        }
    }
    if (creditsOpen == 0) {
        if (creditsSlide > 0.0f) {
            creditsSlide -= creditsSlide / 8.0f;
            if (creditsSlide < 8.0f) creditsSlide = 0.0f;
        }
    } else if (creditsOpen == 1) {
        float target = vscrw - 140.0f;
        creditsSlide += (target - creditsSlide) / 8.0f;
        if (std::abs(target - creditsSlide) < 8.0f) creditsSlide = target;
    }
}

// Only a level still in play pauses: over an ending banner none of the
// pause items could be used.
static bool CanPause(const c_MyApp* app) {
    return app->paused == 0 && app->gameOver == 0;
}

// Pauses the game: the pause menu opens with its first item and the pause
// sound.
static void OpenPause(c_MyApp* app) {
    app->paused = 1;
    app->pauseDir = 1;
    app->pauseItem = 0;
    app->p_PlaySFX(kSoundPause, 0.5f, 1.0f, 0.0f);
}

void c_MyApp::p_InGame() {
    p_ResetDraw();
    menuIntro = -32;
    if (p_PlayKeyAll(kActionBack, 1) != 0 && CanPause(this) && inputLatch == 0) {
        inputLatch = 1;
        OpenPause(this);
    }
    if (hudHidden == 0) {
        p_Alpha(inputKind == 2 ? 1.0f : 0.2f);
        p_DrawImg(kPauseImage, 16.0f, 16.0f, 0.0f);
        // The button's touch area: half its stored size each way.
        float halfW = static_cast<float>(imageInfo[kPauseImage * 3]) * imageScale * drawScaleX * 0.5f;
        float halfH = static_cast<float>(imageInfo[kPauseImage * 3 + 1]) * imageScale * drawScaleY * 0.5f;
        if (pointerDown != 0 && CanPause(this)) {
            for (int i = 0; i < 10; ++i) {
                if (touchDown[i] == 0) continue;
                if (std::abs(static_cast<float>(touchX[i]) - 16.0f) < halfW &&
                    std::abs(static_cast<float>(touchY[i]) - 16.0f) < halfH) {
                    waitRelease = 1;
                    OpenPause(this);
                    break;
                }
            }
        }
    }
    if (paused == 1) p_PauseMenu();
}
