// The replay of the display list through the graphics front end, run by
// the shell's render once per displayed frame. Virtual coordinates become
// window pixels: x * sx + marginX, y * sy + marginY.
//
// Every record sets alpha, colour and blend before it draws; the render
// device keeps its batch across those calls when nothing really changes, so
// a list of sprites from one image stays a handful of draw calls.
#include "game/my_app.h"
#include "graphics/zq_graphics.h"

namespace {

constexpr float kKindRect = -3717.0f, kKindOval = -3716.0f, kKindLine = -3715.0f;
constexpr int kImageSlots = 100;
// The blend code in a record that asks for additive blending; the game's
// own records carry 0 or 1, which both mean alpha blending.
constexpr float kAdditiveCode = 3.0f;

}  // namespace

void c_MyApp::ReplayDisplayList(float sx, float sy, float marginX, float marginY) {
    for (int at = 0; at + 15 <= displayListFill; at += 15) {
        const float* r = &displayList[at];
        zq_graphics_SetAlpha(r[7]);
        zq_graphics_SetColor(r[10], r[11], r[12]);
        zq_graphics_SetBlend(0);
        if (r[13] == kAdditiveCode) zq_graphics_SetBlend(1);
        float x = r[1] * sx + marginX, y = r[2] * sy + marginY;
        float kind = r[0];
        if (kind == kKindRect) {
            zq_graphics_DrawRect(x, y, r[4] * sx, r[5] * sy);
        } else if (kind == kKindOval) {
            zq_graphics_DrawEllipse(x, y, r[4] * sx, r[5] * sy);
        } else if (kind == kKindLine) {
            zq_graphics_DrawLine(x, y, r[4] * sx + marginX, r[5] * sy + marginY);
        } else if (kind > -1.0f) {
            // Kinds past the bank (100 and more) name no image: nothing drawn.
            if (kind >= static_cast<float>(kImageSlots)) continue;
            c_Image* image = images[static_cast<int>(kind)];
            if (!image) continue;
            zq_graphics_DrawImage2(image, x, y, r[3], r[4] * sx * imageScale, r[5] * sy * imageScale,
                                   static_cast<int>(r[6]));
        }
    }
    zq_graphics_SetColor(255.0f, 255.0f, 255.0f);
    zq_graphics_SetAlpha(0.5f);
}
