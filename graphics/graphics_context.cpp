// The front end's matrix: set, multiply, push and pop.
#include "graphics/graphics_context.h"

namespace {
constexpr int kInitialStackFloats = 192;  // 32 matrices of 6 floats
}

c_GraphicsContext* c_GraphicsContext::m_new() {
    gc_assign(matrixStack, Array<float>(kInitialStackFloats));
    return this;
}

void c_GraphicsContext::mark() {
    Object::mark();
    gc_enqueue(defaultFont);
    gc_enqueue(font);
    gc_enqueue(matrixStack);
}

void c_GraphicsContext::p_SetMatrix(float ix_, float iy_, float jx_, float jy_, float tx_, float ty_) {
    ix = ix_;
    iy = iy_;
    jx = jx_;
    jy = jy_;
    tx = tx_;
    ty = ty_;
    MatrixChanged();
}

void c_GraphicsContext::p_Transform(float a, float b, float c, float d, float e, float f) {
    float ix2 = a * ix + b * jx;
    float iy2 = a * iy + b * jy;
    float jx2 = c * ix + d * jx;
    float jy2 = c * iy + d * jy;
    float tx2 = e * ix + f * jx + tx;
    float ty2 = e * iy + f * jy + ty;
    p_SetMatrix(ix2, iy2, jx2, jy2, tx2, ty2);
}

void c_GraphicsContext::p_PushMatrix() {
    if (matrixDepth == matrixStack.Length())
        gc_assign(matrixStack, matrixStack.Resize(matrixStack.Length() > 0 ? matrixStack.Length() * 2 : 6));
    float* top = matrixStack.Data() + matrixDepth;
    top[0] = ix;
    top[1] = iy;
    top[2] = jx;
    top[3] = jy;
    top[4] = tx;
    top[5] = ty;
    matrixDepth += 6;
}

void c_GraphicsContext::p_PopMatrix() {
    if (matrixDepth < 6) return;
    matrixDepth -= 6;
    const float* top = matrixStack.Data() + matrixDepth;
    p_SetMatrix(top[0], top[1], top[2], top[3], top[4], top[5]);
}
