// The display list and the draw state: every drawing operation of the game
// appends one 15-float record here while it updates; the render replays
// them (draw_replay.cpp).
//
// Record layout (element: meaning): 0 kind (image slot 0..99, or -3717
// rectangle, -3716 oval, -3715 line), 1-2 position, 3 drawRotation, 4-5
// scale / size / radii / end point, 6 frame, 7 drawAlpha, 10-12 colour,
// 13 drawBlend. Elements 8, 9 and 14 are never written.
//
// Invariants: displayListFill is a multiple of 15 and never above 37485
// (2499 records); an append to a full list is dropped silently. Nothing
// here allocates.
#include "game/my_app.h"

namespace {

constexpr int kRecordFloats = 15;
// A record starting past this index is refused: at most 2499 records.
constexpr int kLastRecordStart = 37484;
// The mark of an argument that was not given.
constexpr float kUnset = -3717.0f;

constexpr float kKindRect = -3717.0f, kKindOval = -3716.0f, kKindLine = -3715.0f;

}  // namespace

void c_MyApp::AppendRecord(float kind, float x, float y, float e4, float e5, float frame) {
    if (displayListFill > kLastRecordStart) return;
    float* r = &displayList[displayListFill];
    r[0] = kind;
    r[1] = x;
    r[2] = y;
    r[3] = drawRotation;
    r[4] = e4;
    r[5] = e5;
    r[6] = frame;
    r[7] = drawAlpha;
    r[10] = drawRed;
    r[11] = drawGreen;
    r[12] = drawBlue;
    r[13] = static_cast<float>(drawBlend);
    displayListFill += kRecordFloats;
}

int c_MyApp::p_DrawImg(int slot, float x, float y, float frame) {
    AppendRecord(static_cast<float>(slot), x, y, drawScaleX, drawScaleY, frame);
    return 0;
}

int c_MyApp::p_Rect(float x, float y, float w, float h) {
    AppendRecord(kKindRect, x, y, w, h, 0.0f);
    return 0;
}

int c_MyApp::p_Oval(float x, float y, float rx, float ry) {
    AppendRecord(kKindOval, x, y, rx, ry, 0.0f);
    return 0;
}

int c_MyApp::p_Line(float x1, float y1, float x2, float y2) {
    AppendRecord(kKindLine, x1, y1, x2, y2, 0.0f);
    return 0;
}

int c_MyApp::p_SetCol(float r, float g, float b, float a) {
    drawRed = r;
    drawGreen = g;
    drawBlue = b;
    if (a > kUnset) drawAlpha = a;
    return 0;
}

int c_MyApp::p_Alpha(float a) {
    drawAlpha = a;
    return 0;
}

int c_MyApp::p_SetSize(float sx, float sy) {
    drawScaleX = sx;
    drawScaleY = sy > kUnset ? sy : sx;
    return 0;
}

int c_MyApp::p_SetRot(float angle) {
    drawRotation = -angle;
    return 0;
}

int c_MyApp::p_ResetDraw() {
    drawScaleX = drawScaleY = 1.0f;
    drawRotation = 0.0f;
    drawRed = drawGreen = drawBlue = 255.0f;
    drawAlpha = 1.0f;
    drawBlend = 1;
    return 0;
}

int c_MyApp::p_CLS2D(float r, float g, float b, float a) {
    viewX = viewY = 0.0f;
    viewWidth = vscrw;
    viewHeight = vscrh;
    if (r > kUnset) {
        clearRed = r;
        clearGreen = g;
        clearBlue = b;
        clearAlpha = a;
    }
    p_ResetDraw();
    displayListFill = 0;
    return 0;
}
