// Surface pixels and their texture: adoption with premultiplication, pixel
// updates, and texture creation per OpenGL context.
//
// A texture is made by the first Bind in a context and again after every
// window re-open (a new glfwGraphicsSeq), always from the kept pixel copy.
// Textures use nearest filtering, clamp to edge and no mipmaps. An
// implementation that refuses a size (non-power-of-two on old hardware) is
// asked again at the next power of two; uscale/vscale follow the allocated
// size, so texture coordinates and therefore drawing stay the same.
#include "graphics/tvx_surface.h"

#include <algorithm>
#include <cstdlib>

#include "runtime/lang/game.h"

GLenum tvxFormatForDepth(int depth) {
    switch (depth) {
        case 1:
            return GL_LUMINANCE;
        case 2:
            return GL_LUMINANCE_ALPHA;
        case 3:
            return GL_RGB;
        case 4:
            return GL_RGBA;
        default:
            return 0;
    }
}

void tvxPremultiply(unsigned char* pixels, long count, int depth) {
    if (depth == 2) {
        for (long i = 0; i < count; ++i, pixels += 2)
            pixels[0] = static_cast<unsigned char>(pixels[0] * pixels[1] / 255);
    } else if (depth == 4) {
        for (long i = 0; i < count; ++i, pixels += 4) {
            int a = pixels[3];
            pixels[0] = static_cast<unsigned char>(pixels[0] * a / 255);
            pixels[1] = static_cast<unsigned char>(pixels[1] * a / 255);
            pixels[2] = static_cast<unsigned char>(pixels[2] * a / 255);
        }
    }
}

tvxSurface::~tvxSurface() {
    Discard();
}

void tvxSurface::ReleaseTexture() {
    if (seq != -1 && seq == glfwGraphicsSeq) glDeleteTextures(1, &texture);
    seq = -1;
    texture = 0;
}

void tvxSurface::Discard() {
    ReleaseTexture();
    std::free(data);
    data = nullptr;
    ++pixelSeq;
}

void tvxSurface::SetData(unsigned char* pixels, int w, int h, int d) {
    Discard();
    data = pixels;
    width = w;
    height = h;
    depth = d;
    format = tvxFormatForDepth(d);
    uscale = w > 0 ? 1.0f / static_cast<float>(w) : 1.0f;
    vscale = h > 0 ? 1.0f / static_cast<float>(h) : 1.0f;
    tvxPremultiply(data, static_cast<long>(w) * h, d);
}

namespace {

int NextPowerOfTwo(int size) {
    int p = 1;
    while (p < size && p < (1 << 30)) p <<= 1;
    return p;
}

}  // namespace

void tvxSurface::AllocateTexture() {
    // Errors left over from earlier calls must not be taken for a refusal.
    while (glGetError() != GL_NO_ERROR) {
    }
    int texWidth = width;
    int texHeight = height;
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), texWidth, texHeight, 0, format,
                 GL_UNSIGNED_BYTE, nullptr);
    if (glGetError() != GL_NO_ERROR) {
        texWidth = NextPowerOfTwo(width);
        texHeight = NextPowerOfTwo(height);
        glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), texWidth, texHeight, 0, format,
                     GL_UNSIGNED_BYTE, nullptr);
    }
    uscale = 1.0f / static_cast<float>(std::max(texWidth, 1));
    vscale = 1.0f / static_cast<float>(std::max(texHeight, 1));
}

void tvxSurface::Bind() {
    if (glfwGraphicsSeq == 0) return;
    if (seq == glfwGraphicsSeq) {
        glBindTexture(GL_TEXTURE_2D, texture);
        return;
    }
    seq = glfwGraphicsSeq;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    AllocateTexture();
    if (data) {
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, format, GL_UNSIGNED_BYTE, data);
    }
}

void tvxSurface::SetSubData(int x, int y, int w, int h, const int* pixels, int pitch) {
    if (format != GL_RGBA) return;
    // Clip to the surface, moving the source origin along.
    int x0 = std::max(x, 0), y0 = std::max(y, 0);
    int x1 = std::min(x + w, width), y1 = std::min(y + h, height);
    if (x0 >= x1 || y0 >= y1) return;
    pixels += static_cast<long>(y0 - y) * pitch + (x0 - x);
    w = x1 - x0;
    h = y1 - y0;

    if (!data) data = static_cast<unsigned char*>(std::calloc(static_cast<size_t>(width) * height, 4));
    if (!data) return;
    ++pixelSeq;
    for (int row = 0; row < h; ++row) {
        const int* src = pixels + static_cast<long>(row) * pitch;
        unsigned char* dst = data + (static_cast<size_t>(y0 + row) * width + x0) * 4;
        for (int column = 0; column < w; ++column, dst += 4) {
            auto argb = static_cast<unsigned>(src[column]);
            unsigned a = argb >> 24;
            dst[0] = static_cast<unsigned char>(((argb >> 16) & 255) * a / 255);
            dst[1] = static_cast<unsigned char>(((argb >> 8) & 255) * a / 255);
            dst[2] = static_cast<unsigned char>((argb & 255) * a / 255);
            dst[3] = static_cast<unsigned char>(a);
        }
    }

    if (seq != glfwGraphicsSeq) return;  // no live texture: the next Bind uploads all
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    if (w == width) {
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, y0, width, h, GL_RGBA, GL_UNSIGNED_BYTE,
                        data + static_cast<size_t>(y0) * width * 4);
        return;
    }
    for (int row = y0; row < y1; ++row)
        glTexSubImage2D(GL_TEXTURE_2D, 0, x0, row, w, 1, GL_RGBA, GL_UNSIGNED_BYTE,
                        data + (static_cast<size_t>(row) * width + x0) * 4);
}

const tvxInkBox& tvxSurface::Ink(int x, int y, int w, int h, tvxInkBox& box) const {
    if (box.pixelSeq == pixelSeq) return box;
    box = tvxInkBox{0, 0, w, h, pixelSeq};
    bool inside = x >= 0 && y >= 0 && w > 0 && h > 0 && x + w <= width && y + h <= height;
    if (!data || (depth != 2 && depth != 4) || !inside) return box;
    // Columns and rows that hold a texel of alpha above 0.
    int x0 = w, y0 = h, x1 = -1, y1 = -1;
    for (int row = 0; row < h; ++row) {
        const unsigned char* alpha = data + (static_cast<size_t>(y + row) * width + x) * depth + depth - 1;
        for (int column = 0; column < w; ++column, alpha += depth) {
            if (*alpha == 0) continue;
            x0 = std::min(x0, column);
            x1 = std::max(x1, column);
            y0 = std::min(y0, row);
            y1 = std::max(y1, row);
        }
    }
    if (x1 < 0) {
        box.w = box.h = 0;
        return box;
    }
    box.x = std::max(x0 - 1, 0);
    box.y = std::max(y0 - 1, 0);
    box.w = std::min(x1 + 2, w) - box.x;
    box.h = std::min(y1 + 2, h) - box.y;
    return box;
}
