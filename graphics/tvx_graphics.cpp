// The render device: frame state, the batch, vertex generation and the
// surface factory.
//
// Index
//   [SECTION] Construction and frame    constructor, SetupRenderState, BeginRender, EndRender
//   [SECTION] Batch                     StartBatch, Flush
//   [SECTION] State                     Cls, SetAlpha, SetColor, SetBlend, SetScissor, SetMatrix
//   [SECTION] Primitives                points, lines, rectangles, ovals, polygons, surfaces
//   [SECTION] Pixels                    ReadPixels, WritePixels2
//   [SECTION] Surfaces                  LoadSurface, LoadSurface__UNSAFE__, CreateSurface
//
// Every draw operation asks Reserve() for its vertices; Reserve applies the
// one batch rule (Joins) and so is the only place where a batch can end
// because of drawing. Vertices are written straight into the fixed buffer:
// no allocation per primitive.
#include "graphics/tvx_graphics.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "runtime/glfw2/glfw2.h"
#include "runtime/lang/game.h"

static_assert(std::endian::native == std::endian::little, "colour bytes are packed for little-endian memory");

// [SECTION] Construction and frame -------------------------------------------

tvxGraphics::tvxGraphics() {
    for (int k = 0; k < kMaxVertices / 4; ++k) {
        uint16_t* q = quadIndices + 6 * k;
        auto base = static_cast<uint16_t>(4 * k);
        q[0] = base;
        q[1] = static_cast<uint16_t>(base + 1);
        q[2] = static_cast<uint16_t>(base + 2);
        q[3] = base;
        q[4] = static_cast<uint16_t>(base + 2);
        q[5] = static_cast<uint16_t>(base + 3);
    }
    glfw2::glfwGetWindowSize(&width, &height);
}

void tvxGraphics::mark() {
    gc_object::mark();
    gc_enqueue(primSurf);
}

// All fixed-function state a frame depends on, in one place: a pixel-exact
// orthographic projection with the origin at the top left, the three
// client-side arrays over `vertices`, premultiplied alpha blending and no
// texturing outside a textured batch. The scissor test is the front end's.
void tvxGraphics::SetupRenderState() {
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width, height, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    const auto* base = reinterpret_cast<const unsigned char*>(vertices);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(2, GL_FLOAT, sizeof(tvxVertex), base);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(2, GL_FLOAT, sizeof(tvxVertex), base + 8);
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(4, GL_UNSIGNED_BYTE, sizeof(tvxVertex), base + 16);

    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    appliedBlend = kBlendAlpha;
    glDisable(GL_TEXTURE_2D);
    // Colours are premultiplied, so a fragment of alpha 0 has colour 0 and
    // blends to the pixel it lands on under both blend functions; the alpha
    // test lets the rasteriser skip those fragments' blending and writes.
    glAlphaFunc(GL_GREATER, 0.0f);
    glEnable(GL_ALPHA_TEST);
}

int tvxGraphics::BeginRender() {
    glfw2::glfwGetWindowSize(&width, &height);
    SetupRenderState();
    primCount = 0;
    primSurf = nullptr;  // keeps no surface alive across frames
    stats = tvxFrameStats();
    return 1;
}

void tvxGraphics::EndRender() {
    Flush(tvxFlushCause::EndRender);
    lastStats = stats;
}

// [SECTION] Batch --------------------------------------------------------------

void tvxGraphics::StartBatch(int kind, tvxSurface* surf, int n) {
    if (primCount > 0) {
        bool sameKind = kind == primType && surf == primSurf;
        Flush(sameKind && primCount + n > kMaxVertices ? tvxFlushCause::BatchFull
                                                       : tvxFlushCause::BatchBreak);
    }
    primType = kind;
    gc_assign(primSurf, surf);
}

