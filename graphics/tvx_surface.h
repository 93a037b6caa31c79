// tvxSurface: a surface's pixels kept in memory and the OpenGL texture made
// from them.
//
// Ownership and invariants
// - `data` (rows top to bottom, no padding, `depth` bytes per pixel) belongs
//   to the surface and is released with free() by Discard or the destructor.
//   It is kept after upload so that the texture can be rebuilt in a later
//   context. Depth 2 and 4 pixels are stored premultiplied by alpha.
// - `seq` is the glfwGraphicsSeq of the context that owns `texture`; -1 when
//   there is none. A texture whose context is gone is forgotten, never
//   deleted (its name means nothing in the new context).
// - Collected object: the collector's destructor releases texture and data.
//   Main thread only; GL calls need the window's context to be current.
#pragma once

#include <GL/gl.h>

#include "runtime/lang/gc.h"

// The part of a texel rectangle that drawing can change a pixel with: the
// box round its texels of alpha above 0 (premultiplied, so their colour is
// 0 as well and blending them leaves the screen as it was), grown by one
// texel on each side against rounding at its edges and clipped to the
// rectangle. Kept by whoever draws the rectangle again and again (a frame,
// a whole surface), and measured again when the surface's pixels change.
struct tvxInkBox {
    int x = 0, y = 0;   // offset inside the rectangle, texels
    int w = 0, h = 0;   // 0 x 0: nothing inked, nothing to draw
    int pixelSeq = -1;  // the surface's pixelSeq when measured; -1: never
};

class tvxSurface : public gc_object {
  public:
    unsigned char* data = nullptr;  // owned, malloc'ed; may be null
    int width = 0;                  // pixels
    int height = 0;                 // pixels
    int depth = 0;                  // bytes per pixel, 1..4
    GLenum format = 0;              // GL_LUMINANCE .. GL_RGBA by depth
    int seq = -1;                   // glfwGraphicsSeq of `texture`; -1 = none
    GLuint texture = 0;
    float uscale = 1;    // 1 / allocated texture width (may exceed `width`)
    float vscale = 1;    // 1 / allocated texture height
    int pixelSeq = 0;    // changes whenever `data` does (ink boxes measured before are stale)
    tvxInkBox wholeInk;  // the ink box of the whole surface, for whole-surface drawing

    tvxSurface() = default;
    ~tvxSurface() override;

    // Releases the texture (when it belongs to the current context) and the
    // pixel data. Safe to call more than once.
    virtual void Discard();
    virtual int Width() { return width; }
    virtual int Height() { return height; }
    virtual int Loaded() { return 1; }
    virtual void OnUnsafeLoadComplete() { Bind(); }

    // Adopts a malloc'ed pixel block (the surface now owns it): stores size
    // and depth, chooses the format and premultiplies depth 2 and 4 in
    // place. Any previous pixels and texture are released first.
    void SetData(unsigned char* pixels, int w, int h, int d);
    // Writes a rectangle of 0xAARRGGBB values (premultiplying them) into an
    // RGBA surface and re-uploads the changed rows when the texture is live.
    // `pixels[row * pitch + column]` is the source; the rectangle is clipped
    // to the surface. Surfaces of other formats ignore it.
    void SetSubData(int x, int y, int w, int h, const int* pixels, int pitch);
    // Makes the texture current on GL_TEXTURE_2D, creating it first when the
    // context is new. Does nothing while there is no context.
    void Bind();
    // The ink box of the rectangle (x, y, w, h) inside the surface, measured
    // into `box` unless it is current. Without pixels in memory, or without
    // an alpha channel, the whole rectangle counts as inked.
    const tvxInkBox& Ink(int x, int y, int w, int h, tvxInkBox& box) const;

  private:
    void ReleaseTexture();
    void AllocateTexture();
};

// Largest surface the device makes or loads: a side of up to 16384 pixels
// (the common OpenGL texture limit) and at most 32 Mi pixels in all, so a
// damaged or hostile file cannot ask for an unbounded allocation.
constexpr int tvxMaxSurfaceSide = 16384;
constexpr long tvxMaxSurfacePixels = 1L << 25;
// Whether a w x h surface lies within those limits (and is not empty).
inline bool tvxSurfaceSizeOk(long w, long h) {
    return w >= 1 && h >= 1 && w <= tvxMaxSurfaceSide && h <= tvxMaxSurfaceSide &&
           w * h <= tvxMaxSurfacePixels;
}

// The OpenGL pixel format used for `depth` bytes per pixel (0 for others).
GLenum tvxFormatForDepth(int depth);
// Premultiplies `count` pixels of depth 2 (luminance, alpha) or 4 (RGBA) in
// place: each colour byte becomes c * a / 255, rounded down.
void tvxPremultiply(unsigned char* pixels, long count, int depth);
