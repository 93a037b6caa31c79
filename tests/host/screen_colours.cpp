// Counting the colours of a screenshot: enough to tell a window that draws
// its sprites from one that shows only a background and greys.
#include <stb_image.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "tests/host/x11_driver.h"

namespace xdriver {

int DistinctColours(unsigned long window) {
    const std::string file = "/tmp/xdriver_colours_" + std::to_string(getpid()) + ".png";
    Run("import -window " + std::to_string(window) + " " + file);
    int w = 0, h = 0, n = 0;
    unsigned char* pixels = stbi_load(file.c_str(), &w, &h, &n, 3);
    std::remove(file.c_str());
    if (!pixels) return 0;
    int buckets[512] = {};
    for (int i = 0; i < w * h; ++i) {
        const unsigned char* p = pixels + 3 * i;
        int hi = std::max({p[0], p[1], p[2]}), lo = std::min({p[0], p[1], p[2]});
        if (hi - lo < 80) continue;  // greys and the background
        ++buckets[(p[0] >> 5) << 6 | (p[1] >> 5) << 3 | (p[2] >> 5)];
    }
    stbi_image_free(pixels);
    return static_cast<int>(
        std::count_if(std::begin(buckets), std::end(buckets), [](int c) { return c >= 20; }));
}

}  // namespace xdriver