void tvxGraphics::Flush(tvxFlushCause cause) {
    if (primCount == 0) return;
    bool textured = primSurf != nullptr;
    if (textured) {
        glEnable(GL_TEXTURE_2D);
        primSurf->Bind();
        ++stats.textureBinds;
    }
    switch (primType) {
        case kPoints:
            glDrawArrays(GL_POINTS, 0, primCount);
            ++stats.drawCalls;
            break;
        case kLines:
            glDrawArrays(GL_LINES, 0, primCount);
            ++stats.drawCalls;
            break;
        case kTriangles:
            glDrawArrays(GL_TRIANGLES, 0, primCount);
            ++stats.drawCalls;
            break;
        case kQuads:
            glDrawElements(GL_TRIANGLES, primCount / 4 * 6, GL_UNSIGNED_SHORT, quadIndices);
            ++stats.drawCalls;
            break;
        default:
            for (int start = 0; start < primCount; start += primType) {
                glDrawArrays(GL_TRIANGLE_FAN, start, primType);
                ++stats.drawCalls;
            }
            break;
    }
    if (textured) glDisable(GL_TEXTURE_2D);
    stats.vertices += primCount;
    ++stats.flushes[static_cast<int>(cause)];
    primCount = 0;
}

// [SECTION] State ----------------------------------------------------------------

namespace {

// A colour channel truncated toward zero into 0..255 (NaN gives 0).
uint32_t ChannelByte(float value) {
    if (!(value > 0)) return 0;
    if (value >= 255) return 255;
    return static_cast<uint32_t>(value);
}

uint32_t PackPremultiplied(float r, float g, float b, float alpha) {
    return ChannelByte(r * alpha) | ChannelByte(g * alpha) << 8 | ChannelByte(b * alpha) << 16 |
           ChannelByte(alpha * 255) << 24;
}

}  // namespace

