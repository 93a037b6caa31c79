// tvxGraphics: the render device. Turns drawing calls into OpenGL 1.x
// fixed-function calls through one client-side vertex buffer.
//
// Ownership and invariants
// - One device per run, created by the framework delegate with
//   gc_new<tvxGraphics>() and reached through the front end's globals
//   (graphics/zq_graphics.h). Main thread only; every GL call needs the
//   window's context to be current.
// - Batching: consecutive primitives of the same kind and texture collect in
//   `vertices` and go to OpenGL in one draw call of at most 1024 vertices.
//   The matrix is applied on the CPU, so SetColor, SetAlpha and SetMatrix
//   never end a batch. Between frames the batch is empty.
// - `primSurf` is a collected reference (marked by mark()); drawing keeps a
//   surface alive at most until the next frame begins.
// - SetBlend ends a batch only when the blend function really changes;
//   BeginRender resets the remembered function to the default it applies.
// - Colours are packed premultiplied by alpha, matching the default blend
//   (GL_ONE, GL_ONE_MINUS_SRC_ALPHA) and the premultiplied textures.
//
// Implemented: points, lines, rectangles, ovals, convex polygons (plain and
// textured), whole surfaces and sub-rectangles, blend modes 0/1, scissor,
// clear, read-back, pixel writes, per-frame statistics.
// Not implemented: line width and point size (OpenGL's default of 1).
#pragma once

#include <cstdint>

#include "graphics/frame_stats.h"
#include "graphics/tvx_surface.h"
#include "runtime/lang/array.h"
#include "runtime/lang/string.h"

// One vertex as OpenGL reads it (stride 20): position, texture coordinate,
// colour bytes red, green, blue, alpha in memory order.
struct tvxVertex {
    float x, y;
    float u, v;
    uint32_t color;
};
static_assert(sizeof(tvxVertex) == 20, "OpenGL reads the vertex arrays with a stride of 20");

class tvxGraphics : public gc_object {
  public:
    static constexpr int kMaxVertices = 1024;
    static constexpr int kQuadIndexCount = kMaxVertices / 4 * 6;

    // Batch kinds; any value >= 5 is a run of polygons of that many vertices.
    enum PrimKind { kPoints = 1, kLines = 2, kTriangles = 3, kQuads = 4 };
    // Blend functions: (ONE, ONE_MINUS_SRC_ALPHA) and (ONE, ONE).
    enum BlendFunc { kBlendAlpha = 0, kBlendAdditive = 1 };

    int width = 0;  // window client size in pixels, refreshed by BeginRender
    int height = 0;
    uint32_t color = 0xffffffff;                           // premultiplied r, g, b, a bytes in memory order
    float r = 255, g = 255, b = 255;                       // last SetColor, 0..255
    float alpha = 1;                                       // last SetAlpha, 0..1
    float ix = 1, iy = 0, jx = 0, jy = 1, tx = 0, ty = 0;  // (x, y) -> (x*ix + y*jx + tx, x*iy + y*jy + ty)
    bool tformed = false;                                  // matrix differs from identity
    tvxVertex vertices[kMaxVertices];
    uint16_t quadIndices[kQuadIndexCount];  // 4k, 4k+1, 4k+2, 4k, 4k+2, 4k+3 per quad
    int primType = 0;                       // kind of the pending batch
    int primCount = 0;                      // vertices in the pending batch
    tvxSurface* primSurf = nullptr;         // texture of the pending batch, or null
    // The blend function OpenGL holds: kBlendAlpha or kBlendAdditive. Set by
    // BeginRender (which applies the default) and by SetBlend when the
    // function really changes.
    int appliedBlend = 0;

    // Reads the window size; no OpenGL call is made.
    tvxGraphics();
    void mark() override;

