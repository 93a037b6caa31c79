// What the device does to spend fewer pixels, on real OpenGL (Mesa llvmpipe
// under Xvfb), each checked against the plain way of drawing the same
// thing: an opaque fill of the window becomes a clear, images go to the
// device trimmed to their inked part, and ink boxes follow the pixels.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graphics/tvx_graphics.h"
#include "graphics/zq_graphics.h"
#include "tests/graphics/graphics_test_support.h"

extern int zq_app__devWidth;
extern int zq_app__devHeight;

namespace {

class FillTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        host = InstallTestRuntime();
        OpenTestWindow();
    }
    static void TearDownTestSuite() { CloseTestWindow(); }

    void SetUp() override {
        device = gc_new<tvxGraphics>();
        zq_graphics_SetGraphicsDevice(device);
        zq_app__devWidth = device->Width();
        zq_app__devHeight = device->Height();
        device->BeginRender();
        device->SetScissor(0, 0, device->Width(), device->Height());
        device->Cls(0, 0, 0);
    }
    void TearDown() override { zq_graphics_EndRender(); }

    // A w x h RGBA surface, transparent but for the opaque texels listed as
    // x, y pairs, each of its own colour.
    tvxSurface* Sprite(int w, int h, const std::vector<std::pair<int, int>>& inked) {
        std::vector<uint8_t> px(static_cast<size_t>(w) * h * 4, 0);
        int i = 0;
        for (auto [x, y] : inked) {
            uint8_t* p = &px[(static_cast<size_t>(y) * w + x) * 4];
            p[0] = static_cast<uint8_t>(40 + 50 * i);
            p[1] = static_cast<uint8_t>(200 - 30 * i);
            p[2] = static_cast<uint8_t>(90 + 20 * i);
            p[3] = 255;
            ++i;
        }
        std::string path = host->dataFolder + "/sprite" + std::to_string(++sprites) + ".png";
        WritePng(path, w, h, 4, px);
        return device->LoadSurface(String(path.c_str()));
    }

    // Whether the w x h window rectangles at (ax, ay) and (bx, by) hold the same pixels.
    static ::testing::AssertionResult SamePixels(int ax, int ay, int bx, int by, int w, int h) {
        std::vector<uint8_t> a = Read(ax, ay, w, h), b = Read(bx, by, w, h);
        for (size_t i = 0; i < a.size(); ++i)
            if (a[i] != b[i]) {
                int at = static_cast<int>(i / 4);
                return ::testing::AssertionFailure()
                       << "differs at offset " << at % w << ", " << h - 1 - at / w;
            }
        return ::testing::AssertionSuccess();
    }
    static std::vector<uint8_t> Read(int x, int y, int w, int h) {
        std::vector<uint8_t> px(static_cast<size_t>(w) * h * 4);
        glReadPixels(x, 480 - y - h, w, h, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
        return px;
    }

    static TestHost* host;
    static int sprites;
    tvxGraphics* device = nullptr;
};
TestHost* FillTest::host = nullptr;
int FillTest::sprites = 0;

// [Opaque window fill] ----------------------------------------------------------------

TEST_F(FillTest, AnOpaqueFillOfTheWindowIsAClearOfItsColour) {
    device->SetColor(255, 0, 0);
    device->DrawRect(5, 5, 10, 10);  // painted over: never drawn
    device->SetColor(10, 20, 30);
    device->DrawRect(-1, -1, 642, 482);
    device->SetColor(0, 255, 0);
    device->DrawRect(100, 100, 4, 4);  // drawing goes on after the clear
    device->EndRender();
    EXPECT_EQ(device->LastFrameStats().clears, 1);
    EXPECT_EQ(device->LastFrameStats().discards, 1);
    Rgba p = PixelAt(7, 7);
    EXPECT_EQ(p.r, 10);
    EXPECT_EQ(p.g, 20);
    EXPECT_EQ(p.b, 30);
    EXPECT_EQ(PixelAt(101, 101).g, 255);
}

TEST_F(FillTest, AClearKeepsToTheScissorBoxAsDrawingDoes) {
    device->SetScissor(10, 10, 20, 20);
    device->SetColor(200, 100, 50);
    device->DrawRect(0, 0, 640, 480);
    device->EndRender();
    EXPECT_EQ(device->LastFrameStats().clears, 1);
    EXPECT_EQ(PixelAt(15, 15).r, 200);
    EXPECT_EQ(PixelAt(5, 5).r, 0);
    EXPECT_EQ(PixelAt(35, 15).r, 0);
}

TEST_F(FillTest, OnlyOpaqueUprightAlphaBlendedFillsOfTheWholeWindowAreClears) {
    device->SetColor(100, 100, 100);
    device->SetAlpha(0.5f);
    device->DrawRect(0, 0, 640, 480);  // translucent: blends
    device->SetAlpha(1);
    device->DrawRect(1, 0, 640, 480);  // misses column 0
    device->SetBlend(1);
    device->DrawRect(0, 0, 640, 480);  // additive: adds
    device->SetBlend(0);
    device->SetMatrix(0, 1, -1, 0, 640, 0);  // turned a quarter
    device->DrawRect(0, 0, 480, 640);
    device->EndRender();
    EXPECT_EQ(device->LastFrameStats().clears, 0);
    // A scaled and moved upright rectangle that covers the window is one.
    device->BeginRender();
    device->SetMatrix(2, 0, 0, 2, -10, -10);
    device->DrawRect(0, 0, 330, 250);
    device->EndRender();
    EXPECT_EQ(device->LastFrameStats().clears, 1);
}

