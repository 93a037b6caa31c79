// The shell's start-up and its answers to losing and regaining the
// foreground.
//
// p_OnCreate runs once, from the framework delegate's StartGame, after the
// render, audio and input devices exist; it leaves the loader armed
// (loaderStage 1) so that the first updates load the assets and the title
// screen follows.
#include "audio/zq_audio.h"
#include "game/my_app.h"
#include "runtime/host/options.h"
#include "runtime/host/zq_app.h"

void c_MyApp::p_OnCreate() {
    inputKind = 0;
    loopIndex = 0;
    fullscreenState = 0;
    // --fullscreen: this run starts as if F11 had been pressed, before the
    // device size is read below, so the loader picks the full-screen tier
    // at once. The window mode is not saved, so nothing else changes.
    if (zqOptions().startMode == ZqOptions::StartMode::Fullscreen) p_FullscreenFlip();
    logoJingleDone = 0;
    jumpToBest = 1;
    wheelTarget = -32.0f;
    if (Stats_Allow == 1) p_GetURL(Stats_Endpoint, String("hello=1&gameID=") + String(GameNum));
    screenMode = 1;
    zq_app_SetUpdateRate(60);
    lastDeviceWidth = zq_app_DeviceWidth();
    lastDeviceHeight = zq_app_DeviceHeight();
    p_Reload();
    currentLevel = 2;
    menuIntro = -32;
    keyRepeat = 50;
    paused = 0;
    pauseDir = -1;
    pauseSlide = -64;
    for (int i = 0; i < 15; ++i) badgeToastId[i] = badgeToastTimer[i] = 0;
    for (int i = 0; i < 128; ++i) badges[i] = false;
    ClearPadButtons();
    for (int i = 0; i < 25; ++i) settings[i] = 0;
    settings[5] = 1;  // sound mode: effects and music
    for (int i = 0; i <= 1000; ++i) scores[i] = 0;
    p_Load();
    for (int i = 0; i < 33; ++i) channelMap[i] = i;
}

// The pause rule shared by suspend and resume: leaving play (screen 10 and
// above) for the background always comes back in the pause menu, opened on
// its resume item like every other pause, so that Enter on return resumes;
// on the menus nothing is paused. A level that has already ended (its banner
// runs) is not paused: none of the pause items could act on it.
static void PauseForBackground(c_MyApp* app) {
    if (app->screenMode < 10) {
        app->paused = app->pauseDir = app->pauseSlide = 0;
    } else if (app->gameOver == 0) {
        app->paused = 1;
        app->pauseDir = 1;
        app->pauseSlide = static_cast<int>(vscrh * 0.5f);
        app->pauseItem = 0;
    }
}

void c_MyApp::p_OnSuspend() {
    zq_app__game->SetKeyboardEnabled(false);
    iCadeControls = 0;
    ClearPadButtons();
    PauseForBackground(this);
    zq_app_SetUpdateRate(5);
    p_Save();
}

void c_MyApp::p_OnResume() {
    PauseForBackground(this);
    zq_app_SetUpdateRate(60);
    zq_app__game->SetKeyboardEnabled(false);
    iCadeControls = 0;
    ClearPadButtons();
}
