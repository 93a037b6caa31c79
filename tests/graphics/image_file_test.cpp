// Image decoding: the file's own channel count, the external-allocation
// report, and null for damaged files and absurd sizes. The files are the
// image_load fuzz target's seed corpus.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "graphics/image_file.h"
#include "tests/graphics/graphics_test_support.h"

namespace {

struct Decoded {
    unsigned char* pixels = nullptr;
    int width = -1, height = -1, depth = -1;
    ~Decoded() { std::free(pixels); }
};

void Decode(const char* name, Decoded& out) {
    std::string path = std::string(TOLVAR_IMAGE_CORPUS) + "/" + name;
    out.pixels =
        tvxLoadImageFile(InstallTestRuntime(), String(path.c_str()), &out.width, &out.height, &out.depth);
}

TEST(ImageFileTest, KeepsTheFilesOwnChannelCount) {
    for (int d = 1; d <= 4; ++d) {
        std::string name = "c" + std::to_string(d) + ".png";
        Decoded img;
        Decode(name.c_str(), img);
        ASSERT_NE(img.pixels, nullptr) << name;
        EXPECT_EQ(img.width, 7);
        EXPECT_EQ(img.height, 5);
        EXPECT_EQ(img.depth, d);
    }
    Decoded tga;
    Decode("grey_rle.tga", tga);
    ASSERT_NE(tga.pixels, nullptr);
    EXPECT_EQ(tga.depth, 1);
}

TEST(ImageFileTest, ReportsTheDecodedBytesToTheCollector) {
    int before = gc_ext_new_bytes.load();
    Decoded img;
    Decode("c3.png", img);
    ASSERT_NE(img.pixels, nullptr);
    EXPECT_EQ(gc_ext_new_bytes.load() - before, 7 * 5 * 3);
}

TEST(ImageFileTest, DamagedAndAbsurdFilesGiveNullAndLeaveOutputsAlone) {
    for (const char* name : {"missing.png", "empty", "garbage.bin", "truncated.png", "huge_header.png",
                             "huge_header.ppm", "psd_huge.psd"}) {
        int before = gc_ext_new_bytes.load();
        Decoded img;
        Decode(name, img);
        EXPECT_EQ(img.pixels, nullptr) << name;
        EXPECT_EQ(img.width, -1) << name;
        EXPECT_EQ(gc_ext_new_bytes.load(), before) << name;
    }
}

}  // namespace
