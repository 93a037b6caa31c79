// c_Image and c_Frame: a surface of the render device cut into equally
// sized frames, with a handle point subtracted from the draw position.
//
// Ownership and invariants
// - Collected objects. An image refers to its surface (shared with
//   `source` for a grabbed image) and to its frames; the collector releases
//   the surface's texture and pixels once no image reaches it.
// - An image is initialised once (p_Init or p_Init2); a second attempt is
//   the fatal error "Image already initialized". Frames always lie inside
//   the surface, or initialisation stops with "Image frame outside surface".
// - Main thread only.
#pragma once

#include "graphics/tvx_surface.h"
#include "runtime/lang/array.h"
#include "runtime/lang/object.h"

class c_Frame : public Object {
  public:
    int x = 0;  // the frame's top-left texel in the surface
    int y = 0;
    tvxInkBox ink;  // the inked part of the frame, measured when first drawn

    c_Frame* m_new(int x_, int y_) {
        x = x_;
        y = y_;
        return this;
    }
};

class c_Image : public Object {
  public:
    // Flag bits.
    static constexpr int CentreHandle = 1;      // handle at the frame's centre (the bit is then cleared)
    static constexpr int PadFramesX = 2;        // one-texel border left and right of each frame
    static constexpr int PadFramesY = 4;        // one-texel border above and below each frame
    static constexpr int WholeSurface = 65536;  // one frame covering the surface (set by the image)

    // The flags callers pass when they have none of their own.
    static int m_DefaultFlags;

    tvxSurface* surface = nullptr;
    int width = 0;  // size of one frame, texels
    int height = 0;
    Array<c_Frame*> frames;
    int flags = 0;
    float handleX = 0;
    float handleY = 0;
    c_Image* source = nullptr;  // the image whose surface this one shares, or null

    c_Image* m_new() { return this; }
    void mark() override;

    // frameCount frames side by side across the whole surface (a count below
    // 1 counts as 1).
    c_Image* p_Init(tvxSurface* surface, int frameCount, int flags);
    // frameCount frames of frameWidth x frameHeight read left to right, then
    // top to bottom from (x, y) inside the rectangle (srcX, srcY, srcW, srcH).
    c_Image* p_Init2(tvxSurface* surface, int x, int y, int frameWidth, int frameHeight, int frameCount,
                     int flags, c_Image* source, int srcX, int srcY, int srcW, int srcH);
    // Whether p_Init2 with these arguments would place every frame inside
    // the rectangle (srcW x srcH); p_Init2 stops the program otherwise, so a
    // caller with an untrusted file asks first.
    static bool m_FramesFit(int x, int y, int frameWidth, int frameHeight, int frameCount, int srcW,
                            int srcH);
    void p_ApplyFlags(int flags);
    void p_SetHandle(float x, float y);

    int p_Width() const { return width; }
    int p_Height() const { return height; }
    int p_Frames() const { return frames.Length(); }
    float p_HandleX() const { return handleX; }
    float p_HandleY() const { return handleY; }
};
