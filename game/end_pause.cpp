// The pause screen, one update per call while `paused` is 1: the panel
// slides in and out, "PAUSED" and a line figure (a pen on two turning arms
// whose trail the player reshapes with the direction keys), and the resume,
// quit and options items, by pointer or keys.
//
// Presses obey the two latches as the menus do: an item is taken only while
// waitRelease and inputLatch are both 0, and each accepted press sets both.
// So the press that paused the game (p_InGame latches it) never closes the
// panel in the update it opened. The figure's keys act every update while
// held. Main thread only.
#include <algorithm>
#include <cmath>

#include "game/degrees.h"
#include "game/my_app.h"

namespace {

constexpr int kSlideStep = 24;     // pixels per update
constexpr int kClosedBelow = -32;  // closing ends once the slide is below this
constexpr int kGoneBelow = -63;    // a slide already below this is closed at once
constexpr int kQuitSlide = -64;
constexpr float kFigureOffsetX = 96;  // figure and heading sit right of the items
constexpr int kTrailPoints = 101;
constexpr float kMaxOrbitSpeed = 128;

// Items, top to bottom, at their fully open places (virtual pixels).
constexpr int kItemQuit = -1, kItemResume = 0, kItemOptions = 1, kNoItem = -2;
constexpr float kItemX = 64;
constexpr float kQuitY = 124, kResumeY = 196, kOptionsY = 284;

constexpr int kIcons = 97, kButtons = 95;
constexpr int kResumeFrame = 3, kQuitFrame = 1, kMarkerFrame = 6;
constexpr int kGearFrame = 8;  // frames 8, 9, 10: the gear's three layers

bool Held(c_MyApp& a, int action) {
    return a.p_PlayKeyAll(action, 1) != 0;
}

// The line figure beside "PAUSED": a pen on two arms turning about (cx,
// cy), reshaped by the direction keys every update while they are held; its
// last 101 points are joined by lines, each drawn twice for thickness.
void PauseFigure(c_MyApp& a, float cx, float cy) {
    const float reach = std::min(0.45f * vscrh, 0.45f * (vscrw - kFigureOffsetX));
    if (Held(a, 0)) a.orbitRadius -= 1;
    if (Held(a, 8)) a.orbitRadius += 1;
    if (Held(a, 3)) a.orbitSpeed -= 0.25f;
    if (Held(a, 5)) a.orbitSpeed += 0.25f;
    a.orbitRadius = std::clamp(a.orbitRadius, 0.0f, reach);
    a.orbitSpeed = std::clamp(a.orbitSpeed, 0.0f, kMaxOrbitSpeed);
    a.orbitOuterAngle = std::fmod(a.orbitOuterAngle + 1, 360.0f);
    a.orbitInnerAngle = std::fmod(a.orbitInnerAngle + a.orbitSpeed, 360.0f);
    const float outer = reach - a.orbitRadius;
    a.orbitTrail[2 * a.orbitTrailHead] =
        cx + SinDeg(a.orbitOuterAngle) * outer + SinDeg(a.orbitInnerAngle) * a.orbitRadius;
    a.orbitTrail[2 * a.orbitTrailHead + 1] =
        cy - CosDeg(a.orbitOuterAngle) * outer - CosDeg(a.orbitInnerAngle) * a.orbitRadius;
    a.orbitTrailHead = (a.orbitTrailHead + 1) % kTrailPoints;
    a.orbitTrailCount = std::min(a.orbitTrailCount + 1, kTrailPoints);

    a.p_SetSize(1);
    a.p_SetCol(100, 255, 100, 0.8f);
    const int oldest = (a.orbitTrailHead - a.orbitTrailCount + kTrailPoints) % kTrailPoints;
    for (int k = 0; k + 1 < a.orbitTrailCount; ++k) {
        const int from = (oldest + k) % kTrailPoints, to = (oldest + k + 1) % kTrailPoints;
        const float x1 = a.orbitTrail[2 * from], y1 = a.orbitTrail[2 * from + 1];
        const float x2 = a.orbitTrail[2 * to], y2 = a.orbitTrail[2 * to + 1];
        a.p_Line(x1, y1, x2, y2);
        a.p_Line(x1 - 0.5f, y1 - 0.5f, x2 - 0.5f, y2 - 0.5f);
    }
    a.p_SetCol(255, 255, 255, 1);
    a.p_Text(vscrw - 8, vscrh - 8, String(a.orbitRadius) + String(":") + String(a.orbitSpeed), 2, 2, 0);
}

}  // namespace

