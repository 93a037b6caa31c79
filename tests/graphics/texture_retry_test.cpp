// A texture size that OpenGL refuses is allocated again at the next power
// of two, and drawing does not change. Run with Mesa's non-power-of-two
// extension switched off (MESA_EXTENSION_OVERRIDE, set by the test's
// environment), so the refusal comes from the real driver.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstring>

#include "graphics/tvx_graphics.h"
#include "graphics/zq_graphics.h"
#include "tests/graphics/graphics_test_support.h"

namespace {

TEST(TextureRetryTest, RefusedSizeIsRetriedAtTheNextPowerOfTwo) {
    TestHost* host = InstallTestRuntime();
    OpenTestWindow();
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    if (!version || !std::strstr(version, "Mesa")) {
        CloseTestWindow();
        GTEST_SKIP() << "only Mesa can be told to refuse non-power-of-two textures";
    }
    const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    ASSERT_TRUE(extensions == nullptr ||
                std::strstr(extensions, "GL_ARB_texture_non_power_of_two") == nullptr)
        << "the driver still offers non-power-of-two textures; the refusal cannot be tested";

    // 100 x 60, every texel distinct in red and green.
    std::vector<uint8_t> px;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 100; ++x) {
            const uint8_t c[4] = {static_cast<uint8_t>(2 * x), static_cast<uint8_t>(4 * y), 77, 255};
            px.insert(px.end(), c, c + 4);
        }
    std::string path = host->dataFolder + "/npot.png";
    WritePng(path, 100, 60, 4, px);

    tvxGraphics* device = gc_new<tvxGraphics>();
    zq_graphics_SetGraphicsDevice(device);
    tvxSurface* s = device->LoadSurface(String(path.c_str()));
    ASSERT_NE(s, nullptr);
    EXPECT_FLOAT_EQ(s->uscale, 1.0f / 128);
    EXPECT_FLOAT_EQ(s->vscale, 1.0f / 64);
    GLint texWidth = 0;
    glBindTexture(GL_TEXTURE_2D, s->texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &texWidth);
    EXPECT_EQ(texWidth, 128);

    device->BeginRender();
    device->SetScissor(0, 0, device->Width(), device->Height());
    device->Cls(0, 0, 0);
    device->DrawSurface(s, 10, 20);
    device->DrawSurface2(s, 300, 20, 50, 30, 10, 10);
    device->EndRender();
    for (int y = 0; y < 60; y += 7)
        for (int x = 0; x < 100; x += 9) {
            Rgba p = PixelAt(10 + x, 20 + y);
            ASSERT_EQ(p.r, 2 * x) << x << ", " << y;
            ASSERT_EQ(p.g, 4 * y) << x << ", " << y;
        }
    EXPECT_EQ(PixelAt(109, 79).r, 198);
    EXPECT_EQ(PixelAt(110, 79).r, 0);  // nothing of the padding shows
    EXPECT_EQ(PixelAt(300, 20).r, 100);
    EXPECT_EQ(PixelAt(309, 29).g, 4 * 39);
    EXPECT_EQ(PixelAt(310, 29).g, 0);
    CloseTestWindow();
}

}  // namespace