    virtual int Width() { return width; }
    virtual int Height() { return height; }
    // Sets every piece of fixed-function state a frame relies on and drops
    // any pending batch. Returns 1 (render the application's frame).
    virtual int BeginRender();
    virtual void EndRender();
    virtual void DiscardGraphics() {}
    // A surface from an image file with its texture made (when a context
    // exists), or null.
    virtual tvxSurface* LoadSurface(String path);
    // An RGBA surface without pixels; null for sizes outside 1..16384.
    virtual tvxSurface* CreateSurface(int w, int h);
    // Fills `surface` from an image file without making a texture.
    virtual bool LoadSurface__UNSAFE__(tvxSurface* surface, String path);
    virtual int Cls(float red, float green, float blue);
    virtual int SetAlpha(float a);
    virtual int SetColor(float red, float green, float blue);
    // 1: additive; anything else: premultiplied alpha blending. Flushes and
    // calls glBlendFunc only when the function differs from the one applied:
    // a flush between two batches with the same state changes no pixel, and
    // callers that set the blend before every record keep their batches.
    virtual int SetBlend(int mode);
    // The full window disables the scissor test; y is measured from the top.
    virtual int SetScissor(int x, int y, int w, int h);
    virtual int SetMatrix(float ix, float iy, float jx, float jy, float tx, float ty);
    virtual int DrawPoint(float x, float y);
    virtual int DrawRect(float x, float y, float w, float h);
    virtual int DrawLine(float x1, float y1, float x2, float y2);
    virtual int DrawOval(float x, float y, float w, float h);
    // x0, y0, x1, y1 ...: one convex polygon of 1..1024 vertices.
    virtual int DrawPoly(Array<float> verts);
    // x, y, u, v per vertex; u, v are texel offsets from (srcx, srcy).
    virtual int DrawPoly2(Array<float> verts, tvxSurface* surface, int srcx, int srcy);
    virtual int DrawSurface(tvxSurface* surface, float x, float y);
    virtual int DrawSurface2(tvxSurface* surface, float x, float y, int srcx, int srcy, int srcw, int srch);
    // Flushes, then copies the screen rectangle (y from the top) as
    // 0xAARRGGBB into pixels[offset + row * pitch + column]. Elements outside
    // the array are never written; a rectangle of more pixels than the array
    // holds copies nothing.
    virtual int ReadPixels(Array<int> pixels, int x, int y, int w, int h, int offset, int pitch);
    // pixels[offset + row * pitch + column] into the surface rectangle,
    // clipped to the surface; nothing is written when the rectangle would
    // read outside the array.
    virtual int WritePixels2(tvxSurface* surface, Array<int> pixels, int x, int y, int w, int h, int offset,
                             int pitch);

    // Counters of the frame in progress (since BeginRender).
    const tvxFrameStats& FrameStats() const { return stats; }
    // Counters of the last completed frame (copied at EndRender).
    const tvxFrameStats& LastFrameStats() const { return lastStats; }

    // Oval segment count for radii (rx, ry) under the current matrix: 12 to
    // 1024, a multiple of 4 in between.
    int OvalSegments(float rx, float ry) const;

  protected:
    // The one batch rule: whether n vertices of `kind` with texture `surf`
    // may join the pending batch.
    bool Joins(int kind, const tvxSurface* surf, int n) const {
        return kind == primType && surf == primSurf && primCount + n <= kMaxVertices;
    }
    // Reserves n vertices for a primitive, flushing the pending batch first
    // when the primitive does not join it. The caller fills all n.
    tvxVertex* Reserve(int kind, tvxSurface* surf, int n) {
        if (!Joins(kind, surf, n)) StartBatch(kind, surf, n);
        tvxVertex* out = vertices + primCount;
        primCount += n;
        return out;
    }
    void Flush(tvxFlushCause cause);

  private:
    void StartBatch(int kind, tvxSurface* surf, int n);
    void SetupRenderState();
    void Map(float x, float y, float& outX, float& outY) const {
        if (tformed) {
            outX = x * ix + y * jx + tx;
            outY = x * iy + y * jy + ty;
        } else {
            outX = x;
            outY = y;
        }
    }
    // Writes a mapped quad with corners (x, y) .. (x + w, y + h) and texture
    // rectangle (u0, v0) .. (u1, v1).
    void PutQuad(tvxVertex* v, float x, float y, float w, float h, float u0, float v0, float u1,
                 float v1) const;
    int DrawPolygon(const float* xy, int n, int stride, tvxSurface* surface, int srcx, int srcy);
    // Whether a rectangle drawn now would replace every pixel of the window
    // (or of the scissor box) with the current colour: opaque, alpha
    // blending, mapped onto an upright rectangle that covers the viewport.
    bool FillsWindowOpaque(float x, float y, float w, float h) const;

    tvxFrameStats stats;
    tvxFrameStats lastStats;
};
