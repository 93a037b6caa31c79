// The runtime's showcase: a field of sprites from the generated data drawn
// through the graphics front end, with live statistics, sound, music, full
// screen switching, click bursts and the first joystick's state. It proves
// the layers work together in a real window and doubles as a rendering
// stress tool (Up/Down take it from 0 to 2,499 sprites).
//
// Controls: Up/Down sprite count, Space a random sound effect, M the tune on
// and off, F11 full screen, click a burst, Escape or closing the window quits.
//
// Collected: every image, sound and array it holds is stored with gc_assign
// and queued by mark(); the application object itself is a root.
#pragma once

#include "audio/zq_audio.h"
#include "graphics/image.h"
#include "runtime/host/app.h"
#include "tools/showcase/sprite_field.h"

class c_ShowcaseApp : public c_App {
  public:
    c_ShowcaseApp* m_new();

    void p_OnCreate() override;
    void p_OnUpdate() override;
    void p_OnRender() override;
    void mark() override;

  private:
    void HandleKeys();
    void SetCountStep(int step);
    void MeasureRates();
    void DrawBackground();
    void DrawSprites();
    void DrawSprite(const Sprite& s);
    void DrawBurst();
    void DrawShapes();
    void DrawJoystick(float x, float y);
    void DrawOverlay();
    // Writes text glyph by glyph from the current font, left-aligned.
    void DrawText(const char* text, float x, float y);

    c_Image* gfx_ = nullptr;     // bugs: bodies 0-7, wings 8-13
    c_Image* parts_ = nullptr;   // 256 star shapes
    c_Image* cube_ = nullptr;    // the 64-frame pickup
    c_Image* circle_ = nullptr;  // a soft disc, also the textured polygon's texture
    Array<c_Sound*> sounds_;     // the loaded effects; nulls for any that failed

    SpriteField field_;
    int countStep_ = 3;
    bool musicOn_ = false;
    bool fullscreen_ = false;
    int nextChannel_ = 0;

    int updates_ = 0;  // since the start of the current second
    int renders_ = 0;
    int ups_ = 0;  // the last whole second's rates
    int fps_ = 0;
    int rateStart_ = 0;  // milliseconds
    int seconds_ = 0;    // whole seconds measured
    int ticks_ = 0;      // updates since start: drives the background
};