// [Ink boxes] --------------------------------------------------------------------------

TEST_F(FillTest, AnInkBoxIsTheInkedTexelsGrownByOneAndClippedToTheFrame) {
    tvxSurface* s = Sprite(16, 8, {{2, 1}, {5, 3}, {8, 0}});
    ASSERT_NE(s, nullptr);
    tvxInkBox left, right, empty;
    s->Ink(0, 0, 8, 8, left);
    EXPECT_EQ(left.x, 1);
    EXPECT_EQ(left.y, 0);
    EXPECT_EQ(left.w, 6);  // texels 1..6
    EXPECT_EQ(left.h, 5);  // rows 0..4
    s->Ink(8, 0, 8, 8, right);
    EXPECT_EQ(right.x, 0);
    EXPECT_EQ(right.w, 2);
    EXPECT_EQ(right.h, 2);
    s->Ink(0, 4, 4, 4, empty);
    EXPECT_EQ(empty.w, 0);
    EXPECT_EQ(empty.h, 0);

    // New pixels make the boxes stale; they are measured again.
    int texel = static_cast<int>(0xff102030);
    s->SetSubData(1, 6, 1, 1, &texel, 1);
    s->Ink(0, 4, 4, 4, empty);
    EXPECT_EQ(empty.x, 0);
    EXPECT_EQ(empty.y, 1);
    EXPECT_EQ(empty.w, 3);
    EXPECT_EQ(empty.h, 3);
}

TEST_F(FillTest, WithoutAlphaOrKeptPixelsTheWholeRectangleIsInked) {
    std::string path = host->dataFolder + "/rgb.png";
    WritePng(path, 4, 4, 3, std::vector<uint8_t>(48, 0));
    tvxSurface* rgb = device->LoadSurface(String(path.c_str()));
    tvxSurface* blank = device->CreateSurface(8, 8);
    ASSERT_TRUE(rgb && blank);
    tvxInkBox a, b;
    rgb->Ink(0, 0, 4, 4, a);
    blank->Ink(2, 2, 4, 4, b);
    EXPECT_EQ(a.w * a.h, 16);
    EXPECT_EQ(b.x, 0);
    EXPECT_EQ(b.w * b.h, 16);
}

// [Trimmed images] ----------------------------------------------------------------------

TEST_F(FillTest, TrimmedImagesGiveThePixelsOfTheWholeFrame) {
    tvxSurface* s = Sprite(24, 12, {{3, 2}, {7, 9}, {4, 5}, {14, 4}, {19, 8}});
    ASSERT_NE(s, nullptr);
    c_Image* image = gc_new<c_Image>()->m_new()->p_Init(s, 2, c_Image::CentreHandle);
    zq_graphics_BeginRender();
    zq_graphics_SetColor(255, 255, 255);
    // Through the front end (trimmed) on the left, the device's whole frame on the right.
    const float rotations[] = {0, 90, 180, 270};
    for (int i = 0; i < 4; ++i) {
        float y = 60.0f + 80.0f * static_cast<float>(i);
        zq_graphics_DrawImage2(image, 100, y, rotations[i], 3, 2, 0);
        zq_graphics_DrawImage2(image, 200, y, rotations[i], 2, 3, 1);
        zq_graphics_PushMatrix();
        zq_graphics_Translate(400, y);
        zq_graphics_Rotate(rotations[i]);
        zq_graphics_Scale(3, 2);
        zq_graphics_context->p_Validate(device);
        device->DrawSurface2(s, -6, -6, 0, 0, 12, 12);
        zq_graphics_PopMatrix();
        zq_graphics_PushMatrix();
        zq_graphics_Translate(500, y);
        zq_graphics_Rotate(rotations[i]);
        zq_graphics_Scale(2, 3);
        zq_graphics_context->p_Validate(device);
        device->DrawSurface2(s, -6, -6, 12, 0, 12, 12);
        zq_graphics_PopMatrix();
    }
    zq_graphics_EndRender();
    device->EndRender();
    for (int i = 0; i < 4; ++i) {
        int y = 60 + 80 * i - 40;
        EXPECT_TRUE(SamePixels(60, y, 360, y, 80, 80)) << "frame 0 turned " << rotations[i];
        EXPECT_TRUE(SamePixels(160, y, 460, y, 80, 80)) << "frame 1 turned " << rotations[i];
    }
}

TEST_F(FillTest, AFrameWithoutInkDrawsNothing) {
    tvxSurface* s = Sprite(8, 4, {{1, 1}});
    ASSERT_NE(s, nullptr);
    c_Image* image = gc_new<c_Image>()->m_new()->p_Init(s, 2, 0);
    zq_graphics_BeginRender();
    zq_graphics_DrawImage(image, 10, 10, 1);
    zq_graphics_EndRender();
    device->EndRender();
    EXPECT_EQ(device->LastFrameStats().vertices, 0);
}

}  // namespace
