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

}  // namespace

int c_MyApp::p_PauseMenu() {
    auto free = [this] { return waitRelease == 0 && inputLatch == 0; };
    auto held = [this](int action) { return p_PlayKeyAll(action, 1) != 0; };
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

    // The figure: keys reshape it while held, the pen moves on, the trail
    // keeps its last 101 points.
    const float reach = std::min(0.45f * vscrh, 0.45f * (vscrw - kFigureOffsetX));
    if (held(0)) orbitRadius -= 1;
    if (held(8)) orbitRadius += 1;
    if (held(3)) orbitSpeed -= 0.25f;
    if (held(5)) orbitSpeed += 0.25f;
    orbitRadius = std::clamp(orbitRadius, 0.0f, reach);
    orbitSpeed = std::clamp(orbitSpeed, 0.0f, kMaxOrbitSpeed);
    orbitOuterAngle = std::fmod(orbitOuterAngle + 1, 360.0f);
    orbitInnerAngle = std::fmod(orbitInnerAngle + orbitSpeed, 360.0f);
    const float outer = reach - orbitRadius;
    orbitTrail[2 * orbitTrailHead] =
        cx + SinDeg(orbitOuterAngle) * outer + SinDeg(orbitInnerAngle) * orbitRadius;
    orbitTrail[2 * orbitTrailHead + 1] =
        cy - CosDeg(orbitOuterAngle) * outer - CosDeg(orbitInnerAngle) * orbitRadius;
    orbitTrailHead = (orbitTrailHead + 1) % kTrailPoints;
    orbitTrailCount = std::min(orbitTrailCount + 1, kTrailPoints);

    p_SetSize(1);
    p_SetCol(100, 255, 100, 0.8f);
    const int oldest = (orbitTrailHead - orbitTrailCount + kTrailPoints) % kTrailPoints;
    for (int k = 0; k + 1 < orbitTrailCount; ++k) {
        const int a = (oldest + k) % kTrailPoints, b = (oldest + k + 1) % kTrailPoints;
        const float x1 = orbitTrail[2 * a], y1 = orbitTrail[2 * a + 1];
        const float x2 = orbitTrail[2 * b], y2 = orbitTrail[2 * b + 1];
        p_Line(x1, y1, x2, y2);
        p_Line(x1 - 0.5f, y1 - 0.5f, x2 - 0.5f, y2 - 0.5f);
    }
    p_SetCol(255, 255, 255, 1);
    p_Text(vscrw - 8, vscrh - 8, String(orbitRadius) + String(":") + String(orbitSpeed), 2, 2, 0);

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
        // words; the quit then only closes the panel.
        if (gameOver == 0) {
            gameOver = 1;
            gameOverReason = -1;
        }
        p_PlaySFX(98, 0.5f, 0.5f, 0);
    } else {
        optionsOpen = 1;
        optionsLatch = 1;  // the box ignores the press that opened it
        p_PlaySFX(99, 1, 1, 0);
    }
    return 0;
}
