// The loader screen: one frame of the logo between three rings of spinning
// dots (blue outside, two orange inside) over black, and "Loading..." near
// the bottom. Drawn by the loader after every load step.
#include "game/degrees.h"
#include "game/my_app.h"

namespace {

constexpr int kLogoSlot = 93;
constexpr int kDotsPerRing = 11;
constexpr float kDotStep = 4.0f;  // degrees between the dots of a ring

struct Ring {
    float red, green, blue;
    float dotRadius;
    float radius;       // share of loaderSize
    float startOffset;  // degrees ahead of spinnerAngle
};

constexpr Ring kBlueRing = {0.0f, 125.0f, 255.0f, 16.0f, 0.45f, 0.0f};
constexpr Ring kOrangeRings[] = {
    {255.0f, 125.0f, 0.0f, 12.0f, 0.4f, 120.0f},
    {255.0f, 125.0f, 0.0f, 8.0f, 0.35f, 240.0f},
};

// The dots fade in along the ring: dot j has alpha j / 10.
void DrawRing(c_MyApp* app, const Ring& ring) {
    const float radius = static_cast<float>(app->loaderSize) * ring.radius;
    for (int j = 0; j < kDotsPerRing; ++j) {
        app->p_SetCol(ring.red, ring.green, ring.blue, static_cast<float>(j) / 10.0f);
        float a = static_cast<float>(app->spinnerAngle) + ring.startOffset + kDotStep * static_cast<float>(j);
        app->p_Oval(vscrw / 2.0f + SinDeg(a) * radius, vscrh / 2.0f - CosDeg(a) * radius, ring.dotRadius,
                    ring.dotRadius);
    }
}

}  // namespace

int c_MyApp::p_WaitStart(int spinner) {
    p_DoBG(0, 0, 0, 1.0f);
    loaderSize = static_cast<int>(vscrw < vscrh ? vscrw : vscrh);
    spinnerAngle += 3;
    if (spinner == 1) DrawRing(this, kBlueRing);
    p_ResetDraw();
    p_SetSize(2.0f, 2.0f);
    p_DrawImg(kLogoSlot, vscrw / 2.0f, vscrh * 0.48f, 0.0f);
    p_SetSize(1.0f, 1.0f);
    if (spinner == 1)
        for (const Ring& ring : kOrangeRings) DrawRing(this, ring);
    p_SetCol(255.0f, 255.0f, 255.0f, 1.0f);
    p_SetSize(1.0f);
    p_Text(vscrw / 2.0f, vscrh - 32.0f, String("Loading..."), 1.0f, 1.0f, 0);
    return 0;
}
