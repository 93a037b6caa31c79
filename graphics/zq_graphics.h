// The graphics front end: free functions over the one graphics context and
// the render device. The device does the work; these functions handle
// arguments, keep the context's state and hand the matrix over lazily.
//
// Usage and invariants
// - The delegate installs the device once (zq_graphics_SetGraphicsDevice),
//   sets the default font (zq_graphics_SetFont(nullptr, 32)) and brackets
//   each frame's drawing with zq_graphics_BeginRender / _EndRender (the
//   device's own EndRender follows).
// - The colour, alpha, blend and scissor setters and every drawing function
//   go through zq_graphics_renderDevice and so belong inside a render; the
//   matrix functions touch only the context and work at any time.
// - Globals below are collector roots. Main thread only.
#pragma once

#include "graphics/frame_stats.h"
#include "graphics/graphics_context.h"
#include "graphics/image.h"
#include "graphics/tvx_graphics.h"
#include "runtime/lang/array.h"
#include "runtime/lang/string.h"

extern tvxGraphics* zq_graphics_device;         // set once at start-up
extern tvxGraphics* zq_graphics_renderDevice;   // the device during a render, else null
extern c_GraphicsContext* zq_graphics_context;  // created at module start-up

// Degrees to radians, single precision.
constexpr float D2R = 0.017453292f;

// Device and frame.
void zq_graphics_SetGraphicsDevice(tvxGraphics* device);
// Starts a frame: the context's frame defaults (identity matrix, colour
// 255/255/255, alpha 1, blend 0, the full device scissor), each passed to
// the device in that order.
void zq_graphics_BeginRender();
void zq_graphics_EndRender();
// Counters of the last completed frame (zero without a device).
tvxFrameStats zq_graphics_FrameStats();

// State.
void zq_graphics_SetColor(float r, float g, float b);
void zq_graphics_SetAlpha(float alpha);
void zq_graphics_SetBlend(int blend);
void zq_graphics_SetScissor(float x, float y, float w, float h);
void zq_graphics_SetMatrix(float ix, float iy, float jx, float jy, float tx, float ty);
void zq_graphics_SetMatrix2(Array<float> m);  // 6 floats; shorter arrays are ignored
void zq_graphics_Transform(float a, float b, float c, float d, float e, float f);
void zq_graphics_Transform2(Array<float> m);  // 6 floats; shorter arrays are ignored
void zq_graphics_Translate(float x, float y);
void zq_graphics_Scale(float x, float y);
void zq_graphics_Rotate(float angle);  // degrees
void zq_graphics_PushMatrix();
void zq_graphics_PopMatrix();

// Drawing.
void zq_graphics_DrawRect(float x, float y, float w, float h);
void zq_graphics_DrawLine(float x1, float y1, float x2, float y2);
void zq_graphics_DrawEllipse(float x, float y, float xr, float yr);  // centre and radii
void zq_graphics_DrawPoint(float x, float y);
void zq_graphics_DrawOval(float x, float y, float w, float h);  // inscribed in the rectangle
// A filled convex polygon: x0, y0, x1, y1 ...; 1 to 1024 vertices, else nothing.
void zq_graphics_DrawPoly(Array<float> verts);
// A textured polygon: x, y, u, v per vertex, u and v in texels from the
// frame's top-left corner of the image; 1 to 1024 vertices, else nothing.
void zq_graphics_DrawPoly2(Array<float> verts, c_Image* image, int frame);
// Frame indexes outside the image draw nothing.
void zq_graphics_DrawImage(c_Image* image, float x, float y, int frame);
void zq_graphics_DrawImage2(c_Image* image, float x, float y, float rotation, float scaleX, float scaleY,
                            int frame);

// Images and fonts. Loaders return null when the file cannot be loaded.
c_Image* zq_graphics_LoadImage(String path, int frameCount, int flags);
c_Image* zq_graphics_LoadImage2(String path, int frameWidth, int frameHeight, int frameCount, int flags);
c_Image* zq_graphics_CreateImage(int width, int height, int frameCount, int flags);
// With a font: it becomes current with firstChar. With null: the default
// font "vexo_font.png" (96 frames, PadFramesX), loaded once, with 32.
void zq_graphics_SetFont(c_Image* font, int firstChar);
