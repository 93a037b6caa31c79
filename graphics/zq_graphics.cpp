// The graphics front end's functions and globals.
#include "graphics/zq_graphics.h"

#include <cmath>

#include "runtime/lang/datapath.h"
#include "runtime/lang/game.h"
#include "runtime/lang/init.h"

tvxGraphics* zq_graphics_device = nullptr;
GC_ROOT(zq_graphics_device);
tvxGraphics* zq_graphics_renderDevice = nullptr;
GC_ROOT(zq_graphics_renderDevice);
c_GraphicsContext* zq_graphics_context = nullptr;
GC_ROOT(zq_graphics_context);

static void zq_graphics_Init() {
    zq_graphics_device = nullptr;
    zq_graphics_renderDevice = nullptr;
    gc_assign(zq_graphics_context, gc_new<c_GraphicsContext>()->m_new());
    c_Image::m_DefaultFlags = 0;
}
ZQ_MODULE_INIT(zq_graphics_Init);

// [SECTION] Device and frame ----------------------------------------------------

void zq_graphics_SetGraphicsDevice(tvxGraphics* device) {
    gc_assign(zq_graphics_device, device);
}

void zq_graphics_BeginRender() {
    gc_assign(zq_graphics_renderDevice, zq_graphics_device);
    c_GraphicsContext* gc = zq_graphics_context;
    gc->matrixDepth = 0;
    gc->p_SetMatrix(1, 0, 0, 1, 0, 0);
    zq_graphics_SetColor(255, 255, 255);
    zq_graphics_SetAlpha(1);
    zq_graphics_SetBlend(0);
    zq_graphics_SetScissor(0, 0, static_cast<float>(zq_app__devWidth), static_cast<float>(zq_app__devHeight));
}

void zq_graphics_EndRender() {
    zq_graphics_renderDevice = nullptr;
}

tvxFrameStats zq_graphics_FrameStats() {
    return zq_graphics_device ? zq_graphics_device->LastFrameStats() : tvxFrameStats();
}

// [SECTION] State ------------------------------------------------------------------

void zq_graphics_SetColor(float r, float g, float b) {
    zq_graphics_context->colorR = r;
    zq_graphics_context->colorG = g;
    zq_graphics_context->colorB = b;
    zq_graphics_renderDevice->SetColor(r, g, b);
}

void zq_graphics_SetAlpha(float alpha) {
    zq_graphics_context->alpha = alpha;
    zq_graphics_renderDevice->SetAlpha(alpha);
}

void zq_graphics_SetBlend(int blend) {
    zq_graphics_context->blend = blend;
    zq_graphics_renderDevice->SetBlend(blend);
}

void zq_graphics_SetScissor(float x, float y, float w, float h) {
    c_GraphicsContext* gc = zq_graphics_context;
    gc->scissorX = x;
    gc->scissorY = y;
    gc->scissorW = w;
    gc->scissorH = h;
    zq_graphics_renderDevice->SetScissor(static_cast<int>(x), static_cast<int>(y), static_cast<int>(w),
                                         static_cast<int>(h));
}

void zq_graphics_SetMatrix(float ix, float iy, float jx, float jy, float tx, float ty) {
    zq_graphics_context->p_SetMatrix(ix, iy, jx, jy, tx, ty);
}

void zq_graphics_SetMatrix2(Array<float> m) {
    if (m.Length() < 6) return;
    zq_graphics_SetMatrix(m[0], m[1], m[2], m[3], m[4], m[5]);
}

void zq_graphics_Transform(float a, float b, float c, float d, float e, float f) {
    zq_graphics_context->p_Transform(a, b, c, d, e, f);
}

void zq_graphics_Transform2(Array<float> m) {
    if (m.Length() < 6) return;
    zq_graphics_Transform(m[0], m[1], m[2], m[3], m[4], m[5]);
}

void zq_graphics_Translate(float x, float y) {
    zq_graphics_Transform(1, 0, 0, 1, x, y);
}

void zq_graphics_Scale(float x, float y) {
    zq_graphics_Transform(x, 0, 0, y, 0, 0);
}

void zq_graphics_Rotate(float angle) {
    float theta = angle * D2R;
    float c = std::cos(theta), s = std::sin(theta);
    zq_graphics_Transform(c, -s, s, c, 0, 0);
}

void zq_graphics_PushMatrix() {
    zq_graphics_context->p_PushMatrix();
}

void zq_graphics_PopMatrix() {
    zq_graphics_context->p_PopMatrix();
}

// [SECTION] Drawing ----------------------------------------------------------------

