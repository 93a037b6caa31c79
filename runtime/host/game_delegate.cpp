// c_GameDelegate: the framework's event handling.
#include "runtime/host/game_delegate.h"

#include "audio/tvx_audio.h"
#include "audio/zq_audio.h"
#include "graphics/tvx_graphics.h"
#include "graphics/zq_graphics.h"
#include "input/input_device.h"
#include "input/keys.h"
#include "input/zq_input.h"
#include "runtime/host/app.h"
#include "runtime/host/zq_app.h"

namespace {

// What the render device's BeginRender answers.
constexpr int kRenderDirect = 0;   // the application draws without the front end's frame
constexpr int kRenderLoading = 2;  // the device is loading: OnLoading stands in for OnRender

// Default font: the framework's own, starting at the space character.
constexpr int kDefaultFontFirstChar = 32;

}  // namespace

void c_GameDelegate::StartGame() {
    gc_assign(graphics, gc_new<tvxGraphics>());
    zq_graphics_SetGraphicsDevice(graphics);
    zq_graphics_SetFont(nullptr, kDefaultFontFirstChar);
    gc_assign(audio, gc_new<tvxAudio>());
    zq_audio_SetAudioDevice(audio);
    gc_assign(input, gc_new<c_InputDevice>()->m_new());
    zq_input_SetInputDevice(input);
    zq_app_ValidateDeviceWindow(false);
    zq_app_EnumDisplayModes();
    zq_app__app->p_OnCreate();
}

void c_GameDelegate::SuspendGame() {
    zq_app__app->p_OnSuspend();
    audio->Suspend();
}

void c_GameDelegate::ResumeGame() {
    audio->Resume();
    zq_app__app->p_OnResume();
}

void c_GameDelegate::UpdateGame() {
    zq_app_ValidateDeviceWindow(false);
    input->p_BeginUpdate();
    zq_app__app->p_OnUpdate();
    input->p_EndUpdate();
}

void c_GameDelegate::RenderGame() {
    zq_app_ValidateDeviceWindow(false);
    int mode = graphics->BeginRender();
    if (mode == kRenderDirect) {
        zq_app__app->p_OnRender();
    } else {
        zq_graphics_BeginRender();
        if (mode == kRenderLoading) {
            zq_app__app->p_OnLoading();
        } else {
            zq_app__app->p_OnRender();
        }
        zq_graphics_EndRender();
    }
    graphics->EndRender();
}

void c_GameDelegate::KeyEvent(int event, int data) {
    input->p_KeyEvent(event, data);
    if (event != 1) return;
    // Ends the application even when the key was already down.
    if (data == kKeyWindowClose) {
        zq_app__app->p_OnClose();
    } else if (data == kKeyBack) {
        zq_app__app->p_OnBack();
    }
}

void c_GameDelegate::MouseEvent(int event, int data, float x, float y) {
    input->p_MouseEvent(event, data, x, y);
}

void c_GameDelegate::TouchEvent(int event, int data, float x, float y) {
    input->p_TouchEvent(event, data, x, y);
}

void c_GameDelegate::MotionEvent(int event, int data, float x, float y, float z) {
    input->p_MotionEvent(event, data, x, y, z);
}

void c_GameDelegate::DiscardGraphics() {
    graphics->DiscardGraphics();
}

void c_GameDelegate::mark() {
    ZqGameDelegate::mark();
    gc_enqueue(graphics);
    gc_enqueue(audio);
    gc_enqueue(input);
}
