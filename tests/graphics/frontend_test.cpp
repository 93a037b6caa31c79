// The graphics front end against a device that records what reaches it:
// frame defaults, lazy matrix hand-over, the matrix stack, frame cutting,
// image flags and the default font. No OpenGL context is made here
// (glfwGraphicsSeq stays 0, so surfaces never touch OpenGL).
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "graphics/zq_graphics.h"
#include "tests/graphics/graphics_test_support.h"

extern int zq_app__devWidth;
extern int zq_app__devHeight;

namespace {

// Logs the calls the front end makes, and passes nothing to OpenGL.
class RecordingDevice : public tvxGraphics {
  public:
    std::vector<std::string> log;

    template <class... T>
    void Record(const char* name, T... args) {
        std::ostringstream out;
        out << name;
        ((out << ' ' << args), ...);
        log.push_back(out.str());
    }
    int SetColor(float r, float g, float b) override {
        Record("SetColor", r, g, b);
        return 0;
    }
    int SetAlpha(float a) override {
        Record("SetAlpha", a);
        return 0;
    }
    int SetBlend(int mode) override {
        Record("SetBlend", mode);
        return 0;
    }
    int SetScissor(int x, int y, int w, int h) override {
        Record("SetScissor", x, y, w, h);
        return 0;
    }
    int SetMatrix(float a, float b, float c, float d, float e, float f) override {
        tvxGraphics::SetMatrix(a, b, c, d, e, f);
        Record("SetMatrix", a, b, c, d, e, f);
        return 0;
    }
    int DrawRect(float x, float y, float w, float h) override {
        Record("DrawRect", x, y, w, h);
        return 0;
    }
    int DrawLine(float x1, float y1, float x2, float y2) override {
        Record("DrawLine", x1, y1, x2, y2);
        return 0;
    }
    int DrawOval(float x, float y, float w, float h) override {
        Record("DrawOval", x, y, w, h);
        return 0;
    }
    int DrawSurface(tvxSurface*, float x, float y) override {
        Record("DrawSurface", x, y);
        return 0;
    }
    int DrawSurface2(tvxSurface*, float x, float y, int sx, int sy, int sw, int sh) override {
        Record("DrawSurface2", x, y, sx, sy, sw, sh);
        return 0;
    }
};

class FrontEndTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { host = InstallTestRuntime(); }

    void SetUp() override {
        device = gc_new<RecordingDevice>();
        zq_graphics_SetGraphicsDevice(device);
        zq_app__devWidth = 640;
        zq_app__devHeight = 480;
    }
    void TearDown() override { zq_graphics_EndRender(); }

    // A PNG of w x h opaque pixels in the data folder, named `name`.
    void WriteImage(const char* name, int w, int h) {
        WritePng(host->dataFolder + "/" + name, w, h, 4, SolidRgba(w, h, 255, 255, 255, 255));
    }

    static TestHost* host;
    RecordingDevice* device = nullptr;
};
TestHost* FrontEndTest::host = nullptr;

// [Frame and state] --------------------------------------------------------------

TEST_F(FrontEndTest, FrameDefaultsReachTheDeviceInOrder) {
    zq_graphics_BeginRender();
    EXPECT_EQ(zq_graphics_renderDevice, device);
    std::vector<std::string> want = {"SetColor 255 255 255", "SetAlpha 1", "SetBlend 0",
                                     "SetScissor 0 0 640 480"};
    EXPECT_EQ(device->log, want);
    c_GraphicsContext* gc = zq_graphics_context;
    EXPECT_EQ(gc->matrixDepth, 0);
    EXPECT_FALSE(gc->tformed);
    EXPECT_TRUE(gc->matrixDirty);
    zq_graphics_EndRender();
    EXPECT_EQ(zq_graphics_renderDevice, nullptr);
}

TEST_F(FrontEndTest, BeginRenderResetsTheMatrixAndStack) {
    zq_graphics_Translate(5, 5);
    zq_graphics_PushMatrix();
    zq_graphics_BeginRender();
    EXPECT_EQ(zq_graphics_context->matrixDepth, 0);
    EXPECT_EQ(zq_graphics_context->tx, 0);
}

