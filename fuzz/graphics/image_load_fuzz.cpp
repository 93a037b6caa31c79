// Image loading on arbitrary file bytes, the whole road from the file to a
// surface and an image: decoding (any format and channel count stb_image
// reads), the size limits, premultiplication and frame cutting. A damaged
// file must give a null image; nothing may crash or allocate without bound.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "graphics/image_file.h"
#include "graphics/zq_graphics.h"
#include "runtime/lang/init.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

// Every file the device opens holds the fuzzer's bytes.
class MemoryHost : public ZqGame {
  public:
    const uint8_t* bytes = nullptr;
    size_t size = 0;

    std::FILE* OpenFile(String, String) override {
        if (size == 0) return nullptr;  // fmemopen refuses empty buffers
        return fmemopen(const_cast<uint8_t*>(bytes), size, "rb");
    }
    unsigned char* LoadImageData(String path, int* width, int* height, int* depth) override {
        return tvxLoadImageFile(this, path, width, height, depth);
    }
};

MemoryHost* Setup() {
    static MemoryHost* host = [] {
        auto* h = new MemoryHost();
        ZqGame::_game = h;
        zq_run_module_inits();
        gc_mark();
        zq_graphics_SetGraphicsDevice(gc_new<tvxGraphics>());  // no window: surfaces stay off OpenGL
        return h;
    }();
    return host;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MemoryHost* host = Setup();
    host->bytes = data;
    host->size = size;

    c_Image* image = zq_graphics_LoadImage(String("./input.img"), 1, c_Image::CentreHandle);
    if (image) {
        tvxSurface* s = image->surface;
        check(tvxSurfaceSizeOk(s->width, s->height));
        check(s->depth >= 1 && s->depth <= 4 && s->data != nullptr);
        check(image->width == s->width && image->height == s->height);
        check(image->flags == c_Image::WholeSurface);
        // Premultiplied: no colour byte exceeds its alpha.
        if (s->depth == 4)
            for (long i = 0, n = static_cast<long>(s->width) * s->height; i < n; ++i)
                for (int c = 0; c < 3; ++c) check(s->data[4 * i + c] <= s->data[4 * i + 3]);
        if (s->depth == 2)
            for (long i = 0, n = static_cast<long>(s->width) * s->height; i < n; ++i)
                check(s->data[2 * i] <= s->data[2 * i + 1]);
        s->Discard();
    }
    // Nothing survives the input but the roots.
    gc_collect_all();
    gc_collect_all();
    gc_destroy_garbage();
    return 0;
}
