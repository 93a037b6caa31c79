// Pointer tests: whether any of the ten touch slots sampled by the shell
// (touch 0 is the left mouse button) lies on a screen element. Positions
// are virtual pixels; a touch that is up is never on anything.
#include <cmath>

#include "game/my_app.h"

namespace {

constexpr int kTouches = 10;
constexpr int kImageSlots = 100;

}  // namespace

template <class Test>
bool c_MyApp::AnyTouch(Test test) {
    for (int i = 0; i < kTouches; ++i)
        if (touchDown[i] != 0 && test(static_cast<float>(touchX[i]), static_cast<float>(touchY[i])))
            return true;
    return false;
}

bool c_MyApp::p_MouseIn(float x, float y, float w, float h) {
    return AnyTouch([&](float tx, float ty) { return x < tx && tx < x + w && y < ty && ty < y + h; });
}

bool c_MyApp::p_MouseIn_Centered(float x, float y, float w, float h) {
    return AnyTouch(
        [&](float tx, float ty) { return std::fabs(tx - x) < w / 2.0f && std::fabs(ty - y) < h / 2.0f; });
}

// Draws the rectangle, then tests it with a generous margin (6 pixels
// before, 12 after) for fingers.
bool c_MyApp::p_Touch(float x, float y, float w, float h) {
    p_Rect(x, y, w, h);
    return AnyTouch([&](float tx, float ty) {
        return x - 6.0f < tx && tx < x + w + 12.0f && y - 6.0f < ty && ty < y + h + 12.0f;
    });
}

// The options box's lines: x 84, height 24.
bool c_MyApp::p_Touch(float y, float w) {
    return p_Touch(84.0f, y, w, 24.0f);
}

// Draws the image, then tests its stored frame size (at virtual size and
// the current draw scale) centred on (x, y).
bool c_MyApp::p_Button(int image, float x, float y, int frame) {
    if (image < 0 || image >= kImageSlots) return false;
    p_DrawImg(image, x, y, static_cast<float>(frame));
    if (pointerDown == 0) return false;
    float halfW = static_cast<float>(imageInfo[image * 3]) * imageScale * drawScaleX / 2.0f;
    float halfH = static_cast<float>(imageInfo[image * 3 + 1]) * imageScale * drawScaleY / 2.0f;
    return AnyTouch(
        [&](float tx, float ty) { return std::fabs(tx - x) < halfW && std::fabs(ty - y) < halfH; });
}