namespace {

tvxGraphics* ValidatedDevice() {
    tvxGraphics* device = zq_graphics_renderDevice;
    zq_graphics_context->p_Validate(device);
    return device;
}

// Draws one frame of the image at (x, y), the handle already applied.
// Only the frame's inked part goes to the device: the transparent border
// would change no pixel, but a software rasteriser still pays to blend it.
// The trimmed quad is the same mapping of texels to pixels as the whole one,
// so every pixel it covers is drawn exactly as before.
void DrawFrame(tvxGraphics* device, c_Image* image, float x, float y, int frame) {
    tvxSurface* s = image->surface;
    if (!s) return;
    if (image->flags & c_Image::WholeSurface) {
        const tvxInkBox& ink = s->Ink(0, 0, s->width, s->height, s->wholeInk);
        if (ink.w == s->width && ink.h == s->height) {
            device->DrawSurface(s, x, y);
        } else if (ink.w > 0) {
            device->DrawSurface2(s, x + static_cast<float>(ink.x), y + static_cast<float>(ink.y), ink.x,
                                 ink.y, ink.w, ink.h);
        }
        return;
    }
    c_Frame* f = image->frames[frame];
    const tvxInkBox& ink = s->Ink(f->x, f->y, image->width, image->height, f->ink);
    if (ink.w == 0) return;
    device->DrawSurface2(s, x + static_cast<float>(ink.x), y + static_cast<float>(ink.y), f->x + ink.x,
                         f->y + ink.y, ink.w, ink.h);
}

// A null image has no frames: drawing one is a no-op, not a crash.
bool HasFrame(const c_Image* image, int frame) {
    return image && frame >= 0 && frame < image->frames.Length();
}

}  // namespace

void zq_graphics_DrawRect(float x, float y, float w, float h) {
    ValidatedDevice()->DrawRect(x, y, w, h);
}

void zq_graphics_DrawLine(float x1, float y1, float x2, float y2) {
    ValidatedDevice()->DrawLine(x1, y1, x2, y2);
}

void zq_graphics_DrawEllipse(float x, float y, float xr, float yr) {
    ValidatedDevice()->DrawOval(x - xr, y - yr, 2 * xr, 2 * yr);
}

void zq_graphics_DrawPoint(float x, float y) {
    ValidatedDevice()->DrawPoint(x, y);
}

void zq_graphics_DrawOval(float x, float y, float w, float h) {
    ValidatedDevice()->DrawOval(x, y, w, h);
}

void zq_graphics_DrawPoly(Array<float> verts) {
    ValidatedDevice()->DrawPoly(verts);
}

void zq_graphics_DrawPoly2(Array<float> verts, c_Image* image, int frame) {
    tvxGraphics* device = ValidatedDevice();
    if (!HasFrame(image, frame)) return;
    c_Frame* f = image->frames[frame];
    device->DrawPoly2(verts, image->surface, f->x, f->y);
}

void zq_graphics_DrawImage(c_Image* image, float x, float y, int frame) {
    tvxGraphics* device = ValidatedDevice();
    if (!HasFrame(image, frame)) return;
    DrawFrame(device, image, x - image->handleX, y - image->handleY, frame);
}

void zq_graphics_DrawImage2(c_Image* image, float x, float y, float rotation, float scaleX, float scaleY,
                            int frame) {
    if (!HasFrame(image, frame)) return;
    c_GraphicsContext* gc = zq_graphics_context;
    gc->p_PushMatrix();
    gc->p_Transform(1, 0, 0, 1, x, y);
    float theta = rotation * D2R;
    float c = std::cos(theta), s = std::sin(theta);
    gc->p_Transform(c, -s, s, c, 0, 0);
    gc->p_Transform(scaleX, 0, 0, scaleY, 0, 0);
    gc->p_Transform(1, 0, 0, 1, -image->handleX, -image->handleY);
    DrawFrame(ValidatedDevice(), image, 0, 0, frame);
    gc->p_PopMatrix();
}

// [SECTION] Images and fonts -------------------------------------------------------

c_Image* zq_graphics_LoadImage(String path, int frameCount, int flags) {
    tvxSurface* surface = zq_graphics_device->LoadSurface(zq_data_FixDataPath(path));
    if (!surface) return nullptr;
    return gc_new<c_Image>()->m_new()->p_Init(surface, frameCount, flags);
}

c_Image* zq_graphics_LoadImage2(String path, int frameWidth, int frameHeight, int frameCount, int flags) {
    tvxSurface* surface = zq_graphics_device->LoadSurface(zq_data_FixDataPath(path));
    if (!surface) return nullptr;
    return gc_new<c_Image>()->m_new()->p_Init2(surface, 0, 0, frameWidth, frameHeight, frameCount, flags,
                                               nullptr, 0, 0, surface->Width(), surface->Height());
}

c_Image* zq_graphics_CreateImage(int width, int height, int frameCount, int flags) {
    long surfaceWidth = static_cast<long>(width) * (frameCount < 1 ? 1 : frameCount);
    if (surfaceWidth > tvxMaxSurfaceSide) return nullptr;
    tvxSurface* surface = zq_graphics_device->CreateSurface(static_cast<int>(surfaceWidth), height);
    if (!surface) return nullptr;
    return gc_new<c_Image>()->m_new()->p_Init(surface, frameCount, flags);
}

void zq_graphics_SetFont(c_Image* font, int firstChar) {
    c_GraphicsContext* gc = zq_graphics_context;
    if (!font) {
        if (!gc->defaultFont)
            gc_assign(gc->defaultFont,
                      zq_graphics_LoadImage(String("vexo_font.png"), 96, c_Image::PadFramesX));
        font = gc->defaultFont;
        firstChar = 32;
    }
    gc_assign(gc->font, font);
    gc->firstChar = firstChar;
}