int c_MyApp::p_PauseMenu() {
    auto free = [this] { return waitRelease == 0 && inputLatch == 0; };
    auto held = [this](int action) { return Held(*this, action); };
    auto accept = [this] { waitRelease = inputLatch = 1; };

    p_DoBG(-123, -123, -123, -123.0f);
    p_SetCol(0, 0, 0, std::abs(pauseSlide) / (0.8f * vscrh));
    p_Rect(-1, -1, vscrw + 2, vscrh + 2);

    // Slide: open to half the screen's height; once closed, play resumes.
    if (pauseDir == 1) {
        pauseSlide = std::min(pauseSlide + kSlideStep, static_cast<int>(vscrh / 2));
    } else if (pauseDir == -1) {
        if (pauseSlide < kGoneBelow) {
            paused = 0;
        } else {
            pauseSlide -= kSlideStep;
            if (pauseSlide < kClosedBelow) paused = 0;
        }
    }

    const float cx = vscrw / 2 + kFigureOffsetX, cy = vscrh / 2;
    p_ResetDraw();
    p_SetSize(3);
    p_Text(cx, cy, String("PAUSED"), 1, 1, 0);

    PauseFigure(*this, cx, cy);

    // Items slide in from the left with the panel.
    const float x = kItemX + pauseSlide - static_cast<int>(vscrh / 2);
    p_SetSize(2);
    const bool resumeTouched = p_Button(kIcons, x, kResumeY, kResumeFrame);
    const bool quitTouched = p_Button(kIcons, x, kQuitY, kQuitFrame);
    p_SetSize(1);
    if (optionsOpen == 0) pauseGearAngle = std::fmod(pauseGearAngle + 0.2f, 360.0f);
    drawRotation = -pauseGearAngle;
    const bool gearTouched = p_Button(kButtons, x, kOptionsY, kGearFrame);
    drawRotation = 2 * pauseGearAngle;
    p_DrawImg(kButtons, x, kOptionsY, kGearFrame + 1);
    drawRotation = -4 * pauseGearAngle;
    p_DrawImg(kButtons, x, kOptionsY, kGearFrame + 2);
    drawRotation = 0;
    const float markerY = pauseItem == kItemQuit ? kQuitY : pauseItem == kItemOptions ? kOptionsY : kResumeY;
    p_DrawImg(kIcons, x - 48, markerY, kMarkerFrame);

    // One press at a time: a touch on an item, back (resume), button 10 on
    // the highlighted item, or up and down to move the highlight.
    if (!free()) return 0;
    int take = kNoItem;
    if (resumeTouched || held(99)) {
        take = kItemResume;
    } else if (quitTouched) {
        take = kItemQuit;
    } else if (gearTouched) {
        take = kItemOptions;
    } else if (held(10)) {
        take = pauseItem;
    } else if (held(0) || held(8)) {
        accept();
        const int step = held(0) ? -1 : 1;
        const int moved = std::clamp(pauseItem + step, kItemQuit, kItemOptions);
        if (moved != pauseItem) p_PlaySFX(99, step < 0 ? 0.8f : 1.2f, 0.5f, 0);
        pauseItem = moved;
    }
    if (take == kNoItem) return 0;
    accept();
    if (take == kItemResume) {
        pauseDir = -1;
        p_PlaySFX(98, 1, 0.5f, 0);
    } else if (take == kItemQuit) {
        pauseDir = -1;
        pauseSlide = kQuitSlide;
        // An ending already decided (a failure whose banner runs) keeps its
        // words; the quit then only closes the panel. A quit always scores
        // 0, also during the level-complete count: what the count had
        // gathered is dropped, and with the level ended no flyer adds more.
        if (gameOver == 0) {
            gameOver = 1;
            gameOverReason = -1;
            lastResult = 0;
        }
        p_PlaySFX(98, 0.5f, 0.5f, 0);
    } else {
        optionsOpen = 1;
        optionsLatch = 1;  // the box ignores the press that opened it
        p_PlaySFX(99, 1, 1, 0);
    }
    return 0;
}
