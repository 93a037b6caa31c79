// c_GameDelegate: the framework's answer to the host's events. It creates
// the devices when the game starts, keeps the device size current, brackets
// each update with the input device and each render with the graphics front
// end, feeds window input to the input device, and calls the application's
// callbacks.
//
// Ownership: created once by c_App::m_new, kept alive by zq_app__delegate
// (and by the host's collector step). The three devices it creates are
// referenced from here and from their framework globals. Main thread only.
#pragma once

#include "runtime/lang/game.h"

class tvxGraphics;
class tvxAudio;
class c_InputDevice;

class c_GameDelegate : public ZqGameDelegate {
  public:
    tvxGraphics* graphics = nullptr;  // render device, from StartGame on
    tvxAudio* audio = nullptr;        // audio device, from StartGame on
    c_InputDevice* input = nullptr;   // input device, from StartGame on

    c_GameDelegate* m_new() { return this; }

    // Render device, default font, audio device, input device (in that
    // order), device size, display modes, then the application's OnCreate.
    void StartGame() override;
    void SuspendGame() override;
    void ResumeGame() override;
    void UpdateGame() override;
    void RenderGame() override;
    // Key down/up (1, 2) and characters (3); a key-down of the close key
    // (432) or the back key (416) ends the application.
    void KeyEvent(int event, int data) override;
    void MouseEvent(int event, int data, float x, float y) override;
    void TouchEvent(int event, int data, float x, float y) override;
    void MotionEvent(int event, int data, float x, float y, float z) override;
    void DiscardGraphics() override;

    void mark() override;
};
