// c_GraphicsContext: the graphics front end's state — the current matrix
// with its stack, the last colour, alpha, blend and scissor, and the font.
//
// Ownership and invariants
// - One context per run (zq_graphics_context), created at module start-up
//   and reachable from the collector's roots.
// - The matrix lives here and reaches the render device lazily: every change
//   sets `matrixDirty`, and p_Validate hands it over just before something
//   is drawn. Matrix operations therefore work at any time, even outside a
//   render.
// - `matrixStack` holds `matrixDepth` floats in use (6 per pushed matrix);
//   it starts with room for 32 matrices and doubles when full. Popping an
//   empty stack does nothing.
// - Main thread only.
#pragma once

#include "graphics/image.h"
#include "graphics/tvx_graphics.h"
#include "runtime/lang/array.h"
#include "runtime/lang/object.h"

class c_GraphicsContext : public Object {
  public:
    c_Image* defaultFont = nullptr;                        // loaded on first need
    c_Image* font = nullptr;                               // the current font, or null
    int firstChar = 0;                                     // character code of the font's frame 0
    int matrixDepth = 0;                                   // floats in use on matrixStack
    float ix = 1, iy = 0, jx = 0, jy = 1, tx = 0, ty = 0;  // (x, y) -> (x*ix + y*jx + tx, x*iy + y*jy + ty)
    bool tformed = false;                                  // matrix differs from identity
    bool matrixDirty = false;                              // changed since last handed to the device
    float colorR = 0, colorG = 0, colorB = 0;              // 0..255
    float alpha = 0;                                       // 0..1
    int blend = 0;
    float scissorX = 0, scissorY = 0, scissorW = 0, scissorH = 0;
    Array<float> matrixStack;

    c_GraphicsContext* m_new();
    void mark() override;

    // Hands the matrix to the device when it changed since the last time.
    void p_Validate(tvxGraphics* device) {
        if (!matrixDirty) return;
        device->SetMatrix(ix, iy, jx, jy, tx, ty);
        matrixDirty = false;
    }
    void p_SetMatrix(float ix, float iy, float jx, float jy, float tx, float ty);
    // Multiplies (a, b, c, d, e, f) onto the current matrix: the new
    // transform applies first, then the old one.
    void p_Transform(float a, float b, float c, float d, float e, float f);
    void p_PushMatrix();
    void p_PopMatrix();

  private:
    void MatrixChanged() {
        tformed = !(ix == 1 && iy == 0 && jx == 0 && jy == 1 && tx == 0 && ty == 0);
        matrixDirty = true;
    }
};
