// The credits panel of the title screen: CreditText scrolling upwards over a
// ring of coloured ovals, with a few run-time figures and the "Coded in"
// mark. The panel slides in from the right (creditsSlide, moved by the
// shell); everything here is placed relative to its offset, so it slides
// with it. Input (closing, faster scrolling) is read only while it is open.
// Main thread.
#include <cmath>

#include "game/credits_text.h"
#include "game/degrees.h"
#include "game/my_app.h"
#include "runtime/host/zq_app.h"

namespace {

constexpr float kLineStep = 16.0f;  // pixels between credit lines
constexpr int kRingOvals = 11;
// p_Ink colours round the ring: grey, red .. white, grey.
constexpr int kRingInk[kRingOvals] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0};

String SizeText(float w, float h) {
    return String(static_cast<int>(w)) + "x" + String(static_cast<int>(h));
}

}  // namespace

void c_MyApp::MenuCredits(float panelOffset) {
    // Cycles through every line but the last ("End" is never shown).
    const int cycle = CreditText.Length() - 1;
    if (creditsOpen == 1) {
        if (inputLatch == 0 && waitRelease == 0) {
            bool close = pointerDown != 0;
            for (int action = 10; action <= 13; ++action) close = close || p_PlayKeyAll(action, 1) != 0;
            if (close) {
                creditsOpen = 0;
                inputLatch = waitRelease = 1;
                p_PlaySFX(99, 1, 1, 0);
            }
        }
        bool fast = p_PlayKeyAll(0, 1) != 0 || p_PlayKeyAll(8, 1) != 0;
        creditsScroll += fast ? 1.8f : 0.3f;
        while (creditsScroll > kLineStep) {
            creditsScroll -= kLineStep;
            creditsLine = cycle > 0 ? (creditsLine + 1) % cycle : 0;
        }
    }

    const float left = 2.0f * vscrw - panelOffset;  // vscrw once the panel is fully open

    // The ring turns with the scroll.
    const float turn = (static_cast<float>(creditsLine) * kLineStep + creditsScroll) * 0.25f;
    const float ringX = left - 150.0f, ringY = vscrh / 2.0f;
    p_ResetDraw();
    for (int k = 0; k < kRingOvals; ++k) {
        float a = turn + 360.0f * static_cast<float>(k) / kRingOvals;
        p_Ink(kRingInk[k], 1.0f);
        p_Alpha(0.3f);
        p_Oval(ringX + SinDeg(a) * 100.0f, ringY - CosDeg(a) * 100.0f, 32.0f, 32.0f);
    }

    if (cycle > 0) {
        const float centreY = vscrh / 2.0f + 24.0f;
        p_ResetDraw();
        for (int offset = -3; offset <= 4; ++offset) {
            int line = ((creditsLine + offset) % cycle + cycle) % cycle;
            float y = centreY + kLineStep * static_cast<float>(offset) - creditsScroll;
            float d = std::fabs(y - centreY) / 40.0f - 0.3f;
            d = d < 0.0f ? 0.0f : (d > 1.0f ? 1.0f : d);
            p_Alpha(1.0f - d);
            p_Text(left - 160.0f + 24.0f * d, y, CreditText[line], 0.8f, 0.8f, 0);
        }
    }

    const float statsX = left - 20.0f;
    const String lines[] = {
        String("Debug Stats"),
        String("Engine"),
        SizeText(vscrw, vscrh),
        String("Screen"),
        SizeText(static_cast<float>(zq_app_DeviceWidth()), static_cast<float>(zq_app_DeviceHeight())),
        String("FPS"),
        String(updateFpsAverage) + " : " + String(renderFpsAverage),
    };
    p_ResetDraw();
    float y = 16.0f;
    for (const String& text : lines) {
        p_Text(statsX, y, text, 2, 0, 0);
        y += 12.0f;
    }

    p_SetSize(0.75f);
    p_DrawImg(95, left - 280.0f, vscrh - 36.0f, 12);
    p_SetSize(1.0f);
    p_Text(left - 250.0f, vscrh - 46.0f, String("Coded in\\nTolvar (C++20)"), 0, 0, 0);
    p_ResetDraw();
}
