#include "tools/showcase/showcase_app.h"

#include <cmath>
#include <cstdio>

#include "graphics/graphics_context.h"
#include "graphics/zq_graphics.h"
#include "input/zq_input.h"
#include "runtime/host/glfw_game.h"
#include "runtime/host/zq_app.h"
#include "runtime/lang/errors.h"

namespace {

// Sprite counts the Up and Down keys step through.
constexpr int kCountSteps[] = {0, 50, 100, 250, 500, 1000, 1500, 2000, 2499};
constexpr int kCountStepCount = sizeof kCountSteps / sizeof kCountSteps[0];

// Key codes of the runtime.
constexpr int kKeyUp = 38, kKeyDown = 40, kKeySpace = 32, kKeyM = 77, kKeyF11 = 122, kKeyEscape = 27;

// The generated sound effects, by number.
constexpr int kSoundIds[] = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17, 18,
                             19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 95, 96, 98, 99};
constexpr int kSoundCount = sizeof kSoundIds / sizeof kSoundIds[0];
constexpr int kEffectChannels = 8;  // effects rotate over channels 0..7
constexpr int kReportSeconds = 5;   // between console reports of the rates

constexpr float kDesignWidth = SpriteField::kWidth;
constexpr float kDesignHeight = SpriteField::kHeight;

}  // namespace

c_ShowcaseApp* c_ShowcaseApp::m_new() {
    c_App::m_new();
    return this;
}

void c_ShowcaseApp::mark() {
    c_App::mark();
    gc_enqueue(gfx_);
    gc_enqueue(parts_);
    gc_enqueue(cube_);
    gc_enqueue(circle_);
    gc_enqueue(sounds_);
}

void c_ShowcaseApp::p_OnCreate() {
    zq_app_SetUpdateRate(60);
    gc_assign(gfx_, zq_graphics_LoadImage2("gfx.png", 16, 16, 16, c_Image::CentreHandle));
    gc_assign(parts_, zq_graphics_LoadImage2("parts.png", 8, 8, 256, c_Image::CentreHandle));
    gc_assign(cube_, zq_graphics_LoadImage2("cube.png", 32, 32, 64, c_Image::CentreHandle));
    gc_assign(circle_, zq_graphics_LoadImage2("circle.png", 256, 256, 1, c_Image::CentreHandle));
    Array<c_Sound*> sounds(kSoundCount);
    for (int i = 0; i < kSoundCount; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "sfx/%03d.wav", kSoundIds[i]);
        sounds[i] = zq_audio_LoadSound(String(name));
    }
    gc_assign(sounds_, sounds);
    SetCountStep(countStep_);
    rateStart_ = zq_app_Millisecs();
}

void c_ShowcaseApp::SetCountStep(int step) {
    countStep_ = step;
    field_.SetCount(kCountSteps[step]);
    // One line per change, for whoever watches the console (and the tests).
    zqPrint(String("showcase: sprites ") + String(field_.Count()));
}

void c_ShowcaseApp::HandleKeys() {
    if (zq_input_KeyHit(kKeyEscape)) zq_app_EndApp();
    int step = countStep_;
    if (zq_input_KeyHit(kKeyUp) && step < kCountStepCount - 1) ++step;
    if (zq_input_KeyHit(kKeyDown) && step > 0) --step;
    if (step != countStep_) SetCountStep(step);

    if (zq_input_KeyHit(kKeySpace) && sounds_.Length() > 0) {
        zq_audio_PlaySound(sounds_[RandomBelow(sounds_.Length())], nextChannel_, 0);
        nextChannel_ = (nextChannel_ + 1) % kEffectChannels;
    }
    if (zq_input_KeyHit(kKeyM)) {
        musicOn_ = !musicOn_;
        if (musicOn_) {
            musicOn_ = zq_audio_PlayMusic("sfx/driftwood.ogg", 1) == 0;
        } else {
            zq_audio_StopMusic();
        }
    }
    if (zq_input_KeyHit(kKeyF11)) {
        fullscreen_ = !fullscreen_;
        int w = 640, h = 480;
        if (fullscreen_ && zq_app__desktopMode) {
            w = zq_app__desktopMode->width;
            h = zq_app__desktopMode->height;
        }
        ZqGlfwGame::_glfwGame->SetGlfwWindow(w, h, 8, 8, 8, 0, 0, 0, fullscreen_);
        zqPrint(String(fullscreen_ ? "showcase: full screen " : "showcase: window ") + String(w) + "x" +
                String(h));
    }
    if (zq_input_MouseHit(0)) {
        // Pointer in window pixels -> design-screen pixels.
        float scale = std::fmin(zq_app_DeviceWidth() / kDesignWidth, zq_app_DeviceHeight() / kDesignHeight);
        if (scale > 0) {
            float ox = (zq_app_DeviceWidth() - kDesignWidth * scale) / 2;
            float oy = (zq_app_DeviceHeight() - kDesignHeight * scale) / 2;
            field_.SpawnBurst((zq_input_MouseX() - ox) / scale, (zq_input_MouseY() - oy) / scale);
        }
    }
}