TEST_F(FrontEndTest, ScissorIsTruncatedTowardZero) {
    zq_graphics_BeginRender();
    device->log.clear();
    zq_graphics_SetScissor(1.9f, -2.7f, 10.5f, 20.99f);
    EXPECT_EQ(device->log, std::vector<std::string>{"SetScissor 1 -2 10 20"});
    EXPECT_FLOAT_EQ(zq_graphics_context->scissorX, 1.9f);
}

TEST_F(FrontEndTest, MatrixReachesTheDeviceOnlyWhenSomethingIsDrawn) {
    zq_graphics_BeginRender();
    device->log.clear();
    zq_graphics_DrawRect(0, 0, 1, 1);
    zq_graphics_Translate(10, 20);
    zq_graphics_Translate(1, 1);  // nothing drawn: nothing sent
    zq_graphics_DrawRect(0, 0, 1, 1);
    zq_graphics_DrawRect(2, 2, 1, 1);
    std::vector<std::string> want = {"SetMatrix 1 0 0 1 0 0", "DrawRect 0 0 1 1", "SetMatrix 1 0 0 1 11 21",
                                     "DrawRect 0 0 1 1", "DrawRect 2 2 1 1"};
    EXPECT_EQ(device->log, want);
}

TEST_F(FrontEndTest, EllipseIsDrawnAsTheOvalOfItsBox) {
    zq_graphics_BeginRender();
    device->log.clear();
    zq_graphics_DrawEllipse(100, 50, 20, 10);
    zq_graphics_DrawLine(1, 2, 3, 4);
    EXPECT_EQ(device->log[1], "DrawOval 80 40 40 20");
    EXPECT_EQ(device->log[2], "DrawLine 1 2 3 4");
}

// [Matrix] ------------------------------------------------------------------------

TEST_F(FrontEndTest, RotateNinetyTurnsXAxisUp) {
    zq_graphics_SetMatrix(1, 0, 0, 1, 0, 0);
    zq_graphics_Rotate(90);
    c_GraphicsContext* gc = zq_graphics_context;
    EXPECT_NEAR(gc->ix, 0, 1e-6);
    EXPECT_NEAR(gc->iy, -1, 1e-6);
    EXPECT_NEAR(gc->jx, 1, 1e-6);
    EXPECT_NEAR(gc->jy, 0, 1e-6);
    // The point (1, 0) lands one unit above the origin.
    EXPECT_NEAR(1 * gc->ix + 0 * gc->jx + gc->tx, 0, 1e-6);
    EXPECT_NEAR(1 * gc->iy + 0 * gc->jy + gc->ty, -1, 1e-6);
    EXPECT_TRUE(gc->tformed);
}

TEST_F(FrontEndTest, TransformAppliesTheNewTransformFirst) {
    zq_graphics_SetMatrix(1, 0, 0, 1, 0, 0);
    zq_graphics_Translate(10, 20);
    zq_graphics_Scale(2, 3);
    c_GraphicsContext* gc = zq_graphics_context;
    // (1, 1) scaled to (2, 3), then translated to (12, 23).
    EXPECT_FLOAT_EQ(1 * gc->ix + 1 * gc->jx + gc->tx, 12);
    EXPECT_FLOAT_EQ(1 * gc->iy + 1 * gc->jy + gc->ty, 23);

    float m[] = {1, 0, 0, 1, 0, 0};
    zq_graphics_SetMatrix2(Array<float>(m, 6));
    EXPECT_FALSE(gc->tformed);
    float t[] = {1, 0, 0, 1, 4, 5};
    zq_graphics_Transform2(Array<float>(t, 6));
    EXPECT_EQ(gc->tx, 4);
    EXPECT_EQ(gc->ty, 5);
}

