// Frame cutting and image flags.
#include "graphics/image.h"

#include "runtime/lang/errors.h"

int c_Image::m_DefaultFlags = 0;

void c_Image::mark() {
    Object::mark();
    gc_enqueue(surface);
    gc_enqueue(frames);
    gc_enqueue(source);
}

c_Image* c_Image::p_Init(tvxSurface* surf, int frameCount, int flags_) {
    if (surface) zqError(String("Image already initialized"));
    if (frameCount < 1) frameCount = 1;
    gc_assign(surface, surf);
    width = surf->Width() / frameCount;
    height = surf->Height();
    gc_assign(frames, Array<c_Frame*>(frameCount));
    for (int i = 0; i < frameCount; ++i) gc_assign(frames[i], gc_new<c_Frame>()->m_new(i * width, 0));
    p_ApplyFlags(flags_);
    return this;
}

namespace {

// Walks the grid of p_Init2: left to right, then top to bottom, from (x, y)
// inside a srcW x srcH rectangle. Calls place(i, px, py) for each frame that
// fits and stops at the first that does not; true when all fit.
template <class Place>
bool WalkFrames(int x, int y, int frameWidth, int frameHeight, int frameCount, int srcW, int srcH,
                Place place) {
    int px = x, py = y;
    for (int i = 0; i < frameCount; ++i) {
        if (px + frameWidth > srcW) {
            px = 0;
            py += frameHeight;
            if (frameWidth > srcW) return false;
        }
        if (py + frameHeight > srcH) return false;
        place(i, px, py);
        px += frameWidth;
    }
    return true;
}

}  // namespace

bool c_Image::m_FramesFit(int x, int y, int frameWidth, int frameHeight, int frameCount, int srcW, int srcH) {
    return WalkFrames(x, y, frameWidth, frameHeight, frameCount, srcW, srcH, [](int, int, int) {});
}

c_Image* c_Image::p_Init2(tvxSurface* surf, int x, int y, int frameWidth, int frameHeight, int frameCount,
                          int flags_, c_Image* source_, int srcX, int srcY, int srcW, int srcH) {
    if (surface) zqError(String("Image already initialized"));
    gc_assign(surface, surf);
    gc_assign(source, source_);
    width = frameWidth;
    height = frameHeight;
    gc_assign(frames, Array<c_Frame*>(frameCount));
    const bool fits = WalkFrames(
        x, y, frameWidth, frameHeight, frameCount, srcW, srcH,
        [&](int i, int px, int py) { gc_assign(frames[i], gc_new<c_Frame>()->m_new(srcX + px, srcY + py)); });
    if (!fits) zqError(String("Image frame outside surface"));
    p_ApplyFlags(flags_);
    return this;
}

void c_Image::p_ApplyFlags(int flags_) {
    flags = flags_;
    if (flags & PadFramesX) {
        for (c_Frame* f : frames) f->x += 1;
        width -= 2;
    }
    if (flags & PadFramesY) {
        for (c_Frame* f : frames) f->y += 1;
        height -= 2;
    }
    if (flags & CentreHandle) p_SetHandle(static_cast<float>(width) / 2, static_cast<float>(height) / 2);
    if (frames.Length() == 1 && frames[0]->x == 0 && frames[0]->y == 0 && width == surface->Width() &&
        height == surface->Height())
        flags |= WholeSurface;
}

void c_Image::p_SetHandle(float x, float y) {
    handleX = x;
    handleY = y;
    flags &= ~CentreHandle;
}
