// The front end's two fatal runtime errors end the process with the
// runtime's banner and exit code -1.
#include <gtest/gtest.h>
#include <unistd.h>

#include "graphics/zq_graphics.h"
#include "tests/graphics/graphics_test_support.h"

namespace {

// zqError prints on standard output; death tests match standard error.
void StdoutToStderr() {
    dup2(2, 1);
}

class FatalTest : public ::testing::Test {
  protected:
    void SetUp() override {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        InstallTestRuntime();
        device = gc_new<tvxGraphics>();
        zq_graphics_SetGraphicsDevice(device);
    }
    tvxGraphics* device = nullptr;
};

TEST_F(FatalTest, InitialisingAnImageTwiceIsFatal) {
    c_Image* image = gc_new<c_Image>()->m_new()->p_Init(device->CreateSurface(8, 8), 1, 0);
    EXPECT_EXIT(
        {
            StdoutToStderr();
            image->p_Init(device->CreateSurface(8, 8), 1, 0);
        },
        ::testing::ExitedWithCode(255), "Tolvar Runtime Error : Image already initialized");
    EXPECT_EXIT(
        {
            StdoutToStderr();
            image->p_Init2(device->CreateSurface(8, 8), 0, 0, 8, 8, 1, 0, nullptr, 0, 0, 8, 8);
        },
        ::testing::ExitedWithCode(255), "Tolvar Runtime Error : Image already initialized");
}

TEST_F(FatalTest, AFrameOutsideTheSurfaceIsFatal) {
    tvxSurface* surface = device->CreateSurface(64, 64);
    // Sixteen 16 x 16 frames fill the surface; a seventeenth does not fit.
    gc_new<c_Image>()->m_new()->p_Init2(surface, 0, 0, 16, 16, 16, 0, nullptr, 0, 0, 64, 64);
    EXPECT_EXIT(
        {
            StdoutToStderr();
            gc_new<c_Image>()->m_new()->p_Init2(surface, 0, 0, 16, 16, 17, 0, nullptr, 0, 0, 64, 64);
        },
        ::testing::ExitedWithCode(255), "Tolvar Runtime Error : Image frame outside surface");
    // A frame wider than the rectangle never fits.
    EXPECT_EXIT(
        {
            StdoutToStderr();
            gc_new<c_Image>()->m_new()->p_Init2(surface, 0, 0, 65, 8, 1, 0, nullptr, 0, 0, 64, 64);
        },
        ::testing::ExitedWithCode(255), "Tolvar Runtime Error : Image frame outside surface");
}

}  // namespace