TEST_F(FrontEndTest, StackGrowsPastThirtyTwoAndPopsBackInOrder) {
    c_GraphicsContext* gc = zq_graphics_context;
    gc->matrixDepth = 0;
    EXPECT_EQ(gc->matrixStack.Length(), 192);
    zq_graphics_SetMatrix(1, 2, 3, 4, 5, 6);
    for (int i = 0; i < 33; ++i) {
        zq_graphics_PushMatrix();
        zq_graphics_Translate(1, 0);
    }
    EXPECT_EQ(gc->matrixStack.Length(), 384);
    EXPECT_EQ(gc->matrixDepth, 33 * 6);
    for (int i = 0; i < 33; ++i) zq_graphics_PopMatrix();
    EXPECT_EQ(gc->matrixDepth, 0);
    EXPECT_EQ(gc->ix, 1);
    EXPECT_EQ(gc->iy, 2);
    EXPECT_EQ(gc->jx, 3);
    EXPECT_EQ(gc->jy, 4);
    EXPECT_EQ(gc->tx, 5);
    EXPECT_EQ(gc->ty, 6);
    zq_graphics_PopMatrix();  // below the start: nothing read, nothing changed
    EXPECT_EQ(gc->matrixDepth, 0);
    EXPECT_EQ(gc->tx, 5);
}

// [Images] -------------------------------------------------------------------------

TEST_F(FrontEndTest, LoadImageCutsFramesSideBySide) {
    WriteImage("strip.png", 256, 32);
    c_Image* image = zq_graphics_LoadImage(String("strip.png"), 8, 0);
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(image->frames.Length(), 8);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(image->frames[i]->x, 32 * i);
        EXPECT_EQ(image->frames[i]->y, 0);
    }
    EXPECT_EQ(image->width, 32);
    EXPECT_EQ(image->height, 32);
    EXPECT_EQ(image->flags & c_Image::WholeSurface, 0);

    c_Image* padded = zq_graphics_LoadImage(String("strip.png"), 8, c_Image::PadFramesX);
    ASSERT_NE(padded, nullptr);
    EXPECT_EQ(padded->frames[0]->x, 1);
    EXPECT_EQ(padded->frames[1]->x, 33);
    EXPECT_EQ(padded->width, 30);
    EXPECT_EQ(padded->height, 32);
}

TEST_F(FrontEndTest, LoadImage2CutsAGridRowByRow) {
    WriteImage("grid.png", 64, 64);
    c_Image* image = zq_graphics_LoadImage2(String("grid.png"), 16, 16, 16, c_Image::PadFramesY);
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(image->frames.Length(), 16);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(image->frames[i]->x, 16 * (i % 4)) << i;
        EXPECT_EQ(image->frames[i]->y, 16 * (i / 4) + 1) << i;
    }
    EXPECT_EQ(image->width, 16);
    EXPECT_EQ(image->height, 14);
}

TEST_F(FrontEndTest, InitTwoCutsInsideASourceRectangle) {
    tvxSurface* surface = device->CreateSurface(100, 100);
    c_Image* image = gc_new<c_Image>()->m_new()->p_Init2(surface, 10, 0, 20, 10, 3, 0, nullptr, 5, 7, 50, 30);
    // (10, 0) and (30, 0) fit the 50-wide rectangle; the third wraps.
    EXPECT_EQ(image->frames[0]->x, 15);
    EXPECT_EQ(image->frames[0]->y, 7);
    EXPECT_EQ(image->frames[1]->x, 35);
    EXPECT_EQ(image->frames[2]->x, 5);
    EXPECT_EQ(image->frames[2]->y, 17);
}

TEST_F(FrontEndTest, CentreHandleUsesThePaddedSizeAndClearsItsBit) {
    tvxSurface* surface = device->CreateSurface(33, 20);
    c_Image* image =
        gc_new<c_Image>()->m_new()->p_Init(surface, 1, c_Image::CentreHandle | c_Image::PadFramesX);
    EXPECT_FLOAT_EQ(image->handleX, 15.5f);
    EXPECT_FLOAT_EQ(image->handleY, 10);
    EXPECT_EQ(image->flags & c_Image::CentreHandle, 0);
    EXPECT_EQ(image->flags & c_Image::PadFramesX, c_Image::PadFramesX);
}

