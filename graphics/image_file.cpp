// Image decoding through stb_image (implementation compiled into libstb).
#include "graphics/image_file.h"

#include <stb_image.h>

#include <cstdio>
#include <cstdlib>

#include "graphics/tvx_surface.h"

unsigned char* tvxLoadImageFile(ZqGame* host, String path, int* width, int* height, int* depth) {
    if (!host) return nullptr;
    std::FILE* file = host->OpenFile(path, String("rb"));
    if (!file) return nullptr;

    // Refuse absurd sizes from the header alone; stbi_info_from_file leaves
    // the stream where it was.
    int w = 0, h = 0, d = 0;
    unsigned char* pixels = nullptr;
    if (stbi_info_from_file(file, &w, &h, &d) && tvxSurfaceSizeOk(w, h))
        pixels = stbi_load_from_file(file, &w, &h, &d, 0);
    std::fclose(file);
    if (!pixels) return nullptr;
    // The decoder may disagree with its own header probe; trust nothing odd.
    if (!tvxSurfaceSizeOk(w, h) || d < 1 || d > 4) {
        stbi_image_free(pixels);
        return nullptr;
    }

    // libstb is built with stb_image's default allocator, malloc, so the
    // block can go to callers that release it with free().
    size_t bytes = static_cast<size_t>(w) * h * d;
    *width = w;
    *height = h;
    *depth = d;
    gc_ext_malloced(static_cast<int>(bytes));
    return pixels;
}