int tvxGraphics::Cls(float red, float green, float blue) {
    if (primCount > 0) ++stats.discards;
    primCount = 0;
    glClearColor(red / 255.0f, green / 255.0f, blue / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    return 0;
}

int tvxGraphics::SetAlpha(float a) {
    alpha = a;
    color = PackPremultiplied(r, g, b, alpha);
    return 0;
}

int tvxGraphics::SetColor(float red, float green, float blue) {
    r = red;
    g = green;
    b = blue;
    color = PackPremultiplied(r, g, b, alpha);
    return 0;
}

int tvxGraphics::SetBlend(int mode) {
    int func = mode == 1 ? kBlendAdditive : kBlendAlpha;
    if (func == appliedBlend) return 0;
    Flush(tvxFlushCause::Blend);
    if (func == kBlendAdditive)
        glBlendFunc(GL_ONE, GL_ONE);
    else
        glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    appliedBlend = func;
    return 0;
}

int tvxGraphics::SetScissor(int x, int y, int w, int h) {
    Flush(tvxFlushCause::Scissor);
    if (x == 0 && y == 0 && w == Width() && h == Height()) {
        glDisable(GL_SCISSOR_TEST);
    } else {
        glEnable(GL_SCISSOR_TEST);
        glScissor(x, Height() - y - h, w, h);
    }
    return 0;
}

int tvxGraphics::SetMatrix(float ix_, float iy_, float jx_, float jy_, float tx_, float ty_) {
    ix = ix_;
    iy = iy_;
    jx = jx_;
    jy = jy_;
    tx = tx_;
    ty = ty_;
    tformed = !(ix == 1 && iy == 0 && jx == 0 && jy == 1 && tx == 0 && ty == 0);
    return 0;
}

// [SECTION] Primitives -------------------------------------------------------------

int tvxGraphics::DrawPoint(float x, float y) {
    tvxVertex* v = Reserve(kPoints, nullptr, 1);
    Map(x, y, v->x, v->y);
    v->x += 0.5f;
    v->y += 0.5f;
    v->u = v->v = 0;
    v->color = color;
    return 0;
}

int tvxGraphics::DrawLine(float x1, float y1, float x2, float y2) {
    tvxVertex* v = Reserve(kLines, nullptr, 2);
    Map(x1, y1, v[0].x, v[0].y);
    Map(x2, y2, v[1].x, v[1].y);
    for (int i = 0; i < 2; ++i) {
        v[i].x += 0.5f;
        v[i].y += 0.5f;
        v[i].u = v[i].v = 0;
        v[i].color = color;
    }
    return 0;
}

void tvxGraphics::PutQuad(tvxVertex* v, float x, float y, float w, float h, float u0, float v0, float u1,
                          float v1) const {
    if (tformed) {
        // Corner 0 mapped, then the two mapped edge vectors added: the same
        // points as mapping each corner, with half the multiplications.
        float x0 = x * ix + y * jx + tx, y0 = x * iy + y * jy + ty;
        float wx = w * ix, wy = w * iy, hx = h * jx, hy = h * jy;
        v[0].x = x0, v[0].y = y0;
        v[1].x = x0 + wx, v[1].y = y0 + wy;
        v[2].x = x0 + wx + hx, v[2].y = y0 + wy + hy;
        v[3].x = x0 + hx, v[3].y = y0 + hy;
    } else {
        v[0].x = x, v[0].y = y;
        v[1].x = x + w, v[1].y = y;
        v[2].x = x + w, v[2].y = y + h;
        v[3].x = x, v[3].y = y + h;
    }
    v[0].u = u0, v[0].v = v0;
    v[1].u = u1, v[1].v = v0;
    v[2].u = u1, v[2].v = v1;
    v[3].u = u0, v[3].v = v1;
    v[0].color = v[1].color = v[2].color = v[3].color = color;
}

bool tvxGraphics::FillsWindowOpaque(float x, float y, float w, float h) const {
    if (appliedBlend != kBlendAlpha || (color >> 24) != 255) return false;
    float x0 = x, y0 = y, x1 = x + w, y1 = y + h;
    if (tformed) {
        if (iy != 0 || jx != 0) return false;  // turned: not an upright rectangle
        x0 = x * ix + tx, x1 = (x + w) * ix + tx;
        y0 = y * jy + ty, y1 = (y + h) * jy + ty;
    }
    return std::min(x0, x1) <= 0 && std::min(y0, y1) <= 0 && std::max(x0, x1) >= static_cast<float>(width) &&
           std::max(y0, y1) >= static_cast<float>(height);
}

int tvxGraphics::DrawRect(float x, float y, float w, float h) {
    // An opaque rectangle over the whole window (the usual first drawing of
    // a frame) blends to its own colour everywhere: a clear gives the same
    // pixels without reading the window. glClear keeps to the scissor box as
    // drawing does, and the pending batch, drawn under the same scissor, would
    // be painted over entirely, so it is dropped unseen.
    if (FillsWindowOpaque(x, y, w, h)) {
        if (primCount > 0) ++stats.discards;
        primCount = 0;
        glClearColor(static_cast<float>(color & 255) / 255.0f, static_cast<float>(color >> 8 & 255) / 255.0f,
                     static_cast<float>(color >> 16 & 255) / 255.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        ++stats.clears;
        return 0;
    }
    PutQuad(Reserve(kQuads, nullptr, 4), x, y, w, h, 0, 0, 0, 0);
    return 0;
}

int tvxGraphics::OvalSegments(float rx, float ry) const {
    float s;
    if (tformed)
        s = std::trunc(std::sqrt((rx * ix) * (rx * ix) + (rx * iy) * (rx * iy)) +
                       std::sqrt((ry * jx) * (ry * jx) + (ry * jy) * (ry * jy)));
    else
        s = std::fabs(std::trunc(rx)) + std::fabs(std::trunc(ry));
    if (!(s >= 12)) return 12;  // NaN radii included
    if (s > kMaxVertices) return kMaxVertices;
    return static_cast<int>(s) & ~3;
}

int tvxGraphics::DrawOval(float x, float y, float w, float h) {
    float rx = w / 2, ry = h / 2;
    float cx = x + rx, cy = y + ry;
    int s = OvalSegments(rx, ry);
    tvxVertex* v = Reserve(s, nullptr, s);
    for (int i = 0; i < s; ++i) {
        float a = static_cast<float>(i) * 6.2831855f / static_cast<float>(s);
        Map(cx + rx * std::cos(a), cy - ry * std::sin(a), v[i].x, v[i].y);
        v[i].u = v[i].v = 0;
        v[i].color = color;
    }
    return 0;
}

int tvxGraphics::DrawPoly(Array<float> verts) {
    int n = verts.Length() / 2;
    if (n < 1 || n > kMaxVertices) return 0;
    const float* xy = verts.Data();
    tvxVertex* v = Reserve(n, nullptr, n);
    for (int i = 0; i < n; ++i, xy += 2) {
        Map(xy[0], xy[1], v[i].x, v[i].y);
        v[i].u = v[i].v = 0;
        v[i].color = color;
    }
    return 0;
}

int tvxGraphics::DrawPoly2(Array<float> verts, tvxSurface* surface, int srcx, int srcy) {
    int n = verts.Length() / 4;
    if (n < 1 || n > kMaxVertices || !surface) return 0;
    const float* xyuv = verts.Data();
    float us = surface->uscale, vs = surface->vscale;
    tvxVertex* v = Reserve(n, surface, n);
    for (int i = 0; i < n; ++i, xyuv += 4) {
        Map(xyuv[0], xyuv[1], v[i].x, v[i].y);
        v[i].u = (static_cast<float>(srcx) + xyuv[2]) * us;
        v[i].v = (static_cast<float>(srcy) + xyuv[3]) * vs;
        v[i].color = color;
    }
    return 0;
}

int tvxGraphics::DrawSurface(tvxSurface* surface, float x, float y) {
    if (!surface) return 0;
    auto w = static_cast<float>(surface->Width()), h = static_cast<float>(surface->Height());
    PutQuad(Reserve(kQuads, surface, 4), x, y, w, h, 0, 0, w * surface->uscale, h * surface->vscale);
    return 0;
}

int tvxGraphics::DrawSurface2(tvxSurface* surface, float x, float y, int srcx, int srcy, int srcw, int srch) {
    if (!surface) return 0;
    float us = surface->uscale, vs = surface->vscale;
    auto sx = static_cast<float>(srcx), sy = static_cast<float>(srcy);
    auto sw = static_cast<float>(srcw), sh = static_cast<float>(srch);
    PutQuad(Reserve(kQuads, surface, 4), x, y, sw, sh, sx * us, sy * vs, (sx + sw) * us, (sy + sh) * vs);
    return 0;
}

// [SECTION] Pixels ---------------------------------------------------------------------

int tvxGraphics::ReadPixels(Array<int> pixels, int x, int y, int w, int h, int offset, int pitch) {
    Flush(tvxFlushCause::ReadPixels);
    if (w <= 0 || h <= 0 || static_cast<long>(w) * h > pixels.Length()) return 0;
    std::vector<uint32_t> buffer(static_cast<size_t>(w) * h);
    glReadPixels(x, height - y - h, w, h, GL_BGRA, GL_UNSIGNED_BYTE, buffer.data());
    const long length = pixels.Length();
    for (int i = 0; i < h; ++i) {
        const uint32_t* src = buffer.data() + static_cast<size_t>(h - 1 - i) * w;
        long start = offset + static_cast<long>(i) * pitch;
        for (int c = 0; c < w; ++c)
            if (start + c >= 0 && start + c < length)
                pixels[static_cast<int>(start + c)] = static_cast<int>(src[c]);
    }
    return 0;
}

int tvxGraphics::WritePixels2(tvxSurface* surface, Array<int> pixels, int x, int y, int w, int h, int offset,
                              int pitch) {
    if (!surface || w <= 0 || h <= 0) return 0;
    // The whole source rectangle must lie inside the array.
    long last = static_cast<long>(h - 1) * pitch;
    long lo = offset + std::min(0L, last), hi = offset + std::max(0L, last) + w;
    if (lo < 0 || hi > pixels.Length()) return 0;
    surface->SetSubData(x, y, w, h, pixels.Data() + offset, pitch);
    return 0;
}

// [SECTION] Surfaces ---------------------------------------------------------------------

tvxSurface* tvxGraphics::LoadSurface(String path) {
    tvxSurface* surface = gc_new<tvxSurface>();
    if (!LoadSurface__UNSAFE__(surface, path)) return nullptr;
    surface->Bind();
    return surface;
}

bool tvxGraphics::LoadSurface__UNSAFE__(tvxSurface* surface, String path) {
    ZqGame* host = ZqGame::_game;
    if (!surface || !host) return false;
    int w = 0, h = 0, d = 0;
    unsigned char* pixels = host->LoadImageData(path, &w, &h, &d);
    if (!pixels) return false;
    if (!tvxSurfaceSizeOk(w, h) || tvxFormatForDepth(d) == 0) {
        std::free(pixels);
        return false;
    }
    surface->SetData(pixels, w, h, d);
    return true;
}

tvxSurface* tvxGraphics::CreateSurface(int w, int h) {
    if (!tvxSurfaceSizeOk(w, h)) return nullptr;
    tvxSurface* surface = gc_new<tvxSurface>();
    surface->width = w;
    surface->height = h;
    surface->depth = 4;
    surface->format = GL_RGBA;
    surface->uscale = 1.0f / static_cast<float>(w);
    surface->vscale = 1.0f / static_cast<float>(h);
    surface->Bind();
    return surface;
}