TEST_F(FrontEndTest, OnlyAnImageOfTheWholeSurfaceTakesTheWholeSurfacePath) {
    WriteImage("whole.png", 20, 10);
    c_Image* whole = zq_graphics_LoadImage(String("whole.png"), 1, c_Image::CentreHandle);
    c_Image* padded = zq_graphics_LoadImage(String("whole.png"), 1, c_Image::PadFramesX);
    ASSERT_TRUE(whole && padded);
    EXPECT_EQ(whole->flags, c_Image::WholeSurface);
    EXPECT_EQ(padded->flags & c_Image::WholeSurface, 0);

    zq_graphics_BeginRender();
    device->log.clear();
    zq_graphics_DrawImage(whole, 100, 50, 0);
    zq_graphics_DrawImage(padded, 100, 50, 0);
    zq_graphics_DrawImage(padded, 100, 50, 1);  // no such frame: nothing drawn
    std::vector<std::string> want = {"SetMatrix 1 0 0 1 0 0", "DrawSurface 90 45",
                                     "DrawSurface2 100 50 1 0 18 10"};
    EXPECT_EQ(device->log, want);
}

TEST_F(FrontEndTest, DrawImage2DrawsAtTheOriginOfItsOwnMatrix) {
    tvxSurface* surface = device->CreateSurface(32, 16);
    c_Image* image = gc_new<c_Image>()->m_new()->p_Init(surface, 2, c_Image::CentreHandle);
    zq_graphics_BeginRender();
    zq_graphics_Translate(3, 4);
    device->log.clear();
    zq_graphics_DrawImage2(image, 100, 50, 0, 2, 3, 1);
    std::vector<std::string> want = {"SetMatrix 2 0 0 3 87 30", "DrawSurface2 0 0 16 0 16 16"};
    EXPECT_EQ(device->log, want);
    // The caller's matrix is back, and is sent again before the next drawing.
    EXPECT_EQ(zq_graphics_context->tx, 3);
    EXPECT_EQ(zq_graphics_context->matrixDepth, 0);
    device->log.clear();
    zq_graphics_DrawRect(0, 0, 1, 1);
    EXPECT_EQ(device->log[0], "SetMatrix 1 0 0 1 3 4");
}

TEST_F(FrontEndTest, CreateImageMakesOneSurfaceForAllFrames) {
    c_Image* image = zq_graphics_CreateImage(16, 8, 4, 0);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->surface->Width(), 64);
    EXPECT_EQ(image->surface->Height(), 8);
    EXPECT_EQ(image->frames[3]->x, 48);
    EXPECT_EQ(zq_graphics_CreateImage(0, 8, 1, 0), nullptr);
    EXPECT_EQ(zq_graphics_CreateImage(20000, 8, 1, 0), nullptr);
}

TEST_F(FrontEndTest, MissingFilesGiveNullImages) {
    EXPECT_EQ(zq_graphics_LoadImage(String("nothing.png"), 1, 0), nullptr);
    EXPECT_EQ(zq_graphics_LoadImage2(String("nothing.png"), 8, 8, 1, 0), nullptr);
}

// [Fonts] --------------------------------------------------------------------------

TEST_F(FrontEndTest, DefaultFontIsLoadedOnceWithPaddedFrames) {
    c_GraphicsContext* gc = zq_graphics_context;
    // Without the file the context has no font, and the first character is 32.
    gc_assign(gc->defaultFont, static_cast<c_Image*>(nullptr));
    zq_graphics_SetFont(nullptr, 65);
    EXPECT_EQ(gc->font, nullptr);
    EXPECT_EQ(gc->firstChar, 32);

    WriteImage("vexo_font.png", 96 * 8, 12);
    zq_graphics_SetFont(nullptr, 65);
    ASSERT_NE(gc->font, nullptr);
    EXPECT_EQ(gc->font, gc->defaultFont);
    EXPECT_EQ(gc->firstChar, 32);
    EXPECT_EQ(gc->font->frames.Length(), 96);
    EXPECT_EQ(gc->font->width, 6);
    EXPECT_EQ(gc->font->frames[1]->x, 9);

    c_Image* loaded = gc->defaultFont;
    c_Image* other = zq_graphics_CreateImage(8, 8, 1, 0);
    zq_graphics_SetFont(other, 48);
    EXPECT_EQ(gc->font, other);
    EXPECT_EQ(gc->firstChar, 48);
    zq_graphics_SetFont(nullptr, 0);
    EXPECT_EQ(gc->font, loaded);  // not loaded again
}

}  // namespace