void c_ShowcaseApp::MeasureRates() {
    int now = zq_app_Millisecs();
    if (now - rateStart_ >= 1000) {
        ups_ = updates_;
        fps_ = renders_;
        updates_ = renders_ = 0;
        rateStart_ = now;
        // A console line every few seconds, for stress runs without a screen.
        if (++seconds_ % kReportSeconds == 0) {
            zqPrint(String("showcase: ") + String(field_.Count()) + " sprites, " + String(ups_) +
                    " updates/s, " + String(fps_) + " renders/s, " +
                    String(zq_graphics_FrameStats().drawCalls) + " draw calls");
        }
    }
}

void c_ShowcaseApp::p_OnUpdate() {
    ++updates_;
    ++ticks_;
    MeasureRates();
    HandleKeys();
    field_.Update();
}

void c_ShowcaseApp::p_OnRender() {
    ++renders_;
    // Letterbox the 640 x 480 design screen into the window, whatever its size.
    float w = static_cast<float>(zq_app_DeviceWidth()), h = static_cast<float>(zq_app_DeviceHeight());
    float scale = std::fmin(w / kDesignWidth, h / kDesignHeight);
    zq_graphics_SetColor(0, 0, 0);
    zq_graphics_DrawRect(0, 0, w, h);
    zq_graphics_Translate((w - kDesignWidth * scale) / 2, (h - kDesignHeight * scale) / 2);
    zq_graphics_Scale(scale, scale);

    DrawBackground();
    DrawShapes();
    DrawSprites();
    DrawBurst();
    DrawOverlay();
}

void c_ShowcaseApp::DrawBackground() {
    float t = static_cast<float>(ticks_) / 600.0f;
    zq_graphics_SetColor(40 + 30 * std::sin(t), 50 + 30 * std::sin(t * 1.3f + 2),
                         90 + 40 * std::sin(t * 0.7f + 4));
    zq_graphics_SetAlpha(1);
    zq_graphics_DrawRect(0, 0, kDesignWidth, kDesignHeight);
    // Soft horizontal bands drifting down.
    for (int i = 0; i < 8; ++i) {
        float y = std::fmod(static_cast<float>(ticks_) * 0.3f + i * 60.0f, kDesignHeight + 60) - 60;
        zq_graphics_SetColor(255, 255, 255);
        zq_graphics_SetAlpha(0.04f);
        zq_graphics_DrawRect(0, y, kDesignWidth, 30);
    }
    zq_graphics_SetAlpha(1);
}

void c_ShowcaseApp::DrawShapes() {
    float t = static_cast<float>(ticks_) / 60.0f;
    // Ovals breathing in the corners.
    zq_graphics_SetColor(250, 200, 80);
    zq_graphics_SetAlpha(0.5f);
    zq_graphics_DrawEllipse(80, 400, 40 + 10 * std::sin(t), 30 + 10 * std::cos(t));
    zq_graphics_SetColor(90, 220, 250);
    zq_graphics_DrawEllipse(560, 400, 30 + 10 * std::cos(t * 1.5f), 40 + 10 * std::sin(t * 1.5f));
    // A turning fan of lines.
    zq_graphics_SetColor(255, 255, 255);
    zq_graphics_SetAlpha(0.6f);
    for (int i = 0; i < 12; ++i) {
        float a = t + i * 0.5235988f;
        zq_graphics_DrawLine(320, 240, 320 + 200 * std::cos(a), 240 + 200 * std::sin(a));
    }
    // A textured polygon: a slowly turning hexagon cut from the planet disc.
    if (circle_) {
        Array<float> verts(6 * 4);
        for (int i = 0; i < 6; ++i) {
            float a = t * 0.5f + i * 1.0471976f;
            verts[i * 4 + 0] = 320 + 70 * std::cos(a);
            verts[i * 4 + 1] = 240 + 70 * std::sin(a);
            verts[i * 4 + 2] = 128 + 127 * std::cos(a);
            verts[i * 4 + 3] = 128 + 127 * std::sin(a);
        }
        zq_graphics_SetColor(120, 255, 160);
        zq_graphics_SetAlpha(0.8f);
        zq_graphics_DrawPoly2(verts, circle_, 0);
    }
    zq_graphics_SetAlpha(1);
}

void c_ShowcaseApp::DrawSprites() {
    if (!gfx_ || !parts_ || !cube_) return;
    // One pass per kind, so each pass draws from one texture and the render
    // device can batch it into a handful of draw calls.
    for (SpriteKind kind : {SpriteKind::Star, SpriteKind::Pickup, SpriteKind::Bug}) {
        for (int i = 0; i < field_.Count(); ++i) {
            const Sprite& s = field_.At(i);
            if (s.kind == kind) DrawSprite(s);
        }
    }
    zq_graphics_SetAlpha(1);
}

