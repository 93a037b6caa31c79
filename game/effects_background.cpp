// The background operation that opens every frame's drawing: the window
// colour eases towards a target, and the display list and draw state start
// afresh. Shared by every screen (gameplay, menus, pause, loader).
// Main thread only.
#include <algorithm>

#include "game/my_app.h"

namespace {

// The value that means "not given" for a colour component or the alpha.
constexpr int kKeep = -123;

float Ease(float current, float target) {
    return current - (current - target) * 0.125f;
}

}  // namespace

int c_MyApp::p_DoBG(int red, int green, int blue, float alpha) {
    // A component below -122 keeps its previous target, so a screen can keep
    // fading towards a colour without restating it.
    if (red >= -122) bgTargetRed = static_cast<float>(red);
    if (green >= -122) bgTargetGreen = static_cast<float>(green);
    if (blue >= -122) bgTargetBlue = static_cast<float>(blue);
    bgRed = Ease(bgRed, bgTargetRed);
    bgGreen = Ease(bgGreen, bgTargetGreen);
    bgBlue = Ease(bgBlue, bgTargetBlue);
    float a = alpha == static_cast<float>(kKeep) ? 1.0f : std::clamp(alpha, 0.0f, 1.0f);
    clearRed = bgRed;
    clearGreen = bgGreen;
    clearBlue = bgBlue;
    clearAlpha = a;
    // The same clearing as a frame start without a colour: view, draw state
    // and an empty display list.
    p_CLS2D(-3717.0f, -3717.0f, -3717.0f, -3717.0f);
    return 0;
}