void c_ShowcaseApp::DrawSprite(const Sprite& s) {
    float pulse = 1.0f + 0.15f * std::sin(s.phase);
    float fade = std::sin(s.phase * 0.5f);
    zq_graphics_SetAlpha(0.55f + 0.45f * fade * fade);
    switch (s.kind) {
        case SpriteKind::Bug: {
            // Wings flap under the body; rotation 0 faces up.
            int wing = 8 + static_cast<int>(s.phase * 6) % 6;
            zq_graphics_SetColor(255, 255, 255);
            zq_graphics_DrawImage2(gfx_, s.x, s.y, -s.angle, s.scale, s.scale, wing);
            zq_graphics_DrawImage2(gfx_, s.x, s.y, -s.angle, s.scale, s.scale, s.variant);
            break;
        }
        case SpriteKind::Star:
            zq_graphics_SetColor(255, 240 - (s.variant % 5) * 20, 180 + (s.variant % 3) * 30);
            zq_graphics_DrawImage2(parts_, s.x, s.y, s.angle, s.scale * pulse, s.scale * pulse, s.variant);
            break;
        case SpriteKind::Pickup:
            zq_graphics_SetColor(255, 255, 255);
            zq_graphics_DrawImage2(cube_, s.x, s.y, s.angle * 0.2f, s.scale * pulse, s.scale * pulse,
                                   (s.variant + ticks_ / 2) % 64);
            break;
    }
}

void c_ShowcaseApp::DrawBurst() {
    if (!parts_) return;
    zq_graphics_SetBlend(1);  // additive: bursts glow over the field
    for (int i = 0; i < SpriteField::kMaxBurst; ++i) {
        const BurstStar& b = field_.Burst()[i];
        if (b.life == 0) continue;
        zq_graphics_SetColor(b.r, b.g, b.b);
        zq_graphics_SetAlpha(b.life > 40 ? 1.0f : b.life / 40.0f);
        zq_graphics_DrawImage2(parts_, b.x, b.y, 0, 1.5f, 1.5f, b.frame);
    }
    zq_graphics_SetBlend(0);
    zq_graphics_SetAlpha(1);
}

void c_ShowcaseApp::DrawJoystick(float x, float y) {
    zq_graphics_SetColor(0, 0, 0);
    zq_graphics_SetAlpha(0.5f);
    zq_graphics_DrawRect(x, y, 150, 56);
    zq_graphics_SetAlpha(1);
    for (int stick = 0; stick < 2; ++stick) {
        float cx = x + 24 + stick * 50, cy = y + 28;
        zq_graphics_SetColor(90, 90, 110);
        zq_graphics_DrawEllipse(cx, cy, 20, 20);
        zq_graphics_SetColor(255, 220, 90);
        // Up on a stick is positive: draw it upwards.
        zq_graphics_DrawEllipse(cx + 18 * zq_input_JoyX(stick, 0), cy - 18 * zq_input_JoyY(stick, 0), 4, 4);
    }
    for (int b = 0; b < 16; ++b) {
        bool down = zq_input_JoyDown(b, 0);
        zq_graphics_SetColor(down ? 120 : 60, down ? 255 : 60, down ? 140 : 70);
        zq_graphics_DrawRect(x + 104 + (b % 4) * 11, y + 6 + (b / 4) * 12, 9, 10);
    }
}

void c_ShowcaseApp::DrawOverlay() {
    zq_graphics_SetColor(0, 0, 0);
    zq_graphics_SetAlpha(0.55f);
    zq_graphics_DrawRect(4, 4, 250, 66);
    zq_graphics_SetColor(255, 255, 255);
    zq_graphics_SetAlpha(1);
    // The statistics of the last completed frame.
    tvxFrameStats stats = zq_graphics_FrameStats();
    char line[96];
    std::snprintf(line, sizeof line, "Sprites %d", field_.Count());
    DrawText(line, 10, 8);
    std::snprintf(line, sizeof line, "Updates %d/s  Renders %d/s", ups_, fps_);
    DrawText(line, 10, 22);
    std::snprintf(line, sizeof line, "Draw calls %d  Binds %d", stats.drawCalls, stats.textureBinds);
    DrawText(line, 10, 36);
    std::snprintf(line, sizeof line, "Vertices %d", stats.vertices);
    DrawText(line, 10, 50);
    DrawJoystick(484, 4);
}

void c_ShowcaseApp::DrawText(const char* text, float x, float y) {
    c_Image* font = zq_graphics_context->font;
    if (!font) return;
    int advance = font->p_Width();
    for (const char* p = text; *p; ++p, x += advance) {
        int frame = static_cast<unsigned char>(*p) - zq_graphics_context->firstChar;
        if (frame >= 0 && frame < font->p_Frames()) zq_graphics_DrawImage(font, x, y, frame);
    }
}
